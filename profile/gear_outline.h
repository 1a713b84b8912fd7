// The closed outline of a whole gear from one flank: the flank mirrored into a tooth, the tooth
// repeated z times round the centre, the chain closed by repeating its first point.
#pragma once

#include <vector>

#include "profile/point_xy.h"

namespace tarvo {

// The outline as x1, y1, x2, y2, ... (the outline's point k at elements 2k - 2 and 2k - 1):
// 2n z + 1 points for a flank of n points, the last equal to the first.
// An external gear is traversed clockwise, an internal gear anticlockwise. z >= 1; the flank
// runs outward from the centre (an internal gear's from its tip to its root).
// An internal member's flank (tip to root, as the generator returns it) ended on the centre
// line of the next tooth space, at polar angle pi/z less 1e-10 radian: from the first point past
// that line, or the first that comes closer to the centre than the one before, every point is
// replaced by the chord's crossing with the line or by the point before. The count is kept.
std::vector<PointXY> EndFilletOnSpaceCentreLine(int z, std::vector<PointXY> flank);

std::vector<double> GearOutline(int z, const std::vector<PointXY>& flank, bool internal);

}  // namespace tarvo
