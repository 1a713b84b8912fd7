// The drawing's accuracy measured apart from the generator: written drawings are read back and
// their flanks compared with a dense exact curve (the involute from its closed form, the fillet
// from a dense run of the same tool), against the data sheet's figures and, for drawings made
// for a chord tolerance, against that tolerance; the sheet's sampled scan against the scan of
// every step; the accuracy page's tolerance box. (The outlines placed for a tolerance are swept
// by the OutlineValidity suite, its option by the CliArgs one.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/basic_rack.h"
#include "app/page_command.h"
#include "builder_calls.h"
#include "drawing/dxf_reader.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"
#include "math/constants.h"
#include "math/involute.h"
#include "profile/chord_deviation.h"
#include "profile/chord_placement.h"
#include "profile/gear_outline.h"
#include "report/data_sheet.h"
#include "report/drawn_involute.h"
#include "test_files.h"

namespace tarvo {
namespace {

using testing::ExternalPair;
using testing::InternalPair;
using testing::SplineMember;

// Points of the dense reference fillet and involute.
constexpr int kDenseFillet = 3001;
constexpr int kDenseInvolute = 20000;

struct Measured {
    double largest = 0;
    bool intoSpace = false;
};

// The largest distance of the reference points from the drawn flank's chords, and the side:
// walking the flank outward the tooth lies to the right, so a reference point left of its
// nearest chord means the chord cuts into the tooth.
Measured Deviation(const std::vector<PointXY>& reference, const std::vector<PointXY>& drawn) {
    Measured m;
    for (const PointXY& p : reference) {
        double best = HUGE_VAL;
        double side = 0;
        for (std::size_t i = 0; i + 1 < drawn.size(); ++i) {
            const PointXY& a = drawn[i];
            const PointXY& b = drawn[i + 1];
            const double dx = b.X - a.X, dy = b.Y - a.Y;
            const double l2 = dx * dx + dy * dy;
            const double u = std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / l2, 0.0, 1.0);
            const double d = std::hypot(p.X - a.X - u * dx, p.Y - a.Y - u * dy);
            if (d < best) {
                best = d;
                side = dx * (p.Y - a.Y) - dy * (p.X - a.X);
            }
        }
        if (best > m.largest) {
            m.largest = best;
            m.intoSpace = side < 0;
        }
    }
    return m;
}

// The involute through the drawn tip point, from its closed form: polar angle against radius
// for base radius rb, falling outward on an external flank and rising on an internal one.
std::vector<PointXY> ClosedFormInvolute(double rb, PointXY tip, double rFrom, bool internal) {
    const double rTip = std::hypot(tip.X, tip.Y);
    const double thetaTip = std::atan2(tip.Y, tip.X);
    const double invTip = Inv(std::acos(rb / rTip));
    std::vector<PointXY> points;
    for (int k = 0; k <= kDenseInvolute; ++k) {
        const double r = rFrom + (rTip - rFrom) * k / kDenseInvolute;
        const double inv = Inv(std::acos(std::min(1.0, rb / r)));
        const double theta = internal ? thetaTip + (inv - invTip) : thetaTip - (inv - invTip);
        points.push_back({r * std::cos(theta), r * std::sin(theta)});
    }
    return points;
}

struct Row {
    const char* name;
    BuilderCall call;
    double tolerance;  // 0: counts
    bool cutFillet;
    int wheel;  // the sheet's wheel measured
    int involuteSteps = 6;
    int filletPoints = 3;
};

MainMod StateOf(const Row& row) {
    MainMod state = row.call.kind == BuilderCall::Kind::Spline
                        ? testing::SplineState(SplineStandard::Gost6033, row.call.m,
                                               row.involuteSteps, row.filletPoints)
                        : testing::Rack20State(row.involuteSteps, row.filletPoints);
    state.Tolerance = row.tolerance;
    state.CutFillet = row.cutFillet;
    return state;
}

// The flank of the wheel's first tooth and the member layout, from the drawing read back. The
// spline hub is drawn turned clockwise by half a pitch; the other wheels measured lie unturned
// about the origin.
std::vector<PointXY> DrawnFlank(const DxfDrawing& drawing, const WheelSheet& w, const Row& row) {
    std::vector<PointXY> points = drawing.polylines[static_cast<std::size_t>(w.outline)].points;
    if (row.call.kind == BuilderCall::Kind::Spline && row.call.hub) {
        const double phi = kPi / row.call.Z;
        for (PointXY& p : points) {
            p = {std::cos(phi) * p.X - std::sin(phi) * p.Y,
                 std::sin(phi) * p.X + std::cos(phi) * p.Y};
        }
    }
    const std::size_t n = static_cast<std::size_t>(w.accuracy->flank.involutePoints +
                                                   w.accuracy->flank.filletPoints - 1);
    const std::size_t first = w.internalTeeth ? n : 0;
    return {points.begin() + static_cast<std::ptrdiff_t>(first),
            points.begin() + static_cast<std::ptrdiff_t>(first + n)};
}

// The fillet of a dense run of the same builder: the same tool's curve at kDenseFillet evenly
// spaced points, ended on the space's centre line as the outline ends an internal flank.
std::vector<PointXY> DenseFillet(const Row& row) {
    MainMod state = StateOf(row);
    state.Tolerance = 0;
    state.AccPer = kDenseFillet;
    std::vector<PointXY> flank;
    int z = 0;
    bool internal = false;
    switch (row.call.kind) {
        case BuilderCall::Kind::ExternalPair: {
            const ExternalPairResult g = ComputeExternalPair(state, row.call);
            flank = row.wheel == 0 ? g->flank1 : g->flank2;
            break;
        }
        case BuilderCall::Kind::InternalPair: {
            const InternalPairResult g = ComputeInternalPair(state, row.call);
            const bool ring = (row.wheel == 1) == (row.call.Z1 < row.call.Z2);
            flank = ring ? g->ringFlank : g->pinionFlank;
            z = ring ? g->zr : g->zp;
            internal = ring;
            break;
        }
        case BuilderCall::Kind::Spline: {
            const SplineResult g = ComputeSpline(state, row.call);
            flank = g->flank;
            z = row.call.Z;
            internal = row.call.hub;
            break;
        }
    }
    if (internal) {
        flank = EndFilletOnSpaceCentreLine(z, flank);
        return {flank.begin() + state.AccEv, flank.end()};
    }
    return {flank.begin(), flank.begin() + kDenseFillet};
}

double BaseRadius(const Row& row, const WheelSheet& w) {
    const double beta = GradToRad(row.call.beta);
    const double alphaT = std::atan(std::tan(GradToRad(row.call.alpha)) / std::cos(beta));
    return w.z * (row.call.m / std::cos(beta)) * std::cos(alphaT) / 2;
}

void ExpectNear(double sheet, double measured, const char* what) {
    SCOPED_TRACE(what);
    // Within 5 % or a hundredth of a micrometre.
    EXPECT_NEAR(sheet, measured, std::max(0.05 * measured, 0.00001));
}

// Chords of a circular arc, in either direction of travel, inscribed or tangent to it: the arc
// strays from them by the sagitta R (1 - cos h) of each chord's half angle h, to the outside of
// inscribed chords and to the inside of tangent ones. The measure follows the arc in fine steps
// and takes most of them on squared lengths, so radii from tenths of a millimetre to metres and
// chords from one to many check that it still finds the largest distance, on the right side.
TEST(ChordTolerance, ArcChordsDeviateByTheirSagitta) {
    struct ArcRow {
        double radius;
        int chords;
        double half;   // each chord's half angle, radians
        bool tangent;  // chords tangent to the arc (else its chords)
        bool forward;  // travelled counterclockwise, centre on the left
    };
    const ArcRow rows[] = {
        {0.3, 1, 0.2, false, true},     {0.3, 1, 0.2, true, false},
        {20, 3, 0.05, false, false},    {20, 3, 0.05, true, true},
        {3000, 17, 0.001, false, true}, {3000, 17, 0.001, true, true},
        {45, 80, 0.004, false, false},
    };
    for (const ArcRow& row : rows) {
        SCOPED_TRACE(::testing::Message() << "R " << row.radius << ", " << row.chords << " chords, "
                                          << (row.tangent ? "tangent" : "inscribed")
                                          << (row.forward ? ", forward" : ", backward"));
        const double start = 0.3;
        const double end = start + 2 * row.half * row.chords;
        // Tangent chords meet at the ends of the arc's pieces, 1 / cos h out from the centre.
        const double reach = row.tangent ? row.radius / std::cos(row.half) : row.radius;
        std::vector<PointXY> line;
        for (int k = 0; k <= row.chords; ++k) {
            const double angle = start + 2 * row.half * k;
            line.push_back({reach * std::cos(angle), reach * std::sin(angle)});
        }
        ExactCurve arc;
        arc.at = [r = row.radius](double t) { return PointXY{r * std::cos(t), r * std::sin(t)}; };
        arc.t0 = start;
        arc.t1 = end;
        if (!row.forward) {
            std::reverse(line.begin(), line.end());
            std::swap(arc.t0, arc.t1);
        }
        const ChordDeviation d = MeasureChordDeviation(line, arc);
        const double sagitta = row.radius * (1 - std::cos(row.half));
        // Inscribed chords travelled with the centre on the left have the arc on their right.
        const bool intoSpace = row.tangent != row.forward;
        EXPECT_NEAR(intoSpace ? d.intoSpace : d.intoTooth, sagitta, 1e-9 * sagitta);
        EXPECT_LE(intoSpace ? d.intoTooth : d.intoSpace, 1e-12 * row.radius);
    }
}

// The sheet's scan measures every step only where the largest distance may lie; it must find,
// to the bit, what measuring every step finds: on flanks of every kind, on humps of nearly equal
// height (a tolerance places the points so), on members of two chords, on wheels of thousands of
// teeth and on flanks whose other side only rounding reaches, by the drawn points.
TEST(ChordTolerance, SampledScanFindsWhatEveryStepFinds) {
    struct ScanRow {
        const char* name;
        BuilderCall call;
        const char* rack;  // the pair's rack row; none for a GOST spline
        int involutePoints;
        int filletPoints;
        double tolerance = 0;
        bool cutFillet = false;
    };
    const ScanRow rows[] = {
        {"external 20/40, finest counts", ExternalPair(20, 40, 1), "20", 100, 50},
        {"helical shifted, 0.5 um", ExternalPair(17, 53, 3).Helix(15).Shifts(0.3, -0.1), "20", 6, 3,
         0.0005},
        {"rack-cut root, 1 um", ExternalPair(12, 40, 2).Shifts(0.3, 0).Profile(25), "25", 6, 3,
         0.001, true},
        {"internal 19/57, 18-degree rack",
         InternalPair(19, 57, 5).Helix(35).Shifts(0.46, 0.23).Profile(18), "18", 56, 7},
        {"internal ring first, 2 um", InternalPair(60, 20, 2).Profile(28), "28-0.95", 6, 3, 0.002},
        {"two chords a member", ExternalPair(20, 2230, 10).Shifts(-0.24, 0.03).Profile(28),
         "28-0.95", 3, 3},
        {"spline shaft", SplineMember(58, 1, false).Shift(-0.058), nullptr, 73, 43},
        {"spline hub, 1 um", SplineMember(20, 2, true).Shift(0.15), nullptr, 6, 3, 0.001},
    };
    for (const ScanRow& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state = row.rack == nullptr
                            ? testing::SplineState(SplineStandard::Gost6033, row.call.m,
                                                   row.involutePoints, row.filletPoints)
                            : testing::Rack20State(row.involutePoints, row.filletPoints);
        if (row.rack != nullptr) {
            StoreRack(state, FindRackRow(row.rack)->rack);
        }
        state.Tolerance = row.tolerance;
        state.CutFillet = row.cutFillet;
        const DrawnFlanksResult flanks = DrawnFlanks(state, row.call);
        ASSERT_TRUE(flanks.ok());
        for (const auto& drawn : flanks.value()) {
            const FlankMembers& m = drawn.members;
            const std::vector<PointXY> flank =
                drawn.internal ? EndFilletOnSpaceCentreLine(drawn.z, drawn.points) : drawn.points;
            const std::pair<std::vector<PointXY>, const ExactCurve*> members[] = {
                {FlankPart(flank, m.involuteFirst, m.involuteLast), &m.involute},
                {FlankPart(flank, m.filletFirst, m.filletLast), &m.fillet},
            };
            for (const auto& [line, curve] : members) {
                const ChordDeviation sampled = MeasureChordDeviation(line, *curve);
                const ChordDeviation every =
                    MeasureChordDeviation(line, *curve, ChordScan::EveryStep);
                EXPECT_EQ(sampled.intoTooth, every.intoTooth);
                EXPECT_EQ(sampled.intoSpace, every.intoSpace);
            }
        }
    }
}

TEST(ChordTolerance, SheetFiguresMatchAnIndependentMeasureOfTheWrittenDrawing) {
    const Row rows[] = {
        {"external spur, 1 um", ExternalPair(20, 40, 2), 0.001, false, 0},
        {"external spur, 79 and 40 points", ExternalPair(20, 40, 2), 0, false, 0, 79, 40},
        {"helical shifted, 0.5 um",
         ExternalPair(17, 53, 3).Helix(15).Shifts(0.3, -0.1).Backlash(0.1), 0.0005, false, 0},
        {"rack-cut root, 1 um", ExternalPair(12, 40, 2).Shifts(0.3, 0), 0.001, true, 0},
        {"internal ring, counts", InternalPair(20, 60, 2), 0, false, 1},
        {"internal ring, 2 um", InternalPair(20, 60, 2), 0.002, false, 1},
        {"internal ring first, 1 um", InternalPair(40, 20, 2).Shifts(0.5, 0.2), 0.001, false, 0},
        {"spline shaft, 1 um", SplineMember(20, 2, false), 0.001, false, 0},
        {"spline hub shifted, counts", SplineMember(20, 2, true).Shift(0.15), 0, false, 0},
        {"spline hub shifted, 0.2 um", SplineMember(20, 2, true).Shift(0.15), 0.0002, false, 0},
    };
    const testing::TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state = StateOf(row);
        state.OutFile = folder.File("drawing.dxf");
        ASSERT_TRUE(RunBuilder(state, row.call).ok());
        const DxfReadResult read = ReadDxfFile(state.OutFile);
        ASSERT_TRUE(read.ok());
        const DataSheetResult sheet = MakeDataSheet(state, row.call, read.value());
        ASSERT_TRUE(sheet.ok());
        const WheelSheet& w = sheet->wheels[static_cast<std::size_t>(row.wheel)];
        ASSERT_TRUE(w.accuracy.has_value());

        const std::vector<PointXY> drawn = DrawnFlank(read.value(), w, row);
        const std::size_t junction =
            static_cast<std::size_t>(w.internalTeeth ? w.accuracy->flank.involutePoints - 1
                                                     : w.accuracy->flank.filletPoints - 1);
        const PointXY tip = w.internalTeeth ? drawn.front() : drawn.back();
        const double rJunction = std::hypot(drawn[junction].X, drawn[junction].Y);
        const Measured involute = Deviation(
            ClosedFormInvolute(BaseRadius(row, w), tip, rJunction, w.internalTeeth), drawn);
        const Measured fillet = Deviation(DenseFillet(row), drawn);

        ExpectNear(w.accuracy->flank.involute.largest(), involute.largest, "involute");
        ExpectNear(w.accuracy->flank.fillet.largest(), fillet.largest, "fillet");
        if (fillet.largest > 0.00001) {
            EXPECT_EQ(w.accuracy->flank.fillet.errsIntoSpace(), fillet.intoSpace);
        }
        if (involute.largest > 0.00001) {
            EXPECT_EQ(w.accuracy->flank.involute.errsIntoSpace(), involute.intoSpace);
        }
        if (row.tolerance > 0) {
            EXPECT_LE(involute.largest, row.tolerance);
            EXPECT_LE(fillet.largest, row.tolerance);
            // Placed for the tolerance, not far inside it: the chords use what it allows.
            EXPECT_GT(std::max(involute.largest, fillet.largest), 0.7 * row.tolerance);
        }
    }
}

