// The search for point counts that clear an overlap: each count is a rebuild of the pair with
// its builder's geometry step and a mesh check that stops at the first overlapping position.
#include "report/overlap_remedy.h"

#include <algorithm>
#include <vector>

#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "report/mesh_check.h"

namespace tarvo {

namespace {

std::vector<PointXY> Points(const Outline& outline) {
    std::vector<PointXY> points;
    points.reserve(outline.size() / 2);
    for (std::size_t i = 0; i + 1 < outline.size(); i += 2) {
        points.push_back({outline[i], outline[i + 1]});
    }
    return points;
}

// Whether the pair drawn with `involute` and `fillet` points would overlap. A count at which the
// builder refuses the teeth clears nothing.
OverlapFound OverlapsAt(const MainMod& state, const BuilderCall& call, double overlapTurn,
                        int involute, int fillet) {
    MainMod copy = state;
    copy.AccEv = involute;
    copy.AccPer = fillet;
    copy.SingleMember = false;
    if (call.kind == BuilderCall::Kind::ExternalPair) {
        const ExternalPairGeometry g = ComputeExternalPair(
            copy, call.Z1, call.Z2, call.m, call.beta, call.alpha, call.x1, call.x2, call.jn);
        if (!g.error.ok()) {
            return {true, overlapTurn};
        }
        const std::vector<PointXY> wheel1 = Points(g.wheel1);
        const std::vector<PointXY> wheel2 = Points(g.wheel2);
        return MeshOverlaps({&wheel1, {0, 0}, call.Z1, false}, {&wheel2, {g.aw, 0}, call.Z2, false},
                            overlapTurn);
    }
    const InternalPairGeometry g = ComputeInternalPair(copy, call.Z1, call.Z2, call.m, call.beta,
                                                       call.alpha, call.x1, call.x2, call.jn);
    if (!g.error.ok()) {
        return {true, overlapTurn};
    }
    // The ring lies about the origin, the pinion at (aw, 0); wheel 1 is the one entered first.
    const std::vector<PointXY> ring = Points(g.ring);
    const std::vector<PointXY> pinion = Points(g.pinion);
    const MeshWheel ringWheel{&ring, {0, 0}, g.zr, true};
    const MeshWheel pinionWheel{&pinion, {g.aw, 0}, g.zp, false};
    return call.Z1 < call.Z2 ? MeshOverlaps(pinionWheel, ringWheel, overlapTurn)
                             : MeshOverlaps(ringWheel, pinionWheel, overlapTurn);
}

}  // namespace

OverlapRemedy FindOverlapRemedy(const MainMod& state, const BuilderCall& call, double overlapTurn) {
    OverlapRemedy remedy;
    if (call.kind == BuilderCall::Kind::Spline) {
        return remedy;
    }
    // Each rebuild starts where the last one overlapped: the overlap moves little from one
    // count to the next.
    double likelyTurn = overlapTurn;
    auto clears = [&](int involute, int fillet) {
        const OverlapFound found = OverlapsAt(state, call, likelyTurn, involute, fillet);
        likelyTurn = found.overlap ? found.turn : likelyTurn;
        return !found.overlap;
    };
    // The fewest fillet points from `from` up to `upTo` that clear it; upTo + 1 when none does.
    auto fewestFillet = [&](int involute, int from, int upTo) {
        int fillet = std::max(from, kFewestFilletPoints);
        while (fillet <= upTo && !clears(involute, fillet)) {
            ++fillet;
        }
        return std::min(fillet, upTo + 1);
    };
    remedy.verdict = OverlapRemedy::Verdict::MorePoints;
    remedy.involutePoints = state.AccEv;
    remedy.filletPoints = fewestFillet(state.AccEv, state.AccPer + 1, kMostFilletPoints);
    if (remedy.filletPoints <= kMostFilletPoints) {
        return remedy;
    }
    for (int involute = std::max(state.AccEv + 1, kFewestInvolutePoints);
         involute <= kMostInvolutePoints; ++involute) {
        if (clears(involute, kMostFilletPoints)) {
            remedy.involutePoints = involute;
            remedy.moreInvolutePoints = true;
            // With more involute points the drawing's own fillet count may already do.
            remedy.filletPoints = fewestFillet(involute, state.AccPer, kMostFilletPoints - 1);
            return remedy;
        }
    }
    remedy = OverlapRemedy{};
    remedy.verdict = OverlapRemedy::Verdict::InGeometry;
    return remedy;
}

}  // namespace tarvo
