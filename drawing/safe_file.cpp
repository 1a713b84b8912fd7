// Write-then-rename file replacement on POSIX.
#include "drawing/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <system_error>
#include <vector>

namespace tarvo {

namespace {

// The folder part of a path, for the temporary file that must live on the target's file system.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The permissions a newly created file would get: rw for all, less the process's umask.
mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

SafeFile::~SafeFile() { Abandon(); }

void SafeFile::Fail(int errorNumber) {
    error_ = std::system_category().message(errorNumber);
    Abandon();
}

void SafeFile::Abandon() {
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        unlink(tempPath_.c_str());
        tempPath_.clear();
    }
}

bool SafeFile::Open(const std::string& path) {
    Abandon();
    error_.clear();
    path_ = path;
    // A link to a drawing elsewhere is followed, so the drawing it names is replaced and the
    // link stays a link.
    char resolved[PATH_MAX];
    struct stat entry {};
    if (lstat(path.c_str(), &entry) == 0 && S_ISLNK(entry.st_mode) &&
        realpath(path.c_str(), resolved) != nullptr) {
        path_ = resolved;
    }
    if (path.empty() || path.back() == '/') {
        error_ = std::system_category().message(EISDIR);
        return false;
    }
    // A short hidden name, so a target name near the file system's length limit still fits.
    const std::string pattern = FolderOf(path_) + "/.tarvo-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        error_ = std::system_category().message(errno);
        return false;
    }
    fd_ = fd;
    tempPath_ = name.data();
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat existing {};
    const mode_t mode =
        stat(path_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : NewFileMode();
    if (fchmod(fd_, mode) != 0) {
        Fail(errno);
        return false;
    }
    return true;
}

bool SafeFile::Write(const char* data, std::size_t size) {
    if (fd_ < 0) {
        return false;
    }
    while (size > 0) {
        const ssize_t written = write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail(errno);
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool SafeFile::Commit() {
    if (fd_ < 0) {
        return false;
    }
    if (fsync(fd_) != 0) {
        Fail(errno);
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) {
        Fail(errno);
        return false;
    }
    if (rename(tempPath_.c_str(), path_.c_str()) != 0) {
        Fail(errno);
        return false;
    }
    tempPath_.clear();
    return true;
}

}  // namespace tarvo
