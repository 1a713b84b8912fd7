// Spline member. The shaft is generated in mesh with a partner ten times its size whose shift
// cancels its own, so only the partner's tip and base circles shape the shaft's fillet. The hub
// is generated as the internal member of a mesh with itself, cut by a cutter of half its teeth.
#include "drawing/spline.h"

#include <cmath>

#include "drawing/turn.h"
#include "math/constants.h"
#include "math/involute.h"
#include "math/rounding.h"
#include "profile/flank_check.h"
#include "profile/gear_outline.h"
#include "profile/tooth_profile.h"

namespace tarvo {

namespace {

SplineGeometry Refuse(SplineGeometry g, GeometryFault fault, bool hub) {
    g.error = {fault, hub ? 2 : 1, hub ? "Втулка" : "Вал"};
    g.outline.clear();
    return g;
}

}  // namespace

SplineGeometry ComputeSpline(MainMod& state, int Z, double m, double x, double alpha, bool hub) {
    SplineGeometry g;
    if (Z < 1) {
        return Refuse(g, GeometryFault::ToothCountNotPositive, hub);
    }
    if (Z > kMaxTeeth) {
        return Refuse(g, GeometryFault::TooManyTeeth, hub);
    }
    if (!hub && Z > kMaxShaftTeeth) {
        return Refuse(g, GeometryFault::PartnerTooLarge, hub);
    }
    if (!(m > 0) || !std::isfinite(m)) {
        return Refuse(g, GeometryFault::ModuleNotPositive, hub);
    }
    if (!std::isfinite(x) || !std::isfinite(alpha)) {
        return Refuse(g, GeometryFault::DataNotFinite, hub);
    }
    const double ha = state.H;
    const double hf = state.Hf;
    const double c = state.C;
    const double rf = state.Ro;
    const double a = GradToRad(alpha);
    const double d = Z * m;
    const double db = d * std::cos(a);
    g.d = d;
    g.db = db;

    if (!hub) {
        const int partner = 10 * Z;
        const double d2 = 10 * d;
        const double db2 = (10 * d) * std::cos(a);
        double da = d + (2 * m) * (ha + x);
        double da2 = 10 * d + (2 * m) * (ha - x);
        g.da = da;
        const ToothProfileReport report = ToothProfile(
            state, Z, partner, d, d2, da, da2, db, db2, m, a, x, -x, ha, hf, c, rf, Z, 0, false);
        if (!report.error.ok()) {
            // A failure of the partner is a failure of the shaft it generates.
            return Refuse(g, report.error.fault, hub);
        }
        const GeometryFault crossing = CheckExternalFlank(state.Prof1, Z);
        if (crossing != GeometryFault::None) {
            return Refuse(g, crossing, hub);
        }
        GearOutline(Z, state.Prof1, g.outline, false);
    } else {
        double da = d - (2 * m) * (ha - x);
        g.da = da;
        // Half the hub's teeth, halves to even (25 gives 12, 27 gives 14).
        const int zc = static_cast<int>(RoundHalfEven(Z / 2.0));
        g.zc = zc;
        // The hub is both members; with SingleMember set neither tip diameter is changed, so
        // one variable serves for both.
        const ToothProfileReport report = ToothProfile(state, Z, Z, d, d, da, da, db, db, m, a, x,
                                                       x, ha, hf, c, rf, zc, 0, true);
        if (!report.error.ok()) {
            return Refuse(g, report.error.fault, hub);
        }
        GearOutline(Z, state.Prof2, g.outline, true);
        TurnClockwise(g.outline, kPi / Z);
    }
    if (!AllFinite(g.outline)) {
        return Refuse(g, GeometryFault::NonFinitePoint, hub);
    }
    return g;
}

DrawResult DrawSpline(MainMod& state, int Z, double m, double x, double alpha, bool hub) {
    const SplineGeometry g = ComputeSpline(state, Z, m, x, alpha, hub);
    if (!g.error.ok()) {
        return {DrawStatus::GeometryRefused, g.error, {}};
    }
    const WriteOutcome out = DxfWriteDrawing(state.OutFile, {&g.outline}, {0});
    if (!out.written) {
        return {DrawStatus::FileNotWritten, {}, out.reason};
    }
    return {};
}

}  // namespace tarvo
