// One flank of each member of a mesh, point by point: the transition curve the cutting tool
// leaves (rack for external teeth, pinion-type cutter for internal teeth) joined to the exact
// involute up to the tip circle. The results go to Prof1 and Prof2 of the shared state.
#pragma once

#include <cstdint>

#include "profile/cutter_fillet.h"
#include "profile/geometry_fault.h"
#include "profile/main_mod.h"
#include "profile/rack_fillet.h"

namespace tarvo {

// What ToothProfile found on the way, for the builders and for checking the geometry.
struct ToothProfileReport {
    GeometryError error;        // wheel 1 or 2 names the member that failed
    double workingAngle = 0;    // operating pressure angle of the mesh (both members generated)
    double centreDistance = 0;  // operating centre distance of the mesh
    double dl1 = 0;             // limit diameters: where the mate's tip begins to touch
    double dl2 = 0;
    RackFilletResult rack1;     // member 1's fillet (always rack-generated)
    RackFilletResult rack2;     // member 2's fillet in an external mesh
    CutterFilletResult cutter;  // member 2's fillet in an internal mesh
};

// Computes the flanks of member 1 into state.Prof1 and member 2 into state.Prof2 (a member not
// generated keeps all its points at (0, 0)). Reads state.AccEv, state.AccPer and
// state.SingleMember (AccPer >= 2, AccEv >= 1). Angles in radians; lengths in millimetres;
// ha is accepted and not used (the tip diameters carry it). For an internal pair generated with
// both members, da1 and da2 may be limited in place so the tips clear each other.
ToothProfileReport ToothProfile(MainMod& state, std::int32_t z1, std::int32_t z2, double d1,
                                double d2, double& da1, double& da2, double db1, double db2,
                                double m, double alpha, double x1, double x2, double ha,
                                double hf, double c, double rf, std::int32_t z0, double jn,
                                bool internal);

}  // namespace tarvo
