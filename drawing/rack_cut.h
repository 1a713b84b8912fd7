// The rack-cut root in the builders and the data sheet: one external member's data, as the
// designer entered it, turned into the cutting rack's input.
#pragma once

#include "profile/main_mod.h"
#include "profile/pair_geometry.h"
#include "profile/rack_cut_flank.h"

namespace tarvo {

// The rack's input for external teeth `t` (as entered, thinned by their backlash share) with
// the tip diameter da as drawn: the basic rack stored in `state` (ha*, hf*, c*, rf*) and the
// drawing accuracy (the fillet gets as many points as the accuracy page gives the fillet).
RackCutData RackCutDataOf(const MainMod& state, const ToothData& t, double da);

// The flank the cutting rack leaves on an external member of `pair`, with its tip diameter da
// as drawn, thinned by its share of the backlash.
RackCutFlankResult PairMemberRackCutFlank(const MainMod& state, const PairGeometry& pair,
                                          const GearMember& member, double da);

// With a tolerance the flank above would not hold: the member and the points it would take.
ToleranceShortfall PairMemberRackCutShortfall(const MainMod& state, const PairGeometry& pair,
                                              const GearMember& member, double da);

// A fault of the generator or the cutting rack as a wheel's error; with ToleranceTooFine it
// carries the points one member of the flank would take.
GeometryError WheelError(GeometryFault fault, int wheel, WheelRole role,
                         const ToleranceShortfall& shortfall = {});

}  // namespace tarvo
