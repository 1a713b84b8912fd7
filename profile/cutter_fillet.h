// The root fillet of an internal gear: the curve that the rounded tip of the pinion-type cutter
// leaves on the internal gear's flank, next to its root circle.
#pragma once

#include <vector>

#include "math/outcome.h"
#include "profile/geometry_fault.h"
#include "profile/point_xy.h"

namespace tarvo {

// The internal gear the pinion-type cutter generates, and the cutter's tooth count.
struct CutterFilletInput {
    int z2 = 0;        // teeth of the internal gear
    int z0 = 0;        // teeth of the cutter
    double db2 = 0;    // base diameter of the internal gear
    double s2 = 0;     // its tooth thickness on the reference circle, less its backlash share
    double psi2 = 0;   // polar offset of its flank: s2 / d2 - inv(alpha)
    double m = 0;      // module
    double alpha = 0;  // profile angle, radians
    double x2 = 0;     // profile shift coefficient of the internal gear
    double T = 0;      // hf* + c*
    double c = 0;      // clearance coefficient: sets the cutter's tip rounding
    int accPer = 0;    // points on the fillet, at least 2
};

struct CutterFilletCurve {
    std::vector<PointXY> per2;  // accPer points, from the junction with the involute to the root
    double sc = 0;              // cutter tooth thickness on its reference circle
    double x0 = 0;              // cutter profile shift coefficient
    double alphaW0 = 0;         // pressure angle of the cutting mesh
    double da0 = 0;             // cutter tip diameter
    double rho0First = 0;       // tip rounding radius m c* / (1 - sin alpha), before rounding
    double rho0 = 0;            // tip rounding radius used
    long reductions = 0;        // reductions of the radius by 0.005 LengthUnit
    double Dc = 0;              // diameter through the centres of the cutter's tip roundings
    double dw0 = 0;             // cutter's rolling diameter in the cutting mesh
    double db0 = 0;             // cutter base diameter
    double dNa0 = 0;            // where the cutter's involute ends at its tip rounding
    double a0 = 0;              // centre distance of the cutting mesh
    double db2 = 0;             // the internal gear's base diameter and flank offset, as given
    double psi2 = 0;
    double nu = 0;         // polar angle of the tip rounding's centre from the cutter's tooth line
    double diffRatio = 0;  // (z2 - z0) / z2
    double cutterRatio = 0;  // z0 / z2
    double phiRoot = 0;  // generating angle of the fillet's root end (the junction's is alphaW0)
};

// The fillet point generated where the cutting mesh's normal makes angle phi, alphaW0 (the
// junction) to phiRoot (next to the root circle).
PointXY CutterFilletPoint(const CutterFilletCurve& curve, double phi);

// The same points, for following the fillet in many steps: what does not change along it is
// worked out once.
class CutterFilletPoints {
  public:
    explicit CutterFilletPoints(const CutterFilletCurve& curve);
    PointXY operator()(double phi) const;

  private:
    double rho0_, Dc_, dw0_, diffRatio_, cutterRatio_, db2_, nu_, psi2_;
    double invAw0_, cosAw0_;
};

using CutterFilletResult = Outcome<CutterFilletCurve, GeometryFault>;

// The fillet's points from the junction with the internal gear's involute (element 0) to its
// root, or the fault that kept the cutting mesh or the cutter's tip rounding from being found.
CutterFilletResult CutterFillet(const CutterFilletInput& in);

}  // namespace tarvo
