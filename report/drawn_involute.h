// Where the involute of a drawn flank runs: the measurements a workshop takes (span, rollers)
// are valid only where the caliper or the roller touches that involute, not the fillet.
#pragma once

#include <vector>

#include "drawing/builder_call.h"
#include "drawing/drawn_flank.h"
#include "math/outcome.h"
#include "profile/chord_deviation.h"
#include "profile/geometry_fault.h"
#include "profile/main_mod.h"
#include "profile/point_xy.h"

namespace tarvo {

// The diameters between which a flank is drawn as the involute of its base circle: from where
// the fillet (or undercut) meets it up to the tip.
struct InvoluteSpan {
    double from = 0;  // towards the root: an external tooth's smaller, an internal one's larger
    double to = 0;    // the tip
};

// A point of the flank counts as on the involute when it lies within this distance of it, mm:
// the generator computes them on it to about 1e-12 mm; a fillet point this close is tangent to
// it and measures as the involute does.
constexpr double kOnInvolute = 1e-7;

// The span of `flank` (about its centre, the tooth's centre line along X, the flank on the
// positive-Y side, as the builders hand it over) on the involute of base diameter db, walking
// from the tip end inward. A flank whose tip point lies inside the base circle has none: its
// span is {tip, tip}.
InvoluteSpan DrawnInvoluteSpan(const std::vector<PointXY>& flank, double db, bool internal);

// The flanks a drawing was made of, as its builder computes them again from the same data (once
// for the whole sheet): one per wheel in the designer's order (wheel 1, wheel 2), or the spline
// member's one.
using DrawnFlanksResult = Outcome<std::vector<DrawnFlank>, GeometryError>;
DrawnFlanksResult DrawnFlanks(const MainMod& state, const BuilderCall& call);

}  // namespace tarvo
