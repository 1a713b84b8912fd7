// The search for point counts that clear an overlap: each count is a rebuild of the pair with
// its builder's geometry step and a mesh check that stops at the first overlapping position.
#include "report/overlap_remedy.h"

#include <algorithm>
#include <optional>

#include "report/mesh_check.h"
#include "report/rebuilt_pair.h"

namespace tarvo {

namespace {

// The drawing's state with `involute` and `fillet` points.
MainMod WithCounts(const MainMod& state, int involute, int fillet) {
    MainMod copy = state;
    copy.AccEv = involute;
    copy.AccPer = fillet;
    return copy;
}

// Whether the pair drawn with `involute` and `fillet` points would overlap. A count at which the
// builder refuses the teeth clears nothing.
OverlapFound OverlapsAt(const MainMod& state, const BuilderCall& call, double likelyTurn,
                        int involute, int fillet) {
    return RebuiltOverlaps(WithCounts(state, involute, fillet), call, likelyTurn, kOwnOutlines);
}

// The overlap left at the most points of both kinds: the drawing's own when drawn so.
// A check that cannot be made finds no depth.
MeshClearance FinestCheck(const MainMod& state, const BuilderCall& call,
                          const MeshClearance& drawn) {
    if (state.AccEv == kMaxAccEv && state.AccPer == kMaxAccPer) {
        return drawn;
    }
    const std::optional<RebuiltPair> pair =
        RebuildPair(WithCounts(state, kMaxAccEv, kMaxAccPer), call);
    if (!pair) {
        return drawn;
    }
    const MeshCheckResult finest =
        CheckMesh(pair->Wheel1(), pair->Wheel2(), kMeshStepsPerPitch, kOwnOutlines);
    return finest.ok() ? finest.value() : MeshClearance{};
}

}  // namespace

std::optional<OverlapRemedy> FindOverlapRemedy(const MainMod& state, const BuilderCall& call,
                                               const MeshClearance& drawn) {
    if (call.kind == BuilderCall::Kind::Spline) {
        return std::nullopt;
    }
    OverlapRemedy remedy;
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
