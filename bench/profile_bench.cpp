// How long the geometry of one wheel takes at the finest accuracy (100 involute and 50 fillet
// points), and how the DXF writer's throughput compares with writing the same bytes at once.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "drawing/dxf_writer.h"
#include "math/involute.h"
#include "profile/gear_outline.h"
#include "profile/tooth_profile.h"

namespace tarvo {
namespace {

// Flank and whole outline of wheel 1 of an external pair with z teeth (mate of 2z teeth),
// module 2, the 20-degree rack.
void BM_ToothProfileAndOutline(benchmark::State& bench) {
    const int z = static_cast<int>(bench.range(0));
    const double a = GradToRad(20);
    const double m = 2;
    const double d1 = z * m;
    const double d2 = 2 * z * m;
    // An unshifted member of `teeth` teeth on the reference diameter d, tip at d + 2 m.
    const auto member = [&](int teeth, double d) {
        MeshMember g;
        g.z = teeth;
        g.d = d;
        g.da = d + 2 * m;
        g.db = d * std::cos(a);
        return g;
    };
    ToothProfileInput in;
    in.member1 = member(z, d1);
    in.member2 = member(2 * z, d2);
    in.m = m;
    in.alpha = a;
    in.hf = 1;
    in.c = 0.25;
    in.rf = 0.38;
    in.AccEv = 100;
    in.AccPer = 50;
    Polyline outline;
    for (auto _ : bench) {
        const ToothProfileResult r = ToothProfile(in);
        outline = GearOutline(z, r->Prof1, false);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(outline.data());
    }
    bench.counters["points"] = static_cast<double>(outline.size());
}
BENCHMARK(BM_ToothProfileAndOutline)->Arg(20)->Arg(200)->Arg(2000)->Unit(benchmark::kMicrosecond);

// An outline of about a million points with coordinates of gear-like magnitude.
const Polyline& MillionPointOutline() {
    static const Polyline outline = [] {
        Polyline o;
        const int points = 1'000'000;
        o.reserve(points);
        for (int i = 0; i < points; ++i) {
            const double t = i * 1e-5;
            o.push_back({100 * std::cos(t) + 1e-3 * i, 100 * std::sin(t)});
        }
        return o;
    }();
    return outline;
}

std::string BenchPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

// The writer: formats every coordinate and writes through its fixed buffer into a temporary
// file that replaces the target when complete.
void BM_DxfWriter(benchmark::State& bench) {
    const Polyline& outline = MillionPointOutline();
    const std::string path = BenchPath("tarvo-bench-writer.dxf");
    for (auto _ : bench) {
        const WriteOutcome out = DxfWritePolylines(path, {&outline}, {0});
        if (!out.ok()) {
            bench.SkipWithError(out.fault().message().c_str());
        }
    }
    bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_DxfWriter)->Unit(benchmark::kMillisecond);

// The floor: the same bytes, prepared in memory beforehand, written with one fwrite and made
// durable the same way (flushed and synced), so the ratio shows what formatting costs.
void BM_FwriteSameBytes(benchmark::State& bench) {
    const Polyline& outline = MillionPointOutline();
    const std::string source = BenchPath("tarvo-bench-source.dxf");
    DxfWritePolylines(source, {&outline}, {0});
    std::vector<char> bytes(std::filesystem::file_size(source));
    std::FILE* in = std::fopen(source.c_str(), "rb");
    const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), in);
    std::fclose(in);
    const std::string path = BenchPath("tarvo-bench-fwrite.dxf");
    for (auto _ : bench) {
        std::FILE* out = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, read, out);
        std::fflush(out);
        fsync(fileno(out));
        std::fclose(out);
    }
    bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations()) *
                            static_cast<std::int64_t>(read));
}
BENCHMARK(BM_FwriteSameBytes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvo
