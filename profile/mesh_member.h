// One member of a mesh as the flank generator takes it: its teeth, its reference, tip and base
// circles and its profile shift, in the plane of the drawing. Lengths in millimetres.
#pragma once

#include <cstdint>

namespace tarvo {

struct MeshMember {
    std::int32_t z = 0;  // teeth
    double d = 0;        // reference diameter z m
    double da = 0;       // tip diameter (of an internal gear: its tip circle, below d)
    double db = 0;       // base diameter
    double x = 0;        // profile shift coefficient; a positive x thins an internal gear's teeth
};

}  // namespace tarvo
