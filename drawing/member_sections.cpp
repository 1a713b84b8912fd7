// Members for the solids: the drawing's builders run once more at the dense accuracy, their
// flanks kept with the placement the drawing gives each wheel.
#include "drawing/member_sections.h"

#include <cmath>

#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"
#include "math/constants.h"
#include "math/involute.h"
#include "profile/gear_outline.h"
#include "profile/pair_geometry.h"

namespace tarvo {

namespace {

// The junction of a flank as the generator lays it out: an external flank's fillet fills its
// first AccPer points, the last of them where the involute starts (the rack-cut flank keeps the
// same count); an internal flank starts with AccEv involute steps from the tip.
std::size_t ExternalJunction() {
    return static_cast<std::size_t>(kSectionAccPer - 1);
}
std::size_t InternalJunction() {
    return static_cast<std::size_t>(kSectionAccEv);
}

MemberSection External(WheelRole role, int z, std::vector<PointXY> flank) {
    MemberSection s;
    s.role = role;
    s.z = z;
    s.internal = false;
    s.flank = std::move(flank);
    s.junction = ExternalJunction();
    return s;
}

MemberSection Internal(WheelRole role, int z, const std::vector<PointXY>& flank) {
    MemberSection s;
    s.role = role;
    s.z = z;
    s.internal = true;
    // The drawing ends the cutter's fillet on the space's centre line; the solid does the same.
    s.flank = EndFilletOnSpaceCentreLine(z, flank);
    s.junction = InternalJunction();
    return s;
}

}  // namespace

MemberSectionsResult ComputeMemberSections(const MainMod& state, const BuilderCall& call,
                                           Hand wheel1Hand) {
    MainMod dense = state;
    dense.AccEv = kSectionAccEv;
    dense.AccPer = kSectionAccPer;
    const double beta = GradToRad(call.beta);
    // The hand is given apart: a negative helix angle means a left hand, which the caller
    // passes as such, so the twist takes the angle's size only.
    const double tanBeta = std::tan(std::fabs(beta));
    const double normalModule = call.m;
    std::vector<MemberSection> members;
    switch (call.kind) {
        case BuilderCall::Kind::ExternalPair: {
            const ExternalPairResult g = ComputeExternalPair(dense, call);
            if (!g.ok()) {
                return MemberSectionsResult::Failure(g.fault());
            }
            MemberSection w1 = External(WheelRole::Wheel1, call.Z1, g->flank1);
            w1.d = g->d1;
            w1.hand = wheel1Hand;
            MemberSection w2 = External(WheelRole::Wheel2, call.Z2, g->flank2);
            w2.d = g->d2;
            w2.hand = Opposite(wheel1Hand);
            // As the drawing: wheel 2 turned by half a pitch when its count is even.
            w2.turn = call.Z2 % 2 == 0 ? kPi / call.Z2 : 0;
            w2.centreX = g->aw;
            members = {std::move(w1), std::move(w2)};
            break;
        }
        case BuilderCall::Kind::InternalPair: {
            const InternalPairResult g = ComputeInternalPair(dense, call);
            if (!g.ok()) {
                return MemberSectionsResult::Failure(g.fault());
            }
            const bool firstIsPinion = FirstIsPinion(call.Z1, call.Z2);
            MemberSection ring = Internal(firstIsPinion ? WheelRole::Wheel2 : WheelRole::Wheel1,
                                          g->zr, g->ringFlank);
            ring.d = g->dr;
            MemberSection pinion = External(firstIsPinion ? WheelRole::Wheel1 : WheelRole::Wheel2,
                                            g->zp, g->pinionFlank);
            pinion.d = g->dp;
            pinion.turn = kPi / g->zp;  // as the drawing, whatever the parity
            pinion.centreX = g->aw;
            // An internal mesh: both wheels of one hand.
            ring.hand = wheel1Hand;
            pinion.hand = wheel1Hand;
            members = {std::move(ring), std::move(pinion)};
            break;
        }
        case BuilderCall::Kind::Spline: {
            const SplineResult g = ComputeSpline(dense, call);
            if (!g.ok()) {
                return MemberSectionsResult::Failure(g.fault());
            }
            MemberSection s = call.hub ? Internal(WheelRole::Hub, call.Z, g->flank)
                                       : External(WheelRole::Shaft, call.Z, g->flank);
            s.d = g->d;
            if (call.hub) {
                s.turn = kPi / call.Z;  // as the drawing turns the hub
            }
            members = {std::move(s)};
            break;
        }
    }
    for (MemberSection& s : members) {
        s.tanBeta = call.kind == BuilderCall::Kind::Spline ? 0 : tanBeta;
        s.module = normalModule;
    }
    return members;
}

}  // namespace tarvo
