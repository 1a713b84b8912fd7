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
    return d;
}

}  // namespace tarvo
