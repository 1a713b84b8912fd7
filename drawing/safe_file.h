// A drawing file that replaces the old one only when it is complete: the bytes go to a
// temporary file in the target folder, which is renamed over the target after the last byte is
// written and the file flushed; then the folder is flushed too. A failure leaves any existing
// file untouched and no partial file; so does SIGINT, SIGTERM or SIGHUP during the write.
//
// Only regular files are written. The target may be absent, a regular file, or a symbolic link
// that leads (through any number of links) to a regular file or to a name that does not exist
// yet; the link is kept and the file it names is written. A device, FIFO, socket or folder,
// directly or through links, is refused before anything is created.
//
// The new file keeps the old one's owner and group where the process may set them (root can),
// and its permission bits without set-user-ID, set-group-ID and sticky bits; a new file gets
// the permissions the process's umask gives a created file.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <system_error>

#include "drawing/written_file.h"
#include "math/outcome.h"

namespace tarvo {

class TempFileGuard;

// A step of writing a file: done, or the operating system's error (or a FileRefusal).
using FileStep = Outcome<Done, std::error_code>;

class SafeFile {
  public:
    SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;
    ~SafeFile();  // abandons a file that was not committed

    // Creates the temporary file beside the file `path` names.
    FileStep Open(const std::string& path);
    // Appends bytes. On failure the file is abandoned.
    FileStep Write(const char* data, std::size_t size);
    // Flushes to disk and renames over the target; gives the file written, still open, for
    // reading back what was written. On failure the temporary file is removed.
    Outcome<WrittenFile, std::error_code> Commit();

  private:
    // Abandons the file and passes the error on.
    std::error_code Fail(std::error_code error);
    void Abandon();

    int fd_ = -1;
    std::string path_;  // the name the rename replaces: the target, or the file its links name
    std::string tempPath_;
    std::unique_ptr<TempFileGuard> guard_;
};

// The name a drawing written to `path` replaces: `path` itself, or for a symbolic link the name
// its links end at (the file it names, or the missing name a dangling link points to). Refused
// with EISDIR for a folder, FileRefusal::NotRegularFile for a device, FIFO or socket, or the
// error met following the links.
struct WriteTarget {
    std::string path;
    bool exists = false;
};
Outcome<WriteTarget, std::error_code> ResolveWriteTarget(const std::string& path);

// Writes `size` bytes to `path` as one SafeFile: the file written, held open, or why not.
Outcome<WrittenFile, std::error_code> WriteWholeFile(const std::string& path, const char* data,
                                                     std::size_t size);

}  // namespace tarvo
