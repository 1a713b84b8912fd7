// The mesh check on drawn outlines: clearances and overlaps against whole wheels turned the slow
// way, the same answers from the bands a streamed read keeps, an outline that is not there or is
// a tangle reported rather than measured; and what clears an overlap: the counts named are
// rebuilt and checked over the whole pitch (they must clear it, one point fewer must not), and
// the warning's words for each verdict.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>

#include "app/basic_rack.h"
#include "app/page_command.h"
#include "builder_calls.h"
#include "drawing/dxf_number.h"
#include "drawing/dxf_reader.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "math/constants.h"
#include "polygon_checks.h"
#include "profile/gear_outline.h"
#include "report/chord_frame.h"
#include "report/data_sheet.h"
#include "report/mesh_band.h"
#include "report/mesh_check.h"
#include "report/overlap_remedy.h"
#include "report/sheet_text.h"
#include "report/touch_depth.h"
#include "test_files.h"

namespace tarvo {
namespace {

using Verdict = OverlapRemedy::Verdict;

// A pair of module 2 on the 20-degree rack.
BuilderCall Call(bool internal, int z1, int z2, double x1 = 0, double x2 = 0, double jn = 0) {
    return (internal ? testing::InternalCall : testing::ExternalCall)(z1, z2, 2, 0, 20, x1, x2, jn);
}

// The pair built at these counts, placed as drawn with wheel 2 moved along the centre line by
// `move`; of an internal pair the wheel typed first is wheel 1, as the sheet checks it.
// p turned about the origin by `degrees`.
PointXY Turned(const PointXY& p, double degrees) {
    const double c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
    return {c * p.X - s * p.Y, s * p.X + c * p.Y};
}

struct BuiltPair {
    BuiltPair(const BuilderCall& call, int involute, int fillet, double move = 0) {
        MainMod state = testing::Rack20State(involute, fillet);
        if (call.kind == BuilderCall::Kind::ExternalPair) {
            const ExternalPairResult built = ComputeExternalPair(state, call);
            ok = built.ok();
            const ExternalPairGeometry g = ok ? built.value() : ExternalPairGeometry{};
            std::tie(a, b) = std::make_pair(g.wheel1.Points(), g.wheel2.Points());
            std::tie(drawn1, drawn2) = std::tie(g.wheel1, g.wheel2);
            w1 = {&a, {0, 0}, call.Z1, false};
            w2 = {&b, {g.aw + move, 0}, call.Z2, false};
        } else {
            const InternalPairResult built = ComputeInternalPair(state, call);
            ok = built.ok();
            const InternalPairGeometry g = ok ? built.value() : InternalPairGeometry{};
            std::tie(a, b) = std::make_pair(g.ring.Points(), g.pinion.Points());
            const MeshWheel ring{&a, {0, 0}, g.zr, true}, pinion{&b, {g.aw + move, 0}, g.zp, false};
            std::tie(w1, w2) = call.Z1 < call.Z2 ? std::tie(pinion, ring) : std::tie(ring, pinion);
            std::tie(drawn1, drawn2) =
                call.Z1 < call.Z2 ? std::tie(g.pinion, g.ring) : std::tie(g.ring, g.pinion);
        }
        for (PointXY& p : b)
            p.X += move;
    }
    BuiltPair(const BuiltPair&) = delete;
    // The check of the pair as built; a check that cannot be made fails the test.
    MeshClearance Check(int steps = kMeshStepsPerPitch) const {
        const MeshCheckResult r = CheckMesh(w1, w2, steps);
        EXPECT_TRUE(r.ok()) << r.fault();
        return r.ok() ? r.value() : MeshClearance{};
    }
    // The whole drawing turned about its origin.
    void Turn(double degrees) {
        for (std::vector<PointXY>* outline : {&a, &b}) {
            for (PointXY& p : *outline) {
                p = Turned(p, degrees);
            }
        }
        w1.centre = Turned(w1.centre, degrees);
        w2.centre = Turned(w2.centre, degrees);
    }

