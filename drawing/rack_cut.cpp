// Cutting-rack input of an external member, from the wizard's rack and accuracy.
#include "drawing/rack_cut.h"

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

RackCutMember RackCutMemberOf(const PairGeometry& pair, const GearMember& member, double da) {
    RackCutMember cut;
    cut.z = member.z;
    cut.mn = pair.section.mn;
    cut.beta = pair.section.beta;
    cut.alphaN = pair.section.alphaN;
    cut.x = member.xn;
    cut.thinning = member.thinning;
    cut.da = da;
    return cut;
}

ToleranceShortfall PairMemberRackCutShortfall(const MainMod& state, const PairGeometry& pair,
                                              const GearMember& member, double da) {
    return RackCutShortfall(RackCutDataOf(state, RackCutMemberOf(pair, member, da)));
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

RackCutFlankResult PairMemberRackCutFlank(const MainMod& state, const PairGeometry& pair,
                                          const GearMember& member, double da) {
    return RackCutFlank(RackCutDataOf(state, RackCutMemberOf(pair, member, da)));
}

}  // namespace tarvo
