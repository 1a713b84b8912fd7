// The drawing file's writer and reader against the floor of moving the same bytes, on the
// largest drawing a designer makes: the external pair 3000/3000, module 1, at the finest
// accuracy (100 involute and 50 fillet points), 1.8 million vertices. Each round times the
// writer and then fwrite of the very bytes it wrote (prepared beforehand, synced to disk as the
// writer syncs), the reader and then fread of those bytes in the reader's block size; the
// counters are the sums' ratios, CPU and wall, from rounds interleaved in one run.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/basic_rack.h"
#include "drawing/dxf_reader.h"
#include "drawing/dxf_writer.h"
#include "drawing/external_pair.h"

namespace tarvo {
namespace {

struct Clocks {
    double cpu = 0;
    double wall = 0;
};

Clocks Now() {
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    const auto wall = std::chrono::steady_clock::now().time_since_epoch();
    return {static_cast<double>(cpu.tv_sec) + 1e-9 * static_cast<double>(cpu.tv_nsec),
            std::chrono::duration<double>(wall).count()};
}

// Adds the time `work` takes to `sum`.
template <typename Work>
void Timed(Clocks& sum, Work work) {
    const Clocks from = Now();
    work();
    const Clocks to = Now();
    sum.cpu += to.cpu - from.cpu;
    sum.wall += to.wall - from.wall;
}

const ExternalPairGeometry& LargestPair() {
    static const ExternalPairGeometry pair = [] {
        MainMod state;
        state.AccEv = 100;
        state.AccPer = 50;
        StoreRack(state, FindRackRow("20")->rack);
        BuilderCall call;
        call.kind = BuilderCall::Kind::ExternalPair;
        call.Z1 = 3000;
        call.Z2 = 3000;
        call.m = 1;
        call.alpha = 20;
        return ComputeExternalPair(state, call).value();
    }();
    return pair;
}

std::string BenchPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

bool WriteLargest(const std::string& path) {
    const ExternalPairGeometry& g = LargestPair();
    return DxfWriteDrawing(path, {&g.wheel1, &g.wheel2}, {0, g.aw}).ok();
}

std::vector<char> FileBytes(const std::string& path) {
    std::vector<char> bytes(std::filesystem::file_size(path));
    std::FILE* in = std::fopen(path.c_str(), "rb");
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in));
    std::fclose(in);
    return bytes;
}

void SetRatios(benchmark::State& bench, const char* name, const Clocks& ours, const Clocks& floor) {
    bench.counters[std::string(name) + "_cpu"] = ours.cpu / floor.cpu;
    bench.counters[std::string(name) + "_wall"] = ours.wall / floor.wall;
}

void BM_DrawingWriterOverFwrite(benchmark::State& bench) {
    const std::string path = BenchPath("tarvo-bench-drawing.dxf");
    const std::string copy = BenchPath("tarvo-bench-fwrite.dxf");
    if (!WriteLargest(path)) {
        bench.SkipWithError("the drawing was not written");
        return;
    }
    const std::vector<char> bytes = FileBytes(path);
    Clocks writer, fwrite;
    for (auto _ : bench) {
        Timed(writer, [&] { benchmark::DoNotOptimize(WriteLargest(path)); });
        Timed(fwrite, [&] {
            std::FILE* out = std::fopen(copy.c_str(), "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), out);
            std::fflush(out);
            fsync(fileno(out));
            std::fclose(out);
        });
    }
    SetRatios(bench, "writer/fwrite", writer, fwrite);
    bench.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
    std::filesystem::remove(copy);
}
BENCHMARK(BM_DrawingWriterOverFwrite)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DrawingReaderOverFread(benchmark::State& bench) {
    const std::string path = BenchPath("tarvo-bench-drawing.dxf");
    if (!WriteLargest(path)) {
        bench.SkipWithError("the drawing was not written");
        return;
    }
    std::vector<char> block(kDxfReadBlockBytes);
    Clocks reader, fread;
    for (auto _ : bench) {
        Timed(reader, [&] {
            const DxfReadResult read = ReadDxfFile(path);
            benchmark::DoNotOptimize(read.ok());
        });
        Timed(fread, [&] {
            std::FILE* in = std::fopen(path.c_str(), "rb");
            while (std::fread(block.data(), 1, block.size(), in) == block.size()) {
            }
            std::fclose(in);
        });
    }
    SetRatios(bench, "reader/fread", reader, fread);
}
BENCHMARK(BM_DrawingReaderOverFread)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace tarvo
