// A computed drawing's flanks in the designer's order.
#include "drawing/drawn_flank.h"

#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"
#include "profile/pair_geometry.h"

namespace tarvo {

namespace {

DrawnFlank Flank(const std::vector<PointXY>& points, const FlankMembers& members, int z,
                 bool internal) {
    DrawnFlank flank;
    flank.points = points;
    flank.members = members;
    flank.z = z;
    flank.internal = internal;
    return flank;
}

}  // namespace

std::vector<DrawnFlank> FlanksOf(const ExternalPairGeometry& g, const BuilderCall& call) {
    return {Flank(g.flank1, g.members1, call.Z1, false),
            Flank(g.flank2, g.members2, call.Z2, false)};
}

std::vector<DrawnFlank> FlanksOf(const InternalPairGeometry& g, const BuilderCall& call) {
    DrawnFlank pinion = Flank(g.pinionFlank, g.pinionMembers, g.zp, false);
    DrawnFlank ring = Flank(g.ringFlank, g.ringMembers, g.zr, true);
    // Wheel 1 is the pinion when the designer entered the smaller count first.
    if (FirstIsPinion(call.Z1, call.Z2)) {
        return {std::move(pinion), std::move(ring)};
    }
    return {std::move(ring), std::move(pinion)};
}

std::vector<DrawnFlank> FlanksOf(const SplineGeometry& g, const BuilderCall& call) {
    return {Flank(g.flank, g.members, call.Z, call.hub)};
}

}  // namespace tarvo
