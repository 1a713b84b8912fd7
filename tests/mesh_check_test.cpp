// The mesh check on drawn outlines: clearances and overlaps, pieces that measure as whole wheels,
// and an outline that is not there reported rather than measured.
#include <gtest/gtest.h>

#include <cmath>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/linestring.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#pragma GCC diagnostic pop

#include "app/basic_rack.h"
#include "report/mesh_check.h"
#include "builder_calls.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "math/constants.h"

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

TEST(MeshCheck, ClearanceAndOverlap) {
    // A backlash jn leaves jn / 2 on each flank; wheel 2 moved by 0.2 mm opens or closes them by
    // 0.2 sin 20°; three fillet points make chords that stand out into the mate tip's path.
    const double moved = 0.2 * std::sin(20 * kPi / 180);
    struct Row {
        const char* name;
        int z1, z2;
        double jn;
        int points;  // on the involute; half as many on the fillet
        double move;  // wheel 2 along the centre line
        bool overlap;
        double least, most;  // the clearance drawn and over the pitch, or the overlap's depth
    };
    const Row rows[] = {
        {"20 / 40, jn 0.1", 20, 40, 0.1, 100, 0, false, 0.05 - 2e-3, 0.05 + 2e-3},
        {"17 / 23, jn 0.2", 17, 23, 0.2, 100, 0, false, 0.1 - 2e-3, 0.1 + 2e-3},
        {"no backlash: flanks that touch do not overlap", 20, 40, 0, 100, 0, false, 0, 2e-3},
        {"0.2 mm apart", 20, 40, 0, 100, 0.2, false, moved - 0.01, moved + 0.01},
        {"0.2 mm together", 20, 40, 0, 100, -0.2, true, moved - 0.02, moved + 0.02},
        {"three fillet points", 20, 40, 0, 6, 0, true, 0.05, HUGE_VAL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state = State(row.points, row.points / 2);
        const ExternalPairGeometry g =
            ComputeExternalPair(state, testing::ExternalCall(row.z1, row.z2, 2, 0, 20, 0, 0, row.jn));
        const std::vector<PointXY> wheel1 = Points(g.wheel1), wheel2 = Points(g.wheel2, row.move);
        const MeshCheckResult r = CheckMesh({&wheel1, {0, 0}, row.z1, false},
                                            {&wheel2, {g.aw + row.move, 0}, row.z2, false});
        ASSERT_TRUE(r.done) << r.reason;
        EXPECT_EQ(r.positions, kMeshStepsPerPitch);
        EXPECT_NEAR(r.stepDegrees, 360.0 / row.z1 / kMeshStepsPerPitch, 1e-12);
        EXPECT_EQ(r.overlap, row.overlap);
        EXPECT_LE(r.minClearance, r.drawnClearance);
        const double measure = row.overlap ? r.overlapDepth : r.drawnClearance;
        EXPECT_GE(measure, row.least);
        EXPECT_LE(measure, row.most);
        if (row.overlap) {
            EXPECT_EQ(r.minClearance, 0);
            EXPECT_GT(r.overlapArea, 0);
        } else {
            EXPECT_GE(r.minClearance, row.least);
        }
    }
}

TEST(MeshCheck, PiecesMeasureAsWholeWheels) {
    // The check cuts out the teeth that can meet; drawn, they must measure as the whole outlines.
    namespace bg = boost::geometry;
    using BPoint = bg::model::d2::point_xy<double>;
    auto line = [](const std::vector<PointXY>& points) {
        bg::model::linestring<BPoint> l;
        for (const PointXY& p : points) l.push_back(BPoint(p.X, p.Y));
        return l;
    };
    MainMod s1 = State(20, 10), s2 = s1;
    const ExternalPairGeometry e = ComputeExternalPair(s1, testing::ExternalCall(13, 71, 2, 0, 20, 0, 0, 0.3));
    const InternalPairGeometry i = ComputeInternalPair(s2, testing::InternalCall(18, 45, 2, 0, 20, 0, 0, 0.25));
    ASSERT_TRUE(e.error.ok() && i.error.ok());
    for (const bool ring : {false, true}) {
        SCOPED_TRACE(ring ? "internal 18 in 45, jn 0.25" : "external 13 / 71, jn 0.3");
        const std::vector<PointXY> a = Points(ring ? i.ring : e.wheel1);
        const std::vector<PointXY> b = Points(ring ? i.pinion : e.wheel2);
        const MeshCheckResult r = CheckMesh({&a, {0, 0}, ring ? 45 : 13, ring},
                                            {&b, {ring ? i.aw : e.aw, 0}, ring ? 18 : 71, false});
        ASSERT_TRUE(r.done) << r.reason;
        EXPECT_NEAR(r.drawnClearance, bg::distance(line(a), line(b)), 1e-12);
        EXPECT_GT(r.minClearance, 0.05);
        EXPECT_FALSE(r.overlap);
    }
}

TEST(MeshCheck, MissingOutlineIsReported) {
    const std::vector<PointXY> empty, square{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
    const MeshCheckResult r = CheckMesh({&empty, {0, 0}, 20, false}, {&square, {5, 0}, 1, false});
    EXPECT_FALSE(r.done);
    EXPECT_EQ(r.reason, "контур колеса пуст");
}

}  // namespace
}  // namespace tarvo
