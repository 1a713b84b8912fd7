// Chord deviation of a drawn flank member: the exact curve followed in fine steps, each step
// measured from the chord nearest to it, the largest distance on each side refined. Only every
// few steps are measured all along; the others only where they may hold the largest distance.
#include "profile/chord_deviation.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tarvo {

namespace {

// Steps along the exact curve: at least this many over the member, and at least
// kStepsPerChord per chord on average, so the largest distance is found to well under a
// percent before it is refined.
constexpr int kMinSteps = 4096;
constexpr int kStepsPerChord = 64;
// Golden-section steps that refine the largest distance between its neighbouring steps: the
// bracket shrinks to 0.618^40 (about 4e-9) of two steps.
constexpr int kRefineSteps = 40;
// Steps sampled per chord before the rest are measured where the largest distance may lie.
constexpr int kSamplesPerChord = 8;
// How much of the second difference about two samples the steps between them are allowed to
// rise above the larger: on a smooth curve an eighth, so eight times that.
constexpr double kBendShare = 1;
// Distances below this share of the largest coordinate are the rounding of the coordinates,
// not a deviation worth looking for between samples: below the nanometre the sheet prints on any
// flank smaller than 100 m, and far above the last place of a coordinate.
constexpr double kRoundingShare = 1e-14;

// Where p lies from its nearest point on the chord a-b: the offset, and whether p lies to the
// chord's left.
struct ChordOffset {
    double x = 0;
    double y = 0;
    bool left = false;

    // The distance, positive to the chord's left.
    double Signed() const {
        const double distance = std::hypot(x, y);
        return left ? distance : -distance;
    }
    double Length2() const { return x * x + y * y; }
};

ChordOffset OffsetFromChord(const PointXY& p, const PointXY& a, const PointXY& b) {
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double px = p.X - a.X;
    const double py = p.Y - a.Y;
    const double length2 = dx * dx + dy * dy;
    double u = length2 > 0 ? (px * dx + py * dy) / length2 : 0;
    u = std::clamp(u, 0.0, 1.0);
    return {px - u * dx, py - u * dy, dx * py - dy * px >= 0};
}

// Distance of p from the chord a-b, positive where p lies to the chord's left.
double SignedDistance(const PointXY& p, const PointXY& a, const PointXY& b) {
    return OffsetFromChord(p, a, b).Signed();
}

// Squared lengths this far apart order their hypot the same way, whatever either rounds to
// (hypot is good to an ulp, a sum of squares to a few), while both stay well inside the range
// where squaring loses nothing. Elsewhere the distances themselves are compared.
constexpr double kSquaresApart = 1e-12;
constexpr double kSquaresLow = 1e-280;
constexpr double kSquaresHigh = 1e280;

bool SquareInRange(double s) {
    return s >= kSquaresLow && s <= kSquaresHigh;
}

// Whether a lies farther from its chord than b from its own: exactly as comparing their
// distances, with the square roots taken only where the squares are too close to tell.
bool Farther(const ChordOffset& a, const ChordOffset& b) {
    const double a2 = a.Length2();
    const double b2 = b.Length2();
    if (SquareInRange(a2) && SquareInRange(b2)) {
        if (a2 > b2 * (1 + kSquaresApart)) {
            return true;
        }
        if (a2 * (1 + kSquaresApart) < b2) {
            return false;
        }
    }
    return std::fabs(a.Signed()) > std::fabs(b.Signed());
}

struct Extreme {
    double value = 0;   // largest distance on this side
    double value2 = 0;  // its square
    double t = 0;       // parameter where it was seen
    double step = 0;    // parameter step around it
    std::size_t chord = 0;
    bool seen = false;
};

// The largest of side * distance from chord `chord` near parameter e.t, by golden section.
double Refine(const ExactCurve& exact, const std::vector<PointXY>& line, const Extreme& e,
              double side) {
    // Measured from the nearest of the chord and its neighbours: past a chord's end the exact
    // curve belongs to the next chord, and its distance from the first one's end point is not
    // a deviation.
    const std::size_t first = e.chord > 0 ? e.chord - 1 : 0;
    const std::size_t last = std::min(e.chord + 1, line.size() - 2);
    auto f = [&](double t) {
        const PointXY p = exact.at(t);
        double nearest = SignedDistance(p, line[first], line[first + 1]);
        for (std::size_t k = first + 1; k <= last; ++k) {
            const double d = SignedDistance(p, line[k], line[k + 1]);
            if (std::fabs(d) < std::fabs(nearest)) {
                nearest = d;
            }
        }
        return side * nearest;
    };
    const double lo0 = std::min(exact.t0, exact.t1);
    const double hi0 = std::max(exact.t0, exact.t1);
    double lo = std::max(lo0, e.t - std::fabs(e.step));
    double hi = std::min(hi0, e.t + std::fabs(e.step));
    const double g = (std::sqrt(5.0) - 1) / 2;
    double x1 = hi - g * (hi - lo);
    double x2 = lo + g * (hi - lo);
    double f1 = f(x1);
    double f2 = f(x2);
    for (int i = 0; i < kRefineSteps; ++i) {
        if (f1 < f2) {
            lo = x1;
            x1 = x2;
            f1 = f2;
            x2 = lo + g * (hi - lo);
            f2 = f(x2);
        } else {
            hi = x2;
            x2 = x1;
            f2 = f1;
            x1 = hi - g * (hi - lo);
            f1 = f(x1);
        }
    }
    return std::max({e.value, f1, f2});
}

// The exact curve in `steps` even steps of its parameter, each step measured from its nearest
// chord.
class StepScan {
  public:
    StepScan(const std::vector<PointXY>& line, const ExactCurve& exact, long steps)
        : line_(line),
          exact_(exact),
          chords_(line.size() - 1),
          steps_(steps),
          dt_((exact.t1 - exact.t0) / static_cast<double>(steps)) {}

