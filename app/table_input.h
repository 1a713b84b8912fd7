// What the parameter table of a part drawing takes beyond the drawing's data: the hand of a
// helical pair's tooth line and the accuracy designation, checked the same way for the window
// and tarvo-cli.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "profile/hand.h"

namespace tarvo {

// A negative helix angle already means a left hand: choosing a right hand with it is a
// contradiction, and the reason says so; nothing when the two agree (a zero helix has no hand,
// so any choice stands).
std::optional<std::string> HandConflict(double helixDegrees, Hand hand);

// The hand of wheel 1's tooth line in effect: left for a negative helix angle, else the one
// chosen.
Hand Wheel1Hand(double helixDegrees, Hand chosen);

// Longest accuracy designation, in characters: "7-6-6-B ГОСТ 1643-81" and its like fit many
// times over; the table's cell holds about this many.
constexpr std::size_t kMaxAccuracyText = 40;

// Why an accuracy designation cannot go into the table (nothing when it can): too long, a
// control character (a line break would split the table's row), or a character the DXF
// table's code page (Windows-1251) has no sign for.
std::optional<std::string> AccuracyTextProblem(const std::string& text);

}  // namespace tarvo
