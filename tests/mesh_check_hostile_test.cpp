// The mesh check on outlines Tarvo did not write: a drawing edited by hand or made by another
// program can hold outlines shuffled, spiked or scattered as no gear is. The check says in
// Russian that it gave up rather than work through every crossing, through the data sheet of the
// file as well; a budget too small for a true pair shows the giving up itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "builder_calls.h"
#include "drawing/dxf_writer.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "profile/gear_outline.h"
#include "report/data_sheet.h"
#include "report/mesh_check.h"
#include "report/sheet_text.h"
#include "test_files.h"

namespace tarvo {
namespace {

const std::string kGaveUp = "проверка прервана: ";

// The outlines of a pair as the builders make them, ring about the origin for internal teeth.
struct Outlines {
    std::vector<PointXY> first, second;
    PointXY centre2;
    bool internal = false;
};

Outlines Build(bool internal, int z1, int z2, int involute, int fillet) {
    const MainMod state = testing::Rack20State(involute, fillet);
    Outlines o;
    o.internal = internal;
    if (!internal) {
        const ExternalPairResult g =
            ComputeExternalPair(state, testing::ExternalCall(z1, z2, 1, 0, 20, 0, 0, 0));
        EXPECT_TRUE(g.ok());
        if (g.ok()) {
            o = {g->wheel1.Points(), g->wheel2.Points(), {g->aw, 0}, false};
        }
        return o;
    }
    const InternalPairResult g =
        ComputeInternalPair(state, testing::InternalCall(z1, z2, 1, 0, 20, 0, 0, 0));
    EXPECT_TRUE(g.ok());
    if (g.ok()) {
        o = {g->ring.Points(), g->pinion.Points(), {g->aw, 0}, true};
    }
    return o;
}

// Ways to spoil an outline; the closing point is made to repeat the first again.
enum class Spoil { Shuffled, Spiked, Cloud, ShuffledOddCount };

std::vector<PointXY> Spoiled(std::vector<PointXY> points, Spoil how) {
    std::mt19937 random(25);
    points.pop_back();
    switch (how) {
        case Spoil::Shuffled:
            std::shuffle(points.begin(), points.end(), random);
            break;
        case Spoil::ShuffledOddCount:
            std::shuffle(points.begin(), points.end(), random);
            points.push_back(points.front());  // no longer z equal teeth
            break;
        case Spoil::Spiked:
            for (std::size_t i = 0; i < points.size(); i += 2) {
                const double r = std::hypot(points[i].X, points[i].Y);
                const double out = (i % 4 == 0 ? 1.5 : 0.5) * r / std::max(r, 1e-9);
                points[i] = {points[i].X * out, points[i].Y * out};
            }
            break;
        case Spoil::Cloud: {
            double rMax = 0;
            for (const PointXY& p : points) {
                rMax = std::max(rMax, std::hypot(p.X, p.Y));
            }
            std::uniform_real_distribution<double> coordinate(-rMax, rMax);
            for (PointXY& p : points) {
                p = {coordinate(random), coordinate(random)};
            }
            break;
        }
    }
    points.push_back(points.front());
    return points;
}

struct Row {
    const char* name;
    bool internal;
    int z1, z2, involute, fillet;
    Spoil how;
    bool both;  // both wheels spoiled, else the second only
};

const Row kRows[] = {
    {"external 20 / 40, the mate shuffled", false, 20, 40, 20, 10, Spoil::Shuffled, false},
    {"external 20 / 40, both scattered", false, 20, 40, 20, 10, Spoil::Cloud, true},
    {"external 60 / 61, the mate spiked", false, 60, 61, 30, 15, Spoil::Spiked, false},
    {"external 30 / 30, shuffled off the tooth count", false, 30, 30, 30, 15,
     Spoil::ShuffledOddCount, true},
    {"internal 300 in 290, the ring shuffled", true, 300, 290, 20, 10, Spoil::Shuffled, true},
    {"internal 120 in 110, both scattered", true, 120, 110, 20, 10, Spoil::Cloud, true},
};

TEST(MeshCheckHostile, GivesUpOnTanglesInRussian) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        Outlines o = Build(row.internal, row.z1, row.z2, row.involute, row.fillet);
        ASSERT_FALSE(o.first.empty());
        o.second = Spoiled(o.second, row.how);
        if (row.both) {
            o.first = Spoiled(o.first, row.how);
        }
        const int zFirst = row.internal ? std::max(row.z1, row.z2) : row.z1;
        const int zSecond = row.internal ? std::min(row.z1, row.z2) : row.z2;
        const MeshWheel w1{&o.first, {0, 0}, zFirst, row.internal};
        const MeshWheel w2{&o.second, o.centre2, zSecond, false};
        const MeshCheckResult r = CheckMesh(w1, w2);
        // Each of these crosses itself and the mate hundreds of times: a tangle, not a gear.
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
    const Outlines o = Build(true, 40, 20, 20, 10);
    const MeshWheel ring{&o.first, {0, 0}, 40, true}, pinion{&o.second, o.centre2, 20, false};
    const MeshLimits tiny{1000, 1};
    const MeshCheckResult r = CheckMesh(ring, pinion, kMeshStepsPerPitch, tiny);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.fault().rfind(kGaveUp, 0), 0u) << r.fault();
    const OverlapFound found = MeshOverlaps(ring, pinion, 3.5, kMeshStepsPerPitch, tiny);
    EXPECT_TRUE(found.overlap);
    EXPECT_EQ(found.turn, 3.5);
    // With the usual budget the same pair is checked.
    EXPECT_TRUE(CheckMesh(ring, pinion).ok());
}

// A drawing file whose mate is scattered: the sheet is made, and it says why the mesh was not
// checked or gives the check's figures; nothing hangs.
TEST(MeshCheckHostile, SheetOfAFileWithAScatteredMate) {
    const testing::TempFolder folder;
    const std::string path = folder.File("scattered.dxf");
    const BuilderCall call = testing::ExternalCall(40, 80, 1, 0, 20, 0, 0, 0);
    const MainMod state = testing::Rack20State(30, 15);
    const ExternalPairResult g = ComputeExternalPair(state, call);
    ASSERT_TRUE(g.ok());
    std::vector<PointXY> second = Spoiled(g->wheel2.Points(), Spoil::Cloud);
    for (PointXY& p : second) {
        p.X += g->aw;
    }
    const Polyline first = g->wheel1.Points();
    ASSERT_TRUE(DxfWritePolylines(path, {&first, &second}, {0, g->aw}).ok());
    const DataSheetResult sheet = DataSheetOfFile(state, call, path);
    ASSERT_TRUE(sheet.ok()) << sheet.fault();
    const std::string text = DataSheetText(sheet);
    if (!sheet->mesh.mesh.ok()) {
        EXPECT_NE(text.find("Зацепление по чертежу не проверено: " + kGaveUp), std::string::npos)
            << text;
    } else {
        EXPECT_NE(text.find("Наименьший зазор за шаг"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace tarvo
