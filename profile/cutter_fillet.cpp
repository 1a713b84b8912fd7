// Cutter-generated transition curve of an internal gear. The cutter has the basic rack's
// profile, fills the gear's tooth space, and has a tip rounding derived from the clearance
// coefficient, rounded to a tenth of a millimetre and shrunk until its two roundings fit.
#include "profile/cutter_fillet.h"

#include <cmath>
#include <optional>

#include "math/constants.h"
#include "math/involute.h"
#include "math/rounding.h"
#include "profile/length_unit.h"
#include "profile/pair_geometry.h"
#include "profile/rounding_fit.h"

namespace tarvo {

namespace {

// Shrinks the cutter's tip rounding until half the cutter tooth, at the diameter where the
// rounding meets the flank, holds it; sets r.rho0 and r.reductions, or returns the fault.
std::optional<GeometryFault> FitCutterRounding(CutterFilletCurve& r, double rho0, double db0,
                                               double d0, double alpha, double unit) {
    // Negative room means the tooth's two roundings would overlap.
    const double invA = Inv(alpha);
    const double da0 = r.da0;
    const double sc = r.sc;
    const auto fit = ShrinkUntilFits(rho0, unit, kMaxCutterRoundingReductions,
                                     GeometryFault::CutterRoundingNotFound, [&](double rho) {
                                         const double ac = ArcCos(db0 / (da0 - 2 * rho));
                                         const double Dt = da0 - (2 * rho) * (1 - std::sin(ac));
                                         const double at = ArcCos(db0 / Dt);
                                         return (Dt / 2) * std::sin(((sc / d0) + invA) - Inv(at)) -
                                                rho * std::cos(at);
                                     });
    if (!fit.ok()) {
        return fit.fault();
    }
    r.rho0 = fit->rho;
    r.reductions = fit->reductions;
    return std::nullopt;
}

// The fillet's points from the fitted cutter.
void CutterPoints(CutterFilletCurve& r, const CutterFilletInput& in, double db0, double d0) {
    const double aw0 = r.alphaW0;
    const double rho0 = r.rho0;
    const double Dc = r.da0 - 2 * rho0;
    const double dw0 = (d0 * std::cos(in.alpha)) / std::cos(aw0);
    const double acc = ArcCos(db0 / Dc);
    const double nu = (2 * rho0) / db0 + Inv(acc);
    r.Dc = Dc;
    r.dw0 = dw0;
    r.db0 = db0;
    r.dNa0 = r.da0 - 2 * rho0 * (1 - std::sin(acc));
    // The cutting mesh: the cutter as the pinion of an internal pair with the gear it cuts.
    r.a0 = WorkingCentreDistance((in.z2 - in.z0) * in.m / 2, in.alpha, aw0);

    // Gear-to-cutter ratios formed from the whole tooth counts.
    r.diffRatio = static_cast<double>(in.z2 - in.z0) / in.z2;
    r.cutterRatio = static_cast<double>(in.z0) / in.z2;
    r.nu = nu;
    r.db2 = in.db2;
    r.psi2 = in.psi2;
    r.phiRoot = kPi / 2 - kFilletEndShortOfQuarterTurn;
    r.per2.assign(static_cast<std::size_t>(in.accPer), PointXY{});
    const double delta = ((kPi / 2 - kFilletEndShortOfQuarterTurn) - aw0) / (in.accPer - 1);
    for (int i = 0; i < in.accPer; ++i) {
        r.per2[static_cast<std::size_t>(i)] = CutterFilletPoint(r, aw0 + i * delta);
    }
}

}  // namespace

CutterFilletPoints::CutterFilletPoints(const CutterFilletCurve& curve)
    : rho0_(curve.rho0),
      Dc_(curve.Dc),
      dw0_(curve.dw0),
      diffRatio_(curve.diffRatio),
      cutterRatio_(curve.cutterRatio),
      db2_(curve.db2),
      nu_(curve.nu),
      psi2_(curve.psi2),
      invAw0_(Inv(curve.alphaW0)),
      cosAw0_(std::cos(curve.alphaW0)) {}

PointXY CutterFilletPoints::operator()(double phi) const {
    const double gamma = ArcCos((dw0_ / Dc_) * std::cos(phi));
    const double dlt = std::atan(std::tan(gamma) + (2 * rho0_) / (Dc_ * std::cos(gamma)));
    const double beta = std::atan(diffRatio_ * std::tan(phi) + cutterRatio_ * std::tan(dlt));
    const double D = (db2_ * std::cos(phi)) / (cosAw0_ * std::cos(beta));
    const double theta = (diffRatio_ * (invAw0_ + phi) + cutterRatio_ * (gamma + nu_)) - beta;
    return {(D / 2) * std::cos(theta + psi2_), (D / 2) * std::sin(theta + psi2_)};
}

PointXY CutterFilletPoint(const CutterFilletCurve& curve, double phi) {
    return CutterFilletPoints(curve)(phi);
}

CutterFilletResult CutterFillet(const CutterFilletInput& in) {
    const double m = in.m;
    const double alpha = in.alpha;
    CutterFilletCurve r;
    const double d0 = in.z0 * m;
    const double db0 = std::cos(alpha) * d0;
    const double sc = kPi * m - in.s2;  // equals the internal gear's space width on d2
    const double tanA = std::tan(alpha);
    const double x0 = (2 * sc - kPi * m) / ((4 * m) * tanA);
    r.sc = sc;
    r.x0 = x0;

    // The cutter meshes with the internal gear as a pinion with shift x0.
    PairTeeth cuttingMesh;
    cuttingMesh.z1 = in.z0;
    cuttingMesh.z2 = in.z2;
    cuttingMesh.x1 = x0;
    cuttingMesh.x2 = in.x2;
    const std::optional<double> cutting = WorkingPressureAngle(cuttingMesh, alpha, true);
    if (!cutting) {
        return CutterFilletResult::Failure(GeometryFault::CutterAngleNotFound);
    }
    r.alphaW0 = *cutting;
    const double da0 = (2 * m) * (in.T + x0) + d0;
    r.da0 = da0;

    // Tip rounding of the cutter: from the clearance, rounded to one decimal place; a rounding
    // up is taken back by half a step so the radius never exceeds the first value.
    double rho0 = (m * in.c) / (1 - std::sin(alpha));
    r.rho0First = rho0;
    const double unit = LengthUnit(m);
    const double rounded = RoundToUnitPlaces(rho0, unit, 1);
    rho0 = rounded > rho0 ? rounded - 0.05 * unit : rounded;

    if (const std::optional<GeometryFault> fault =
            FitCutterRounding(r, rho0, db0, d0, alpha, unit)) {
        return CutterFilletResult::Failure(*fault);
    }
    CutterPoints(r, in, db0, d0);
    return r;
}

}  // namespace tarvo
