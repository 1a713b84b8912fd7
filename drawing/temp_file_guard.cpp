// Signal handling around a temporary drawing file. The handler only calls unlink, sigaction and
// raise, which are safe in a signal handler; the path lives in a fixed buffer written before the
// handlers are installed.
#include "drawing/temp_file_guard.h"

#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace tarvo {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = sizeof kStopSignals / sizeof kStopSignals[0];

std::atomic<bool> gTaken{false};        // a guard owns the slot below
volatile std::sig_atomic_t gArmed = 0;  // the file in gPath still exists
char gPath[PATH_MAX + 1];
struct sigaction gPrevious[kSignalCount];
bool gInstalled[kSignalCount];
struct sigaction gPreviousXfsz;

void RemoveAndResignal(int signal) {
    if (gArmed != 0) {
        unlink(gPath);
        gArmed = 0;
    }
    for (int i = 0; i < kSignalCount; ++i) {
        if (kStopSignals[i] == signal) {
            sigaction(signal, &gPrevious[i], nullptr);
        }
    }
    // Blocked while this handler runs, so the previous action takes it on return.
    raise(signal);
}

}  // namespace

TempFileGuard::TempFileGuard(const std::string& tempPath) {
    if (tempPath.size() > PATH_MAX || gTaken.exchange(true)) {
        return;
    }
    owner_ = true;
    std::memcpy(gPath, tempPath.c_str(), tempPath.size() + 1);
    gArmed = 1;
    struct sigaction remove {};
    remove.sa_handler = RemoveAndResignal;
    sigfillset(&remove.sa_mask);
    for (int i = 0; i < kSignalCount; ++i) {
        gInstalled[i] = false;
        struct sigaction previous {};
        sigaction(kStopSignals[i], nullptr, &previous);
        // A signal the process ignores (nohup's SIGHUP) stays ignored.
        if (previous.sa_handler == SIG_IGN) {
            continue;
        }
        gInstalled[i] = sigaction(kStopSignals[i], &remove, &gPrevious[i]) == 0;
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &gPreviousXfsz);
}

void TempFileGuard::Release() {
    if (owner_) {
        gArmed = 0;
    }
}

TempFileGuard::~TempFileGuard() {
    if (!owner_) {
        return;
    }
    for (int i = 0; i < kSignalCount; ++i) {
        if (gInstalled[i]) {
            sigaction(kStopSignals[i], &gPrevious[i], nullptr);
        }
    }
    sigaction(SIGXFSZ, &gPreviousXfsz, nullptr);
    gArmed = 0;
    gTaken.store(false);
}

}  // namespace tarvo
