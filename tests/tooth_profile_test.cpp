// Tooth flanks against hand-worked values (with the external fillet's tip-line depth measured
// towards the rack's tip), the cutter fillet of an internal gear, and the failures that the
// bounded loops and non-finite points report.
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

// The drawing accuracy and which members are generated.
struct Accuracy {
    int accEv = 6;
    int accPer = 3;
    bool single = false;
};
Accuracy State(int accEv = 6, int accPer = 3, bool single = false) {
    return {accEv, accPer, single};
}

// The generator called with its data in the order the formulas list them; the tip diameters it
// drew come back in da1 and da2.
ToothProfileResult Profile(const Accuracy& acc, int z1, int z2, double d1, double d2, double& da1,
                           double& da2, double db1, double db2, double m, double alpha, double x1,
                           double x2, double hf, double c, double rf, int z0, double jn,
                           bool internal) {
    ToothProfileInput in;
    in.member1 = {z1, d1, da1, db1, x1};
    in.member2 = {z2, d2, da2, db2, x2};
    in.m = m;
    in.alpha = alpha;
    in.hf = hf;
    in.c = c;
    in.rf = rf;
    in.z0 = z0;
    in.jn = jn;
    in.internal = internal;
    in.AccEv = acc.accEv;
    in.AccPer = acc.accPer;
    in.SingleMember = acc.single;
    ToothProfileResult r = ToothProfile(in);
    da1 = r.da1;
    da2 = r.da2;
    return r;
}

// An external pair of module m on the 20-degree rack (hf* 1, c* 0.25, rf* 0.38), no helix.
struct ExternalCase {
    int z1, z2;
    double m, x1, x2, da1, da2, jn;
};

ToothProfileResult RunExternal(const Accuracy& state, const ExternalCase& e) {
    const double a = GradToRad(20);
    const double d1 = e.z1 * e.m;
    const double d2 = e.z2 * e.m;
    double da1 = e.da1;
    double da2 = e.da2;
    return Profile(state, e.z1, e.z2, d1, d2, da1, da2, d1 * std::cos(a), d2 * std::cos(a), e.m, a,
                   e.x1, e.x2, 1, 0.25, 0.38, 0, e.jn, false);
}

TEST(ToothProfile, ExternalWorkedCase) {
    const ToothProfileResult r = RunExternal(State(), {20, 40, 1, 0, 0, 22, 42, 0});
    const ToothProfileResult& state = r;
    ASSERT_TRUE(r.error.ok());
    EXPECT_NEAR(r.workingAngle, GradToRad(20), 1e-12);
    EXPECT_NEAR(r.centreDistance, 30, 1e-9);
    EXPECT_NEAR(r.dl1, 18.878130, 5e-7);
    EXPECT_NEAR(r.dl2, 38.670007, 5e-7);
    EXPECT_NEAR(r.rack1.alphaM, 0.403973, 5e-7);
    EXPECT_NEAR(r.rack1.mPrime, 1.021953, 5e-7);
    EXPECT_NEAR(r.rack1.h, 1.483202, 5e-7);
    EXPECT_NEAR(r.rack1.rho, 0.388342, 5e-7);
    EXPECT_EQ(r.rack1.reductions, 0);

    ASSERT_EQ(state.Prof1.size(), 9u);
    EXPECT_NEAR(At(state.Prof1, 1).X, 8.628811, 5e-7);
    EXPECT_NEAR(At(state.Prof1, 1).Y, 1.366418, 5e-7);
    EXPECT_NEAR(Radius(At(state.Prof1, 1)), 8.736331, 5e-7);
    EXPECT_NEAR(Radius(At(state.Prof1, 3)), 9.434693, 5e-7);
    EXPECT_NEAR(At(state.Prof1, 9).X, 10.994513, 5e-7);
    EXPECT_NEAR(At(state.Prof1, 9).Y, 0.347382, 5e-7);
    EXPECT_NEAR(Radius(At(state.Prof1, 9)), 11, 1e-12);  // on the tip circle
    EXPECT_NEAR(At(state.Prof2, 1).X, 18.689301, 5e-7);
    EXPECT_NEAR(At(state.Prof2, 1).Y, 1.434200, 5e-7);
    EXPECT_NEAR(At(state.Prof2, 9).X, 20.996556, 5e-7);
    EXPECT_NEAR(At(state.Prof2, 9).Y, 0.380311, 5e-7);

    // The root the rack cuts: (d - 2 (hf* + c*) m) / 2 = 8.75 for wheel 1; the drawn root end
    // lies on it or slightly below, never above (which would collide with the mate's tip, 9.0).
    EXPECT_LT(Radius(At(state.Prof1, 1)), 8.75 + 1e-9);
    EXPECT_GT(Radius(At(state.Prof1, 1)), 8.70);
}

