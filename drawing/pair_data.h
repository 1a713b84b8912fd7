// The opening steps every gear-pair builder shares: refusing data no pair can have, and turning
// the normal-section data of a helical pair into the transverse section the drawing shows.
#pragma once

#include <optional>

#include "drawing/builder_call.h"
#include "profile/geometry_fault.h"
#include "profile/main_mod.h"
#include "profile/tooth_profile.h"

namespace tarvo {

// A pair's data before any geometry: tooth counts from 1 to kMaxTeeth (an internal pair's two
// counts different), a finite positive module, finite angles, shifts and backlash. The fault
// such data have, or nothing when none.
std::optional<GeometryError> CheckPairCall(const BuilderCall& call, bool internal);

// The pair in the plane of the drawing. Heights given as multiples of the normal module are
// scaled by cos beta so that, times the transverse module, they keep their length.
struct TransverseSection {
    double mt = 0;      // transverse module
    double alphaT = 0;  // transverse profile angle, radians
    double beta = 0;    // helix angle, radians
    double ha = 0, hf = 0, c = 0, rf = 0;  // rack coefficients as multiples of mt
    double x1 = 0, x2 = 0;                 // shift coefficients as multiples of mt
};

// keepNormalDedendum: the internal pair's generator takes hf* in the normal section.
TransverseSection ToTransverse(const MainMod& state, const BuilderCall& call,
                               bool keepNormalDedendum);

// The generator's input for a pair in its transverse section: the rack coefficients, the
// accuracy, and the normal backlash turned transverse at the working angle alphaTw. The caller
// fills in the two members (and an internal pair's cutter).
ToothProfileInput PairProfileInput(const MainMod& state, const BuilderCall& call,
                                   const TransverseSection& t, double alphaTw, bool internal);

}  // namespace tarvo
