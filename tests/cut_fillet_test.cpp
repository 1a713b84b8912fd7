// The rack-cut root in the drawings: the root circle of every external member as written and
// read back, the data sheet's root, form diameter and undercut verdict, the mesh check of a pair
// drawn with it, and the accuracy page's check box reaching the stored state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/basic_rack.h"
#include "app/page_command.h"
#include "builder_calls.h"
#include "drawing/dxf_reader.h"
#include "report/read_text.h"
#include "math/involute.h"
#include "profile/rack_cut_flank.h"
#include "report/data_sheet.h"
#include "test_files.h"

namespace tarvo {
namespace {

using testing::ExternalCall;
using testing::InternalCall;
using testing::SplineCall;

MainMod CutState(const BasicRack& rack, const std::string& path, int accEv = 6, int accPer = 3) {
    MainMod state;
    StoreRack(state, rack);
    state.AccEv = accEv;
    state.AccPer = accPer;
    state.CutFillet = true;
    state.OutFile = path;
    return state;
}

// Smallest distance of outline k from centre k, doubled: the root circle as drawn.
double DrawnRoot(const DxfDrawing& drawing, std::size_t k) {
    const PointXY centre = CentreMarks(drawing).at(k);
    double r = HUGE_VAL;
    for (const PointXY& p : drawing.polylines.at(k).points) {
        r = std::min(r, std::hypot(p.X - centre.X, p.Y - centre.Y));
    }
    return 2 * r;
}

// The root the cutting rack's tip line leaves: d - 2 m (hf* + c* - x).
double CutRoot(const BasicRack& rack, int z, double m, double betaDegrees, double x) {
    const double d = (z * m) / std::cos(GradToRad(betaDegrees));
    return d - 2 * m * ((rack.hf + rack.c) - x);
}

// Every external member of every kind of drawing, over the rack rows, shifts from -0.5 to 0.8
// and helix 0 and 20 degrees: its drawn root is the rack's tip line. The tolerance is 1e-9 m
// and the file's 15 significant digits on the root radius.
TEST(RackCutRoot, DrawnRootOfEveryExternalMemberIsTheRackTipLine) {
    testing::TempFolder folder;
    const std::string path = folder.File("root.dxf");
    const double m = 2.5;
    for (const RackRow& row : kRackRows) {
        const BasicRack& rack = row.rack;
        for (const double beta : {0.0, 20.0}) {
            for (const double x : {-0.5, -0.2, 0.0, 0.3, 0.6, 0.8}) {
                struct Member {
                    const char* kind;
                    BuilderCall call;
                    std::size_t outline;  // which outline of the drawing is the member
                    int z;
                    double x;
                };
                // The external pair's wheel 2 and the ring take shifts that keep the mesh
                // drawable; the pinion is entered second, so the builder swaps the roles.
                const Member members[] = {
                    {"external wheel 1", ExternalCall(24, 37, m, beta, rack.alfa, x, 0.2, 0),
                     0, 24, x},
                    {"external wheel 2", ExternalCall(31, 26, m, beta, rack.alfa, 0.1, x, 0.1),
                     1, 26, x},
                    {"internal pinion", InternalCall(60, 22, m, beta, rack.alfa, x + 0.2, x,
                                                     0.05), 1, 22, x},
                    {"spline shaft", SplineCall(20, m, x, rack.alfa, false), 0, 20, x},
                };
                for (const Member& member : members) {
                    const bool spline = member.call.kind == BuilderCall::Kind::Spline;
                    if (spline && beta != 0) {
                        continue;  // a spline is straight
                    }
                    SCOPED_TRACE(::testing::Message() << member.kind << ", rack " << row.key
                                                      << ", beta " << beta << ", x " << x);
                    MainMod state = CutState(rack, path);
                    state.SingleMember = spline;
                    const DrawResult drawn = RunBuilder(state, member.call);
                    ASSERT_TRUE(drawn.ok())
                        << "fault " << static_cast<int>(drawn.fault().geometry.fault);
                    const DxfReadResult read = ReadDxfFile(path);
                    ASSERT_TRUE(read.ok()) << DescribeDxfRead(read.fault());
                    const double expected = CutRoot(rack, member.z, m, beta, member.x);
                    EXPECT_NEAR(DrawnRoot(read.value(), member.outline), expected,
                                1e-9 * m + 1e-14 * expected);
                }
            }
        }
    }
}

bool SamePoints(const std::vector<PointXY>& a, const std::vector<PointXY>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const PointXY& p, const PointXY& q) { return p.X == q.X && p.Y == q.Y; });
}

// The drawing with the rack-cut root differs from the default one only in its external roots:
// the option must change the bytes (or it was not passed on) and leave the ring as it was.
TEST(RackCutRoot, OnlyExternalMembersChange) {
    testing::TempFolder folder;
    const BasicRack& rack = kDefaultRackRow.rack;
    MainMod state = CutState(rack, folder.File("cut.dxf"));
    const BuilderCall call = InternalCall(20, 50, 2, 0, rack.alfa, 0.3, 0.3, 0);
    ASSERT_TRUE(RunBuilder(state, call).ok());
    state.CutFillet = false;
    state.OutFile = folder.File("design.dxf");
    ASSERT_TRUE(RunBuilder(state, call).ok());
    const DxfReadResult cut = ReadDxfFile(folder.File("cut.dxf"));
    const DxfReadResult design = ReadDxfFile(folder.File("design.dxf"));
    ASSERT_TRUE(cut.ok() && design.ok());
    // The ring comes first, the pinion second.
    EXPECT_TRUE(SamePoints(cut->polylines[0].points, design->polylines[0].points));
    EXPECT_FALSE(SamePoints(cut->polylines[1].points, design->polylines[1].points));
}

