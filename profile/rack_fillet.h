// The root fillet of an external tooth: the curve that the rounded tip of the generating rack
// leaves between the involute and the root circle, for the rack equivalent at the middle of the
// active profile.
#pragma once

#include <vector>

#include "math/outcome.h"
#include "profile/geometry_fault.h"
#include "profile/point_xy.h"

namespace tarvo {

// The member whose root the rack generates, in the plane of the drawing.
struct RackFilletInput {
    int z = 0;         // teeth
    double db = 0;     // base diameter
    double da = 0;     // tip diameter
    double dl = 0;     // limit diameter: where the mate's tip begins to touch
    double psi = 0;    // polar angle at which the involute leaves the base circle
    double m = 0;      // module
    double alpha = 0;  // profile angle of the basic rack, radians
    double T = 0;      // hf* + c*
    double rf = 0;     // root fillet radius coefficient of the basic rack
    int accPer = 0;    // points on the fillet, at least 2
};

struct RackFilletCurve {
    std::vector<PointXY> per;  // accPer points, from the junction with the involute to the root
    double alphaM = 0;    // profile angle of the equivalent rack (pressure angle at mid profile)
    double mPrime = 0;    // module of the equivalent rack
    double h = 0;         // depth of the rack's tip line below its rolling line
    double rhoFirst = 0;  // tip rounding radius before it was made to fit
    double rho = 0;       // tip rounding radius used (negative when not even a sharp corner fits)
    long reductions = 0;  // reductions of the radius by 0.005 LengthUnit
    double dPrime = 0;    // diameter on which the rack's rolling line rolls
    double psi = 0;       // the member's psi, as given
    double phiRoot = 0;   // generating angle of the fillet's root end (the junction's is alphaM)
};

// The fillet point generated where the common normal makes angle phi with the rolling line,
// alphaM (the junction) to phiRoot (next to the root circle).
PointXY RackFilletPoint(const RackFilletCurve& curve, double phi);

// The same points, for following the fillet in many steps: what does not change along it is
// worked out once.
class RackFilletPoints {
  public:
    explicit RackFilletPoints(const RackFilletCurve& curve);
    PointXY operator()(double phi) const;

  private:
    double am_, dp_, psi_, rho_, c_;
    double cosAm_, invAm_;
};

using RackFilletResult = Outcome<RackFilletCurve, GeometryFault>;

// The fillet's points from the junction with the involute (element 0) to the root, or the
// fault that kept the rack's tip rounding from fitting.
RackFilletResult RackFillet(const RackFilletInput& in);

}  // namespace tarvo
