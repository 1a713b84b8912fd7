// Points of a flank member placed for a chord tolerance instead of a count: where the exact
// curve bends sharply the points crowd, where it runs nearly straight they spread, so that
// every chord strays from the curve by about the same amount and none by more than allowed.
#pragma once

#include <vector>

#include "math/constants.h"
#include "math/outcome.h"
#include "profile/chord_deviation.h"
#include "profile/main_mod.h"

namespace tarvo {

// Points one member of a flank (the involute or the fillet, junction included) may take in
// tolerance mode: ten times the involute's largest count and twenty times the fillet's. A
// finer tolerance would make outlines of several hundred thousand points per wheel, which the
// 3D programs that read the drawing handle no better than the chords' micrometres.
constexpr int kMaxTolerancePoints = 1000;
// The most points the counts can give the largest wheel's outline (both flanks of every tooth at
// the counts' maxima); a tolerance may not make a wheel of many teeth larger.
constexpr long kMaxToleranceOutlinePoints = 2L * (kMaxAccEv + 1 + kMaxAccPer) * kMaxTeeth;
// The tolerance range, mm: from a hundredth of a micrometre (far above the 15 significant
// digits the drawing writes, far below any manufacturing tolerance) to a millimetre.
constexpr double kMinTolerance = 0.00001;
constexpr double kMaxTolerance = 1.0;

// The parameters of the points, first t0 and last t1 exactly, or the number of points the
// tolerance would take when that exceeds maxPoints. At least minPoints points are placed.
using ChordPlacement = Outcome<std::vector<double>, long>;

ChordPlacement PlaceByChordDeviation(const ExactCurve& curve, double tolerance, int minPoints,
                                     int maxPoints = kMaxTolerancePoints);

// The largest distance of the exact curve from the chord between parameters a and b.
double ChordError(const ExactCurve& curve, double a, double b);

}  // namespace tarvo
