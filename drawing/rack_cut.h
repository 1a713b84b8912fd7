// The rack-cut root in the builders and the data sheet: one external member's data, as the
// designer entered it, turned into the cutting rack's input.
#pragma once

#include "profile/main_mod.h"
#include "profile/pair_geometry.h"
#include "profile/rack_cut_flank.h"

namespace tarvo {

// An external member as the cutting rack sees it, in the values the designer entered.
struct RackCutMember {
    int z = 0;
    double mn = 0;        // normal module, mm
    double beta = 0;      // helix angle, radians
    double alphaN = 0;    // profile angle of the basic rack, radians
    double x = 0;         // shift coefficient in the normal section
    double thinning = 0;  // backlash share off the transverse reference thickness, mm
    double da = 0;        // tip diameter, mm
};

// The rack's input: the member, the basic rack stored in `state` (ha*, hf*, c*, rf*) and the
// drawing accuracy (the fillet gets as many points as the accuracy page gives the fillet).
RackCutData RackCutDataOf(const MainMod& state, const RackCutMember& member);

// An external member of `pair` as the cutting rack sees it, with the tip diameter da as drawn.
RackCutMember RackCutMemberOf(const PairGeometry& pair, const GearMember& member, double da);

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
