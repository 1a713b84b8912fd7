// Keeps a half-written drawing from outliving its process. While a guard lives, SIGINT, SIGTERM
// and SIGHUP first remove its temporary file and then act as they did before (by default the
// process ends with the usual status of that signal), and SIGXFSZ is ignored so a write past the
// file size limit fails with EFBIG and is refused like a full disk instead of killing the
// process. The previous actions come back when the guard ends.
#pragma once

#include <csignal>
#include <string>

namespace tarvo {

class TempFileGuard {
  public:
    // Guards `tempPath`. One temporary file is guarded at a time: a guard made while another
    // lives (a second write on another thread) leaves the signals to the first.
    explicit TempFileGuard(const std::string& tempPath);
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;
    ~TempFileGuard();

    // The temporary file has been renamed or removed: a signal has nothing left to remove.
    void Release();

    bool Guarding() const { return owner_; }

  private:
    bool owner_ = false;
};

}  // namespace tarvo
