// Chord deviation of a drawn flank member: the exact curve followed in fine steps, each step
// measured from the chord nearest to it, the largest distance on each side refined.
#include "profile/chord_deviation.h"

#include <algorithm>
#include <cmath>

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

}  // namespace

ChordDeviation MeasureChordDeviation(const std::vector<PointXY>& line, const ExactCurve& exact) {
    ChordDeviation result;
    if (line.size() < 2 || !exact.defined()) {
        return result;
    }
    const std::size_t chords = line.size() - 1;
    const long steps = std::max<long>(kMinSteps, kStepsPerChord * static_cast<long>(chords));
    const double dt = (exact.t1 - exact.t0) / static_cast<double>(steps);
    Extreme tooth;
    Extreme space;
    std::size_t j = 0;
    for (long k = 0; k <= steps; ++k) {
        const double t = k == steps ? exact.t1 : exact.t0 + static_cast<double>(k) * dt;
        const PointXY p = exact.at(t);
        // The nearest chord moves on along the member as the exact curve does.
        ChordOffset here = OffsetFromChord(p, line[j], line[j + 1]);
        while (j + 1 < chords) {
            const ChordOffset next = OffsetFromChord(p, line[j + 1], line[j + 2]);
            if (Farther(next, here)) {
                break;
            }
            ++j;
            here = next;
        }
        // A step clearly short of the largest distance already seen on its side changes
        // nothing: its distance is taken only when it may.
        const double here2 = here.Length2();
        if (SquareInRange(here2)) {
            const Extreme& side = here.left ? tooth : space;
            if (side.seen && SquareInRange(side.value2) &&
                here2 * (1 + kSquaresApart) < side.value2) {
                continue;
            }
        }
        const double d = here.Signed();
        Extreme& side = d >= 0 ? tooth : space;
        if (!side.seen || std::fabs(d) > side.value) {
            side.value = std::fabs(d);
            side.value2 = side.value * side.value;
            side.t = t;
            side.step = dt;
            side.chord = j;
            side.seen = true;
        }
    }
    if (tooth.seen) {
        result.intoTooth = Refine(exact, line, tooth, 1);
    }
    if (space.seen) {
        result.intoSpace = Refine(exact, line, space, -1);
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
