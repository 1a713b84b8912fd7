// One wheel's flank as its builder made it, and the exact curves behind it: what a data sheet
// measures the drawing's accuracy and its workshop measurements on. Each builder hands its
// drawing's flanks on as these (FlanksOf).
#pragma once

#include <vector>

#include "profile/flank_members.h"
#include "profile/point_xy.h"

namespace tarvo {

struct DrawnFlank {
    std::vector<PointXY> points;  // about the wheel's centre, as the builder hands it over
    FlankMembers members;         // the exact curves behind the points
    int z = 0;                    // the wheel's teeth
    bool internal = false;        // internal teeth (a ring or a hub)
};

}  // namespace tarvo