    double Step() const { return dt_; }
    double At(long k) const {
        return k == steps_ ? exact_.t1 : exact_.t0 + static_cast<double>(k) * dt_;
    }

    // Step k's offset from its nearest chord, looked for from chord `j` on: the nearest chord
    // moves on along the member as the exact curve does.
    ChordOffset Measure(long k, std::size_t& j) const {
        const PointXY p = exact_.at(At(k));
        ChordOffset here = OffsetFromChord(p, line_[j], line_[j + 1]);
        while (j + 1 < chords_) {
            const ChordOffset next = OffsetFromChord(p, line_[j + 1], line_[j + 2]);
            if (Farther(next, here)) {
                break;
            }
            ++j;
            here = next;
        }
        return here;
    }

  private:
    const std::vector<PointXY>& line_;
    const ExactCurve& exact_;
    std::size_t chords_;
    long steps_;
    double dt_;
};

// The largest distance on each side of the chords, the steps taken in order: the first step
// of the largest distance is the one refined.
struct Extremes {
    Extreme tooth;
    Extreme space;

    void Take(double t, double dt, const ChordOffset& here, std::size_t chord) {
        // A step clearly short of the largest distance already seen on its side changes
        // nothing: its distance is taken only when it may.
        const double here2 = here.Length2();
        if (SquareInRange(here2)) {
            const Extreme& side = here.left ? tooth : space;
            if (side.seen && SquareInRange(side.value2) &&
                here2 * (1 + kSquaresApart) < side.value2) {
                return;
            }
        }
        const double d = here.Signed();
        Extreme& side = d >= 0 ? tooth : space;
        if (!side.seen || std::fabs(d) > side.value) {
            side.value = std::fabs(d);
            side.value2 = side.value * side.value;
            side.t = t;
            side.step = dt;
            side.chord = chord;
            side.seen = true;
        }
    }
};

// A step measured on the first pass: its nearest chord and its offset and distance from it, the
// distance positive into the tooth.
struct Sample {
    long k = 0;
    std::size_t chord = 0;
    ChordOffset offset;
    double signedDistance = 0;
};

// A sample's distance counted towards one side: positive on it, negative on the other.
double Towards(const Sample& s, bool intoTooth) {
    return intoTooth ? s.signedDistance : -s.signedDistance;
}

// The second difference of the signed distance about sample i, where it and both its
// neighbours lie on one chord: else none, for across a chord's end the distance turns sharply.
std::optional<double> Bend(const std::vector<Sample>& samples, std::size_t i) {
    if (i == 0 || i + 1 >= samples.size() || samples[i - 1].chord != samples[i].chord ||
        samples[i + 1].chord != samples[i].chord) {
        return std::nullopt;
    }
    return std::fabs(samples[i - 1].signedDistance - 2 * samples[i].signedDistance +
                     samples[i + 1].signedDistance);
}

// How far towards one side the steps between samples i and i + 1 of one chord may lie: no
// farther than the larger sample and the rise the curve's bend allows. Unbounded where the bend
// is not known, and where a chord ends between them: there the curve passes the drawn point,
// where a side that only rounding reaches has its largest distance.
double SideBound(const std::vector<Sample>& samples, std::size_t i, bool intoTooth) {
    const Sample& a = samples[i];
    const Sample& b = samples[i + 1];
    if (a.chord != b.chord) {
        return HUGE_VAL;
    }
    const double higher = std::max(Towards(a, intoTooth), Towards(b, intoTooth));
    std::optional<double> bend;
    for (const std::size_t at : {i, i + 1}) {
        if (const std::optional<double> here = Bend(samples, at)) {
            bend = std::max(bend.value_or(0), *here);
        }
    }
    if (!bend && i > 0) {
        bend = Bend(samples, i - 1);
    }
    if (!bend) {
        bend = Bend(samples, i + 2);
    }
    return bend ? higher + kBendShare * *bend : HUGE_VAL;
}

}  // namespace

