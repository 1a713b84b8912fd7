// Cutting-rack input of an external member and the mapping of the rack's refusals.
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

GeometryFault RackCutGeometryFault(RackCutFault fault) {
    switch (fault) {
        case RackCutFault::None:
            return GeometryFault::None;
        case RackCutFault::ToothCountNotPositive:
            return GeometryFault::ToothCountNotPositive;
        case RackCutFault::ModuleNotPositive:
            return GeometryFault::ModuleNotPositive;
        // Counts below the accuracy page's range never come from the pages.
        case RackCutFault::PointCountsTooSmall:
            return GeometryFault::DataNotFinite;
        // Angles and values the pair's own checks let through reach here only as a dedendum
        // past the reference radius: the roots of neighbouring spaces meet at the centre.
        case RackCutFault::DataOutOfRange:
            return GeometryFault::RootFilletsCross;
        case RackCutFault::RoundingDoesNotFit:
            return GeometryFault::RackRoundingNotFound;
        // The involute has no start below the tip: no active profile is left.
        case RackCutFault::TipNotAboveForm:
        case RackCutFault::UndercutCrossingNotFound:
            return GeometryFault::ActiveProfileUndefined;
        case RackCutFault::NonFinitePoint:
            return GeometryFault::NonFinitePoint;
    }
    return GeometryFault::NonFinitePoint;
}

}  // namespace tarvo
