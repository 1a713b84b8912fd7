// Shared by the fuzz targets: a check that stops the run with a message, reading fuzz bytes as
// tooth counts and real numbers, a work folder per target, and reading a written drawing back to
// check every coordinate.
#pragma once

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

// Stops the fuzzer with the failed condition; libFuzzer keeps the input as a crash file.
#define FUZZ_CHECK(condition, ...)                                                       \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "FUZZ_CHECK failed at %s:%d: %s\n", __FILE__, __LINE__, \
                         #condition);                                                    \
            std::fprintf(stderr, "" __VA_ARGS__);                                        \
            std::fprintf(stderr, "\n");                                                  \
            std::abort();                                                                \
        }                                                                                \
    } while (0)

namespace tarvo_fuzz {

namespace fs = std::filesystem;

// Drawings above this many outline points are skipped: they take seconds to write and run the
// same loops as a smaller one, only longer.
constexpr long kPointBudget = 20000;

// Outline points of a member of `z` teeth drawn with `n` points a flank.
inline long OutlinePoints(long z, long n) {
    return 2 * n * z + 1;
}

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
    int Count() { return Byte() % 2 == 0 ? Raw<std::int8_t>() : Raw<std::int32_t>(); }

    // A real number in one of several spreads, so both the values a designer types and the
    // extremes of the double range come up: any bit pattern, hundredths, six decimals, or a
    // mantissa times a power of ten. Sets `finite` false for an infinity or NaN.
    double Real(bool& finite) {
        const std::uint8_t tag = Byte();
        double v = 0;
        if (tag % 4 == 0) {
            v = Raw<double>();
        } else if (tag % 4 == 1) {
            v = Raw<std::int16_t>() / 100.0;
        } else if (tag % 4 == 2) {
            v = Raw<std::int32_t>() / 1e6;
        } else {
            const int mantissa = Raw<std::int16_t>();
            v = mantissa * std::pow(10.0, Raw<std::int8_t>() % 40);
        }
        finite = finite && std::isfinite(v);
        return v;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A folder of this process's own, memory-backed where there is one (committing a drawing syncs
// it), removed at exit.
inline fs::path WorkFolder(const std::string& target) {
    static fs::path dir;
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    dir = base / ("tarvo-fuzz-" + target + "-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(dir, ec);
    });
    return dir;
}

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A coordinate as the drawing writes it: optional "-", digits, optional "." and digits without
// a trailing zero, optional "E", sign and two or three digits; never "-0"; a finite value.
inline bool WellFormedCoordinate(std::string_view text) {
    std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    const auto digits = [&text, &i] {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
        }
        return i - start;
    };
    if (digits() == 0) {
        return false;
    }
    if (i < text.size() && text[i] == '.' && (++i, digits() == 0 || text[i - 1] == '0')) {
        return false;
    }
    if (i + 1 < text.size() && text[i] == 'E' && (text[i + 1] == '+' || text[i + 1] == '-')) {
        i += 2;
        const std::size_t exponent = digits();
        if (exponent < 2 || exponent > 3) {
            return false;
        }
    }
    return i == text.size() && text != "-0" &&
           std::isfinite(std::strtod(std::string(text).c_str(), nullptr));
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
    const auto nextLine = [&bytes, &pos](std::string_view& line) {
        const std::size_t end = bytes.find("\r\n", pos);
        line = bytes.substr(pos, end - pos);
        pos = end + 2;
        return end != std::string_view::npos;
    };
    long vertices = 0;
    std::string_view entity, code, value;
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
        } else if ((code == "10" || code == "20" || code == "11" || code == "21") &&
                   (entity == "VERTEX" || entity == "LINE") && !WellFormedCoordinate(value)) {
            why = "coordinate '" + std::string(value) + "' of a " + std::string(entity) +
                  " is not well formed";
            return -1;
        }
    }
    return vertices;
}

}  // namespace tarvo_fuzz
