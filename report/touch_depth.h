// Whether two runs of tooth outline that touch in one position of the mesh check share only a
// shallow sliver of material: the exact test, made on the segments near the contact, that lets
// the check skip intersecting the two wheels' material where the flanks merely touch.
#pragma once

#include <vector>

#include "profile/point_xy.h"

namespace tarvo {

// One run of consecutive teeth of a wheel, in place. Its material lies on one side of it; beyond
// its two ends it is closed through the wheel's body: inwards about `centre` at `closeRadius`
// for external teeth, outwards at `closeRadius` for internal teeth.
struct TouchRun {
    Polyline points;  // in outline order, at least two
    PointXY centre;
    bool internal = false;
    bool materialLeft = true;  // the material lies left of the run's direction
    double closeRadius = 0;
};

// True when it is certain that the material of `a` and of `b` (each run closed as above) share
// no point of either run that lies farther than `depth` from the other run, and that the closing
// parts stay clear of the other wheel; false when that cannot be shown (a deeper overlap, a point
// next to a run's end, closings that may meet), and the material has to be intersected.
// `depth` must lie far above the rounding of the coordinates.
bool TouchShallowerThan(const TouchRun& a, const TouchRun& b, double depth);

}  // namespace tarvo
