// How closely a drawing follows the true teeth: for each wheel, the largest distance between the
// drawn chords and the exact curves they stand for (involute, fillet, and the single chords of
// the tip and root lands), with the side each errs to, and the points a flank was drawn with.
#pragma once

#include <vector>

#include "drawing/builder_call.h"
#include "profile/chord_deviation.h"
#include "profile/main_mod.h"

namespace tarvo {

struct WheelAccuracy {
    bool known = false;       // false when the wheel's flank could not be rebuilt
    FlankDeviation flank;     // involute and fillet against their exact curves
    ChordDeviation tipLand;   // the tip land's chord against the tip circle
    ChordDeviation rootLand;  // the root land's chord against the circle through its ends
};

// One entry per wheel in the order of the data sheet (a pair's wheels as the designer entered
// them, or the spline member), from the flanks the builder computes for `call` with `state`.
std::vector<WheelAccuracy> DrawnAccuracy(const MainMod& state, const BuilderCall& call);

}  // namespace tarvo
