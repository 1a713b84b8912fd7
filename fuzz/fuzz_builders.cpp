// The three drawing builders with arbitrary finite numbers: every call must end, and either
// write a drawing whose every coordinate is finite and well formed, with one VERTEX per
// outline point, or give a reason and leave the file that was there byte for byte as it was,
// with no temporary file left behind.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

#include "app/fault_text.h"
#include "drawing/builder_call.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"
#include "fuzz/fuzz_support.h"
#include "math/constants.h"

namespace fs = std::filesystem;

namespace {

// Drawings above this many outline points are skipped: they take seconds to write and prove
// nothing that a smaller one does not (the loops are the same, only longer).
constexpr long kPointBudget = 20000;

const char kOldBytes[] = "an older drawing that a refused or failed call must leave alone\r\n";

fs::path WorkFolder() {
    static fs::path dir;
    // Memory-backed when there is one, so committing a drawing (which syncs it) stays cheap.
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    dir = base / ("tarvo-fuzz-builders-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(dir, ec);
    });
    return dir;
}

long OutlinePoints(long z, int n) { return 2 * static_cast<long>(n) * z + 1; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fs::path dir = WorkFolder();
    tarvo_fuzz::ByteReader in(data, size);

    const std::uint8_t mode = in.Byte();
    const int kind = (mode & 3) % 3;  // 0 external pair, 1 internal pair, 2 spline
    const bool hub = (mode & 4) != 0;
    const bool missingFolder = (mode & 8) != 0;  // the file cannot be created

    tarvo::MainMod state;
    state.AccEv = 3 + in.Byte() % 98;  // the accuracy page keeps 3..100 and 3..50
    state.AccPer = 3 + in.Byte() % 48;
    state.SingleMember = kind == 2;
    const int Z1 = in.Count();
    const int Z2 = in.Count();
    bool finite = true;
    const double m = in.Real(finite);
    const double beta = in.Real(finite);
    const double alpha = in.Real(finite);
    const double x1 = in.Real(finite);
    const double x2 = in.Real(finite);
    const double jn = in.Real(finite);
    state.H = in.Real(finite);
    state.Hf = in.Real(finite);
    state.C = in.Real(finite);
    state.Ro = in.Real(finite);
    if (!finite) {
        return 0;  // the page command reads only finite numbers out of its boxes
    }

    const int n = state.AccEv + state.AccPer;
    auto inRange = [](int z) { return z >= 1 && z <= tarvo::kMaxTeeth; };
    long expectedVertices = 0;
    if (kind == 2) {
        expectedVertices = OutlinePoints(Z1, n);
        if (inRange(Z1) && expectedVertices > kPointBudget) {
            return 0;
        }
    } else {
        expectedVertices = OutlinePoints(Z1, n) + OutlinePoints(Z2, n);
        if (inRange(Z1) && inRange(Z2) && expectedVertices > kPointBudget) {
            return 0;
        }
    }

    const fs::path existing = dir / "part.dxf";
    const fs::path target = missingFolder ? dir / "missing" / "part.dxf" : existing;
    if (!missingFolder) {
        tarvo_fuzz::WriteFile(target, kOldBytes);
    }
    state.OutFile = target.string();

    tarvo::BuilderCall call;
    call.kind = kind == 0   ? tarvo::BuilderCall::Kind::ExternalPair
                : kind == 1 ? tarvo::BuilderCall::Kind::InternalPair
                            : tarvo::BuilderCall::Kind::Spline;
    call.Z1 = Z1;
    call.Z2 = Z2;
    call.Z = Z1;
    call.m = m;
    call.beta = beta;
    call.alpha = alpha;
    call.x1 = x1;
    call.x2 = x2;
    call.x = x1;
    call.jn = jn;
    call.hub = hub;
    const tarvo::DrawResult result = tarvo::RunBuilder(state, call);

    switch (result.status) {
        case tarvo::DrawStatus::Written: {
            FUZZ_CHECK(!missingFolder, "a drawing was written into a folder that does not exist");
            FUZZ_CHECK(tarvo::DrawReason(result).empty(), "a written drawing carries a reason");
            std::string why;
            const long vertices = tarvo_fuzz::CheckDrawing(tarvo_fuzz::ReadFile(target), why);
            FUZZ_CHECK(vertices >= 0, "%s", why.c_str());
            FUZZ_CHECK(vertices == expectedVertices, "%ld VERTEX entities, %ld outline points",
                       vertices, expectedVertices);
            break;
        }
        case tarvo::DrawStatus::GeometryRefused:
            FUZZ_CHECK(!result.geometry.ok(), "refused without a fault");
            FUZZ_CHECK(!tarvo::DrawReason(result).empty(), "refused without a reason");
            break;
        case tarvo::DrawStatus::FileNotWritten:
            FUZZ_CHECK(!tarvo::DrawReason(result).empty(), "file not written without a reason");
            break;
    }
    if (result.status != tarvo::DrawStatus::Written) {
        if (missingFolder) {
            FUZZ_CHECK(!fs::exists(target.parent_path()), "a refused call made a folder");
        } else {
            FUZZ_CHECK(tarvo_fuzz::ReadFile(target) == kOldBytes,
                       "a refused or failed call changed the existing file");
        }
    }
    // Nothing but the drawing itself may remain: no temporary file of an abandoned write.
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
        FUZZ_CHECK(entry.path() == existing, "left behind: %s", entry.path().c_str());
    }
    return 0;
}
