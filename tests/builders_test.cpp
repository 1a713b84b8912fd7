// The three drawings: the turn of an internal pair's pinion and the teeth of a hub's cutter, the
// data for which nothing may be drawn, and a refused drawing leaving the old file alone. (The
// worked pairs and splines are pinned by the golden drawings and the DataSheet suite.)
#include <gtest/gtest.h>

#include <cmath>

#include "app/basic_rack.h"
#include "builder_calls.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"
#include "math/constants.h"
#include "profile/gear_outline.h"
#include "test_files.h"

namespace tarvo {
namespace {

MainMod SplineState(SplineStandard standard, double m) {
    MainMod state;
    state.AccEv = 6;
    state.AccPer = 3;
    state.SingleMember = true;
    StoreRack(state, SplineRack(standard, m));
    return state;
}

// The golden drawings have even pinions only: an odd one is turned by half its pitch as well.
TEST(InternalPair, PinionAlwaysTurnedByHalfItsPitch) {
    for (const int zp : {20, 21}) {
        SCOPED_TRACE(zp);
        const InternalPairResult built = ComputeInternalPair(
            testing::Rack20State(6, 3), testing::InternalCall(zp, 60, 2, 0, 20, 0, 0, 0));
        ASSERT_TRUE(built.ok());
        const InternalPairGeometry& g = built.value();
        const std::vector<double> own = GearOutline(zp, g.pinionFlank, false);
        const double phi = kPi / zp;
        EXPECT_NEAR(g.pinion[0], own[0] * std::cos(phi) + own[1] * std::sin(phi) + g.aw, 1e-12);
        EXPECT_NEAR(g.pinion[1], -own[0] * std::sin(phi) + own[1] * std::cos(phi), 1e-12);
    }
}

TEST(Spline, HubCutterHasHalfTheTeethHalvesToEven) {
    const int cases[][2] = {{20, 10}, {25, 12}, {27, 14}, {31, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        const SplineResult hub = ComputeSpline(SplineState(SplineStandard::Ost100086, 2),
                                               testing::SplineCall(c[0], 2, 0, 30, true));
        ASSERT_TRUE(hub.ok());
        EXPECT_EQ(hub->zc, c[1]);
    }
}

// The fault of a refused build; a build that succeeds has none, which fails the comparison.
template <class Geometry>
GeometryError FaultOf(const Outcome<Geometry, GeometryError>& built) {
    return built.ok() ? GeometryError{} : built.fault();
}

// Data that pass the window's checks but give no drawable teeth: refused with the wheel named.
// (Equal internal counts and the pointed pinion 8/30 are refused in the CliRun suite.)
TEST(Builders, RefuseWhatCannotBeDrawn) {
    enum Kind { External, Internal, Shaft, Hub };
    struct Row {
        const char* name;
        Kind kind;
        const char* rack;  // a rack row; a spline takes the GOST rack
        int z1, z2;        // a spline takes z1
        double m, beta, x1, x2;
        GeometryFault fault;
        WheelRole wheel;
    };
    using F = GeometryFault;
    using W = WheelRole;
    const double nan = std::nan("");
    const Row rows[] = {
        {"negative working angle crosses both outlines", External, "20", 12, 12, 2, 0, -0.5,
         -0.5, F::WorkingAngleNotPositive, W::Pair},
        {"pointed pinion 12/50 on the 25-degree rack", External, "25", 12, 50, 2, 0, 0.9, 0.2,
         F::PointedTooth, W::Wheel1},
        {"ring of 33 teeth: tip inside its base circle", Internal, "20", 20, 33, 2, 0, 0, 0,
         F::TipInsideBase, W::Ring},
        {"ring of 40 teeth on the 18-degree rack", Internal, "18", 20, 40, 1, 0, 0, 0,
         F::TipInsideBase, W::Ring},
        {"GOST hub of 6 teeth", Hub, "", 6, 0, 2, 0, 0, 0, F::TipInsideBase, W::Hub},
        {"shaft whose partner count would not fit 16 bits", Shaft, "", 3277, 0, 2, 0, 0, 0,
         F::PartnerTooLarge, W::Shaft},
        {"count beyond 16 bits", External, "20", 20, 32768, 2, 0, 0, 0, F::TooManyTeeth,
         W::Wheel2},
        {"internal count beyond the memory limit", Internal, "20", 20, 100000, 2, 0, 0, 0,
         F::TooManyTeeth, W::Wheel2},
        {"shifts beyond the involute's range", External, "20", 20, 40, 2, 0, 80, 80,
         F::WorkingAngleNotFound, W::Pair},
        {"module not a number", External, "20", 20, 40, nan, 0, 0, 0, F::ModuleNotPositive,
         W::Pair},
        {"helix angle infinite", Internal, "20", 20, 60, 2, INFINITY, 0, 0, F::DataNotFinite,
         W::Pair},
        {"spline module zero", Shaft, "", 20, 0, 0, 0, 0, 0, F::ModuleNotPositive, W::Shaft},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GeometryError error;
        if (row.kind == Shaft || row.kind == Hub) {
            error = FaultOf(ComputeSpline(SplineState(SplineStandard::Gost6033, row.m),
                                          testing::SplineCall(row.z1, row.m, row.x1, 30,
                                                              row.kind == Hub)));
        } else {
            MainMod state = testing::Rack20State(6, 3);
            const BasicRack& rack = FindRackRow(row.rack)->rack;
            StoreRack(state, rack);
            const BuilderCall call =
                testing::PairCall(row.kind == External ? BuilderCall::Kind::ExternalPair
                                                       : BuilderCall::Kind::InternalPair,
                                  row.z1, row.z2, row.m, row.beta, rack.alfa, row.x1, row.x2, 0);
            error = row.kind == External ? FaultOf(ComputeExternalPair(state, call))
                                         : FaultOf(ComputeInternalPair(state, call));
        }
        EXPECT_EQ(error.fault, row.fault);
        EXPECT_EQ(error.role, row.wheel);
    }
}

// A missing folder is reported in the CliRun suite.
TEST(Builders, RefusedDrawingLeavesTheOldFile) {
    testing::TempFolder folder;
    MainMod state = testing::Rack20State(6, 3);
    state.OutFile = folder.File("kept.dxf");
    testing::WriteFile(state.OutFile, "earlier drawing");
    const DrawResult refused =
        DrawExternalPair(state, testing::ExternalCall(8, 30, 2, 0, 20, 1.0, 0, 0));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.fault().kind, DrawFault::Kind::GeometryRefused);
    EXPECT_EQ(refused.fault().geometry.fault, GeometryFault::PointedTooth);
    EXPECT_EQ(refused.fault().geometry.role, WheelRole::Wheel1);
    EXPECT_EQ(testing::ReadFile(state.OutFile), "earlier drawing");
}

}  // namespace
}  // namespace tarvo