TEST(ChordTolerance, FirstCountsOfTheDefaultPairErrIntoTheSpaceOnTheFillet) {
    // The fillet's chords of the first counts stand in the tooth space, adding material where
    // the mate's tip passes: the overlap the mesh check sees.
    MainMod state = testing::Rack20State(6, 3);
    const testing::TempFolder folder;
    state.OutFile = folder.File("pair.dxf");
    const BuilderCall call = ExternalPair(20, 40, 2);
    ASSERT_TRUE(RunBuilder(state, call).ok());
    const DataSheetResult sheet = DataSheetOfFile(state, call, state.OutFile);
    ASSERT_TRUE(sheet.ok());
    const ChordDeviation& fillet = sheet->wheels[0].accuracy.value().flank.fillet;
    EXPECT_TRUE(fillet.errsIntoSpace());
    EXPECT_GT(fillet.intoSpace, 0.05);
    ASSERT_TRUE(sheet->mesh.mesh.ok());
    EXPECT_TRUE(sheet->mesh.mesh->overlap);
    // The warning also names a tolerance that clears it, and that tolerance does.
    ASSERT_TRUE(sheet->mesh.toleranceRemedy.has_value());
    const OverlapTolerance& remedy = *sheet->mesh.toleranceRemedy;
    ASSERT_TRUE(remedy.tolerance.has_value());
    state.Tolerance = *remedy.tolerance;
    ASSERT_TRUE(RunBuilder(state, call).ok());
    const DataSheetResult cleared = DataSheetOfFile(state, call, state.OutFile);
    ASSERT_TRUE(cleared.ok() && cleared->mesh.mesh.ok());
    EXPECT_FALSE(cleared->mesh.mesh->overlap);
    EXPECT_FALSE(cleared->mesh.toleranceRemedy.has_value());
}

