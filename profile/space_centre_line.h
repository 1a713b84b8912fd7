// Where a root fillet ends: on the centre line of its tooth space, less a hair.
#pragma once

namespace tarvo {

// The radians by which a flank's fillet stops short of its space's centre line. This fillet and
// the mirrored fillet of the next tooth meet there; the gap keeps the rounding of the
// tooth-by-tooth turn (about 1e-14) from making the seam step backwards and cross itself.
constexpr double kSpaceCentreLineGap = 1e-10;

}  // namespace tarvo
