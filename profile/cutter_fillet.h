// The root fillet of an internal gear: the curve that the rounded tip of the pinion-type cutter
// leaves on the internal gear's flank, next to its root circle.
#pragma once

#include <vector>

#include "profile/geometry_fault.h"
#include "profile/point_xy.h"

namespace tarvo {

struct CutterFilletResult {
    GeometryFault fault = GeometryFault::None;
    double sc = 0;         // cutter tooth thickness on its reference circle
    double x0 = 0;         // cutter profile shift coefficient
    double alphaW0 = 0;    // pressure angle of the cutting mesh
    double da0 = 0;        // cutter tip diameter
    double rho0First = 0;  // tip rounding radius m c* / (1 - sin alpha), before rounding
    double rho0 = 0;       // tip rounding radius used
    long reductions = 0;   // 0.005 mm reductions of the radius
    double Dc = 0;         // diameter through the centres of the cutter's tip roundings
    double dw0 = 0;        // cutter's rolling diameter in the cutting mesh
};

// Fills `per2` with accPer points from the junction with the internal gear's involute
// (element 0) to its root. z2, d2, db2: the internal gear's teeth, reference and base
// diameters; z0: teeth of the cutter; s2: the gear's tooth thickness on d2 (already thinned by
// its backlash share); psi2 = s2/d2 - inv(alpha); m, alpha: module and profile angle (radians);
// x2: the gear's profile shift; T = hf* + c*; c: c*.
CutterFilletResult CutterFillet(int z2, int z0, double d2, double db2, double s2, double psi2,
                                double m, double alpha, double x2, double T, double c,
                                int accPer, std::vector<PointXY>& per2);

}  // namespace tarvo
