// Cutting-rack input of an external member, from the wizard's rack and accuracy.
#include "drawing/rack_cut.h"

#include "math/involute.h"

namespace tarvo {

RackCutData RackCutDataOf(const MainMod& state, const RackCutMember& member) {
    RackCutData d;
    d.z = member.z;
    d.normalModule = member.mn;
    d.helixAngle = member.beta;
    d.profileAngle = member.alphaN;
    d.ha = state.H;
    d.hf = state.Hf;
    d.c = state.C;
    d.rf = state.Ro;
    d.x = member.x;
    d.thinning = member.thinning;
    d.tipDiameter = member.da;
    d.accEv = state.AccEv;
    d.accPer = state.AccPer;
    d.tolerance = state.Tolerance;
    return d;
}

namespace {

RackCutData PairMemberData(const MainMod& state, const BuilderCall& call,
                           const ToothProfileInput& in, int z, double x, double da) {
    const double thinning = (z * in.jn) / (in.member1.z + in.member2.z);
    const RackCutMember member{z,        call.m, GradToRad(call.beta), GradToRad(call.alpha), x,
                               thinning, da};
    return RackCutDataOf(state, member);
}

}  // namespace

ToleranceShortfall PairMemberRackCutShortfall(const MainMod& state, const BuilderCall& call,
                                              const ToothProfileInput& in, int z, double x,
                                              double da) {
    return RackCutShortfall(PairMemberData(state, call, in, z, x, da));
}

GeometryError WheelError(GeometryFault fault, int wheel, WheelRole role,
                         const ToleranceShortfall& shortfall) {
    GeometryError e{fault, wheel, role};
    if (fault == GeometryFault::ToleranceTooFine) {
        e.points = shortfall.points;
        e.onFillet = shortfall.fillet;
        e.allowed = shortfall.allowed;
    }
    return e;
}

RackCutFlankResult PairMemberRackCutFlank(const MainMod& state, const BuilderCall& call,
                                          const ToothProfileInput& in, int z, double x,
                                          double da) {
    const double thinning = (z * in.jn) / (in.member1.z + in.member2.z);
    const RackCutMember member{z, call.m, GradToRad(call.beta), GradToRad(call.alpha), x,
                               thinning, da};
    return RackCutFlank(RackCutDataOf(state, member));
}

}  // namespace tarvo
