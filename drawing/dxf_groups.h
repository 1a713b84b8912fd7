// The text of a DXF file as group code and value pairs: each pair goes out as the code on a
// line of its own and the value on the next, CR LF after each, through a fixed buffer into a
// SafeFile. Every write after a failure does nothing; the first failure is kept.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "drawing/dxf_number.h"
#include "drawing/safe_file.h"

namespace tarvo {

class DxfGroups {
  public:
    explicit DxfGroups(SafeFile& file) : file_(file) {}

    // A group whose value is text as it stands: Code(0, "SECTION"), Code(8, "LAYER1VIEW0").
    void Code(int code, std::string_view value) {
        if (value.size() > kLongValue) {
            LongCode(code, value);
            return;
        }
        Room(kCodeRoom + value.size());
        WriteCode(code);
        std::memcpy(buffer_.data() + used_, value.data(), value.size());
        used_ += value.size();
        EndLine();
    }
    // A group whose value is a coordinate or a size, in the drawing's number form (DxfNumber).
    void Coordinate(int code, double value) {
        Room(kCodeRoom + kDxfNumberMaxLength);
        WriteCode(code);
        used_ = static_cast<std::size_t>(WriteDxfNumber(buffer_.data() + used_, value) -
                                         buffer_.data());
        EndLine();
    }
    // The same, giving the double its text reads back as.
    void Coordinate(int code, double value, double& readBack) {
        Room(kCodeRoom + kDxfNumberMaxLength);
        WriteCode(code);
        used_ = static_cast<std::size_t>(WriteDxfNumber(buffer_.data() + used_, value, readBack) -
                                         buffer_.data());
        EndLine();
    }

    // Hands the buffered text to the file. False once anything failed.
    bool Flush();
    // The first failure: the file's own or one the writer met (the file did not open or commit).
    const std::optional<std::error_code>& Fault() const { return fault_; }
    // Nothing more is written after `error`, unless something failed before it.
    void Fail(std::error_code error) {
        if (!fault_) {
            fault_ = error;
        }
    }

  private:
    // Room for a code of up to four digits with its sign and both line ends.
    static constexpr std::size_t kCodeRoom = 9;
    static constexpr std::size_t kBufferSize = 256 * 1024;
    // A value longer than this (a text a user typed, never a drawing's own) goes to the file
    // straight from where it stands.
    static constexpr std::size_t kLongValue = 4096;

    void Room(std::size_t length) {
        if (used_ + length > kBufferSize) {
            Flush();
        }
    }
    void EndLine() {
        buffer_[used_++] = '\r';
        buffer_[used_++] = '\n';
    }
    void WriteCode(int code) {
        char* first = buffer_.data() + used_;
        if (code >= 0 && code < 10) {
            *first++ = static_cast<char>('0' + code);  // entity and layer codes, most of a file
        } else {
            first = std::to_chars(first, first + 6, code).ptr;
        }
        used_ = static_cast<std::size_t>(first - buffer_.data());
        EndLine();
    }
    void LongCode(int code, std::string_view value);

    SafeFile& file_;
    std::optional<std::error_code> fault_;
    std::vector<char> buffer_ = std::vector<char>(kBufferSize);
    std::size_t used_ = 0;
};

}  // namespace tarvo
