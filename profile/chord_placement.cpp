// Equal-deviation placement. A short chord of a curve of curvature k and length L strays from it
// by k L^2 / 8, so n chords of equal deviation d need (integral of sqrt(k) ds)^2 / (8 n^2) = d:
// the points are spaced evenly in that integral, counted from a fine table of the curve, then
// every chord is measured against the exact curve and the count raised until all hold.
#include "profile/chord_placement.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

// Steps of the table the bending integral is summed over; more when the count asks for it.
constexpr long kMinTableSteps = 4096;
constexpr long kTableStepsPerChord = 8;
constexpr long kMaxTableSteps = 1L << 22;
// Samples inside each chord when it is checked: the middle-bulging deviation is found within a
// fraction of a percent, and the target below leaves room for that.
constexpr int kChordSamples = 16;
// Chords are placed for this share of the tolerance, so the measured deviation holds it even
// where the samples fall beside the chord's largest distance.
constexpr double kTargetShare = 0.98;
// Rounds of "measure, raise the count": the first estimate is within a few percent for smooth
// curves, so a handful suffice.
constexpr int kMaxRounds = 30;
// Counts beyond this many times the ceiling are not checked chord by chord: the estimate alone
// names them.
constexpr long kCheckedBeyondCeiling = 50;

double Distance(const PointXY& a, const PointXY& b) {
    return std::hypot(b.X - a.X, b.Y - a.Y);
}

// Distance of p from the line through a and b.
double LineDistance(const PointXY& p, const PointXY& a, const PointXY& b) {
    const double length = Distance(a, b);
    if (!(length > 0)) {
        return Distance(p, a);
    }
    return std::fabs((b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X)) / length;
}

// The bending integral of sqrt(curvature) ds at each table step, from t0.
struct BendTable {
    std::vector<double> t;
    std::vector<double> integral;
};

BendTable MakeBendTable(const ExactCurve& curve, long steps) {
    BendTable table;
    std::vector<PointXY> p(static_cast<std::size_t>(steps + 1));
    table.t.resize(p.size());
    for (long k = 0; k <= steps; ++k) {
        const double t = k == steps ? curve.t1
                                    : curve.t0 + (curve.t1 - curve.t0) * static_cast<double>(k) /
                                                     static_cast<double>(steps);
        table.t[static_cast<std::size_t>(k)] = t;
        p[static_cast<std::size_t>(k)] = curve.at(t);
    }
    // Curvature at each inner point from the circle through it and its neighbours.
    std::vector<double> kappa(p.size(), 0.0);
    for (std::size_t i = 1; i + 1 < p.size(); ++i) {
        const double a = Distance(p[i - 1], p[i]);
        const double b = Distance(p[i], p[i + 1]);
        const double c = Distance(p[i - 1], p[i + 1]);
        const double cross = std::fabs((p[i].X - p[i - 1].X) * (p[i + 1].Y - p[i - 1].Y) -
                                       (p[i].Y - p[i - 1].Y) * (p[i + 1].X - p[i - 1].X));
        const double denominator = a * b * c;
        kappa[i] = denominator > 0 ? 2 * cross / denominator : 0;
    }
    if (p.size() > 2) {
        kappa.front() = kappa[1];
        kappa.back() = kappa[p.size() - 2];
    }
    table.integral.assign(p.size(), 0.0);
    for (std::size_t i = 1; i < p.size(); ++i) {
        const double ds = Distance(p[i - 1], p[i]);
        table.integral[i] =
            table.integral[i - 1] + ds * std::sqrt(std::max(0.0, (kappa[i - 1] + kappa[i]) / 2));
    }
    return table;
}

// Parameters of n + 1 points evenly spaced in the bending integral, the ends exact.
std::vector<double> EvenInBending(const ExactCurve& curve, const BendTable& table, long n) {
    std::vector<double> params(static_cast<std::size_t>(n + 1));
    const double total = table.integral.back();
    std::size_t j = 1;
    for (long i = 0; i <= n; ++i) {
        if (i == 0) {
            params.front() = curve.t0;
            continue;
        }
        if (i == n) {
            params.back() = curve.t1;
            continue;
        }
        const double target = total * static_cast<double>(i) / static_cast<double>(n);
        while (j + 1 < table.integral.size() && table.integral[j] < target) {
            ++j;
        }
        const double below = table.integral[j - 1];
        const double above = table.integral[j];
        const double u = above > below ? (target - below) / (above - below) : 0;
        params[static_cast<std::size_t>(i)] = table.t[j - 1] + u * (table.t[j] - table.t[j - 1]);
    }
    return params;
}

}  // namespace

double ChordError(const ExactCurve& curve, double a, double b) {
    const PointXY pa = curve.at(a);
    const PointXY pb = curve.at(b);
    double largest = 0;
    for (int s = 1; s <= kChordSamples; ++s) {
        const double t = a + (b - a) * s / (kChordSamples + 1);
        largest = std::max(largest, LineDistance(curve.at(t), pa, pb));
    }
    return largest;
}

ChordPlacement PlaceByChordDeviation(const ExactCurve& curve, double tolerance, int minPoints,
                                     int maxPoints) {
    const double target = kTargetShare * tolerance;
    BendTable table = MakeBendTable(curve, kMinTableSteps);
    const double total = table.integral.back();
    // Chords of equal deviation d: n = total / sqrt(8 d).
    const double estimate = std::ceil(total / std::sqrt(8 * target));
    long n =
        std::max<long>(minPoints - 1, std::isfinite(estimate) ? static_cast<long>(estimate) : 1);
    n = std::max<long>(n, 1);
    if (!std::isfinite(estimate) || n + 1 > kCheckedBeyondCeiling * maxPoints) {
        return ChordPlacement::Failure(std::isfinite(estimate) ? n + 1 : -1);
    }
    for (int round = 0; round < kMaxRounds; ++round) {
        const long wanted = std::clamp(kTableStepsPerChord * n, kMinTableSteps, kMaxTableSteps);
        if (static_cast<long>(table.t.size()) - 1 < wanted) {
            table = MakeBendTable(curve, wanted);
        }
        std::vector<double> params = EvenInBending(curve, table, n);
        double worst = 0;
        for (std::size_t i = 0; i + 1 < params.size(); ++i) {
            worst = std::max(worst, ChordError(curve, params[i], params[i + 1]));
        }
        if (worst <= target) {
            if (n + 1 > maxPoints) {
                return ChordPlacement::Failure(n + 1);
            }
            return params;
        }
        // The deviation falls with the square of the count.
        const double factor = std::sqrt(worst / target);
        const long raised = static_cast<long>(std::ceil(static_cast<double>(n) * factor));
        n = std::max(n + 1, raised);
        if (n + 1 > kCheckedBeyondCeiling * maxPoints) {
            return ChordPlacement::Failure(n + 1);
        }
    }
    return ChordPlacement::Failure(n + 1);
}

}  // namespace tarvo
