// Tooth flanks against hand-worked values (with the external fillet's tip-line depth measured
// towards the rack's tip), the cutter fillet of an internal gear, the tool roundings that shrink
// in 0.005 mm steps until they fit, and the failures that the bounded loops and non-finite points
// report.
#include <gtest/gtest.h>

#include <cmath>

#include "math/constants.h"
#include "math/involute.h"
#include "profile/tooth_profile.h"

namespace tarvo {
namespace {

double Radius(const PointXY& p) { return std::sqrt(p.X * p.X + p.Y * p.Y); }
const PointXY& At(const std::vector<PointXY>& flank, int k) {
    return flank[static_cast<std::size_t>(k - 1)];
}

// An external pair of module m on the 20-degree rack (hf* 1, c* 0.25, rf* 0.38), no helix, with
// the tip diameters given; 6 involute steps and 3 fillet points.
ToothProfileInput External(int z1, int z2, double m, double x1, double x2, double da1,
                           double da2) {
    const double a = GradToRad(20);
    ToothProfileInput in;
    in.member1 = {z1, z1 * m, da1, z1 * m * std::cos(a), x1};
    in.member2 = {z2, z2 * m, da2, z2 * m * std::cos(a), x2};
    in.m = m;
    in.alpha = a;
    in.hf = 1;
    in.c = 0.25;
    in.rf = 0.38;
    in.AccEv = 6;
    in.AccPer = 3;
    return in;
}

// The same rack in an internal pair, member 2 the ring, cut by a cutter of as many teeth as the
// pinion.
ToothProfileInput Internal(int zp, int zr, double m, double da1, double da2) {
    ToothProfileInput in = External(zp, zr, m, 0, 0, da1, da2);
    in.z0 = zp;
    in.internal = true;
    return in;
}

TEST(ToothProfile, ExternalWorkedCase) {
    const ToothProfileResult r = ToothProfile(External(20, 40, 1, 0, 0, 22, 42));
    ASSERT_TRUE(r.ok());
    EXPECT_NEAR(r->workingAngle, GradToRad(20), 1e-12);
    EXPECT_NEAR(r->centreDistance, 30, 1e-9);
    EXPECT_NEAR(r->dl1, 18.878130, 5e-7);
    EXPECT_NEAR(r->dl2, 38.670007, 5e-7);
    EXPECT_NEAR(r->rack1.alphaM, 0.403973, 5e-7);
    EXPECT_NEAR(r->rack1.mPrime, 1.021953, 5e-7);
    EXPECT_NEAR(r->rack1.h, 1.483202, 5e-7);
    EXPECT_NEAR(r->rack1.rho, 0.388342, 5e-7);
    EXPECT_EQ(r->rack1.reductions, 0);

    ASSERT_EQ(r->Prof1.size(), 9u);
    EXPECT_NEAR(At(r->Prof1, 1).X, 8.628811, 5e-7);
    EXPECT_NEAR(At(r->Prof1, 1).Y, 1.366418, 5e-7);  // just below the rack's root, 8.75
    EXPECT_NEAR(Radius(At(r->Prof1, 3)), 9.434693, 5e-7);
    EXPECT_NEAR(At(r->Prof1, 9).X, 10.994513, 5e-7);
    EXPECT_NEAR(At(r->Prof1, 9).Y, 0.347382, 5e-7);
    EXPECT_NEAR(Radius(At(r->Prof1, 9)), 11, 1e-12);  // on the tip circle
    EXPECT_NEAR(At(r->Prof2, 1).X, 18.689301, 5e-7);
    EXPECT_NEAR(At(r->Prof2, 1).Y, 1.434200, 5e-7);
    EXPECT_NEAR(At(r->Prof2, 9).X, 20.996556, 5e-7);
    EXPECT_NEAR(At(r->Prof2, 9).Y, 0.380311, 5e-7);
}

// The internal pair m 2, 20/60 teeth.
TEST(ToothProfile, InternalWorkedCase) {
    const ToothProfileResult r = ToothProfile(Internal(20, 60, 2, 44, 116));
    ASSERT_TRUE(r.ok());
    EXPECT_NEAR(r->centreDistance, 40, 1e-9);
    EXPECT_NEAR(r->dl1, 37.588004, 5e-7);
    EXPECT_NEAR(r->dl2, 123.446405, 5e-7);
    // Tip limits, rounded to 3 places.
    EXPECT_EQ(r->da1, 43.445);
    EXPECT_EQ(r->da2, 117.589);
    EXPECT_NEAR(Radius(At(r->Prof2, 1)), 58.7945, 1e-9);    // the limited tip circle
    EXPECT_NEAR(Radius(At(r->Prof2, 7)), 61.844141, 5e-7);  // the junction
    EXPECT_NEAR(Radius(At(r->Prof2, 9)), 62.5, 5e-5);       // next to the root circle
    EXPECT_NEAR(Radius(At(r->Prof1, 9)), 21.7225, 1e-9);
    // The cutter (tip 45, its tooth filling the space): its rounding from c* rounded to 0.8,
    // above the first value, so 0.75, then reduced 7 times until its two roundings fit.
    EXPECT_NEAR(r->cutter.da0, 45, 1e-12);
    EXPECT_NEAR(r->cutter.rho0First, 0.759902, 5e-7);
    EXPECT_EQ(r->cutter.reductions, 7);
    EXPECT_NEAR(r->cutter.rho0, 0.715, 1e-12);
    EXPECT_NEAR(r->cutter.Dc, 43.57, 1e-12);
    // The internal gear's flank runs from its tip outwards to the root.
    for (int k = 2; k <= 9; ++k) {
        EXPECT_GT(Radius(At(r->Prof2, k)), Radius(At(r->Prof2, k - 1)));
    }
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

ToothProfileInput Changed(ToothProfileInput in, void (*change)(ToothProfileInput&)) {
    change(in);
    return in;
}

TEST(ToothProfile, FailuresNameTheWheelAndTheCause) {
    using In = ToothProfileInput;
    using F = GeometryFault;
    const In pair = External(20, 40, 1, 0, 0, 22, 42);
    const In ring = Internal(20, 40, 2, 44, 76);
    struct Row {
        const char* name;
        In in;
        GeometryFault fault;
        int wheel;
    };
    const Row rows[] = {
        {"tip of wheel 1 inside its base circle", Changed(pair, [](In& in) { in.member1.da = 18; }),
         F::TipInsideBase, 1},
        {"tip of wheel 2 inside its base circle", Changed(pair, [](In& in) { in.member2.da = 37; }),
         F::TipInsideBase, 2},
        {"tip not a number", Changed(pair, [](In& in) { in.member1.da = std::nan(""); }),
         F::TipInsideBase, 1},
        {"shifts past the involute's range",
         Changed(pair, [](In& in) { in.member1.x = in.member2.x = 80; }), F::WorkingAngleNotFound,
         1},
        // Found by fuzzing the builders: a rounding of 1e15 mm or more is not changed by a
        // 0.005 mm step and must be refused, not reduced for ever; so must one the steps do
        // change but never enough.
        {"rack rf* 1e15", Changed(pair, [](In& in) { in.rf = 1e15; }), F::RackRoundingNotFound, 1},
        {"rack rf* 1e9", Changed(pair, [](In& in) { in.rf = 1e9; }), F::RackRoundingNotFound, 1},
        {"cutter c* 1e17, ring alone",
         Changed(ring, [](In& in) { in.c = 1e17; in.SingleMember = true; }),
         F::CutterRoundingNotFound, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ToothProfileResult r = ToothProfile(row.in);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.fault().fault, row.fault);
        EXPECT_EQ(r.fault().wheel, row.wheel);
    }
}

TEST(ToothProfile, LoopsEndOnDataThatNeverFits) {
    // A rack rounding test that is not a number ends at once instead of looping forever.
    const RackFilletResult rack =
        RackFillet({20, 18.79, 22, std::nan(""), 0.1, 1, GradToRad(20), 1.25, 0.38, 3});
    ASSERT_FALSE(rack.ok());
    EXPECT_EQ(rack.fault(), GeometryFault::RackRoundingNotFound);
    // An infinite rack tooth depth keeps the test below zero for ever: the bound ends it.
    const RackFilletResult endless =
        RackFillet({20, 18.79, 22, 19, 0.1, 1, GradToRad(20), INFINITY, 0.38, 3});
    ASSERT_FALSE(endless.ok());
    EXPECT_EQ(endless.fault(), GeometryFault::RackRoundingNotFound);
    // A cutter whose rounding circle falls inside its base circle gives no test value.
    const CutterFilletResult cutter =
        CutterFillet({60, 20, 112.76, kPi, 0.0, 2, GradToRad(20), 0, -0.5, 0.25, 3});
    ASSERT_FALSE(cutter.ok());
    EXPECT_EQ(cutter.fault(), GeometryFault::CutterRoundingNotFound);
}

}  // namespace
}  // namespace tarvo
