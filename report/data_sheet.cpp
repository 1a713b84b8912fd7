// Building the data sheet: the standard formulas for what the designer's data fix, the drawing
// itself for what the drawing decides (tip and root circles as written, the outlines for the
// mesh check), and the warnings that follow from both.
#include "report/data_sheet.h"
#include "report/read_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "drawing/drawn_flank.h"
#include "drawing/dxf_number.h"
#include "drawing/dxf_real.h"
#include "drawing/internal_pair.h"
#include "drawing/pair_data.h"
#include "drawing/rack_cut.h"
#include "math/constants.h"
#include "math/hypot_extremes.h"
#include "math/involute.h"
#include "math/rounding.h"
#include "profile/gear_formulas.h"
#include "profile/gear_outline.h"
#include "profile/pair_geometry.h"
#include "report/drawn_involute.h"
#include "report/mesh_band.h"
#include "report/overlap_remedy.h"

namespace tarvo {

namespace {

// Smallest and largest distance of a drawn outline from its centre; before any point, none.
struct Reach {
    double rMin = HUGE_VAL;
    double rMax = 0;

    void Take(PointXY p, PointXY centre) {
        const double x = p.X - centre.X, y = p.Y - centre.Y;
        if (!HypotMayLeave(x, y, rMin, rMax)) {
            return;  // most points of an outline lie between its root and its tip
        }
        const double distance = std::hypot(x, y);
        rMin = std::min(rMin, distance);
        rMax = std::max(rMax, distance);
    }
};

Reach DrawnReach(const std::vector<PointXY>& outline, PointXY centre) {
    Reach r;
    for (const PointXY& p : outline) {
        r.Take(p, centre);
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

// How far a wheel's outline as read back reaches from the centre it turns about, and the flank
// its builder made it of (null when the drawing's data could not be rebuilt).
struct DrawnWheel {
    Reach reach;
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
    const Reach& reach = drawn.reach;
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

bool WithinMeshCheckRange(PointXY p) {
    return std::fabs(p.X) <= kMeshCheckMaxCoordinate && std::fabs(p.Y) <= kMeshCheckMaxCoordinate;
}

bool WithinMeshCheckRange(const DxfDrawing& drawing) {
    for (const DxfPolyline& polyline : drawing.polylines) {
        for (const PointXY& p : polyline.points) {
            if (!WithinMeshCheckRange(p)) {
                return false;
            }
        }
    }
    return true;
}

// One outline of a drawing as the sheet takes it: how far it reaches from its centre, and for
// the mesh check either its points or the band of it kept while reading.
struct ReadOutline {
    Reach reach;
    const std::vector<PointXY>* points = nullptr;
    const MeshBand* band = nullptr;
};

// What the sheet takes from a drawing read back, whole or while reading.
struct ReadDrawing {
    std::vector<ReadOutline> outlines;
    std::vector<PointXY> centres;
    bool withinRange = true;  // every point within the mesh check's range
};

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

// Which outline of the drawing is wheel 1's: the drawing holds wheel 1 first for an external
// pair, the ring first for an internal one.
std::size_t OutlineOfWheel1(const PairGeometry& pair) {
    return pair.internal && pair.member1.wheel == 1 ? 1 : 0;
}

// A wheel's outline as the mesh check turns it: outline k of the drawing about its centre mark.
MeshWheel DrawnMeshWheel(const ReadDrawing& drawing, std::size_t k, const ToothData& t) {
    MeshWheel wheel;
    wheel.outline = drawing.outlines[k].points;
    wheel.band = drawing.outlines[k].band;
    wheel.centre = drawing.centres[k];
    wheel.teeth = t.z;
    wheel.internal = t.internal;
    return wheel;
}

// False when the mesh check needs more of the outlines than the bands kept.
bool MakePairSheet(DataSheet& sheet, const MainMod& state, const BuilderCall& call,
                   const ReadDrawing& drawing, const SheetBasis& basis, const Flanks& flanks,
                   const PairGeometry& pair) {
    const std::vector<PointXY>& centres = drawing.centres;
    const bool internal = pair.internal;
    const PairSection& section = pair.section;
    sheet.helical = section.beta != 0;
    sheet.beta = call.beta;
    sheet.backlash = call.jn;
    const double alphaWt = pair.alphaTw;
    sheet.mesh.aw = pair.aw;
    sheet.mesh.alphaTw = RadToGrad(alphaWt);

    const std::size_t outline1 = OutlineOfWheel1(pair);
    const std::size_t outline2 = 1 - outline1;
    const ToothData t1 = ToothDataOf(pair, pair.Wheel(1));
    const ToothData t2 = ToothDataOf(pair, pair.Wheel(2));
    sheet.wheels.push_back(
        Wheel(WheelRole::Wheel1, t1,
              {drawing.outlines[outline1].reach, centres[outline1], FlankOf(flanks, 0)}, basis));
    sheet.wheels.push_back(
        Wheel(WheelRole::Wheel2, t2,
              {drawing.outlines[outline2].reach, centres[outline2], FlankOf(flanks, 1)}, basis));
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
    const MeshWheel m1 = DrawnMeshWheel(drawing, outline1, t1);
    const MeshWheel m2 = DrawnMeshWheel(drawing, outline2, t2);
    if (!drawing.withinRange) {
        sheet.mesh.mesh = MeshCheckResult::Failure(kMeshCheckOutOfRange);
    } else if (m1.band != nullptr) {
        std::optional<MeshCheckResult> checked = CheckMeshOnBands(m1, m2);
        if (!checked) {
            return false;
        }
        sheet.mesh.mesh = std::move(*checked);
    } else {
        sheet.mesh.mesh = CheckMesh(m1, m2);
    }
    if (sheet.mesh.mesh.ok() && sheet.mesh.mesh->overlap) {
        // Counts mean nothing to a drawing made for a tolerance: only a finer one is sought.
        if (!(state.Tolerance > 0)) {
            sheet.mesh.remedy = FindOverlapRemedy(state, call, sheet.mesh.mesh.value());
        }
        sheet.mesh.toleranceRemedy = FindOverlapTolerance(state, call, sheet.mesh.mesh.value());
    }
    AddWarnings(sheet);
    return true;
}

}  // namespace

namespace {

// The sheet of a drawing read as `drawing`; none when the mesh check needs more of its
// outlines than the bands kept.
std::optional<DataSheetResult> MakeSheet(const MainMod& state, const BuilderCall& call,
                                         const ReadDrawing& drawing, const SheetOptions& options,
                                         const Flanks& flanks) {
    const bool pair = call.kind != BuilderCall::Kind::Spline;
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
    if (pair) {
        const PairGeometryResult model = PairOf(state, call);
        if (!model.ok()) {
            return Refused("по этим данным пара не строится");
        }
        if (!MakePairSheet(sheet, state, call, drawing, basis, flanks, model.value())) {
            return std::nullopt;
        }
    } else {
        SplineSheet(sheet, call,
                    {drawing.outlines[0].reach, drawing.centres[0], FlankOf(flanks, 0)}, basis);
    }
    sheet.tolerance = state.Tolerance;
    for (std::size_t i = 0; flanks.ok() && i < sheet.wheels.size() && i < flanks->size(); ++i) {
        sheet.wheels[i].accuracy = DrawnAccuracy(flanks.value()[i]);
    }
    return sheet;
}

// The sheet of a drawing read whole. The flanks it was made of are rebuilt into `flanks` once
// the drawing is one a sheet can be made of, unless they are there already.
DataSheetResult SheetOfDrawing(const MainMod& state, const BuilderCall& call,
                               const DxfDrawing& drawing, const SheetOptions& options,
                               std::optional<Flanks>& flanks) {
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
    ReadDrawing read;
    for (std::size_t k = 0; k < expected; ++k) {
        read.outlines.push_back({DrawnReach(drawing.polylines[k].points, centres[k]),
                                 &drawing.polylines[k].points, nullptr});
    }
    read.centres = centres;
    read.withinRange = !pair || WithinMeshCheckRange(drawing);
    if (!flanks) {
        flanks.emplace(DrawnFlanks(state, call));
    }
    return *MakeSheet(state, call, read, options, *flanks);
}

// Where the drawing of `call` puts each outline's centre mark, as read back: wheel 1 (or the
// ring, or the spline member) about the origin, the mate at the working centre distance.
std::vector<PointXY> ExpectedCentres(const std::optional<PairGeometryResult>& model) {
    if (!model) {
        return {{0, 0}};
    }
    double aw = 0;
    if (!model->ok() || !std::isfinite(model->value().aw) ||
        !ReadDxfReal(DxfNumber(model->value().aw), aw)) {
        return {};
    }
    return {{0, 0}, {aw, 0}};
}

// The same coordinates to the bit (a centre at -0 turns points differently from one at 0).
bool SameBits(const std::vector<PointXY>& a, const std::vector<PointXY>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(PointXY)) == 0);
}

// What a wheel's outline is expected to be like from the flank it is drawn of: each tooth is
// the flank and its mirror image, so its segments are the flank's, the land between the two
// (from one end to its mirror image: the tip of external teeth, the first point of internal
// ones) and the land to the next tooth, a pitch on in the tooth's own frame (from the other end
// to its mirror image turned by a pitch).
MeshBandGuess Guess(const DrawnFlank& drawn, PointXY centre) {
    const std::vector<PointXY> flank =
        drawn.internal ? EndFilletOnSpaceCentreLine(drawn.z, drawn.points) : drawn.points;
    MeshBandGuess g;
    g.centre = centre;
    g.teeth = drawn.z;
    g.internal = drawn.internal;
    g.perTooth = 2 * flank.size();
    g.rMin = HUGE_VAL;
    for (std::size_t i = 0; i < flank.size(); ++i) {
        const PointXY& p = flank[i];
        const double r = std::hypot(p.X, p.Y);
        g.rMin = std::min(g.rMin, r);
        g.rMax = std::max(g.rMax, r);
        if (i > 0) {
            const PointXY& q = flank[i - 1];
            g.longestSegment = std::max(g.longestSegment, std::hypot(p.X - q.X, p.Y - q.Y));
        }
    }
    const double pitch = 2 * kPi / std::max(drawn.z, 1);
    const PointXY& within = drawn.internal ? flank.front() : flank.back();
    const PointXY& between = drawn.internal ? flank.back() : flank.front();
    const double x = between.X * std::cos(pitch) + between.Y * std::sin(pitch);
    const double y = between.X * std::sin(pitch) - between.Y * std::cos(pitch);
    g.longestSegment = std::max(
        {g.longestSegment, 2 * std::fabs(within.Y), std::hypot(x - between.X, y - between.Y)});
    return g;
}

// Where each outline is expected and the bands to keep of it.
struct SheetPlan {
    std::vector<PointXY> centres;
    std::vector<MeshBandPlan> bands;  // by outline; none for a spline member
};

// Takes from the drawing, as it is read, what the sheet needs: each outline's reach about its
// expected centre, whether every point lies within the mesh check's range, and each wheel's
// mesh band; the centre-mark strokes are kept. The plan is made when the first outline begins,
// so a file that cannot be read costs no flanks; without one, nothing is kept.
class SheetSink final : public DxfSink {
  public:
    explicit SheetSink(std::function<std::optional<SheetPlan>()> plan) : plan_(std::move(plan)) {}

    void Polyline(const std::string& /*layer*/, std::size_t, std::size_t) override {
        if (plan_) {
            std::optional<SheetPlan> planned = plan_();
            plan_ = nullptr;
            planned_ = planned.has_value();
            if (planned) {
                centres_ = std::move(planned->centres);
                plans_ = std::move(planned->bands);
            }
        }
        const std::size_t k = outlines_.size();
        outlines_.push_back({});
        counts_.push_back(0);
        if (k < plans_.size()) {
            maker_.emplace(plans_[k]);
        } else {
            maker_.reset();
        }
    }
    void Vertex(PointXY p, std::size_t, std::size_t) override {
        const std::size_t k = outlines_.size() - 1;
        ++counts_[k];
        withinRange_ = withinRange_ && WithinMeshCheckRange(p);
        readable_ = readable_ && std::isfinite(p.X) && std::isfinite(p.Y);
        if (k < centres_.size()) {
            outlines_[k].reach.Take(p, centres_[k]);
        }
        if (maker_) {
            maker_->Add(p);
        }
    }
    void OutlineDrawnAs(const PlacedOutline& outline) override {
        if (maker_) {
            maker_->DrawnAs(outline);
        }
    }
    void PolylineEnd() override {
        if (maker_) {
            bands_.push_back(maker_->Finish());
            maker_.reset();
        }
    }
    void Line(const DxfLine& line) override {
        readable_ = readable_ && std::isfinite(line.from.X) && std::isfinite(line.to.X);
        lines_.lines.push_back(line);
    }

    // What was read, when it is the drawing expected: the outlines and centres planned, each
    // band complete; none otherwise.
    std::optional<ReadDrawing> Read() const {
        if (!planned_ || !readable_ || outlines_.size() != centres_.size() ||
            !SameBits(CentreMarks(lines_), centres_) || bands_.size() != plans_.size()) {
            return std::nullopt;
        }
        for (std::size_t k = 0; k < outlines_.size(); ++k) {
            if (counts_[k] < 4 || (k < bands_.size() && !bands_[k].Complete())) {
                return std::nullopt;
            }
        }
        ReadDrawing read;
        read.outlines = outlines_;
        for (std::size_t k = 0; k < bands_.size(); ++k) {
            read.outlines[k].band = &bands_[k];
        }
        read.centres = centres_;
        read.withinRange = withinRange_;
        return read;
    }

  private:
    std::function<std::optional<SheetPlan>()> plan_;
    bool planned_ = false;
    std::vector<PointXY> centres_;
    std::vector<MeshBandPlan> plans_;  // by outline
    std::vector<ReadOutline> outlines_;
    std::vector<std::size_t> counts_;
    std::vector<MeshBand> bands_;
    std::optional<MeshBandMaker> maker_;
    DxfDrawing lines_;
    bool withinRange_ = true;
    bool readable_ = true;  // no number handed on that a reading of the file would refuse
};

// The band plans by outline. None when the flanks were not rebuilt.
std::optional<std::vector<MeshBandPlan>> BandPlans(const std::optional<PairGeometryResult>& pair,
                                                   const Flanks& flanks,
                                                   const std::vector<PointXY>& centres) {
    if (!pair) {
        return std::vector<MeshBandPlan>{};
    }
    if (!pair->ok() || !flanks.ok() || flanks->size() != 2 || centres.size() != 2 ||
        flanks.value()[0].points.empty() || flanks.value()[1].points.empty()) {
        return std::nullopt;
    }
    const PairGeometry& model = pair->value();
    const std::size_t outline1 = OutlineOfWheel1(model);
    const std::size_t outline2 = 1 - outline1;
    const MeshBandPlans plans =
        PlanMeshBands(Guess(flanks.value()[0], centres[outline1]),
                      Guess(flanks.value()[1], centres[outline2]), kMeshStepsPerPitch);
    std::vector<MeshBandPlan> byOutline(2);
    byOutline[outline1] = plans.wheel1;
    byOutline[outline2] = plans.wheel2;
    return byOutline;
}

// The sheet of a drawing streamed by `stream` (a DxfSink in, a DxfStreamResult out) keeping of
// each outline only its reach and the band the mesh check needs; read whole by `readWhole`
// instead when the drawing is not the one expected or the check needs more than the bands.
// `built`, when not null, holds the flanks once the first outline is streamed: those of the
// builder writing the drawing, taken instead of computing them again.
template <typename Stream, typename ReadWhole>
DataSheetResult StreamedSheet(const MainMod& state, const BuilderCall& call,
                              const SheetOptions& options, Stream stream, ReadWhole readWhole,
                              std::vector<DrawnFlank>* built = nullptr) {
    // The flanks, once the first outline has asked for them; a whole read reuses them.
    std::optional<Flanks> flanks;
    auto whole = [&]() -> DataSheetResult {
        const DxfReadResult read = readWhole();
        if (!read.ok()) {
            return Refused("чертёж не прочитан: " + DescribeDxfRead(read.fault()));
        }
        return SheetOfDrawing(state, call, read.value(), options, flanks);
    };
    auto plan = [&]() -> std::optional<SheetPlan> {
        if (built != nullptr && !built->empty()) {
            flanks.emplace(std::move(*built));
            built->clear();
        } else {
            flanks.emplace(DrawnFlanks(state, call));
        }
        std::optional<PairGeometryResult> model;
        if (call.kind != BuilderCall::Kind::Spline) {
            model = PairOf(state, call);
        }
        SheetPlan planned;
        planned.centres = ExpectedCentres(model);
        std::optional<std::vector<MeshBandPlan>> bands = BandPlans(model, *flanks, planned.centres);
        if (planned.centres.empty() || !bands) {
            return std::nullopt;
        }
        planned.bands = std::move(*bands);
        return planned;
    };
    std::optional<DataSheetResult> sheet;
    {
        SheetSink sink(plan);
        const DxfStreamResult streamed = stream(sink);
        if (!streamed.ok()) {
            return Refused("чертёж не прочитан: " + DescribeDxfRead(streamed.fault()));
        }
        const std::optional<ReadDrawing> read = sink.Read();
        if (read && flanks) {
            sheet = MakeSheet(state, call, *read, options, *flanks);
        }
    }
    return sheet ? std::move(*sheet) : whole();
}

}  // namespace

DataSheetResult MakeDataSheet(const MainMod& state, const BuilderCall& call,
                              const DxfDrawing& drawing, const SheetOptions& options) {
    // The flanks the drawing was made of, rebuilt once from the same data: the measurements
    // must touch their drawn involute, and the accuracy is measured on them.
    std::optional<Flanks> flanks;
    return SheetOfDrawing(state, call, drawing, options, flanks);
}

DataSheetResult DataSheetOfFile(const MainMod& state, const BuilderCall& call,
                                const std::string& path, const SheetOptions& options) {
    return StreamedSheet(
        state, call, options, [&](DxfSink& sink) { return StreamDxfFile(path, sink); },
        [&] { return ReadDxfFile(path); });
}

DataSheetResult DataSheetOfWritten(const MainMod& state, const BuilderCall& call,
                                   const WrittenFile& written, const SheetOptions& options) {
    return StreamedSheet(
        state, call, options, [&](DxfSink& sink) { return StreamWrittenDrawing(written, sink); },
        [&] { return ReadWrittenDrawing(written); });
}

DrawnSheet DrawWithDataSheet(const MainMod& state, const BuilderCall& call,
                             const SheetOptions& options) {
    std::optional<DrawResult> drawn;
    std::vector<DrawnFlank> built;
    DataSheetResult sheet = StreamedSheet(
        state, call, options,
        [&](DxfSink& sink) -> DxfStreamResult {
            drawn.emplace(RunBuilderTapped(state, call, &sink, &built));
            if (!drawn->ok()) {
                return DxfStreamResult::Failure({});  // no drawing, no sheet
            }
            return DxfStreamed{};
        },
        [&] { return ReadWrittenDrawing(drawn->value()); }, &built);
    if (!drawn->ok()) {
        return {std::move(*drawn), std::nullopt};
    }
    return {std::move(*drawn), std::move(sheet)};
}

}  // namespace tarvo
