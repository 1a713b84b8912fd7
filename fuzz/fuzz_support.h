// Shared by the fuzz targets: a check that stops the run with a message, reading fuzz bytes as
// tooth counts and real numbers, and reading a written drawing back to check every coordinate.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

// Stops the fuzzer with the failed condition; libFuzzer keeps the input as a crash file.
#define FUZZ_CHECK(condition, ...)                                                   \
    do {                                                                             \
        if (!(condition)) {                                                          \
            std::fprintf(stderr, "FUZZ_CHECK failed at %s:%d: %s\n", __FILE__,      \
                         __LINE__, #condition);                                      \
            std::fprintf(stderr, "" __VA_ARGS__);                                    \
            std::fprintf(stderr, "\n");                                              \
            std::abort();                                                            \
        }                                                                            \
    } while (0)

namespace tarvo_fuzz {

// Reads the fuzz bytes front to back; past the end every read gives zeros.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    template <typename T>
    T Raw() {
        unsigned char bytes[sizeof(T)] = {};
        for (unsigned char& b : bytes) {
            b = Byte();
        }
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    // A tooth count: mostly a small signed number (-128..127), sometimes any 32-bit value.
    int Count() {
        const std::uint8_t tag = Byte();
        if (tag % 2 == 0) {
            return Raw<std::int8_t>();
        }
        return Raw<std::int32_t>();
    }

    // A real number in one of several spreads, so both the values a designer types and the
    // extremes of the double range come up. Sets `finite` false for an infinity or NaN.
    double Real(bool& finite) {
        const std::uint8_t tag = Byte();
        double v = 0;
        switch (tag % 4) {
            case 0:
                v = Raw<double>();  // any bit pattern
                break;
            case 1:
                v = Raw<std::int16_t>() / 100.0;  // -327.68 .. 327.67 in hundredths
                break;
            case 2:
                v = Raw<std::int32_t>() / 1e6;  // six decimals
                break;
            default: {
                const int mantissa = Raw<std::int16_t>();
                const int exponent = Raw<std::int8_t>() % 40;
                v = mantissa * std::pow(10.0, exponent);
                break;
            }
        }
        if (!std::isfinite(v)) {
            finite = false;
        }
        return v;
    }

    std::string Rest() {
        std::string text(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
        pos_ = size_;
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A coordinate as the drawing writes it: optional "-", digits, optional "." and digits,
// optional "E", sign and two or three digits; never "-0"; a finite value.
inline bool WellFormedCoordinate(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto digits = [&text, &i, n] {
        const std::size_t start = i;
        while (i < n && text[i] >= '0' && text[i] <= '9') {
            ++i;
        }
        return i - start;
    };
    if (i < n && text[i] == '-') {
        ++i;
    }
    if (digits() == 0) {
        return false;
    }
    if (i < n && text[i] == '.') {
        ++i;
        if (digits() == 0 || text[i - 1] == '0') {
            return false;  // a bare point or a trailing zero
        }
    }
    if (i < n && text[i] == 'E') {
        ++i;
        if (i >= n || (text[i] != '+' && text[i] != '-')) {
            return false;
        }
        ++i;
        const std::size_t exponentDigits = digits();
        if (exponentDigits < 2 || exponentDigits > 3) {
            return false;
        }
    }
    if (i != n || text == "-0") {
        return false;
    }
    return std::isfinite(std::strtod(std::string(text).c_str(), nullptr));
}

// Reads a drawing file back: CR LF lines in group-code/value pairs, the section frame, and
// every coordinate of a VERTEX or LINE well formed. Returns the number of VERTEX entities,
// or -1 with `why` set when the file is not a well-formed drawing.
inline long CheckDrawing(std::string_view bytes, std::string& why) {
    constexpr std::string_view kHead = "0\r\nSECTION\r\n2\r\nENTITIES\r\n";
    constexpr std::string_view kTail = "0\r\nENDSEC\r\n0\r\nEOF\r\n";
    if (bytes.size() < kHead.size() + kTail.size() || bytes.substr(0, kHead.size()) != kHead ||
        bytes.substr(bytes.size() - kTail.size()) != kTail) {
        why = "section frame broken";
        return -1;
    }
    std::size_t pos = 0;
    auto nextLine = [&bytes, &pos](std::string_view& line) {
        const std::size_t end = bytes.find("\r\n", pos);
        if (end == std::string_view::npos) {
            return false;
        }
        line = bytes.substr(pos, end - pos);
        pos = end + 2;
        return true;
    };
    long vertices = 0;
    std::string_view entity;
    std::string_view code;
    std::string_view value;
    while (pos < bytes.size()) {
        if (!nextLine(code) || !nextLine(value)) {
            why = "a group code without a value, or a line without CR LF";
            return -1;
        }
        if (code.empty() || code.find_first_not_of("0123456789") != std::string_view::npos) {
            why = "group code '" + std::string(code) + "' is not a number";
            return -1;
        }
        if (code == "0") {
            entity = value;
            vertices += entity == "VERTEX" ? 1 : 0;
            continue;
        }
        const bool coordinate = code == "10" || code == "20" || code == "11" || code == "21";
        if (coordinate && (entity == "VERTEX" || entity == "LINE") &&
            !WellFormedCoordinate(value)) {
            why = "coordinate '" + std::string(value) + "' of a " + std::string(entity) +
                  " is not well formed";
            return -1;
        }
    }
    return vertices;
}

}  // namespace tarvo_fuzz
