// What clears an overlap of the drawn outlines: the counts named are rebuilt and checked over
// the whole pitch (they must clear it, one point fewer must not), the default drawing's warning
// names such a count, and the warning's words for each verdict.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/basic_rack.h"
#include "builder_calls.h"
#include "app/page_command.h"
#include "drawing/external_pair.h"
#include "drawing/internal_pair.h"
#include "drawing/turn.h"
#include "report/data_sheet.h"
#include "report/overlap_remedy.h"
#include "report/sheet_text.h"
#include "test_files.h"

namespace tarvo {
namespace {

using Verdict = OverlapRemedy::Verdict;

BuilderCall Pair(bool internal, int z1, int z2, double x2 = 0) {
    BuilderCall call;
    call.kind = internal ? BuilderCall::Kind::InternalPair : BuilderCall::Kind::ExternalPair;
    call.Z1 = z1;
    call.Z2 = z2;
    call.m = 2;
    call.alpha = 20;
    call.x2 = x2;
    return call;
}

MainMod State(int involute, int fillet) { return testing::Rack20State(involute, fillet); }

// The pair built at these counts and checked through the whole pitch, as the sheet checks it.
MeshCheckResult Checked(const BuilderCall& call, int involute, int fillet) {
    MainMod state = State(involute, fillet);
    if (call.kind == BuilderCall::Kind::ExternalPair) {
        const ExternalPairGeometry g = ComputeExternalPair(state, call);
        const std::vector<PointXY> a = OutlinePoints(g.wheel1), b = OutlinePoints(g.wheel2);
        return CheckMesh({&a, {0, 0}, call.Z1, false}, {&b, {g.aw, 0}, call.Z2, false});
    }
    const InternalPairGeometry g = ComputeInternalPair(state, call);
    const std::vector<PointXY> ring = OutlinePoints(g.ring), pinion = OutlinePoints(g.pinion);
    const MeshWheel r{&ring, {0, 0}, g.zr, true}, p{&pinion, {g.aw, 0}, g.zp, false};
    return call.Z1 < call.Z2 ? CheckMesh(p, r) : CheckMesh(r, p);
}

TEST(OverlapRemedy, NamedCountsClearItAndOneFewerDoesNot) {
    struct Row {
        const char* name;
        BuilderCall call;
        Verdict verdict;
        bool moreInvolutePoints;  // with MorePoints
    };
    const Row rows[] = {
        {"external 20 / 40: fillet chords", Pair(false, 20, 40), Verdict::MorePoints, false},
        {"external 13 / 11, x2 0.6: fillet chords", Pair(false, 13, 11, 0.6), Verdict::MorePoints,
         false},
        {"internal 20 in 60: the ring's involute chords", Pair(true, 20, 60), Verdict::MorePoints,
         true},
        {"external 12 / 20, x2 -0.5: the tips themselves", Pair(false, 12, 20, -0.5),
         Verdict::InGeometry, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const MeshCheckResult drawn = Checked(row.call, 6, 3);
        ASSERT_TRUE(drawn.overlap);
        const OverlapRemedy remedy = FindOverlapRemedy(State(6, 3), row.call, drawn);
        ASSERT_EQ(remedy.verdict, row.verdict);
        if (row.verdict == Verdict::InGeometry) {
            const MeshCheckResult finest =
                Checked(row.call, kMaxAccEv, kMaxAccPer);
            EXPECT_TRUE(finest.overlap);
            EXPECT_EQ(remedy.finestDepth, finest.overlapDepth);
            EXPECT_EQ(remedy.finestTurn, finest.overlapTurn);
            continue;
        }
        const int involute = remedy.involutePoints, fillet = remedy.filletPoints;
        EXPECT_EQ(remedy.moreInvolutePoints, row.moreInvolutePoints);
        EXPECT_EQ(involute > 6, row.moreInvolutePoints);
        EXPECT_FALSE(Checked(row.call, involute, fillet).overlap) << involute << "/" << fillet;
        // The fewest: the fillet count searched from the drawing's own (from one more when the
        // involute count is the drawing's), the involute count with the most fillet points.
        if (fillet > (row.moreInvolutePoints ? 3 : 4)) {
            EXPECT_TRUE(Checked(row.call, involute, fillet - 1).overlap) << fillet - 1;
        }
        if (row.moreInvolutePoints) {
            EXPECT_TRUE(Checked(row.call, involute - 1, kMaxAccPer).overlap);
        }
    }
}

TEST(OverlapRemedy, DefaultDrawingWarningNamesACountThatClears) {
    // m 2, 20 / 40 at 6 involute and 3 fillet points, written and read back as the window does.
    MainMod state = State(6, 3);
    const BuilderCall call = Pair(false, 20, 40);
    const testing::TempFolder folder;
    state.OutFile = folder.File("default.dxf");
    ASSERT_EQ(RunBuilder(state, call).status, DrawStatus::Written);
    const DataSheet sheet = DataSheetOfFile(state, call, state.OutFile);
    ASSERT_TRUE(sheet.ok) << sheet.reason;
    const std::vector<std::string> lines = WarningLines(sheet);
    ASSERT_EQ(lines.size(), 1u);
    const std::string marker = "перекрытия нет при ";
    const std::size_t at = lines[0].find(marker);
    ASSERT_NE(at, std::string::npos) << lines[0];
    const int named = std::stoi(lines[0].substr(at + marker.size()));
    EXPECT_NE(lines[0].find(" точках переходной кривой.", at), std::string::npos) << lines[0];
    EXPECT_FALSE(Checked(call, 6, named).overlap) << named;
    EXPECT_TRUE(Checked(call, 6, named - 1).overlap) << named - 1;
    // The drawing itself is as asked: read back, it still overlaps at 3 points.
    EXPECT_TRUE(sheet.mesh.mesh.overlap);
    EXPECT_NE(DataSheetJson(sheet, state.OutFile)
                  .find("\"overlap_remedy\": {\"verdict\": \"more-points\", \"fillet_points\": " +
                        std::to_string(named) + ", \"involute_points\": 6}"),
              std::string::npos);
}

TEST(OverlapRemedy, WarningWords) {
    struct Row {
        const char* name;
        OverlapRemedy remedy;
        std::string ending;
    };
    const Row rows[] = {
        {"fillet points",
         {Verdict::MorePoints, 27, 6, false},
         "Причина — хорды между редкими точками: перекрытия нет при 27 точках переходной "
         "кривой."},
        {"21: the singular",
         {Verdict::MorePoints, 21, 6, false},
         "перекрытия нет при 21 точке переходной кривой."},
        {"11: the plural",
         {Verdict::MorePoints, 11, 6, false},
         "перекрытия нет при 11 точках переходной кривой."},
        {"involute points too",
         {Verdict::MorePoints, 50, 31, true},
         "перекрытия нет при 50 точках переходной кривой и 31 точке эвольвенты."},
        {"in the geometry",
         {Verdict::InGeometry, 0, 0, false, 0.00215, 20.7529},
         "°. Перекрытие — в самой геометрии зубьев: его не устраняет никакое допустимое число "
         "точек; при 50 точках переходной кривой и 100 точках эвольвенты остаётся 0.0022 мм при "
         "повороте колеса 1 на 20.753°."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DataSheet sheet;
        sheet.ok = true;
        sheet.pair = true;
        sheet.mesh.mesh.done = true;
        sheet.mesh.mesh.overlap = true;
        sheet.mesh.remedy = row.remedy;
        sheet.warnings = {{SheetWarningKind::Overlap, -1, -1}};
        const std::vector<std::string> lines = WarningLines(sheet);
        ASSERT_EQ(lines.size(), 1u);
        ASSERT_GE(lines[0].size(), row.ending.size());
        EXPECT_EQ(lines[0].substr(lines[0].size() - row.ending.size()), row.ending);
    }
}

}  // namespace
}  // namespace tarvo
