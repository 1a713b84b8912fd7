// Reading numbers out of what a designer types, against a plain reference written from the
// rule alone: the leading decimal number of a text, the field value (decimal comma made a
// point), whole-number conversion with halves to even, rounding to decimal places, and the
// 15-digit general form the drawing writes. Any disagreement stops the run.
#include <cfloat>
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

bool IsDigitChar(char ch) { return ch >= '0' && ch <= '9'; }

// The rule as a designer would state it: throw away every blank, tab and line feed; take an
// optional sign, then digits with at most one point, then an exponent only when a digit follows
// its letter and sign; no digit before the exponent means 0. strtod does the conversion in the
// C locale, so "." is the decimal point, huge values become infinities and tiny ones zeros.
double ReferenceLeading(const std::string& text) {
    std::string s;
    for (const char ch : text) {
        if (ch != ' ' && ch != '\t' && ch != '\n') {
            s.push_back(ch);
        }
    }
    std::string number;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        number.push_back(s[i++]);
    }
    bool anyDigit = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (IsDigitChar(s[i])) {
            anyDigit = true;
            number.push_back(s[i]);
        } else if (s[i] == '.' && !point) {
            point = true;
            number.push_back('.');
        } else {
            break;
        }
    }
    if (!anyDigit) {
        return 0;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            exponent.push_back(s[j++]);
        }
        if (j < s.size() && IsDigitChar(s[j])) {
            while (j < s.size() && IsDigitChar(s[j])) {
                exponent.push_back(s[j++]);
            }
            number += exponent;
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

std::string ReferenceCommaToPoint(std::string text) {
    for (char& ch : text) {
        ch = ch == ',' ? '.' : ch;
    }
    return text;
}

// Same double, bit for bit (so a zero's sign counts), or both not-a-numbers.
bool SameDouble(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b);
    }
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Nearest whole number with ties to the even neighbour: the processor's default rounding.
bool ReferenceWhole(double v, int bits, std::int32_t& whole) {
    const double r = std::nearbyint(v);
    const double low = bits == 16 ? -32768.0 : -2147483648.0;
    const double high = bits == 16 ? 32767.0 : 2147483647.0;
    if (!(r >= low && r <= high)) {
        return false;
    }
    whole = static_cast<std::int32_t>(r);
    return true;
}

// printf rounds the exact binary value to the places asked for, ties to even.
double ReferencePlaces(double v, int places) {
    char text[2048];
    std::snprintf(text, sizeof text, "%.*f", places, v);
    return std::strtod(text, nullptr);
}

void CheckWhole(double v) {
    for (const int bits : {16, 32}) {
        std::int32_t expected = 0;
        const bool fits = ReferenceWhole(v, bits, expected);
        const auto whole = tarvo::ToWhole(v, bits);
        FUZZ_CHECK(whole.has_value() == fits, "ToWhole(%.17g, %d) fits=%d, reference %d", v,
                   bits, whole.has_value(), fits);
        if (fits) {
            FUZZ_CHECK(*whole == expected, "ToWhole(%.17g, %d) = %d, reference %d", v, bits,
                       *whole, expected);
        }
    }
    if (std::isfinite(v)) {
        // Zero's sign is not part of a whole number: -0.4 may round to -0 or +0.
        FUZZ_CHECK(tarvo::RoundHalfEven(v) == std::nearbyint(v), "RoundHalfEven(%.17g) = %.17g",
                   v, tarvo::RoundHalfEven(v));
        const double floor = std::floor(v);
        const auto floorWhole = tarvo::FloorToWhole(v);
        const bool floorFits = floor >= -2147483648.0 && floor <= 2147483647.0;
        FUZZ_CHECK(floorWhole.has_value() == floorFits && (!floorFits || *floorWhole == floor),
                   "FloorToWhole(%.17g)", v);
    }
}

void CheckPlaces(double v, int places) {
    const double mine = tarvo::RoundToPlaces(v, places);
    const double reference = std::isfinite(v) ? ReferencePlaces(v, places) : v;
    FUZZ_CHECK(SameDouble(mine, reference), "RoundToPlaces(%.17g, %d) = %.17g, reference %.17g",
               v, places, mine, reference);
}

void CheckGeneral(double v) {
    if (!std::isfinite(v)) {
        return;
    }
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.15G", v);
    const std::string mine = tarvo::GeneralText(v);
    FUZZ_CHECK(mine == expected, "GeneralText(%.17g) = '%s', printf '%s'", v, mine.c_str(),
               expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const double raw = tarvo::RawValue(text);
    const double rawReference = ReferenceLeading(text);
    FUZZ_CHECK(SameDouble(raw, rawReference), "RawValue = %.17g, reference %.17g", raw,
               rawReference);
    FUZZ_CHECK(SameDouble(tarvo::LeadingNumber(text), raw), "LeadingNumber differs from RawValue");

    const std::string pointed = ReferenceCommaToPoint(text);
    FUZZ_CHECK(tarvo::CommaToPoint(text) == pointed, "CommaToPoint");
    const double field = tarvo::FieldValue(text);
    const double fieldReference = ReferenceLeading(pointed);
    FUZZ_CHECK(SameDouble(field, fieldReference), "FieldValue = %.17g, reference %.17g", field,
               fieldReference);

    // Rounding places as the callers use them (one, three and four) and the rest of 0..20.
    const int places = static_cast<int>(size % 21);
    for (const double v : {raw, field}) {
        CheckWhole(v);
        CheckPlaces(v, places);
        CheckGeneral(v);
    }
    // The bytes themselves as a double, for values no decimal text reaches easily.
    if (size >= sizeof(double)) {
        double bits = 0;
        std::memcpy(&bits, data, sizeof bits);
        CheckWhole(bits);
        CheckPlaces(bits, places);
        CheckGeneral(bits);
    }
    return 0;
}
