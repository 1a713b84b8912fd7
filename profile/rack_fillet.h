// The root fillet of an external tooth: the curve that the rounded tip of the generating rack
// leaves between the involute and the root circle, for the rack equivalent at the middle of the
// active profile.
#pragma once

#include <vector>

#include "profile/geometry_fault.h"
#include "profile/point_xy.h"

namespace tarvo {

struct RackFilletResult {
    GeometryFault fault = GeometryFault::None;
    double alphaM = 0;   // profile angle of the equivalent rack (pressure angle at mid profile)
    double mPrime = 0;   // module of the equivalent rack
    double h = 0;        // depth of the rack's tip line below its rolling line
    double rhoFirst = 0; // tip rounding radius before it was made to fit
    double rho = 0;      // tip rounding radius used (negative when not even a sharp corner fits)
    long reductions = 0; // 0.005 mm reductions of the radius
};

// Fills `per` with accPer points from the junction with the involute (element 0) to the root.
// z, db, da, dl: teeth, base, tip and limit diameters of the member; psi: polar angle at which
// its involute leaves the base circle; m, alpha: module and profile angle (radians) in the plane
// of the drawing; T = hf* + c*; rf: the rack's root fillet radius coefficient.
RackFilletResult RackFillet(int z, double db, double da, double dl, double psi, double m,
                            double alpha, double T, double rf, int accPer,
                            std::vector<PointXY>& per);

}  // namespace tarvo
