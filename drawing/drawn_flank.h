// The flanks a drawing's outlines were made of, as their builder computed them: what a data
// sheet measures the drawing's accuracy and its workshop measurements on.
#pragma once

#include <vector>

#include "drawing/builder_call.h"
#include "profile/flank_members.h"
#include "profile/point_xy.h"

namespace tarvo {

struct ExternalPairGeometry;
struct InternalPairGeometry;
struct SplineGeometry;

// One wheel's flank as its builder made it, and what its accuracy is measured with.
struct DrawnFlank {
    std::vector<PointXY> points;  // about the wheel's centre, as the builder hands it over
    FlankMembers members;         // the exact curves behind the points
    int z = 0;                    // the wheel's teeth
    bool internal = false;        // internal teeth (a ring or a hub)
};

// The flanks of a computed drawing: one per wheel in the designer's order (wheel 1, wheel 2),
// or the spline member's one.
std::vector<DrawnFlank> FlanksOf(const ExternalPairGeometry& g, const BuilderCall& call);
std::vector<DrawnFlank> FlanksOf(const InternalPairGeometry& g, const BuilderCall& call);
std::vector<DrawnFlank> FlanksOf(const SplineGeometry& g, const BuilderCall& call);

}  // namespace tarvo
