// Halves to the even neighbour, decided on the exact binary value, and checked conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

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

}  // namespace
}  // namespace tarvo
