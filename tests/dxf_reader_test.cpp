// Reading drawings back: what the writer writes comes back point for point, the centre marks
// give the wheel centres, and damaged files are refused with the line at fault.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <unistd.h>

#include "drawing/dxf_reader.h"
#include "drawing/dxf_writer.h"

namespace tarvo {
namespace {

std::string TempPath(const char* name) {
    return ::testing::TempDir() + "tarvo-dxf-reader-" + name + "-" + std::to_string(::getpid()) +
           ".dxf";
}

// A small file in our own form: one polyline of three vertices and one centre mark.
std::string SmallDrawing(const std::string& eol) {
    std::string text;
    for (const char* line :
         {"0", "SECTION", "2", "ENTITIES", "0", "POLYLINE", "8", "LAYER1VIEW0", "66", "1", "10",
          "0", "20", "0", "30", "0", "0", "VERTEX", "8", "LAYER1VIEW0", "100", "AcDb2dVertex",
          "10", "1.5", "20", "-2", "0", "VERTEX", "8", "LAYER1VIEW0", "10", "1E-05", "20", "3",
          "0", "VERTEX", "8", "LAYER1VIEW0", "10", "1.5", "20", "-2", "0", "SEQEND", "0", "LINE",
          "8", "LAYER0VIEW0", "10", "7", "20", "-1", "11", "7", "21", "1", "0", "LINE", "8",
          "LAYER0VIEW0", "10", "6", "20", "0", "11", "8", "21", "0", "0", "ENDSEC", "0", "EOF"}) {
        text += line + eol;
    }
    return text;
}

TEST(DxfReader, WriterRoundTrip) {
    // Coordinates the writer must keep to 15 digits, with a pair layout of two outlines.
    const Outline first{0, 0, 12.5, -0.333333333333333, 1e-5, 123456.789, 0, 0};
    const Outline second{60, 0, 61.25, 2.5, 60, 0};
    const std::string path = TempPath("roundtrip");
    ASSERT_TRUE(DxfWriteDrawing(path, {&first, &second}, {0, 60}).written);
    const DxfReadResult read = ReadDxfFile(path);
    std::remove(path.c_str());
    ASSERT_TRUE(read.ok) << read.reason;
    ASSERT_EQ(read.drawing.polylines.size(), 2u);
    const Outline* outlines[] = {&first, &second};
    for (std::size_t k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        const DxfPolyline& p = read.drawing.polylines[k];
        EXPECT_EQ(p.layer, "LAYER1VIEW0");
        ASSERT_EQ(p.points.size() * 2, outlines[k]->size());
        for (std::size_t i = 0; i < p.points.size(); ++i) {
            const double x = (*outlines[k])[2 * i];
            const double y = (*outlines[k])[2 * i + 1];
            EXPECT_NEAR(p.points[i].X, x, 1e-14 * (1 + std::abs(x)));
            EXPECT_NEAR(p.points[i].Y, y, 1e-14 * (1 + std::abs(y)));
        }
    }
    ASSERT_EQ(read.drawing.lines.size(), 4u);
    for (const DxfLine& line : read.drawing.lines) {
        EXPECT_EQ(line.layer, "LAYER0VIEW0");
    }
    const std::vector<PointXY> centres = CentreMarks(read.drawing);
    ASSERT_EQ(centres.size(), 2u);
    EXPECT_EQ(centres[0].X, 0);
    EXPECT_EQ(centres[0].Y, 0);
    EXPECT_EQ(centres[1].X, 60);
    EXPECT_EQ(centres[1].Y, 0);
}

TEST(DxfReader, LineEndsAndEntityContent) {
    for (const char* eol : {"\r\n", "\n"}) {
        SCOPED_TRACE(eol[0] == '\r' ? "CR LF" : "LF");
        const DxfReadResult read = ParseDxf(SmallDrawing(eol));
        ASSERT_TRUE(read.ok) << read.reason;
        ASSERT_EQ(read.drawing.polylines.size(), 1u);
        const std::vector<PointXY>& points = read.drawing.polylines[0].points;
        ASSERT_EQ(points.size(), 3u);  // the header's base point is not a vertex
        EXPECT_EQ(points[1].X, 1e-5);
        EXPECT_EQ(points[1].Y, 3);
        EXPECT_EQ(points[2].X, 1.5);
        EXPECT_EQ(points[2].Y, -2);
        const std::vector<PointXY> centres = CentreMarks(read.drawing);
        ASSERT_EQ(centres.size(), 1u);  // the horizontal stroke marks no second centre
        EXPECT_EQ(centres[0].X, 7);
        EXPECT_EQ(centres[0].Y, 0);
    }
}

TEST(DxfReader, OtherContentIsPassedOver) {
    // A block definition is not drawn as it stands; unknown entities and groups are skipped.
    const std::string text =
        "0\nSECTION\n2\nBLOCKS\n0\nLINE\n8\nX\n10\n0\n20\n0\n11\n5\n21\n5\n0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n8\nX\n10\n1\n20\n1\n40\n3\n"
        "0\nLINE\n62\n7\n8\nLAYER0VIEW0\n21\n1\n11\n2\n20\n-1\n10\n2\n0\nENDSEC\n0\nEOF\n";
    const DxfReadResult read = ParseDxf(text);
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_TRUE(read.drawing.polylines.empty());
    ASSERT_EQ(read.drawing.lines.size(), 1u);  // groups in any order within the entity
    EXPECT_EQ(read.drawing.lines[0].from.X, 2);
    EXPECT_EQ(read.drawing.lines[0].from.Y, -1);
    EXPECT_EQ(read.drawing.lines[0].to.Y, 1);
}

TEST(DxfReader, DamagedFilesAreRefused) {
    struct Row {
        const char* name;
        std::string from, to;  // the replacement made in the small drawing
        const char* reason;    // the start of the reason
    };
    const Row rows[] = {
        {"cut before EOF", "0\nENDSEC\n0\nEOF\n", "", "строка 68: файл обрывается"},
        {"no SEQEND", "0\nSEQEND\n", "", "строка 67: полилиния не закончена"},
        {"vertex outside a polyline", "0\nPOLYLINE\n", "0\nCIRCLE\n",
         "строка 17: VERTEX вне полилинии"},
        {"coordinate not a number", "1E-05", "1,5", "строка 32: координата не число: 1,5"},
        {"vertex without y", "20\n3\n", "30\n3\n", "строка 27: у VERTEX нет координат"},
        {"group code not a number", "100\nAcDb2dVertex", "1OO\nAcDb2dVertex",
         "строка 21: код группы не число"},
        {"second polyline before SEQEND", "0\nSEQEND\n", "0\nPOLYLINE\n",
         "строка 43: новая полилиния до SEQEND"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string text = SmallDrawing("\n");
        const std::size_t at = text.find(row.from);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, row.from.size(), row.to);
        const DxfReadResult read = ParseDxf(text);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.reason.rfind(row.reason, 0), 0u) << read.reason;
        EXPECT_TRUE(read.drawing.polylines.empty());
    }
    // A value missing after the last group code.
    const DxfReadResult cut = ParseDxf("0\nSECTION\n2\n");
    EXPECT_FALSE(cut.ok);
    EXPECT_EQ(cut.reason, "строка 3: у кода группы нет значения");
    const DxfReadResult missing = ReadDxfFile(TempPath("does-not-exist"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.reason.rfind("файл не открывается", 0), 0u);
}

}  // namespace
}  // namespace tarvo
