// Reading the leading number of what a designer typed, and the general 15-digit form, with
// the process locale set to one that writes decimal commas.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "drawing/dxf_number.h"
#include "math/number_text.h"

namespace tarvo {
namespace {

TEST(NumberText, LeadingNumber) {
    struct Row {
        const char* name;
        const char* text;
        double expected;
    };
    const Row rows[] = {
        {"stops at letters", "20abc", 20},       {"comma ends the number", "1,4", 1},
        {"empty", "", 0},                        {"no number", "abc", 0},
        {"blanks skipped anywhere", " 1 2 . 5 ", 12.5},
        {"tabs and line feeds skipped", "\t3\n4", 34},
        {"sign", "-2.5", -2.5},                  {"plus sign", "+7", 7},
        {"bare point", ".", 0},                  {"sign then point", "-.5", -0.5},
        {"second point ends", "1.2.3", 1.2},     {"exponent", "1.5e3", 1500},
        {"capital exponent with sign", "25E-1", 2.5},
        {"letter without exponent digits", "3e", 3},
        {"exponent sign without digits", "3e+x", 3},
        {"double sign", "+-1", 0},               {"negative overflow", "-1e400", -INFINITY},
        {"underflow is zero", "1e-999", 0},
        {"huge exponent digits", "1e99999999999999999999", INFINITY},
        {"many leading zeros", "0000000000000000000000012", 12},
        {"long fraction", "0.1000000000000000055511151231257827", 0.1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(LeadingNumber(row.text), row.expected);
    }
}

TEST(NumberText, FieldAndRawValues) {
    EXPECT_EQ(FieldValue("1,4"), 1.4);
    EXPECT_EQ(RawValue("1,4"), 1);
    EXPECT_EQ(CommaToPoint("1,2,3"), "1.2.3");
}

// The general form, as printf("%.15G") would write it with a decimal point.
TEST(NumberText, GeneralForm) {
    struct Row {
        const char* name;
        double v;
        const char* expected;
    };
    const Row rows[] = {
        {"zero", 0, "0"},                                {"minus one", -1, "-1"},
        {"one third", 1.0 / 3, "0.333333333333333"},
        {"rounds at fifteen digits", 0.1 + 0.2, "0.3"},
        {"one ten-thousandth stays fixed", 0.0001, "0.0001"},
        {"one and a half hundred-thousandths is scientific", 1.5e-5, "1.5E-05"},
        {"tiny sine", 1.2246467991473532e-16, "1.22464679914735E-16"},
        {"fifteen digits stay fixed", 123456789012345.0, "123456789012345"},
        {"sixteen digits go scientific", 1234567890123456.0, "1.23456789012346E+15"},
        {"tiny denormal", 5e-324, "4.94065645841247E-324"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(GeneralText(row.v), row.expected);
    }
    EXPECT_EQ(GeneralText(0.4485, ','), "0,4485");
    EXPECT_EQ(GeneralText(-0.0), "-0");
    EXPECT_EQ(DxfNumber(-0.0), "0");
    EXPECT_EQ(DxfNumber(-1.5), "-1.5");
}

// Makes a locale whose decimal separator is a comma, from the system's locale sources, and
// returns its name; Qt sets such a locale on a Russian desktop.
std::string MakeCommaLocale() {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "tarvo-test-locales";
    std::filesystem::create_directories(dir);
    const std::string command = "localedef -i ru_RU -f UTF-8 " + (dir / "ru_RU.UTF-8").string() +
                                " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    setenv("LOCPATH", dir.c_str(), 1);
    return "ru_RU.UTF-8";
}

TEST(NumberText, CommaLocaleChangesNothing) {
    const std::string name = MakeCommaLocale();
    ASSERT_FALSE(name.empty()) << "localedef could not build ru_RU.UTF-8 (package locales)";
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    ASSERT_NE(std::setlocale(LC_ALL, name.c_str()), nullptr);
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
