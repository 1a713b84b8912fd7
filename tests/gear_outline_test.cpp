// Whole-gear outlines: sizes, closure, the mirror of each tooth, the turn from tooth to tooth
// and the direction of travel for external and internal gears.
#include <gtest/gtest.h>

#include <cmath>

#include "math/constants.h"
#include "profile/gear_outline.h"

namespace tarvo {
namespace {

// A made-up flank of n points running outward, on the positive-Y side.
std::vector<PointXY> Flank(int n) {
    std::vector<PointXY> flank;
    for (int i = 0; i < n; ++i) {
        flank.push_back({10.0 + i, 1.0 - 0.05 * i});
    }
    return flank;
}

PointXY Point(const std::vector<double>& outline, int k) {  // k counted from 1
    return {outline[static_cast<std::size_t>(2 * k - 2)],
            outline[static_cast<std::size_t>(2 * k - 1)]};
}

PointXY TurnedAnticlockwise(PointXY p, double phi) {
    return {p.X * std::cos(phi) - p.Y * std::sin(phi), p.X * std::sin(phi) + p.Y * std::cos(phi)};
}

TEST(GearOutline, SizeAndClosure) {
    struct Row {
        const char* name;
        int z;
        int n;
        bool internal;
        std::size_t numbers;
    };
    const Row rows[] = {
        {"one tooth", 1, 9, false, 4 * 9 + 2},
        {"default accuracy, 20 teeth", 20, 9, false, 722},
        {"internal, 40 teeth", 40, 9, true, 2 * (2 * 9 * 40 + 1)},
        {"finest accuracy", 7, 150, false, 2 * (2 * 150 * 7 + 1)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<double> outline = GearOutline(row.z, Flank(row.n), row.internal);
        ASSERT_EQ(outline.size(), row.numbers);
        const int points = static_cast<int>(row.numbers / 2);
        EXPECT_EQ(Point(outline, 1).X, Point(outline, points).X);
        EXPECT_EQ(Point(outline, 1).Y, Point(outline, points).Y);
    }
}

TEST(GearOutline, ToothMirrorAndTurnDirection) {
    const int n = 9;
    const int z = 20;
    for (const bool internal : {false, true}) {
        SCOPED_TRACE(internal ? "internal" : "external");
        const std::vector<double> outline = GearOutline(z, Flank(n), internal);
        // The two tip ends (external: points n and n + 1; internal: the same pair, reversed)
        // mirror each other in the tooth's centre line.
        EXPECT_EQ(Point(outline, n).X, Point(outline, n + 1).X);
        EXPECT_EQ(Point(outline, n).Y, -Point(outline, n + 1).Y);
        // Point 2n + 1 starts the next tooth: point 1 turned clockwise (external) or
        // anticlockwise (internal) by one angular pitch.
        const double pitch = 2 * kPi / z;
        const PointXY expected = TurnedAnticlockwise(Point(outline, 1), internal ? pitch : -pitch);
        EXPECT_NEAR(Point(outline, 2 * n + 1).X, expected.X, 1e-12);
        EXPECT_NEAR(Point(outline, 2 * n + 1).Y, expected.Y, 1e-12);
    }
    // External: the tooth starts with the flank itself; internal: with its mirror image.
    const std::vector<double> external = GearOutline(z, Flank(n), false);
    const std::vector<double> internal = GearOutline(z, Flank(n), true);
    EXPECT_EQ(Point(external, 1).Y, 1.0);
    EXPECT_EQ(Point(internal, n + 1).Y, 1.0);
    EXPECT_EQ(Point(internal, n).Y, -1.0);
}

// An internal flank ends on the centre line of the next space (pi/z less 1e-10 radian), so the
// fillets of neighbouring teeth meet there instead of crossing; a flank that curls back towards
// the centre ends where it turned. The point count never changes.
TEST(GearOutline, InternalFlankEndsOnSpaceCentreLine) {
    const int z = 40;
    const double line = kPi / z - 1e-10;
    auto polar = [](double r, double degrees) {
        const double t = degrees * kPi / 180;
        return PointXY{r * std::cos(t), r * std::sin(t)};
    };
    struct Row {
        const char* name;
        std::vector<PointXY> flank;
        std::size_t firstChanged;  // flank.size() when nothing changes
        bool onLine;               // the changed points lie on the line (else: repeat the one before)
    };
    const Row rows[] = {
        {"stays inside the space", {polar(38, 1.7), polar(40, 3), polar(42, 4.4)}, 3, false},
        {"runs past the line", {polar(38, 1.7), polar(40, 3), polar(42, 4.4), polar(42.5, 4.6),
                                polar(42.6, 4.8)}, 3, true},
        {"curls back towards the centre", {polar(38, 1.7), polar(42, 4.4), polar(41.999, 4.45),
                                           polar(41.99, 4.49)}, 2, false},
        {"past the line and closer", {polar(38, 1.7), polar(42, 4.4), polar(41.9, 4.6)}, 2, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<PointXY> ended = EndFilletOnSpaceCentreLine(z, row.flank);
        ASSERT_EQ(ended.size(), row.flank.size());
        for (std::size_t i = 0; i < row.firstChanged; ++i) {
            EXPECT_EQ(ended[i].X, row.flank[i].X);
            EXPECT_EQ(ended[i].Y, row.flank[i].Y);
        }
        for (std::size_t i = row.firstChanged; i < ended.size(); ++i) {
            EXPECT_EQ(ended[i].X, ended[row.firstChanged].X);
            EXPECT_EQ(ended[i].Y, ended[row.firstChanged].Y);
        }
        if (row.firstChanged < ended.size()) {
            const PointXY end = ended[row.firstChanged];
            if (row.onLine) {
                EXPECT_NEAR(std::atan2(end.Y, end.X), line, 1e-14);
            } else {
                EXPECT_EQ(end.X, row.flank[row.firstChanged - 1].X);
                EXPECT_EQ(end.Y, row.flank[row.firstChanged - 1].Y);
            }
        }
    }
}

}  // namespace
}  // namespace tarvo
