// The gear pair as one set of values, computed once from what the designer entered and the basic
// rack: its transverse section, the working pressure angle and centre distance, each member's
// role and circles, and its reference tooth thickness with its share of the backlash. The input
// checks, the builders, the flank generator, the rack cut and the data sheet all read these
// values or the relations below, so that each relation of the pair is written here only.
// Angles in radians, lengths in millimetres.
#pragma once

#include <optional>

#include "math/outcome.h"
#include "profile/gear_formulas.h"
#include "profile/geometry_fault.h"
#include "profile/main_mod.h"
#include "profile/mesh_member.h"

namespace tarvo {

// inv(alpha_w) = inv(alpha) + 2 (x1 + x2) tan(alpha) / (z1 + z2) for an external mesh and
// inv(alpha_w) = inv(alpha) + 2 (x2 - x1) tan(alpha) / (z2 - z1) for an internal one (wheel 2
// the one with internal teeth), with the shift coefficients and the profile angle alpha of the
// section the mesh is drawn in. Nothing when the involute cannot be inverted.
std::optional<double> WorkingPressureAngle(const PairTeeth& teeth, double alpha, bool internal);

// aw = a cos(alpha) / cos(alpha_w), with a the reference centre distance: (d1 + d2) / 2 for an
// external mesh, (d2 - d1) / 2 for an internal one.
double WorkingCentreDistance(double a, double alpha, double alphaW);

// The reference centre distance of two members: (d1 + d2) / 2, or (d2 - d1) / 2 when member 2
// has internal teeth.
double ReferenceCentreDistance(const MeshMember& member1, const MeshMember& member2, bool internal);

// The working mesh of two members (member 2 the internal one of an internal pair) from their
// teeth, transverse shifts and reference diameters, in the section whose profile angle is
// alpha: the working pressure angle and centre distance of the relations above. Nothing when
// the involute cannot be inverted.
std::optional<WorkingMesh> WorkingMeshOf(const MeshMember& member1, const MeshMember& member2,
                                         double alpha, bool internal);

// A member's part of the backlash jt (on the reference circle, in the section drawn): each
// member gives up the share its teeth make of the pair's, z jt / (z1 + z2).
double BacklashShare(int z, double jt, int zPair);

// A member's tooth thickness on its reference circle in the section drawn (module m, profile
// angle alpha, shift coefficient x in that section), less its backlash share:
//   s = (pi / 2 + 2 x tan(alpha)) m - thinning  (internal teeth: - 2 x tan(alpha)).
double ReferenceThickness(double m, double alpha, double x, bool internal, double thinning);

// In an internal pair the wheel with fewer teeth is the pinion, whichever was entered first.
bool FirstIsPinion(int z1, int z2);

// What the designer entered for a pair, in the units typed.
struct PairRequest {
    int z1 = 0;
    int z2 = 0;
    double module = 0;      // normal module, mm
    double helixDeg = 0;    // helix angle, degrees
    double profileDeg = 0;  // profile angle of the basic rack, degrees
    double x1 = 0;          // shift coefficients, normal section
    double x2 = 0;
    double backlash = 0;    // normal backlash jn, mm
    bool internal = false;  // one wheel has internal teeth
};

// The pair in the plane of the drawing. Heights given as multiples of the normal module are
// scaled by cos(beta) so that, times the transverse module, they keep their length.
struct PairSection {
    double mn = 0;         // normal module
    double beta = 0;       // helix angle
    double alphaN = 0;     // profile angle of the basic rack
    double mt = 0;         // transverse module
    double alphaT = 0;     // transverse profile angle
    double baseHelix = 0;  // beta_b = atan(cos(alpha_t) tan(beta))
    // Rack coefficients as multiples of mt; hfNormal is hf* unscaled, which the internal
    // pair's generator takes.
    double ha = 0;
    double hf = 0;
    double hfNormal = 0;
    double c = 0;
    double rf = 0;
    double x1 = 0;  // shift coefficients as multiples of mt, in the designer's order
    double x2 = 0;
};

// The transverse section of the request with the rack stored in `rack` (H, Hf, C, Ro).
PairSection PairSectionOf(const MainMod& rack, const PairRequest& request);

// One member of the pair.
struct GearMember {
    WheelRole role = WheelRole::Wheel1;  // Wheel1 / Wheel2, or Pinion / Ring
    int wheel = 1;                       // the wheel as the designer entered it: 1 or 2
    int z = 0;
    double xn = 0;          // shift coefficient as entered, normal section
    double x = 0;           // the same as a multiple of mt
    bool internal = false;  // internal teeth
    double d = 0;           // reference diameter
    double da = 0;          // tip diameter, shortened for the working centre distance (an
                            // internal pair's generator may still limit it)
    double db = 0;          // base diameter
    double thinning = 0;    // backlash share taken off the reference thickness
    double s = 0;           // reference tooth thickness, thinned
};

struct PairGeometry {
    bool internal = false;
    PairSection section;
    double alphaTw = 0;  // working transverse pressure angle
    double aw = 0;       // working centre distance
    double jt = 0;       // backlash on the reference circles, transverse: jn / (cos alpha_tw
                         // cos beta_b)
    // In the generator's order: an external pair's wheel 1 and 2, an internal pair's pinion and
    // ring.
    GearMember member1;
    GearMember member2;
    int cutterTeeth = 0;  // internal pair: the ring's pinion-type cutter has the pinion's teeth

    // The member the designer entered as wheel 1 or 2.
    const GearMember& Wheel(int wheel) const { return member1.wheel == wheel ? member1 : member2; }
};

using PairGeometryResult = Outcome<PairGeometry, GeometryError>;

// The pair, or why no pair has these data: tooth counts from 1 to kMaxTeeth (an internal pair's
// different), a finite positive module, finite angles, shifts and backlash, and a working
// pressure angle that is found and lies between 0 and 90 degrees.
PairGeometryResult PairGeometryOf(const MainMod& rack, const PairRequest& request);

// A member's teeth as the data sheet's formulas take them: as entered, thinned by its share.
ToothData ToothDataOf(const PairGeometry& pair, const GearMember& member);

// A member as the flank generator takes it: teeth, circles and transverse shift.
MeshMember MeshMemberOf(const GearMember& member);

}  // namespace tarvo
