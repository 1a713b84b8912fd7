// The three drawing builders with arbitrary finite numbers: every call must end, and either
// write a drawing whose every coordinate is finite and well formed, with one VERTEX per
// outline point, or give a reason and leave the file that was there byte for byte as it was,
// with no temporary file left behind.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/fault_text.h"
#include "drawing/builder_call.h"
#include "fuzz/fuzz_support.h"
#include "math/constants.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fs::path dir = tarvo_fuzz::WorkFolder("builders");
    static const std::string kOldBytes =
        "an older drawing a refused or failed call leaves alone\r\n";
    tarvo_fuzz::ByteReader in(data, size);

    const std::uint8_t mode = in.Byte();
    const int kind = (mode & 3) % 3;             // 0 external pair, 1 internal pair, 2 spline
    const bool missingFolder = (mode & 8) != 0;  // the file cannot be created
    tarvo::BuilderCall call;
    call.kind = kind == 0   ? tarvo::BuilderCall::Kind::ExternalPair
                : kind == 1 ? tarvo::BuilderCall::Kind::InternalPair
                            : tarvo::BuilderCall::Kind::Spline;
    call.hub = (mode & 4) != 0;
    tarvo::MainMod state;
    state.AccEv = 3 + in.Byte() % 98;  // the accuracy page keeps 3..100 and 3..50
    state.AccPer = 3 + in.Byte() % 48;
    state.SingleMember = kind == 2;
    call.Z = call.Z1 = in.Count();
    call.Z2 = in.Count();
    bool finite = true;
    call.m = in.Real(finite);
    call.beta = in.Real(finite);
    call.alpha = in.Real(finite);
    call.x = call.x1 = in.Real(finite);
    call.x2 = in.Real(finite);
    call.jn = in.Real(finite);
    for (double* rack : {&state.H, &state.Hf, &state.C, &state.Ro}) {
        *rack = in.Real(finite);
    }
    if (!finite) {
        return 0;  // the page command reads only finite numbers out of its boxes
    }
    const long n = state.AccEv + state.AccPer;
    const bool inRange = call.Z1 >= 1 && call.Z1 <= tarvo::kMaxTeeth &&
                         (kind == 2 || (call.Z2 >= 1 && call.Z2 <= tarvo::kMaxTeeth));
    const long expectedVertices = tarvo_fuzz::OutlinePoints(call.Z1, n) +
                                  (kind == 2 ? 0 : tarvo_fuzz::OutlinePoints(call.Z2, n));
    if (inRange && expectedVertices > tarvo_fuzz::kPointBudget) {
        return 0;
    }

    const fs::path existing = dir / "part.dxf";
    const fs::path target = missingFolder ? dir / "missing" / "part.dxf" : existing;
    if (!missingFolder) {
        std::ofstream(target, std::ios::binary | std::ios::trunc) << kOldBytes;
    }
    state.OutFile = target.string();
    const tarvo::DrawResult result = tarvo::RunBuilder(state, call);

    if (result.ok()) {
        FUZZ_CHECK(!missingFolder, "a drawing was written into a folder that does not exist");
        std::string why;
        const long vertices = tarvo_fuzz::CheckDrawing(tarvo_fuzz::ReadFile(target), why);
        FUZZ_CHECK(vertices >= 0, "%s", why.c_str());
        FUZZ_CHECK(vertices == expectedVertices, "%ld VERTEX entities, %ld outline points",
                   vertices, expectedVertices);
    } else {
        const tarvo::DrawFault& fault = result.fault();
        FUZZ_CHECK(!tarvo::DrawReason(fault).empty(), "not written without a reason");
        FUZZ_CHECK(
            fault.kind != tarvo::DrawFault::Kind::GeometryRefused || fault.geometry.has_value(),
            "refused without a fault");
        FUZZ_CHECK(missingFolder ? !fs::exists(target.parent_path())
                                 : tarvo_fuzz::ReadFile(target) == kOldBytes,
                   "a refused or failed call made a folder or changed the existing file");
    }
    // Nothing but the drawing itself may remain: no temporary file of an abandoned write.
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
        FUZZ_CHECK(entry.path() == existing, "left behind: %s", entry.path().c_str());
    }
    return 0;
}