    bool ok = false;
    std::vector<PointXY> a, b;
    MeshWheel w1, w2;
    PlacedOutline drawn1, drawn2;  // what a and b were drawn from, before any move
};

// The check done the slow way, on whole wheels in every position: what the cut-down check must
// find.
struct Reference {
    double drawn = HUGE_VAL, least = HUGE_VAL, depth = 0, area = 0, turn = 0;
};

Reference WholeWheelCheck(const MeshWheel& w1, const MeshWheel& w2, int steps) {
    auto placed = [](const MeshWheel& w, double angle) {
        std::vector<PointXY> line;
        for (const PointXY& p : *w.outline) {
            const double x = p.X - w.centre.X, y = p.Y - w.centre.Y;
            line.push_back({w.centre.X + x * std::cos(angle) - y * std::sin(angle),
                            w.centre.Y + x * std::sin(angle) + y * std::cos(angle)});
        }
        return line;
    };
    const double ratio = static_cast<double>(w1.teeth) / w2.teeth;
    const double follow = w1.internal || w2.internal ? ratio : -ratio;
    const double step = 2 * kPi / w1.teeth / steps;
    Reference ref;
    for (int k = 0; k < steps; ++k) {
        const std::vector<PointXY> line1 = placed(w1, step * k);
        const std::vector<PointXY> line2 = placed(w2, follow * step * k);
        const double clearance = testing::PolylineDistance(line1, line2);
        ref.drawn = k == 0 ? clearance : ref.drawn;
        ref.least = std::min(ref.least, clearance);
        const testing::SharedMaterial shared =
            testing::MaterialShared(line1, w1.internal, line2, w2.internal);
        if (shared.depth > kTouchingDepth && shared.depth > ref.depth) {
            ref = {ref.drawn, ref.least, shared.depth, shared.area, step * k * 180 / kPi};
        }
    }
    return ref;
}

// A pair drawn at the point counts given.
struct PairRow {
    const char* name;
    BuilderCall call;
    int involute, fillet;
    double move = 0;  // wheel 2 moved along the centre line, mm
};

TEST(MeshCheck, AgreesWithWholeWheelsInEveryPosition) {
    // Ten positions a pitch; points few enough for the whole wheels to be measured quickly.
    const PairRow rows[] = {
        {"external 13 / 71, jn 0.3", Call(false, 13, 71, 0, 0, 0.3), 20, 10},
        {"external 20 / 40 at the default counts: fillet chords", Call(false, 20, 40), 6, 3},
        {"external 12 / 20, x2 -0.5: tips overlap", Call(false, 12, 20, 0, -0.5), 12, 6},
        {"internal 18 in 45, jn 0.25", Call(true, 18, 45, 0, 0, 0.25), 20, 10},
        {"internal ring first, shifted, default counts", Call(true, 40, 20, 0.5, 0.2), 6, 3},
        // Flanks that touch in every position: told from an overlap without intersecting.
        {"internal 40 in 20, no backlash", Call(true, 40, 20), 30, 15},
        {"external 20 / 40, no backlash", Call(false, 20, 40), 30, 15},
        {"internal 30 in 42, no backlash, shifted", Call(true, 30, 42, 0.2, 0.2), 24, 12},
        // Tips deep in the mate's body, below the strip a run of teeth is closed through: the
        // runs are closed far away instead.
        {"external 20 / 40, wheel 2 moved 3 mm in", Call(false, 20, 40), 12, 6, -3},
        {"internal 18 in 45, the pinion moved 3 mm into the ring", Call(true, 18, 45), 12, 6, 3},
        // Nearly concentric wheels: far more stretches near the mate than the check keeps
        // placed or framed at once.
        {"internal 186 in 196, module 1, shifted, no backlash: the tips interfere",
         testing::InternalCall(186, 196, 1, 0, 20, 0.08, -0.07, 0), 16, 5},
    };
    for (const PairRow& row : rows) {
        SCOPED_TRACE(row.name);
        const BuiltPair pair(row.call, row.involute, row.fillet, row.move);
        ASSERT_TRUE(pair.ok);
        const MeshClearance r = pair.Check(10);
        const Reference ref = WholeWheelCheck(pair.w1, pair.w2, 10);
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
            EXPECT_EQ(MeshOverlaps(pair.w1, pair.w2, likely, 10).overlap, r.overlap) << likely;
        }
    }
}

// The box of a stretch along its own chord sets stretches apart before their segments are
// measured: its separation from another must never exceed the stretches' distance, or the
// nearest points would be skipped, and it must come close to the distance of two flanks a hair
// apart, or it would set nothing apart.
TEST(ChordFrame, SeparationBelowTheDistanceAndCloseToIt) {
    // Nine points on an arc about (cx, cy): radius r, from angle a over `span` radians.
    auto arc = [](double cx, double cy, double r, double a, double span) {
        std::vector<PointXY> points;
        for (int k = 0; k <= 8; ++k) {
            const double t = a + span * k / 8;
            points.push_back({cx + r * std::cos(t), cy + r * std::sin(t)});
        }
        return points;
    };
    auto frame = [](const std::vector<PointXY>& points) {
        ChordFrame f = ChordFrame::Through(points.front(), points.back());
        for (const PointXY& p : points) {
            f.Take(p);
        }
        return f;
    };
    struct Row {
        const char* name;
        std::vector<PointXY> a, b;
        double tight;  // the separation is at least this share of the distance
    };
    const std::vector<Row> rows = {
        {"flanks 0.01 apart", arc(0, 0, 10, 0.3, 0.02), arc(0, 0, 10.01, 0.3, 0.02), 0.9},
        {"flanks 0.01 apart, far from the origin", arc(3e5, -2e5, 10, 2.1, 0.02),
         arc(3e5, -2e5, 10.01, 2.1, 0.02), 0.9},
        {"flanks 0.01 apart, run opposite ways", arc(0, 0, 10, 4.0, 0.02),
         arc(0, 0, 10.01, 4.02, -0.02), 0.9},
        {"tip facing a flank across 1 mm", arc(0, 0, 10, 1, 0.02), arc(0, 11.3, 0.3, 3.0, 0.3),
         0.5},
        {"crossing flanks", arc(0, 0, 10, 0.3, 0.02), arc(0.2, 0, 10, 0.3, 0.02), 0},
        {"a stretch of one repeated point", arc(0, 0, 10, 0.3, 0.02), arc(0, 0, 0, 0, 0), 0.9},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const double distance = testing::PolylineDistance(row.a, row.b);
        const double apart = Separation(frame(row.a), frame(row.b));
        EXPECT_LE(apart, distance * (1 + 1e-12) + 1e-12);
        EXPECT_GE(apart, row.tight * distance);
        EXPECT_EQ(apart, Separation(frame(row.b), frame(row.a)));
        // Frames made once and turned with their wheel, as the mesh check places them, set
        // the turned stretches apart as frames made of the turned points do.
        for (const double turn : {0.7, -2.9}) {
            const double c = std::cos(turn), s = std::sin(turn);
            const PointXY shift{41.5, -7};
            auto turned = [&](std::vector<PointXY> points) {
                for (PointXY& p : points) {
                    p = {shift.X + c * p.X - s * p.Y, shift.Y + s * p.X + c * p.Y};
                }
                return points;
            };
            const double moved =
                Separation(frame(row.a).Turned(c, s, shift), frame(row.b).Turned(c, s, shift));
            EXPECT_NEAR(moved, Separation(frame(turned(row.a)), frame(turned(row.b))), 1e-9);
            EXPECT_LE(moved, testing::PolylineDistance(turned(row.a), turned(row.b)) + 1e-12);
        }
    }
    // Short stretches of every shape and turn: never farther apart than they are.
    std::mt19937 random(5);
    std::uniform_real_distribution<double> at(-2, 2), bend(-3, 3);
    for (int n = 0; n < 2000; ++n) {
        const std::vector<PointXY> a = arc(at(random), at(random), std::fabs(at(random)) + 0.1,
                                           bend(random), bend(random) / 4);
        const std::vector<PointXY> b = arc(at(random), at(random), std::fabs(at(random)) + 0.1,
                                           bend(random), bend(random) / 4);
        ASSERT_LE(Separation(frame(a), frame(b)),
                  testing::PolylineDistance(a, b) * (1 + 1e-12) + 1e-12)
            << n;
    }
}

// Runs that cannot be judged by their segments near the contact: the closings may meet, a
// closing reaches into the other wheel, or a depth not above zero.
TEST(TouchDepth, RunsItCannotJudgeAreLeftToTheIntersection) {
    TouchRun tooth;  // a square tooth on an external wheel about the origin
    tooth.points = {{9, -1}, {11, -1}, {11, 1}, {9, 1}};
    tooth.materialLeft = true;
    tooth.closeRadius = 4;
    TouchRun mate = tooth;  // a narrower tooth on a wheel about (22.5, 0), facing it
    mate.centre = {22.5, 0};
    for (PointXY& p : mate.points) {
        p = {22.5 - p.X, -p.Y / 2};  // half as wide
    }
    struct Row {
        const char* name;
        double spread;  // between the wheels' centres
        double closeRadius;
        double depth;
        bool judged;
    };
    const Row rows[] = {
        {"0.5 mm apart", 22.5, 4, 0.001, true},
        {"a depth of zero", 22.5, 4, 0, false},
        {"closings as wide as the wheels: they may meet", 22.5, 11.5, 0.001, false},
        {"tips 0.5 mm into each other", 21.5, 4, 0.001, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TouchRun a = tooth, b = mate;
        a.closeRadius = b.closeRadius = row.closeRadius;
        const double shift = row.spread - 22.5;
        b.centre.X += shift;
        for (PointXY& p : b.points) {
            p.X += shift;
        }
        EXPECT_EQ(TouchShallowerThan(a, b, row.depth), row.judged);
    }
}

// The test measures only the stretches near the contact, picked by boxes across x and y and
// along each stretch's own chord: the same two teeth turned together to any angle of the drawing
// touch, or overlap, alike, whether a side was made for the test or kept from tests before.
TEST(TouchDepth, JudgedAlikeAtEveryTurnOfTheDrawing) {
    // A square tooth about the origin and a tooth half as wide facing it about (spread, 0), each
    // side cut into 40 segments so that the runs have stretches along every side.
    auto tooth = [](double spread, double halfWidth) {
        TouchRun run;
        run.closeRadius = 4;
        run.centre = {spread, 0};
        const PointXY corners[] = {{9, -1}, {11, -1}, {11, 1}, {9, 1}};
        for (int side = 0; side < 3; ++side) {
            for (int k = side == 0 ? 0 : 1; k <= 40; ++k) {
                const PointXY& p = corners[side];
                const PointXY& q = corners[side + 1];
                const double t = k / 40.0;
                const double x = p.X + t * (q.X - p.X), y = (p.Y + t * (q.Y - p.Y)) * halfWidth;
                run.points.push_back(spread == 0 ? PointXY{x, y} : PointXY{spread - x, -y});
            }
        }
        return run;
    };
    struct Row {
        const char* name;
        double spread;
        bool judged;  // shallower than 0.001 mm
    };
    const Row rows[] = {
        {"tips 0.5 mm apart", 22.5, true},
        {"tips touching", 22, true},
        {"tips 0.0004 mm into each other", 21.9996, true},
        {"tips 0.01 mm into each other", 21.99, false},
    };
    for (const double degrees : {0.0, 30.0, 45.0, 90.0, 137.0}) {
        auto turned = [degrees](TouchRun run) {
            run.centre = Turned(run.centre, degrees);
            for (PointXY& p : run.points) {
                p = Turned(p, degrees);
            }
            return run;
        };
        // The square tooth's side is made once and kept for every mate, as the mesh check keeps
        // wheel 1's teeth from one position to the next.
        const TouchRun a = turned(tooth(0, 1));
        TouchSide kept(a);
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) + ", turned " + std::to_string(degrees));
            const TouchRun b = turned(tooth(row.spread, 0.5));
            EXPECT_EQ(TouchShallowerThan(a, b, 0.001), row.judged);
            EXPECT_EQ(TouchShallowerThan(b, a, 0.001), row.judged);
            TouchSide mate(b);
            EXPECT_EQ(TouchShallowerThan(kept, mate, 0.001), row.judged);
            EXPECT_EQ(TouchShallowerThan(mate, kept, 0.001), row.judged);
        }
    }
}

