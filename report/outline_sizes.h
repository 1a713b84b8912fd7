// The sizes the mesh check measures on a wheel's outline, segment by segment about the wheel's
// centre: the nearest and farthest points, the longest segment and the enclosed area. The check
// on a whole outline and the band taken while a drawing streams add the same segments in the
// same order through this one piece of arithmetic, so both come to the same bits.
#pragma once

#include <algorithm>
#include <cmath>

#include "math/hypot_extremes.h"
#include "profile/point_xy.h"

namespace tarvo {

struct OutlineSizes {
    double rMin = HUGE_VAL;
    double rMax = 0;
    double longestSegment = 0;
    double area = 0;  // positive when the outline runs anticlockwise

    // The segment from p to q, both about the centre; p counts as a point of the outline.
    void Take(const PointXY& p, const PointXY& q) {
        // hypot only where an extreme may move: the same extremes for a fraction of the work.
        if (HypotMayLeave(p.X, p.Y, rMin, rMax)) {
            const double r = std::hypot(p.X, p.Y);
            rMin = std::min(rMin, r);
            rMax = std::max(rMax, r);
        }
        const double dx = q.X - p.X, dy = q.Y - p.Y;
        if (HypotMayLeave(dx, dy, 0, longestSegment)) {
            longestSegment = std::max(longestSegment, std::hypot(dx, dy));
        }
        area += (p.X * q.Y - q.X * p.Y) / 2;
    }
};

}  // namespace tarvo
