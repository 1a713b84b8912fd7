// Drawing for a chord tolerance against drawing with counts: for the pair z 20 / 40 on the
// 20-degree rack at several modules, the time to compute and write the drawing and its size,
// with the points the tolerance placed on wheel 1's flank, the points even spacing would need
// for the same deviation, and the deviation reached. The first counts (6 and 3) are the row
// every other is compared with.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <string>

#include "app/basic_rack.h"
#include "drawing/builder_call.h"
#include "drawing/external_pair.h"
#include "profile/chord_deviation.h"

namespace tarvo {
namespace {

constexpr double kModules[] = {0.5, 2, 10, 50};
constexpr double kTolerances[] = {0.01, 0.001, 0.0001};

MainMod PairState(int involute, int fillet, double tolerance, const std::string& path) {
    MainMod state;
    state.AccEv = involute;
    state.AccPer = fillet;
    state.Tolerance = tolerance;
    state.OutFile = path;
    StoreRack(state, FindRackRow("20")->rack);
    return state;
}

BuilderCall PairCall(double m) {
    BuilderCall call;
    call.kind = BuilderCall::Kind::ExternalPair;
    call.Z1 = 20;
    call.Z2 = 40;
    call.m = m;
    call.alpha = 20;
    return call;
}

FlankDeviation Wheel1Deviation(const MainMod& state, const BuilderCall& call) {
    const ExternalPairResult g = ComputeExternalPair(state, call);
    return MeasureFlankDeviation(g->flank1, g->members1);
}

// The fewest evenly spaced points on one member that keep wheel 1's deviation there within
// the tolerance: doubled until it holds, then halved back by bisection.
int EvenCount(const BuilderCall& call, double tolerance, bool fillet) {
    auto holds = [&](int n) {
        const MainMod state = fillet ? PairState(6, n, 0, "") : PairState(n - 1, 3, 0, "");
        const FlankDeviation d = Wheel1Deviation(state, call);
        return (fillet ? d.fillet : d.involute).largest() <= tolerance;
    };
    int high = 4;
    while (!holds(high) && high < 1 << 16) {
        high *= 2;
    }
    int low = high / 2;
    while (high - low > 1) {
        const int mid = (low + high) / 2;
        (holds(mid) ? high : low) = mid;
    }
    return high;
}

std::string TempPath() {
    return (std::filesystem::temp_directory_path() /
            ("tarvo-tolerance-bench-" + std::to_string(::getpid()) + ".dxf"))
        .string();
}

// range(0): module index; range(1): tolerance index, or -1 for the first counts.
void BM_DrawPair(benchmark::State& bench) {
    const double m = kModules[bench.range(0)];
    const bool counts = bench.range(1) < 0;
    const double tolerance = counts ? 0 : kTolerances[bench.range(1)];
    const std::string path = TempPath();
    const MainMod state = PairState(6, 3, tolerance, path);
    const BuilderCall call = PairCall(m);
    bool drawn = true;
    for (auto _ : bench) {
        drawn = RunBuilder(state, call).ok();
        benchmark::DoNotOptimize(drawn);
    }
    if (!drawn) {
        bench.SkipWithError("refused");
        return;
    }
    bench.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
    const FlankDeviation d = Wheel1Deviation(state, call);
    bench.counters["inv_pts"] = d.involutePoints;
    bench.counters["fil_pts"] = d.filletPoints;
    bench.counters["inv_dev_um"] = 1000 * d.involute.largest();
    bench.counters["fil_dev_um"] = 1000 * d.fillet.largest();
    if (!counts) {
        bench.counters["inv_even"] = EvenCount(call, tolerance, false);
        bench.counters["fil_even"] = EvenCount(call, tolerance, true);
    }
}
BENCHMARK(BM_DrawPair)->ArgsProduct({{0, 1, 2, 3}, {-1, 0, 1, 2}})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvo
