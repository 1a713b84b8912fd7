// An internal gear's tip limits and cutter fillet against hand-worked values, the tool roundings
// that shrink in 0.005 mm steps until they fit, and the failures the bounded loops report.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "math/constants.h"
#include "math/involute.h"
#include "profile/tooth_profile.h"

namespace tarvo {
namespace {

// A spur pair on the 20-degree rack (hf* 1, c* 0.25, rf* 0.38), 6 involute steps, 3 fillet points.
ToothProfileInput External(int z1, int z2, double m, double x1, double x2, double da1, double da2) {
    const double a = GradToRad(20);
    auto gear = [&](int z, double da, double x) {
        MeshMember g;
        g.z = z;
        g.d = z * m;
        g.da = da;
        g.db = z * m * std::cos(a);
        g.x = x;
        return g;
    };
    ToothProfileInput in;
    in.member1 = gear(z1, da1, x1);
    in.member2 = gear(z2, da2, x2);
    in.m = m;
    in.alpha = a;
    in.hf = 1;
    in.c = 0.25;
    in.rf = 0.38;
    in.AccEv = 6;
    in.AccPer = 3;
    return in;
}

// The same rack in an internal pair, member 2 the ring, cut by a cutter of zp teeth.
ToothProfileInput Internal(int zp, int zr, double m, double da1, double da2) {
    ToothProfileInput in = External(zp, zr, m, 0, 0, da1, da2);
    in.z0 = zp;
    in.internal = true;
    return in;
}

// The points of both worked pairs are pinned by the golden drawings; here the tip limits and the
// cutter, which the drawing shows only through them.
TEST(ToothProfile, InternalTipLimitsAndCutter) {
    const ToothProfileResult r = ToothProfile(Internal(20, 60, 2, 44, 116));
    ASSERT_TRUE(r.ok());
    // Tip limits, rounded to 3 places.
    EXPECT_EQ(r->da1, 43.445);
    EXPECT_EQ(r->da2, 117.589);
    // The cutter (tip 45, its tooth filling the space): its rounding from c* rounded to 0.8,
    // above the first value, so 0.75, then reduced 7 times until its two roundings fit.
    EXPECT_NEAR(r->cutter.da0, 45, 1e-12);
    EXPECT_NEAR(r->cutter.rho0First, 0.759902, 5e-7);
    EXPECT_EQ(r->cutter.reductions, 7);
    EXPECT_NEAR(r->cutter.rho0, 0.715, 1e-12);
    EXPECT_NEAR(r->cutter.Dc, 43.57, 1e-12);
}

TEST(ToothProfile, RoundingsReducedUntilTheyFit) {
    const ToothProfileResult rack = ToothProfile(External(12, 30, 1, 0.8, 0, 15.6, 32));
    ASSERT_TRUE(rack.ok());
    EXPECT_NEAR(rack->rack1.rhoFirst, 0.43172, 5e-6);
    EXPECT_EQ(rack->rack1.reductions, 114);
    // Not even a sharp corner fits, so the radius goes negative, as designed.
    EXPECT_NEAR(rack->rack1.rho, -0.13828, 5e-6);
    // m c* / (1 - sin a) = 0.74 rounds down to 0.7, taken without the half-step reduction.
    ToothProfileInput in = Internal(20, 60, 2, 44, 116);
    in.c = 0.74 * (1 - std::sin(in.alpha)) / 2;
    const ToothProfileResult cutter = ToothProfile(in);
    ASSERT_TRUE(cutter.ok());
    EXPECT_NEAR(cutter->cutter.rho0First, 0.74, 1e-12);
    EXPECT_EQ(cutter->cutter.reductions, 0);
    EXPECT_EQ(cutter->cutter.rho0, 0.7);
}

TEST(ToothProfile, FailuresNameTheWheelAndBoundedLoopsEnd) {
    using In = ToothProfileInput;
    using F = GeometryFault;
    struct Row {
        const char* name;
        void (*change)(In&);  // made to the external pair 20/40, m 1
        GeometryFault fault;
        int wheel;
    };
    const Row rows[] = {
        {"wheel 1 tip inside base circle", [](In& in) { in.member1.da = 18; }, F::TipInsideBase, 1},
        {"wheel 2 tip inside base circle", [](In& in) { in.member2.da = 37; }, F::TipInsideBase, 2},
        {"tip not a number", [](In& in) { in.member1.da = std::nan(""); }, F::TipInsideBase, 1},
        {"shifts past the involute's range", [](In& in) { in.member1.x = in.member2.x = 80; },
         F::WorkingAngleNotFound, 1},
        // Found by fuzzing: a rounding of 1e15 mm or more is not changed by a 0.005 mm step and
        // must be refused, not reduced for ever; so must one the steps change but never enough.
        {"rack rf* 1e15", [](In& in) { in.rf = 1e15; }, F::RackRoundingNotFound, 1},
        {"rack rf* 1e9", [](In& in) { in.rf = 1e9; }, F::RackRoundingNotFound, 1},
        {"cutter c* 1e17, ring alone",
         [](In& in) {
             in = Internal(20, 40, 2, 44, 76);
             in.c = 1e17;
             in.SingleMember = true;
         },
         F::CutterRoundingNotFound, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        In in = External(20, 40, 1, 0, 0, 22, 42);
        row.change(in);
        const ToothProfileResult r = ToothProfile(in);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.fault().fault, row.fault);
        EXPECT_EQ(r.fault().wheel, row.wheel);
    }
    // The bounded loops end: on a rack rounding test that is not a number, on an infinite rack
    // tooth depth (the test below zero for ever), on a cutter rounding inside its base circle.
    auto fault = [](const auto& r) { return r.ok() ? std::nullopt : std::optional(r.fault()); };
    RackFilletInput rack;  // wheel 1 of 20 teeth, m 1
    rack.z = 20;
    rack.db = 18.79;
    rack.da = 22;
    rack.psi = 0.1;
    rack.m = 1;
    rack.alpha = GradToRad(20);
    rack.rf = 0.38;
    rack.accPer = 3;
    rack.dl = NAN;
    rack.T = 1.25;
    EXPECT_EQ(fault(RackFillet(rack)), F::RackRoundingNotFound);
    rack.dl = 19;
    rack.T = INFINITY;
    EXPECT_EQ(fault(RackFillet(rack)), F::RackRoundingNotFound);
    CutterFilletInput cutter;  // a ring of 60 teeth, m 2, cut by a cutter of 20
    cutter.z2 = 60;
    cutter.z0 = 20;
    cutter.db2 = 112.76;
    cutter.s2 = kPi;
    cutter.m = 2;
    cutter.alpha = GradToRad(20);
    cutter.T = -0.5;
    cutter.c = 0.25;
    cutter.accPer = 3;
    EXPECT_EQ(fault(CutterFillet(cutter)), F::CutterRoundingNotFound);
}

}  // namespace
}  // namespace tarvo
