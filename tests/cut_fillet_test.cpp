// The rack-cut root in the drawings: every external member's root circle as written and read back,
// the data sheet's root, form diameter, undercut verdict and mesh check, and the accuracy page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/basic_rack.h"
#include "app/page_command.h"
#include "builder_calls.h"
#include "drawing/dxf_reader.h"
#include "math/involute.h"
#include "report/data_sheet.h"
#include "report/read_text.h"
#include "test_files.h"

namespace tarvo {
namespace {

using testing::ExternalPair;
using testing::InternalPair;
using testing::SplineMember;

MainMod CutState(const BasicRack& rack, const std::string& path, int accEv = 6, int accPer = 3) {
    MainMod state = testing::Rack20State(accEv, accPer);
    StoreRack(state, rack);
    state.CutFillet = true;
    state.OutFile = path;
    return state;
}

// The root the cutting rack's tip line leaves: d - 2 m (hf* + c* - x).
double CutRoot(const BasicRack& rack, int z, double m, double betaDegrees, double x) {
    return (z * m) / std::cos(GradToRad(betaDegrees)) - 2 * m * ((rack.hf + rack.c) - x);
}

// Every external member of every kind of drawing, over the rack rows, shifts and helix: its drawn
// root (least distance from its centre, doubled) is the rack's tip line, to 1e-9 m and 15 digits.
TEST(RackCutRoot, DrawnRootOfEveryExternalMemberIsTheRackTipLine) {
    testing::TempFolder folder;
    const double m = 2.5;
    for (const RackRow& row : kRackRows) {
        for (const double beta : {0.0, 20.0}) {
            for (const double x : {-0.5, -0.2, 0.0, 0.3, 0.6, 0.8}) {
                SCOPED_TRACE(::testing::Message()
                             << "rack " << row.key << ", beta " << beta << ", x " << x);
                // `k`: which outline of the drawing is the member, of `z` teeth.
                auto check = [&](const char* kind, const BuilderCall& call, std::size_t k, int z) {
                    SCOPED_TRACE(kind);
                    MainMod state = CutState(row.rack, folder.File("root.dxf"));
                    state.SingleMember = call.kind == BuilderCall::Kind::Spline;
                    ASSERT_TRUE(RunBuilder(state, call).ok());
                    const DxfReadResult read = ReadDxfFile(state.OutFile);
                    ASSERT_TRUE(read.ok()) << DescribeDxfRead(read.fault());
                    const PointXY centre = CentreMarks(read.value()).at(k);
                    double root = HUGE_VAL;
                    for (const PointXY& p : read->polylines.at(k).points) {
                        root = std::min(root, 2 * std::hypot(p.X - centre.X, p.Y - centre.Y));
                    }
                    const double expected = CutRoot(row.rack, z, m, call.beta, x);
                    EXPECT_NEAR(root, expected, 1e-9 * m + 1e-14 * expected);
                };
                // The external pair's wheel 2 and the ring take shifts that keep the mesh
                // drawable; the pinion is entered second, so the builder swaps the roles.
                const auto cut = [&](testing::Call c) {
                    return c.Helix(beta).Profile(row.rack.alfa);
                };
                check("wheel 1", cut(ExternalPair(24, 37, m)).Shifts(x, 0.2), 0, 24);
                check("wheel 2", cut(ExternalPair(31, 26, m)).Shifts(0.1, x).Backlash(0.1), 1, 26);
                check("pinion", cut(InternalPair(60, 22, m)).Shifts(x + 0.2, x).Backlash(0.05), 1,
                      22);
                // No helix.
                check("spline shaft", SplineMember(20, m, false).Shift(x).Profile(row.rack.alfa), 0,
                      20);
            }
        }
    }
}

// Without undercut the involute starts where the rack's flank ends, rf* (1 - sin alpha_n) m above
// its tip line, met by the line of action at (r - h) / sin(alpha_t) from the pitch point.
double FlankEndDiameter(const BasicRack& rack, int z, double m, double betaDegrees, double x) {
    const double cosB = std::cos(GradToRad(betaDegrees)), alphaN = GradToRad(rack.alfa);
    const double alphaT = std::atan(std::tan(alphaN) / cosB), r = (z * m / cosB) / 2;
    const double depth = ((rack.hf + rack.c) - rack.ro * (1 - std::sin(alphaN)) - x) * m;
    return 2 * std::hypot(r * std::cos(alphaT), r * std::sin(alphaT) - depth / std::sin(alphaT));
}

// The sheet takes root, form diameter and undercut from the envelope; roots that neither undercut
// nor interfere, drawn finest, leave the mate room through a pitch (flanks may touch, not overlap).
TEST(RackCutRoot, DataSheetTakesTheEnvelopeAndMeshIsClear) {
    struct Row {
        const char* name;
        BuilderCall call;
        bool undercut;
    };
    const BasicRack& rack = kDefaultRackRow.rack;  // 20 degrees
    const Row rows[] = {
        {"undercut pinion z 10", ExternalPair(10, 40, 2), true},
        {"shifted z 12, x 0.6", ExternalPair(12, 40, 3).Shifts(0.6, 0), false},
        {"helical z 14, x 0.3", ExternalPair(14, 45, 2).Helix(20).Shifts(0.3, 0), false},
        {"helical undercut z 9", ExternalPair(9, 45, 2).Helix(20).Shifts(-0.1, 0), true},
        {"spur 18/33 shifted", ExternalPair(18, 33, 3).Shifts(0.4, 0.2).Backlash(0.05), false},
        {"internal 22/60", InternalPair(22, 60, 2).Shifts(0.2, 0.3), false},
    };
    testing::TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BuilderCall& c = row.call;
        const MainMod state = CutState(rack, folder.File("sheet.dxf"), kMaxAccEv, kMaxAccPer);
        ASSERT_TRUE(RunBuilder(state, c).ok());
        const DataSheetResult sheet = DataSheetOfFile(state, c, state.OutFile);
        ASSERT_TRUE(sheet.ok()) << sheet.fault();
        if (c.kind == BuilderCall::Kind::ExternalPair) {
            const WheelSheet& w = sheet->wheels[0];
            const double df = CutRoot(rack, c.Z1, c.m, c.beta, c.x1);
            EXPECT_NEAR(w.df, df, 1e-9);
            EXPECT_NEAR(w.dfRack, df, 1e-9);
            EXPECT_EQ(w.undercut, row.undercut);
            if (!row.undercut) {
                EXPECT_NEAR(w.formDiameter, FlankEndDiameter(rack, c.Z1, c.m, c.beta, c.x1), 1e-9);
            } else {  // where the undercut leaves the involute: between base and reference circles
                EXPECT_GT(w.formDiameter, w.db);
                EXPECT_LT(w.formDiameter, w.d);
            }
        }
        if (row.undercut) {
            continue;
        }
        for (const WheelSheet& w : sheet->wheels) {
            EXPECT_FALSE(w.undercut || w.interference || w.jam) << static_cast<int>(w.role);
        }
        ASSERT_TRUE(sheet->mesh.mesh.ok()) << sheet->mesh.mesh.fault();
        EXPECT_FALSE(sheet->mesh.mesh->overlap) << "depth " << sheet->mesh.mesh->overlapDepth
                                                << " at " << sheet->mesh.mesh->overlapTurn;
    }
}

// Leaving the accuracy page stores its check box, ticked or not; the drawing it then makes differs
// from the default one in its external roots only (the ring, drawn first, stays as it was).
TEST(RackCutRoot, CheckBoxChangesOnlyExternalRoots) {
    testing::TempFolder folder;
    MainMod state = testing::Rack20State(6, 3);
    PageInput in;
    in.page = Page::Accuracy;
    in.txtAccEv = "6";
    in.txtAccPer = "3";
    for (const bool ticked : {true, false}) {
        in.chkCutFillet = ticked;
        EXPECT_EQ(CtlComClick(state, in)->next, Page::File);
        EXPECT_EQ(state.CutFillet, ticked);
        state.OutFile = folder.File(ticked ? "cut.dxf" : "design.dxf");
        ASSERT_TRUE(RunBuilder(state, InternalPair(20, 50, 2).Shifts(0.3, 0.3)).ok());
    }
    const std::string cut = testing::ReadFile(folder.File("cut.dxf"));
    const std::string design = testing::ReadFile(state.OutFile);
    const std::size_t pinion = design.find("POLYLINE", design.find("POLYLINE") + 1);
    ASSERT_NE(pinion, std::string::npos);
    EXPECT_EQ(cut.substr(0, pinion), design.substr(0, pinion));
    EXPECT_NE(cut, design);
}

}  // namespace
}  // namespace tarvo
