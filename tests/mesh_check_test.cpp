// The mesh check on drawn outlines: backlash shows as clearance on both flanks, wheels pushed
// together overlap, the pieces the check cuts out give what whole wheels give, and an outline
// that is not there is reported rather than measured.
#include <gtest/gtest.h>

#include <cmath>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/linestring.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#pragma GCC diagnostic pop

#include "app/basic_rack.h"
#include "app/mesh_check.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"

namespace tarvo {
namespace {

std::vector<PointXY> Points(const Outline& outline, double dx = 0) {
    std::vector<PointXY> points;
    for (std::size_t i = 0; i + 1 < outline.size(); i += 2) {
        points.push_back({outline[i] + dx, outline[i + 1]});
    }
    return points;
}

MainMod State(int involute, int fillet) {
    MainMod state;
    state.AccEv = involute;
    state.AccPer = fillet;
    StoreRack(state, FindRackRow("20")->rack);
    return state;
}

// An external pair as drawn, wheel 2 optionally moved along the centre line.
struct Pair {
    std::vector<PointXY> wheel1, wheel2;
    double aw = 0;
};

Pair External(int z1, int z2, double jn, int involute, int fillet, double moved = 0) {
    MainMod state = State(involute, fillet);
    const ExternalPairGeometry g = ComputeExternalPair(state, z1, z2, 2, 0, 20, 0, 0, jn);
    EXPECT_TRUE(g.error.ok());
    return {Points(g.wheel1), Points(g.wheel2, moved), g.aw + moved};
}

TEST(MeshCheck, BacklashIsClearanceOnBothFlanks) {
    // With the wheels centred on each other's spaces, a normal backlash jn leaves jn / 2 on
    // each side along the line of action, in every position of the turn. The finest point
    // counts keep the chords of the involute within a micrometre of it.
    struct Row {
        const char* name;
        int z1, z2;
        double jn;
    };
    const Row rows[] = {
        {"20 / 40, jn 0.1", 20, 40, 0.1},
        {"17 / 23, jn 0.2", 17, 23, 0.2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Pair pair = External(row.z1, row.z2, row.jn, 100, 50);
        const MeshCheckResult r = CheckMesh({&pair.wheel1, {0, 0}, row.z1, false},
                                            {&pair.wheel2, {pair.aw, 0}, row.z2, false});
        ASSERT_TRUE(r.done) << r.reason;
        EXPECT_EQ(r.positions, kMeshStepsPerPitch);
        EXPECT_NEAR(r.stepDegrees, 360.0 / row.z1 / kMeshStepsPerPitch, 1e-12);
        EXPECT_NEAR(r.drawnClearance, row.jn / 2, 2e-3);
        EXPECT_NEAR(r.minClearance, row.jn / 2, 2e-3);
        EXPECT_LE(r.minClearance, r.drawnClearance);
        EXPECT_FALSE(r.overlap);
    }
}

TEST(MeshCheck, WheelsPushedTogetherOverlap) {
    // 0.2 mm closer than the working centre distance: each flank pair runs into the other by
    // about 0.2 sin 20° = 0.068 mm; 0.2 mm apart they clear by as much.
    const Pair closer = External(20, 40, 0, 100, 50, -0.2);
    const MeshCheckResult r = CheckMesh({&closer.wheel1, {0, 0}, 20, false},
                                        {&closer.wheel2, {closer.aw, 0}, 40, false});
    ASSERT_TRUE(r.done) << r.reason;
    EXPECT_TRUE(r.overlap);
    EXPECT_EQ(r.minClearance, 0);
    EXPECT_NEAR(r.overlapDepth, 0.2 * std::sin(20 * 3.14159265358979 / 180), 0.02);
    EXPECT_GT(r.overlapArea, 0);

    const Pair apart = External(20, 40, 0, 100, 50, 0.2);
    const MeshCheckResult a = CheckMesh({&apart.wheel1, {0, 0}, 20, false},
                                        {&apart.wheel2, {apart.aw, 0}, 40, false});
    ASSERT_TRUE(a.done);
    EXPECT_FALSE(a.overlap);
    EXPECT_NEAR(a.minClearance, 0.2 * std::sin(20 * 3.14159265358979 / 180), 0.01);
}

TEST(MeshCheck, CoarseFilletChordsMeetTheMatesTip) {
    // With three points on the fillet its two chords stand out into the tooth space, where the
    // mate's tip passes: the drawing overlaps although the exact curves would not. Fifty points
    // follow the curve closely enough to clear.
    const Pair coarse = External(20, 40, 0, 6, 3);
    const MeshCheckResult c = CheckMesh({&coarse.wheel1, {0, 0}, 20, false},
                                        {&coarse.wheel2, {coarse.aw, 0}, 40, false});
    ASSERT_TRUE(c.done);
    EXPECT_TRUE(c.overlap);
    EXPECT_GT(c.overlapDepth, 0.05);
    const Pair fine = External(20, 40, 0, 100, 50);
    const MeshCheckResult f = CheckMesh({&fine.wheel1, {0, 0}, 20, false},
                                        {&fine.wheel2, {fine.aw, 0}, 40, false});
    ASSERT_TRUE(f.done);
    EXPECT_FALSE(f.overlap);
}

TEST(MeshCheck, PiecesMeasureAsWholeWheels) {
    // The check works on the few teeth that can meet; in the drawn position its clearance must
    // be the distance between the whole outlines, for two external wheels and for a ring.
    namespace bg = boost::geometry;
    using BPoint = bg::model::d2::point_xy<double>;
    using BLine = bg::model::linestring<BPoint>;
    auto line = [](const std::vector<PointXY>& points) {
        BLine l;
        for (const PointXY& p : points) {
            l.push_back(BPoint(p.X, p.Y));
        }
        return l;
    };
    struct Row {
        const char* name;
        bool internal;
        int zSmall, zLarge;
        double jn;
    };
    const Row rows[] = {
        {"external 13 / 71, jn 0.3", false, 13, 71, 0.3},
        {"internal 18 in 45, jn 0.25", true, 18, 45, 0.25},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state = State(20, 10);
        MeshWheel w1, w2;
        std::vector<PointXY> a, b;
        if (row.internal) {
            const InternalPairGeometry g =
                ComputeInternalPair(state, row.zSmall, row.zLarge, 2, 0, 20, 0, 0, row.jn);
            ASSERT_TRUE(g.error.ok());
            a = Points(g.ring);
            b = Points(g.pinion);
            w1 = {&a, {0, 0}, row.zLarge, true};
            w2 = {&b, {g.aw, 0}, row.zSmall, false};
        } else {
            const ExternalPairGeometry g =
                ComputeExternalPair(state, row.zSmall, row.zLarge, 2, 0, 20, 0, 0, row.jn);
            ASSERT_TRUE(g.error.ok());
            a = Points(g.wheel1);
            b = Points(g.wheel2);
            w1 = {&a, {0, 0}, row.zSmall, false};
            w2 = {&b, {g.aw, 0}, row.zLarge, false};
        }
        const MeshCheckResult r = CheckMesh(w1, w2);
        ASSERT_TRUE(r.done) << r.reason;
        EXPECT_NEAR(r.drawnClearance, bg::distance(line(a), line(b)), 1e-12);
        EXPECT_GT(r.minClearance, 0.05);
        EXPECT_FALSE(r.overlap);
    }
}

TEST(MeshCheck, MissingOutlineIsReported) {
    const std::vector<PointXY> empty;
    const Pair pair = External(20, 40, 0, 6, 3);
    const MeshCheckResult r =
        CheckMesh({&empty, {0, 0}, 20, false}, {&pair.wheel2, {pair.aw, 0}, 40, false});
    EXPECT_FALSE(r.done);
    EXPECT_EQ(r.reason, "контур колеса пуст");
}

}  // namespace
}  // namespace tarvo
