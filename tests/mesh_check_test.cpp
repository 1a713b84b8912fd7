// The mesh check on drawn outlines: clearances and overlaps, pieces that measure as whole wheels,
// and an outline that is not there reported rather than measured.
#include <gtest/gtest.h>

#include <cmath>

#include "report/boost_geometry.h"

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

MainMod State(int involute, int fillet) { return testing::Rack20State(involute, fillet); }

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

namespace bg = boost::geometry;
using BPoint = bg::model::d2::point_xy<double>;
using BLine = bg::model::linestring<BPoint>;
using BPolygon = bg::model::polygon<BPoint>;

// The check done the slow way, on whole wheels in every position: what the cut-down check must
// find. The material of internal teeth lies between the outline and a square just outside it
// (Boost's grid for intersections grows with the extent of the inputs).
struct Reference {
    double drawn = HUGE_VAL, least = HUGE_VAL, depth = 0, area = 0, turn = 0;
};

Reference WholeWheelCheck(const MeshWheel& w1, const MeshWheel& w2, int steps) {
    auto placed = [](const MeshWheel& w, double angle) {
        BLine line;
        for (const PointXY& p : *w.outline) {
            const double x = p.X - w.centre.X, y = p.Y - w.centre.Y;
            line.push_back(BPoint(w.centre.X + x * std::cos(angle) - y * std::sin(angle),
                                  w.centre.Y + x * std::sin(angle) + y * std::cos(angle)));
        }
        BPolygon material;
        if (w.internal) {
            bg::model::box<BPoint> box;
            bg::envelope(line, box);
            bg::buffer(box, box, 1.0);
            bg::convert(box, material);
            material.inners().emplace_back(line.begin(), line.end());
        } else {
            material.outer().assign(line.begin(), line.end());
        }
        bg::correct(material);
        return std::make_pair(line, material);
    };
    const double ratio = static_cast<double>(w1.teeth) / w2.teeth;
    const double follow = w1.internal || w2.internal ? ratio : -ratio;
    const double step = 2 * kPi / w1.teeth / steps;
    Reference ref;
    for (int k = 0; k < steps; ++k) {
        const auto [line1, material1] = placed(w1, step * k);
        const auto [line2, material2] = placed(w2, follow * step * k);
        const double clearance = bg::distance(line1, line2);
        ref.drawn = k == 0 ? clearance : ref.drawn;
        ref.least = std::min(ref.least, clearance);
        bg::model::multi_polygon<BPolygon> shared;
        bg::intersection(material1, material2, shared);
        double depth = 0;
        bg::for_each_point(shared, [&](const BPoint& p) {
            depth = std::max(depth, std::max(bg::distance(p, line1), bg::distance(p, line2)));
        });
        if (depth > kTouchingDepth && depth > ref.depth) {
            ref = {ref.drawn, ref.least, depth, bg::area(shared), step * k * 180 / kPi};
        }
    }
    return ref;
}

TEST(MeshCheck, AgreesWithWholeWheelsInEveryPosition) {
    // Ten positions a pitch; points few enough for the whole wheels to be measured quickly.
    struct Row {
        const char* name;
        bool internal;
        int z1, z2, involute, fillet;
        double x1, x2, jn;
    };
    const Row rows[] = {
        {"external 13 / 71, jn 0.3", false, 13, 71, 20, 10, 0, 0, 0.3},
        {"external 20 / 40 at the default counts: fillet chords overlap", false, 20, 40, 6, 3, 0,
         0, 0},
        {"external 12 / 20, x2 -0.5: tips overlap", false, 12, 20, 12, 6, 0, -0.5, 0},
        {"internal 18 in 45, jn 0.25", true, 18, 45, 20, 10, 0, 0, 0.25},
        {"internal ring first, shifted, default counts", true, 40, 20, 6, 3, 0.5, 0.2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state = State(row.involute, row.fillet);
        std::vector<PointXY> a, b;
        MeshWheel w1, w2;
        if (row.internal) {
            const InternalPairGeometry g =
                ComputeInternalPair(state, testing::InternalCall(row.z1, row.z2, 2, 0, 20, row.x1, row.x2, row.jn));
            ASSERT_TRUE(g.error.ok());
            a = Points(g.ring);
            b = Points(g.pinion);
            const MeshWheel ring{&a, {0, 0}, g.zr, true}, pinion{&b, {g.aw, 0}, g.zp, false};
            w1 = row.z1 < row.z2 ? pinion : ring;
            w2 = row.z1 < row.z2 ? ring : pinion;
        } else {
            const ExternalPairGeometry g =
                ComputeExternalPair(state, testing::ExternalCall(row.z1, row.z2, 2, 0, 20, row.x1, row.x2, row.jn));
            ASSERT_TRUE(g.error.ok());
            a = Points(g.wheel1);
            b = Points(g.wheel2);
            w1 = {&a, {0, 0}, row.z1, false};
            w2 = {&b, {g.aw, 0}, row.z2, false};
        }
        const MeshCheckResult r = CheckMesh(w1, w2, 10);
        const Reference ref = WholeWheelCheck(w1, w2, 10);
        ASSERT_TRUE(r.done) << r.reason;
        EXPECT_NEAR(r.drawnClearance, ref.drawn, 1e-12);
        EXPECT_NEAR(r.minClearance, ref.least, 1e-12);
        EXPECT_EQ(r.overlap, ref.depth > 0);
        EXPECT_NEAR(r.overlapDepth, ref.depth, 1e-9);
        EXPECT_NEAR(r.overlapTurn, ref.turn, 1e-9);
        // Boost rescales coordinates to a grid set by the extent of what it intersects, so the
        // area of a few teeth and of whole wheels agree to that grid only.
        EXPECT_NEAR(r.overlapArea, ref.area, 2e-2 * ref.area);
        // The quick question gives the same answer, wherever it starts looking.
        for (const double likely : {0.0, r.overlapTurn, 5.0}) {
            EXPECT_EQ(MeshOverlaps(w1, w2, likely, 10).overlap, r.overlap) << likely;
        }
    }
}

TEST(MeshCheck, MissingOutlineIsReported) {
    const std::vector<PointXY> empty, square{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
    const MeshCheckResult r = CheckMesh({&empty, {0, 0}, 20, false}, {&square, {5, 0}, 1, false});
    EXPECT_FALSE(r.done);
    EXPECT_EQ(r.reason, "контур колеса пуст");
    EXPECT_TRUE(MeshOverlaps({&empty, {0, 0}, 20, false}, {&square, {5, 0}, 1, false}, 0).overlap);
}

}  // namespace
}  // namespace tarvo
