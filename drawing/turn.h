// Placing an outline in the drawing: turning it about the origin and moving it along the
// centre line of the pair.
#pragma once

#include <vector>

#include "drawing/dxf_writer.h"
#include "profile/point_xy.h"

namespace tarvo {

// Turns every point clockwise about the origin by phi radians:
// x' = x cos(phi) + y sin(phi), y' = -x sin(phi) + y cos(phi).
void TurnClockwise(Outline& outline, double phi);

// Moves every point along the x axis by dx.
void MoveAlongX(Outline& outline, double dx);

// True when every coordinate is a finite number.
bool AllFinite(const Outline& outline);

// The outline's points, x and y paired, for measuring it.
std::vector<PointXY> OutlinePoints(const Outline& outline);

}  // namespace tarvo
