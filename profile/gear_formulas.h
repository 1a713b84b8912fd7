// The gear-geometry formulas of one wheel, one function each, with the formula beside it
// (ISO 21771, the same relations as GOST 16532 and GOST 16531). Angles in radians, lengths in
// millimetres; n marks the normal section, t the transverse section of a helical gear.
// The relations of the pair (working angle, centre distance, thickness with its backlash share)
// are in profile/pair_geometry.h.
#pragma once

#include <optional>

namespace tarvo {

// mt = mn / cos(beta).
double TransverseModule(double mn, double beta);

// alpha_t = atan(tan(alpha_n) / cos(beta)).
double TransversePressureAngle(double alphaN, double beta);

// d = z * mt.
double ReferenceDiameter(int z, double mt);

// db = d * cos(alpha_t).
double BaseDiameter(double d, double alphaT);

// beta_b = atan(tan(beta) * cos(alpha_t)).
double BaseHelixAngle(double beta, double alphaT);

// Transverse base pitch pbt = pi * mt * cos(alpha_t).
double TransverseBasePitch(double mt, double alphaT);

// The tooth counts and profile shift coefficients of a pair's two wheels (wheel 2 the one with
// internal teeth in an internal pair).
struct PairTeeth {
    int z1 = 0;
    int z2 = 0;
    double x1 = 0;
    double x2 = 0;
};

// One wheel's tip and base diameters, mm.
struct TipAndBase {
    double da = 0;
    double db = 0;
};

// The working mesh of a pair: centre distance aw (mm) and transverse pressure angle alpha_wt
// (radians).
struct WorkingMesh {
    double aw = 0;
    double alphaWt = 0;
};

// Transverse contact ratio from the tip circles:
//   external: eps_alpha = (ga1 + ga2 - aw sin(alpha_wt)) / pbt,
//   internal: eps_alpha = (ga1 - ga2 + aw sin(alpha_wt)) / pbt,
// with ga = sqrt(ra^2 - rb^2) the length of the line of action from the base circle to the tip
// circle (0 for a tip circle inside its base circle). Wheel 2 is the internal one.
double TransverseContactRatio(const TipAndBase& wheel1, const TipAndBase& wheel2,
                              const WorkingMesh& mesh, double pbt, bool internal);

// One wheel's teeth as the formulas below see them: what the designer entered, in the normal
// section, and how much the drawing thinned them for backlash.
struct ToothData {
    int z = 0;
    double mn = 0;          // normal module, mm
    double alphaN = 0;      // profile angle of the basic rack, radians
    double beta = 0;        // helix angle, radians (0 for a spur wheel or a spline)
    double x = 0;           // profile shift coefficient, normal section; for internal teeth a
                            // positive x thins the tooth
    bool internal = false;  // internal teeth (a ring or a spline hub)
    double thinning = 0;    // backlash share taken off the transverse thickness on d, mm
};

// The depth of the basic rack below its datum line and its tip rounding, both in modules: the
// rack's hf* + c* and rf*.
struct RackDepth {
    double hf = 0;
    double rf = 0;
};

// Transverse tooth thickness on the reference circle as drawn: the relation of
// profile/pair_geometry.h in the transverse section,
//   st = (pi / 2 + 2 xt tan(alpha_t)) mt - thinning  (internal teeth: - 2 xt tan(alpha_t)),
// xt = x cos(beta), which is mt (pi / 2 + 2 x tan(alpha_n)) - thinning.
double ReferenceThickness(const ToothData& t);

// Span measurement (base tangent length) of external teeth over k teeth, in the normal
// section, of the teeth as drawn:
//   W = mn cos(alpha_n) ((k - 0.5) pi + z inv(alpha_t) + 2 x tan(alpha_n)) - thinning cos(beta)
//       cos(alpha_n),
// the normal thinning being the transverse one times cos(beta).
double BaseTangentLength(const ToothData& t, int k);

// The usual number of teeth spanned, which touches the flanks near the middle of the tooth
// depth: k = round(z / pi (tan(alpha_x) / cos^2(beta_b) - 2 x tan(alpha_n) / z - inv(alpha_t))
// + 0.5), with cos(alpha_x) = db / (d + 2 x mn); at least 1 and at most z - 1 (1 for z < 2).
int SpanTeeth(const ToothData& t);

// The same k before rounding: the number of teeth whose span touches the flanks on the circle
// of diameter d + 2 x mn (the basis of the rounding above).
double SpanTeethExact(const ToothData& t);

// Diameter on which the caliper's jaws touch the flanks for a span W (normal section):
//   dW = sqrt(db^2 + (W / cos(beta_b))^2),
// the jaws lying on a tangent of the base cylinder, W / 2 either side of its tangent point.
double SpanContactDiameter(const ToothData& t, double W);

// Normal tooth thickness on the tip circle da, from the drawn reference thickness st:
//   external: sat = da (st / d + inv(alpha_t) - inv(alpha_at)),
//   internal: sat = da (st / d - inv(alpha_t) + inv(alpha_at)),
// cos(alpha_at) = db / da, and san = sat cos(beta_a) with tan(beta_a) = tan(beta) da / d.
double TipToothThickness(const ToothData& t, double da);

// The transverse tooth thickness on the tip circle sat of the relation above (for a spur wheel
// the two are one).
double TransverseTipThickness(const ToothData& t, double da);

// Form diameter (start of the involute) of external teeth generated by the basic rack, in
// transverse values (the rack's depths scale with cos(beta) against mt, so hf* mt cos(beta) =
// hf* mn):
//   dFf = sqrt(db^2 + (d sin(alpha_t) - 2 (hf* - rf* (1 - sin(alpha_t)) - x) mn / sin(alpha_t))^2).
double RackFormDiameter(const ToothData& t, const RackDepth& rack);

// Smallest shift at which the basic rack does not undercut external teeth, in the normal
// section as x is entered; in transverse values
//   x_min,t = hf*_t - rf*_t (1 - sin(alpha_t)) - z sin^2(alpha_t) / 2,
// with hf*_t = hf* cos(beta), rf*_t = rf* cos(beta), and x_min = x_min,t / cos(beta). For the
// 20-degree rack (hf* 1.25, rf* 0.38) on a spur wheel: about 1 - z sin^2(20 deg) / 2.
double UndercutLimit(const ToothData& t, const RackDepth& rack);

// Root diameter the basic rack cuts on external teeth: df = d - 2 mn (hf* - x).
double RackRootDiameter(const ToothData& t, const RackDepth& rack);

// Measurement over two rollers (external teeth) or between two rollers (internal teeth) of
// diameter D, set in opposite spaces (odd z: as near opposite as the teeth allow). In the
// transverse section the roller's offset from the flank is D / cos(beta_b):
//   external: inv(alpha_M) = st / d + inv(alpha_t) + D / (db cos(beta_b)) - pi / z,
//   internal: inv(alpha_M) = pi / z - st / d + inv(alpha_t) - D / (db cos(beta_b)),
// dM = db / cos(alpha_M) the diameter of the rollers' centres, and
//   M = dM c +- D,  c = 1 for even z, cos(pi / (2 z)) for odd z, + outside, - inside.
// For a helical wheel this is the measurement over balls in one transverse section.
// The roller touches each flank where the flank's normal through its centre meets it:
//   tan(alpha_y) = tan(alpha_M) -+ D / (db cos(beta_b)),  dy = db / cos(alpha_y)
// (- for external teeth, whose contact lies inside the centre; + for internal teeth).
struct RollerMeasurement {
    double D = 0;         // roller diameter, mm
    double centreD = 0;   // dM, mm
    double M = 0;         // mm
    double contactD = 0;  // dy, mm; 0 when the contact would lie below the base circle (no
                          // involute there)
};
// Nothing when alpha_M cannot be found (the roller fits no space).
std::optional<RollerMeasurement> MeasurementOverRollers(const ToothData& t, double rollerD);

// The roller that touches the flank on the reference circle: its centre lies on the flank's
// normal there, so tan(alpha_M) - tan(alpha_t) = +-D / (db cos(beta_b)) together with the
// equation above gives, with c = db cos(beta_b),
//   external: alpha_M = alpha_t + pi / z - st / d,  D = c (tan(alpha_M) - tan(alpha_t)),
//   internal: alpha_M = alpha_t - pi / z + st / d,  D = c (tan(alpha_t) - tan(alpha_M)).
std::optional<double> TouchingRollerDiameter(const ToothData& t);

// The roller that touches the flank on the circle of diameter dy (at least db), from the same
// two equations: with alpha_y the flank's pressure angle there,
//   external: alpha_M = tan(alpha_y) - inv(alpha_t) + pi / z - st / d,
//             D = c (tan(alpha_M) - tan(alpha_y)),
//   internal: alpha_M = tan(alpha_y) - inv(alpha_t) - pi / z + st / d,
//             D = c (tan(alpha_y) - tan(alpha_M)).
// On dy = d this is the roller above. Nothing for dy below db.
std::optional<double> RollerTouchingAt(const ToothData& t, double dy);

// Form diameter (end of the involute towards the root) of an internal gear cut by a pinion-type
// cutter whose involute ends at diameter dNa0 (where its tip rounding begins), base diameter
// db0, in a cutting mesh of centre distance a0 and working pressure angle alpha_w0:
//   dFf2 = 2 sqrt(rb2^2 + (a0 sin(alpha_w0) + sqrt((dNa0 / 2)^2 - rb0^2))^2).
double CutterFormDiameter(double db2, double db0, double dNa0, double a0, double alphaW0);

// Diameter down to which the mate's tip reaches on a flank (start of the active profile), from
// the length of the line of action between this wheel's base tangent point and the mate's tip:
//   external pair: L = aw sin(alpha_wt) - ga_mate,
//   internal pair, pinion: L = ga_ring - aw sin(alpha_wt),
//   internal pair, ring:   L = aw sin(alpha_wt) + ga_pinion,
// dNf = sqrt(db^2 + 4 L^2). A negative L (external wheel) means the mate's tip passes the base
// tangent point: it reaches below the base circle, which is interference whatever dNf says.
struct ActiveProfileStart {
    double lineOfAction;  // L, mm
    double diameter;      // dNf, mm
};
ActiveProfileStart ActiveProfileStartDiameter(double db, const TipAndBase& mate,
                                              const WorkingMesh& mesh, bool internal, bool ring);

}  // namespace tarvo
