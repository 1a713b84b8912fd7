// The search for a chord tolerance that clears an overlap: each tolerance is a rebuild of the
// pair with its builder's geometry step and a mesh check that stops at the first overlapping
// position.
#include "report/overlap_tolerance.h"

#include "report/rebuilt_pair.h"

namespace tarvo {

namespace {

// Whether the pair drawn with its points placed for `tolerance` would overlap. A tolerance at
// which the builder refuses the teeth clears nothing.
OverlapFound OverlapsAt(const MainMod& state, const BuilderCall& call, double likelyTurn,
                        double tolerance) {
    MainMod copy = state;
    copy.Tolerance = tolerance;
    return RebuiltOverlaps(copy, call, likelyTurn, MeshLimits{});
}

}  // namespace

std::optional<OverlapTolerance> FindOverlapTolerance(const MainMod& state, const BuilderCall& call,
                                                     const MeshClearance& drawn) {
    if (call.kind == BuilderCall::Kind::Spline || !drawn.overlap) {
        return std::nullopt;
    }
    OverlapTolerance remedy;
    double likelyTurn = drawn.overlapTurn;
    for (const double tolerance : kRemedyTolerances) {
        if (state.Tolerance > 0 && !(tolerance < state.Tolerance)) {
            continue;
        }
        const OverlapFound found = OverlapsAt(state, call, likelyTurn, tolerance);
        if (!found.overlap) {
            remedy.tolerance = tolerance;
            return remedy;
        }
        likelyTurn = found.turn;
    }
    return remedy;
}

}  // namespace tarvo
