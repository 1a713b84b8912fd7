// One flank of each member of a mesh, point by point: the transition curve the cutting tool
// leaves (rack for external teeth, pinion-type cutter for internal teeth) joined to the exact
// involute up to the tip circle, returned by value.
#pragma once

#include <cstdint>
#include <vector>

#include "profile/cutter_fillet.h"
#include "profile/flank_members.h"
#include "profile/geometry_fault.h"
#include "profile/mesh_member.h"
#include "profile/point_xy.h"
#include "profile/rack_fillet.h"

namespace tarvo {

// Everything the generator needs, by name. Member 1 is the external gear (in an internal pair
// the pinion); member 2 its mate (in an internal pair the ring).
struct ToothProfileInput {
    MeshMember member1;
    MeshMember member2;
    double m = 0;      // module, mm
    double alpha = 0;  // profile angle of the basic rack, radians
    double hf = 0;     // dedendum, clearance and root fillet radius coefficients of the rack
    double c = 0;
    double rf = 0;
    std::int32_t z0 = 0;        // teeth of the pinion-type cutter of an internal gear
    double jn = 0;              // backlash: each member's reference thickness less jn z / (z1 + z2)
    bool internal = false;      // member 2 is an internal gear
    std::int32_t AccEv = 0;     // steps on the involute, at least 1
    std::int32_t AccPer = 0;    // points on the transition curve, at least 2
    bool SingleMember = false;  // only the member of interest (external: 1; internal: 2)
    // Above 0: the chord tolerance, mm. The points of each member are then placed so that no
    // chord strays further from the exact curve, and the counts above are not used.
    double tolerance = 0;
};

// The flanks and what the generator found on the way. With counts, Prof1 and Prof2 hold
// AccPer + AccEv points (point k, counted from 1, is element k - 1); a member not generated keeps
// all its points at (0, 0). Per1 and Per2 hold the transition curves in the order generated. With a
// tolerance each generated flank has the points its curves need, which may differ by member.
struct ToothProfileFlanks {
    double workingAngle = 0;    // operating pressure angle of the mesh (both members generated)
    double centreDistance = 0;  // operating centre distance of the mesh
    double dl1 = 0;             // limit diameters: where the mate's tip begins to touch
    double dl2 = 0;
    double da1 = 0;            // tip diameters as drawn: an internal pair's tip limits may
    double da2 = 0;            // reduce the pinion's and enlarge the ring's
    RackFilletCurve rack1;     // member 1's fillet (always rack-generated)
    RackFilletCurve rack2;     // member 2's fillet in an external mesh
    CutterFilletCurve cutter;  // member 2's fillet in an internal mesh
    std::vector<PointXY> Prof1;
    std::vector<PointXY> Prof2;
    std::vector<PointXY> Per1;
    std::vector<PointXY> Per2;
    // The exact curves behind each generated flank and which of its points stand for which.
    FlankMembers members1;
    FlankMembers members2;
};

// The flanks, or the fault with wheel 1 or 2 naming the member that failed.
using ToothProfileResult = Outcome<ToothProfileFlanks, GeometryError>;

// Computes one flank of each member: the fillet the cutting tool leaves joined to the involute
// up to the tip circle. Angles in radians; lengths in millimetres.
ToothProfileResult ToothProfile(const ToothProfileInput& in);

// The pinion-type cutter that cuts member 2 of an internal mesh (its teeth in.z0), as the
// generator takes it, with `fillets` points on the fillet.
CutterFilletInput RingCutterInput(const ToothProfileInput& in, int fillets);

}  // namespace tarvo
