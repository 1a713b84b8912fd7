// The data sheet of a drawing just written: for each wheel drawn the numbers that go on its part
// drawing, for a pair the numbers of the mesh and the check of the drawn outlines, and the
// warnings that apply. The window's report page and tarvo-cli --report both show it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "drawing/builder_call.h"
#include "drawing/dxf_reader.h"
#include "profile/geometry_fault.h"
#include "profile/hand.h"
#include "profile/main_mod.h"
#include "report/flank_accuracy.h"
#include "report/mesh_check.h"
#include "report/overlap_remedy.h"
#include "report/overlap_tolerance.h"
#include "report/roller_choice.h"
#include "report/span_choice.h"

namespace tarvo {

// Below this transverse contact ratio a pair is reported as not meshing reliably; the ratio is
// compared as shown, rounded to kContactRatioDecimals places, so a warning never reads "1.100
// below 1.100".
constexpr double kMinContactRatio = 1.1;
constexpr int kContactRatioDecimals = 3;
// Below this tooth thickness on the tip circle, in modules, a tooth is reported as pointed.
constexpr double kMinTipThickness = 0.25;
// A mate's tip must reach past the generated form diameter by more than this, mm, before it is
// called interference: a reach within a micrometre of the form circle is the tangent case, and
// no part drawing gives a diameter finer than that.
constexpr double kInterferenceTolerance = 0.001;
// The root the drawing shows and the one the basic rack cuts are both given when they differ
// by more than this, mm: below it the difference is lost in the last shown digits of a
// drawing dimension.
constexpr double kRootDifference = 0.01;

// The spline standard a spline member was drawn to (its table rows and designation).
enum class SplineNorm { Gost6033, Ost100086 };

// What the report takes beyond the drawing itself.
struct SheetOptions {
    // Diameter of the measuring rollers, mm; 0 chooses for each wheel the gauge size of the
    // stocked series (GaugeSizes) whose contact lies nearest the middle of its drawn involute.
    double rollerDiameter = 0;
    // Hand of wheel 1 of a helical pair for a positive helix angle (a negative one means left);
    // wheel 2 takes the opposite hand in an external pair, the same in an internal one. The
    // drawing, a transverse section, is the same for both hands.
    Hand hand = Hand::Right;
    // The accuracy designation for the parameter table, printed as typed; none when none was
    // given.
    std::optional<std::string> accuracy;
    // A spline member's standard.
    SplineNorm spline = SplineNorm::Gost6033;
};

struct WheelSheet {
    WheelRole role = WheelRole::Wheel1;  // wheel 1 or 2 of a pair, or the spline's shaft or hub
    int outline = 0;                     // which polyline of the drawing is this wheel's outline
    bool internalTeeth = false;
    int z = 0;
    double mn = 0;        // normal module (the module of a spur wheel or a spline)
    double mt = 0;        // transverse module
    double d = 0;         // reference diameter
    double da = 0;        // tip diameter as drawn
    double df = 0;        // root diameter as drawn
    double db = 0;        // base diameter
    double x = 0;         // profile shift coefficient (normal section, as entered)
    double thinning = 0;  // backlash share taken off the transverse thickness on d, mm
    // The hand of a helical wheel's tooth line; none for a spur wheel or a spline.
    std::optional<Hand> hand;
    InvoluteSpan involute;  // diameters between which the flank is drawn as the involute
    bool hasSpan = false;   // external teeth: the span measurement below applies
    int k = 0;              // teeth spanned (refused: the usual k)
    // Base tangent length over k teeth, of the teeth as drawn, and the same without the
    // backlash share; none when refused.
    std::optional<double> W;
    std::optional<double> WNominal;
    double spanContact = 0;                  // diameter where the caliper touches the flanks
    std::optional<SpanRefusal> spanRefusal;  // no k touches the drawn involute
    double tipThickness = 0;        // normal tooth thickness on the drawn tip circle, as drawn
    double tipThicknessT = 0;       // the transverse one (equal for a spur wheel)
    std::optional<double> rollerD;  // measuring roller diameter, mm (none: no size touches)
    // Over (external teeth) or between (internal) two rollers, and the same without the
    // backlash share; none when the roller is refused.
    std::optional<double> M;
    std::optional<double> MNominal;
    std::optional<double> rollerContact;         // diameter where the rollers touch the flanks
    std::optional<RollerRefusal> rollerRefusal;  // why the roller gives no M
    // External teeth: what the basic rack itself would leave on them.
    bool rackCut = false;
    double dfRack = 0;  // root diameter the basic rack cuts
    double xMin = 0;    // smallest shift free of undercut
    bool undercut = false;
    // A wheel of a pair: where the mate's tip reaches and where the involute begins.
    bool checkedInterference = false;
    double activeStart = 0;   // dNf: how far in (internal teeth: out) the mate's tip reaches
    double lineOfAction = 0;  // L of dNf; negative past the base tangent point
    double formDiameter = 0;  // dFf: where the generated involute begins
    bool interference = false;
    bool jam = false;  // the mate's tip passes the tangent point of this base circle
    // How far the drawn chords stray from the exact curves, and the points of one flank.
    std::optional<WheelAccuracy> accuracy;  // none when the flank could not be rebuilt
};

struct PairSheet {
    double aw = 0;        // working centre distance
    double alphaTw = 0;   // working transverse pressure angle, degrees
    double epsAlpha = 0;  // transverse contact ratio
    // The check of the drawn outlines; not checked until the sheet of a pair checks it.
    MeshCheckResult mesh = MeshCheckResult::Failure("зацепление не проверено");
    // With mesh.overlap: the point counts that clear it, if any; none when not sought.
    std::optional<OverlapRemedy> remedy;
    // With mesh.overlap: the chord tolerance that clears it; none when not sought.
    std::optional<OverlapTolerance> toleranceRemedy;
};

enum class SheetWarningKind {
    LowContactRatio,
    PointedTooth,
    Interference,
    Overlap,
    MeshNotChecked,
    Undercut,
    Jam,
    SpanRefused,    // no span count touches the drawn involute
    RollerRefused,  // no M: the roller asked for, or no gauge size, fails on this wheel
};

struct SheetWarning {
    SheetWarningKind kind = SheetWarningKind::LowContactRatio;
    int wheel = -1;  // index into DataSheet::wheels, -1 for the pair
    int mate = -1;   // interference and jam: the wheel whose tip reaches in
};

// The basic rack the drawing was cut with, as stored: angle in degrees, the rest in modules.
struct SheetRack {
    double alpha = 0;
    double ha = 0;
    double hf = 0;
    double c = 0;
    double rf = 0;
};

struct DataSheet {
    BuilderCall::Kind kind = BuilderCall::Kind::ExternalPair;
    bool helical = false;
    double beta = 0;  // helix angle as entered, degrees (its sign is the hand of wheel 1)
    SheetRack rack;
    std::optional<std::string> accuracy;       // the designation as typed, if given
    SplineNorm spline = SplineNorm::Gost6033;  // a spline member's standard
    double backlash = 0;                       // normal backlash jn the drawing was made with, mm
    double tolerance = 0;  // the chord tolerance the points were placed for, mm; 0 with counts
    std::vector<WheelSheet> wheels;  // a pair in the order the designer entered its wheels
    bool pair = false;
    PairSheet mesh;
    std::vector<SheetWarning> warnings;
};

// The sheet of the drawing `call` made, read back as `drawing`. `state` holds the basic rack
// and the drawing accuracy the drawing was made with. Diameters "as drawn" and the mesh check
// come from the drawing; everything else from the formulas of profile/gear_formulas.h.
// The sheet, or in Russian why none could be made.
using DataSheetResult = Outcome<DataSheet, std::string>;

DataSheetResult MakeDataSheet(const MainMod& state, const BuilderCall& call,
                              const DxfDrawing& drawing, const SheetOptions& options = {});

// Reads the drawing at `path` back and makes its sheet, or says why the drawing cannot be read.
DataSheetResult DataSheetOfFile(const MainMod& state, const BuilderCall& call,
                                const std::string& path, const SheetOptions& options = {});

// Makes the sheet of the drawing a write just produced, from the bytes written (the file held
// open), never from what its path names by now.
DataSheetResult DataSheetOfWritten(const MainMod& state, const BuilderCall& call,
                                   const WrittenFile& written, const SheetOptions& options = {});

// Writes the drawing `call` describes (RunBuilder) and makes its sheet from what the writer
// hands on as it writes: every number as its text reads back, the values a reading of the
// bytes written gives, without reading them a second time. Where the sheet needs more than it
// kept while writing, it reads the bytes written whole, as DataSheetOfWritten does.
struct DrawnSheet {
    DrawResult drawn;
    std::optional<DataSheetResult> sheet;  // when the drawing was written
};
DrawnSheet DrawWithDataSheet(const MainMod& state, const BuilderCall& call,
                             const SheetOptions& options = {});

}  // namespace tarvo
