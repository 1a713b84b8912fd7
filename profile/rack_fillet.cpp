// Rack-generated transition curve. The rack is not the basic rack itself but one with the same
// base pitch whose profile angle is the pressure angle at the middle of the member's active
// profile; its tip rounding, shrunk until it fits, generates the fillet point by point.
#include "profile/rack_fillet.h"

#include <cmath>
#include <optional>

#include "math/constants.h"
#include "math/involute.h"
#include "profile/length_unit.h"
#include "profile/rounding_fit.h"

namespace tarvo {

namespace {

// Shrinks the rack's tip rounding from rf m' until it fits the rack tooth; sets r.rho and
// r.reductions, or returns the fault.
std::optional<GeometryFault> FitRackRounding(RackFilletCurve& r, double e, double rf, double unit) {
    const double h = r.h;
    const double tanAm = std::tan(r.alphaM);
    const double sinAm = std::sin(r.alphaM);
    const double cosAm = std::cos(r.alphaM);
    r.rhoFirst = rf * r.mPrime;
    // Half the rack tooth's width at its tip line, less what a rounding of radius rho tangent
    // to the flank and the tip line takes up.
    const auto fit = ShrinkUntilFits(
        r.rhoFirst, unit, kMaxRackRoundingReductions, GeometryFault::RackRoundingNotFound,
        [&](double rho) { return (e / 2 - h * tanAm) - ((1 - sinAm) * rho) / cosAm; });
    if (!fit.ok()) {
        return fit.fault();
    }
    r.rho = fit->rho;
    r.reductions = fit->reductions;
    return std::nullopt;
}

}  // namespace

RackFilletPoints::RackFilletPoints(const RackFilletCurve& curve)
    : am_(curve.alphaM),
      dp_(curve.dPrime),
      psi_(curve.psi),
      rho_(curve.rho),
      c_(curve.h - curve.rho),
      cosAm_(std::cos(curve.alphaM)),
      invAm_(Inv(curve.alphaM)) {}

PointXY RackFilletPoints::operator()(double phi) const {
    // phi: angle between the rolling line and the common normal at the generating contact: am
    // where the rounding meets the rack's straight flank, 0.0001 short of pi/2 at the root.
    // c_ is the depth of the rounding's centre below the rolling line.
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const double Y = c_ + rho_ * sinPhi;
    const double q = c_ / sinPhi;
    const double beta = std::atan(std::tan(phi) - (2 * Y) / ((dp_ * sinPhi) * cosPhi));
    const double D = (dp_ * cosPhi) / std::cos(beta);
    const double theta =
        ((invAm_ + phi) - beta) - (2 * (q * std::cos(phi - am_) + rho_)) / (dp_ * cosAm_);
    return {(D / 2) * std::cos(psi_ - theta), (D / 2) * std::sin(psi_ - theta)};
}

PointXY RackFilletPoint(const RackFilletCurve& curve, double phi) {
    return RackFilletPoints(curve)(phi);
}

RackFilletResult RackFillet(const RackFilletInput& in) {
    const int z = in.z;
    const double psi = in.psi;
    const double m = in.m;
    const double alpha = in.alpha;
    const double T = in.T;
    const int accPer = in.accPer;
    RackFilletCurve r;
    const double am = ArcCos((2 * in.db) / (in.dl + in.da));
    const double mp = (m * std::cos(alpha)) / std::cos(am);
    const double dp = z * mp;  // diameter on which the rack's rolling line rolls
    const double sp = (psi - Inv(am)) * dp;
    const double e = kPi * mp - sp;  // rack tooth thickness on the rolling line
    // Depth of the tip line below the rolling line. The rack tooth narrows towards its tip, so
    // the datum line (thickness pi m'/2) lies (e - pi m'/2) / (2 tan am) beyond the rolling line
    // towards the tip, and the tip line a further T m' beyond the datum.
    const double h = mp * T - ((kPi * mp) / 2 - e) / (2 * std::tan(am));
    r.alphaM = am;
    r.mPrime = mp;
    r.h = h;

    if (const std::optional<GeometryFault> fault = FitRackRounding(r, e, in.rf, LengthUnit(m))) {
        return RackFilletResult::Failure(*fault);
    }
    r.dPrime = dp;
    r.psi = psi;
    r.phiRoot = kPi / 2 - kFilletEndShortOfQuarterTurn;
    r.per.assign(static_cast<std::size_t>(accPer), PointXY{});
    const double delta = ((kPi / 2 - kFilletEndShortOfQuarterTurn) - am) / (accPer - 1);
    for (int i = 0; i < accPer; ++i) {
        r.per[static_cast<std::size_t>(i)] = RackFilletPoint(r, am + i * delta);
    }
    return r;
}

}  // namespace tarvo