// Far from the mate the test passes over whole stretches at a time, and takes up again at the
// first point of the next stretch near it. A square tooth's tip side (x = 11, 40 segments from
// y = -1 to 1, eight to a stretch: points 48 to 56 run from y = -0.6 to -0.2) touches a mate's
// tip of one segment, from y = -0.596 to -0.504, that no stretch before point 48 comes near.
// Point 49 (y = -0.55) raised 0.01 mm into the mate is found; the mate's tip corners then lie
// less than the depth inside the tooth, so only the tooth's own points can tell.
TEST(TouchDepth, FindsADeepPointWhereItTakesUpAgain) {
    TouchRun mate;
    mate.closeRadius = 4;
    mate.centre = {22, 0};
    const PointXY corners[] = {{13, -0.504}, {11, -0.504}, {11, -0.596}, {13, -0.596}};
    const int segments[] = {40, 1, 40};
    mate.points.push_back(corners[0]);
    for (int side = 0; side < 3; ++side) {
        for (int k = 1; k <= segments[side]; ++k) {
            const double t = static_cast<double>(k) / segments[side];
            mate.points.push_back({corners[side].X + t * (corners[side + 1].X - corners[side].X),
                                   corners[side].Y + t * (corners[side + 1].Y - corners[side].Y)});
        }
    }
    for (const bool raised : {false, true}) {
        SCOPED_TRACE(raised ? "point 49 raised into the mate" : "tips touching");
        TouchRun tooth;
        tooth.closeRadius = 4;
        const PointXY square[] = {{9, -1}, {11, -1}, {11, 1}, {9, 1}};
        tooth.points.push_back(square[0]);
        for (int side = 0; side < 3; ++side) {
            for (int k = 1; k <= 40; ++k) {
                const double t = k / 40.0;
                tooth.points.push_back(
                    {square[side].X + t * (square[side + 1].X - square[side].X),
                     square[side].Y + t * (square[side + 1].Y - square[side].Y)});
            }
        }
        ASSERT_NEAR(tooth.points[49].Y, -0.55, 1e-12);
        if (raised) {
            tooth.points[49].X += 0.01;
        }
        EXPECT_EQ(TouchShallowerThan(tooth, mate, 0.001), !raised);
    }
}