TEST(ToothProfile, JunctionOfFilletAndInvoluteCoincides) {
    const ExternalCase cases[] = {
        {20, 40, 1, 0, 0, 22, 42, 0},
        {17, 53, 3, 0.3, -0.1, 58.2, 164.4, 0.1},
        {12, 30, 1, 0.8, 0, 15.6, 32, 0},
    };
    for (const int accPer : {2, 3, 7, 50}) {
        for (const ExternalCase& e : cases) {
            SCOPED_TRACE(std::to_string(e.z1) + "/" + std::to_string(e.z2) + " with " +
                         std::to_string(accPer) + " fillet points");
            const ToothProfileResult state = RunExternal(State(10, accPer), e);
            ASSERT_TRUE(state.error.ok());
            const PointXY junction1 = state.Per1[0];
            const PointXY involute1 = At(state.Prof1, accPer);
            EXPECT_NEAR(junction1.X, involute1.X, 1e-9);
            EXPECT_NEAR(junction1.Y, involute1.Y, 1e-9);
            EXPECT_NEAR(state.Per2[0].X, At(state.Prof2, accPer).X, 1e-9);
            EXPECT_NEAR(state.Per2[0].Y, At(state.Prof2, accPer).Y, 1e-9);
            // Points run outward from the centre.
            for (int k = 2; k <= accPer + 10; ++k) {
                EXPECT_GE(Radius(At(state.Prof1, k)), Radius(At(state.Prof1, k - 1)) - 1e-12);
            }
        }
    }
}

TEST(ToothProfile, RoundingReducedUntilItFits) {
    const ToothProfileResult r = RunExternal(State(), {12, 30, 1, 0.8, 0, 15.6, 32, 0});
    ASSERT_TRUE(r.error.ok());
    EXPECT_NEAR(r.rack1.rhoFirst, 0.43172, 5e-6);
    EXPECT_EQ(r.rack1.reductions, 114);
    // Not even a sharp corner fits, so the radius goes negative, as designed.
    EXPECT_NEAR(r.rack1.rho, -0.13828, 5e-6);
}

TEST(ToothProfile, BacklashTurnsEachTipTowardsTheAxis) {
    const double jn = 0.1;
    const ToothProfileResult plain = RunExternal(State(), {20, 40, 1, 0, 0, 22, 42, 0});
    const ToothProfileResult thinned = RunExternal(State(), {20, 40, 1, 0, 0, 22, 42, jn});
    ASSERT_TRUE(plain.error.ok());
    ASSERT_TRUE(thinned.error.ok());
    auto angle = [](const PointXY& p) { return std::atan2(p.Y, p.X); };
    EXPECT_NEAR(angle(At(plain.Prof1, 9)) - angle(At(thinned.Prof1, 9)), jn * 20 / (60 * 20.0),
                1e-12);
    EXPECT_NEAR(angle(At(plain.Prof2, 9)) - angle(At(thinned.Prof2, 9)), jn * 40 / (60 * 40.0),
                1e-12);
}

