// Half-to-even rounding on exact binary values, and whole-number conversion with range checks.
#include "math/rounding.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tarvo {

double RoundHalfEven(double v) {
    if (!std::isfinite(v)) {
        return v;
    }
    const double below = std::floor(v);
    const double fraction = v - below;  // exact: the fraction of a double is a double
    if (fraction < 0.5) {
        return below;
    }
    if (fraction > 0.5) {
        return below + 1;
    }
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

double RoundToPlaces(double v, int places) {
    if (!std::isfinite(v) || v == 0) {
        return v;
    }
    // Every finite double has a finite decimal expansion of at most 1074 fractional digits, so a
    // fixed conversion with 1100 places is the exact value, digit for digit.
    constexpr int kExactPlaces = 1100;
    char text[1500];
    const auto written =
        std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, kExactPlaces);
    std::string digits(text, written.ptr);
    const bool negative = digits[0] == '-';
    if (negative) {
        digits.erase(0, 1);
    }
    const std::size_t point = digits.find('.');
    std::string whole = digits.substr(0, point);
    std::string fraction = digits.substr(point + 1);

    // Decide up or down from the digits beyond the kept ones: above, below or exactly a half.
    const std::string kept = fraction.substr(0, static_cast<std::size_t>(places));
    const std::string rest = fraction.substr(static_cast<std::size_t>(places));
    bool up = false;
    if (rest[0] > '5') {
        up = true;
    } else if (rest[0] == '5') {
        const bool moreThanHalf = rest.find_first_not_of('0', 1) != std::string::npos;
        const char last = kept.empty() ? whole.back() : kept.back();
        up = moreThanHalf || ((last - '0') % 2 == 1);
    }

    std::string number = whole + kept;  // all kept digits, decimal point removed
    if (up) {
        int i = static_cast<int>(number.size()) - 1;
        while (i >= 0 && number[static_cast<std::size_t>(i)] == '9') {
            number[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            number.insert(number.begin(), '1');
        } else {
            ++number[static_cast<std::size_t>(i)];
        }
    }
    std::string rounded = (negative ? "-" : "") + number;
    if (places > 0) {
        rounded.insert(rounded.size() - static_cast<std::size_t>(places), ".");
    }
    double result = 0;
    std::from_chars(rounded.data(), rounded.data() + rounded.size(), result);
    return result;
}

std::optional<std::int32_t> ToWhole(double v, int bits) {
    const double r = RoundHalfEven(v);
    const double limit = bits == 16 ? 32767.0 : 2147483647.0;
    if (!(r >= -limit - 1 && r <= limit)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(r);
}

std::optional<std::int32_t> FloorToWhole(double v) {
    const double r = std::floor(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(r);
}

}  // namespace tarvo
