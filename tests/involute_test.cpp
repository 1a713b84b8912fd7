// The involute routines: known values, the inverse's fixed start and tolerance, and the
// failures of the inverse outside its convergence range.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "math/constants.h"
#include "math/involute.h"

namespace tarvo {
namespace {

TEST(Involute, KnownValues) {
    EXPECT_EQ(Inv(0), 0);
    EXPECT_NEAR(Inv(GradToRad(20)), 0.0149043838673364, 1e-16);
    // The fifteen-digit pi, not the double nearest to pi.
    EXPECT_EQ(GradToRad(180), 3.14159265358979);
    EXPECT_NE(GradToRad(180), M_PI);
    // Multiplied first, then divided: the two orders differ in the last bit for 20 degrees.
    EXPECT_EQ(GradToRad(20), (20 * 3.14159265358979) / 180);
}

TEST(ArcCos, QuotientForm) {
    struct Row {
        const char* name;
        double x;
        double expected;
        double tolerance;
    };
    const Row rows[] = {
        {"one", 1, 0, 0},
        {"zero gives a right angle", 0, std::acos(0.0), 0},
        {"half", 0.5, M_PI / 3, 1e-15},
        {"cos 20 deg", std::cos(GradToRad(20)), GradToRad(20), 1e-15},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(ArcCos(row.x), row.expected, row.tolerance);
    }
    EXPECT_TRUE(std::isnan(ArcCos(1.0000001)));
}

TEST(ArcInv, ConvergesInItsRange) {
    struct Row {
        const char* name;
        double angle;  // radians whose involute is inverted
        double tolerance;
    };
    const Row rows[] = {
        {"20 degrees", GradToRad(20), 1e-15},
        {"10 degrees", GradToRad(10), 1e-12},
        {"30 degrees", GradToRad(30), 1e-15},
        {"60 degrees", GradToRad(60), 1e-15},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ArcInvResult r = ArcInv(Inv(row.angle));
        EXPECT_TRUE(r.converged);
        EXPECT_NEAR(r.angle, row.angle, row.tolerance);
    }
}

TEST(ArcInv, FortyFiveDegreesReturnsWithoutAStep) {
    const ArcInvResult r = ArcInv(Inv(GradToRad(45)));
    EXPECT_TRUE(r.converged);
    EXPECT_EQ(r.angle, GradToRad(45));
    EXPECT_DOUBLE_EQ(r.angle, 0.7853981633974475);
}

TEST(ArcInv, ZeroConvergesLinearlyShortOfZero) {
    // The tolerance is on the involute value: x^3/3 < 1e-13 is met near 5.5e-5, not at 0.
    const ArcInvResult r = ArcInv(0);
    EXPECT_TRUE(r.converged);
    EXPECT_GT(r.angle, 5.4e-5);
    EXPECT_LT(r.angle, 5.6e-5);
}

TEST(ArcInv, FailsOutsideItsRange) {
    struct Row {
        const char* name;
        double v;
    };
    const Row rows[] = {
        {"not a number", std::numeric_limits<double>::quiet_NaN()},
        {"infinite", std::numeric_limits<double>::infinity()},
        {"involute of 1 leaves the branch", 1.0},
        {"large", 50.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(ArcInv(row.v).converged);
    }
}

}  // namespace
}  // namespace tarvo
