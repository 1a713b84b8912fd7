// The exact curves behind each member of a generated flank (the involute from its closed form,
// the fillet from the generating tool's own formulas), which points of the flank stand for
// which, and the flank drawn for a chord tolerance instead of point counts.
#pragma once

#include <cstddef>
#include <vector>

#include "math/outcome.h"
#include "profile/chord_deviation.h"
#include "profile/cutter_fillet.h"
#include "profile/rack_fillet.h"

namespace tarvo {

// An external member's involute from radius r0 to its tip circle: parameter the radius.
ExactCurve ExternalInvoluteCurve(double r0, double da, double db, double psi);

// An internal gear's involute from its tip circle da2 to the junction radius r2: parameter the
// diameter.
ExactCurve InternalInvoluteCurve(double da2, double r2, double db2, double psi2);

// The equivalent rack's fillet from the root end to the junction, as an external flank draws it.
ExactCurve RackFilletExact(const RackFilletCurve& rack);

// The cutter's fillet of an internal gear of z2 teeth from the junction towards the root,
// ended where it reaches the centre line of the tooth space or stops moving away from the
// centre, as the drawn outline ends it.
ExactCurve CutterFilletExact(const CutterFilletCurve& cutter, int z2);

// Which points of a flank stand for which curve. An external flank of fillet points then
// involute points (the junction shared, at index filletPoints - 1); an internal one of involute
// points from the tip then fillet points (the junction shared, at index involuteSteps).
FlankMembers ExternalFlankMembers(ExactCurve fillet, ExactCurve involute, int filletPoints,
                                  std::size_t flankSize);
FlankMembers InternalFlankMembers(ExactCurve involute, ExactCurve fillet, int involuteSteps,
                                  std::size_t flankSize);

// Why a flank could not be drawn within a tolerance: the points one member would need.
struct ToleranceShortfall {
    long points = 0;  // -1 when the count could not even be estimated
    bool fillet = false;
    long allowed = 0;  // the points a member of this wheel's flank may have
};

// The points one member of a flank may have on a wheel of z teeth: kMaxTolerancePoints, and
// on wheels of many teeth no more than keeps the whole outline within what the counts'
// maximum gives the largest wheel.
int MemberPointsAllowed(int z);

struct PlacedFlank {
    std::vector<PointXY> flank;
    FlankMembers members;
};
using PlacedFlankResult = Outcome<PlacedFlank, ToleranceShortfall>;

// An external flank for a chord tolerance: the fillet from the root to the junction, then the
// involute from the junction to the tip, each with its points where its curvature needs them.
PlacedFlankResult PlaceExternalFlank(const ExactCurve& fillet, const ExactCurve& involute,
                                     double tolerance, int z);

// An internal flank for a chord tolerance: the involute from the tip circle to the junction,
// then the fillet from the junction to the root.
PlacedFlankResult PlaceInternalFlank(const ExactCurve& involute, const ExactCurve& fillet,
                                     double tolerance, int z);

}  // namespace tarvo
