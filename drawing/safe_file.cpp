// Write-then-rename file replacement on POSIX.
#include "drawing/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <vector>

#include "drawing/file_error.h"
#include "drawing/temp_file_guard.h"

namespace tarvo {

namespace {

// Links followed before giving up, as the kernel's own limit.
constexpr int kMaxLinks = 40;
// Names tried for the temporary file before giving up on a folder full of them.
constexpr int kTempNameTries = 100;

std::error_code SystemError(int errorNumber) {
    return {errorNumber, std::system_category()};
}

// The folder part of a path, for the temporary file that must live on the target's file system.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// What may be replaced by a drawing: a regular file; a folder and anything else are refused.
std::error_code RefusalOf(mode_t mode) {
    if (S_ISREG(mode)) {
        return {};
    }
    return S_ISDIR(mode) ? SystemError(EISDIR) : MakeErrorCode(FileRefusal::NotRegularFile);
}

// The text of the symbolic link `path`.
bool ReadLink(const std::string& path, std::string& target, std::error_code& error) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            error = SystemError(errno);
            return false;
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            target.assign(buffer.data(), static_cast<std::size_t>(length));
            return true;
        }
        buffer.resize(2 * buffer.size());
    }
}

// A fresh hidden name beside the target, created with O_EXCL so no existing file is taken over.
// The mode 0666 is reduced by the process's umask as for any file the designer creates.
int CreateTemp(const std::string& folder, std::string& name, std::error_code& error) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned long long seed = static_cast<unsigned long long>(
                                  std::chrono::steady_clock::now().time_since_epoch().count()) ^
                              (static_cast<unsigned long long>(getpid()) << 32);
    for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
        // A short name, so a target name near the file system's length limit still fits.
        std::string candidate = folder + "/.tarvo-";
        for (int i = 0; i < 6; ++i) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            candidate += kLetters[(seed >> 33) % (sizeof kLetters - 1)];
        }
        const int fd =
            open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0) {
            name = candidate;
            return fd;
        }
        if (errno != EEXIST) {
            error = SystemError(errno);
            return -1;
        }
    }
    error = SystemError(EEXIST);
    return -1;
}

// The old file's owner and group where the process may set them, then its permission bits
// without set-user-ID, set-group-ID and sticky bits. An ordinary user cannot give a file away:
// the group alone is tried then, and failing that the new file stays the user's own.
bool TakeOverAttributes(int fd, const struct stat& old, std::error_code& error) {
    struct stat now {};
    if (fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid)) {
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {
            (void)fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        }
    }
    if (fchmod(fd, old.st_mode & 0777) != 0) {
        error = SystemError(errno);
        return false;
    }
    return true;
}

// Flushes the folder's entry for the renamed file. A file system that cannot flush a folder
// says so with EINVAL; the drawing is in place either way, so this is done as well as it can be.
void SyncFolder(const std::string& folder) {
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)fsync(dir);
        close(dir);
    }
}

}  // namespace

WriteTarget ResolveWriteTarget(const std::string& path, std::error_code& error) {
    error.clear();
    if (path.empty() || path.back() == '/') {
        error = SystemError(EISDIR);
        return {};
    }
    struct stat followed {};
    if (stat(path.c_str(), &followed) == 0) {
        if ((error = RefusalOf(followed.st_mode))) {
            return {};
        }
    } else if (errno != ENOENT) {
        error = SystemError(errno);
        return {};
    }
    // Follow the links by name to the one that is not a link, or to the missing name a
    // dangling link points to: that is the name the drawing replaces or creates.
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat entry {};
        if (lstat(current.c_str(), &entry) != 0) {
            if (errno == ENOENT) {
                return {current, false};
            }
            error = SystemError(errno);
            return {};
        }
        if (!S_ISLNK(entry.st_mode)) {
            if ((error = RefusalOf(entry.st_mode))) {
                return {};
            }
            return {current, true};
        }
        std::string target;
        if (!ReadLink(current, target, error)) {
            return {};
        }
        if (target.empty() || target.back() == '/') {
            error = SystemError(target.empty() ? ENOENT : EISDIR);
            return {};
        }
        current = target.front() == '/' ? target : FolderOf(current) + "/" + target;
    }
    error = SystemError(ELOOP);
    return {};
}

SafeFile::SafeFile() = default;

SafeFile::~SafeFile() { Abandon(); }

void SafeFile::Fail(std::error_code error) {
    error_ = error;
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
    guard_.reset();
}

bool SafeFile::Open(const std::string& path) {
    Abandon();
    error_.clear();
    written_ = WrittenFile();
    const WriteTarget target = ResolveWriteTarget(path, error_);
    if (error_) {
        return false;
    }
    path_ = target.path;
    std::string name;
    const int fd = CreateTemp(FolderOf(path_), name, error_);
    if (fd < 0) {
        return false;
    }
    fd_ = fd;
    tempPath_ = name;
    guard_ = std::make_unique<TempFileGuard>(tempPath_);
    if (target.exists) {
        struct stat old {};
        if (stat(path_.c_str(), &old) != 0) {
            Fail(SystemError(errno));
            return false;
        }
        std::error_code error;
        if (!TakeOverAttributes(fd_, old, error)) {
            Fail(error);
            return false;
        }
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
            Fail(SystemError(errno));
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
        Fail(SystemError(errno));
        return false;
    }
    // Something else may have taken the name since Open: it is checked again just before the
    // rename, so a device or folder put there is not replaced either.
    struct stat now {};
    if (lstat(path_.c_str(), &now) == 0) {
        if (const std::error_code refusal = RefusalOf(now.st_mode)) {
            Fail(refusal);
            return false;
        }
    }
    if (rename(tempPath_.c_str(), path_.c_str()) != 0) {
        Fail(SystemError(errno));
        return false;
    }
    tempPath_.clear();
    guard_.reset();
    SyncFolder(FolderOf(path_));
    written_ = WrittenFile(fd_);
    fd_ = -1;
    return true;
}

}  // namespace tarvo
