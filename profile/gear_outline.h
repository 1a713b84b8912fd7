// The closed outline of a whole gear from one flank: the flank mirrored into a tooth, the tooth
// repeated z times round the centre, the chain closed by repeating its first point.
#pragma once

#include <vector>

#include "profile/point_xy.h"

namespace tarvo {

// Writes the outline into `outline` as x1, y1, x2, y2, ... (the outline's point k at elements
// 2k - 2 and 2k - 1): 2n z + 1 points for a flank of n points, the last equal to the first.
// An external gear is traversed clockwise, an internal gear anticlockwise. z >= 1; the flank
// runs outward from the centre (an internal gear's from its tip to its root).
void GearOutline(int z, const std::vector<PointXY>& flank, std::vector<double>& outline,
                 bool internal);

}  // namespace tarvo
