// One member of a drawing as the solids are built from it: its tooth flank sampled densely from
// the generator's exact curves, where the involute meets the fillet, and where the drawing puts
// the wheel and which way its teeth lean; what the solid kernel takes and gives back.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "math/outcome.h"
#include "profile/geometry_fault.h"
#include "profile/hand.h"
#include "profile/point_xy.h"

namespace tarvo {

struct MemberSection {
    WheelRole role = WheelRole::Wheel1;  // Wheel1, Wheel2 (a pinion or ring is wheel 1 or 2 as
                                         // the designer entered it), Shaft or Hub
    int z = 0;                           // teeth
    bool internal = false;               // teeth inside a rim (ring gear, hub)
    // One flank in the generator's layout (origin at the wheel centre, X along a tooth's centre
    // line, the flank on the +Y side), sampled densely: an external member's from the root end
    // of its fillet to the tip circle, an internal member's from the tip circle to its root,
    // ended on the centre line of the tooth space.
    std::vector<PointXY> flank;
    std::size_t junction = 0;  // index of the point where the involute meets the fillet
    double centreX = 0;        // the wheel's centre on the drawing's x axis
    double turn = 0;           // clockwise turn of the wheel about its centre, radians
    double d = 0;              // transverse reference diameter, mm
    double tanBeta = 0;        // tangent of the helix angle on the reference circle (0: spur)
    Hand hand = Hand::Right;
    double module = 0;  // normal module: an internal member's rim is sized by it
};

// Why a solid cannot be made or written.
enum class SolidFault {
    FaceWidthNotPositive,  // the face width is zero, negative or not a number
    RimInsideRoot,         // the rim diameter does not clear an internal member's root circle
    CurveNotBuilt,         // a piece of the outline could not be turned into a curve
    SolidNotValid,         // the solid failed its check in memory and was not written
    StepNotWritten,        // the STEP translator refused the solids
};

// A fault and the member it concerns; with RimInsideRoot, the root diameter the rim must clear.
struct SolidError {
    SolidFault fault = SolidFault::SolidNotValid;
    WheelRole role = WheelRole::Pair;
    double rootDiameter = 0;
};

// What the solid kernel (solid/gear_step) takes and gives back, here so that app/ can hand it
// the members and word its faults without linking it.
struct StepMember {
    std::string name;  // the solid's name in the file (UTF-8)
    MemberSection section;
};

struct StepText {
    std::string text;       // the whole file
    std::size_t faces = 0;  // faces of all solids
};

using StepTextResult = Outcome<StepText, SolidError>;

}  // namespace tarvo
