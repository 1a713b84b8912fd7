// The flank of an external tooth as a cutting rack really generates it: the exact root fillet
// that the rack's rounded tip corner leaves (undercut included), joined to the involute up to the
// tip circle. Helical wheels are drawn in their transverse section.
#pragma once

#include <vector>

#include "math/outcome.h"
#include "profile/flank_members.h"
#include "profile/geometry_fault.h"
#include "profile/point_xy.h"

namespace tarvo {

// The member and its cutting rack. The rack is the counterpart of the basic rack: its tip lies
// (hf* + c*) m_n below its datum line, its tip corners are rounded with radius rf* m_n (in the
// normal section), its datum line stands x m_n outside the reference circle and it rolls on the
// reference circle. Heights are multiples of the normal module; the transverse section of a
// helical wheel has module m_n / cos(beta) and tan(alpha_t) = tan(alpha_n) / cos(beta).
struct RackCutData {
    int z = 0;                // number of teeth, >= 1
    double normalModule = 0;  // m_n, mm
    double helixAngle = 0;    // beta, radians, |beta| < pi/2 (either hand cuts alike)
    double profileAngle = 0;  // alpha_n of the basic rack, radians, 0 < alpha_n < pi/2
    double ha = 0;            // ha*: the tip diameter already carries it; kept for the caller
    double hf = 0;            // hf*: depth of the basic rack below its datum line, no clearance
    double c = 0;             // c*: radial clearance coefficient
    double rf = 0;            // rf*: tip corner radius of the cutting rack, multiples of m_n
    double x = 0;             // profile shift coefficient (normal section)
    double thinning = 0;      // backlash thinning of the reference-circle tooth thickness, mm,
                              // transverse (the member's share: jn z / (z1 + z2))
    double tipDiameter = 0;   // da, mm
    int accEv = 6;            // equal steps in radius on the involute, >= 1
    int accPer = 3;           // points on the fillet, junction included, >= 2
    // Above 0: the chord tolerance, mm; the points of the fillet and the involute are then
    // placed where their curvature needs them and the counts above are not used.
    double tolerance = 0;
};

struct RackCutFlankCurve {
    // accPer + accEv points in the layout of an external member's flank from ToothProfile: origin
    // at the gear centre, X along the tooth's centre line, the flank on the +Y side. First the
    // fillet from the centre line of the tooth space (polar angle pi/z less 1e-10 radian) towards
    // the tooth, accPer - 1 points; then accEv + 1 involute points evenly spaced in radius from
    // the start of the involute (form circle) to the tip circle.
    std::vector<PointXY> flank;
    double rootDiameter = 0;  // d - 2 m_n (hf* + c* - x): the rack's tip line
    double formDiameter = 0;  // where the involute starts
    bool undercut = false;    // the fillet cuts into the involute; the involute starts there
    // Tip corner radius used (normal section): rf* m_n, or less when two corners of that radius
    // would overlap on the rack's tip; then they meet on its centre line.
    double cornerRadius = 0;
    // The exact curves behind the flank: the fillet from the space's centre line to the form
    // circle, the involute from there to the tip.
    FlankMembers members;
};

// The flank, or why the rack cannot cut it: a tooth count or module that is no number of
// teeth or no length; data out of range (point counts below 2 and 1, angles outside their
// range, a negative rf*, values not finite) as DataOutOfRange, or a dedendum past the reference
// radius, whose neighbouring roots meet at the centre, as DedendumPastCentre; a rack tooth that
// comes to a point before its tip line as RackRoundingNotFound; no involute left below the tip
// (the tip circle inside the form circle, or an undercut fillet that never meets the
// involute) as ActiveProfileUndefined; a flank point that is not a number as NonFinitePoint.
using RackCutFlankResult = Outcome<RackCutFlankCurve, GeometryFault>;

// The fillet points are spaced evenly in the rack's rolling travel counted from the position in
// which its tooth stands on the space's centre line. Where the cut passes from the flat tip to
// the rounded corner the travel turns back, so it is counted as distance rolled, not as position.
// With a tolerance that would take more points than a drawing may hold, the fault is
// ToleranceTooFine and RackCutShortfall names the member and the points it would take.
RackCutFlankResult RackCutFlank(const RackCutData& data);
ToleranceShortfall RackCutShortfall(const RackCutData& data);

}  // namespace tarvo