TEST(ChordTolerance, PlacedPointsAreFewerThanEvenlySpacedOnesForTheSameDeviation) {
    // Even spacing in radius must be as fine as the worst stretch (next to the base circle);
    // placement by curvature is not.
    const ExactCurve involute = ExternalInvoluteCurve(18.9, 44, 37.5877, 0.1);
    const ChordPlacement placed = PlaceByChordDeviation(involute, 0.0001, 4);
    ASSERT_TRUE(placed.ok());
    double worstEven = HUGE_VAL;
    long even = static_cast<long>(placed->size()) - 1;
    for (; worstEven > 0.0001; ++even) {
        worstEven = 0;
        for (long i = 0; i < even; ++i) {
            const double a = involute.t0 + (involute.t1 - involute.t0) * i / even;
            const double b = involute.t0 + (involute.t1 - involute.t0) * (i + 1) / even;
            worstEven = std::max(worstEven, ChordError(involute, a, b));
        }
    }
    EXPECT_LT(static_cast<long>(placed->size()), even + 1);
    // The placed chords stray about equally.
    double smallest = HUGE_VAL;
    double largest = 0;
    for (std::size_t i = 0; i + 1 < placed->size(); ++i) {
        const double e = ChordError(involute, placed.value()[i], placed.value()[i + 1]);
        smallest = std::min(smallest, e);
        largest = std::max(largest, e);
    }
    EXPECT_LE(largest, 0.0001);
    EXPECT_GT(smallest, 0.8 * largest);
}

