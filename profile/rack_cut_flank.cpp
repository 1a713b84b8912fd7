// Rack-cut flank of an external tooth. The cutting rack rolls on the reference circle; each of
// its tip points cuts where its profile normal passes through the pitch point, so the fillet is
// the path of the tip corner's centre offset by the corner (an ellipse in the transverse section
// of a helical wheel), and the flat tip between the corners cuts the root circle.
#include "profile/rack_cut_flank.h"

#include <cmath>
#include <optional>
#include <utility>

#include "math/constants.h"
#include "math/involute.h"
#include "profile/all_finite.h"
#include "profile/space_centre_line.h"

namespace tarvo {

namespace {

// Samples of the corner in the table of rolling travel. Between two samples a point is found by
// bisection, so the count only decides how evenly points fall where the travel turns back.
constexpr int kTravelSamples = 512;
// Samples of the corner searched for a crossing with the involute: an undercut loop spans a good
// part of the corner, far wider than 1/2000 of it.
constexpr int kUndercutSamples = 2000;
// Bisection halvings: enough to bring any angle interval below a double's resolution.
constexpr int kBisections = 80;
// An angle of the fillet this far (radians) inside the involute counts as a crossing: above the
// rounding of angles near pi, below any real undercut.
constexpr double kInsideTolerance = 1e-12;

// The cutting rack in the transverse section, in the frame of the tooth space it stands in: u
// along the rack (anticlockwise round the gear), 0 on the space's centre line; h the distance
// from the gear centre. Its left tip corner (u < 0) cuts the flank on the +Y side of the tooth.
struct CuttingRack {
    double r = 0;         // reference radius, on which the rack's rolling line rolls
    double rb = 0;        // base radius
    double psi = 0;       // polar angle at which the involute leaves the base circle
    double gamma0 = 0;    // polar angle of the space's centre line, pi / z
    double cosB = 1;      // height over length of the corner ellipse
    double alphaN = 0;    // profile angle, normal section
    double rho = 0;       // corner radius used, normal section
    double a = 0;         // ellipse semi-axis along the rack, rho / cos(beta)
    double b = 0;         // ellipse semi-axis in height, rho
    double hTip = 0;      // tip line
    double hc = 0;        // height of the corner's centre
    double uc = 0;        // abscissa of the left corner's centre; -uc is half the flat tip
    double flankEnd = 0;  // height where the straight flank ends on the corner
};

// A point the rack cuts: polar radius and angle in the gear, and the pitch point's abscissa in
// the rack frame at that moment.
struct CutPoint {
    double R = 0;
    double theta = 0;
    double up = 0;
};

// Counts below the accuracy page's range and values the pair's own checks let through never
// come from the pages; they are refused as data the rack cannot take.
std::optional<GeometryFault> CheckData(const RackCutData& d) {
    if (d.accPer < 2 || d.accEv < 1) {
        return GeometryFault::DataOutOfRange;
    }
    if (d.z < 1) {
        return GeometryFault::ToothCountNotPositive;
    }
    if (!(d.normalModule > 0) || !std::isfinite(d.normalModule)) {
        return GeometryFault::ModuleNotPositive;
    }
    for (const double v :
         {d.helixAngle, d.profileAngle, d.hf, d.c, d.rf, d.x, d.thinning, d.tipDiameter}) {
        if (!std::isfinite(v)) {
            return GeometryFault::DataOutOfRange;
        }
    }
    if (!(std::fabs(d.helixAngle) < kPi / 2) || !(d.profileAngle > 0) ||
        !(d.profileAngle < kPi / 2) || d.rf < 0) {
        return GeometryFault::DataOutOfRange;
    }
    return std::nullopt;
}

// The rack for the data. The corners are rounded with rf* m_n unless that would make them
// overlap; then with the largest radius that fits, the two corners meeting on the centre line.
// A negative rho means the rack tooth comes to a point before its tip line.
CuttingRack MakeRack(const RackCutData& d) {
    CuttingRack k;
    const double mn = d.normalModule;
    k.cosB = std::cos(d.helixAngle);
    k.alphaN = d.profileAngle;
    const double mt = mn / k.cosB;
    const double tanAt = std::tan(d.profileAngle) / k.cosB;
    const double alphaT = std::atan(tanAt);
    k.r = (d.z * mt) / 2;
    k.rb = k.r * std::cos(alphaT);
    // Reference-circle tooth thickness less the backlash thinning: ReferenceThickness of
    // profile/pair_geometry.h in the normal-section terms the rack is set in. Its products are
    // kept in this order because the rack-cut drawings were always made with it: the other
    // order moves the fifteenth digit of their points.
    const double s = (kPi / 2) * mt + (2 * d.x) * mn * tanAt - d.thinning;
    k.psi = s / (2 * k.r) + Inv(alphaT);
    k.gamma0 = kPi / d.z;
    // The rack tooth fills the space: on the rolling line it is as wide as the space is there.
    const double halfRoll = (kPi * mt - s) / 2;
    k.hTip = k.r + (d.x - (d.hf + d.c)) * mn;
    const double halfTip = halfRoll + (k.hTip - k.r) * tanAt;
    // Horizontal room a corner of normal radius rho takes from the tip's half width.
    const double roomPerRho = 1 / (std::cos(k.alphaN) * k.cosB) - tanAt;
    k.rho = std::fmin(d.rf * mn, halfTip / roomPerRho);
    k.a = k.rho / k.cosB;
    k.b = k.rho;
    k.hc = k.hTip + k.rho;
    k.uc = std::fmin(0.0, -(halfTip - k.rho * roomPerRho));
    k.flankEnd = k.hc - k.b * std::sin(k.alphaN);
    return k;
}

// The point cut by the corner where its ellipse parameter is t (alphaN at the straight flank,
// pi/2 at the bottom): the ellipse normal there, (cos t / a, sin t / b), meets the rolling line
// at the pitch point.
CutPoint CornerPoint(const CuttingRack& k, double t) {
    const double pu = k.uc - k.a * std::cos(t);
    const double ph = k.hc - k.b * std::sin(t);
    CutPoint p;
    p.up = pu + (k.r - ph) * k.cosB * (std::cos(t) / std::sin(t));
    const double w = pu - p.up;
    p.R = std::hypot(ph, w);
    p.theta = k.gamma0 + p.up / k.r + std::atan2(w, ph);
    return p;
}

// The point cut by the flat tip at abscissa u: the pitch point stands right above it.
CutPoint FlatPoint(const CuttingRack& k, double u) {
    return {k.hTip, k.gamma0 + u / k.r, u};
}

// How far the cut point lies outside the tooth, as an angle: its polar angle less the involute's
// at the same radius. Below the base circle there is no involute to cut into.
double OutsideInvolute(const CuttingRack& k, const CutPoint& p) {
    if (p.R < k.rb) {
        return 1;
    }
    return p.theta - (k.psi - Inv(ArcCos(k.rb / p.R)));
}

bool CutsIntoTooth(const CuttingRack& k, double t) {
    return OutsideInvolute(k, CornerPoint(k, t)) < -kInsideTolerance;
}

// Where the fillet hands over to the involute. Without undercut the involute starts where the
// straight flank ends (t = alphaN) and the corner's path touches it there. With undercut the
// corner's path, followed up from the root, runs inside the involute and leaves it through the
// involute: that crossing, the highest point of the involute cut away, ends the fillet. Past it,
// towards the flank's end, the path runs out into the space.
struct FilletEnd {
    double t = 0;
    bool undercut = false;
    bool found = true;
};

// Follows the corner's path from the flank's end (parameter `from`) towards the root in `samples`
// steps up to parameter `to`, and returns the first crossing into the tooth, refined by
// bisection; not undercut when none is seen.
FilletEnd ScanForCrossing(const CuttingRack& k, double from, double to, int samples) {
    const double step = (to - from) / samples;
    double outside = from;
    for (int j = 1; j <= samples; ++j) {
        const double t = from + j * step;
        if (CutsIntoTooth(k, t)) {
            double inside = t;
            for (int i = 0; i < kBisections; ++i) {
                const double mid = (inside + outside) / 2;
                (CutsIntoTooth(k, mid) ? inside : outside) = mid;
            }
            const CutPoint p = CornerPoint(k, outside);
            // The crossing must lie on the involute, not on the base circle below its start.
            const bool onInvolute = p.R >= k.rb && std::fabs(OutsideInvolute(k, p)) < 1e-9;
            return {outside, true, onInvolute};
        }
        outside = t;
    }
    return {from, false, true};
}

FilletEnd FindFilletEnd(const CuttingRack& k) {
    const FilletEnd end = ScanForCrossing(k, k.alphaN, kPi / 2, kUndercutSamples);
    if (end.undercut) {
        return end;
    }
    // The straight flank generates the ordinary involute only down to where the line of action
    // touches the base circle, r cos^2(alpha_t) from the centre; a flank ending lower undercuts.
    // Barely so, the loop can slip between the samples above: look again, finer, near the end.
    // Were it too thin even then, the involute starts within a hair of the base circle.
    const double interference = (k.rb * k.rb) / k.r;
    if (k.flankEnd < interference) {
        const double near = k.alphaN + 2 * (kPi / 2 - k.alphaN) / kUndercutSamples;
        return ScanForCrossing(k, k.alphaN, near, kUndercutSamples);
    }
    return end;
}

// The corner's parameter at which the pitch point has travelled `target` from where it stood at
// parameter hi, between lo and hi (the travel is monotonic there, or nearly so).
double CornerAtTravel(const CuttingRack& k, double lo, double hi, double target) {
    const double start = CornerPoint(k, hi).up;
    const double sign = CornerPoint(k, lo).up >= start ? 1.0 : -1.0;
    for (int i = 0; i < kBisections; ++i) {
        const double mid = (lo + hi) / 2;
        if (sign * (CornerPoint(k, mid).up - start) < target) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
    return (lo + hi) / 2;
}

// The fillet from the space's centre line to the corner parameter tEnd, accPer points evenly
// spaced in rolling travel: first along the flat tip, then round the corner.
std::vector<CutPoint> FilletPoints(const CuttingRack& k, double tEnd, int accPer) {
    const double tTop = kPi / 2;
    const double flat = -k.uc;
    double travel[kTravelSamples + 1];
    double tAt[kTravelSamples + 1];
    travel[0] = flat;
    tAt[0] = tTop;
    double previousUp = k.uc;
    for (int j = 1; j <= kTravelSamples; ++j) {
        tAt[j] = tTop - j * ((tTop - tEnd) / kTravelSamples);
        const double up = CornerPoint(k, tAt[j]).up;
        travel[j] = travel[j - 1] + std::fabs(up - previousUp);
        previousUp = up;
    }
    std::vector<CutPoint> points(static_cast<std::size_t>(accPer));
    for (int i = 0; i < accPer; ++i) {
        const double s = (travel[kTravelSamples] * i) / (accPer - 1);
        CutPoint p;
        if (i == accPer - 1) {
            p = CornerPoint(k, tEnd);
        } else if (s <= flat) {
            p = FlatPoint(k, -s);
        } else {
            int j = 1;
            while (j < kTravelSamples && travel[j] < s) {
                ++j;
            }
            p = CornerPoint(k, CornerAtTravel(k, tAt[j], tAt[j - 1], s - travel[j - 1]));
        }
        points[static_cast<std::size_t>(i)] = p;
    }
    points[0].theta = k.gamma0 - kSpaceCentreLineGap;
    return points;
}

PointXY Polar(double R, double theta) {
    return {R * std::cos(theta), R * std::sin(theta)};
}

// The fillet as one curve: parameter 0 to 1 along the flat tip from the space's centre line to
// the corner (absent when the corners meet on the centre line), 1 to 2 round the corner from its
// bottom to tEnd, where the involute takes over.
ExactCurve CutFilletCurve(const CuttingRack& k, double tEnd) {
    const double flat = -k.uc;
    ExactCurve c;
    c.at = [k, tEnd, flat](double s) {
        const CutPoint p =
            s <= 1 ? FlatPoint(k, -s * flat) : CornerPoint(k, kPi / 2 - (s - 1) * (kPi / 2 - tEnd));
        return Polar(p.R, p.theta);
    };
    c.t0 = flat > 0 ? 0 : 1;
    c.t1 = 2;
    return c;
}

ExactCurve CutInvoluteCurve(const CuttingRack& k, double rForm, double rTip) {
    ExactCurve c;
    c.at = [k](double R) { return Polar(R, k.psi - Inv(ArcCos(k.rb / R))); };
    c.t0 = rForm;
    c.t1 = rTip;
    return c;
}

RackCutFlankResult Cut(const RackCutData& data, ToleranceShortfall* shortfall) {
    if (const std::optional<GeometryFault> refused = CheckData(data)) {
        return RackCutFlankResult::Failure(*refused);
    }
    const CuttingRack rack = MakeRack(data);
    if (!(rack.hTip > 0)) {
        // The rack would cut through the gear's centre: a dedendum beyond the reference radius.
        return RackCutFlankResult::Failure(GeometryFault::DedendumPastCentre);
    }
    if (!(rack.rho >= 0)) {
        return RackCutFlankResult::Failure(GeometryFault::RackRoundingNotFound);
    }
    const FilletEnd end = FindFilletEnd(rack);
    if (!end.found) {
        return RackCutFlankResult::Failure(GeometryFault::ActiveProfileUndefined);
    }
    const std::vector<CutPoint> fillet =
        FilletPoints(rack, end.t, data.tolerance > 0 ? 2 : data.accPer);
    const double rForm = fillet.back().R;
    const double rTip = data.tipDiameter / 2;
    if (!(rTip > rForm)) {
        return RackCutFlankResult::Failure(GeometryFault::ActiveProfileUndefined);
    }
    RackCutFlankCurve result;
    result.undercut = end.undercut;
    result.cornerRadius = rack.rho;
    result.rootDiameter = 2 * fillet.front().R;
    result.formDiameter = 2 * rForm;
    const ExactCurve filletCurve = CutFilletCurve(rack, end.t);
    const ExactCurve involuteCurve = CutInvoluteCurve(rack, rForm, rTip);
    if (data.tolerance > 0) {
        PlacedFlankResult placed =
            PlaceExternalFlank(filletCurve, involuteCurve, data.tolerance, data.z);
        if (!placed.ok()) {
            if (shortfall != nullptr) {
                *shortfall = placed.fault();
            }
            return RackCutFlankResult::Failure(GeometryFault::ToleranceTooFine);
        }
        PlacedFlank flank = std::move(placed).value();
        result.flank = std::move(flank.flank);
        result.members = std::move(flank.members);
        // The first point stops short of the space's centre line, as with counts.
        const double R = std::hypot(result.flank.front().X, result.flank.front().Y);
        result.flank.front() = Polar(R, rack.gamma0 - kSpaceCentreLineGap);
    } else {
        for (int i = 0; i + 1 < data.accPer; ++i) {
            const CutPoint& p = fillet[static_cast<std::size_t>(i)];
            result.flank.push_back(Polar(p.R, p.theta));
        }
        // The involute from the form circle to the tip circle, evenly spaced in radius; its
        // first point takes the place of the fillet's last, at the same radius.
        for (int k = 0; k <= data.accEv; ++k) {
            const double R = rForm + (k * (rTip - rForm)) / data.accEv;
            result.flank.push_back(Polar(R, rack.psi - Inv(ArcCos(rack.rb / R))));
        }
        result.members =
            ExternalFlankMembers(filletCurve, involuteCurve, data.accPer, result.flank.size());
    }
    if (!AllFinite(result.flank)) {
        return RackCutFlankResult::Failure(GeometryFault::NonFinitePoint);
    }
    return result;
}

}  // namespace

RackCutFlankResult RackCutFlank(const RackCutData& data) {
    return Cut(data, nullptr);
}

ToleranceShortfall RackCutShortfall(const RackCutData& data) {
    ToleranceShortfall shortfall;
    Cut(data, &shortfall);
    return shortfall;
}

}  // namespace tarvo
