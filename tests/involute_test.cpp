// The involute's inverse: its fixed start and tolerance, and its failures outside its convergence
// range; and ArcCos outside its range. (Involute values and pi are pinned by the golden drawings.)
#include <gtest/gtest.h>

#include <cmath>

#include "math/constants.h"
#include "math/involute.h"

namespace tarvo {
namespace {

TEST(ArcInv, ConvergenceRangeStartAndTolerance) {
    struct Row {
        const char* name;
        double v;  // the involute value inverted
        bool converges;
        double angle, tolerance;
    };
    const Row rows[] = {
        {"10 degrees", Inv(GradToRad(10)), true, GradToRad(10), 1e-12},
        // The start value itself: returned without a step, to the bit.
        {"45 degrees", Inv(GradToRad(45)), true, GradToRad(45), 0},
        // The tolerance is on the involute value: x^3/3 < 1e-13 is met near 5.5e-5, not at 0.
        {"zero stops short of zero", 0, true, 5.5e-5, 1e-6},
        {"not a number", std::nan(""), false, 0, 0},
        {"infinite", HUGE_VAL, false, 0, 0},
        {"involute of 1 leaves the branch", 1.0, false, 0, 0},
        {"large", 50.0, false, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ArcInvResult r = ArcInv(row.v);
        ASSERT_EQ(r.ok(), row.converges);
        if (row.converges) {
            EXPECT_NEAR(r.value(), row.angle, row.tolerance);
        }
    }
    EXPECT_EQ(ArcCos(0), std::acos(0.0));
    EXPECT_TRUE(std::isnan(ArcCos(1.0000001)));
}

}  // namespace
}  // namespace tarvo