DrawResult NoDrawingMade(const MainMod&, const BuilderCall&) {
    return WrittenFile();
}

TEST(ChordTolerance, AccuracyPageStoresOrRefusesTheTolerance) {
    struct Case {
        const char* name;
        bool ticked;
        const char* text;
        bool refused;
        double stored;
    };
    const Case cases[] = {
        {"ticked, comma", true, "0,002", false, 0.002},
        {"not ticked", false, "0,002", false, 0},
        {"ticked, zero", true, "0", true, 0},
        {"ticked, no number", true, "мелко", true, 0},
        {"ticked, too coarse", true, "5", true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainMod state = testing::Rack20State(6, 3);
        state.Tolerance = 0.123;  // what an earlier visit stored
        PageInput in;
        in.page = Page::Accuracy;
        in.txtAccEv = "6";
        in.txtAccPer = "3";
        in.chkTolerance = c.ticked;
        in.txtTolerance = c.text;
        const PageResult out = CtlComClick(state, in, NoDrawingMade);
        ASSERT_EQ(!out.ok(), c.refused);
        if (c.refused) {
            EXPECT_EQ(out.fault().focus, Box::txtTolerance);
            EXPECT_NE(out.fault().message.text.find("Допуск на отклонение контура"),
                      std::string::npos);
            EXPECT_EQ(state.Tolerance, 0.123);
        } else {
            EXPECT_EQ(out->next, Page::File);
            EXPECT_EQ(state.Tolerance, c.stored);
        }
    }
}

// A tolerance finer than the points allowed can follow is refused naming the count it needs and
// the most allowed, and the window goes back to the accuracy page.
TEST(ChordTolerance, TooFineAToleranceReturnsToTheAccuracyPage) {
    MainMod state = testing::Rack20State(6, 3);
    state.Tolerance = kMinTolerance;
    PageInput in;
    in.page = Page::File;
    in.txtm = "150";
    in.txtZ1 = "20";
    in.txtZ2 = "40";
    in.txtBeta = "0";
    in.txtx1 = "0";
    in.txtx2 = "0";
    in.txtJbn = "0";
    const testing::TempFolder folder;
    in.dirHighlighted = folder.Path().string();
    in.txtFileName = "big.dxf";
    const PageResult result = CtlComClick(state, in, RunBuilder);
    ASSERT_TRUE(result.ok());
    const PageOutcome& out = result.value();
    ASSERT_TRUE(out.drawn.has_value() && !out.drawn->ok());
    const GeometryError& e = *out.drawn->fault().geometry;
    EXPECT_EQ(e.fault, GeometryFault::ToleranceTooFine);
    EXPECT_GT(e.points, kMaxTolerancePoints);
    EXPECT_EQ(out.next, Page::Accuracy);
    EXPECT_EQ(out.focus, Box::txtTolerance);
    ASSERT_TRUE(out.message.has_value());
    for (const long count : {e.points, long{kMaxTolerancePoints}}) {
        EXPECT_NE(out.message->text.find(std::to_string(count)), std::string::npos)
            << out.message->text;
    }
}

}  // namespace
}  // namespace tarvo
