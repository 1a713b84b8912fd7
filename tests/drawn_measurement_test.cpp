// The data sheet's measurements against the written outline: the span W between two parallel
// jaws over k teeth and the rollers set in a space, measured on the drawing read back from its
// file. Fine point counts keep the chords within a few tenths of a micrometre of the curves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "app/basic_rack.h"
#include "drawing/dxf_reader.h"
#include "report/read_text.h"
#include "math/constants.h"
#include "report/data_sheet.h"
#include "test_files.h"

namespace tarvo {
namespace {

using Kind = BuilderCall::Kind;

// The tolerance the sheet's numbers must meet on the drawing, mm.
constexpr double kOnDrawing = 0.001;

struct Written {
    DataSheet sheet;
    DxfDrawing drawing;
};

Written Write(BuilderCall call, const SheetOptions& options) {
    MainMod state;
    state.AccEv = 200;
    state.AccPer = 20;
    state.SingleMember = call.kind == Kind::Spline;
    StoreRack(state, state.SingleMember ? SplineRack(SplineStandard::Gost6033, call.m)
                                        : FindRackRow("20")->rack);
    call.alpha = state.Alfa;
    const testing::TempFolder folder;
    state.OutFile = folder.File("measured.dxf");
    EXPECT_EQ(RunBuilder(state, call).status, DrawStatus::Written);
    const DxfReadResult read = ReadDxfFile(state.OutFile);
    EXPECT_TRUE(read.ok) << DescribeDxfRead(read);
    return {DataSheetOfFile(state, call, state.OutFile, options), read.drawing};
}

// One wheel's outline about its own centre.
struct Wheel {
    std::vector<PointXY> points;
    int z = 0;
    bool internal = false;
};

Wheel WheelOf(const Written& w, std::size_t i) {
    const WheelSheet& s = w.sheet.wheels[i];
    const PointXY centre = CentreMarks(w.drawing)[static_cast<std::size_t>(s.outline)];
    Wheel wheel{{}, s.z, s.internalTeeth};
    for (const PointXY& p : w.drawing.polylines[static_cast<std::size_t>(s.outline)].points) {
        wheel.points.push_back({p.X - centre.X, p.Y - centre.Y});
    }
    return wheel;
}

double Angle(const PointXY& p) { return std::atan2(p.Y, p.X); }

// Angle a - b brought into (-pi, pi].
double Turn(double a, double b) { return std::remainder(a - b, 2 * kPi); }

// The centre line of one tooth: midway between the two ends of a tip land, the outermost points
// of an external outline, the innermost of an internal one.
double ToothCentre(const Wheel& w) {
    std::size_t tip = 0;
    for (std::size_t i = 1; i + 1 < w.points.size(); ++i) {
        const double r = std::hypot(w.points[i].X, w.points[i].Y);
        const double best = std::hypot(w.points[tip].X, w.points[tip].Y);
        if (tip == 0 || (w.internal ? r < best : r > best)) tip = i;
    }
    const auto radius = [&w](std::size_t i) { return std::hypot(w.points[i].X, w.points[i].Y); };
    const double r = radius(tip);
    const std::size_t other =
        std::fabs(radius(tip - 1) - r) < std::fabs(radius(tip + 1) - r) ? tip - 1 : tip + 1;
    const PointXY& a = w.points[tip];
    const PointXY& b = w.points[other];
    return Angle({(a.X + b.X) / 2, (a.Y + b.Y) / 2});
}

// Distance between two parallel jaws laid on k teeth, in the transverse section: the jaws are
// square to the group's centre line and touch the outer flanks near radius `contact`.
double MeasuredSpan(const Wheel& w, int k, double contact, double band) {
    const double group = ToothCentre(w) + (k - 1) * kPi / w.z;
    const double ux = -std::sin(group);
    const double uy = std::cos(group);
    double low = HUGE_VAL;
    double high = -HUGE_VAL;
    for (const PointXY& p : w.points) {
        const double r = std::hypot(p.X, p.Y);
        if (std::fabs(r - contact) > band || std::fabs(Turn(Angle(p), group)) > k * kPi / w.z) {
            continue;
        }
        const double along = p.X * ux + p.Y * uy;
        low = std::min(low, along);
        high = std::max(high, along);
    }
    return high - low;
}

double SegmentDistance(const PointXY& p, const PointXY& a, const PointXY& b) {
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double length2 = dx * dx + dy * dy;
    const double t =
        length2 > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length2, 0.0, 1.0) : 0;
    return std::hypot(p.X - a.X - t * dx, p.Y - a.Y - t * dy);
}

// A roller centre set on the centre line of a space: its distance to the outline on either side
// of that line (the two flanks it must touch).
struct RollerGap {
    double left = HUGE_VAL;
    double right = HUGE_VAL;
};

RollerGap RollerInSpace(const Wheel& w, double centreRadius) {
    const double space = ToothCentre(w) + kPi / w.z;
    const PointXY c{centreRadius * std::cos(space), centreRadius * std::sin(space)};
    RollerGap gap;
    for (std::size_t i = 0; i + 1 < w.points.size(); ++i) {
        const PointXY& a = w.points[i];
        const PointXY& b = w.points[i + 1];
        const double side = Turn(Angle({(a.X + b.X) / 2, (a.Y + b.Y) / 2}), space);
        if (std::fabs(side) > 2 * kPi / w.z) continue;
        double& nearest = side < 0 ? gap.right : gap.left;
        nearest = std::min(nearest, SegmentDistance(c, a, b));
    }
    return gap;
}

BuilderCall Pair(bool internal, int z1, int z2, double m, double beta, double x1, double x2,
                 double jn) {
    return {internal ? Kind::InternalPair : Kind::ExternalPair, z1, z2, m, beta, 0, x1, x2, jn};
}

BuilderCall Spline(int z, double m, bool hub) {
    return {Kind::Spline, 0, 0, m, 0, 0, 0, 0, 0, z, 0, hub};
}

TEST(DrawnMeasurement, SpanAndRollersOnTheWrittenOutline) {
    struct Row {
        const char* name;
        BuilderCall call;
        double roller;  // asked for; 0 for the sheet's own choice
    };
    const Row rows[] = {
        {"m 2, 20 / 40, jn 0.1", Pair(false, 20, 40, 2, 0, 0, 0, 0.1), 0},
        {"odd counts, shifted, jn 0.2", Pair(false, 21, 37, 2, 0, 0.4, -0.2, 0.2), 0},
        {"helical 17 / 53, beta 15°, jn 0.1", Pair(false, 17, 53, 3, 15, 0.3, -0.1, 0.1), 0},
        {"internal 20 in 61, jn 0.1, roller 4 asked for", Pair(true, 61, 20, 2, 0, 0.2, 0.1, 0.1),
         4},
        {"GOST shaft z 21", Spline(21, 2, false), 0},
        {"12 / 30, x1 0.8: pointed tips", Pair(false, 12, 30, 2, 0, 0.8, 0, 0), 0},
        {"13 / 11, x2 0.6: wheel 1 undercut", Pair(false, 13, 11, 2, 0, 0, 0.6, 0), 0},
        {"GOST hub z 21", Spline(21, 2, true), 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Written written = Write(row.call, {row.roller});
        ASSERT_TRUE(written.sheet.ok) << written.sheet.reason;
        for (std::size_t i = 0; i < written.sheet.wheels.size(); ++i) {
            const WheelSheet& s = written.sheet.wheels[i];
            SCOPED_TRACE(i);
            const Wheel w = WheelOf(written, i);
            // The drawing is the transverse section: a normal length is the transverse one
            // times cos(beta_b), and so is a ball's offset from the flank.
            const double alphaT = std::acos(s.db / s.d);
            const double beta = std::acos(s.mn / s.mt);
            const double cosBb = std::cos(std::atan(std::tan(beta) * std::cos(alphaT)));
            if (s.hasSpan) {
                const double wT = s.W / cosBb;
                const double contact = std::hypot(s.db / 2, wT / 2);
                EXPECT_NEAR(MeasuredSpan(w, s.k, contact, 0.25 * s.mn) * cosBb, s.W, kOnDrawing);
            }
            if (row.roller > 0) {
                EXPECT_EQ(s.rollerD, row.roller);
            }
            const double across = s.z % 2 == 0 ? 1 : std::cos(kPi / (2 * s.z));
            const double centreD = (s.internalTeeth ? s.M + s.rollerD : s.M - s.rollerD) / across;
            const RollerGap gap = RollerInSpace(w, centreD / 2);
            const double radius = s.rollerD / 2 / cosBb;
            EXPECT_NEAR(gap.left, radius, kOnDrawing);
            EXPECT_NEAR(gap.right, radius, kOnDrawing);
        }
    }
}

}  // namespace
}  // namespace tarvo
