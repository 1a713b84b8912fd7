// Cutting-rack input of an external member, from the wizard's rack and accuracy.
#include "drawing/rack_cut.h"

namespace tarvo {

RackCutData RackCutDataOf(const MainMod& state, const ToothData& t, double da) {
    RackCutData d;
    d.z = t.z;
    d.normalModule = t.mn;
    d.helixAngle = t.beta;
    d.profileAngle = t.alphaN;
    d.ha = state.H;
    d.hf = state.Hf;
    d.c = state.C;
    d.rf = state.Ro;
    d.x = t.x;
    d.thinning = t.thinning;
    d.tipDiameter = da;
    d.accEv = state.AccEv;
    d.accPer = state.AccPer;
    d.tolerance = state.Tolerance;
    return d;
}

ToleranceShortfall PairMemberRackCutShortfall(const MainMod& state, const PairGeometry& pair,
                                              const GearMember& member, double da) {
    return RackCutShortfall(RackCutDataOf(state, ToothDataOf(pair, member), da));
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
    return RackCutFlank(RackCutDataOf(state, ToothDataOf(pair, member), da));
}

}  // namespace tarvo
