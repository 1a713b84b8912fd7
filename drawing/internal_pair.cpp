// Internal pair: roles by tooth count, the transverse section (the dedendum keeps its normal
// value), both flanks with the ring's cutter fillet, the pinion always turned by half its pitch.
#include "drawing/internal_pair.h"

#include <cmath>
#include <optional>
#include <utility>

#include "drawing/pair_data.h"
#include "drawing/rack_cut.h"
#include "math/constants.h"
#include "math/involute.h"
#include "profile/flank_check.h"
#include "profile/gear_outline.h"
#include "profile/length_unit.h"
#include "profile/pair_geometry.h"
#include "profile/tooth_profile.h"

namespace tarvo {

namespace {

// Member 1 of the generator is the pinion, member 2 the ring.
InternalPairResult Refuse(GeometryFault fault, int member) {
    const WheelRole role = member == 1   ? WheelRole::Pinion
                           : member == 2 ? WheelRole::Ring
                                         : WheelRole::Pair;
    return InternalPairResult::Failure({fault, member, role});
}

// The model's values the drawing's callers read, before the generator's tip limits.
void CopyPair(InternalPairGeometry& g, const PairGeometry& pair) {
    const GearMember& p = pair.member1;
    const GearMember& r = pair.member2;
    g.zp = p.z;
    g.zr = r.z;
    g.xp = p.x;
    g.xr = r.x;
    g.dp = p.d;
    g.dr = r.d;
    g.dbp = p.db;
    g.dbr = r.db;
    g.dap = p.da;
    g.dar = r.da;
    g.mt = pair.section.mt;
    g.alphaT = pair.section.alphaT;
    g.alphaTw = pair.alphaTw;
    g.aw = pair.aw;
}

// The pinion's flank: the generator's, or with the rack-cut root the flank the cutting rack
// leaves on it (same tip circle after the tip limits, backlash share and point counts); refused
// when the tooth is pointed or neighbouring fillets cross.
struct PinionFlank {
    std::vector<PointXY> flank;
    FlankMembers members;
};
using PinionFlankResult = Outcome<PinionFlank, GeometryError>;

PinionFlankResult ChoosePinionFlank(const MainMod& state, const PairGeometry& pair,
                                    const ToothProfileFlanks& profile, double unit) {
    PinionFlank chosen;
    if (!state.CutFillet) {
        chosen.flank = profile.Prof1;
        chosen.members = profile.members1;
    } else {
        RackCutFlankResult r = PairMemberRackCutFlank(state, pair, pair.member1, profile.da1);
        if (!r.ok()) {
            return PinionFlankResult::Failure(
                WheelError(r.fault(), 1, WheelRole::Pinion,
                           r.fault() == GeometryFault::ToleranceTooFine
                               ? PairMemberRackCutShortfall(state, pair, pair.member1, profile.da1)
                               : ToleranceShortfall{}));
        }
        RackCutFlankCurve cut = std::move(r).value();
        chosen.flank = std::move(cut.flank);
        chosen.members = std::move(cut.members);
    }
    if (const std::optional<GeometryFault> crossing =
            CheckExternalFlank(chosen.flank, pair.member1.z, unit)) {
        return PinionFlankResult::Failure({*crossing, 1, WheelRole::Pinion});
    }
    return chosen;
}

}  // namespace

InternalPairResult ComputeInternalPair(const MainMod& state, const BuilderCall& call) {
    InternalPairGeometry g;
    const PairGeometryResult pair = PairOf(state, call);
    if (!pair.ok()) {
        return InternalPairResult::Failure(pair.fault());
    }
    CopyPair(g, pair.value());
    const ToothProfileResult generated = ToothProfile(PairProfileInput(state, pair.value()));
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
    PinionFlankResult chosen = ChoosePinionFlank(state, pair.value(), profile, LengthUnit(call.m));
    if (!chosen.ok()) {
        return InternalPairResult::Failure(chosen.fault());
    }
    PinionFlank pinion = std::move(chosen).value();

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

CutterFilletResult InternalPairCutter(const MainMod& state, const BuilderCall& call) {
    const PairGeometryResult pair = PairOf(state, call);
    if (!pair.ok()) {
        return CutterFilletResult::Failure(pair.fault().fault);
    }
    // The cutter's size does not depend on the points of the fillet: the fewest will do.
    return CutterFillet(RingCutterInput(PairProfileInput(state, pair.value()), 2));
}

std::vector<DrawnFlank> FlanksOf(const InternalPairGeometry& g, const BuilderCall& call) {
    DrawnFlank pinion{g.pinionFlank, g.pinionMembers, g.zp, false};
    DrawnFlank ring{g.ringFlank, g.ringMembers, g.zr, true};
    // Wheel 1 is the pinion when the designer entered the smaller count first.
    if (FirstIsPinion(call.Z1, call.Z2)) {
        return {std::move(pinion), std::move(ring)};
    }
    return {std::move(ring), std::move(pinion)};
}

DrawResult DrawInternalPair(const MainMod& state, const BuilderCall& call, DxfSink* tap,
                            std::vector<DrawnFlank>* flanks) {
    const InternalPairResult g = ComputeInternalPair(state, call);
    if (!g.ok()) {
        return Refused(g.fault());
    }
    if (flanks != nullptr) {
        *flanks = FlanksOf(g.value(), call);
    }
    return WriteComputed(state.OutFile, {&g->ring, &g->pinion}, {0, g->aw}, tap);
}

}  // namespace tarvo