TEST(ToothProfile, SingleMemberLeavesTheOtherFlankEmpty) {
    const ToothProfileResult external = RunExternal(State(6, 3, true), {20, 200, 1, 0, 0, 22, 202, 0});
    ASSERT_TRUE(external.error.ok());
    for (const PointXY& p : external.Prof2) {
        EXPECT_EQ(p.X, 0);
        EXPECT_EQ(p.Y, 0);
    }
    EXPECT_NE(At(external.Prof1, 1).X, 0);

    const double a = GradToRad(30);
    double da = 40 - 2 * 2 * 0.45;
    double da2 = da;
    const double db = 40 * std::cos(a);
    const ToothProfileResult r = Profile(State(6, 3, true), 20, 20, 40, 40, da, da2, db, db, 2, a,
                                         0, 0, 0.45, 0.1, 0.15, 10, 0, true);
    const ToothProfileResult& internal = r;
    ASSERT_TRUE(r.error.ok());
    EXPECT_EQ(da, 38.2);  // no tip limit without the mate
    for (const PointXY& p : internal.Prof1) {
        EXPECT_EQ(p.X, 0);
        EXPECT_EQ(p.Y, 0);
    }
}

TEST(ToothProfile, FilletWithTwoPointsHasJunctionAndRoot) {
    const ToothProfileResult state = RunExternal(State(6, 2), {20, 40, 1, 0, 0, 22, 42, 0});
    ASSERT_TRUE(state.error.ok());
    ASSERT_EQ(state.Prof1.size(), 8u);
    // One fillet point (the root end) before the involute, which starts at point 2.
    EXPECT_LT(Radius(At(state.Prof1, 1)), Radius(At(state.Prof1, 2)));
    EXPECT_NEAR(Radius(At(state.Prof1, 8)), 11, 1e-12);
}

// The internal pair m 2, 20/60 teeth, 20-degree rack, pinion-sized cutter.
ToothProfileResult RunInternal(const Accuracy& state, double& da1, double& da2) {
    const double a = GradToRad(20);
    return Profile(state, 20, 60, 40, 120, da1, da2, 40 * std::cos(a), 120 * std::cos(a), 2, a, 0,
                   0, 1, 0.25, 0.38, 20, 0, true);
}

TEST(ToothProfile, InternalWorkedCase) {
    double da1 = 44;
    double da2 = 116;
    const ToothProfileResult r = RunInternal(State(), da1, da2);
    const ToothProfileResult& state = r;
    ASSERT_TRUE(r.error.ok());
    EXPECT_NEAR(r.centreDistance, 40, 1e-9);
    EXPECT_NEAR(r.dl1, 37.588004, 5e-7);
    EXPECT_NEAR(r.dl2, 123.446405, 5e-7);
    // Tip limits, written back to the caller, rounded to 3 places.
    EXPECT_EQ(da1, 43.445);
    EXPECT_EQ(da2, 117.589);
    EXPECT_NEAR(Radius(At(state.Prof2, 1)), 58.7945, 1e-9);  // the limited tip circle
    EXPECT_NEAR(Radius(At(state.Prof2, 7)), 61.844141, 5e-7);  // the junction
    EXPECT_NEAR(Radius(At(state.Prof2, 9)), 62.5, 5e-5);     // next to the root circle
    EXPECT_NEAR(Radius(At(state.Prof1, 9)), 21.7225, 1e-9);

    // The cutter: its tooth fills the space, its rounding from c* rounded to 0.8, above the
    // first value, so 0.75, then reduced 7 times until its two roundings fit.
    EXPECT_NEAR(r.cutter.sc, kPi, 1e-12);
    EXPECT_NEAR(r.cutter.x0, 0, 1e-12);
    EXPECT_NEAR(r.cutter.alphaW0, GradToRad(20), 1e-12);
    EXPECT_NEAR(r.cutter.da0, 45, 1e-12);
    EXPECT_NEAR(r.cutter.rho0First, 0.759902, 5e-7);
    EXPECT_EQ(r.cutter.reductions, 7);
    EXPECT_NEAR(r.cutter.rho0, 0.715, 1e-12);
    EXPECT_NEAR(r.cutter.Dc, 43.57, 1e-12);
    EXPECT_NEAR(r.cutter.dw0, 40, 1e-12);
    // The internal gear's flank runs from its tip outwards to the root.
    for (int k = 2; k <= 9; ++k) {
        EXPECT_GT(Radius(At(state.Prof2, k)), Radius(At(state.Prof2, k - 1)));
    }
}

