// Exact curves of a generated flank and the flank placed for a chord tolerance.
#include "profile/flank_members.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "math/constants.h"
#include "math/involute.h"
#include "profile/chord_placement.h"
#include "profile/main_mod.h"
#include "profile/space_centre_line.h"

namespace tarvo {

namespace {

// Steps over which the cutter's fillet is searched for the end of the drawn outline; the end is
// then found by bisection to the last bit.
constexpr int kClipSteps = 4096;
constexpr int kClipBisections = 80;

std::vector<PointXY> PointsAt(const ExactCurve& curve, const std::vector<double>& params) {
    std::vector<PointXY> points;
    points.reserve(params.size());
    for (const double t : params) {
        points.push_back(curve.at(t));
    }
    return points;
}

}  // namespace

ExactCurve ExternalInvoluteCurve(double r0, double da, double db, double psi) {
    ExactCurve c;
    c.at = [db, psi](double r) {
        const double ak = ArcCos(db / (2 * r));
        const double t = psi - Inv(ak);
        return PointXY{r * std::cos(t), r * std::sin(t)};
    };
    c.t0 = r0;
    c.t1 = da / 2;
    return c;
}

ExactCurve InternalInvoluteCurve(double da2, double r2, double db2, double psi2) {
    ExactCurve c;
    c.at = [db2, psi2](double D) {
        const double ak = ArcCos(db2 / D);
        const double t = Inv(ak) + psi2;
        return PointXY{(D / 2) * std::cos(t), (D / 2) * std::sin(t)};
    };
    c.t0 = da2;
    c.t1 = 2 * r2;
    return c;
}

ExactCurve RackFilletExact(const RackFilletCurve& rack) {
    ExactCurve c;
    c.at = RackFilletPoints(rack);
    c.t0 = rack.phiRoot;
    c.t1 = rack.alphaM;
    return c;
}

ExactCurve CutterFilletExact(const CutterFilletCurve& cutter, int z2) {
    ExactCurve c;
    c.at = CutterFilletPoints(cutter);
    c.t0 = cutter.alphaW0;
    c.t1 = cutter.phiRoot;
    const double h = kPi / z2 - kSpaceCentreLineGap;
    const double cosH = std::cos(h);
    const double sinH = std::sin(h);
    auto side = [&](double t) {
        const PointXY p = c.at(t);
        return cosH * p.Y - sinH * p.X;
    };
    auto radius = [&](double t) {
        const PointXY p = c.at(t);
        return std::hypot(p.X, p.Y);
    };
    double before = c.t0;
    double rBefore = radius(before);
    for (int k = 1; k <= kClipSteps; ++k) {
        const double t = c.t0 + (c.t1 - c.t0) * k / kClipSteps;
        if (side(t) > 0) {
            // Past the space's centre line: end on it.
            double lo = before;
            double hi = t;
            for (int i = 0; i < kClipBisections; ++i) {
                const double mid = (lo + hi) / 2;
                (side(mid) > 0 ? hi : lo) = mid;
            }
            c.t1 = lo;
            return c;
        }
        const double r = radius(t);
        if (r < rBefore) {
            // Past the bottom of the space the fillet curls back towards the centre.
            c.t1 = before;
            return c;
        }
        before = t;
        rBefore = r;
    }
    return c;
}

FlankMembers ExternalFlankMembers(ExactCurve fillet, ExactCurve involute, int filletPoints,
                                  std::size_t flankSize) {
    FlankMembers m;
    m.involute = std::move(involute);
    m.fillet = std::move(fillet);
    m.filletFirst = 0;
    m.filletLast = static_cast<std::size_t>(filletPoints - 1);
    m.involuteFirst = m.filletLast;
    m.involuteLast = flankSize - 1;
    return m;
}

FlankMembers InternalFlankMembers(ExactCurve involute, ExactCurve fillet, int involuteSteps,
                                  std::size_t flankSize) {
    FlankMembers m;
    m.involute = std::move(involute);
    m.fillet = std::move(fillet);
    m.involuteFirst = 0;
    m.involuteLast = static_cast<std::size_t>(involuteSteps);
    m.filletFirst = m.involuteLast;
    m.filletLast = flankSize - 1;
    return m;
}

int MemberPointsAllowed(int z) {
    // Two flanks of two members per tooth.
    const long perMember = kMaxToleranceOutlinePoints / (4L * std::max(z, 1));
    return static_cast<int>(std::clamp<long>(perMember, kMinAccEv + 1, kMaxTolerancePoints));
}

PlacedFlankResult PlaceExternalFlank(const ExactCurve& fillet, const ExactCurve& involute,
                                     double tolerance, int z) {
    const int allowed = MemberPointsAllowed(z);
    const ChordPlacement f = PlaceByChordDeviation(fillet, tolerance, kMinAccPer, allowed);
    if (!f.ok()) {
        return PlacedFlankResult::Failure({f.fault(), true, allowed});
    }
    const ChordPlacement v = PlaceByChordDeviation(involute, tolerance, kMinAccEv + 1, allowed);
    if (!v.ok()) {
        return PlacedFlankResult::Failure({v.fault(), false, allowed});
    }
    PlacedFlank placed;
    placed.flank = PointsAt(fillet, f.value());
    // The involute's first point takes the junction's place, at the same radius.
    placed.flank.pop_back();
    for (const PointXY& p : PointsAt(involute, v.value())) {
        placed.flank.push_back(p);
    }
    placed.members =
        ExternalFlankMembers(fillet, involute, static_cast<int>(f->size()), placed.flank.size());
    return placed;
}

PlacedFlankResult PlaceInternalFlank(const ExactCurve& involute, const ExactCurve& fillet,
                                     double tolerance, int z) {
    const int allowed = MemberPointsAllowed(z);
    const ChordPlacement v = PlaceByChordDeviation(involute, tolerance, kMinAccEv + 1, allowed);
    if (!v.ok()) {
        return PlacedFlankResult::Failure({v.fault(), false, allowed});
    }
    const ChordPlacement f = PlaceByChordDeviation(fillet, tolerance, kMinAccPer, allowed);
    if (!f.ok()) {
        return PlacedFlankResult::Failure({f.fault(), true, allowed});
    }
    PlacedFlank placed;
    placed.flank = PointsAt(involute, v.value());
    // The fillet's first point, on the involute at the junction, ends the involute.
    placed.flank.pop_back();
    for (const PointXY& p : PointsAt(fillet, f.value())) {
        placed.flank.push_back(p);
    }
    const int steps = static_cast<int>(v->size()) - 1;
    placed.members = InternalFlankMembers(involute, fillet, steps, placed.flank.size());
    return placed;
}

}  // namespace tarvo