// A far point is placed by the part of the other run nearest to it, looked for nearest box
// first and then among the boxes no farther than that part, stretch by stretch and, in a long
// run, sixteen stretches to a block. Here the box nearest the tooth's first point (8.9, 1)
// belongs to a stretch running down a diagonal, 3.2 mm away, with the point on its material's
// side; the part truly nearest, 2 mm away with the point outside, is a stretch 128 segments on
// along the run, in another block. Found, the point lies outside; missed, it would lie inside.
TEST(TouchDepth, PlacesAFarPointByTheNearestPartOfALongRun) {
    TouchRun tooth;  // a short run on a wheel far below, its material below it
    tooth.points = {{8.9, 1}, {9.1, 1}};
    tooth.centre = {9, -1000};
    tooth.closeRadius = 1;
    tooth.materialLeft = false;
    TouchRun mate;  // on a wheel far above, its material on the left
    mate.centre = {9, 1000};
    mate.closeRadius = 1;
    auto line = [&mate](PointXY from, PointXY to, int segments) {
        for (int k = mate.points.empty() ? 0 : 1; k <= segments; ++k) {
            const double t = static_cast<double>(k) / segments;
            mate.points.push_back({from.X + t * (to.X - from.X), from.Y + t * (to.Y - from.Y)});
        }
    };
    line({12.9, 9.5}, {4.9, 1.5}, 8);  // stretch 0: the diagonal
    line({4.9, 1.5}, {4.9, 20}, 60);   // stretches 1 to 15, well away
    line({4.9, 20}, {6, 3}, 60);
    line({6, 3}, {10, 3}, 8);    // stretch 16, in the second block: the nearest part
    line({10, 3}, {10, 12}, 8);  // and away, so that the run's end lies far too
    ASSERT_EQ(mate.points.size(), 145u);
    EXPECT_TRUE(TouchShallowerThan(tooth, mate, 0.001));
    // The same with the mate's material on the other side: the point lies inside it.
    mate.materialLeft = false;
    EXPECT_FALSE(TouchShallowerThan(tooth, mate, 0.001));
}

