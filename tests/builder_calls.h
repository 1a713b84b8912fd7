// Drawing requests for tests, written in the order designers read the data: tooth counts,
// module, helix and profile angles, shifts, backlash.
#pragma once

#include "app/basic_rack.h"
#include "drawing/builder_call.h"

namespace tarvo::testing {

inline BuilderCall PairCall(BuilderCall::Kind kind, int Z1, int Z2, double m, double beta,
                            double alpha, double x1, double x2, double jn) {
    return BuilderCall{kind, Z1, Z2, m, beta, alpha, x1, x2, jn, 0, 0, false};
}

inline BuilderCall ExternalCall(int Z1, int Z2, double m, double beta, double alpha, double x1,
                                double x2, double jn) {
    return PairCall(BuilderCall::Kind::ExternalPair, Z1, Z2, m, beta, alpha, x1, x2, jn);
}

inline BuilderCall InternalCall(int Z1, int Z2, double m, double beta, double alpha, double x1,
                                double x2, double jn) {
    return PairCall(BuilderCall::Kind::InternalPair, Z1, Z2, m, beta, alpha, x1, x2, jn);
}

inline BuilderCall SplineCall(int Z, double m, double x, double alpha, bool hub) {
    return BuilderCall{BuilderCall::Kind::Spline, 0, 0, m, 0, alpha, 0, 0, 0, Z, x, hub};
}

// What the wizard stores for a pair on the 20-degree rack at the given accuracy.
inline MainMod Rack20State(int involute, int fillet) {
    MainMod state;
    state.AccEv = involute;
    state.AccPer = fillet;
    StoreRack(state, FindRackRow("20")->rack);
    return state;
}

}  // namespace tarvo::testing
