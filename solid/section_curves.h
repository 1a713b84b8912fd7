// The outline of a member's transverse section as curves, one per piece: per tooth the fillet
// and the involute of each flank as B-splines through the generator's dense points, and the tip
// and root lands as arcs of circles about the wheel centre.
#pragma once

#include <Geom_BSplineCurve.hxx>
#include <Geom_Curve.hxx>

#include <vector>

#include "math/outcome.h"
#include "profile/member_section.h"

namespace tarvo {

// One piece of the outline in the plane z = 0, about the wheel's own centre (not yet placed).
// Each piece starts exactly where the one before it ends.
struct SectionPiece {
    Handle(Geom_BSplineCurve) spline;  // the piece as a B-spline (rational for a land)
    Handle(Geom_Curve) exact;          // the same piece; for a land a trimmed circle
    bool land = false;                 // a tip or root land
};

// The toothed loop with the material on its left: anticlockwise round an external member,
// clockwise round the space inside an internal one. Pieces per tooth: the two fillets, the two
// involutes, the tip land and the root land; a land narrower than a tenth of a micrometre is
// left out and its neighbours meet.
using SectionLoop = Outcome<std::vector<SectionPiece>, SolidFault>;
SectionLoop ToothedLoop(const MemberSection& member);

// The largest distance of the loop from the wheel centre: an internal member's root radius.
double LoopRootRadius(const MemberSection& member);

}  // namespace tarvo
