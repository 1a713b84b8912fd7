// The mesh check on drawn outlines: clearances and overlaps against whole wheels turned the slow
// way, an outline that is not there reported rather than measured; and what clears an overlap:
// the counts named are rebuilt and checked over the whole pitch (they must clear it, one point
// fewer must not), and the warning's words for each verdict.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "app/basic_rack.h"
#include "app/page_command.h"
#include "builder_calls.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "math/constants.h"
#include "polygon_checks.h"
#include "profile/gear_outline.h"
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
struct BuiltPair {
    BuiltPair(const BuilderCall& call, int involute, int fillet, double move = 0) {
        MainMod state = testing::Rack20State(involute, fillet);
        if (call.kind == BuilderCall::Kind::ExternalPair) {
            const ExternalPairResult built = ComputeExternalPair(state, call);
            ok = built.ok();
            const ExternalPairGeometry g = ok ? built.value() : ExternalPairGeometry{};
            std::tie(a, b) = std::make_pair(g.wheel1.Points(), g.wheel2.Points());
            w1 = {&a, {0, 0}, call.Z1, false};
            w2 = {&b, {g.aw + move, 0}, call.Z2, false};
        } else {
            const InternalPairResult built = ComputeInternalPair(state, call);
            ok = built.ok();
            const InternalPairGeometry g = ok ? built.value() : InternalPairGeometry{};
            std::tie(a, b) = std::make_pair(g.ring.Points(), g.pinion.Points());
            const MeshWheel ring{&a, {0, 0}, g.zr, true}, pinion{&b, {g.aw + move, 0}, g.zp, false};
            std::tie(w1, w2) = call.Z1 < call.Z2 ? std::tie(pinion, ring) : std::tie(ring, pinion);
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

    bool ok = false;
    std::vector<PointXY> a, b;
    MeshWheel w1, w2;
};

TEST(MeshCheck, ClearanceAndOverlap) {
    // A backlash jn leaves jn / 2 on each flank; wheel 2 moved by 0.2 mm opens or closes them by
    // 0.2 sin 20°.
    const double moved = 0.2 * std::sin(20 * kPi / 180);
    struct Row {
        const char* name;
        int z1, z2;
        double jn, move;  // wheel 2 moved along the centre line
        bool overlap;
        double least, most;  // the clearance drawn and over the pitch, or the depth
    };
    const Row rows[] = {
        {"20 / 40, jn 0.1", 20, 40, 0.1, 0, false, 0.05 - 2e-3, 0.05 + 2e-3},
        {"17 / 23, jn 0.2", 17, 23, 0.2, 0, false, 0.1 - 2e-3, 0.1 + 2e-3},
        {"no backlash: flanks that touch do not overlap", 20, 40, 0, 0, false, 0, 2e-3},
        {"0.2 mm apart", 20, 40, 0, 0.2, false, moved - 0.01, moved + 0.01},
        {"0.2 mm together", 20, 40, 0, -0.2, true, moved - 0.02, moved + 0.02},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BuiltPair pair(Call(false, row.z1, row.z2, 0, 0, row.jn), 100, 50, row.move);
        const MeshClearance r = pair.Check();
        EXPECT_EQ(r.overlap, row.overlap);
        EXPECT_LE(r.minClearance, r.drawnClearance);
        const double measure = row.overlap ? r.overlapDepth : r.drawnClearance;
        EXPECT_TRUE(measure >= row.least && measure <= row.most) << measure;
        // Over the pitch: no clearance where they overlap, else no less than the least drawn.
        EXPECT_TRUE(row.overlap ? r.minClearance == 0 && r.overlapArea > 0
                                : r.minClearance >= row.least)
            << r.minClearance;
    }
}

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

TEST(MeshCheck, AgreesWithWholeWheelsInEveryPosition) {
    // Ten positions a pitch; points few enough for the whole wheels to be measured quickly.
    struct Row {
        const char* name;
        BuilderCall call;
        int involute, fillet;
    };
    const Row rows[] = {
        {"external 13 / 71, jn 0.3", Call(false, 13, 71, 0, 0, 0.3), 20, 10},
        {"external 20 / 40 at the default counts: fillet chords", Call(false, 20, 40), 6, 3},
        {"external 12 / 20, x2 -0.5: tips overlap", Call(false, 12, 20, 0, -0.5), 12, 6},
        {"internal 18 in 45, jn 0.25", Call(true, 18, 45, 0, 0, 0.25), 20, 10},
        {"internal ring first, shifted, default counts", Call(true, 40, 20, 0.5, 0.2), 6, 3},
        // Flanks that touch in every position: told from an overlap without intersecting.
        {"internal 40 in 20, no backlash", Call(true, 40, 20), 30, 15},
        {"external 20 / 40, no backlash", Call(false, 20, 40), 30, 15},
        {"internal 30 in 42, no backlash, shifted", Call(true, 30, 42, 0.2, 0.2), 24, 12},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BuiltPair pair(row.call, row.involute, row.fillet);
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

// A wheel of a built pair turned by `angle` about its centre, and three of its teeth at the mesh
// as one run of outline: towards the mate's centre, or away from it inside a ring.
struct TurnedWheel {
    TurnedWheel(const MeshWheel& wheel, double angle, const MeshWheel& mate, double closeRadius) {
        const std::vector<PointXY>& outline = *wheel.outline;
        double area = 0, rMin = HUGE_VAL;
        for (std::size_t i = 0; i < outline.size(); ++i) {
            const double x = outline[i].X - wheel.centre.X, y = outline[i].Y - wheel.centre.Y;
            whole.push_back({wheel.centre.X + x * std::cos(angle) - y * std::sin(angle),
                             wheel.centre.Y + x * std::sin(angle) + y * std::cos(angle)});
            rMin = std::min(rMin, std::hypot(x, y));
            if (i > 0) {
                area += (whole[i - 1].X * whole[i].Y - whole[i].X * whole[i - 1].Y) / 2;
            }
        }
        const std::size_t perTooth = (outline.size() - 1) / static_cast<std::size_t>(wheel.teeth);
        const double away = mate.internal ? kPi : 0;
        const double towards =
            std::atan2(mate.centre.Y - wheel.centre.Y, mate.centre.X - wheel.centre.X) + away;
        std::size_t nearest = 0;
        double least = HUGE_VAL;
        for (int t = 0; t < wheel.teeth; ++t) {
            const PointXY& mid = whole[t * perTooth + perTooth / 2];
            const double off = std::remainder(
                std::atan2(mid.Y - wheel.centre.Y, mid.X - wheel.centre.X) - towards, 2 * kPi);
            if (std::fabs(off) < least) {
                least = std::fabs(off);
                nearest = static_cast<std::size_t>(t);
            }
        }
        const std::size_t z = static_cast<std::size_t>(wheel.teeth);
        for (std::size_t k = 0; k < 3; ++k) {
            const std::size_t first = ((nearest + z - 1 + k) % z) * perTooth;
            for (std::size_t i = k == 0 ? 0 : 1; i <= perTooth; ++i) {
                run.points.push_back(whole[first + i]);
            }
        }
        run.centre = wheel.centre;
        run.internal = wheel.internal;
        run.materialLeft = (area > 0) != wheel.internal;
        run.closeRadius = wheel.internal ? closeRadius : rMin / 2;
    }
    std::vector<PointXY> whole;
    TouchRun run;
};

// The teeth at the mesh said to only touch share no material deeper than the depth asked, by
// Boost's intersection of the whole wheels; where they touch the test says so, and where they
// overlap it does not.
TEST(TouchDepth, OnlyTouchingTeethPassAndTheyShareNothingDeeper) {
    constexpr double kDepth = 0.0008;
    enum class Expect { Touching, Overlapping, Either };
    struct Row {
        const char* name;
        BuilderCall call;
        int involute, fillet;
        double move;  // wheel 2 along the centre line, mm
        Expect expect;
    };
    const Row rows[] = {
        {"external 20 / 40, no backlash", Call(false, 20, 40), 40, 20, 0, Expect::Touching},
        {"internal 40 in 20, no backlash", Call(true, 40, 20), 40, 20, 0, Expect::Touching},
        {"internal 30 in 42, shifted: the tips interfere", Call(true, 30, 42, 0.2, 0.2), 30, 15, 0,
         Expect::Either},
        {"external 17 / 23, jn 0.2: apart", Call(false, 17, 23, 0, 0, 0.2), 30, 15, 0,
         Expect::Touching},
        {"external 20 / 40, 0.2 mm together", Call(false, 20, 40), 30, 15, -0.2,
         Expect::Overlapping},
        {"external 12 / 20, x2 -0.5: tips overlap", Call(false, 12, 20, 0, -0.5), 30, 15, 0,
         Expect::Either},
        {"internal 40 in 20, pinion 0.1 mm into the ring", Call(true, 40, 20), 30, 15, 0.1,
         Expect::Overlapping},
        {"default counts: the chords overlap", Call(false, 20, 40), 6, 3, 0, Expect::Either},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BuiltPair pair(row.call, row.involute, row.fillet, row.move);
        ASSERT_TRUE(pair.ok);
        const double ratio = static_cast<double>(pair.w1.teeth) / pair.w2.teeth;
        const bool together = pair.w1.internal || pair.w2.internal;
        const double farAway = 1e4;
        int touching = 0;
        for (int k = 0; k < 5; ++k) {
            const double angle = 2 * kPi / pair.w1.teeth * k / 5;
            SCOPED_TRACE(k);
            const TurnedWheel one(pair.w1, angle, pair.w2, farAway);
            const TurnedWheel two(pair.w2, (together ? ratio : -ratio) * angle, pair.w1, farAway);
            const double depth =
                testing::MaterialShared(one.whole, pair.w1.internal, two.whole, pair.w2.internal)
                    .depth;
            const bool shallow = TouchShallowerThan(one.run, two.run, kDepth);
            if (shallow) {
                ++touching;
                EXPECT_LE(depth, kDepth + 1e-9);
            }
            // Either way round the answer is the same.
            EXPECT_EQ(TouchShallowerThan(two.run, one.run, kDepth), shallow);
            if (row.expect == Expect::Overlapping) {
                EXPECT_GT(depth, kDepth);
            }
        }
        if (row.expect == Expect::Touching) {
            EXPECT_EQ(touching, 5);
        } else if (row.expect == Expect::Overlapping) {
            EXPECT_EQ(touching, 0);
        }
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
        {"external 13 / 11, x2 0.6: fillet chords", Call(false, 13, 11, 0, 0.6),
         Verdict::MorePoints, false},
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
        {"fillet points", OverlapRemedy{Verdict::MorePoints, 27, 6, false},
         "Причина — хорды между редкими точками: перекрытия нет при 27 точках переходной "
         "кривой."},
        {"21: the singular", OverlapRemedy{Verdict::MorePoints, 21, 6, false},
         "перекрытия нет при 21 точке переходной кривой."},
        {"11: the plural", OverlapRemedy{Verdict::MorePoints, 11, 6, false},
         "перекрытия нет при 11 точках переходной кривой."},
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

MeshBand BandOf(const MeshWheel& w, const MeshBandPlan& plan) {
    MeshBandMaker maker(plan);
    for (const PointXY& p : *w.outline) {
        maker.Add(p);
    }
    return maker.Finish();
}

TEST(MeshBand, SameAnswersAsTheWholeOutlines) {
    struct Row {
        const char* name;
        BuilderCall call;
        double move;       // wheel 2 moved along the centre line, mm
        bool fewerPoints;  // the bands keep fewer points than the outlines
    };
    const Row rows[] = {
        {"external 20 / 40", Call(false, 20, 40), 0, true},
        {"external 61 / 59, jn 0.1", Call(false, 61, 59, 0.2, -0.1, 0.1), 0, true},
        {"internal 24 / 60", Call(true, 24, 60), 0, true},
        {"internal, ring typed first", Call(true, 60, 24), 0, true},
        {"near-equal internal 57 / 60", Call(true, 57, 60, 0, 0.5), 0, false},
        {"helical 18 / 35", testing::ExternalCall(18, 35, 2, 15, 20, 0, 0, 0), 0, true},
        {"large backlash", Call(false, 20, 40, 0, 0, 1.5), 0, true},
        {"overlapping pair", Call(false, 20, 40), -0.2, true},
        {"wheels apart", Call(false, 20, 40), 3, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BuiltPair pair(row.call, 12, 6, row.move);
        ASSERT_TRUE(pair.ok);
        const MeshBandPlans plans =
            PlanMeshBands(GuessOf(pair.w1), GuessOf(pair.w2), kMeshStepsPerPitch);
        const MeshBand band1 = BandOf(pair.w1, plans.wheel1), band2 = BandOf(pair.w2, plans.wheel2);
        MeshWheel b1 = pair.w1, b2 = pair.w2;
        b1.outline = b2.outline = nullptr;
        b1.band = &band1;
        b2.band = &band2;
        const MeshClearance whole = pair.Check();
        const std::optional<MeshCheckResult> banded = CheckMeshOnBands(b1, b2);
        ASSERT_TRUE(banded && banded->ok());
        const MeshClearance& r = banded->value();
        EXPECT_EQ(r.positions, whole.positions);
        EXPECT_EQ(r.stepDegrees, whole.stepDegrees);
        EXPECT_EQ(r.drawnClearance, whole.drawnClearance);
        EXPECT_EQ(r.minClearance, whole.minClearance);
        EXPECT_EQ(r.minClearanceTurn, whole.minClearanceTurn);
        EXPECT_EQ(r.overlap, whole.overlap);
        EXPECT_EQ(r.overlapDepth, whole.overlapDepth);
        EXPECT_EQ(r.overlapArea, whole.overlapArea);
        EXPECT_EQ(r.overlapTurn, whole.overlapTurn);
        const std::size_t kept = band1.kept.size() * (band1.plan.perTooth + 1) +
                                 band2.kept.size() * (band2.plan.perTooth + 1);
        EXPECT_EQ(kept < pair.a.size() + pair.b.size(), row.fewerPoints);
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

}  // namespace
}  // namespace tarvo
