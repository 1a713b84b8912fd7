// The call's values by name, and the generator's input from the pair's model.
#include "drawing/pair_data.h"

namespace tarvo {

PairRequest PairRequestOf(const BuilderCall& call) {
    PairRequest request;
    request.z1 = call.Z1;
    request.z2 = call.Z2;
    request.module = call.m;
    request.helixDeg = call.beta;
    request.profileDeg = call.alpha;
    request.x1 = call.x1;
    request.x2 = call.x2;
    request.backlash = call.jn;
    request.internal = call.kind == BuilderCall::Kind::InternalPair;
    return request;
}

PairGeometryResult PairOf(const MainMod& state, const BuilderCall& call) {
    return PairGeometryOf(state, PairRequestOf(call));
}

ToothProfileInput PairProfileInput(const MainMod& state, const PairGeometry& pair) {
    const PairSection& t = pair.section;
    ToothProfileInput in;
    in.member1 = MeshMemberOf(pair.member1);
    in.member2 = MeshMemberOf(pair.member2);
    in.m = t.mt;
    in.alpha = t.alphaT;
    in.hf = pair.internal ? t.hfNormal : t.hf;
    in.c = t.c;
    in.rf = t.rf;
    in.z0 = pair.cutterTeeth;
    in.jn = pair.jt;
    in.internal = pair.internal;
    in.AccEv = state.AccEv;
    in.AccPer = state.AccPer;
    in.tolerance = state.Tolerance;
    in.SingleMember = false;
    return in;
}

}  // namespace tarvo
