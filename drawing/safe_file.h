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

namespace tarvo {

class TempFileGuard;

class SafeFile {
public:
  SafeFile();
  SafeFile(const SafeFile&) = delete;
  SafeFile& operator=(const SafeFile&) = delete;
  ~SafeFile();  // abandons a file that was not committed

  // Creates the temporary file beside the file `path` names. False with Error() set on failure.
  bool Open(const std::string& path);
  // Appends bytes. False with Error() set on failure; the file is then abandoned.
  bool Write(const char* data, std::size_t size);
  // Flushes to disk and renames over the target. False with Error() on failure, and the
  // temporary file is removed.
  bool Commit();
  // After Commit: the file written, still open, for reading back what was written.
  WrittenFile Written() const { return written_; }

  // Why the last operation failed: the operating system's error, or a FileRefusal.
  std::error_code Error() const { return error_; }

private:
  void Fail(std::error_code error);
  void Abandon();

  int fd_ = -1;
  std::string path_;  // the name the rename replaces: the target, or the file its links name
  std::string tempPath_;
  std::error_code error_;
  WrittenFile written_;
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
WriteTarget ResolveWriteTarget(const std::string& path, std::error_code& error);

}  // namespace tarvo
