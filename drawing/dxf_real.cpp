// The exact short path: a decimal mantissa of at most 2^53 is a double without rounding, and so
// is every power of ten up to 10^22, so one correctly rounded multiplication or division gives
// the correctly rounded value of the decimal text (Clinger's observation). Our coordinates
// have 15 significant digits and exponents well inside that, so nearly every value line of a
// drawing takes it; the rest goes to std::from_chars.
#include "drawing/dxf_real.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tarvo {

namespace {

// The powers of ten a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;
// Every whole number up to 2^53 is a double.
constexpr std::uint64_t kMaxExactMantissa = std::uint64_t{1} << 53;
// Digits gathered before giving up the short path: 19 always fit 64 bits.
constexpr int kMaxMantissaDigits = 19;
// Exponent digits read on the short path; a longer exponent is far outside its range anyway.
constexpr int kMaxExponentDigits = 4;

bool IsDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the first character is the lowest byte");

// Eight characters at once: whether they are all digits, and their value. A coordinate's
// fraction has ten or more digits, and a loop of one digit at a time spends most of the parse.
constexpr std::size_t kWordDigits = 8;

bool EightDigits(std::uint64_t word) {
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0u;
    constexpr std::uint64_t kZeros = 0x3030303030303030u;
    constexpr std::uint64_t kPastNine = 0x0606060606060606u;  // lifts ':' and above out of 0x3_
    return (word & kHigh) == kZeros && ((word + kPastNine) & kHigh) == kZeros;
}

// Pairs of digits, then fours, then the eight, each step one multiplication.
std::uint64_t EightDigitsValue(std::uint64_t word) {
    word = (word & 0x0F0F0F0F0F0F0F0Fu) * 2561 >> 8;
    word = (word & 0x00FF00FF00FF00FFu) * 6553601 >> 16;
    return (word & 0x0000FFFF0000FFFFu) * 42949672960001u >> 32;
}

// Appends the digits from `p` on to `mantissa`; returns where they end.
[[gnu::always_inline]] inline const char* TakeDigits(const char* p, const char* end,
                                                     std::uint64_t& mantissa) {
    while (static_cast<std::size_t>(end - p) >= kWordDigits) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, kWordDigits);
        if (!EightDigits(word)) {
            break;
        }
        mantissa = mantissa * 100000000u + EightDigitsValue(word);
        p += kWordDigits;
    }
    for (; p != end && IsDigit(*p); ++p) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    }
    return p;
}

// The short path; false when the text is not of its simple form or not exact on it.
bool ReadShort(const char* p, const char* end, double& value) {
    const bool negative = p != end && *p == '-';
    if (negative) {
        ++p;
    }
    // Every digit goes into the mantissa, leading zeros too: at most 19 of them cannot overflow
    // 64 bits, and a text with more takes the full path.
    std::uint64_t mantissa = 0;
    const char* whole = p;
    p = TakeDigits(p, end, mantissa);
    std::ptrdiff_t digits = p - whole;
    int scale = 0;  // the power of ten the mantissa's last digit stands for
    if (p != end && *p == '.') {
        const char* fraction = ++p;
        p = TakeDigits(p, end, mantissa);
        digits += p - fraction;
        scale = -static_cast<int>(p - fraction);
    }
    if (digits == 0 || digits > kMaxMantissaDigits) {
        return false;
    }
    if (p != end && (*p == 'E' || *p == 'e')) {
        ++p;
        const bool down = p != end && *p == '-';
        if (p != end && (*p == '-' || *p == '+')) {
            ++p;
        }
        int exponent = 0;
        int exponentDigits = 0;
        for (; p != end && IsDigit(*p); ++p) {
            if (++exponentDigits > kMaxExponentDigits) {
                return false;
            }
            exponent = exponent * 10 + (*p - '0');
        }
        if (exponentDigits == 0) {
            return false;
        }
        scale += down ? -exponent : exponent;
    }
    if (p != end || mantissa > kMaxExactMantissa || scale < -kMaxExactPower ||
        scale > kMaxExactPower) {
        return false;
    }
    const double m = static_cast<double>(mantissa);
    const double v = scale < 0 ? m / kExactPowers[-scale] : m * kExactPowers[scale];
    value = negative ? -v : v;
    return true;
}

}  // namespace

bool ReadDxfReal(std::string_view text, double& value) {
    const char* first = text.data();
    const char* end = first + text.size();
    if (first != end && *first == '+') {
        ++first;
        if (first != end && (*first == '-' || *first == '+')) {
            return false;  // "+-1": from_chars would read the second sign, strtod does not
        }
    }
    if (ReadShort(first, end, value)) {
        return true;
    }
    const auto result = std::from_chars(first, end, value);
    return first != end && result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

}  // namespace tarvo
