// Building the data sheet: the standard formulas for what the designer's data fix, the drawing
// itself for what the drawing decides (tip and root circles as written, the outlines for the
// mesh check), and the warnings that follow from both.
#include "report/data_sheet.h"
#include "report/read_text.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "drawing/internal_pair.h"
#include "drawing/pair_data.h"
#include "drawing/rack_cut.h"
#include "math/constants.h"
#include "math/involute.h"
#include "math/rounding.h"
#include "profile/gear_formulas.h"
#include "profile/pair_geometry.h"
#include "report/drawn_involute.h"
#include "report/overlap_remedy.h"

namespace tarvo {

namespace {

// Smallest and largest distance of a drawn outline from its centre.
struct Reach {
    double rMin = 0;
    double rMax = 0;
};

Reach DrawnReach(const std::vector<PointXY>& outline, PointXY centre) {
    Reach r{HUGE_VAL, 0};
    for (const PointXY& p : outline) {
        const double distance = std::hypot(p.X - centre.X, p.Y - centre.Y);
        r.rMin = std::min(r.rMin, distance);
        r.rMax = std::max(r.rMax, distance);
    }
    return r;
}

// What every wheel of one sheet shares: the basic rack's depth, the roller asked for and what
// the drawing was made with (the rack-cut root among it).
struct SheetBasis {
    RackDepth rack;
    SheetOptions options;
    const MainMod* state;
};

// A wheel's outline as read back and the centre it turns about, and the flank its builder
// made it of (null when the drawing's data could not be rebuilt).
struct DrawnWheel {
    const std::vector<PointXY>* outline;
    PointXY centre;
    const std::vector<PointXY>* flank = nullptr;
};

// Span and rollers on the drawn involute: the k and the roller the workshop is given, their
// values as drawn and without the backlash share, or why none applies.
void AddMeasurements(WheelSheet& w, const ToothData& t, const DrawnWheel& drawn,
                     const SheetBasis& basis) {
    // Without the flank the involute is taken from the base circle (or the tip) to the tip.
    w.involute = drawn.flank != nullptr ? DrawnInvoluteSpan(*drawn.flank, w.db, t.internal)
                                        : InvoluteSpan{t.internal ? HUGE_VAL : w.db, w.da};
    ToothData nominal = t;
    nominal.thinning = 0;
    if (!t.internal) {
        w.hasSpan = true;
        const SpanResult span = ChooseSpan(t, w.involute);
        w.k = span.ok() ? span.value() : span.fault().k;
        w.spanContact = SpanContactDiameter(t, BaseTangentLength(t, w.k));
        if (span.ok()) {
            w.W = BaseTangentLength(t, w.k);
            w.WNominal = BaseTangentLength(nominal, w.k);
        } else {
            w.spanRefusal = span.fault();
        }
    }
    const DrawnTeeth teeth{w.da, w.involute, drawn.flank};
    const double asked = basis.options.rollerDiameter;
    const RollerResult roller = asked > 0 ? CheckRoller(t, teeth, asked) : ChooseRoller(t, teeth);
    if (roller.ok()) {
        w.rollerD = roller->D;
        w.M = roller->M;
        w.rollerContact = roller->contactD;
        const std::optional<RollerMeasurement> untinned =
            MeasurementOverRollers(nominal, roller->D);
        if (untinned) {
            w.MNominal = untinned->M;
        }
    } else {
        w.rollerD = roller.fault().D;
        w.rollerContact = roller.fault().contactD;
        w.rollerRefusal = roller.fault();
    }
}

// The cutting rack's envelope on external teeth, when the drawing was made with the rack-cut
// root: its root and form diameters and its undercut verdict are then those of the drawing.
// Nothing when the drawing has the equivalent rack's fillet (or the rack refuses the data read
// back, which the builder did not).
std::optional<RackCutFlankCurve> CutEnvelope(const SheetBasis& basis, const ToothData& t,
                                             double da) {
    if (t.internal || !basis.state->CutFillet) {
        return std::nullopt;
    }
    RackCutData data = RackCutDataOf(*basis.state, t, da);
    // Only the diameters are wanted, and they do not depend on the point counts.
    data.accPer = 2;
    data.accEv = 1;
    const RackCutFlankResult envelope = RackCutFlank(data);
    if (!envelope.ok()) {
        return std::nullopt;
    }
    return envelope.value();
}

// One wheel's own numbers. External teeth reach out to their tip circle and in to their root
// circle; internal teeth the other way round. W, the tip thickness and M are those of the
// teeth as drawn, thinned by the wheel's backlash share.
WheelSheet Wheel(WheelRole role, const ToothData& t, const DrawnWheel& drawn,
                 const SheetBasis& basis) {
    WheelSheet w;
    w.role = role;
    w.internalTeeth = t.internal;
    w.z = t.z;
    w.mn = t.mn;
    w.mt = TransverseModule(t.mn, t.beta);
    w.x = t.x;
    w.thinning = t.thinning;
    const double alphaT = TransversePressureAngle(t.alphaN, t.beta);
    w.d = ReferenceDiameter(t.z, w.mt);
    w.db = BaseDiameter(w.d, alphaT);
    const Reach reach = DrawnReach(*drawn.outline, drawn.centre);
    w.da = 2 * (t.internal ? reach.rMin : reach.rMax);
    w.df = 2 * (t.internal ? reach.rMax : reach.rMin);
    if (!t.internal) {
        w.rackCut = true;
        w.dfRack = RackRootDiameter(t, basis.rack);
        w.xMin = UndercutLimit(t, basis.rack);
        w.undercut = t.x < w.xMin;
        if (const auto envelope = CutEnvelope(basis, t, w.da)) {
            w.dfRack = envelope->rootDiameter;
            w.undercut = envelope->undercut;
        }
    }
    w.tipThickness = TipToothThickness(t, w.da);
    w.tipThicknessT = TransverseTipThickness(t, w.da);
    AddMeasurements(w, t, drawn, basis);
    return w;
}

// Where the ring's involute ends towards its root: it is cut by the pinion-type cutter the
// generator fitted, whose own involute ends where its tip rounding begins.
double RingFormDiameter(const PairGeometry& pair, const CutterFilletCurve& c) {
    return CutterFormDiameter(pair.member2.db, c.db0, c.dNa0, c.a0, c.alphaW0);
}

void AddWarnings(DataSheet& sheet) {
    for (std::size_t i = 0; i < sheet.wheels.size(); ++i) {
        const WheelSheet& w = sheet.wheels[i];
        const int wheel = static_cast<int>(i);
        if (w.tipThickness < kMinTipThickness * w.mn) {
            sheet.warnings.push_back({SheetWarningKind::PointedTooth, wheel, -1});
        }
        if (w.undercut) {
            sheet.warnings.push_back({SheetWarningKind::Undercut, wheel, -1});
        }
        if (w.spanRefusal) {
            sheet.warnings.push_back({SheetWarningKind::SpanRefused, wheel, -1});
        }
        if (w.rollerRefusal) {
            sheet.warnings.push_back({SheetWarningKind::RollerRefused, wheel, -1});
        }
    }
    if (!sheet.pair) {
        return;
    }
    const double shownRatio = RoundToPlaces(sheet.mesh.epsAlpha, kContactRatioDecimals);
    if (!(shownRatio >= kMinContactRatio)) {
        sheet.warnings.push_back({SheetWarningKind::LowContactRatio, -1, -1});
    }
    for (std::size_t i = 0; i < sheet.wheels.size(); ++i) {
        const int wheel = static_cast<int>(i);
        const int mate = static_cast<int>(1 - i);
        if (sheet.wheels[i].jam) {
            sheet.warnings.push_back({SheetWarningKind::Jam, wheel, mate});
        } else if (sheet.wheels[i].interference) {
            sheet.warnings.push_back({SheetWarningKind::Interference, wheel, mate});
        }
    }
    if (!sheet.mesh.mesh.ok()) {
        sheet.warnings.push_back({SheetWarningKind::MeshNotChecked, -1, -1});
    } else if (sheet.mesh.mesh->overlap) {
        sheet.warnings.push_back({SheetWarningKind::Overlap, -1, -1});
    }
}

// Where the mate's tip reaches on wheel i against where its involute is generated. External
// teeth are checked against the basic rack's form diameter, unless the rack undercuts them (that
// warning says more) or the mate's tip passes their base tangent point (the teeth jam); the
// ring against the cutter its fillet was drawn with.
void CheckInterference(DataSheet& sheet, std::size_t i, std::optional<double> ringForm,
                       const SheetBasis& basis, const ToothData& t) {
    WheelSheet& w = sheet.wheels[i];
    const WheelSheet& mate = sheet.wheels[1 - i];
    const bool internal = sheet.kind == BuilderCall::Kind::InternalPair;
    const double alphaWt = sheet.mesh.alphaTw * kPi / 180;
    const ActiveProfileStart start = ActiveProfileStartDiameter(
        w.db, {mate.da, mate.db}, {sheet.mesh.aw, alphaWt}, internal, w.internalTeeth);
    w.activeStart = start.diameter;
    w.lineOfAction = start.lineOfAction;
    if (!w.internalTeeth) {
        w.jam = start.lineOfAction < 0;
        const auto envelope = CutEnvelope(basis, t, w.da);
        w.formDiameter = envelope ? envelope->formDiameter : RackFormDiameter(t, basis.rack);
        w.checkedInterference = !w.undercut && !w.jam;
        w.interference =
            w.checkedInterference && start.diameter < w.formDiameter - kInterferenceTolerance;
        return;
    }
    if (ringForm) {
        w.formDiameter = *ringForm;
        w.checkedInterference = std::isfinite(w.formDiameter);
        w.interference =
            w.checkedInterference && start.diameter > w.formDiameter + kInterferenceTolerance;
    }
}

DataSheetResult Refused(const std::string& reason) {
    return DataSheetResult::Failure(reason);
}

using Flanks = DrawnFlanksResult;

// Wheel i's flank (in the designer's order), or null when the drawing could not be rebuilt.
const std::vector<PointXY>* FlankOf(const Flanks& flanks, std::size_t i) {
    return flanks.ok() && i < flanks->size() ? &flanks.value()[i].points : nullptr;
}

// The spline member's sheet: one wheel, no backlash.
void SplineSheet(DataSheet& sheet, const BuilderCall& call, const DrawnWheel& drawn,
                 const SheetBasis& basis) {
    sheet.spline = basis.options.spline;
    ToothData t;
    t.z = call.Z;
    t.mn = call.m;
    t.alphaN = GradToRad(call.alpha);
    t.beta = 0;
    t.x = call.x;
    t.internal = call.hub;
    t.thinning = 0;
    sheet.wheels.push_back(Wheel(call.hub ? WheelRole::Hub : WheelRole::Shaft, t, drawn, basis));
    AddWarnings(sheet);
}

// The mesh check works in Boost.Geometry's integer grid, whose rescaled coordinates overflow
// for a drawing larger than this, mm (a wheel a million kilometres across): such a drawing is
// not checked, and the sheet says so in words instead of the library's.
constexpr double kMeshCheckMaxCoordinate = 1e12;
constexpr const char* kMeshCheckOutOfRange =
    "проверка зацепления не выполнена: чертёж больше 10^12 мм, вне диапазона проверки";

bool WithinMeshCheckRange(const DxfDrawing& drawing, std::size_t outline1, std::size_t outline2) {
    for (const std::size_t k : {outline1, outline2}) {
        for (const PointXY& p : drawing.polylines[k].points) {
            if (!(std::fabs(p.X) <= kMeshCheckMaxCoordinate) ||
                !(std::fabs(p.Y) <= kMeshCheckMaxCoordinate)) {
                return false;
            }
        }
    }
    return true;
}

// The hand of each wheel's tooth line: wheel 1's from the sign of the helix angle or, for a
// positive one, as chosen; in an external mesh the mate's is the opposite, in an internal one
// the same.
void SetHands(DataSheet& sheet, bool internal, Hand chosen) {
    if (!sheet.helical) {
        return;
    }
    const Hand first = sheet.beta < 0 ? Hand::Left : chosen;
    sheet.wheels[0].hand = first;
    sheet.wheels[1].hand = internal ? first : Opposite(first);
}

// A wheel's outline as the mesh check turns it: outline k of the drawing about its centre mark.
MeshWheel DrawnMeshWheel(const DxfDrawing& drawing, const std::vector<PointXY>& centres,
                         std::size_t k, const ToothData& t) {
    MeshWheel wheel;
    wheel.outline = &drawing.polylines[k].points;
    wheel.centre = centres[k];
    wheel.teeth = t.z;
    wheel.internal = t.internal;
    return wheel;
}

void MakePairSheet(DataSheet& sheet, const MainMod& state, const BuilderCall& call,
                   const DxfDrawing& drawing, const SheetBasis& basis, const Flanks& flanks,
                   const PairGeometry& pair) {
    const std::vector<PointXY> centres = CentreMarks(drawing);
    const bool internal = pair.internal;
    const PairSection& section = pair.section;
    sheet.helical = section.beta != 0;
    sheet.beta = call.beta;
    sheet.backlash = call.jn;
    const double alphaWt = pair.alphaTw;
    sheet.mesh.aw = pair.aw;
    sheet.mesh.alphaTw = RadToGrad(alphaWt);

    // The drawing holds wheel 1 first for an external pair, the ring first for an internal one.
    const std::size_t outline1 = internal && pair.member1.wheel == 1 ? 1 : 0;
    const std::size_t outline2 = 1 - outline1;
    const ToothData t1 = ToothDataOf(pair, pair.Wheel(1));
    const ToothData t2 = ToothDataOf(pair, pair.Wheel(2));
    sheet.wheels.push_back(
        Wheel(WheelRole::Wheel1, t1,
              {&drawing.polylines[outline1].points, centres[outline1], FlankOf(flanks, 0)}, basis));
    sheet.wheels.push_back(
        Wheel(WheelRole::Wheel2, t2,
              {&drawing.polylines[outline2].points, centres[outline2], FlankOf(flanks, 1)}, basis));
    SetHands(sheet, internal, basis.options.hand);
    sheet.wheels[0].outline = static_cast<int>(outline1);
    sheet.wheels[1].outline = static_cast<int>(outline2);
    // The mesh formulas take the pinion (member 1 of the model) first in an internal pair.
    const WheelSheet& p = sheet.wheels[static_cast<std::size_t>(pair.member1.wheel - 1)];
    const WheelSheet& r = sheet.wheels[static_cast<std::size_t>(pair.member2.wheel - 1)];
    sheet.mesh.epsAlpha =
        TransverseContactRatio({p.da, p.db}, {r.da, r.db}, {sheet.mesh.aw, alphaWt},
                               TransverseBasePitch(section.mt, section.alphaT), internal);

    std::optional<double> ringForm;
    if (internal) {
        const CutterFilletResult cutter = InternalPairCutter(state, call);
        if (cutter.ok()) {
            ringForm = RingFormDiameter(pair, cutter.value());
        }
    }
    CheckInterference(sheet, 0, ringForm, basis, t1);
    CheckInterference(sheet, 1, ringForm, basis, t2);

    // Turned in the designer's order, so "wheel 1" means the same in every line of the sheet.
    const MeshWheel m1 = DrawnMeshWheel(drawing, centres, outline1, t1);
    const MeshWheel m2 = DrawnMeshWheel(drawing, centres, outline2, t2);
    sheet.mesh.mesh = WithinMeshCheckRange(drawing, outline1, outline2)
                          ? CheckMesh(m1, m2)
                          : MeshCheckResult::Failure(kMeshCheckOutOfRange);
    if (sheet.mesh.mesh.ok() && sheet.mesh.mesh->overlap) {
        // Counts mean nothing to a drawing made for a tolerance: only a finer one is sought.
        if (!(state.Tolerance > 0)) {
            sheet.mesh.remedy = FindOverlapRemedy(state, call, sheet.mesh.mesh.value());
        }
        sheet.mesh.toleranceRemedy = FindOverlapTolerance(state, call, sheet.mesh.mesh.value());
    }
    AddWarnings(sheet);
}

}  // namespace

DataSheetResult MakeDataSheet(const MainMod& state, const BuilderCall& call,
                              const DxfDrawing& drawing, const SheetOptions& options) {
    const bool pair = call.kind != BuilderCall::Kind::Spline;
    const std::size_t expected = pair ? 2 : 1;
    const std::vector<PointXY> centres = CentreMarks(drawing);
    if (drawing.polylines.size() != expected || centres.size() != expected) {
        return Refused("в чертеже " + std::to_string(drawing.polylines.size()) + " контур(а) и " +
                       std::to_string(centres.size()) + " центр(а), ожидалось по " +
                       std::to_string(expected));
    }
    for (const DxfPolyline& p : drawing.polylines) {
        if (p.points.size() < 4) {
            return Refused("контур в чертеже пуст");
        }
    }

    DataSheet sheet;
    sheet.kind = call.kind;
    sheet.pair = pair;
    // The rack's full depth below its datum line, clearance included, cuts the root.
    const SheetBasis basis{{state.Hf + state.C, state.Ro}, options, &state};
    sheet.rack.alpha = state.Alfa;
    sheet.rack.ha = state.H;
    sheet.rack.hf = state.Hf;
    sheet.rack.c = state.C;
    sheet.rack.rf = state.Ro;
    sheet.accuracy = options.accuracy;
    // The flanks the drawing was made of, rebuilt once from the same data: the measurements
    // must touch their drawn involute, and the accuracy is measured on them.
    const Flanks flanks = DrawnFlanks(state, call);
    if (pair) {
        const PairGeometryResult model = PairOf(state, call);
        if (!model.ok()) {
            return Refused("по этим данным пара не строится");
        }
        MakePairSheet(sheet, state, call, drawing, basis, flanks, model.value());
    } else {
        SplineSheet(sheet, call, {&drawing.polylines[0].points, centres[0], FlankOf(flanks, 0)},
                    basis);
    }
    sheet.tolerance = state.Tolerance;
    for (std::size_t i = 0; flanks.ok() && i < sheet.wheels.size() && i < flanks->size(); ++i) {
        sheet.wheels[i].accuracy = DrawnAccuracy(flanks.value()[i]);
    }
    return sheet;
}

DataSheetResult DataSheetOfFile(const MainMod& state, const BuilderCall& call,
                                const std::string& path, const SheetOptions& options) {
    const DxfReadResult read = ReadDxfFile(path);
    if (!read.ok()) {
        return Refused("чертёж не прочитан: " + DescribeDxfRead(read.fault()));
    }
    return MakeDataSheet(state, call, read.value(), options);
}

DataSheetResult DataSheetOfWritten(const MainMod& state, const BuilderCall& call,
                                   const WrittenFile& written, const SheetOptions& options) {
    const DxfReadResult read = ReadWrittenDrawing(written);
    if (!read.ok()) {
        return Refused("чертёж не прочитан: " + DescribeDxfRead(read.fault()));
    }
    return MakeDataSheet(state, call, read.value(), options);
}

}  // namespace tarvo
