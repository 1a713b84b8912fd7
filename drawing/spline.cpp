// Spline member. The shaft is generated in mesh with a partner ten times its size whose shift
// cancels its own, so only the partner's tip and base circles shape the shaft's fillet. The hub
// is generated as the internal member of a mesh with itself, cut by a cutter of half its teeth.
#include "drawing/spline.h"

#include <cmath>
#include <optional>
#include <utility>

#include "drawing/rack_cut.h"
#include "math/constants.h"
#include "math/involute.h"
#include "math/rounding.h"
#include "profile/flank_check.h"
#include "profile/gear_outline.h"
#include "profile/length_unit.h"
#include "profile/tooth_profile.h"

namespace tarvo {

namespace {

SplineResult Refuse(GeometryFault fault, bool hub) {
    return SplineResult::Failure({fault, hub ? 2 : 1, hub ? WheelRole::Hub : WheelRole::Shaft});
}

// The fault the spline's data have before any geometry, or nothing when none.
std::optional<GeometryFault> CheckSplineCall(const BuilderCall& call) {
    if (call.Z < 1) {
        return GeometryFault::ToothCountNotPositive;
    }
    if (call.Z > kMaxTeeth) {
        return GeometryFault::TooManyTeeth;
    }
    if (!call.hub && call.Z > kMaxShaftTeeth) {
        return GeometryFault::PartnerTooLarge;
    }
    if (!(call.m > 0) || !std::isfinite(call.m)) {
        return GeometryFault::ModuleNotPositive;
    }
    if (!std::isfinite(call.x) || !std::isfinite(call.alpha)) {
        return GeometryFault::DataOutOfRange;
    }
    return std::nullopt;
}

ToothProfileInput ProfileInput(const MainMod& state, const BuilderCall& call, double a) {
    ToothProfileInput in;
    in.m = call.m;
    in.alpha = a;
    in.hf = state.Hf;
    in.c = state.C;
    in.rf = state.Ro;
    in.jn = 0;
    in.AccEv = state.AccEv;
    in.AccPer = state.AccPer;
    in.tolerance = state.Tolerance;
    in.SingleMember = state.SingleMember;
    return in;
}

// The spline member itself as the generator takes it: its circles and its shift x (in modules).
MeshMember SplineMember(const SplineGeometry& g, int z, double x) {
    MeshMember member;
    member.z = z;
    member.d = g.d;
    member.da = g.da;
    member.db = g.db;
    member.x = x;
    return member;
}

// The shaft: member 1 of an external mesh with a partner of ten times its teeth whose shift
// cancels its own.
SplineResult Shaft(SplineGeometry g, const MainMod& state, const BuilderCall& call, double a) {
    const int Z = call.Z;
    const double m = call.m;
    const double x = call.x;
    const double d = g.d;
    const double ha = state.H;
    g.da = d + (2 * m) * (ha + x);
    ToothProfileInput in = ProfileInput(state, call, a);
    in.member1 = SplineMember(g, Z, x);
    MeshMember& partner = in.member2;
    partner.z = 10 * Z;
    partner.d = 10 * d;
    partner.da = 10 * d + (2 * m) * (ha - x);
    partner.db = (10 * d) * std::cos(a);
    partner.x = -x;
    in.z0 = Z;
    in.internal = false;
    const ToothProfileResult profile = ToothProfile(in);
    if (!profile.ok()) {
        // A failure of the partner is a failure of the shaft it generates.
        const GeometryError& e = profile.fault();
        return SplineResult::Failure(
            WheelError(e.fault, 1, WheelRole::Shaft, {e.points, e.onFillet, e.allowed}));
    }
    g.flank = profile->Prof1;
    g.members = profile->members1;
    if (state.CutFillet) {
        // The rack-cut root: the flank the cutting rack leaves, on the same tip circle.
        ToothData shaft;
        shaft.z = Z;
        shaft.mn = m;
        shaft.alphaN = a;
        shaft.x = x;
        const RackCutData data = RackCutDataOf(state, shaft, g.da);
        RackCutFlankResult cut = RackCutFlank(data);
        if (!cut.ok()) {
            return SplineResult::Failure(WheelError(cut.fault(), 1, WheelRole::Shaft,
                                                    cut.fault() == GeometryFault::ToleranceTooFine
                                                        ? RackCutShortfall(data)
                                                        : ToleranceShortfall{}));
        }
        RackCutFlankCurve flank = std::move(cut).value();
        g.flank = std::move(flank.flank);
        g.members = std::move(flank.members);
    }
    if (const std::optional<GeometryFault> crossing =
            CheckExternalFlank(g.flank, Z, LengthUnit(call.m))) {
        return Refuse(*crossing, false);
    }
    g.outline = PlacedOutline(Z, g.flank, false);
    return g;
}

// The hub: both members of an internal mesh with itself, cut by a cutter of half its teeth.
SplineResult Hub(SplineGeometry g, const MainMod& state, const BuilderCall& call, double a) {
    const int Z = call.Z;
    g.da = g.d - (2 * call.m) * (state.H - call.x);
    // Half the hub's teeth, halves to even (25 gives 12, 27 gives 14).
    g.zc = static_cast<int>(RoundHalfEven(Z / 2.0));
    ToothProfileInput in = ProfileInput(state, call, a);
    in.member1 = SplineMember(g, Z, call.x);
    in.member2 = in.member1;
    in.z0 = g.zc;
    in.internal = true;
    const ToothProfileResult profile = ToothProfile(in);
    if (!profile.ok()) {
        const GeometryError& e = profile.fault();
        return SplineResult::Failure(
            WheelError(e.fault, 2, WheelRole::Hub, {e.points, e.onFillet, e.allowed}));
    }
    g.flank = profile->Prof2;
    g.members = profile->members2;
    g.outline = PlacedOutline(Z, g.flank, true, {kPi / Z, std::nullopt});
    return g;
}

}  // namespace

SplineResult ComputeSpline(const MainMod& state, const BuilderCall& call) {
    SplineGeometry g;
    if (const std::optional<GeometryFault> refused = CheckSplineCall(call)) {
        return Refuse(*refused, call.hub);
    }
    const double a = GradToRad(call.alpha);
    g.d = call.Z * call.m;
    g.db = g.d * std::cos(a);
    SplineResult member = call.hub ? Hub(g, state, call, a) : Shaft(g, state, call, a);
    if (member.ok() && !member->outline.AllFinite()) {
        return Refuse(GeometryFault::NonFinitePoint, call.hub);
    }
    return member;
}

std::vector<DrawnFlank> FlanksOf(const SplineGeometry& g, const BuilderCall& call) {
    return {DrawnFlank{g.flank, g.members, call.Z, call.hub}};
}

DrawResult DrawSpline(const MainMod& state, const BuilderCall& call, DxfSink* tap,
                      std::vector<DrawnFlank>* flanks) {
    const SplineResult g = ComputeSpline(state, call);
    if (!g.ok()) {
        return Refused(g.fault());
    }
    if (flanks != nullptr) {
        *flanks = FlanksOf(g.value(), call);
    }
    return WriteComputed(state.OutFile, {&g->outline}, {0}, tap);
}

}  // namespace tarvo