// Without undercut the involute starts where the rack's straight flank ends: the line of action
// meets that height (rf* (1 - sin alpha_n) m above the tip line, heights being the same in the
// normal and transverse sections) at (r - h) / sin(alpha_t) from the pitch point.
double FlankEndDiameter(const BasicRack& rack, int z, double m, double betaDegrees, double x) {
    const double cosB = std::cos(GradToRad(betaDegrees));
    const double alphaN = GradToRad(rack.alfa);
    const double alphaT = std::atan(std::tan(alphaN) / cosB);
    const double r = (z * m / cosB) / 2;
    const double depth = ((rack.hf + rack.c) - rack.ro * (1 - std::sin(alphaN)) - x) * m;
    const double along = r * std::sin(alphaT) - depth / std::sin(alphaT);
    return 2 * std::hypot(r * std::cos(alphaT), along);
}

// The sheet of a drawing made with the rack-cut root takes its root, form diameter and undercut
// verdict from the envelope: one root (drawn and cut agree), the basic rack's textbook form
// diameter where the rack does not undercut, and undercut where the teeth are too few. Roots
// that neither undercut nor interfere leave the mate room through a whole pitch, drawn at the
// finest accuracy the page allows (without backlash the flanks touch, so the clearance may be
// zero; they must not overlap).
TEST(RackCutRoot, DataSheetTakesTheEnvelopeAndMeshIsClear) {
    struct Row {
        const char* name;
        BuilderCall call;
        bool undercut;
    };
    const BasicRack& rack = kDefaultRackRow.rack;
    const Row rows[] = {
        {"undercut pinion z 10", ExternalCall(10, 40, 2, 0, rack.alfa, 0, 0, 0), true},
        {"shifted z 12, x 0.6", ExternalCall(12, 40, 3, 0, rack.alfa, 0.6, 0, 0), false},
        {"helical z 14, x 0.3", ExternalCall(14, 45, 2, 20, rack.alfa, 0.3, 0, 0), false},
        {"helical undercut z 9", ExternalCall(9, 45, 2, 20, rack.alfa, -0.1, 0, 0), true},
        {"spur 18/33 shifted", ExternalCall(18, 33, 3, 0, rack.alfa, 0.4, 0.2, 0.05), false},
        {"internal 22/60", InternalCall(22, 60, 2, 0, rack.alfa, 0.2, 0.3, 0), false},
    };
    testing::TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BuilderCall& c = row.call;
        const MainMod state = row.undercut ? CutState(rack, folder.File("sheet.dxf"))
                                           : CutState(rack, folder.File("sheet.dxf"), kMaxAccEv,
                                                      kMaxAccPer);
        ASSERT_TRUE(RunBuilder(state, c).ok());
        const DataSheetResult made = DataSheetOfFile(state, c, state.OutFile);
        ASSERT_TRUE(made.ok()) << made.fault();
        const DataSheet& sheet = made.value();
        if (c.kind == BuilderCall::Kind::ExternalPair) {
            const WheelSheet& w = sheet.wheels[0];
            const double df = CutRoot(rack, c.Z1, c.m, c.beta, c.x1);
            EXPECT_NEAR(w.df, df, 1e-9);
            EXPECT_NEAR(w.dfRack, df, 1e-9);
            EXPECT_EQ(w.undercut, row.undercut);
            const bool warned = std::any_of(
                sheet.warnings.begin(), sheet.warnings.end(), [](const SheetWarning& warning) {
                    return warning.kind == SheetWarningKind::Undercut && warning.wheel == 0;
                });
            EXPECT_EQ(warned, row.undercut);
            if (!row.undercut) {
                EXPECT_NEAR(w.formDiameter, FlankEndDiameter(rack, c.Z1, c.m, c.beta, c.x1), 1e-9);
            } else {
                // With it, where the undercut leaves the involute: above the base circle, below
                // the reference circle.
                EXPECT_GT(w.formDiameter, w.db);
                EXPECT_LT(w.formDiameter, w.d);
            }
        }
        if (row.undercut) {
            continue;
        }
        for (const WheelSheet& w : sheet.wheels) {
            SCOPED_TRACE(static_cast<int>(w.role));
            EXPECT_FALSE(w.undercut || w.interference || w.jam);
        }
        ASSERT_TRUE(sheet.mesh.mesh.ok()) << sheet.mesh.mesh.fault();
        EXPECT_FALSE(sheet.mesh.mesh->overlap)
            << "depth " << sheet.mesh.mesh->overlapDepth << " at " << sheet.mesh.mesh->overlapTurn;
    }
}

// Leaving the accuracy page stores the check box as it stands, ticked or not.
TEST(RackCutRoot, AccuracyPageStoresTheCheckBox) {
    for (const bool ticked : {true, false}) {
        SCOPED_TRACE(ticked ? "ticked" : "not ticked");
        MainMod state;
        state.CutFillet = !ticked;
        PageInput in;
        in.page = Page::Accuracy;
        in.txtAccEv = "6";
        in.txtAccPer = "3";
        in.chkCutFillet = ticked;
        const PageOutcome out = CtlComClick(state, in, [](const MainMod&, const BuilderCall&) {
            return DrawResult{};
        });
        EXPECT_EQ(out.next, Page::File);
        EXPECT_EQ(state.CutFillet, ticked);
    }
}

}  // namespace
}  // namespace tarvo
