// Whether an overlap of a pair's drawn outlines goes with a chord tolerance: the pair is rebuilt
// in memory with its points placed for finer and finer tolerances until its outlines no longer
// overlap. Nothing is written.
#pragma once

#include <optional>

#include "drawing/builder_call.h"
#include "profile/main_mod.h"
#include "report/mesh_check.h"

namespace tarvo {

// The tolerances tried, mm, coarsest first: steps of 1, 2, 5 from 10 micrometres (coarser than
// the chords of the first counts on a small wheel) down to a tenth of a micrometre.
constexpr double kRemedyTolerances[] = {0.01, 0.005, 0.002, 0.001, 0.0005, 0.0002, 0.0001};

struct OverlapTolerance {
    // The coarsest tolerance tried that clears it, mm; nothing when none does.
    std::optional<double> tolerance;
};

// The coarsest tolerance of kRemedyTolerances (finer than the drawing's own, when it was drawn
// for one) at which the rebuilt pair does not overlap. `drawn`: the check of the drawing; where
// it overlaps is tried first in each rebuild. Nothing when the outlines do not overlap or the
// drawing is not a pair.
std::optional<OverlapTolerance> FindOverlapTolerance(const MainMod& state, const BuilderCall& call,
                                                     const MeshClearance& drawn);

}  // namespace tarvo
