// The search for point counts that clear an overlap: each count is a rebuild of the pair with
// its builder's geometry step and a mesh check that stops at the first overlapping position.
#include "report/overlap_remedy.h"

#include <algorithm>
#include <vector>

#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "profile/pair_geometry.h"
#include "report/mesh_check.h"

namespace tarvo {

namespace {

// The pair built in memory with other point counts, as the mesh check turns it: wheel 1 is the
// wheel entered first. `built` is false when the builder refuses the teeth at these counts.
struct RebuiltPair {
    bool built = false;
    std::vector<PointXY> outline1, outline2;
    PointXY centre1, centre2;
    int z1 = 0, z2 = 0;
    bool internal1 = false, internal2 = false;

    MeshWheel Wheel1() const { return Wheel(outline1, centre1, z1, internal1); }
    MeshWheel Wheel2() const { return Wheel(outline2, centre2, z2, internal2); }

    static MeshWheel Wheel(const std::vector<PointXY>& outline, PointXY centre, int z,
                           bool internal) {
        MeshWheel wheel;
        wheel.outline = &outline;
        wheel.centre = centre;
        wheel.teeth = z;
        wheel.internal = internal;
        return wheel;
    }
};

RebuiltPair Rebuild(const MainMod& state, const BuilderCall& call, int involute, int fillet) {
    MainMod copy = state;
    copy.AccEv = involute;
    copy.AccPer = fillet;
    RebuiltPair pair;
    pair.z1 = call.Z1;
    pair.z2 = call.Z2;
    if (call.kind == BuilderCall::Kind::ExternalPair) {
        const ExternalPairResult built = ComputeExternalPair(copy, call);
        pair.built = built.ok();
        if (pair.built) {
            pair.outline1 = built->wheel1.Points();
            pair.outline2 = built->wheel2.Points();
            pair.centre2 = {built->aw, 0};
        }
        return pair;
    }
    const InternalPairResult built = ComputeInternalPair(copy, call);
    pair.built = built.ok();
    if (!pair.built) {
        return pair;
    }
    const InternalPairGeometry& g = built.value();
    // The ring lies about the origin, the pinion at (aw, 0).
    const bool pinionFirst = FirstIsPinion(call.Z1, call.Z2);
    pair.outline1 = (pinionFirst ? g.pinion : g.ring).Points();
    pair.outline2 = (pinionFirst ? g.ring : g.pinion).Points();
    (pinionFirst ? pair.centre1 : pair.centre2) = {g.aw, 0};
    pair.internal1 = !pinionFirst;
    pair.internal2 = pinionFirst;
    return pair;
}

// Whether the pair drawn with `involute` and `fillet` points would overlap. A count at which the
// builder refuses the teeth clears nothing.
OverlapFound OverlapsAt(const MainMod& state, const BuilderCall& call, double likelyTurn,
                        int involute, int fillet) {
    const RebuiltPair pair = Rebuild(state, call, involute, fillet);
    if (!pair.built) {
        return {true, likelyTurn};
    }
    return MeshOverlaps(pair.Wheel1(), pair.Wheel2(), likelyTurn, kMeshStepsPerPitch, kOwnOutlines);
}

// The overlap left at the most points of both kinds: the drawing's own when drawn so.
// A check that cannot be made finds no depth.
MeshClearance FinestCheck(const MainMod& state, const BuilderCall& call,
                          const MeshClearance& drawn) {
    if (state.AccEv == kMaxAccEv && state.AccPer == kMaxAccPer) {
        return drawn;
    }
    const RebuiltPair pair = Rebuild(state, call, kMaxAccEv, kMaxAccPer);
    if (!pair.built) {
        return drawn;
    }
    const MeshCheckResult finest =
        CheckMesh(pair.Wheel1(), pair.Wheel2(), kMeshStepsPerPitch, kOwnOutlines);
    return finest.ok() ? finest.value() : MeshClearance{};
}

}  // namespace

OverlapRemedy FindOverlapRemedy(const MainMod& state, const BuilderCall& call,
                                const MeshClearance& drawn) {
    OverlapRemedy remedy;
    if (call.kind == BuilderCall::Kind::Spline) {
        return remedy;
    }
    // Each rebuild starts where the last one overlapped: the overlap moves little from one
    // count to the next.
    double likelyTurn = drawn.overlapTurn;
    auto clears = [&](int involute, int fillet) {
        const OverlapFound found = OverlapsAt(state, call, likelyTurn, involute, fillet);
        likelyTurn = found.overlap ? found.turn : likelyTurn;
        return !found.overlap;
    };
    // The fewest fillet points from `from` up to `upTo` that clear it; upTo + 1 when none does.
    auto fewestFillet = [&](int involute, int from, int upTo) {
        int fillet = std::max(from, kMinAccPer);
        while (fillet <= upTo && !clears(involute, fillet)) {
            ++fillet;
        }
        return std::min(fillet, upTo + 1);
    };
    remedy.verdict = OverlapRemedy::Verdict::MorePoints;
    remedy.involutePoints = state.AccEv;
    remedy.filletPoints = fewestFillet(state.AccEv, state.AccPer + 1, kMaxAccPer);
    if (remedy.filletPoints <= kMaxAccPer) {
        return remedy;
    }
    for (int involute = std::max(state.AccEv + 1, kMinAccEv); involute <= kMaxAccEv; ++involute) {
        if (clears(involute, kMaxAccPer)) {
            remedy.involutePoints = involute;
            remedy.moreInvolutePoints = true;
            // With more involute points the drawing's own fillet count may already do.
            remedy.filletPoints = fewestFillet(involute, state.AccPer, kMaxAccPer - 1);
            return remedy;
        }
    }
    remedy = OverlapRemedy{};
    remedy.verdict = OverlapRemedy::Verdict::InGeometry;
    const MeshClearance finest = FinestCheck(state, call, drawn);
    remedy.finestDepth = finest.overlapDepth;
    remedy.finestTurn = finest.overlapTurn;
    return remedy;
}

}  // namespace tarvo
