// The members of a drawing as its solids are built from them: the same computation as the
// drawing, with the flank sampled densely enough for a smooth curve through its points, and
// each wheel placed and turned as the drawing places it.
#pragma once

#include <vector>

#include "drawing/builder_call.h"
#include "math/outcome.h"
#include "profile/geometry_fault.h"
#include "profile/main_mod.h"
#include "profile/member_section.h"

namespace tarvo {

// Points on the involute and on the fillet of each dense flank: smooth curves fitted to them
// stay inside a hundredth of a micrometre of the exact involute and fillet between the points
// too (the solid's tests measure it against flanks sampled at other points).
constexpr int kSectionAccEv = 200;
constexpr int kSectionAccPer = 120;

using MemberSectionsResult = Outcome<std::vector<MemberSection>, GeometryError>;

// The members of the drawing `call` describes, in the drawing's order (an external pair: wheel
// 1, wheel 2; an internal pair: ring, pinion; a spline: its one member). wheel1Hand is the hand
// of wheel 1 (the wheel entered first); wheel 2 takes the opposite hand in an external mesh
// and the same hand in an internal one.
MemberSectionsResult ComputeMemberSections(const MainMod& state, const BuilderCall& call,
                                           Hand wheel1Hand);

}  // namespace tarvo
