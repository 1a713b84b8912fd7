// The search for a chord tolerance that clears an overlap: each tolerance is a rebuild of the
// pair with its builder's geometry step and a mesh check that stops at the first overlapping
// position.
#include "report/overlap_tolerance.h"

#include <vector>

#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "profile/pair_geometry.h"

namespace tarvo {

namespace {

// Whether the pair drawn with its points placed for `tolerance` would overlap, wheel 1 being the
// wheel entered first. A tolerance at which the builder refuses the teeth clears nothing.
OverlapFound OverlapsAt(const MainMod& state, const BuilderCall& call, double likelyTurn,
                        double tolerance) {
    MainMod copy = state;
    copy.Tolerance = tolerance;
    const OverlapFound refused{true, likelyTurn};
    if (call.kind == BuilderCall::Kind::ExternalPair) {
        const ExternalPairResult built = ComputeExternalPair(copy, call);
        if (!built.ok()) {
            return refused;
        }
        const std::vector<PointXY> o1 = built->wheel1.Points();
        const std::vector<PointXY> o2 = built->wheel2.Points();
        return MeshOverlaps({&o1, {0, 0}, call.Z1, false}, {&o2, {built->aw, 0}, call.Z2, false},
                            likelyTurn);
    }
    const InternalPairResult built = ComputeInternalPair(copy, call);
    if (!built.ok()) {
        return refused;
    }
    // The ring lies about the origin, the pinion at (aw, 0).
    const InternalPairGeometry& g = built.value();
    const std::vector<PointXY> pinion = g.pinion.Points();
    const std::vector<PointXY> ring = g.ring.Points();
    const MeshWheel p{&pinion, {g.aw, 0}, g.zp, false};
    const MeshWheel r{&ring, {0, 0}, g.zr, true};
    return FirstIsPinion(call.Z1, call.Z2) ? MeshOverlaps(p, r, likelyTurn)
                                           : MeshOverlaps(r, p, likelyTurn);
}

}  // namespace

OverlapTolerance FindOverlapTolerance(const MainMod& state, const BuilderCall& call,
                                      const MeshClearance& drawn) {
    OverlapTolerance remedy;
    if (call.kind == BuilderCall::Kind::Spline || !drawn.overlap) {
        return remedy;
    }
    remedy.sought = true;
    double likelyTurn = drawn.overlapTurn;
    for (const double tolerance : kRemedyTolerances) {
        if (state.Tolerance > 0 && !(tolerance < state.Tolerance)) {
            continue;
        }
        const OverlapFound found = OverlapsAt(state, call, likelyTurn, tolerance);
        if (!found.overlap) {
            remedy.found = true;
            remedy.tolerance = tolerance;
            return remedy;
        }
        likelyTurn = found.turn;
    }
    return remedy;
}

}  // namespace tarvo
