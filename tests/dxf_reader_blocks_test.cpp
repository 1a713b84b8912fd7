// Reading a drawing back block by block: whatever the block size, and whether from a file or from
// text in memory, the result is the same, for whole drawings and for damaged ones.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>

#include "app/basic_rack.h"
#include "drawing/dxf_reader.h"
#include "drawing/external_pair.h"
#include "builder_calls.h"
#include "report/read_text.h"
#include "test_files.h"

namespace tarvo {
namespace {

void ExpectSameRead(const DxfReadResult& blocks, const DxfReadResult& whole) {
    EXPECT_EQ(blocks.ok, whole.ok);
    EXPECT_EQ(DescribeDxfRead(blocks), DescribeDxfRead(whole));
    ASSERT_EQ(blocks.drawing.polylines.size(), whole.drawing.polylines.size());
    for (std::size_t k = 0; k < whole.drawing.polylines.size(); ++k) {
        const DxfPolyline& a = blocks.drawing.polylines[k];
        const DxfPolyline& b = whole.drawing.polylines[k];
        EXPECT_EQ(a.layer, b.layer);
        ASSERT_EQ(a.points.size(), b.points.size());
        for (std::size_t i = 0; i < b.points.size(); ++i) {
            ASSERT_EQ(a.points[i].X, b.points[i].X) << "polyline " << k << " point " << i;
            ASSERT_EQ(a.points[i].Y, b.points[i].Y) << "polyline " << k << " point " << i;
        }
    }
    ASSERT_EQ(blocks.drawing.lines.size(), whole.drawing.lines.size());
    for (std::size_t k = 0; k < whole.drawing.lines.size(); ++k) {
        const DxfLine& a = blocks.drawing.lines[k];
        const DxfLine& b = whole.drawing.lines[k];
        EXPECT_EQ(std::make_tuple(a.layer, a.from.X, a.from.Y, a.to.X, a.to.Y),
                  std::make_tuple(b.layer, b.from.X, b.from.Y, b.to.X, b.to.Y));
    }
}

std::string Written(const testing::TempFolder& folder, const std::string& text) {
    const std::string path = folder.File("text.dxf");
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(DxfReaderBlocks, WrittenPairAtEveryBlockSize) {
    // Blocks of one byte and of seven split every line; 4096 splits some; the default none.
    MainMod state;
    state.AccEv = 6;
    state.AccPer = 3;
    StoreRack(state, FindRackRow("20")->rack);
    const ExternalPairGeometry g = ComputeExternalPair(state, testing::ExternalCall(20, 40, 2, 0, 20, 0, 0, 0.1));
    ASSERT_TRUE(g.error.ok());
    const testing::TempFolder folder;
    const std::string path = folder.File("pair.dxf");
    ASSERT_TRUE(DxfWriteDrawing(path, {&g.wheel1, &g.wheel2}, {0, g.aw}).written);
    const DxfReadResult whole = ReadDxfFile(path);
    ASSERT_TRUE(whole.ok) << DescribeDxfRead(whole);
    for (const std::size_t block :
         {std::size_t{1}, std::size_t{7}, std::size_t{4096}, kDxfReadBlockBytes}) {
        SCOPED_TRACE(block);
        ExpectSameRead(ReadDxfFile(path, block), whole);
    }
}

TEST(DxfReaderBlocks, DamagedAndOddTextsAsTheWholeFileReader) {
    const std::string small =
        "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nPOLYLINE\r\n8\r\nLAYER1VIEW0\r\n0\r\nVERTEX\r\n"
        "8\r\nLAYER1VIEW0\r\n10\r\n1.5\r\n20\r\n-2\r\n0\r\nVERTEX\r\n10\r\n1E-05\r\n20\r\n3\r\n"
        "0\r\nSEQEND\r\n0\r\nLINE\r\n8\r\nLAYER0VIEW0\r\n10\r\n7\r\n20\r\n-1\r\n11\r\n7\r\n21\r\n"
        "1\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n";
    struct Row {
        const char* name;
        std::string from, to;  // the replacement made in the small file
    };
    const Row rows[] = {
        {"as written", "", ""},
        {"LF alone", "\r\n", "\n"},
        {"no line end after EOF", "EOF\r\n", "EOF"},
        {"blank rest after the last line", "EOF\r\n", "EOF\r\n  "},
        {"cut before EOF", "0\r\nENDSEC\r\n0\r\nEOF\r\n", ""},
        {"value missing after the last code", "0\r\nEOF\r\n", "0\r\n"},
        {"no SEQEND", "0\r\nSEQEND\r\n", ""},
        {"vertex alone", "0\r\nPOLYLINE\r\n", "0\r\nCIRCLE\r\n"},
        {"coordinate not a number", "1E-05", "1,5"},
        {"vertex without y", "20\r\n3\r\n", "30\r\n3\r\n"},
        {"code not a number", "8\r\nLAYER0", "B\r\nLAYER0"},
        {"POLYLINE before SEQEND", "0\r\nSEQEND\r\n", "0\r\nPOLYLINE\r\n"},
        {"line without its end", "21\r\n1\r\n", ""},
    };
    const testing::TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string text = small;
        if (!row.from.empty()) {
            std::size_t at = 0;
            while ((at = text.find(row.from, at)) != std::string::npos) {
                text.replace(at, row.from.size(), row.to);
                at += row.to.size();
            }
        }
        const std::string path = Written(folder, text);
        for (const std::size_t block : {std::size_t{3}, kDxfReadBlockBytes}) {
            SCOPED_TRACE(block);
            ExpectSameRead(ReadDxfFile(path, block), ParseDxf(text));
        }
    }
    EXPECT_EQ(ReadDxfFile(folder.File("absent.dxf")).fault, DxfReadFault::CannotOpen);
}

}  // namespace
}  // namespace tarvo
