// Halves to the even neighbour, decided on the exact binary value, and checked conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <random>

#include "math/hypot_extremes.h"
#include "math/rounding.h"

namespace tarvo {
namespace {

TEST(Rounding, HalfEvenToWholeAndToPlaces) {
    struct Row {
        const char* name;
        double v;
        int places;  // -1: RoundHalfEven
        double expected;
    };
    const Row rows[] = {
        {"20.5 to 20", 20.5, -1, 20},
        {"21.5 to 22", 21.5, -1, 22},
        {"0.5 to 0", 0.5, -1, 0},
        {"-2.5 to -2", -2.5, -1, -2},
        {"-3.5 to -4", -3.5, -1, -4},
        {"whole stays", 7, -1, 7},
        {"above half", 2.5000000000000004, -1, 3},
        {"below half", 2.4999999999999996, -1, 2},
        // 0.0025 is stored as 0.00250000000000000005..., above the half: it rounds up, where
        // rescaling to 2.5 would round down to even; 0.0045 is stored below the half.
        {"stored above half", 0.0025, 3, 0.003},
        {"stored below half", 0.0045, 3, 0.004},
        {"exact half down", 0.125, 2, 0.12},
        {"exact half up", 0.375, 2, 0.38},
        {"four places", 0.448474, 4, 0.4485},
        {"carry through nines", 9.9996, 3, 10},
        {"negative", -1.23456, 2, -1.23},
        {"zero places", 2.5, 0, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.places < 0 ? RoundHalfEven(row.v) : RoundToPlaces(row.v, row.places),
                  row.expected);
    }
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))));
}

TEST(Rounding, WholeConversionsCheckTheirWidth) {
    struct Row {
        const char* name;
        double v;
        int bits;                              // 0: FloorToWhole
        std::optional<std::int32_t> expected;  // empty: does not fit
    };
    const Row rows[] = {
        {"16-bit top", 32767, 16, 32767},          {"16-bit half to even top", 32766.5, 16, 32766},
        {"16-bit past top", 32767.5, 16, {}},      {"16-bit bottom", -32768, 16, -32768},
        {"32-bit past top", 2147483647.5, 32, {}}, {"32-bit fits", 40000, 32, 40000},
        {"not a number", std::nan(""), 32, {}},    {"infinite", HUGE_VAL, 16, {}},
        {"floor of -10.5", -10.5, 0, -11},         {"floor of 10.99999", 10.99999, 0, 10},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.bits == 0 ? FloorToWhole(row.v) : ToWhole(row.v, row.bits), row.expected);
    }
}

// The extremes kept by taking hypot only where HypotMayLeave says an extreme may move are the
// very bits of the extremes of every hypot: on points that all lie on one circle as far as the
// rounding goes (a gear's tips), about a far centre, at both ends of the range, and with NaN.
TEST(HypotExtremes, SameBitsAsHypotOfEveryPoint) {
    struct Row {
        const char* name;
        double radius, centre;  // points on the circle about (centre, centre), rounded
    };
    const Row rows[] = {{"tips of a module-1 wheel", 1500.25, 0},
                        {"about a far centre", 37.5, 3.1e6},
                        {"tiny", 3e-160, 0},
                        {"huge", 4e300, 0},
                        {"with NaN", 12, 5}};
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> turn(0, 6.283185307179586), jitter(-1e-15, 1e-15);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        double least = HUGE_VAL, most = 0, leastAll = HUGE_VAL, mostAll = 0;
        for (int i = 0; i < 20000; ++i) {
            const double a = turn(random), r = row.radius * (1 + jitter(random));
            const double x = row.name[0] == 'w' && i % 7 == 3
                                 ? std::nan("")
                                 : row.centre + r * std::cos(a) - row.centre;
            const double y = row.centre + r * std::sin(a) - row.centre, d = std::hypot(x, y);
            leastAll = std::min(leastAll, d);
            mostAll = std::max(mostAll, d);
            if (HypotMayLeave(x, y, least, most)) {
                least = std::min(least, d);
                most = std::max(most, d);
            }
        }
        EXPECT_EQ(std::memcmp(&least, &leastAll, sizeof least), 0) << least << " " << leastAll;
        EXPECT_EQ(std::memcmp(&most, &mostAll, sizeof most), 0) << most << " " << mostAll;
    }
}

}  // namespace
}  // namespace tarvo
