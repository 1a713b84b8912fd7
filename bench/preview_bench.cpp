// What the window's drawing preview costs on a large drawing against a small one: an external
// 3000/3000 pair against a 20/40 pair, module 1, the 20-degree rack, at the finest accuracy
// (100 involute, 50 fillet points), each shown on a report page of the same size on Qt's
// offscreen screen. Rounds alternate the two drawings; "large/small" is the median CPU time of
// the process for the large over that for the small, "wall" the same of the elapsed time, both
// measured in one run.
//   wheel notch: one notch of the mouse wheel about the pitch point and the repaint of the
//                preview into an image of its size, over eight notches in and eight back out;
//   show result: the report page taking a drawing read back by the worker and the first paint
//                of its preview.
// A separate program from tarvo_bench: it needs Qt, the core benchmarks do not.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QWheelEvent>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/basic_rack.h"
#include "drawing/builder_call.h"
#include "ui/drawing_report.h"

namespace tarvo::ui {
namespace {

// The report page as a designer's window shows it; the preview takes what the sheet leaves.
constexpr int kPageWidth = 1100;
constexpr int kPageHeight = 720;
constexpr int kNotches = 8;

// What the worker spends indexing the outlines for the preview against reading the drawing back
// with its sheet, in CPU seconds.
struct WorkerCost {
    double readBack = 0, index = 0;
};

struct Sample {
    int z1 = 0, z2 = 0;
    std::optional<ReadBack> readBack;  // none when the pair could not be drawn
    WorkerCost worker;
};

// What `work` costs: the process's CPU seconds (painting may use Qt's threads) and elapsed.
struct Cost {
    double cpu = 0, wall = 0;
};

double Now(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

template <typename Work>
Cost Measure(Work work) {
    const double cpu = Now(CLOCK_PROCESS_CPUTIME_ID), wall = Now(CLOCK_MONOTONIC);
    work();
    return {Now(CLOCK_PROCESS_CPUTIME_ID) - cpu, Now(CLOCK_MONOTONIC) - wall};
}

// Writes the external pair z1/z2 and reads it back with its sheet, as the worker thread does.
Sample MakeSample(int z1, int z2) {
    MainMod state;
    state.AccEv = 100;
    state.AccPer = 50;
    StoreRack(state, FindRackRow("20")->rack);
    state.OutFile = (std::filesystem::temp_directory_path() /
                     ("tarvo-bench-preview-" + std::to_string(getpid()) + ".dxf"))
                        .string();
    BuilderCall call;
    call.kind = BuilderCall::Kind::ExternalPair;
    call.Z1 = z1;
    call.Z2 = z2;
    call.m = 1;
    call.alpha = state.Alfa;
    Sample sample;
    sample.z1 = z1;
    sample.z2 = z2;
    if (!RunBuilder(state, call).ok()) {
        std::fprintf(stderr, "the %d/%d pair could not be drawn\n", z1, z2);
        std::exit(1);
    }
    {
        sample.worker.readBack =
            Measure([&] { sample.readBack = ReadBackDrawing(state, call, state.OutFile); }).cpu;
        if (sample.readBack->drawing.ok()) {
            sample.worker.index =
                Measure([&] {
                    benchmark::DoNotOptimize(IndexOutlines(sample.readBack->drawing.value()));
                }).cpu;
        }
    }
    std::filesystem::remove(state.OutFile);
    return sample;
}

const Sample& Small() {
    static const Sample sample = MakeSample(20, 40);
    return sample;
}
const Sample& Large() {
    static const Sample sample = MakeSample(3000, 3000);
    return sample;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The costs of the rounds of one drawing.
struct Rounds {
    std::vector<double> cpu, wall;
    void Add(Cost cost) {
        cpu.push_back(cost.cpu);
        wall.push_back(cost.wall);
    }
};

void Ratios(benchmark::State& bench, const Rounds& small, const Rounds& large) {
    bench.counters["large/small"] = Median(large.cpu) / Median(small.cpu);
    bench.counters["wall"] = Median(large.wall) / Median(small.wall);
}

// A report page showing one drawing, and an image of its preview's size to paint into.
class Page {
  public:
    explicit Page(const Sample& sample) : sample_(sample) {
        report_.resize(kPageWidth, kPageHeight);
        report_.show();
        QCoreApplication::processEvents();
        report_.Show(*sample.readBack);
        QCoreApplication::processEvents();
        image_ = QImage(report_.preview->size() * report_.preview->devicePixelRatioF(),
                        QImage::Format_ARGB32_Premultiplied);
        image_.setDevicePixelRatio(report_.preview->devicePixelRatioF());
    }

    bool Shown() const { return report_.preview->OutlineCount() == 2; }

    void Paint() { report_.preview->render(&image_); }

    // The point where the two pitch circles touch, in the view: on the line of the centres,
    // the centre marks being crossings of equal strokes.
    QPointF PitchPoint() const {
        const DxfDrawing& drawing = report_.preview->Drawing();
        std::vector<PointXY> centres;
        for (const DxfLine& line : drawing.lines) {
            const PointXY mid{(line.from.X + line.to.X) / 2, (line.from.Y + line.to.Y) / 2};
            const bool known = std::any_of(centres.begin(), centres.end(), [&](const PointXY& c) {
                return std::hypot(c.X - mid.X, c.Y - mid.Y) < 1e-6;
            });
            if (!known) {
                centres.push_back(mid);
            }
        }
        if (centres.size() < 2) {
            return QRectF(report_.preview->rect()).center();
        }
        const double share = double(sample_.z1) / (sample_.z1 + sample_.z2);
        return report_.preview->ToView({centres[0].X + (centres[1].X - centres[0].X) * share,
                                        centres[0].Y + (centres[1].Y - centres[0].Y) * share});
    }

    // One wheel notch at `at`, in (+1) or out (-1), and the repaint it asks for.
    void Notch(QPointF at, int direction) {
        DrawingPreview* preview = report_.preview;
        QWheelEvent wheel(at, preview->mapToGlobal(at), {}, {0, 120 * direction}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(preview, &wheel);
        Paint();
    }

    // Shows the drawing afresh, as the window does when the worker has read it back.
    void ShowAgain(ReadBack readBack) {
        report_.Show(std::move(readBack));
        Paint();
    }

    void Fit() { report_.preview->FitToView(); }

  private:
    const Sample& sample_;
    DrawingReport report_;
    QImage image_;
};

// The cost of a notch over eight notches in about the pitch point and eight back out.
Cost WheelRound(Page& page) {
    page.Fit();
    const QPointF at = page.PitchPoint();
    Cost cost = Measure([&] {
        for (int i = 0; i < kNotches; ++i) {
            page.Notch(at, +1);
        }
        for (int i = 0; i < kNotches; ++i) {
            page.Notch(at, -1);
        }
    });
    cost.cpu /= 2 * kNotches;
    cost.wall /= 2 * kNotches;
    return cost;
}

// Times `round(page, sample)` on the small drawing's page, then the large one's, once per
// iteration (the large drawing's CPU time is the iteration's), and gives their ratios.
template <typename Round>
void TimeBothPages(benchmark::State& bench, Round round) {
    Page small(Small()), large(Large());
    if (!small.Shown() || !large.Shown()) {
        bench.SkipWithError("a drawing was not written or not read back");
        return;
    }
    Rounds smallRounds, largeRounds;
    for (auto _ : bench) {
        smallRounds.Add(round(small, Small()));
        largeRounds.Add(round(large, Large()));
        bench.SetIterationTime(largeRounds.cpu.back());
    }
    Ratios(bench, smallRounds, largeRounds);
}

void BM_PreviewWheelNotch(benchmark::State& bench) {
    TimeBothPages(bench, [](Page& page, const Sample&) { return WheelRound(page); });
}
BENCHMARK(BM_PreviewWheelNotch)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PreviewShowResult(benchmark::State& bench) {
    TimeBothPages(bench, [](Page& page, const Sample& sample) {
        ReadBack copy = *sample.readBack;  // made by the worker: not the window's time
        return Measure([&] { page.ShowAgain(std::move(copy)); });
    });
    // The index comes with the read-back, made by the worker: its share there, large drawing.
    bench.counters["index/readback"] = Large().worker.index / Large().worker.readBack;
}
BENCHMARK(BM_PreviewShowResult)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvo::ui

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
