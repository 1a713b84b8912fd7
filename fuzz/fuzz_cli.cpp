// tarvo-cli's command line with arbitrary arguments: parsing either refuses with a reason or
// gives a request whose every value is in range; running it exits 0, 1 or 2 with the path or
// a reason, and a drawing it reports as written is a well-formed file. The fuzz bytes are split
// into arguments at NUL bytes; every "/" becomes "_", and the value of -o, --output or
// --output= is put in a temporary folder, so any file name stays inside that folder.
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli_args.h"
#include "cli/cli_run.h"
#include "drawing/spline.h"
#include "fuzz/fuzz_support.h"
#include "math/constants.h"

namespace fs = std::filesystem;

namespace {

void CheckRequest(const tarvo::CliRequest& r) {
    FUZZ_CHECK(std::isfinite(r.module) && r.module > 0, "module %g", r.module);
    FUZZ_CHECK(r.involutePoints >= 3 && r.involutePoints <= 100, "involute points %d",
               r.involutePoints);
    FUZZ_CHECK(r.filletPoints >= 3 && r.filletPoints <= 50, "fillet points %d", r.filletPoints);
    FUZZ_CHECK(!r.output.empty(), "no output file");
    if (r.job == tarvo::CliJob::Pair) {
        FUZZ_CHECK(r.z1 >= 1 && r.z2 >= 1, "tooth counts %d %d", r.z1, r.z2);
        FUZZ_CHECK(std::isfinite(r.helix) && std::isfinite(r.x1) && std::isfinite(r.x2) &&
                       std::isfinite(r.backlash),
                   "a pair value is not finite");
        FUZZ_CHECK(r.customRack || r.row != nullptr, "no rack row");
    } else {
        FUZZ_CHECK(r.teeth >= 1, "teeth %d", r.teeth);
        FUZZ_CHECK(std::isfinite(r.shift), "shift");
        FUZZ_CHECK(r.standard == tarvo::SplineStandard::Gost6033 || r.shift == 0,
                   "an OST spline with a shift");
    }
}

// Outline points the request would draw, or 0 when a builder refuses its counts at once.
long DrawingPoints(const tarvo::CliRequest& r) {
    const long n = r.involutePoints + r.filletPoints;
    if (r.job == tarvo::CliJob::Pair) {
        return r.z1 > tarvo::kMaxTeeth || r.z2 > tarvo::kMaxTeeth
                   ? 0
                   : tarvo_fuzz::OutlinePoints(r.z1, n) + tarvo_fuzz::OutlinePoints(r.z2, n);
    }
    const bool refused = r.teeth > tarvo::kMaxTeeth || (!r.hub && r.teeth > tarvo::kMaxShaftTeeth);
    return refused ? 0 : tarvo_fuzz::OutlinePoints(r.teeth, n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fs::path dir = tarvo_fuzz::WorkFolder("cli");
    std::vector<std::string> args(size == 0 ? 0 : 1);
    for (std::size_t i = 0; i < size; ++i) {
        const char ch = static_cast<char>(data[i]);
        if (ch == '\0') {
            args.emplace_back();
        } else {
            args.back().push_back(ch == '/' ? '_' : ch);
        }
    }
    // Every output file name into `dir`; an empty one stays empty, so its refusal is still seen.
    const std::string inlineOutput = "--output=";
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string& arg = args[i];
        if (arg.rfind(inlineOutput, 0) == 0 && arg.size() > inlineOutput.size()) {
            arg = inlineOutput + (dir / arg.substr(inlineOutput.size())).string();
        } else if (i > 0 && (args[i - 1] == "-o" || args[i - 1] == "--output") && !arg.empty()) {
            arg = (dir / arg).string();
        }
    }

    const tarvo::CliParse parse = tarvo::ParseCliArgs(args);
    const bool drawing =
        parse.ok() && (parse->job == tarvo::CliJob::Pair || parse->job == tarvo::CliJob::Spline);
    FUZZ_CHECK(parse.ok() || !parse.fault().empty(), "refused without a reason");
    if (drawing) {
        CheckRequest(parse.value());
        if (DrawingPoints(parse.value()) > tarvo_fuzz::kPointBudget) {
            return 0;
        }
        // A STEP model takes seconds and would be written beside the fuzzer: only its options'
        // parsing is fuzzed; tarvo_solid_tests covers the model.
        if (!parse->step.empty()) {
            return 0;
        }
    }

    std::ostringstream out;
    std::ostringstream err;
    const int status = tarvo::CliMain(args, out, err);
    FUZZ_CHECK(status == tarvo::kCliWritten || status == tarvo::kCliNotDrawn ||
                   status == tarvo::kCliBadUsage,
               "exit status %d", status);
    FUZZ_CHECK(parse.ok() || status == tarvo::kCliBadUsage, "a refused command line exited %d",
               status);
    if (status != tarvo::kCliWritten) {
        FUZZ_CHECK(err.str().rfind("tarvo-cli: ", 0) == 0, "no reason given: '%s'",
                   err.str().c_str());
    } else if (drawing) {
        const std::string& path = parse->output;
        FUZZ_CHECK(out.str() == path + "\n", "printed '%s' for '%s'", out.str().c_str(),
                   path.c_str());
        std::string why;
        FUZZ_CHECK(tarvo_fuzz::CheckDrawing(tarvo_fuzz::ReadFile(path), why) > 0, "%s",
                   why.c_str());
    } else {
        FUZZ_CHECK(!out.str().empty(), "exit 0 and nothing printed");
    }
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
        fs::remove_all(entry.path(), ec);
    }
    return 0;
}
