// Internal pair: roles by tooth count, the transverse section (the dedendum keeps its normal
// value), both flanks with the ring's cutter fillet, the pinion always turned by half its pitch.
#include "drawing/internal_pair.h"

#include <cmath>
#include <utility>

#include "drawing/pair_data.h"
#include "drawing/rack_cut.h"
#include "math/constants.h"
#include "math/involute.h"
#include "profile/flank_check.h"
#include "profile/gear_outline.h"
#include "profile/length_unit.h"
#include "profile/tooth_profile.h"

namespace tarvo {

namespace {

// Member 1 of the generator is the pinion, member 2 the ring.
InternalPairResult Refuse(GeometryFault fault, int member) {
    const WheelRole role =
        member == 1 ? WheelRole::Pinion : member == 2 ? WheelRole::Ring : WheelRole::Pair;
    return InternalPairResult::Failure({fault, member, role});
}

// The wheel with fewer teeth is the pinion, whichever the designer entered first.
void AssignRoles(InternalPairGeometry& g, const BuilderCall& call, const TransverseSection& t) {
    const bool firstIsPinion = call.Z1 < call.Z2;
    const double d1 = call.Z1 * t.mt;
    const double d2 = call.Z2 * t.mt;
    const double db1 = d1 * std::cos(t.alphaT);
    const double db2 = d2 * std::cos(t.alphaT);
    g.zp = firstIsPinion ? call.Z1 : call.Z2;
    g.zr = firstIsPinion ? call.Z2 : call.Z1;
    g.xp = firstIsPinion ? t.x1 : t.x2;
    g.xr = firstIsPinion ? t.x2 : t.x1;
    g.dp = firstIsPinion ? d1 : d2;
    g.dr = firstIsPinion ? d2 : d1;
    g.dbp = firstIsPinion ? db1 : db2;
    g.dbr = firstIsPinion ? db2 : db1;
    g.mt = t.mt;
    g.alphaT = t.alphaT;
}

// Centre distance and tip diameters from the working angle, before the tip limits.
void PairDiameters(InternalPairGeometry& g, const TransverseSection& t) {
    const double mt = t.mt;
    const double a0 = (g.dr - g.dp) / 2;
    g.aw = (std::cos(t.alphaT) * a0) / std::cos(g.alphaTw);
    const double y = (g.aw - a0) / mt;
    const double dy = (g.xr - g.xp) - y;
    g.dap = g.dp + (2 * mt) * ((t.ha + g.xp) - dy);
    g.dar = g.dr - (2 * mt) * ((t.ha - g.xr) + dy);
}

ToothProfileInput ProfileInput(const MainMod& state, const InternalPairGeometry& g,
                               const BuilderCall& call, const TransverseSection& t) {
    ToothProfileInput in = PairProfileInput(state, call, t, g.alphaTw, true);
    in.member1 = {g.zp, g.dp, g.dap, g.dbp, g.xp};
    in.member2 = {g.zr, g.dr, g.dar, g.dbr, g.xr};
    in.z0 = g.zp;  // the ring is cut by a cutter of the pinion's size
    return in;
}

// The pinion's flank: the generator's, or with the rack-cut root the flank the cutting rack
// leaves on it (same tip circle after the tip limits, backlash share and point counts).
struct PinionFlank {
    GeometryFault fault = GeometryFault::None;
    std::vector<PointXY> flank;
    FlankMembers members;
    ToleranceShortfall shortfall;  // with ToleranceTooFine
};

PinionFlank ChoosePinionFlank(const MainMod& state, const BuilderCall& call,
                              const ToothProfileInput& in, const ToothProfileFlanks& profile) {
    if (!state.CutFillet) {
        return {GeometryFault::None, profile.Prof1, profile.members1, {}};
    }
    const bool firstIsPinion = call.Z1 < call.Z2;
    const double x = firstIsPinion ? call.x1 : call.x2;
    RackCutFlankResult r = PairMemberRackCutFlank(state, call, in, in.member1.z, x, profile.da1);
    if (!r.ok()) {
        return {r.fault(),
                {},
                {},
                r.fault() == GeometryFault::ToleranceTooFine
                    ? PairMemberRackCutShortfall(state, call, in, in.member1.z, x, profile.da1)
                    : ToleranceShortfall{}};
    }
    RackCutFlankCurve cut = std::move(r).value();
    return {GeometryFault::None, std::move(cut.flank), std::move(cut.members), {}};
}

}  // namespace

InternalPairResult ComputeInternalPair(const MainMod& state, const BuilderCall& call) {
    InternalPairGeometry g;
    const GeometryError refused = CheckPairCall(call, true);
    if (!refused.ok()) {
        return InternalPairResult::Failure(refused);
    }
    // The dedendum goes to the generator in the normal section.
    const TransverseSection t = ToTransverse(state, call, true);
    AssignRoles(g, call, t);

    const ArcInvResult working =
        ArcInv(((2 * (g.xr - g.xp)) * std::tan(t.alphaT)) / (g.zr - g.zp) + Inv(t.alphaT));
    if (!working.ok()) {
        return Refuse(GeometryFault::WorkingAngleNotFound, 0);
    }
    g.alphaTw = working.value();
    if (!(g.alphaTw > 0 && g.alphaTw < kPi / 2)) {
        return Refuse(GeometryFault::WorkingAngleNotPositive, 0);
    }
    PairDiameters(g, t);

    const ToothProfileInput in = ProfileInput(state, g, call, t);
    const ToothProfileResult generated = ToothProfile(in);
    if (!generated.ok()) {
        const GeometryError& e = generated.fault();
        const WheelRole role = e.wheel == 1   ? WheelRole::Pinion
                               : e.wheel == 2 ? WheelRole::Ring
                                              : WheelRole::Pair;
        return InternalPairResult::Failure(
            WheelError(e.fault, e.wheel, role, {e.points, e.onFillet, e.allowed}));
    }
    const ToothProfileFlanks& profile = generated.value();
    g.dap = profile.da1;
    g.dar = profile.da2;
    g.cutter = profile.cutter;
    PinionFlank pinion = ChoosePinionFlank(state, call, in, profile);
    if (pinion.fault == GeometryFault::None) {
        pinion.fault = CheckExternalFlank(pinion.flank, g.zp, LengthUnit(call.m));
    }
    if (pinion.fault != GeometryFault::None) {
        return InternalPairResult::Failure(
            WheelError(pinion.fault, 1, WheelRole::Pinion, pinion.shortfall));
    }

    g.pinionFlank = std::move(pinion.flank);
    g.ringFlank = profile.Prof2;
    g.pinionMembers = std::move(pinion.members);
    g.ringMembers = profile.members2;
    // The pinion turned by half its pitch whatever the parity of its count.
    g.pinion = PlacedOutline(g.zp, g.pinionFlank, false, {kPi / g.zp, g.aw});
    g.ring = PlacedOutline(g.zr, profile.Prof2, true);
    if (!g.ring.AllFinite()) {
        return Refuse(GeometryFault::NonFinitePoint, 2);
    }
    if (!g.pinion.AllFinite()) {
        return Refuse(GeometryFault::NonFinitePoint, 1);
    }
    return g;
}

DrawResult DrawInternalPair(const MainMod& state, const BuilderCall& call) {
    const InternalPairResult g = ComputeInternalPair(state, call);
    if (!g.ok()) {
        return Refused(g.fault());
    }
    return WriteComputed(state.OutFile, {&g->ring, &g->pinion}, {0, g->aw});
}

}  // namespace tarvo
