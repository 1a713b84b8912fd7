// Reading drawings back: point for point, other content passed over, damage refused with its line,
// and reading a file block by block gives what reading the whole text in memory gives.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "drawing/dxf_reader.h"
#include "drawing/dxf_writer.h"
#include "report/read_text.h"
#include "test_files.h"

namespace tarvo {
namespace {

// A read as text to compare: why it failed, or what it read with coordinates to the last bit.
std::string Dump(const DxfReadResult& read) {
    if (!read.ok()) {
        return DescribeDxfRead(read.fault());
    }
    std::ostringstream text;
    text.precision(17);
    for (const DxfPolyline& p : read->polylines) {
        text << p.layer;
        for (const PointXY& q : p.points) {
            text << ' ' << q.X << ',' << q.Y;
        }
        text << '\n';
    }
    for (const DxfLine& l : read->lines) {
        text << l.layer << ' ' << l.from.X << ',' << l.from.Y << ' ' << l.to.X << ',' << l.to.Y
             << '\n';
    }
    return text.str();
}

// 15-digit coordinates come back exactly; header points, centre marks and CR LF pass unseen;
// blocks of one byte and of seven split every line, 4096 some.
TEST(DxfReader, WriterRoundTripAtEveryBlockSize) {
    Polyline first{{0, 0}, {12.5, -0.333333333333333}, {1e-5, 123456.789}};
    for (int i = 0; i < 300; ++i) {
        first.push_back({i * 0.125, -i * 1.5});
    }
    const Polyline second{{60, 0}, {61.25, 2.5}, {60, 0}};
    const testing::TempFolder folder;
    const std::string path = folder.File("pair.dxf");
    ASSERT_TRUE(DxfWritePolylines(path, {&first, &second}, {0, 60}).ok());
    const DxfReadResult read = ReadDxfFile(path);
    ASSERT_TRUE(read.ok()) << Dump(read);
    auto flat = [](const Polyline& points) {
        std::vector<double> out;
        for (const PointXY& q : points)
            out.insert(out.end(), {q.X, q.Y});
        return out;
    };
    ASSERT_EQ(read->polylines.size(), 2u);
    EXPECT_EQ(flat(read->polylines[0].points), flat(first));
    EXPECT_EQ(flat(read->polylines[1].points), flat(second));
    for (const std::size_t block : {std::size_t{1}, std::size_t{7}, std::size_t{4096}}) {
        EXPECT_EQ(Dump(ReadDxfFile(path, block)), Dump(read)) << "blocks of " << block;
    }
}

// Changes to a small file (a polyline of three vertices, a centre mark), with LF and CR LF, read in
// memory and in blocks of 3 bytes (splitting CR from LF) and of the default size; a text that
// still reads gives what the small file gives.
TEST(DxfReader, DamagedAndOddTexts) {
    const std::string small =
        "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n8\nLAYER1VIEW0\n66\n1\n10\n0\n20\n0\n30\n0\n0\n"
        "VERTEX\n8\nLAYER1VIEW0\n100\nAcDb2dVertex\n10\n1.5\n20\n-2\n0\nVERTEX\n8\nLAYER1VIEW0\n"
        "10\n1E-05\n20\n3\n0\nVERTEX\n8\nLAYER1VIEW0\n10\n1.5\n20\n-2\n0\nSEQEND\n0\nLINE\n8\n"
        "LAYER0VIEW0\n10\n7\n20\n-1\n11\n7\n21\n1\n0\nLINE\n8\nLAYER0VIEW0\n10\n6\n20\n0\n11\n8\n"
        "21\n0\n0\nENDSEC\n0\nEOF\n";
    struct Row {
        const char* name;
        std::string from, to;  // the replacement made in the small file
        const char* reason;    // the start of the reason; empty when the text reads
    };
    const Row rows[] = {
        {"as written", "", "", ""},
        {"no line end after EOF", "EOF\n", "EOF", ""},
        {"blank rest after the last line", "EOF\n", "EOF\n  ", ""},
        {"blocks and other entities passed over", "2\nENTITIES\n",
         "2\nBLOCKS\n0\nLINE\n8\nX\n10\n0\n20\n0\n11\n5\n21\n5\n0\nENDSEC\n0\nSECTION\n2\n"
         "ENTITIES\n0\nCIRCLE\n8\nX\n10\n1\n20\n1\n40\n3\n",
         ""},
        {"groups in any order, colour passed over", "8\nLAYER0VIEW0\n10\n7\n20\n-1\n11\n7\n21\n1\n",
         "62\n7\n8\nLAYER0VIEW0\n21\n1\n11\n7\n20\n-1\n10\n7\n", ""},
        {"cut before EOF", "0\nENDSEC\n0\nEOF\n", "", "строка 68: файл обрывается"},
        {"value missing after the last code", "0\nEOF\n", "0\n", "строка 71: у кода группы нет"},
        {"no SEQEND", "0\nSEQEND\n", "", "строка 67: полилиния не закончена"},
        {"vertex alone", "0\nPOLYLINE\n", "0\nCIRCLE\n", "строка 17: VERTEX вне полилинии"},
        {"coordinate not a number", "1E-05", "1,5", "строка 32: координата не число: 1,5"},
        {"vertex without y", "20\n3\n", "30\n3\n", "строка 27: у VERTEX нет координат"},
        {"code not a number", "100\nAcDb", "1OO\nAcDb", "строка 21: код группы не число"},
        {"POLYLINE before SEQEND", "0\nSEQEND\n", "0\nPOLYLINE\n", "строка 43: новая полилиния"},
        {"line without its end", "21\n1\n", "", "строка 45: у LINE нет координат"},
    };
    const testing::TempFolder folder;
    const std::string path = folder.File("text.dxf");
    const std::regex lf("\n");
    for (const char* end : {"\n", "\r\n"}) {
        const std::string asWritten = Dump(ParseDxf(std::regex_replace(small, lf, end)));
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) + (end[1] ? ", CR LF" : ", LF"));
            std::string text = small;
            const std::size_t at = text.find(row.from);
            ASSERT_NE(at, std::string::npos);
            text = std::regex_replace(text.replace(at, row.from.size(), row.to), lf, end);
            const DxfReadResult read = ParseDxf(text);
            EXPECT_EQ(read.ok(), *row.reason == '\0');
            EXPECT_EQ(Dump(read).rfind(row.reason, 0), 0u) << Dump(read);
            EXPECT_EQ(*row.reason == '\0' ? Dump(read) : asWritten, asWritten);
            testing::WriteFile(path, text);
            for (const std::size_t block : {std::size_t{3}, kDxfReadBlockBytes}) {
                EXPECT_EQ(Dump(ReadDxfFile(path, block)), Dump(read)) << "blocks of " << block;
            }
        }
    }
    EXPECT_EQ(Dump(ReadDxfFile(folder.File("absent.dxf"))).rfind("файл не открывается", 0), 0u);
}

}  // namespace
}  // namespace tarvo
