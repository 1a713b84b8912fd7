// The pair rebuilt with its builder's geometry step: the external pair's wheels as drawn, the
// internal pair's ring about the origin and its pinion at (aw, 0), in the order entered.
#include "report/rebuilt_pair.h"

#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "profile/pair_geometry.h"

namespace tarvo {

namespace {

MeshWheel Wheel(const std::vector<PointXY>& outline, PointXY centre, int z, bool internal) {
    MeshWheel wheel;
    wheel.outline = &outline;
    wheel.centre = centre;
    wheel.teeth = z;
    wheel.internal = internal;
    return wheel;
}

}  // namespace

MeshWheel RebuiltPair::Wheel1() const {
    return Wheel(outline1, centre1, z1, internal1);
}

MeshWheel RebuiltPair::Wheel2() const {
    return Wheel(outline2, centre2, z2, internal2);
}

std::optional<RebuiltPair> RebuildPair(const MainMod& state, const BuilderCall& call) {
    RebuiltPair pair;
    pair.z1 = call.Z1;
    pair.z2 = call.Z2;
    if (call.kind == BuilderCall::Kind::ExternalPair) {
        const ExternalPairResult built = ComputeExternalPair(state, call);
        if (!built.ok()) {
            return std::nullopt;
        }
        pair.outline1 = built->wheel1.Points();
        pair.outline2 = built->wheel2.Points();
        pair.centre2 = {built->aw, 0};
        return pair;
    }
    const InternalPairResult built = ComputeInternalPair(state, call);
    if (!built.ok()) {
        return std::nullopt;
    }
    const InternalPairGeometry& g = built.value();
    const bool pinionFirst = FirstIsPinion(call.Z1, call.Z2);
    pair.outline1 = (pinionFirst ? g.pinion : g.ring).Points();
    pair.outline2 = (pinionFirst ? g.ring : g.pinion).Points();
    (pinionFirst ? pair.centre1 : pair.centre2) = {g.aw, 0};
    pair.internal1 = !pinionFirst;
    pair.internal2 = pinionFirst;
    return pair;
}

OverlapFound RebuiltOverlaps(const MainMod& state, const BuilderCall& call, double likelyTurn,
                             const MeshLimits& limits) {
    const std::optional<RebuiltPair> pair = RebuildPair(state, call);
    if (!pair) {
        return {true, likelyTurn};
    }
    return MeshOverlaps(pair->Wheel1(), pair->Wheel2(), likelyTurn, kMeshStepsPerPitch, limits);
}

}  // namespace tarvo