TEST(ToothProfile, CutterRoundingRoundedDownIsKept) {
    // m c* / (1 - sin a) = 0.74 rounds down to 0.7, taken without the half-step reduction.
    const double a = GradToRad(20);
    const double c = 0.74 * (1 - std::sin(a)) / 2;
    double da1 = 44;
    double da2 = 116;
    const ToothProfileResult r = Profile(State(), 20, 60, 40, 120, da1, da2, 40 * std::cos(a),
                                         120 * std::cos(a), 2, a, 0, 0, 1, c, 0.38, 20, 0, true);
    ASSERT_TRUE(r.error.ok());
    EXPECT_NEAR(r.cutter.rho0First, 0.74, 1e-12);
    EXPECT_EQ(r.cutter.reductions, 0);
    EXPECT_EQ(r.cutter.rho0, 0.7);
}

TEST(ToothProfile, FailuresNameTheWheelAndTheCause) {
    const double nan = std::nan("");
    struct Row {
        const char* name;
        ExternalCase data;
        GeometryFault fault;
        int wheel;
    };
    const Row rows[] = {
        {"tip of wheel 1 inside its base circle", {20, 40, 1, 0, 0, 18, 42, 0},
         GeometryFault::TipInsideBase, 1},
        {"tip of wheel 2 inside its base circle", {20, 40, 1, 0, 0, 22, 37, 0},
         GeometryFault::TipInsideBase, 2},
        {"shifts past the involute's range", {20, 40, 1, 80, 80, 22, 42, 0},
         GeometryFault::WorkingAngleNotFound, 1},
        {"tip not a number", {20, 40, 1, 0, 0, nan, 42, 0}, GeometryFault::TipInsideBase, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ToothProfileResult r = RunExternal(State(), row.data);
        EXPECT_EQ(r.error.fault, row.fault);
        EXPECT_EQ(r.error.wheel, row.wheel);
    }
}

TEST(ToothProfile, LoopsEndOnDataThatNeverFits) {
    // A rack rounding test that is not a number ends at once instead of looping forever.
    const RackFilletResult rack =
        RackFillet({20, 18.79, 22, std::nan(""), 0.1, 1, GradToRad(20), 1.25, 0.38, 3});
    EXPECT_EQ(rack.fault, GeometryFault::RackRoundingNotFound);

    // An infinite rack tooth depth keeps the test below zero for ever: the bound ends it.
    const RackFilletResult endless =
        RackFillet({20, 18.79, 22, 19, 0.1, 1, GradToRad(20), INFINITY, 0.38, 3});
    EXPECT_EQ(endless.fault, GeometryFault::RackRoundingNotFound);

    // A cutter whose rounding circle falls inside its base circle gives no test value.
    const CutterFilletResult cutter =
        CutterFillet({60, 20, 112.76, kPi, 0.0, 2, GradToRad(20), 0, -0.5, 0.25, 3});
    EXPECT_EQ(cutter.fault, GeometryFault::CutterRoundingNotFound);
}

TEST(ToothProfile, InternalGearTipInsideBaseCircle) {
    // A ring of 33 teeth on the 20-degree rack without shift has its tip circle (m (z - 2))
    // inside its base circle (m z cos 20); so has a 40-tooth ring on the 18-degree rack.
    struct Row {
        const char* name;
        int zr;
        double alphaDeg, hf, c, rf;
    };
    const Row rows[] = {
        {"20 deg, 33 teeth", 33, 20, 1, 0.25, 0.38},
        {"18 deg, 40 teeth", 40, 18, 1.2, 0.28734, 0.41585},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const double a = GradToRad(row.alphaDeg);
        double da1 = 22;
        double da2 = row.zr - 2.0;
        const ToothProfileResult r =
            Profile(State(), 20, row.zr, 20, row.zr, da1, da2, 20 * std::cos(a),
                    row.zr * std::cos(a), 1, a, 0, 0, row.hf, row.c, row.rf, 20, 0, true);
        EXPECT_EQ(r.error.fault, GeometryFault::TipInsideBase);
        EXPECT_EQ(r.error.wheel, 2);
    }
}

}  // namespace
}  // namespace tarvo
