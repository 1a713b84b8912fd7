// External pair: normal-section data to the transverse section, both flanks, both outlines,
// wheel 2 turned by half a pitch when its count is even and moved to the working centre distance.
#include "drawing/external_pair.h"

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
#include "profile/tooth_profile.h"

namespace tarvo {

namespace {

ExternalPairResult Refuse(GeometryFault fault, int wheel) {
    const WheelRole role = wheel == 1   ? WheelRole::Wheel1
                           : wheel == 2 ? WheelRole::Wheel2
                                        : WheelRole::Pair;
    return ExternalPairResult::Failure({fault, wheel, role});
}

// The model's values the drawing's callers read.
void CopyPair(ExternalPairGeometry& g, const PairGeometry& pair) {
    const GearMember& w1 = pair.member1;
    const GearMember& w2 = pair.member2;
    g.mt = pair.section.mt;
    g.alphaT = pair.section.alphaT;
    g.alphaTw = pair.alphaTw;
    g.aw = pair.aw;
    g.d1 = w1.d;
    g.d2 = w2.d;
    g.da1 = w1.da;
    g.da2 = w2.da;
    g.db1 = w1.db;
    g.db2 = w2.db;
    g.x1 = w1.x;
    g.x2 = w2.x;
}

// The flanks both wheels are drawn with: the generator's, or with the rack-cut root the flank
// the cutting rack leaves on each (same tip circle, backlash share and point counts).
struct PairFlanks {
    std::vector<PointXY> flank1;
    std::vector<PointXY> flank2;
    FlankMembers members1;
    FlankMembers members2;
};

using PairFlanksResult = Outcome<PairFlanks, GeometryError>;

PairFlanksResult CutFlanks(const MainMod& state, const PairGeometry& pair,
                           const ToothProfileFlanks& profile) {
    PairFlanks f;
    f.flank1 = profile.Prof1;
    f.flank2 = profile.Prof2;
    f.members1 = profile.members1;
    f.members2 = profile.members2;
    if (!state.CutFillet) {
        return f;
    }
    for (const int wheel : {1, 2}) {
        const GearMember& member = pair.Wheel(wheel);
        RackCutFlankResult r = PairMemberRackCutFlank(state, pair, member, member.da);
        if (!r.ok()) {
            return PairFlanksResult::Failure(
                WheelError(r.fault(), wheel, member.role,
                           r.fault() == GeometryFault::ToleranceTooFine
                               ? PairMemberRackCutShortfall(state, pair, member, member.da)
                               : ToleranceShortfall{}));
        }
        RackCutFlankCurve cut = std::move(r).value();
        (wheel == 1 ? f.flank1 : f.flank2) = std::move(cut.flank);
        (wheel == 1 ? f.members1 : f.members2) = std::move(cut.members);
    }
    return f;
}

// The flanks as above, refused when a tooth is pointed or neighbouring fillets cross.
PairFlanksResult ChooseFlanks(const MainMod& state, const BuilderCall& call,
                              const PairGeometry& pair, const ToothProfileFlanks& profile) {
    PairFlanksResult f = CutFlanks(state, pair, profile);
    if (!f.ok()) {
        return f;
    }
    for (const int wheel : {1, 2}) {
        if (const std::optional<GeometryFault> crossing =
                CheckExternalFlank(wheel == 1 ? f->flank1 : f->flank2,
                                   wheel == 1 ? call.Z1 : call.Z2, LengthUnit(call.m))) {
            return PairFlanksResult::Failure(
                {*crossing, wheel, wheel == 1 ? WheelRole::Wheel1 : WheelRole::Wheel2});
        }
    }
    return f;
}

}  // namespace

ExternalPairResult ComputeExternalPair(const MainMod& state, const BuilderCall& call) {
    ExternalPairGeometry g;
    const PairGeometryResult pair = PairOf(state, call);
    if (!pair.ok()) {
        return ExternalPairResult::Failure(pair.fault());
    }
    CopyPair(g, pair.value());
    const ToothProfileResult profile = ToothProfile(PairProfileInput(state, pair.value()));
    if (!profile.ok()) {
        const GeometryError& e = profile.fault();
        const WheelRole role = e.wheel == 1   ? WheelRole::Wheel1
                               : e.wheel == 2 ? WheelRole::Wheel2
                                              : WheelRole::Pair;
        return ExternalPairResult::Failure(
            WheelError(e.fault, e.wheel, role, {e.points, e.onFillet, e.allowed}));
    }
    PairFlanksResult chosen = ChooseFlanks(state, call, pair.value(), profile.value());
    if (!chosen.ok()) {
        return ExternalPairResult::Failure(chosen.fault());
    }
    PairFlanks flanks = std::move(chosen).value();

    g.flank1 = std::move(flanks.flank1);
    g.flank2 = std::move(flanks.flank2);
    g.members1 = std::move(flanks.members1);
    g.members2 = std::move(flanks.members2);
    g.wheel1 = PlacedOutline(call.Z1, g.flank1, false);
    // Wheel 2 faces wheel 1 across the centre line: with an even count a tooth would stand on
    // the line, so it is turned by half a pitch to put a space there.
    const double phi = call.Z2 - 2 * (call.Z2 / 2) == 0 ? kPi / call.Z2 : 0;
    g.wheel2 = PlacedOutline(call.Z2, g.flank2, false,
                             {phi > 0 ? std::optional<double>(phi) : std::nullopt, g.aw});
    if (!g.wheel1.AllFinite()) {
        return Refuse(GeometryFault::NonFinitePoint, 1);
    }
    if (!g.wheel2.AllFinite()) {
        return Refuse(GeometryFault::NonFinitePoint, 2);
    }
    return g;
}

std::vector<DrawnFlank> FlanksOf(const ExternalPairGeometry& g, const BuilderCall& call) {
    return {DrawnFlank{g.flank1, g.members1, call.Z1, false},
            DrawnFlank{g.flank2, g.members2, call.Z2, false}};
}

DrawResult DrawExternalPair(const MainMod& state, const BuilderCall& call, DxfSink* tap,
                            std::vector<DrawnFlank>* flanks) {
    const ExternalPairResult g = ComputeExternalPair(state, call);
    if (!g.ok()) {
        return Refused(g.fault());
    }
    if (flanks != nullptr) {
        *flanks = FlanksOf(g.value(), call);
    }
    return WriteComputed(state.OutFile, {&g->wheel1, &g->wheel2}, {0, g->aw}, tap);
}

}  // namespace tarvo
