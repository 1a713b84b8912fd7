// Whether every point of a flank or an outline is a number: a point that is not would be written
// into the drawing as text no program reads.
#pragma once

#include <cmath>
#include <vector>

#include "profile/point_xy.h"

namespace tarvo {

inline bool AllFinite(const std::vector<PointXY>& points) {
    for (const PointXY& p : points) {
        if (!std::isfinite(p.X) || !std::isfinite(p.Y)) {
            return false;
        }
    }
    return true;
}

}  // namespace tarvo
