// A pair built again in memory from its call, with the point counts or the chord tolerance an
// overlap search tries, as the mesh check turns it. Nothing is written.
#pragma once

#include <optional>
#include <vector>

#include "drawing/builder_call.h"
#include "profile/main_mod.h"
#include "profile/point_xy.h"
#include "report/mesh_check.h"

namespace tarvo {

// Wheel 1 is the wheel entered first: in an internal pair the pinion or the ring.
struct RebuiltPair {
    std::vector<PointXY> outline1, outline2;
    PointXY centre1, centre2;
    int z1 = 0, z2 = 0;
    bool internal1 = false, internal2 = false;

    // The wheels as the mesh check takes them; they point into this pair's outlines.
    MeshWheel Wheel1() const;
    MeshWheel Wheel2() const;
};

// The gear pair `call` describes, built with `state` (the rack, and the counts or the tolerance
// the search sets); nothing when the builder refuses the teeth with them.
std::optional<RebuiltPair> RebuildPair(const MainMod& state, const BuilderCall& call);

// Whether that pair overlaps, tried first at wheel 1's turn `likelyTurn` (MeshOverlaps). Teeth
// the builder refuses clear nothing: they count as an overlap at `likelyTurn`.
OverlapFound RebuiltOverlaps(const MainMod& state, const BuilderCall& call, double likelyTurn,
                             const MeshLimits& limits);

}  // namespace tarvo
