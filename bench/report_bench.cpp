// What the data sheet of a drawing costs against writing that drawing: a pair of 3000-tooth
// wheels at the finest accuracy (100 involute, 50 fillet points), module 1, the 20-degree rack.
// Both are timed in the same iteration, so the "report/drawing" counter is a ratio measured in
// one run on one machine. "peak_MB" is the process's peak resident memory after the drawings and
// their sheets (the drawing alone needs about the memory of its outlines).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include "app/basic_rack.h"
#include "drawing/builder_call.h"
#include "report/data_sheet.h"

namespace tarvo {
namespace {

double Seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

void BM_ReportAgainstDrawing(benchmark::State& bench) {
    const int z = static_cast<int>(bench.range(0));
    MainMod state;
    state.AccEv = 100;
    state.AccPer = 50;
    StoreRack(state, FindRackRow("20")->rack);
    state.OutFile = (std::filesystem::temp_directory_path() / "tarvo-bench-report.dxf").string();
    BuilderCall call;
    call.Z1 = z;
    call.Z2 = z;
    call.m = 1;
    call.alpha = state.Alfa;
    double drawing = 0, report = 0, peak = 0;
    for (auto _ : bench) {
        auto start = std::chrono::steady_clock::now();
        const DrawResult drawn = RunBuilder(state, call);
        drawing += Seconds(start);
        if (!drawn.ok()) {
            bench.SkipWithError("the drawing was not written");
            break;
        }
        start = std::chrono::steady_clock::now();
        const DataSheetResult sheet = DataSheetOfFile(state, call, state.OutFile);
        const double reported = Seconds(start);
        report += reported;
        if (!sheet.ok() || !sheet->mesh.mesh.ok()) {
            bench.SkipWithError("the drawing's mesh was not checked");
            break;
        }
        benchmark::DoNotOptimize(sheet->mesh.mesh->minClearance);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        peak = std::max(peak, usage.ru_maxrss / 1024.0);  // kilobytes on Linux
        bench.SetIterationTime(reported);
    }
    bench.counters["report/drawing"] = report / drawing;
    bench.counters["peak_MB"] = peak;
    std::filesystem::remove(state.OutFile);
}
BENCHMARK(BM_ReportAgainstDrawing)
    ->Arg(300)
    ->Arg(3000)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvo
