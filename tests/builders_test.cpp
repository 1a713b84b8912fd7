// The three drawings: the pair geometry of the worked cases, the turns and placement of each
// wheel, the roles of an internal pair, and the data for which nothing may be drawn.
#include <gtest/gtest.h>

#include <cmath>

#include "app/basic_rack.h"
#include "builder_calls.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"
#include "math/constants.h"
#include "math/involute.h"
#include "profile/gear_outline.h"
#include "test_files.h"

namespace tarvo {
namespace {

MainMod PairState(const char* row = "20") {
    MainMod state;
    state.AccEv = 6;
    state.AccPer = 3;
    StoreRack(state, FindRackRow(row)->rack);
    return state;
}

MainMod SplineState(SplineStandard standard, double m) {
    MainMod state;
    state.AccEv = 6;
    state.AccPer = 3;
    state.SingleMember = true;
    StoreRack(state, SplineRack(standard, m));
    return state;
}

double Degrees(double radians) { return radians * 180 / kPi; }

TEST(ExternalPair, WorkedCases) {
    struct Row {
        const char* name;
        double x1, x2;
        double alphaTwDeg, aw, da1, da2;
    };
    const Row rows[] = {
        {"no shift", 0, 0, 20, 60, 44, 84},
        {"shifted 0.5 and 0.3", 0.5, 0.3, 23.48491, 61.47373, 45.74746, 84.94746},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state = PairState();
        const ExternalPairGeometry g =
            ComputeExternalPair(state, testing::ExternalCall(20, 40, 2, 0, 20, row.x1, row.x2, 0));
        ASSERT_TRUE(g.error.ok());
        EXPECT_NEAR(Degrees(g.alphaTw), row.alphaTwDeg, 5e-6);
        EXPECT_NEAR(g.aw, row.aw, 5e-6);
        EXPECT_NEAR(g.da1, row.da1, 5e-6);
        EXPECT_NEAR(g.da2, row.da2, 5e-6);
        EXPECT_NEAR(g.db1, 37.5877, 5e-5);
        EXPECT_EQ(g.d1, 40);
        EXPECT_EQ(g.d2, 80);
        // The second centre mark and wheel 2 share the same centre distance.
        EXPECT_EQ(g.wheel1.size(), 2u * (2 * 9 * 20 + 1));
        EXPECT_EQ(g.wheel2.size(), 2u * (2 * 9 * 40 + 1));
    }
}

TEST(ExternalPair, WheelTwoTurnedByHalfAPitchOnlyWhenEven) {
    for (const int z2 : {40, 41}) {
        SCOPED_TRACE(z2);
        MainMod state = PairState();
        const ExternalPairGeometry g = ComputeExternalPair(state, testing::ExternalCall(20, z2, 2, 0, 20, 0, 0, 0));
        ASSERT_TRUE(g.error.ok());
        // Rebuild wheel 2 from its flank about its own centre and compare.
        const std::vector<double> own = GearOutline(z2, g.flank2, false);
        const double phi = z2 % 2 == 0 ? kPi / z2 : 0;
        const double x = own[0];
        const double y = own[1];
        EXPECT_NEAR(g.wheel2[0], x * std::cos(phi) + y * std::sin(phi) + g.aw, 1e-12);
        EXPECT_NEAR(g.wheel2[1], -x * std::sin(phi) + y * std::cos(phi), 1e-12);
        // Wheel 1 is never turned.
        EXPECT_EQ(g.wheel1, GearOutline(20, g.flank1, false));
    }
}

TEST(ExternalPair, HelicalPairUsesTheTransverseSection) {
    MainMod state = PairState();
    const ExternalPairGeometry g = ComputeExternalPair(state, testing::ExternalCall(20, 40, 2, 15, 20, 0, 0, 0));
    ASSERT_TRUE(g.error.ok());
    EXPECT_NEAR(g.mt, 2 / std::cos(GradToRad(15)), 1e-12);
    EXPECT_NEAR(g.alphaT, std::atan(std::tan(GradToRad(20)) / std::cos(GradToRad(15))), 1e-15);
    EXPECT_NEAR(g.aw, 60 / std::cos(GradToRad(15)), 1e-9);
    // The stored rack is read, never changed.
    EXPECT_EQ(state.H, 1);
    EXPECT_EQ(state.Ro, 0.38);
}

TEST(InternalPair, WorkedCasesAndRoles) {
    MainMod state = PairState();
    const InternalPairGeometry plain = ComputeInternalPair(state, testing::InternalCall(20, 40, 2, 0, 20, 0, 0, 0));
    ASSERT_TRUE(plain.error.ok());
    EXPECT_EQ(plain.zp, 20);
    EXPECT_EQ(plain.zr, 40);
    EXPECT_NEAR(plain.aw, 20, 1e-9);
    EXPECT_EQ(plain.dp, 40);
    EXPECT_EQ(plain.dr, 80);

    MainMod a = PairState();
    MainMod b = PairState();
    const InternalPairGeometry ringFirst = ComputeInternalPair(a, testing::InternalCall(40, 20, 2, 0, 20, 0.5, 0.2, 0));
    const InternalPairGeometry pinionFirst = ComputeInternalPair(b, testing::InternalCall(20, 40, 2, 0, 20, 0.2, 0.5, 0));
    ASSERT_TRUE(ringFirst.error.ok());
    ASSERT_TRUE(pinionFirst.error.ok());
    EXPECT_NEAR(Degrees(ringFirst.alphaTw), 23.84682, 5e-6);
    EXPECT_NEAR(ringFirst.aw, 20.54805, 5e-6);
    // Whichever wheel was entered first, the drawing is the same.
    EXPECT_EQ(ringFirst.ring, pinionFirst.ring);
    EXPECT_EQ(ringFirst.pinion, pinionFirst.pinion);
}

TEST(InternalPair, PinionAlwaysTurnedByHalfItsPitch) {
    for (const int zp : {20, 21}) {
        SCOPED_TRACE(zp);
        MainMod state = PairState();
        const InternalPairGeometry g = ComputeInternalPair(state, testing::InternalCall(zp, 60, 2, 0, 20, 0, 0, 0));
        ASSERT_TRUE(g.error.ok());
        const std::vector<double> own = GearOutline(zp, g.pinionFlank, false);
        const double phi = kPi / zp;
        EXPECT_NEAR(g.pinion[0], own[0] * std::cos(phi) + own[1] * std::sin(phi) + g.aw, 1e-12);
        EXPECT_NEAR(g.pinion[1], -own[0] * std::sin(phi) + own[1] * std::cos(phi), 1e-12);
    }
}

TEST(Spline, WorkedCaseShaftAndHub) {
    MainMod shaftState = SplineState(SplineStandard::Gost6033, 2);
    const SplineGeometry shaft = ComputeSpline(shaftState, testing::SplineCall(20, 2, 0, 30, false));
    ASSERT_TRUE(shaft.error.ok());
    EXPECT_EQ(shaft.d, 40);
    EXPECT_NEAR(shaft.db, 34.64102, 5e-6);
    EXPECT_DOUBLE_EQ(shaft.da, 41.8);
    // The shaft is drawn as generated.
    EXPECT_EQ(shaft.outline, GearOutline(20, shaft.flank, false));

    MainMod hubState = SplineState(SplineStandard::Gost6033, 2);
    const SplineGeometry hub = ComputeSpline(hubState, testing::SplineCall(20, 2, 0, 30, true));
    ASSERT_TRUE(hub.error.ok());
    EXPECT_DOUBLE_EQ(hub.da, 38.2);
    EXPECT_EQ(hub.zc, 10);
    // The hub is turned clockwise by half a pitch.
    const std::vector<double> own = GearOutline(20, hub.flank, true);
    const double phi = kPi / 20;
    EXPECT_NEAR(hub.outline[0], own[0] * std::cos(phi) + own[1] * std::sin(phi), 1e-12);
    EXPECT_NEAR(hub.outline[1], -own[0] * std::sin(phi) + own[1] * std::cos(phi), 1e-12);
}

TEST(Spline, HubCutterHasHalfTheTeethHalvesToEven) {
    const int cases[][2] = {{20, 10}, {25, 12}, {27, 14}, {31, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        MainMod state = SplineState(SplineStandard::Ost100086, 2);
        const SplineGeometry hub = ComputeSpline(state, testing::SplineCall(c[0], 2, 0, 30, true));
        ASSERT_TRUE(hub.error.ok());
        EXPECT_EQ(hub.zc, c[1]);
    }
}

// Data that pass the window's checks but give no drawable teeth: refused with the wheel named.
TEST(Builders, RefuseWhatCannotBeDrawn) {
    enum Kind { External, Internal, Shaft, Hub };
    struct Row {
        const char* name;
        Kind kind;
        const char* rack;  // a rack row, or "gost" for the spline standard
        int z1, z2;        // a spline takes z1
        double m, beta, x1, x2;
        GeometryFault fault;
        WheelRole wheel;
    };
    const double nan = std::nan("");
    const Row rows[] = {
        {"internal pair with equal counts", Internal, "20", 30, 30, 2, 0, 0, 0,
         GeometryFault::EqualToothCounts, WheelRole::Pair},
        {"negative working angle crosses both outlines", External, "20", 12, 12, 2, 0, -0.5, -0.5,
         GeometryFault::WorkingAngleNotPositive, WheelRole::Pair},
        {"pointed pinion 10/40 x1 1.0", External, "20", 10, 40, 2, 0, 1.0, 0,
         GeometryFault::PointedTooth, WheelRole::Wheel1},
        {"pointed pinion 8/30 x1 1.0", External, "20", 8, 30, 2, 0, 1.0, 0,
         GeometryFault::PointedTooth, WheelRole::Wheel1},
        {"pointed pinion 12/50 on the 25-degree rack", External, "25", 12, 50, 2, 0, 0.9, 0.2,
         GeometryFault::PointedTooth, WheelRole::Wheel1},
        {"ring of 33 teeth: tip inside its base circle", Internal, "20", 20, 33, 2, 0, 0, 0,
         GeometryFault::TipInsideBase, WheelRole::Ring},
        {"ring of 40 teeth on the 18-degree rack", Internal, "18", 20, 40, 1, 0, 0, 0,
         GeometryFault::TipInsideBase, WheelRole::Ring},
        {"GOST hub of 6 teeth", Hub, "gost", 6, 0, 2, 0, 0, 0, GeometryFault::TipInsideBase,
         WheelRole::Hub},
        {"shaft whose partner count would not fit 16 bits", Shaft, "gost", 3277, 0, 2, 0, 0, 0,
         GeometryFault::PartnerTooLarge, WheelRole::Shaft},
        {"count beyond 16 bits", External, "20", 20, 32768, 2, 0, 0, 0,
         GeometryFault::TooManyTeeth, WheelRole::Wheel2},
        {"internal count beyond the memory limit", Internal, "20", 20, 100000, 2, 0, 0, 0,
         GeometryFault::TooManyTeeth, WheelRole::Wheel2},
        {"shifts beyond the involute's range", External, "20", 20, 40, 2, 0, 80, 80,
         GeometryFault::WorkingAngleNotFound, WheelRole::Pair},
        {"module not a number", External, "20", 20, 40, nan, 0, 0, 0,
         GeometryFault::ModuleNotPositive, WheelRole::Pair},
        {"helix angle infinite", Internal, "20", 20, 60, 2, INFINITY, 0, 0,
         GeometryFault::DataNotFinite, WheelRole::Pair},
        {"spline module zero", Shaft, "gost", 20, 0, 0, 0, 0, 0, GeometryFault::ModuleNotPositive,
         WheelRole::Shaft},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state;
        state.AccEv = 6;
        state.AccPer = 3;
        GeometryError error;
        if (row.kind == Shaft || row.kind == Hub) {
            state.SingleMember = true;
            StoreRack(state, SplineRack(SplineStandard::Gost6033, row.m));
            error = ComputeSpline(state, testing::SplineCall(row.z1, row.m, row.x1, 30, row.kind == Hub)).error;
        } else {
            const BasicRack& rack = FindRackRow(row.rack)->rack;
            StoreRack(state, rack);
            error = row.kind == External
                        ? ComputeExternalPair(state, testing::ExternalCall(row.z1, row.z2, row.m, row.beta, rack.alfa,
                                              row.x1, row.x2, 0))
                              .error
                        : ComputeInternalPair(state, testing::InternalCall(row.z1, row.z2, row.m, row.beta, rack.alfa,
                                              row.x1, row.x2, 0))
                              .error;
        }
        EXPECT_EQ(error.fault, row.fault);
        EXPECT_EQ(error.role, row.wheel);
    }
}

TEST(Builders, RefusedOrFailedDrawingWritesNothing) {
    testing::TempFolder folder;
    MainMod state = PairState();
    state.OutFile = folder.File("kept.dxf");
    testing::WriteFile(state.OutFile, "earlier drawing");
    const DrawResult refused = DrawExternalPair(state, testing::ExternalCall(8, 30, 2, 0, 20, 1.0, 0, 0));
    EXPECT_EQ(refused.status, DrawStatus::GeometryRefused);
    EXPECT_EQ(refused.geometry.fault, GeometryFault::PointedTooth);
    EXPECT_EQ(refused.geometry.role, WheelRole::Wheel1);
    EXPECT_EQ(testing::ReadFile(state.OutFile), "earlier drawing");

    state.OutFile = folder.File("missing/x.dxf");
    const DrawResult failed = DrawExternalPair(state, testing::ExternalCall(20, 40, 2, 0, 20, 0, 0, 0));
    EXPECT_EQ(failed.status, DrawStatus::FileNotWritten);
    EXPECT_FALSE(failed.fileReason.empty());
}

}  // namespace
}  // namespace tarvo
