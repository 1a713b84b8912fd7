// Reading drawings back: what the writer writes comes back point for point with its centre
// marks, other content is passed over, damaged files are refused with the line at fault, and
// reading block by block, from a file, gives what reading the whole text in memory gives.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <tuple>

#include "drawing/dxf_reader.h"
#include "drawing/dxf_writer.h"
#include "report/read_text.h"
#include "test_files.h"

namespace tarvo {
namespace {

// Why a read failed, in the designer's words; empty when it did not.
std::string Reason(const DxfReadResult& read) {
    return read.ok() ? std::string() : DescribeDxfRead(read.fault());
}

// Everything a read gives, coordinates to the last bit, as one text to compare.
std::string Dump(const DxfReadResult& read) {
    std::ostringstream text;
    text.precision(17);
    text << read.ok() << ' ' << Reason(read) << '\n';
    if (!read.ok()) {
        return text.str();
    }
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

// 15-digit coordinates come back exactly; header points, colours and CR LF pass unseen; and
// blocks of one byte and of seven split every line, 4096 some.
TEST(DxfReader, WriterRoundTripAtEveryBlockSize) {
    Outline first{0, 0, 12.5, -0.333333333333333, 1e-5, 123456.789};
    for (int i = 0; i < 300; ++i) {
        first.insert(first.end(), {i * 0.125, -i * 1.5});
    }
    first.insert(first.end(), {0, 0});
    const Outline second{60, 0, 61.25, 2.5, 60, 0};
    const testing::TempFolder folder;
    const std::string path = folder.File("pair.dxf");
    ASSERT_TRUE(DxfWriteDrawing(path, {&first, &second}, {0, 60}).ok());
    const DxfReadResult read = ReadDxfFile(path);
    ASSERT_TRUE(read.ok()) << Reason(read);
    ASSERT_EQ(read->polylines.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
        const DxfPolyline& p = read->polylines[k];
        EXPECT_EQ(p.layer, "LAYER1VIEW0");
        Outline back;
        for (const PointXY& q : p.points) back.insert(back.end(), {q.X, q.Y});
        EXPECT_EQ(back, k == 0 ? first : second);
    }
    EXPECT_EQ(read->lines.size(), 4u);
    for (const DxfLine& line : read->lines) EXPECT_EQ(line.layer, "LAYER0VIEW0");
    // Only the vertical stroke of each mark gives a centre.
    std::vector<std::pair<double, double>> centres;
    for (const PointXY& c : CentreMarks(read.value())) centres.push_back({c.X, c.Y});
    EXPECT_EQ(centres, (std::vector<std::pair<double, double>>{{0, 0}, {60, 0}}));
    for (const std::size_t block : {std::size_t{1}, std::size_t{7}, std::size_t{4096}}) {
        EXPECT_EQ(Dump(ReadDxfFile(path, block)), Dump(read)) << "blocks of " << block;
    }
}

TEST(DxfReader, OtherContentIsPassedOver) {
    // Blocks and unknown entities are skipped; the groups of an entity may come in any order.
    const DxfReadResult read = ParseDxf(
        "0\nSECTION\n2\nBLOCKS\n0\nLINE\n8\nX\n10\n0\n20\n0\n11\n5\n21\n5\n0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n8\nX\n10\n1\n20\n1\n40\n3\n"
        "0\nLINE\n62\n7\n8\nLAYER0VIEW0\n21\n1\n11\n2\n20\n-1\n10\n2\n0\nENDSEC\n0\nEOF\n");
    ASSERT_TRUE(read.ok()) << Reason(read);
    EXPECT_TRUE(read->polylines.empty());
    ASSERT_EQ(read->lines.size(), 1u);
    const DxfLine& line = read->lines[0];
    EXPECT_EQ(std::make_tuple(line.layer, line.from.X, line.from.Y, line.to.X, line.to.Y),
              std::make_tuple(std::string("LAYER0VIEW0"), 2.0, -1.0, 2.0, 1.0));
}

// Each damage made to a small file (one polyline of three vertices, one centre mark), with LF
// and with CR LF line ends, read from memory and from a file in blocks of three bytes (which
// split CR from LF) and of the default size.
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
    for (const Row& row : rows) {
        for (const char* end : {"\n", "\r\n"}) {
            SCOPED_TRACE(std::string(row.name) + (end[1] ? ", CR LF" : ", LF"));
            auto ends = [end](std::string text) {
                for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos;) {
                    text.replace(at, 1, end);
                    at += std::strlen(end);
                }
                return text;
            };
            std::string text = ends(small);
            const std::string from = ends(row.from);
            const std::size_t at = text.find(from);
            ASSERT_NE(at, std::string::npos);
            text.replace(at, from.size(), ends(row.to));
            const DxfReadResult read = ParseDxf(text);
            EXPECT_EQ(read.ok(), *row.reason == '\0');
            EXPECT_EQ(Reason(read).rfind(row.reason, 0), 0u) << Reason(read);
            testing::WriteFile(path, text);
            for (const std::size_t block : {std::size_t{3}, kDxfReadBlockBytes}) {
                EXPECT_EQ(Dump(ReadDxfFile(path, block)), Dump(read)) << "blocks of " << block;
            }
        }
    }
    const std::string absent = Reason(ReadDxfFile(folder.File("absent.dxf")));
    EXPECT_EQ(absent.rfind("файл не открывается", 0), 0u);
}

}  // namespace
}  // namespace tarvo
