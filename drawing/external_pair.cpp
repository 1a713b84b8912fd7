// External pair: normal-section data to the transverse section, both flanks, both outlines,
// wheel 2 turned by half a pitch when its count is even and moved to the working centre distance.
#include "drawing/external_pair.h"

#include <cmath>

#include "drawing/turn.h"
#include "math/constants.h"
#include "math/involute.h"
#include "profile/flank_check.h"
#include "profile/gear_outline.h"
#include "profile/tooth_profile.h"

namespace tarvo {

namespace {

const char* WheelName(int wheel) {
    switch (wheel) {
        case 1:
            return "Колесо 1";
        case 2:
            return "Колесо 2";
        default:
            return "";
    }
}

ExternalPairGeometry Refuse(ExternalPairGeometry g, GeometryFault fault, int wheel) {
    g.error = {fault, wheel, WheelName(wheel)};
    g.wheel1.clear();
    g.wheel2.clear();
    return g;
}

}  // namespace

ExternalPairGeometry ComputeExternalPair(MainMod& state, int Z1, int Z2, double m, double beta,
                                         double alpha, double x1, double x2, double jn) {
    ExternalPairGeometry g;
    for (const int wheel : {1, 2}) {
        const int z = wheel == 1 ? Z1 : Z2;
        if (z < 1) {
            return Refuse(g, GeometryFault::ToothCountNotPositive, wheel);
        }
        if (z > kMaxTeeth) {
            return Refuse(g, GeometryFault::TooManyTeeth, wheel);
        }
    }

    if (!(m > 0) || !std::isfinite(m)) {
        return Refuse(g, GeometryFault::ModuleNotPositive, 0);
    }
    for (const double v : {beta, alpha, x1, x2, jn}) {
        if (!std::isfinite(v)) {
            return Refuse(g, GeometryFault::DataNotFinite, 0);
        }
    }

    double ha = state.H;
    double hf = state.Hf;
    double c = state.C;
    double rf = state.Ro;
    const double a = GradToRad(alpha);
    const double b = GradToRad(beta);

    // Transverse section of a helical pair.
    double mt = m;
    double at = a;
    if (b != 0) {
        const double cosB = std::cos(b);
        mt = m / cosB;
        at = std::atan(std::tan(a) / cosB);
        ha = ha * cosB;
        hf = hf * cosB;
        c = c * cosB;
        x1 = x1 * cosB;
        x2 = x2 * cosB;
        rf = rf * cosB;
    }
    g.mt = mt;
    g.alphaT = at;
    g.x1 = x1;
    g.x2 = x2;

    const ArcInvResult working = ArcInv(((2 * (x1 + x2)) * std::tan(at)) / (Z1 + Z2) + Inv(at));
    g.alphaTw = working.angle;
    if (!working.converged) {
        return Refuse(g, GeometryFault::WorkingAngleNotFound, 0);
    }
    // A working angle of zero or less (or past a right angle) leaves both outlines crossed.
    if (!(working.angle > 0 && working.angle < kPi / 2)) {
        return Refuse(g, GeometryFault::WorkingAngleNotPositive, 0);
    }
    const double atw = working.angle;
    const double bb = std::atan(std::cos(at) * std::tan(b));
    const double jt = jn / (std::cos(atw) * std::cos(bb));

    const double d1 = Z1 * mt;
    const double d2 = Z2 * mt;
    const double a0 = (d1 + d2) / 2;
    const double aw = (std::cos(at) * a0) / std::cos(atw);
    const double y = (aw - a0) / mt;
    const double dy = (x1 + x2) - y;  // tip shortening
    double da1 = d1 + (2 * mt) * ((ha + x1) - dy);
    double da2 = d2 + (2 * mt) * ((ha + x2) - dy);
    const double db1 = d1 * std::cos(at);
    const double db2 = d2 * std::cos(at);
    g.aw = aw;
    g.d1 = d1;
    g.d2 = d2;
    g.da1 = da1;
    g.da2 = da2;
    g.db1 = db1;
    g.db2 = db2;

    const ToothProfileReport report = ToothProfile(state, Z1, Z2, d1, d2, da1, da2, db1, db2, mt,
                                                   at, x1, x2, ha, hf, c, rf, 0, jt, false);
    if (!report.error.ok()) {
        return Refuse(g, report.error.fault, report.error.wheel);
    }
    for (const int wheel : {1, 2}) {
        const GeometryFault crossing =
            CheckExternalFlank(wheel == 1 ? state.Prof1 : state.Prof2, wheel == 1 ? Z1 : Z2);
        if (crossing != GeometryFault::None) {
            return Refuse(g, crossing, wheel);
        }
    }

    GearOutline(Z1, state.Prof1, g.wheel1, false);
    GearOutline(Z2, state.Prof2, g.wheel2, false);
    // Wheel 2 faces wheel 1 across the centre line: with an even count a tooth would stand on
    // the line, so it is turned by half a pitch to put a space there.
    const double phi = Z2 - 2 * (Z2 / 2) == 0 ? kPi / Z2 : 0;
    if (phi > 0) {
        TurnClockwise(g.wheel2, phi);
    }
    MoveAlongX(g.wheel2, aw);
    if (!AllFinite(g.wheel1)) {
        return Refuse(g, GeometryFault::NonFinitePoint, 1);
    }
    if (!AllFinite(g.wheel2)) {
        return Refuse(g, GeometryFault::NonFinitePoint, 2);
    }
    return g;
}

DrawResult DrawExternalPair(MainMod& state, int Z1, int Z2, double m, double beta, double alpha,
                            double x1, double x2, double jn) {
    const ExternalPairGeometry g =
        ComputeExternalPair(state, Z1, Z2, m, beta, alpha, x1, x2, jn);
    if (!g.error.ok()) {
        return {DrawStatus::GeometryRefused, g.error, {}};
    }
    const WriteOutcome out = DxfWriteDrawing(state.OutFile, {&g.wheel1, &g.wheel2}, {0, g.aw});
    if (!out.written) {
        return {DrawStatus::FileNotWritten, {}, out.reason};
    }
    return {};
}

}  // namespace tarvo
