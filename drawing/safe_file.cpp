// Write-then-rename file replacement on POSIX.
#include "drawing/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>
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
std::optional<std::error_code> RefusalOf(mode_t mode) {
    if (S_ISREG(mode)) {
        return std::nullopt;
    }
    return S_ISDIR(mode) ? SystemError(EISDIR) : MakeErrorCode(FileRefusal::NotRegularFile);
}

// The text of the symbolic link `path`.
Outcome<std::string, std::error_code> ReadLink(const std::string& path) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            return Outcome<std::string, std::error_code>::Failure(SystemError(errno));
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(2 * buffer.size());
    }
}

// An open temporary file and its name.
struct TempFile {
    int fd;
    std::string name;
};

// A fresh hidden name beside the target, created with O_EXCL so no existing file is taken over.
// The mode 0666 is reduced by the process's umask as for any file the designer creates.
Outcome<TempFile, std::error_code> CreateTemp(const std::string& folder) {
    using Created = Outcome<TempFile, std::error_code>;
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
            return TempFile{fd, candidate};
        }
        if (errno != EEXIST) {
            return Created::Failure(SystemError(errno));
        }
    }
    return Created::Failure(SystemError(EEXIST));
}

// The old file's owner and group where the process may set them, then its permission bits
// without set-user-ID, set-group-ID and sticky bits. An ordinary user cannot give a file away:
// the group alone is tried then, and failing that the new file stays the user's own.
FileStep TakeOverAttributes(int fd, const struct stat& old) {
    struct stat now {};
    if (fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid)) {
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {
            (void)fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        }
    }
    if (fchmod(fd, old.st_mode & 0777) != 0) {
        return FileStep::Failure(SystemError(errno));
    }
    return Done{};
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

Outcome<WriteTarget, std::error_code> ResolveWriteTarget(const std::string& path) {
    using Resolved = Outcome<WriteTarget, std::error_code>;
    if (path.empty() || path.back() == '/') {
        return Resolved::Failure(SystemError(EISDIR));
    }
    struct stat followed {};
    if (stat(path.c_str(), &followed) == 0) {
        if (const auto refusal = RefusalOf(followed.st_mode)) {
            return Resolved::Failure(*refusal);
        }
    } else if (errno != ENOENT) {
        return Resolved::Failure(SystemError(errno));
    }
    // Follow the links by name to the one that is not a link, or to the missing name a
    // dangling link points to: that is the name the drawing replaces or creates.
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat entry {};
        if (lstat(current.c_str(), &entry) != 0) {
            if (errno == ENOENT) {
                return WriteTarget{current, false};
            }
            return Resolved::Failure(SystemError(errno));
        }
        if (!S_ISLNK(entry.st_mode)) {
            if (const auto refusal = RefusalOf(entry.st_mode)) {
                return Resolved::Failure(*refusal);
            }
            return WriteTarget{current, true};
        }
        const auto target = ReadLink(current);
        if (!target.ok()) {
            return Resolved::Failure(target.fault());
        }
        const std::string& text = target.value();
        if (text.empty() || text.back() == '/') {
            return Resolved::Failure(SystemError(text.empty() ? ENOENT : EISDIR));
        }
        current = text.front() == '/' ? text : FolderOf(current) + "/" + text;
    }
    return Resolved::Failure(SystemError(ELOOP));
}

Outcome<WrittenFile, std::error_code> WriteWholeFile(const std::string& path, const char* data,
                                                     std::size_t size) {
    using Written = Outcome<WrittenFile, std::error_code>;
    SafeFile file;
    const FileStep opened = file.Open(path);
    if (!opened.ok()) {
        return Written::Failure(opened.fault());
    }
    const FileStep wrote = file.Write(data, size);
    if (!wrote.ok()) {
        return Written::Failure(wrote.fault());
    }
    return file.Commit();
}

SafeFile::SafeFile() = default;

SafeFile::~SafeFile() {
    Abandon();
}

std::error_code SafeFile::Fail(std::error_code error) {
    Abandon();
    return error;
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

FileStep SafeFile::Open(const std::string& path) {
    Abandon();
    const auto target = ResolveWriteTarget(path);
    if (!target.ok()) {
        return FileStep::Failure(target.fault());
    }
    path_ = target->path;
    auto temp = CreateTemp(FolderOf(path_));
    if (!temp.ok()) {
        return FileStep::Failure(temp.fault());
    }
    fd_ = temp->fd;
    tempPath_ = temp->name;
    guard_ = std::make_unique<TempFileGuard>(tempPath_);
    if (target->exists) {
        struct stat old {};
        if (stat(path_.c_str(), &old) != 0) {
            return FileStep::Failure(Fail(SystemError(errno)));
        }
        const FileStep taken = TakeOverAttributes(fd_, old);
        if (!taken.ok()) {
            return FileStep::Failure(Fail(taken.fault()));
        }
    }
    return Done{};
}

FileStep SafeFile::Write(const char* data, std::size_t size) {
    // Writing to a file that is not open (never opened, or abandoned after a failure) is the
    // same failure as writing to a closed descriptor.
    if (fd_ < 0) {
        return FileStep::Failure(SystemError(EBADF));
    }
    while (size > 0) {
        const ssize_t written = write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FileStep::Failure(Fail(SystemError(errno)));
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return Done{};
}

Outcome<WrittenFile, std::error_code> SafeFile::Commit() {
    using Committed = Outcome<WrittenFile, std::error_code>;
    if (fd_ < 0) {
        return Committed::Failure(SystemError(EBADF));
    }
    if (fsync(fd_) != 0) {
        return Committed::Failure(Fail(SystemError(errno)));
    }
    // Something else may have taken the name since Open: it is checked again just before the
    // rename, so a device or folder put there is not replaced either.
    struct stat now {};
    if (lstat(path_.c_str(), &now) == 0) {
        if (const auto refusal = RefusalOf(now.st_mode)) {
            return Committed::Failure(Fail(*refusal));
        }
    }
    if (rename(tempPath_.c_str(), path_.c_str()) != 0) {
        return Committed::Failure(Fail(SystemError(errno)));
    }
    tempPath_.clear();
    guard_.reset();
    SyncFolder(FolderOf(path_));
    const WrittenFile written(fd_);
    fd_ = -1;
    return written;
}

}  // namespace tarvo
