// A drawing file that replaces the old one only when it is complete: the bytes go to a
// temporary file in the target folder, which is renamed over the target after the last byte is
// written and the file closed. A failure leaves any existing file untouched and no partial file.
#pragma once

#include <cstddef>
#include <string>

namespace tarvo {

class SafeFile {
public:
    SafeFile() = default;
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;
    ~SafeFile();  // abandons a file that was not committed

    // Creates the temporary file beside `path`. False with Error() set on failure.
    bool Open(const std::string& path);
    // Appends bytes. False with Error() set on failure; the file is then abandoned.
    bool Write(const char* data, std::size_t size);
    // Flushes to disk, closes and renames over the target. False with Error() on failure, and
    // the temporary file is removed.
    bool Commit();

    // The operating system's reason for the last failure.
    const std::string& Error() const { return error_; }

private:
    void Fail(int errorNumber);
    void Abandon();

    int fd_ = -1;
    std::string path_;
    std::string tempPath_;
    std::string error_;
};

}  // namespace tarvo
