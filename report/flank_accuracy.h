// How closely a drawing follows the true teeth: for each wheel, the largest distance between the
// drawn chords and the exact curves they stand for (involute, fillet, and the single chords of
// the tip and root lands), with the side each errs to, and the points a flank was drawn with.
#pragma once

#include <optional>

#include "profile/chord_deviation.h"
#include "report/drawn_involute.h"

namespace tarvo {

struct WheelAccuracy {
    FlankDeviation flank;     // involute and fillet against their exact curves
    ChordDeviation tipLand;   // the tip land's chord against the tip circle
    ChordDeviation rootLand;  // the root land's chord against the circle through its ends
};

// The accuracy of one wheel's drawn outline, from the flank its builder made it of; nothing when
// the flank holds too few points or its exact curves could not be rebuilt.
std::optional<WheelAccuracy> DrawnAccuracy(const DrawnFlank& flank);

}  // namespace tarvo
