// Drawing requests for tests, each value named: ExternalPair(20, 40, 2).Helix(15).Shifts(0.3, -0.1)
// is the pair of 20 and 40 teeth, module 2, helix 15°, shifts 0.3 and -0.1, on the 20-degree
// rack's profile angle unless Profile() says otherwise.
#pragma once

#include "app/basic_rack.h"
#include "drawing/builder_call.h"

namespace tarvo::testing {

// A request whose values beyond the first few are set by name, each on a copy.
struct Call : BuilderCall {
    Call Helix(double degrees) const { return With(&Call::beta, degrees); }
    Call Profile(double degrees) const { return With(&Call::alpha, degrees); }
    Call Backlash(double normal) const { return With(&Call::jn, normal); }
    Call Shift(double spline) const { return With(&Call::x, spline); }
    Call Shifts(double wheel1, double wheel2) const {
        return With(&Call::x1, wheel1).With(&Call::x2, wheel2);
    }

  private:
    Call With(double BuilderCall::*field, double value) const {
        Call call = *this;
        call.*field = value;
        return call;
    }
};

inline Call PairOf(BuilderCall::Kind kind, int z1, int z2, double m) {
    Call call;
    call.kind = kind;
    call.Z1 = z1;
    call.Z2 = z2;
    call.m = m;
    call.alpha = 20;
    return call;
}
inline Call ExternalPair(int z1, int z2, double m) {
    return PairOf(BuilderCall::Kind::ExternalPair, z1, z2, m);
}
inline Call InternalPair(int z1, int z2, double m) {
    return PairOf(BuilderCall::Kind::InternalPair, z1, z2, m);
}
// A spline member (shaft or hub) on the 30-degree profile of both spline standards.
inline Call SplineMember(int z, double m, bool hub) {
    Call call;
    call.kind = BuilderCall::Kind::Spline;
    call.Z = z;
    call.m = m;
    call.alpha = 30;
    call.hub = hub;
    return call;
}

// A pair with every value in the order designers read the data: tooth counts, module, helix and
// profile angles, shifts, backlash (the mesh checks' sweeps fill them from loops).
inline BuilderCall PairCall(BuilderCall::Kind kind, int Z1, int Z2, double m, double beta,
                            double alpha, double x1, double x2, double jn) {
    return PairOf(kind, Z1, Z2, m).Helix(beta).Profile(alpha).Shifts(x1, x2).Backlash(jn);
}

inline BuilderCall ExternalCall(int Z1, int Z2, double m, double beta, double alpha, double x1,
                                double x2, double jn) {
    return PairCall(BuilderCall::Kind::ExternalPair, Z1, Z2, m, beta, alpha, x1, x2, jn);
}

inline BuilderCall InternalCall(int Z1, int Z2, double m, double beta, double alpha, double x1,
                                double x2, double jn) {
    return PairCall(BuilderCall::Kind::InternalPair, Z1, Z2, m, beta, alpha, x1, x2, jn);
}

// What the wizard stores for a pair on the 20-degree rack at the given accuracy.
inline MainMod Rack20State(int involute, int fillet) {
    MainMod state;
    state.AccEv = involute;
    state.AccPer = fillet;
    StoreRack(state, FindRackRow("20")->rack);
    return state;
}

// What the wizard stores for one spline member of the standard's rack at the module given.
inline MainMod SplineState(SplineStandard standard, double m, int involute = 6, int fillet = 3) {
    MainMod state = Rack20State(involute, fillet);
    state.SingleMember = true;
    StoreRack(state, SplineRack(standard, m));
    return state;
}

}  // namespace tarvo::testing
