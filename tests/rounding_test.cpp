// Halves to the even neighbour, decided on the exact binary value, and checked conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
        {"20.5 down to even", 20.5, -1, 20},    {"21.5 up to even", 21.5, -1, 22},
        {"0.5 to zero", 0.5, -1, 0},            {"-2.5 to -2", -2.5, -1, -2},
        {"-3.5 to -4", -3.5, -1, -4},           {"whole stays", 7, -1, 7},
        {"just above half", 2.5000000000000004, -1, 3},
        {"just below half", 2.4999999999999996, -1, 2},
        // 0.0025 is stored as 0.00250000000000000005..., above the half: it rounds up, where
        // rescaling to 2.5 would round down to even; 0.0045 is stored below the half.
        {"stored above the half", 0.0025, 3, 0.003},
        {"stored below the half", 0.0045, 3, 0.004},
        {"stored below the half, odd neighbour", 1.0005, 3, 1.0},
        {"exact half to even down", 0.125, 2, 0.12},
        {"exact half to even up", 0.375, 2, 0.38},
        {"four places", 0.448474, 4, 0.4485},   {"carry through nines", 9.9996, 3, 10},
        {"negative", -1.23456, 2, -1.23},       {"zero places is whole", 2.5, 0, 2},
        {"tip limit", 43.44549, 3, 43.445},
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
        int bits;
        bool fits;
        std::int32_t expected;
    };
    const Row rows[] = {
        {"16-bit top", 32767, 16, true, 32767},
        {"16-bit half rounds to even top", 32766.5, 16, true, 32766},
        {"16-bit past top", 32767.5, 16, false, 0},
        {"16-bit bottom", -32768, 16, true, -32768},
        {"32-bit past top", 2147483647.5, 32, false, 0},
        {"32-bit fits", 40000, 32, true, 40000},
        {"not a number", std::numeric_limits<double>::quiet_NaN(), 32, false, 0},
        {"infinite", std::numeric_limits<double>::infinity(), 16, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto whole = ToWhole(row.v, row.bits);
        ASSERT_EQ(whole.has_value(), row.fits);
        EXPECT_EQ(whole.value_or(0), row.expected);
    }
    EXPECT_EQ(FloorToWhole(-10.5), -11);
    EXPECT_EQ(FloorToWhole(10.99999), 10);
}

}  // namespace
}  // namespace tarvo
