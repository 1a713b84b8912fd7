// The internal pinion's turn, the hub cutter's teeth and the data for which nothing may be drawn.
// (The worked pairs and splines are pinned by the golden drawings and the DataSheet suite.)
#include <gtest/gtest.h>

#include <cmath>

#include "app/basic_rack.h"
#include "builder_calls.h"
#include "drawing/internal_pair.h"
#include "drawing/spline.h"
#include "math/constants.h"
#include "profile/gear_outline.h"
#include "test_files.h"

namespace tarvo {
namespace {

using testing::ExternalPair;
using testing::InternalPair;
using testing::SplineMember;

// The golden drawings have even pinions only: an odd one is turned by half its pitch as well.
TEST(InternalPair, OddPinionTurnedByHalfItsPitch) {
    const int zp = 21;
    const InternalPairResult g =
        ComputeInternalPair(testing::Rack20State(6, 3), InternalPair(zp, 60, 2));
    ASSERT_TRUE(g.ok());
    const Polyline own = GearOutline(zp, g->pinionFlank, false);
    const Polyline pinion = g->pinion.Points();
    const double phi = kPi / zp;
    EXPECT_NEAR(pinion[0].X, own[0].X * std::cos(phi) + own[0].Y * std::sin(phi) + g->aw, 1e-12);
    EXPECT_NEAR(pinion[0].Y, -own[0].X * std::sin(phi) + own[0].Y * std::cos(phi), 1e-12);
}

TEST(Spline, HubCutterHasHalfTheTeethHalvesToEven) {
    const MainMod state = testing::SplineState(SplineStandard::Ost100086, 2);
    for (const auto& [z, zc] : {std::pair{20, 10}, {25, 12}, {27, 14}, {31, 16}}) {
        SCOPED_TRACE(z);
        const SplineResult hub = ComputeSpline(state, SplineMember(z, 2, true));
        ASSERT_TRUE(hub.ok());
        EXPECT_EQ(hub->zc, zc);
    }
}

// Data that pass the window's checks but give no drawable teeth: refused with the wheel named, the
// old file left as it was, for the same reason at every scale (the geometry only scales with the
// module). (Equal internal counts and the pinion 8/30: the CliRun suite.)
TEST(Builders, RefuseWhatCannotBeDrawn) {
    struct Row {
        const char* name;
        const char* rack;  // a pair's rack row; a spline takes the GOST rack
        BuilderCall call;
        GeometryFault fault;
        WheelRole wheel;
    };
    using F = GeometryFault;
    using W = WheelRole;
    const double nan = std::nan("");
    const Row rows[] = {
        {"negative working angle", "20", ExternalPair(12, 12, 2).Shifts(-0.5, -0.5),
         F::WorkingAngleNotPositive, W::Pair},
        {"pointed 12/50", "25", ExternalPair(12, 50, 2).Profile(25).Shifts(0.9, 0.2),
         F::PointedTooth, W::Wheel1},
        {"ring of 33", "20", InternalPair(20, 33, 2), F::TipInsideBase, W::Ring},
        {"GOST hub of 6 teeth", "", SplineMember(6, 2, true), F::TipInsideBase, W::Hub},
        {"shaft partner past 16 bits", "", SplineMember(3277, 2, false), F::PartnerTooLarge,
         W::Shaft},
        {"count past 16 bits", "20", ExternalPair(20, 32768, 2), F::TooManyTeeth, W::Wheel2},
        {"internal count past memory", "20", InternalPair(20, 100000, 2), F::TooManyTeeth,
         W::Wheel2},
        {"shifts past the involute", "20", ExternalPair(20, 40, 2).Shifts(80, 80),
         F::WorkingAngleNotFound, W::Pair},
        {"module NaN", "20", ExternalPair(20, 40, nan), F::ModuleNotPositive, W::Pair},
        {"helix infinite", "20", InternalPair(20, 60, 2).Helix(INFINITY), F::DataOutOfRange,
         W::Pair},
        {"spline module zero", "", SplineMember(20, 0, false), F::ModuleNotPositive, W::Shaft},
    };
    testing::TempFolder folder;
    for (const Row& row : rows) {
        for (const double scale : {1.0, 1e-9, 1e9}) {
            SCOPED_TRACE(::testing::Message() << row.name << " at module times " << scale);
            BuilderCall call = row.call;
            call.m *= scale;
            const bool spline = call.kind == BuilderCall::Kind::Spline;
            MainMod state = spline ? testing::SplineState(SplineStandard::Gost6033, call.m)
                                   : testing::Rack20State(6, 3);
            if (!spline)
                StoreRack(state, FindRackRow(row.rack)->rack);
            state.OutFile = folder.File("kept.dxf");
            testing::WriteFile(state.OutFile, "earlier drawing");
            const DrawResult r = RunBuilder(state, call);
            ASSERT_FALSE(r.ok());
            EXPECT_EQ(r.fault().kind, DrawFault::Kind::GeometryRefused);
            EXPECT_EQ(r.fault().geometry->fault, row.fault);
            EXPECT_EQ(r.fault().geometry->role, row.wheel);
            EXPECT_EQ(testing::ReadFile(state.OutFile), "earlier drawing");
        }
    }
}

// Point counts below what the generator needs never come from the pages or tarvo-cli; a caller
// of the builders that passes them gets a refusal, not a crash, and the file stays.
TEST(Builders, RefusePointCountsTooFewForAFlank) {
    struct Counts {
        int involute, fillet;
    };
    const BuilderCall calls[] = {ExternalPair(20, 40, 2), InternalPair(20, 40, 2),
                                 SplineMember(20, 2, true)};
    testing::TempFolder folder;
    for (const BuilderCall& call : calls) {
        for (const bool cut : {false, true}) {
            for (const Counts counts : {Counts{0, 3}, Counts{6, 1}, Counts{0, 0}}) {
                SCOPED_TRACE(::testing::Message()
                             << static_cast<int>(call.kind) << " cut " << cut << " counts "
                             << counts.involute << "/" << counts.fillet);
                MainMod state = call.kind == BuilderCall::Kind::Spline
                                    ? testing::SplineState(SplineStandard::Gost6033, call.m,
                                                           counts.involute, counts.fillet)
                                    : testing::Rack20State(counts.involute, counts.fillet);
                state.CutFillet = cut;
                state.OutFile = folder.File("kept.dxf");
                testing::WriteFile(state.OutFile, "earlier drawing");
                const DrawResult r = RunBuilder(state, call);
                ASSERT_FALSE(r.ok());
                ASSERT_TRUE(r.fault().geometry.has_value());
                EXPECT_EQ(r.fault().geometry->fault, GeometryFault::DataOutOfRange);
                EXPECT_EQ(testing::ReadFile(state.OutFile), "earlier drawing");
            }
        }
    }
}

}  // namespace
}  // namespace tarvo
