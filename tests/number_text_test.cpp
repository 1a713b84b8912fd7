// Reading the leading number of what a designer typed, and the general 15-digit form, also with
// the process locale set to one that writes decimal commas.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/dxf_number.h"
#include "drawing/dxf_real.h"
#include "math/number_text.h"
#include "test_files.h"

namespace tarvo {
namespace {

TEST(NumberText, LeadingNumber) {
    struct Row {
        const char* name;
        const char* text;
        double expected;
    };
    const Row rows[] = {
        {"comma ends it", "1,4", 1},
        {"no number", "abc", 0},
        {"sign", "-2.5", -2.5},
        {"two signs", "+-1", 0},
        {"empty", "", 0},
        {"bare point", ".", 0},
        {"sign, point", "-.5", -0.5},
        {"second point ends", "1.2.3", 1.2},
        {"blanks skipped", " 1 2 . 5 ", 12.5},
        {"tabs, line feeds skipped", "\t3\n4", 34},
        {"capital signed exp", "25E-1", 2.5},
        {"no exp digits", "3e", 3},
        {"exp sign alone", "3e+x", 3},
        {"negative overflow", "-1e400", -INFINITY},
        {"underflow is zero", "1e-999", 0},
        {"huge exp", "1e99999999999999999999", INFINITY},
        {"leading zeros", "0000000000000000000000012", 12},
        {"long fraction", "0.1000000000000000055511151231257827", 0.1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(LeadingNumber(row.text), row.expected);
    }
}

// The general form with a decimal comma. (The form itself, and minus zero kept in text but never
// in a drawing, are compared with printf's below.)
TEST(NumberText, GeneralFormWithADecimalComma) {
    EXPECT_EQ(GeneralText(0.4485, ','), "0,4485");
    EXPECT_EQ(GeneralText(-0.0, ','), "-0");
}

// The writer's own conversion against printf's "%.15G", over values of every kind a drawing or a
// data sheet can hold: random bit patterns of every magnitude, short decimals as a designer types
// them, exact halves at the 16th digit (ties, which go to the even digit), neighbours of every
// power of ten, and zeros.
std::string PrintfGeneral(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", v);
    return buffer;
}

std::vector<double> FormattingSamples() {
    std::mt19937_64 random(20261207);
    std::vector<double> values;
    auto both = [&values](double v) {
        values.push_back(v);
        values.push_back(-v);
    };
    for (const double v : {0.0, 1e-4, 1e15, 999999999999999.5, 99999999999999.95, 0.5,
                           0.00009999999999999995, 5e-324, 1.7976931348623157e308}) {
        both(v);
    }
    for (int k = -20; k <= 20; ++k) {
        const double p = std::pow(10.0, k);
        both(p);
        double below = p;
        double above = p;
        for (int i = 0; i < 40; ++i) {
            below = std::nextafter(below, 0.0);
            above = std::nextafter(above, INFINITY);
            both(below);
            both(above);
        }
        // The largest 15-digit decimals of the decade, which round up into the next one.
        both(std::nextafter(p * 0.999999999999999949, 0.0));
        both(p * 0.999999999999999949);
    }
    for (int i = 0; i < 120000; ++i) {
        std::uint64_t bits = random();
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) {
            both(v);
        }
        // Magnitudes a drawing holds, 1e-6 to 1e16, spread evenly in the exponent.
        both(std::ldexp(1.0 + static_cast<double>(random() >> 12) * 0x1p-52,
                        static_cast<int>(random() % 74) - 20));
        // Short decimals: n / 10^j.
        both(static_cast<double>(random() % 100000000) / std::pow(10.0, random() % 12));
    }
    // Exact halves past the 15th digit: 14 digits and .5, 13 digits and .x5 in quarters.
    for (int i = 0; i < 20000; ++i) {
        const double whole14 =
            static_cast<double>(10000000000000ULL + random() % 90000000000000ULL);
        both(whole14 + 0.5);
        const double whole13 = static_cast<double>(1000000000000ULL + random() % 9000000000000ULL);
        both(whole13 + 0.125 + 0.25 * static_cast<double>(random() % 4));
        both(std::ldexp(whole14 + 0.5, -static_cast<int>(random() % 40)));
    }
    return values;
}

TEST(NumberText, GeneralFormMatchesPrintfOnEveryKindOfValue) {
    int mismatches = 0;
    const std::vector<double> samples = FormattingSamples();
    ASSERT_GT(samples.size(), 700000u);
    for (const double v : samples) {
        char buffer[32];
        const std::string own(buffer, WriteGeneral(buffer, v));
        if (own != PrintfGeneral(v)) {
            ADD_FAILURE() << "value " << PrintfGeneral(v) << " written as " << own;
            if (++mismatches > 20) {
                break;
            }
        }
        EXPECT_EQ(DxfNumber(v), v == 0 ? "0" : own);
        // What the writer hands on is what the reader reads from the text, to the bit.
        double handed = 0, read = 0;
        const std::string_view text(buffer, WriteDxfNumber(buffer, v, handed) - buffer);
        if (!ReadDxfReal(text, read)) {
            ASSERT_TRUE(std::isnan(handed)) << text;  // a text the reader refuses
            continue;
        }
        ASSERT_EQ(std::memcmp(&handed, &read, sizeof read), 0) << text << " " << handed;
    }
}

// A decimal-comma locale (Qt sets one on a Russian desktop), built with localedef, changes nothing.
TEST(NumberText, CommaLocaleChangesNothing) {
    const testing::TempFolder dir;
    const std::string make = "localedef -i ru_RU -f UTF-8 " + dir.File("ru_RU.UTF-8");
    ASSERT_EQ(std::system((make + " >/dev/null 2>&1").c_str()), 0) << "no ru_RU.UTF-8 (locales)";
    setenv("LOCPATH", dir.Path().c_str(), 1);
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "ru_RU.UTF-8"), nullptr);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");  // the trap is set
    EXPECT_EQ(GeneralText(12.5), "12.5");
    EXPECT_EQ(DxfNumber(0.333333333333333), "0.333333333333333");
    EXPECT_EQ(DxfNumber(1e-5), "1E-05");
    EXPECT_EQ(LeadingNumber("2.75"), 2.75);
    EXPECT_EQ(FieldValue("2,75"), 2.75);
    std::setlocale(LC_ALL, saved.c_str());
    unsetenv("LOCPATH");
}

}  // namespace
}  // namespace tarvo