ChordDeviation MeasureChordDeviation(const std::vector<PointXY>& line, const ExactCurve& exact,
                                     ChordScan sampling) {
    ChordDeviation result;
    if (line.size() < 2 || !exact.defined()) {
        return result;
    }
    const std::size_t chords = line.size() - 1;
    const long steps = std::max<long>(kMinSteps, kStepsPerChord * static_cast<long>(chords));
    const StepScan scan(line, exact, steps);
    // First every few steps only (about kSamplesPerChord a chord): a chord's distance from the
    // curve rises and falls smoothly between its ends, so between two samples it exceeds the
    // larger of them by no more than an eighth of their second difference. The steps between are
    // then measured where that could reach the largest sample on a side, where too few samples
    // on one chord tell the bend, and where a chord ends, since a side that only rounding reaches
    // has its largest distances there. The steps are taken in order, so the step refined is the
    // one every step finds.
    const long spacing =
        sampling == ChordScan::EveryStep
            ? 1
            : std::max<long>(1, steps / (kSamplesPerChord * static_cast<long>(chords)));
    std::vector<Sample> samples;
    samples.reserve(static_cast<std::size_t>(steps / spacing + 2));
    std::size_t j = 0;
    double bestTooth = 0;  // the largest sample on each side
    double bestSpace = 0;
    for (long k = 0;; k = std::min(k + spacing, steps)) {
        Sample s;
        s.k = k;
        s.offset = scan.Measure(k, j);
        s.chord = j;
        s.signedDistance = s.offset.Signed();
        bestTooth = std::max(bestTooth, s.signedDistance);
        bestSpace = std::max(bestSpace, -s.signedDistance);
        samples.push_back(s);
        if (k == steps) {
            break;
        }
    }
    // Distances below this are the rounding of the coordinates, not a deviation to look for.
    double size = 0;
    for (const PointXY& p : line) {
        size = std::max({size, std::fabs(p.X), std::fabs(p.Y)});
    }
    const double rounding = kRoundingShare * size;
    auto mayExceed = [&](std::size_t i, bool intoTooth) {
        const double best = std::max(intoTooth ? bestTooth : bestSpace, rounding);
        return !(SideBound(samples, i, intoTooth) < best);
    };
    const std::size_t n = samples.size();
    Extremes found;
    for (std::size_t i = 0; i < n; ++i) {
        const Sample& s = samples[i];
        found.Take(scan.At(s.k), scan.Step(), s.offset, s.chord);
        if (i + 1 == n) {
            break;
        }
        if (!mayExceed(i, true) && !mayExceed(i, false)) {
            continue;
        }
        std::size_t between = s.chord;
        for (long k = s.k + 1; k < samples[i + 1].k; ++k) {
            const ChordOffset here = scan.Measure(k, between);
            found.Take(scan.At(k), scan.Step(), here, between);
        }
    }
    if (found.tooth.seen) {
        result.intoTooth = Refine(exact, line, found.tooth, 1);
    }
    if (found.space.seen) {
        result.intoSpace = Refine(exact, line, found.space, -1);
    }
    return result;
}

std::vector<PointXY> FlankPart(const std::vector<PointXY>& flank, std::size_t first,
                               std::size_t last) {
    if (flank.empty() || first > last || last >= flank.size()) {
        return {};
    }
    return {flank.begin() + static_cast<std::ptrdiff_t>(first),
            flank.begin() + static_cast<std::ptrdiff_t>(last) + 1};
}

FlankDeviation MeasureFlankDeviation(const std::vector<PointXY>& flank,
                                     const FlankMembers& members) {
    FlankDeviation r;
    const std::vector<PointXY> involute =
        FlankPart(flank, members.involuteFirst, members.involuteLast);
    const std::vector<PointXY> fillet = FlankPart(flank, members.filletFirst, members.filletLast);
    r.involute = MeasureChordDeviation(involute, members.involute);
    r.fillet = MeasureChordDeviation(fillet, members.fillet);
    r.involutePoints = static_cast<int>(involute.size());
    r.filletPoints = static_cast<int>(fillet.size());
    return r;
}

}  // namespace tarvo
