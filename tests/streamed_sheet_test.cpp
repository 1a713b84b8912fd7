// The data sheet of a drawing file, read while streaming and keeping of each outline only what
// the sheet and the mesh check need, reads as the sheet of the same file read whole: for the
// drawings the builders write, and for files that are not the drawing expected.
#include <gtest/gtest.h>

#include <string>

#include "builder_calls.h"
#include "drawing/builder_call.h"
#include "drawing/dxf_reader.h"
#include "report/data_sheet.h"
#include "report/sheet_text.h"
#include "test_files.h"

namespace tarvo {
namespace {

using testing::ExternalPair;
using testing::InternalPair;

// The text with its first `from` replaced by `to` (unchanged when `from` is empty).
std::string Edited(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = from.empty() ? std::string::npos : text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(StreamedSheet, ReadsAsTheWholeDrawing) {
    const std::string mark1 = "10\r\n0\r\n20\r\n-1\r\n11\r\n0\r\n";
    const std::string lastVertexEnd = "\r\n0\r\nSEQEND\r\n";
    struct Row {
        const char* name;
        BuilderCall call;
        bool cutFillet;
        std::string from, to;  // an edit made to the file written
    };
    const Row rows[] = {
        {"external 20 / 40", ExternalPair(20, 40, 2), false, "", ""},
        {"external shifted, backlash", ExternalPair(13, 31, 3).Shifts(0.5, -0.2).Backlash(0.1),
         false, "", ""},
        {"external, rack-cut root", ExternalPair(12, 30, 2).Shifts(0.3, 0), true, "", ""},
        {"helical", ExternalPair(18, 35, 2).Helix(15), false, "", ""},
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
        testing::WriteFile(state.OutFile,
                           Edited(testing::ReadFile(state.OutFile), row.from, row.to));
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
