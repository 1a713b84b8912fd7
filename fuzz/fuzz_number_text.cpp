// Reading numbers out of what a designer types, against a plain reference written from the
// rule alone: the leading decimal number of a text, the field value (decimal comma made a
// point), whole-number conversion with halves to even, rounding to decimal places, and the
// 15-digit general form the drawing writes. Any disagreement stops the run.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "math/number_text.h"
#include "math/rounding.h"

namespace {

bool IsDigitChar(char ch) {
    return ch >= '0' && ch <= '9';
}

// The rule as a designer would state it: throw away every blank, tab and line feed; take an
// optional sign, then digits with at most one point, then an exponent only when a digit follows
// its letter and sign; no digit before the exponent means 0. strtod does the conversion in the
// C locale, so "." is the decimal point, huge values become infinities and tiny ones zeros.
double ReferenceLeading(std::string s) {
    const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\n'; };
    s.erase(std::remove_if(s.begin(), s.end(), blank), s.end());
    std::size_t i = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
    bool anyDigit = false;
    bool point = false;
    for (; i < s.size() && (IsDigitChar(s[i]) || (s[i] == '.' && !point)); ++i) {
        anyDigit = anyDigit || IsDigitChar(s[i]);
        point = point || s[i] == '.';
    }
    if (!anyDigit) {
        return 0;
    }
    std::string number = s.substr(0, i);
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-') ? i + 2 : i + 1;
        const std::size_t digits = j;
        while (j < s.size() && IsDigitChar(s[j])) {
            ++j;
        }
        if (j > digits) {
            number += "e" + s.substr(i + 1, j - i - 1);
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

// Same double, bit for bit (so a zero's sign counts), or both not-a-numbers.
bool SameDouble(double a, double b) {
    return std::isnan(a) || std::isnan(b) ? std::isnan(a) && std::isnan(b)
                                          : std::memcmp(&a, &b, sizeof a) == 0;
}

// Whole numbers (nearest, ties to the processor's even neighbour; floor), rounding to `places`
// (printf rounds the exact binary value, ties to even) and the general form, against the C
// library.
void CheckValue(double v, int places) {
    for (const int bits : {16, 32}) {
        const double r = std::nearbyint(v);
        const bool fits =
            bits == 16 ? r >= -32768.0 && r <= 32767.0 : r >= -2147483648.0 && r <= 2147483647.0;
        const auto whole = tarvo::ToWhole(v, bits);
        FUZZ_CHECK(whole.has_value() == fits && (!fits || *whole == static_cast<std::int32_t>(r)),
                   "ToWhole(%.17g, %d)", v, bits);
    }
    double reference = v;
    if (std::isfinite(v)) {
        // Zero's sign is not part of a whole number: -0.4 may round to -0 or +0.
        FUZZ_CHECK(tarvo::RoundHalfEven(v) == std::nearbyint(v), "RoundHalfEven(%.17g) = %.17g", v,
                   tarvo::RoundHalfEven(v));
        const double floor = std::floor(v);
        const auto floorWhole = tarvo::FloorToWhole(v);
        const bool floorFits = floor >= -2147483648.0 && floor <= 2147483647.0;
        FUZZ_CHECK(floorWhole.has_value() == floorFits && (!floorFits || *floorWhole == floor),
                   "FloorToWhole(%.17g)", v);
        char text[2048];
        std::snprintf(text, sizeof text, "%.*f", places, v);
        reference = std::strtod(text, nullptr);
        std::snprintf(text, sizeof text, "%.15G", v);
        const std::string mine = tarvo::GeneralText(v);
        FUZZ_CHECK(mine == text, "GeneralText(%.17g) = '%s', printf '%s'", v, mine.c_str(), text);
    }
    const double mine = tarvo::RoundToPlaces(v, places);
    FUZZ_CHECK(SameDouble(mine, reference), "RoundToPlaces(%.17g, %d) = %.17g, reference %.17g", v,
               places, mine, reference);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double raw = tarvo::RawValue(text);
    const double rawReference = ReferenceLeading(text);
    FUZZ_CHECK(SameDouble(raw, rawReference), "RawValue = %.17g, reference %.17g", raw,
               rawReference);
    FUZZ_CHECK(SameDouble(tarvo::LeadingNumber(text), raw), "LeadingNumber differs from RawValue");

    std::string pointed = text;
    std::replace(pointed.begin(), pointed.end(), ',', '.');
    FUZZ_CHECK(tarvo::CommaToPoint(text) == pointed, "CommaToPoint");
    const double field = tarvo::FieldValue(text);
    const double fieldReference = ReferenceLeading(pointed);
    FUZZ_CHECK(SameDouble(field, fieldReference), "FieldValue = %.17g, reference %.17g", field,
               fieldReference);

    // Rounding places as the callers use them (one, three and four) and the rest of 0..20; the
    // bytes themselves as a double, for values no decimal text reaches easily.
    const int places = static_cast<int>(size % 21);
    CheckValue(raw, places);
    CheckValue(field, places);
    if (size >= sizeof(double)) {
        double bits = 0;
        std::memcpy(&bits, data, sizeof bits);
        CheckValue(bits, places);
    }
    return 0;
}
