// The pair a builder draws, as the model of profile/pair_geometry.h computes it from the call,
// and the flank generator's input taken from that model.
#pragma once

#include <optional>

#include "drawing/builder_call.h"
#include "profile/main_mod.h"
#include "profile/pair_geometry.h"
#include "profile/tooth_profile.h"

namespace tarvo {

// The values of a pair's call by name (the kind says whether the pair is internal).
PairRequest PairRequestOf(const BuilderCall& call);

// The pair `call` describes with the basic rack stored in `state`, or why it has none.
PairGeometryResult PairOf(const MainMod& state, const BuilderCall& call);

// The generator's input for the pair: its members in the model's order (an internal pair's
// pinion first, its cutter with the pinion's teeth), the transverse section with the dedendum
// an internal pair's generator takes in the normal section, the transverse backlash, and the
// accuracy in `state`. Both members are generated.
ToothProfileInput PairProfileInput(const MainMod& state, const PairGeometry& pair);

}  // namespace tarvo
