// The STEP model against the drawing it goes with: the time to make and write each for a helical
// 20/40 pair and a helical 20/300 pair (module 2, 15 degrees, b = 20 mm, default accuracy), with
// the model's faces and file size. Compare the two times of one run as a ratio.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/basic_rack.h"
#include "app/solid_words.h"
#include "app/startup.h"
#include "drawing/builder_call.h"
#include "drawing/member_sections.h"
#include "solid/gear_step.h"

namespace tarvo {
namespace {

MainMod PairState(const std::string& path) {
    MainMod state;
    InitMainMod(state);
    StoreRack(state, kDefaultRackRow.rack);
    state.OutFile = path;
    return state;
}

BuilderCall HelicalPair(int z2) {
    BuilderCall call;
    call.kind = BuilderCall::Kind::ExternalPair;
    call.Z1 = 20;
    call.Z2 = z2;
    call.m = 2;
    call.beta = 15;
    call.alpha = 20;
    return call;
}

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

void BM_PairDxf(benchmark::State& bench) {
    const MainMod state = PairState(TempPath("tarvo-bench-pair.dxf"));
    const BuilderCall call = HelicalPair(static_cast<int>(bench.range(0)));
    for (auto _ : bench) {
        benchmark::DoNotOptimize(RunBuilder(state, call).ok());
    }
    bench.counters["bytes"] = static_cast<double>(std::filesystem::file_size(state.OutFile));
}
BENCHMARK(BM_PairDxf)->Arg(40)->Arg(300)->Unit(benchmark::kMillisecond);

// Members at the dense accuracy, solids built and checked, STEP text made and written.
void BM_PairStep(benchmark::State& bench) {
    const MainMod state = PairState(TempPath("tarvo-bench-pair.dxf"));
    const BuilderCall call = HelicalPair(static_cast<int>(bench.range(0)));
    const std::string path = TempPath("tarvo-bench-pair.step");
    std::size_t faces = 0;
    for (auto _ : bench) {
        const MemberSectionsResult sections = ComputeMemberSections(state, call, Hand::Right);
        std::vector<StepMember> members;
        for (const MemberSection& section : sections.value()) {
            members.push_back({SolidName(section.role), section});
        }
        const StepTextResult step = GearStepText(members, SolidOptions{20, 0});
        std::ofstream(path, std::ios::binary) << step->text;
        faces = step->faces;
    }
    bench.counters["faces"] = static_cast<double>(faces);
    bench.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_PairStep)->Arg(40)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace tarvo