// A run may pass through the other wheel's material where that material is only its closing,
// far from the other run: neither run's points nor segments come near the other run, so only
// the closing tells. Each run here is 0.5 mm from the other tip to tip, and one of them carries a
// loop, 0.1 mm wide, out around the other tooth and into the body its closing bounds: below the
// root of an external wheel's tooth, beyond the root of an internal wheel's. The loop reaches
// that body in the middle of a stretch, whose ends keep clear of it.
TEST(TouchDepth, ARunThroughTheOtherWheelsClosingIsLeftToTheIntersection) {
    struct Row {
        const char* name;
        TouchRun mate;
        TouchRun run;     // without its loop
        Polyline looped;  // the run's points with the loop
    };
    TouchRun externalTooth;  // external wheel about the origin
    externalTooth.points = {{9, -1}, {11, -1}, {11, 1}, {9, 1}};
    externalTooth.closeRadius = 4;
    TouchRun facing;  // external wheel about (22.5, 0)
    facing.centre = {22.5, 0};
    facing.closeRadius = 4;
    facing.points = {{13.5, 0.5}, {11.5, 0.5}, {11.5, -0.5}, {13.5, -0.5}};
    TouchRun ringTooth;  // internal wheel about the origin, its tooth pointing inwards
    ringTooth.internal = true;
    ringTooth.points = {{13, 1}, {11, 1}, {11, -1}, {13, -1}};
    ringTooth.closeRadius = 14;
    TouchRun pinion;  // external wheel about (-0.5, 0)
    pinion.centre = {-0.5, 0};
    pinion.closeRadius = 4;
    pinion.points = {{9, -0.5}, {10.5, -0.5}, {10.5, 0.5}, {9, 0.5}};
    const Row rows[] = {
        {"into the closing of an external wheel, to x = 5.9",
         externalTooth,
         facing,
         {{13.6, 0.5},
          {13.6, 3.1},
          {5.9, 3.1},
          {5.9, 0.2},
          {6, 0.2},
          {6, 3},
          {13.5, 3},
          {13.5, 0.5},
          {11.5, 0.5},
          {11.5, -0.5},
          {13.5, -0.5}}},
        {"past the closing of an internal wheel, to x = 13.6",
         ringTooth,
         pinion,
         {{9, -0.5},
          {10.5, -0.5},
          {10.5, 0.5},
          {10.5, 3},
          {13.5, 3},
          {13.5, 0.2},
          {13.6, 0.2},
          {13.6, 3.1},
          {10.4, 3.1},
          {10.4, 0.5},
          {9, 0.5}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Without the loop the tips stand 0.5 mm apart.
        EXPECT_TRUE(TouchShallowerThan(row.run, row.mate, 0.001));
        TouchRun looped = row.run;
        looped.points = row.looped;
        EXPECT_FALSE(TouchShallowerThan(looped, row.mate, 0.001));
        EXPECT_FALSE(TouchShallowerThan(row.mate, looped, 0.001));
    }
}

// The area of an overlap is measured on the material of the teeth in contact, closed through a
// strip of each wheel's body: Boost rounds the crossings of the outlines to a grid set by the box
// about what it intersects, and this box spans a few teeth rather than a square four wheels
// wide. The reference measures each piece of the whole wheels' shared material again on what
// lies within a millimetre of it. Thin slivers between flanks that cross at a small angle are the
// most sensitive: on the two internal pairs below, closings far beyond the mate stray from the
// reference by 2.4 % and 9.6 %, strips by 0.35 % and 0.94 %.
TEST(MeshCheck, OverlapAreaMeasuredOnTheTeethInContact) {
    struct Row {
        const char* name;
        BuilderCall call;
        int involute, fillet;
        double areaShare;  // the area agrees with the reference to this share of it
    };
    const Row rows[] = {
        {"internal 34 in 59, module 8, shifted apart: a sliver between fillet chords",
         testing::InternalCall(34, 59, 8, 0, 20, -0.39, -0.547, 0), 9, 10, 1e-2},
        {"internal 28 in 74, module 8, shifted apart: a shorter sliver",
         testing::InternalCall(28, 74, 8, 0, 20, -0.341, -0.452, 0), 12, 7, 2e-2},
        {"external 12 / 20, x2 -0.5: tips overlap", Call(false, 12, 20, 0, -0.5), 12, 6, 1e-4},
        {"external 40 / 80, module 8, at 6 / 3 points: fillet chords",
         testing::ExternalCall(40, 80, 8, 0, 20, 0, 0, 0), 6, 3, 1e-4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BuiltPair pair(row.call, row.involute, row.fillet);
        ASSERT_TRUE(pair.ok);
        const MeshClearance r = pair.Check();
        ASSERT_TRUE(r.overlap);
        // Both wheels turned to where the overlap was found.
        auto placed = [](const MeshWheel& w, double degrees) {
            std::vector<PointXY> line;
            for (const PointXY& p : *w.outline) {
                const PointXY q = Turned({p.X - w.centre.X, p.Y - w.centre.Y}, degrees);
                line.push_back({w.centre.X + q.X, w.centre.Y + q.Y});
            }
            return line;
        };
        const double ratio = static_cast<double>(pair.w1.teeth) / pair.w2.teeth;
        const double follow = pair.w1.internal || pair.w2.internal ? ratio : -ratio;
        const std::vector<PointXY> line1 = placed(pair.w1, r.overlapTurn);
        const std::vector<PointXY> line2 = placed(pair.w2, follow * r.overlapTurn);
        const testing::SharedMaterial near =
            testing::MaterialSharedNear(line1, pair.w1.internal, line2, pair.w2.internal, 1);
        ASSERT_GT(near.area, 0);
        EXPECT_NEAR(r.overlapDepth, near.depth, 1e-9);
        EXPECT_NEAR(r.overlapArea, near.area, row.areaShare * near.area);
    }
}

// The check sorts the stretches near the mate across x or across y, whichever way the teeth at
// the line of centres lie, and sets stretches apart by boxes along their own chords: the same
// pair drawn turned to any angle finds the same clearance and the same overlap.
TEST(MeshCheck, SameAnswersWhateverWayTheDrawingIsTurned) {
    const PairRow rows[] = {
        {"internal 40 / 20, touching at every position", Call(true, 40, 20), 30, 15},
        {"external 20 / 40 at 6 / 3 points: the fillet chords overlap", Call(false, 20, 40), 6, 3},
    };
    for (const PairRow& row : rows) {
        const MeshClearance drawn = BuiltPair(row.call, row.involute, row.fillet).Check(20);
        for (const double degrees : {30.0, 90.0, 137.0}) {
            SCOPED_TRACE(std::string(row.name) + ", turned " + std::to_string(degrees));
            BuiltPair pair(row.call, row.involute, row.fillet);
            pair.Turn(degrees);
            const MeshClearance turned = pair.Check(20);
            EXPECT_NEAR(turned.drawnClearance, drawn.drawnClearance, 1e-9);
            EXPECT_NEAR(turned.minClearance, drawn.minClearance, 1e-9);
            EXPECT_EQ(turned.overlap, drawn.overlap);
            EXPECT_NEAR(turned.overlapDepth, drawn.overlapDepth, 1e-9);
            // Boost intersects on a grid set by the extent of the material, which turns with it.
            EXPECT_NEAR(turned.overlapArea, drawn.overlapArea, 2e-2 * drawn.overlapArea);
        }
    }
}

TEST(MeshCheck, MissingOutlineIsReported) {
    const std::vector<PointXY> empty, square{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
    const MeshCheckResult r = CheckMesh({&empty, {0, 0}, 20, false}, {&square, {5, 0}, 1, false});
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.fault(), "контур колеса пуст");
    EXPECT_TRUE(MeshOverlaps({&empty, {0, 0}, 20, false}, {&square, {5, 0}, 1, false}, 0).overlap);
}

// Each pair drawn at the default 6 / 3 points overlaps; the remedy the sheet of the written file
// states is checked on the builders' outlines.
TEST(OverlapRemedy, NamedCountsClearItAndOneFewerDoesNot) {
    struct Row {
        const char* name;
        BuilderCall call;
        Verdict verdict;
        bool moreInvolute;
    };
    const Row rows[] = {
        {"external 20 / 40: fillet chords", Call(false, 20, 40), Verdict::MorePoints, false},
        {"internal 20 in 60: the ring's involute chords", Call(true, 20, 60), Verdict::MorePoints,
         true},
        {"external 12 / 20, x2 -0.5: the tips themselves", Call(false, 12, 20, 0, -0.5),
         Verdict::InGeometry, false},
    };
    const testing::TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state = testing::Rack20State(6, 3);
        state.OutFile = folder.File("default.dxf");
        ASSERT_TRUE(RunBuilder(state, row.call).ok());
        const DataSheetResult made = DataSheetOfFile(state, row.call, state.OutFile);
        ASSERT_TRUE(made.ok() && made->mesh.mesh.ok()) << DataSheetText(made);
        ASSERT_TRUE(made->mesh.mesh->overlap);  // the drawing itself is as asked
        ASSERT_TRUE(made->mesh.remedy.has_value());
        const OverlapRemedy& remedy = *made->mesh.remedy;
        ASSERT_EQ(remedy.verdict, row.verdict);
        if (row.verdict == Verdict::InGeometry) {
            const MeshClearance finest = BuiltPair(row.call, kMaxAccEv, kMaxAccPer).Check();
            EXPECT_TRUE(finest.overlap);
            EXPECT_EQ(std::make_tuple(remedy.finestDepth, remedy.finestTurn),
                      std::make_tuple(finest.overlapDepth, finest.overlapTurn));
            continue;
        }
        const int involute = remedy.involutePoints, fillet = remedy.filletPoints;
        EXPECT_NE(DataSheetJson(made, "p.dxf")
                      .find("\"overlap_remedy\": {\"verdict\": "
                            "\"more-points\", \"fillet_points\": " +
                            std::to_string(fillet) +
                            ", \"involute_points\": " + std::to_string(involute) + "}"),
                  std::string::npos);
        EXPECT_EQ(remedy.moreInvolutePoints, row.moreInvolute);
        EXPECT_EQ(involute > 6, row.moreInvolute);
        EXPECT_FALSE(BuiltPair(row.call, involute, fillet).Check().overlap) << involute;
        // The fewest: the fillet count searched from the drawing's own (from one more when the
        // involute count is the drawing's), the involute count with the most fillet points.
        if (fillet > (row.moreInvolute ? 3 : 4)) {
            EXPECT_TRUE(BuiltPair(row.call, involute, fillet - 1).Check().overlap) << fillet - 1;
        }
        if (row.moreInvolute) {
            EXPECT_TRUE(BuiltPair(row.call, involute - 1, kMaxAccPer).Check().overlap);
        }
    }
}

TEST(OverlapRemedy, WarningWords) {
    struct Row {
        const char* name;
        std::optional<OverlapRemedy> remedy;  // none: not sought
        std::string ending;
    };
    const Row rows[] = {
        {"21: the singular", OverlapRemedy{Verdict::MorePoints, 21, 6, false},
         "перекрытия нет при 21 точке переходной кривой."},
        {"11: the plural", OverlapRemedy{Verdict::MorePoints, 11, 6, false},
         "Причина — хорды между редкими точками: перекрытия нет при 11 точках переходной "
         "кривой."},
        {"involute points too", OverlapRemedy{Verdict::MorePoints, 50, 31, true},
         "перекрытия нет при 50 точках переходной кривой и 31 точке эвольвенты."},
        {"in the geometry", OverlapRemedy{Verdict::InGeometry, 0, 0, false, 0.00215, 20.7529},
         "°. Перекрытие — в самой геометрии зубьев: его не устраняет никакое допустимое число "
         "точек; при 50 точках переходной кривой и 100 точках эвольвенты остаётся 0.0022 мм при "
         "повороте колеса 1 на 20.753°."},
        {"not sought: the warning ends with the overlap's turn", std::nullopt,
         "при повороте колеса 1 на 0.000°."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MeshClearance overlapping;
        overlapping.overlap = true;
        DataSheet sheet;
        sheet.pair = true;
        sheet.mesh.mesh = overlapping;
        sheet.mesh.remedy = row.remedy;
        sheet.warnings = {{SheetWarningKind::Overlap, -1, -1}};
        const std::vector<std::string> lines = WarningLines(sheet);
        ASSERT_EQ(lines.size(), 1u);
        ASSERT_GE(lines[0].size(), row.ending.size());
        EXPECT_EQ(lines[0].substr(lines[0].size() - row.ending.size()), row.ending);
    }
}

// A wheel's outline handed to a band point by point, as the reader hands it over, with the
// band planned from the outline's own sizes.
MeshBandGuess GuessOf(const MeshWheel& w) {
    MeshBandGuess g{w.centre, w.teeth, w.internal, (w.outline->size() - 1) / w.teeth, HUGE_VAL};
    for (std::size_t i = 0; i + 1 < w.outline->size(); ++i) {
        const PointXY p = (*w.outline)[i], q = (*w.outline)[i + 1];
        g.rMin = std::min(g.rMin, std::hypot(p.X - w.centre.X, p.Y - w.centre.Y));
        g.rMax = std::max(g.rMax, std::hypot(p.X - w.centre.X, p.Y - w.centre.Y));
        g.longestSegment = std::max(g.longestSegment, std::hypot(q.X - p.X, q.Y - p.Y));
    }
    return g;
}

MeshBand BandOf(const MeshWheel& w, const MeshBandPlan& plan,
                const PlacedOutline* drawnAs = nullptr) {
    MeshBandMaker maker(plan);
    if (drawnAs != nullptr) {
        maker.DrawnAs(*drawnAs);
    }
    for (const PointXY& p : *w.outline) {
        maker.Add(p);
    }
    return maker.Finish();
}

// The check on bands reads as the check on the whole outlines, to the bit: bands of a file read
// (told nothing), and bands told the outlines the points were drawn from, which keep the teeth
// that agree with them as turns of one tooth.
TEST(MeshBand, SameAnswersAsTheWholeOutlines) {
    struct Row {
        const char* name;
        BuilderCall call;
        double move;       // wheel 2 moved along the centre line, mm
        bool fewerPoints;  // the bands keep fewer points than the outlines
        double lift = 0;   // the first point of every other tooth of wheel 1 moved out, mm
        int involute = 12, fillet = 6;  // points of each flank's members
    };
    const Row rows[] = {
        {"external 20 / 40", Call(false, 20, 40), 0, true},
        {"internal, ring typed first", Call(true, 60, 24), 0, true},
        {"near-equal internal 57 / 60", Call(true, 57, 60, 0, 0.5), 0, false},
        {"helical 18 / 35", testing::ExternalCall(18, 35, 2, 15, 20, 0, 0, 0), 0, true},
        {"overlapping pair", Call(false, 20, 40), -0.2, true},
        {"wheels apart", Call(false, 20, 40), 3, true},
        // Teeth held as their points between teeth kept as turns, each ending on a moved point.
        {"spaces edited into the mate", Call(false, 20, 40), 0, true, 0.6},
        // Overlaps whose shared area Boost.Geometry finds a little otherwise where the teeth
        // whose material is intersected are picked by their stretches' circles turned from one
        // tooth rather than bound from each tooth's points.
        {"overlapping internal 35 / 46", Call(true, 35, 46, -0.24, 0.09), 0, true, 0, 10, 3},
        {"overlapping external 26 / 39", Call(false, 26, 39, 0.17, -0.02), 0, true, 0, 8, 6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BuiltPair pair(row.call, row.involute, row.fillet, row.move);
        ASSERT_TRUE(pair.ok);
        const std::size_t perTooth = (pair.a.size() - 1) / static_cast<std::size_t>(pair.w1.teeth);
        for (std::size_t i = 0; row.lift > 0 && i + 1 < pair.a.size(); i += 2 * perTooth) {
            PointXY& p = pair.a[i];
            const double r = std::hypot(p.X - pair.w1.centre.X, p.Y - pair.w1.centre.Y);
            p.X += (p.X - pair.w1.centre.X) * row.lift / r;
            p.Y += (p.Y - pair.w1.centre.Y) * row.lift / r;
        }
        pair.a.back() = pair.a.front();
        const MeshClearance whole = pair.Check();
        const MeshBandPlans plans =
            PlanMeshBands(GuessOf(pair.w1), GuessOf(pair.w2), kMeshStepsPerPitch);
        for (const bool told : {false, true}) {
            SCOPED_TRACE(told ? "told the outlines drawn" : "told nothing");
            const MeshBand band1 = BandOf(pair.w1, plans.wheel1, told ? &pair.drawn1 : nullptr);
            const MeshBand band2 = BandOf(pair.w2, plans.wheel2, told ? &pair.drawn2 : nullptr);
            // Told the outlines, the bands of the wheels as drawn keep every tooth as a turn.
            EXPECT_EQ(band1.PointsHeld() == 0, told && row.lift == 0);
            EXPECT_EQ(band2.PointsHeld() == 0, told && row.move == 0);
            MeshWheel b1 = pair.w1, b2 = pair.w2;
            b1.outline = b2.outline = nullptr;
            b1.band = &band1;
            b2.band = &band2;
            const std::optional<MeshCheckResult> banded = CheckMeshOnBands(b1, b2);
            ASSERT_TRUE(banded && banded->ok());
            // Every figure to the bit.
            const auto figures = [](const MeshClearance& c) {
                return std::make_tuple(c.positions, c.stepDegrees, c.drawnClearance, c.minClearance,
                                       c.minClearanceTurn, c.overlap, c.overlapDepth, c.overlapArea,
                                       c.overlapTurn);
            };
            EXPECT_EQ(figures(banded->value()), figures(whole));
            const std::size_t kept = band1.kept.size() * (band1.plan.perTooth + 1) +
                                     band2.kept.size() * (band2.plan.perTooth + 1);
            EXPECT_EQ(kept < pair.a.size() + pair.b.size(), row.fewerPoints);
        }
    }
}

// A band told the outline its points were written from keeps a tooth as offsets from that
// outline only where every point lies within a byte of units in the last place; the points it
// gives back are the points it was handed, to the bit, whichever way it kept them.
TEST(MeshBand, KeepsTeethAsOffsetsFromTheOutlineDrawnAndGivesBackThePointsRead) {
    MainMod state = testing::Rack20State(12, 6);
    const ExternalPairResult built = ComputeExternalPair(state, Call(false, 20, 40));
    ASSERT_TRUE(built.ok());
    const PlacedOutline& drawn = built->wheel1;
    const PlacedOutline other(19, std::vector<PointXY>(drawn.ToothPoints() / 2, PointXY{}), false);
    auto written = [](std::vector<PointXY> points) {
        for (PointXY& p : points) {
            char text[kDxfNumberMaxLength];
            WriteDxfNumber(text, p.X, p.X);
            WriteDxfNumber(text, p.Y, p.Y);
        }
        return points;
    };
    struct Row {
        const char* name;
        std::vector<PointXY> points;  // as handed to the band
        const PlacedOutline* drawnAs;
        std::size_t whole;  // teeth held as their points, the others as offsets
    };
    // A point of tooth 1 moved by some units in the last place, as a drawing edited by hand.
    auto moved = [&](std::int64_t units) {
        std::vector<PointXY> points = written(drawn.Points());
        double& x = points[drawn.ToothPoints() + 3].X;
        std::int64_t bits = 0;
        std::memcpy(&bits, &x, sizeof bits);
        bits += units;
        std::memcpy(&x, &bits, sizeof x);
        return points;
    };
    const Row rows[] = {
        {"as computed", drawn.Points(), &drawn, 0},
        {"as written", written(drawn.Points()), &drawn, 0},
        {"a point moved by 100 units in the last place", moved(100), &drawn, 0},
        {"a point moved by 200 units in the last place", moved(200), &drawn, 1},
        {"a point moved by some micrometres", moved(1LL << 40), &drawn, 1},
        {"told another outline", written(drawn.Points()), &other, 20},
        {"told nothing (a file read)", written(drawn.Points()), nullptr, 20},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MeshBandPlan plan;
        plan.teeth = drawn.Teeth();
        plan.perTooth = drawn.ToothPoints();
        plan.distance = 60;
        plan.sweep = 0.3;
        plan.lo = -1;
        plan.hi = 1e9;  // keep every tooth
        MeshBandMaker maker(plan);
        if (row.drawnAs != nullptr) {
            maker.DrawnAs(*row.drawnAs);
        }
        for (const PointXY& p : row.points) {
            maker.Add(p);
        }
        const MeshBand band = maker.Finish();
        ASSERT_TRUE(band.Complete());
        ASSERT_EQ(band.kept.size(), static_cast<std::size_t>(plan.teeth));
        EXPECT_EQ(band.PointsHeld(), row.whole * (plan.perTooth + 1));
        EXPECT_EQ(band.OffsetsHeld(), (band.kept.size() - row.whole) * 2 * plan.perTooth);
        for (std::size_t t = 0; t < band.kept.size(); ++t) {
            for (std::size_t j = 0; j <= plan.perTooth; ++j) {
                const PointXY want = row.points[(t * plan.perTooth + j) % (row.points.size() - 1)];
                const PointXY got = band.Point(t, j);
                ASSERT_TRUE(std::memcmp(&want, &got, sizeof got) == 0)
                    << "tooth " << t << " point " << j;
            }
        }
    }
}

TEST(MeshBand, TooNarrowIsToldNotAnswered) {
    const BuiltPair pair(Call(false, 20, 40), 12, 6);
    MeshBandPlans plans = PlanMeshBands(GuessOf(pair.w1), GuessOf(pair.w2), kMeshStepsPerPitch);
    struct Row {
        const char* name;
        double hi1;         // wheel 1 keeps the teeth within this of wheel 2's centre
        std::size_t extra;  // points added to wheel 2's outline beyond its plan
    };
    const Row rows[] = {
        {"no tooth of wheel 1 kept", -1, 0},
        // Teeth kept, but not all the check reaches for: no answer from the few.
        {"wheel 1 keeps only the teeth deepest in the mate",
         (plans.wheel1.lo + plans.wheel1.hi) / 2, 0},
        {"wheel 2 not as planned", plans.wheel1.hi, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        plans.wheel1.hi = row.hi1;
        std::vector<PointXY> longer = pair.b;
        longer.insert(longer.end(), row.extra, longer.back());
        MeshWheel longer2 = pair.w2;
        longer2.outline = &longer;
        const MeshBand band1 = BandOf(pair.w1, plans.wheel1), band2 = BandOf(longer2, plans.wheel2);
        MeshWheel b1 = pair.w1, b2 = pair.w2;
        b1.band = &band1;
        b2.band = &band2;
        EXPECT_FALSE(CheckMeshOnBands(b1, b2).has_value());
    }
}

// Outlines Tarvo did not write: a drawing edited by hand or made by another program can hold
// outlines shuffled or scattered as no gear is. The check says in Russian that it gave up rather
// than work through every crossing; the closing point is made to repeat the first again.
enum class Spoil { Shuffled, Cloud, ShuffledOddCount };

std::vector<PointXY> Spoiled(std::vector<PointXY> points, Spoil how) {
    std::mt19937 random(25);
    points.pop_back();
    if (how == Spoil::Cloud) {
        double rMax = 0;
        for (const PointXY& p : points) {
            rMax = std::max(rMax, std::hypot(p.X, p.Y));
        }
        std::uniform_real_distribution<double> coordinate(-rMax, rMax);
        for (PointXY& p : points) {
            p = {coordinate(random), coordinate(random)};
        }
    } else {
        std::shuffle(points.begin(), points.end(), random);
    }
    if (how == Spoil::ShuffledOddCount) {
        points.push_back(points.front());  // no longer z equal teeth
    }
    points.push_back(points.front());
    return points;
}

const std::string kGaveUp = "проверка прервана: ";

TEST(MeshCheckHostile, GivesUpOnTanglesInRussian) {
    struct Row {
        const char* name;
        BuilderCall call;
        Spoil how;
        bool both;  // both wheels spoiled, else the second only
    };
    const Row rows[] = {
        {"external 20 / 40, the mate shuffled", Call(false, 20, 40), Spoil::Shuffled, false},
        {"external 30 / 30, shuffled off the tooth count", Call(false, 30, 30),
         Spoil::ShuffledOddCount, true},
        {"internal 300 in 290, the ring shuffled", Call(true, 300, 290), Spoil::Shuffled, true},
        {"internal 120 in 110, both scattered", Call(true, 120, 110), Spoil::Cloud, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BuiltPair pair(row.call, 20, 10);
        ASSERT_TRUE(pair.ok);
        const std::vector<PointXY> second = Spoiled(*pair.w2.outline, row.how);
        const std::vector<PointXY> first =
            row.both ? Spoiled(*pair.w1.outline, row.how) : *pair.w1.outline;
        MeshWheel w1 = pair.w1, w2 = pair.w2;
        w1.outline = &first;
        w2.outline = &second;
        // Each of these crosses itself and the mate hundreds of times: a tangle, not a gear.
        const MeshCheckResult r = CheckMesh(w1, w2);
        ASSERT_FALSE(r.ok()) << r->minClearance;
        EXPECT_EQ(r.fault().rfind(kGaveUp, 0), 0u) << r.fault();
        // Whatever the check makes of them, the quick question answers too.
        const OverlapFound found = MeshOverlaps(w1, w2, 0);
        EXPECT_TRUE(!found.overlap || std::isfinite(found.turn));
    }
}

// The bound itself: a true pair under a budget far too small gives up, and the quick question
// then counts it as an overlap where it was asked to look first.
TEST(MeshCheckHostile, GivesUpPastItsBudget) {
    const BuiltPair pair(Call(true, 40, 20), 20, 10);
    const MeshLimits tiny{1000, 1};
    const MeshCheckResult r = CheckMesh(pair.w1, pair.w2, kMeshStepsPerPitch, tiny);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.fault().rfind(kGaveUp, 0), 0u) << r.fault();
    const OverlapFound found = MeshOverlaps(pair.w1, pair.w2, 3.5, kMeshStepsPerPitch, tiny);
    EXPECT_TRUE(found.overlap);
    EXPECT_EQ(found.turn, 3.5);
    // With the usual budget the same pair is checked.
    EXPECT_TRUE(CheckMesh(pair.w1, pair.w2).ok());
}

// The data sheet of a drawing file, read while streaming and keeping of each outline only the
// bands the mesh check needs, reads as the sheet of the same file read whole: for the drawings
// the builders write, and for files edited so they are not the drawing expected.
TEST(StreamedSheet, ReadsAsTheWholeDrawing) {
    using testing::ExternalPair;
    using testing::InternalPair;
    const std::string mark1 = "10\r\n0\r\n20\r\n-1\r\n11\r\n0\r\n";
    const std::string lastVertexEnd = "\r\n0\r\nSEQEND\r\n";
    struct Row {
        const char* name;
        BuilderCall call;
        bool cutFillet;
        std::string from, to;  // an edit made to the file written
    };
    const Row rows[] = {
        {"external, rack-cut root", ExternalPair(12, 30, 2).Shifts(0.3, 0), true, "", ""},
        {"helical, backlash", ExternalPair(18, 35, 2).Helix(15).Backlash(0.1), false, "", ""},
        {"internal 24 / 60", InternalPair(24, 60, 2), false, "", ""},
        {"near-equal internal", InternalPair(57, 60, 2).Shifts(0, 0.5), false, "", ""},
        {"spline hub", testing::SplineMember(20, 2, true), false, "", ""},
        {"a centre mark moved", ExternalPair(20, 40, 2), false, mark1,
         "10\r\n0.001\r\n20\r\n-1\r\n11\r\n0.001\r\n"},
        {"an outline a point longer", ExternalPair(20, 40, 2), false, lastVertexEnd,
         "\r\n0\r\nVERTEX\r\n8\r\nLAYER1VIEW0\r\n10\r\n1\r\n20\r\n1" + lastVertexEnd},
        {"an outline cut", ExternalPair(20, 40, 2), false, "0\r\nSEQEND\r\n", ""},
    };
    const testing::TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMod state = row.call.kind == BuilderCall::Kind::Spline
                            ? testing::SplineState(SplineStandard::Gost6033, row.call.m)
                            : testing::Rack20State(12, 6);
        state.CutFillet = row.cutFillet;
        state.OutFile = folder.File("pair.dxf");
        ASSERT_TRUE(RunBuilder(state, row.call).ok());
        std::string text = testing::ReadFile(state.OutFile);
        const std::size_t at = row.from.empty() ? std::string::npos : text.find(row.from);
        if (at != std::string::npos) {
            text.replace(at, row.from.size(), row.to);
        }
        testing::WriteFile(state.OutFile, text);
        const DxfReadResult whole = ReadDxfFile(state.OutFile);
        const DataSheetResult expected = whole.ok()
                                             ? MakeDataSheet(state, row.call, whole.value())
                                             : DataSheetResult::Failure("чертёж не прочитан");
        const DataSheetResult streamed = DataSheetOfFile(state, row.call, state.OutFile);
        EXPECT_EQ(streamed.ok(), expected.ok());
        if (streamed.ok()) {
            EXPECT_EQ(DataSheetText(streamed), DataSheetText(expected));
        } else {
            EXPECT_EQ(streamed.fault().rfind(expected.fault(), 0), 0u) << streamed.fault();
        }
    }
}

}  // namespace
}  // namespace tarvo
