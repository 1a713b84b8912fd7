// Whether an overlap of a pair's drawn outlines comes from the chords between too few points:
// the pair is rebuilt in memory with more points on the transition curve (and, if that is not
// enough, on the involute) until its outlines no longer overlap. Nothing is written.
#pragma once

#include <optional>

#include "drawing/builder_call.h"
#include "profile/main_mod.h"
#include "report/mesh_check.h"

namespace tarvo {

struct OverlapRemedy {
    enum class Verdict {
        MorePoints,  // the counts below clear it: the chords caused it
        InGeometry,  // no allowed count clears it: the teeth themselves overlap
    };
    Verdict verdict = Verdict::MorePoints;
    int filletPoints = 0;    // with MorePoints: the fewest transition-curve points that clear it
    int involutePoints = 0;  // with MorePoints: the involute points with them
    bool moreInvolutePoints = false;  // involutePoints exceeds the drawing's own
    // With InGeometry: the overlap left at the most points of both kinds, mm, and wheel 1's turn
    // there, degrees.
    double finestDepth = 0;
    double finestTurn = 0;
};

// The fewest transition-curve points above the drawing's (state.AccPer) that clear the overlap
// at the drawing's involute points (state.AccEv); when none does, the fewest involute points
// above the drawing's that clear it with the most fillet points, and then the fewest fillet
// points, from the drawing's own, that clear it with those. Fewer points than the drawing's are
// not tried: chords only grow with fewer points. `drawn`: the check of the drawing; where it
// overlaps is tried first in each rebuild, so that a count that still overlaps costs one
// position. Nothing for a drawing that is not a pair.
std::optional<OverlapRemedy> FindOverlapRemedy(const MainMod& state, const BuilderCall& call,
                                               const MeshClearance& drawn);

}  // namespace tarvo
