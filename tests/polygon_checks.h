// Polygon measurements the tests make with Boost.Geometry, behind plain functions of our own point
// type. Boost's algorithms are compiled once, in polygon_checks.cpp, rather than in every test file
// that measures an outline: they are the heaviest code the test suite compiles.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "profile/point_xy.h"

namespace tarvo::testing {

// Why the closed outline through `points` is not a simple polygon a CAD program can make a face
// of (Boost.Geometry's reason), or nothing when it is one. Repeated points go first, as CAD skips
// them; the outline may run either way round.
std::optional<std::string> OutlineFault(const std::vector<PointXY>& points);

// The largest distance from any of `points` to the polyline through `line`.
double LargestDistance(const std::vector<PointXY>& points, const std::vector<PointXY>& line);

// The least distance between the polylines through `a` and `b`.
double PolylineDistance(const std::vector<PointXY>& a, const std::vector<PointXY>& b);

// `blank` (a closed outline) with `tool` (another) taken away: the largest piece left, or the
// blank unchanged when nothing is left. Both outlines may run either way round.
std::vector<PointXY> LargestPieceLeft(const std::vector<PointXY>& blank,
                                      const std::vector<PointXY>& tool);

// Where the material of two placed wheels overlaps: its area and its depth, the furthest any
// corner of the overlap lies from either outline. An internal wheel's material lies between its
// outline and a square 5 mm outside it.
struct SharedMaterial {
    double area = 0;
    double depth = 0;
};
SharedMaterial MaterialShared(const std::vector<PointXY>& outline1, bool internal1,
                              const std::vector<PointXY>& outline2, bool internal2);

// MaterialShared measured again piece by piece, each on the parts of both materials inside a box
// `margin` wider than the piece: Boost then rounds to a grid set by that box rather than by the
// wheels, and the area comes about as exactly as the coordinates allow.
SharedMaterial MaterialSharedNear(const std::vector<PointXY>& outline1, bool internal1,
                                  const std::vector<PointXY>& outline2, bool internal2,
                                  double margin);

}  // namespace tarvo::testing
