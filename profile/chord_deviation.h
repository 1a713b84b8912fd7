// How far a drawn flank strays from the true tooth: each member of the flank (involute, root
// fillet) is a chain of chords between points of an exact curve, and this measures how far the
// exact curve runs from its chords, on which side of the tooth the chords err.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "profile/point_xy.h"

namespace tarvo {

// An exact curve of a flank, in the flank's coordinates (origin at the gear centre, X along the
// tooth's centre line, the flank on the +Y side). Its parameter runs from t0 at the drawn
// member's first point to t1 at its last; t1 may be below t0.
struct ExactCurve {
    std::function<PointXY(double)> at;
    double t0 = 0;
    double t1 = 0;

    bool defined() const { return static_cast<bool>(at); }
};

// The members of one flank as drawn: which points of the flank belong to which exact curve
// (first and last index, both inclusive; the junction point belongs to both).
struct FlankMembers {
    ExactCurve involute;
    ExactCurve fillet;
    std::size_t involuteFirst = 0, involuteLast = 0;
    std::size_t filletFirst = 0, filletLast = 0;
};

// The largest distance between a member's chords and its exact curve, split by the side the
// chords err to. A flank runs outward from the gear centre on the +Y side of its tooth, so the
// tooth's material lies to the right of it: where the exact curve lies left of a chord the chord
// cuts into the tooth (takes material away); where it lies right, the chord stands in the space
// (adds material where a mate's tip may pass).
struct ChordDeviation {
    double intoTooth = 0;  // mm
    double intoSpace = 0;  // mm

    double largest() const { return intoTooth > intoSpace ? intoTooth : intoSpace; }
    bool errsIntoSpace() const { return intoSpace > intoTooth; }
};

// Which of the fine steps along the exact curve are measured: every few all along and the rest
// only where the largest distance may lie, or every one. On the flanks Tarvo draws both find the
// same figures to the bit; the first does about a third of the work.
enum class ChordScan { Sampled, EveryStep };

// The deviation of `polyline` (the member's points in drawing order, at least two) from
// `exact`, found by following the exact curve in fine steps (at least 64 per chord) and taking
// each step's distance from its nearest chord, the largest refined between its neighbours.
ChordDeviation MeasureChordDeviation(const std::vector<PointXY>& polyline, const ExactCurve& exact,
                                     ChordScan scan = ChordScan::Sampled);

// The points of a flank from `first` to `last`, both inclusive.
std::vector<PointXY> FlankPart(const std::vector<PointXY>& flank, std::size_t first,
                               std::size_t last);

// Both members of a drawn flank measured against their exact curves.
struct FlankDeviation {
    ChordDeviation involute;
    ChordDeviation fillet;
    int involutePoints = 0;  // points drawn on each member of one flank, the junction included
    int filletPoints = 0;
};

FlankDeviation MeasureFlankDeviation(const std::vector<PointXY>& flank,
                                     const FlankMembers& members);

}  // namespace tarvo
