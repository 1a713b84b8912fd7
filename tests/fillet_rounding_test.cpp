// The tool tip rounding that shrinks in 0.005 mm steps until it fits: radii so large that a
// step cannot change them are refused at once, while radii that steps do change are reduced
// step by step as before.
#include <gtest/gtest.h>

#include <cmath>

#include "math/constants.h"
#include "math/involute.h"
#include "profile/tooth_profile.h"

namespace tarvo {
namespace {

// A mesh of module m on a 20-degree rack with ha* 1 and the given hf*, c* and rf*.
struct Mesh {
    const char* name;
    bool internal;
    bool single;  // only the member of interest (an internal gear: the ring alone)
    int z1, z2;
    double m, x1, hf, c, rf;
};

ToothProfileResult Generate(const Mesh& mesh) {
    const double a = GradToRad(20);
    const double d1 = mesh.z1 * mesh.m;
    const double d2 = mesh.z2 * mesh.m;
    ToothProfileInput in;
    in.member1 = {mesh.z1, d1, d1 + 2 * mesh.m * (1 + mesh.x1), d1 * std::cos(a), mesh.x1};
    in.member2 = {mesh.z2, d2, mesh.internal ? d2 - 2 * mesh.m : d2 + 2 * mesh.m,
                  d2 * std::cos(a), 0};
    in.m = mesh.m;
    in.alpha = a;
    in.hf = mesh.hf;
    in.c = mesh.c;
    in.rf = mesh.rf;
    in.z0 = mesh.internal ? mesh.z1 : 0;
    in.internal = mesh.internal;
    in.AccEv = 6;
    in.AccPer = 3;
    in.SingleMember = mesh.single;
    return ToothProfile(in);
}

// Found by fuzzing the builders: a rounding of 1e15 mm or more is not changed by a 0.005 mm
// step, so the reduction ran ten million (rack) or two million (cutter) times to its bound
// before refusing. The refusal must come at once, with the same fault.
TEST(FilletRounding, RadiusBeyondTheStepIsRefusedAtOnce) {
    struct Row {
        Mesh mesh;
        GeometryFault fault;
        int wheel;
    };
    const Row rows[] = {
        {{"rack rf* 1e20", false, false, 20, 40, 2, 0, 1, 0.25, 1e20},
         GeometryFault::RackRoundingNotFound, 1},
        {{"rack rf* 1e15", false, false, 20, 40, 2, 0, 1, 0.25, 1e15},
         GeometryFault::RackRoundingNotFound, 1},
        {{"cutter c* 5e18", true, true, 20, 40, 2, 0, 1, 5e18, 0.38},
         GeometryFault::CutterRoundingNotFound, 2},
        {{"cutter c* 1e17", true, true, 20, 40, 2, 0, 1, 1e17, 0.38},
         GeometryFault::CutterRoundingNotFound, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mesh.name);
        const ToothProfileResult r = Generate(row.mesh);
        EXPECT_EQ(r.error.fault, row.fault);
        EXPECT_EQ(r.error.wheel, row.wheel);
        EXPECT_EQ(r.rack1.reductions + r.cutter.reductions, 0);
    }
}

// A radius that the steps do change is still reduced step by step, here up to the bound (the
// worked reductions of 114 and 7 are pinned in the ToothProfile suite).
TEST(FilletRounding, ReachableRadiusStillRunsToTheBound) {
    const ToothProfileResult r =
        Generate({"rack rf* 1e9", false, false, 20, 40, 2, 0, 1, 0.25, 1e9});
    EXPECT_EQ(r.error.fault, GeometryFault::RackRoundingNotFound);
    EXPECT_EQ(r.rack1.reductions, kMaxRackRoundingReductions);
}

}  // namespace
}  // namespace tarvo
