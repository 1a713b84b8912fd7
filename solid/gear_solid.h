// One member as an exact solid of face width b: its transverse section extruded (spur teeth) or
// swept while it turns by phi(z) = 2 z tan(beta) / d (helical teeth), internal members inside a
// rim, placed and turned as the drawing places the wheel.
#pragma once

#include <TopoDS_Shape.hxx>

#include "math/outcome.h"
#include "profile/member_section.h"

namespace tarvo {

struct SolidOptions {
    double faceWidth = 0;    // b, mm, > 0
    double rimDiameter = 0;  // outside diameter of an internal member's rim; 0: DefaultRim
};

// An internal member's rim when none is given: its root diameter plus six modules.
double DefaultRimDiameter(const MemberSection& member);

// The turn of the section at height z, radians, anticlockwise seen from +z: 2 z tan(beta) / d,
// positive for a right-hand wheel.
double SectionTwist(const MemberSection& member, double z);

// The member's solid, checked (BRepCheck_Analyzer, and its volume positive) before it is
// returned; or why it cannot be made.
using GearSolidResult = Outcome<TopoDS_Shape, SolidError>;
GearSolidResult GearSolid(const MemberSection& member, const SolidOptions& options);

}  // namespace tarvo
