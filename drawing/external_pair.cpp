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
    const WheelRole role =
        wheel == 1 ? WheelRole::Wheel1 : wheel == 2 ? WheelRole::Wheel2 : WheelRole::Pair;
    return ExternalPairResult::Failure({fault, wheel, role});
}

// Diameters and centre distance from the working angle; tips shortened so the pair keeps its
// clearance at the working centre distance.
void PairDiameters(ExternalPairGeometry& g, const BuilderCall& call, const TransverseSection& t) {
    const double mt = t.mt;
    const double d1 = call.Z1 * mt;
    const double d2 = call.Z2 * mt;
    const double a0 = (d1 + d2) / 2;
    const double aw = (std::cos(t.alphaT) * a0) / std::cos(g.alphaTw);
    const double y = (aw - a0) / mt;
    const double dy = (t.x1 + t.x2) - y;  // tip shortening
    g.aw = aw;
    g.d1 = d1;
    g.d2 = d2;
    g.da1 = d1 + (2 * mt) * ((t.ha + t.x1) - dy);
    g.da2 = d2 + (2 * mt) * ((t.ha + t.x2) - dy);
    g.db1 = d1 * std::cos(t.alphaT);
    g.db2 = d2 * std::cos(t.alphaT);
}

ToothProfileInput ProfileInput(const MainMod& state, const ExternalPairGeometry& g,
                               const BuilderCall& call, const TransverseSection& t) {
    ToothProfileInput in = PairProfileInput(state, call, t, g.alphaTw, false);
    in.member1 = {call.Z1, g.d1, g.da1, g.db1, t.x1};
    in.member2 = {call.Z2, g.d2, g.da2, g.db2, t.x2};
    return in;
}

// The flanks both wheels are drawn with: the generator's, or with the rack-cut root the flank
// the cutting rack leaves on each (same tip circle, backlash share and point counts).
struct PairFlanks {
    GeometryError error;
    std::vector<PointXY> flank1;
    std::vector<PointXY> flank2;
    FlankMembers members1;
    FlankMembers members2;
};

PairFlanks CutFlanks(const MainMod& state, const BuilderCall& call, const ToothProfileInput& in,
                     const ToothProfileFlanks& profile) {
    PairFlanks f{{}, profile.Prof1, profile.Prof2, profile.members1, profile.members2};
    if (!state.CutFillet) {
        return f;
    }
    for (const int wheel : {1, 2}) {
        const MeshMember& member = wheel == 1 ? in.member1 : in.member2;
        RackCutFlankResult r = PairMemberRackCutFlank(state, call, in, member.z,
                                                      wheel == 1 ? call.x1 : call.x2, member.da);
        if (!r.ok()) {
            const WheelRole role = wheel == 1 ? WheelRole::Wheel1 : WheelRole::Wheel2;
            f.error = WheelError(
                r.fault(), wheel, role,
                r.fault() == GeometryFault::ToleranceTooFine
                    ? PairMemberRackCutShortfall(state, call, in, member.z,
                                                 wheel == 1 ? call.x1 : call.x2, member.da)
                    : ToleranceShortfall{});
            return f;
        }
        RackCutFlankCurve cut = std::move(r).value();
        (wheel == 1 ? f.flank1 : f.flank2) = std::move(cut.flank);
        (wheel == 1 ? f.members1 : f.members2) = std::move(cut.members);
    }
    return f;
}

// The flanks as above, refused when a tooth is pointed or neighbouring fillets cross.
PairFlanks ChooseFlanks(const MainMod& state, const BuilderCall& call, const ToothProfileInput& in,
                        const ToothProfileFlanks& profile) {
    PairFlanks f = CutFlanks(state, call, in, profile);
    for (const int wheel : {1, 2}) {
        if (!f.error.ok()) {
            break;
        }
        const GeometryFault crossing = CheckExternalFlank(
            wheel == 1 ? f.flank1 : f.flank2, wheel == 1 ? call.Z1 : call.Z2, LengthUnit(call.m));
        if (crossing != GeometryFault::None) {
            f.error = {crossing, wheel, wheel == 1 ? WheelRole::Wheel1 : WheelRole::Wheel2};
        }
    }
    return f;
}

}  // namespace

ExternalPairResult ComputeExternalPair(const MainMod& state, const BuilderCall& call) {
    ExternalPairGeometry g;
    const GeometryError refused = CheckPairCall(call, false);
    if (!refused.ok()) {
        return ExternalPairResult::Failure(refused);
    }
    const TransverseSection t = ToTransverse(state, call, false);
    g.mt = t.mt;
    g.alphaT = t.alphaT;
    g.x1 = t.x1;
    g.x2 = t.x2;

    const ArcInvResult working =
        ArcInv(((2 * (t.x1 + t.x2)) * std::tan(t.alphaT)) / (call.Z1 + call.Z2) + Inv(t.alphaT));
    if (!working.ok()) {
        return Refuse(GeometryFault::WorkingAngleNotFound, 0);
    }
    g.alphaTw = working.value();
    // A working angle of zero or less (or past a right angle) leaves both outlines crossed.
    if (!(g.alphaTw > 0 && g.alphaTw < kPi / 2)) {
        return Refuse(GeometryFault::WorkingAngleNotPositive, 0);
    }
    PairDiameters(g, call, t);

    const ToothProfileInput in = ProfileInput(state, g, call, t);
    const ToothProfileResult profile = ToothProfile(in);
    if (!profile.ok()) {
        const GeometryError& e = profile.fault();
        const WheelRole role = e.wheel == 1   ? WheelRole::Wheel1
                               : e.wheel == 2 ? WheelRole::Wheel2
                                              : WheelRole::Pair;
        return ExternalPairResult::Failure(
            WheelError(e.fault, e.wheel, role, {e.points, e.onFillet, e.allowed}));
    }
    PairFlanks flanks = ChooseFlanks(state, call, in, profile.value());
    if (!flanks.error.ok()) {
        return ExternalPairResult::Failure(flanks.error);
    }

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

DrawResult DrawExternalPair(const MainMod& state, const BuilderCall& call) {
    const ExternalPairResult g = ComputeExternalPair(state, call);
    if (!g.ok()) {
        return Refused(g.fault());
    }
    return WriteComputed(state.OutFile, {&g->wheel1, &g->wheel2}, {0, g->aw});
}

}  // namespace tarvo
