// The smallest and largest of many distances without taking hypot of every one: the sum of the
// squares, rounded far less than the room left here, tells when a distance cannot move an
// extreme, and hypot is taken only for those that may. The extremes keep the bits hypot of each
// distance would give them.
#pragma once

namespace tarvo {

// Sums of squares below this may have lost digits to underflow: they are never judged.
constexpr double kSquaresJudgedFrom = 1e-250;
// Relative room left to the judgement: the sum of squares and hypot each round by less than
// 1e-15 of the distance.
constexpr double kSquaresRoom = 1e-12;

// Whether hypot(x, y) may lie below `least` or above `most`; false only when it certainly lies
// between them. A NaN may: taking it changes no extreme kept with std::min and std::max.
inline bool HypotMayLeave(double x, double y, double least, double most) {
    const double squares = x * x + y * y;
    return !(squares >= kSquaresJudgedFrom) || squares <= least * least * (1 + kSquaresRoom) ||
           squares >= most * most * (1 - kSquaresRoom);
}

}  // namespace tarvo
