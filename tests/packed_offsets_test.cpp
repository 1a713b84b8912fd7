// Read-back offsets packed into the bits they need: every offset comes back as it went in, and a
// tooth's offsets take no more bytes than their axes' spans need.
#include "report/packed_offsets.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace tarvo {
namespace {

struct Row {
    const char* name;
    std::size_t points;
    int xFrom, xTo;  // the span the x offsets are drawn from
    int yFrom, yTo;
    std::size_t bitsPerPoint;  // what the two spans need together
};

TEST(PackedOffsets, EveryOffsetComesBackInTheBitsItsSpanNeeds) {
    const Row rows[] = {
        // A coordinate a little above 1000 mm reads back within some 45 units, one below it
        // within a few: six bits and four.
        {"a large wheel's tooth", 300, -22, 22, -4, 4, 10},
        {"every offset nought", 300, 0, 0, 0, 0, 0},
        {"one offset on each axis, not nought", 50, -7, -7, 12, 12, 0},
        {"the whole span of a byte", 200, -127, 127, -127, 127, 16},
        // Spans of a power of two and one more: the width must hold the largest rise.
        {"spans of 2^k and 2^k + 1 values", 100, 0, 63, -32, 32, 13},
        {"seven bits and one, straddling bytes", 97, -64, 63, 5, 6, 8},
        {"a single point", 1, -3, 40, 9, 9, 6},
    };
    std::mt19937 random(25);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::int8_t> offsets(2 * row.points);
        std::uniform_int_distribution<int> x(row.xFrom, row.xTo), y(row.yFrom, row.yTo);
        for (std::size_t j = 0; j < row.points; ++j) {
            offsets[2 * j] = static_cast<std::int8_t>(x(random));
            offsets[2 * j + 1] = static_cast<std::int8_t>(y(random));
        }
        // Both ends of each span appear, so the span is the row's.
        offsets[0] = static_cast<std::int8_t>(row.xFrom);
        offsets[1] = static_cast<std::int8_t>(row.yTo);
        offsets[2 * row.points - 2] = static_cast<std::int8_t>(row.xTo);
        offsets[2 * row.points - 1] = static_cast<std::int8_t>(row.yFrom);

        const PackedOffsets packed(offsets);
        ASSERT_EQ(packed.size(), offsets.size());
        for (std::size_t j = 0; j < row.points; ++j) {
            const PackedOffsets::PointOffsets offset = packed.Point(j);
            ASSERT_EQ(offset.x, offsets[2 * j]) << "point " << j;
            ASSERT_EQ(offset.y, offsets[2 * j + 1]) << "point " << j;
        }
        EXPECT_LE(packed.BytesHeld(), row.points * row.bitsPerPoint / 8 + 3);
    }
}

}  // namespace
}  // namespace tarvo
