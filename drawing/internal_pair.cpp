// Internal pair: roles by tooth count, the transverse section (the dedendum keeps its normal
// value), both flanks with the ring's cutter fillet, the pinion always turned by half its pitch.
#include "drawing/internal_pair.h"

#include <cmath>

#include "drawing/turn.h"
#include "math/constants.h"
#include "math/involute.h"
#include "profile/flank_check.h"
#include "profile/gear_outline.h"
#include "profile/tooth_profile.h"

namespace tarvo {

namespace {

// Member 1 of the generator is the pinion, member 2 the ring.
const char* MemberName(int member) {
    switch (member) {
        case 1:
            return "Шестерня";
        case 2:
            return "Колесо с внутренними зубьями";
        default:
            return "";
    }
}

InternalPairGeometry Refuse(InternalPairGeometry g, GeometryFault fault, int member,
                            const char* name) {
    g.error = {fault, member, name};
    g.ring.clear();
    g.pinion.clear();
    return g;
}

}  // namespace

InternalPairGeometry ComputeInternalPair(MainMod& state, int Z1, int Z2, double m, double beta,
                                         double alpha, double x1, double x2, double jn) {
    InternalPairGeometry g;
    for (const int wheel : {1, 2}) {
        const int z = wheel == 1 ? Z1 : Z2;
        const char* name = wheel == 1 ? "Колесо 1" : "Колесо 2";
        if (z < 1) {
            return Refuse(g, GeometryFault::ToothCountNotPositive, wheel, name);
        }
        if (z > kMaxTeeth) {
            return Refuse(g, GeometryFault::TooManyTeeth, wheel, name);
        }
    }
    if (Z1 == Z2) {
        return Refuse(g, GeometryFault::EqualToothCounts, 0, "");
    }
    if (!(m > 0) || !std::isfinite(m)) {
        return Refuse(g, GeometryFault::ModuleNotPositive, 0, "");
    }
    for (const double v : {beta, alpha, x1, x2, jn}) {
        if (!std::isfinite(v)) {
            return Refuse(g, GeometryFault::DataNotFinite, 0, "");
        }
    }

    double ha = state.H;
    const double hf = state.Hf;  // the dedendum goes to the generator in the normal section
    double c = state.C;
    double rf = state.Ro;
    const double a = GradToRad(alpha);
    const double b = GradToRad(beta);

    double mt = m;
    double at = a;
    if (b != 0) {
        const double cosB = std::cos(b);
        mt = m / cosB;
        ha = ha * cosB;
        c = c * cosB;
        x1 = x1 * cosB;
        x2 = x2 * cosB;
        rf = rf * cosB;
        at = std::atan(std::tan(a) / cosB);
    }
    const double d1 = Z1 * mt;
    const double d2 = Z2 * mt;
    const double db1 = d1 * std::cos(at);
    const double db2 = d2 * std::cos(at);
    const double bb = std::atan(std::tan(b) * std::cos(at));

    // The wheel with fewer teeth is the pinion.
    const bool firstIsPinion = Z1 < Z2;
    const int zp = firstIsPinion ? Z1 : Z2;
    const int zr = firstIsPinion ? Z2 : Z1;
    const double xp = firstIsPinion ? x1 : x2;
    const double xr = firstIsPinion ? x2 : x1;
    const double dp = firstIsPinion ? d1 : d2;
    const double dr = firstIsPinion ? d2 : d1;
    const double dbp = firstIsPinion ? db1 : db2;
    const double dbr = firstIsPinion ? db2 : db1;
    const double phi = kPi / zp;
    g.zp = zp;
    g.zr = zr;
    g.mt = mt;
    g.alphaT = at;
    g.xp = xp;
    g.xr = xr;

    const ArcInvResult working =
        ArcInv(((2 * (xr - xp)) * std::tan(at)) / (zr - zp) + Inv(at));
    g.alphaTw = working.angle;
    if (!working.converged) {
        return Refuse(g, GeometryFault::WorkingAngleNotFound, 0, "");
    }
    if (!(working.angle > 0 && working.angle < kPi / 2)) {
        return Refuse(g, GeometryFault::WorkingAngleNotPositive, 0, "");
    }
    const double atw = working.angle;
    const double jt = jn / (std::cos(atw) * std::cos(bb));
    const double a0 = (dr - dp) / 2;
    const double aw = (std::cos(at) * a0) / std::cos(atw);
    const double y = (aw - a0) / mt;
    const double dy = (xr - xp) - y;
    double dap = dp + (2 * mt) * ((ha + xp) - dy);
    double dar = dr - (2 * mt) * ((ha - xr) + dy);
    g.aw = aw;
    g.dp = dp;
    g.dr = dr;
    g.dbp = dbp;
    g.dbr = dbr;

    const ToothProfileReport report = ToothProfile(state, zp, zr, dp, dr, dap, dar, dbp, dbr, mt,
                                                   at, xp, xr, ha, hf, c, rf, zp, jt, true);
    g.dap = dap;
    g.dar = dar;
    g.cutter = report.cutter;
    if (!report.error.ok()) {
        return Refuse(g, report.error.fault, report.error.wheel, MemberName(report.error.wheel));
    }
    const GeometryFault crossing = CheckExternalFlank(state.Prof1, zp);
    if (crossing != GeometryFault::None) {
        return Refuse(g, crossing, 1, MemberName(1));
    }

    GearOutline(zp, state.Prof1, g.pinion, false);
    GearOutline(zr, state.Prof2, g.ring, true);
    TurnClockwise(g.pinion, phi);  // whatever the parity of the pinion's count
    MoveAlongX(g.pinion, aw);
    if (!AllFinite(g.ring)) {
        return Refuse(g, GeometryFault::NonFinitePoint, 2, MemberName(2));
    }
    if (!AllFinite(g.pinion)) {
        return Refuse(g, GeometryFault::NonFinitePoint, 1, MemberName(1));
    }
    return g;
}

DrawResult DrawInternalPair(MainMod& state, int Z1, int Z2, double m, double beta, double alpha,
                            double x1, double x2, double jn) {
    const InternalPairGeometry g =
        ComputeInternalPair(state, Z1, Z2, m, beta, alpha, x1, x2, jn);
    if (!g.error.ok()) {
        return {DrawStatus::GeometryRefused, g.error, {}};
    }
    const WriteOutcome out = DxfWriteDrawing(state.OutFile, {&g.ring, &g.pinion}, {0, g.aw});
    if (!out.written) {
        return {DrawStatus::FileNotWritten, {}, out.reason};
    }
    return {};
}

}  // namespace tarvo
