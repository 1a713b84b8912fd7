// What the data sheet of a drawing costs against writing that drawing, for external and internal
// pairs from 20 to 3000 teeth at the finest accuracy (100 involute, 50 fillet points), module 1,
// the 20-degree rack. Each round draws in one child process and draws and reports in another, as
// tarvo-cli without and with --report (the sheet made as the drawing is written, what the
// command does), and takes each child's CPU time and peak resident memory
// from the kernel: "report/drawing" is the CPU of drawing and sheet over the drawing alone,
// "peak_ratio" the peak memory of the two, both measured in one run on one machine.
// BM_MeshCheckAgainstDrawing sets the mesh check alone, on the builders' outlines in memory,
// against the drawing child: "mesh/drawing", the share of the sheet's cost the check makes.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/basic_rack.h"
#include "drawing/builder_call.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "report/data_sheet.h"
#include "report/mesh_check.h"

namespace tarvo {
namespace {

struct ChildCost {
    double cpu = 0;     // user and system seconds
    double peakMB = 0;  // largest resident set
    bool ok = false;
};

// Runs `work` in a child process and reads what it cost from the kernel.
template <typename Work>
ChildCost InChild(Work work) {
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(work() ? 0 : 1);
    }
    ChildCost cost;
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) {
        return cost;
    }
    cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    cost.cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
               usage.ru_stime.tv_usec * 1e-6;
    cost.peakMB = usage.ru_maxrss / 1024.0;  // kilobytes on Linux
    return cost;
}

// This process's own CPU seconds so far.
double OwnCpu() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec * 1e-6;
}

// The state and the call of one row; arguments: internal (0 or 1), z1, z2.
MainMod RowState() {
    MainMod state;
    state.AccEv = 100;
    state.AccPer = 50;
    StoreRack(state, FindRackRow("20")->rack);
    state.OutFile = (std::filesystem::temp_directory_path() /
                     ("tarvo-bench-report-" + std::to_string(getpid()) + ".dxf"))
                        .string();
    return state;
}

BuilderCall RowCall(const benchmark::State& bench, const MainMod& state) {
    BuilderCall call;
    call.kind =
        bench.range(0) != 0 ? BuilderCall::Kind::InternalPair : BuilderCall::Kind::ExternalPair;
    call.Z1 = static_cast<int>(bench.range(1));
    call.Z2 = static_cast<int>(bench.range(2));
    call.m = 1;
    call.alpha = state.Alfa;
    return call;
}

void BM_ReportAgainstDrawing(benchmark::State& bench) {
    MainMod state = RowState();
    const BuilderCall call = RowCall(bench, state);
    double drawing = 0, reported = 0, drawingPeak = 0, reportPeak = 0;
    for (auto _ : bench) {
        const ChildCost drawn = InChild([&] { return RunBuilder(state, call).ok(); });
        const ChildCost sheet = InChild([&] {
            const DrawnSheet made = DrawWithDataSheet(state, call);
            return made.drawn.ok() && made.sheet && made.sheet->ok() &&
                   made.sheet->value().mesh.mesh.ok();
        });
        if (!drawn.ok || !sheet.ok) {
            bench.SkipWithError("the drawing was not written or its mesh not checked");
            break;
        }
        drawing += drawn.cpu;
        reported += sheet.cpu;
        drawingPeak = std::max(drawingPeak, drawn.peakMB);
        reportPeak = std::max(reportPeak, sheet.peakMB);
        bench.SetIterationTime(sheet.cpu);
    }
    bench.counters["report/drawing"] = reported / drawing;
    bench.counters["drawing_peak_MB"] = drawingPeak;
    bench.counters["peak_ratio"] = reportPeak / drawingPeak;
    std::filesystem::remove(state.OutFile);
}
// The mesh check of the pair's outlines as the builders make them, the wheel typed first as
// wheel 1, as the sheet checks it.
void BM_MeshCheckAgainstDrawing(benchmark::State& bench) {
    const MainMod state = RowState();
    const BuilderCall call = RowCall(bench, state);
    Polyline a, b;
    MeshWheel w1, w2;
    if (call.kind == BuilderCall::Kind::ExternalPair) {
        const ExternalPairResult g = ComputeExternalPair(state, call);
        if (!g.ok()) {
            bench.SkipWithError("the pair was not built");
            return;
        }
        a = g->wheel1.Points();
        b = g->wheel2.Points();
        w1 = {&a, {0, 0}, call.Z1, false};
        w2 = {&b, {g->aw, 0}, call.Z2, false};
    } else {
        const InternalPairResult g = ComputeInternalPair(state, call);
        if (!g.ok()) {
            bench.SkipWithError("the pair was not built");
            return;
        }
        a = g->ring.Points();
        b = g->pinion.Points();
        const MeshWheel ring{&a, {0, 0}, g->zr, true}, pinion{&b, {g->aw, 0}, g->zp, false};
        w1 = call.Z1 < call.Z2 ? pinion : ring;
        w2 = call.Z1 < call.Z2 ? ring : pinion;
    }
    double drawing = 0, checking = 0;
    for (auto _ : bench) {
        const ChildCost drawn = InChild([&] { return RunBuilder(state, call).ok(); });
        const double before = OwnCpu();
        const MeshCheckResult checked = CheckMesh(w1, w2);
        const double spent = OwnCpu() - before;
        if (!drawn.ok || !checked.ok()) {
            bench.SkipWithError("the drawing was not written or its mesh not checked");
            break;
        }
        drawing += drawn.cpu;
        checking += spent;
        bench.SetIterationTime(spent);
    }
    bench.counters["mesh/drawing"] = checking / drawing;
    std::filesystem::remove(state.OutFile);
}

// The rows both benchmarks measure: external and internal pairs from 20 to 3000 teeth, the
// near-equal internal ones among them.
void PairRows(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"internal", "z1", "z2"})
        ->Args({0, 20, 40})
        ->Args({0, 300, 300})
        ->Args({0, 3000, 3000})
        ->Args({1, 40, 20})
        ->Args({1, 300, 290})
        ->Args({1, 3000, 2900})
        ->Args({1, 3000, 3010})
        ->Iterations(3)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ReportAgainstDrawing)->Apply(PairRows);
BENCHMARK(BM_MeshCheckAgainstDrawing)->Apply(PairRows);

}  // namespace
}  // namespace tarvo
