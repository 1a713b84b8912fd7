// Locale-free reading and writing of numbers: nothing here consults the process locale, which
// Qt sets from the desktop and which would otherwise turn decimal points into commas.
#include "math/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace tarvo {

std::string CommaToPoint(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        if (ch == ',') {
            ch = '.';
        }
    }
    return out;
}

namespace {

bool IsSkipped(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n';
}
bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// The characters of a text with the skipped blanks removed, read one at a time.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}
    char Peek() {
        while (pos_ < text_.size() && IsSkipped(text_[pos_])) {
            ++pos_;
        }
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void Take() { ++pos_; }
    std::size_t Mark() const { return pos_; }
    void Reset(std::size_t mark) { pos_ = mark; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The exponent after the digits, or 0. It counts only when at least one digit follows the
// letter and its sign; otherwise the reader is put back before the letter.
long long ReadExponent(Reader& in) {
    long long exponent = 0;
    const std::size_t mark = in.Mark();
    if (in.Peek() != 'E' && in.Peek() != 'e') {
        return 0;
    }
    in.Take();
    bool expNegative = false;
    if (in.Peek() == '+' || in.Peek() == '-') {
        expNegative = in.Peek() == '-';
        in.Take();
    }
    if (!IsDigit(in.Peek())) {
        in.Reset(mark);
        return 0;
    }
    while (IsDigit(in.Peek())) {
        // Saturate: a billion already over- or underflows every double.
        if (exponent < 1'000'000'000) {
            exponent = exponent * 10 + (in.Peek() - '0');
        }
        in.Take();
    }
    return expNegative ? -exponent : exponent;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    Reader in(text);
    bool negative = false;
    if (in.Peek() == '+' || in.Peek() == '-') {
        negative = in.Peek() == '-';
        in.Take();
    }
    std::string digits;          // every digit taken, without the decimal point
    long long wholeDigits = -1;  // digits before the point; -1 while no point was seen
    while (true) {
        const char ch = in.Peek();
        if (IsDigit(ch)) {
            digits.push_back(ch);
            in.Take();
        } else if (ch == '.' && wholeDigits < 0) {
            wholeDigits = static_cast<long long>(digits.size());
            in.Take();
        } else {
            break;
        }
    }
    if (digits.empty()) {
        return 0;
    }
    if (wholeDigits < 0) {
        wholeDigits = static_cast<long long>(digits.size());
    }
    const long long exponent = ReadExponent(in);
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        return negative ? -0.0 : 0.0;
    }
    // Hand the digits to from_chars as d.ddd with an exponent, so no point position or exponent
    // can overflow its text; the decimal exponent of the first nonzero digit decides the range.
    const long long magnitude = wholeDigits - static_cast<long long>(firstNonZero) - 1 + exponent;
    std::string normal = digits.substr(firstNonZero, 1) + "." + digits.substr(firstNonZero + 1) +
                         "e" + std::to_string(magnitude);
    double value = 0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

namespace {

__extension__ typedef unsigned __int128 Wide;

constexpr std::uint64_t kPow10[] = {1ULL,
                                    10ULL,
                                    100ULL,
                                    1000ULL,
                                    10000ULL,
                                    100000ULL,
                                    1000000ULL,
                                    10000000ULL,
                                    100000000ULL,
                                    1000000000ULL,
                                    10000000000ULL,
                                    100000000000ULL,
                                    1000000000000ULL,
                                    10000000000000ULL,
                                    100000000000000ULL,
                                    1000000000000000ULL,
                                    10000000000000000ULL,
                                    100000000000000000ULL,
                                    1000000000000000000ULL};

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The powers of ten a double holds exactly, as far as the fixed form needs them.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                   1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};

// v below 10^8 as eight digits, leading zeros included.
void WriteEightDigits(char* first, std::uint32_t v) {
    const std::uint32_t high = v / 10000;
    const std::uint32_t low = v % 10000;
    std::memcpy(first, kDigitPairs + 2 * (high / 100), 2);
    std::memcpy(first + 2, kDigitPairs + 2 * (high % 100), 2);
    std::memcpy(first + 4, kDigitPairs + 2 * (low / 100), 2);
    std::memcpy(first + 6, kDigitPairs + 2 * (low % 100), 2);
}

// The smallest and the largest decimal exponents the general form writes in fixed notation.
constexpr int kFixedLowest = -4;
constexpr int kFixedHighest = 14;

// The general form by printf's own rule, for the values it writes in fixed notation: the
// 15-digit decimal nearest the exact binary value, halves to even, found with whole numbers.
// A double a = m 2^e (m below 2^53, e negative throughout this range) times 10^(14 - E) is a
// whole number below 2^113 shifted right, so the rounding sees every bit of the value.
// Returns nullptr for a value outside that range (zero, tiny, huge, not finite).
// With `readBack`, the double the text stands for: the 15 digits as a whole number below 2^53
// divided by a power of ten a double holds exactly, one correctly rounded division, so the
// correctly rounded value of the decimal (Clinger's observation).
char* WriteFixedGeneral(char* first, double v, double* readBack) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    if (biased == 0 || biased == 0x7ff) {
        return nullptr;  // zero, subnormal, infinity, not a number
    }
    const std::uint64_t m = (bits & ((1ULL << 52) - 1)) | (1ULL << 52);
    const int e = biased - 1075;
    // 2^(b) <= |v| < 2^(b + 1): the decimal exponent is floor(b log10 2) or one more.
    const int b = biased - 1023;
    if (b < -15 || b > 50) {
        return nullptr;
    }
    int exponent = static_cast<int>(std::floor(b * 0.30102999566398120));
    std::uint64_t q = 0;
    Wide rest = 0;
    const int shift = -e;  // from 2 (|v| near 2^50) to 67 (|v| near 2^-15)
    for (int attempt = 0;; ++attempt) {
        if (exponent < kFixedLowest || exponent > kFixedHighest || attempt > 2) {
            return nullptr;
        }
        const Wide scaled = static_cast<Wide>(m) * kPow10[kFixedHighest - exponent];
        q = static_cast<std::uint64_t>(scaled >> shift);
        rest = scaled & ((static_cast<Wide>(1) << shift) - 1);
        if (q < kPow10[14]) {
            --exponent;
        } else if (q >= kPow10[15]) {
            ++exponent;
        } else {
            break;
        }
    }
    const Wide half = static_cast<Wide>(1) << (shift - 1);
    if (rest > half || (rest == half && (q & 1) != 0)) {
        ++q;
    }
    if (q == kPow10[15]) {  // rounded up to the next power of ten
        q = kPow10[14];
        ++exponent;
        if (exponent > kFixedHighest) {
            return nullptr;
        }
    }
    if (readBack != nullptr) {
        const double whole = static_cast<double>(q) / kExactPowers[kFixedHighest - exponent];
        *readBack = negative ? -whole : whole;
    }
    // The 15 digits as two groups of eight (the first led by a zero), pairs of digits at a time.
    char buffer[16];
    WriteEightDigits(buffer, static_cast<std::uint32_t>(q / 100000000));
    WriteEightDigits(buffer + 8, static_cast<std::uint32_t>(q % 100000000));
    const char* const digits = buffer + 1;
    int last = 14;  // the last digit kept: trailing zeros go
    while (last > 0 && digits[last] == '0') {
        --last;
    }
    char* p = first;
    if (negative) {
        *p++ = '-';
    }
    if (exponent >= 0) {
        std::memcpy(p, digits, static_cast<std::size_t>(exponent) + 1);
        p += exponent + 1;
        if (last > exponent) {
            *p++ = '.';
            const std::size_t fraction = static_cast<std::size_t>(last - exponent);
            std::memcpy(p, digits + exponent + 1, fraction);
            p += fraction;
        }
    } else {
        *p++ = '0';
        *p++ = '.';
        for (int i = exponent + 1; i < 0; ++i) {
            *p++ = '0';
        }
        std::memcpy(p, digits, static_cast<std::size_t>(last) + 1);
        p += last + 1;
    }
    return p;
}

}  // namespace

namespace {

// WriteGeneral with the value read back when asked for.
char* WriteGeneralText(char* first, double v, double* readBack) {
    // A drawing's coordinates nearly all lie in the fixed range; the rest take the library's
    // exact conversion, the same rule.
    if (char* const end = WriteFixedGeneral(first, v, readBack)) {
        return end;
    }
    // "%.15G" is at most 22 characters: sign, 15 digits, point, "E", sign, three digits.
    char* const end = std::to_chars(first, first + 32, v, std::chars_format::general, 15).ptr;
    for (char* p = first; p != end; ++p) {
        if (*p == 'e') {
            *p = 'E';
            break;
        }
    }
    if (readBack != nullptr) {
        // Exact: the library rounds correctly. Near the largest double the 15 digits round past
        // it, and the text reads back as no number at all.
        const std::from_chars_result read = std::from_chars(first, end, *readBack);
        if (read.ec != std::errc() || !std::isfinite(*readBack)) {
            *readBack = std::numeric_limits<double>::quiet_NaN();
        }
    }
    return end;
}

}  // namespace

char* WriteGeneral(char* first, double v) {
    return WriteGeneralText(first, v, nullptr);
}

char* WriteGeneral(char* first, double v, double& readBack) {
    return WriteGeneralText(first, v, &readBack);
}

std::string GeneralText(double v, char separator) {
    if (std::isnan(v)) {
        return "NAN";
    }
    if (std::isinf(v)) {
        return v < 0 ? "-INF" : "INF";
    }
    char buffer[32];
    std::string text(buffer, WriteGeneral(buffer, v));
    for (char& ch : text) {
        if (ch == '.') {
            ch = separator;
        }
    }
    return text;
}

std::string FixedShortText(double v, int decimals, char separator) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') {
            text.pop_back();
        }
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    for (char& ch : text) {
        if (ch == '.') {
            ch = separator;
        }
    }
    return text;
}

}  // namespace tarvo
