// Reading drawings back: point for point, other content passed over, damage refused with its line,
// and reading a file block by block, whole or streamed, gives what reading the whole text in
// memory gives.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "drawing/dxf_reader.h"
#include "drawing/dxf_real.h"
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

// What a streamed read hands over, written as Dump writes a whole read.
class DumpSink final : public DxfSink {
  public:
    DumpSink() {
        polylines_.precision(17);
        lines_.precision(17);
    }
    void Polyline(const std::string& layer, std::size_t, std::size_t) override {
        polylines_ << layer;
    }
    void Vertex(PointXY p, std::size_t, std::size_t) override {
        polylines_ << ' ' << p.X << ',' << p.Y;
    }
    void PolylineEnd() override { polylines_ << '\n'; }
    void Line(const DxfLine& l) override {
        lines_ << l.layer << ' ' << l.from.X << ',' << l.from.Y << ' ' << l.to.X << ',' << l.to.Y
               << '\n';
    }
    std::string Text(const DxfStreamResult& streamed) const {
        return streamed.ok() ? polylines_.str() + lines_.str() : DescribeDxfRead(streamed.fault());
    }

  private:
    std::ostringstream polylines_, lines_;
};

// The coordinates one after another, to compare to the bit.
std::vector<double> Flat(const std::vector<PointXY>& points) {
    std::vector<double> out;
    for (const PointXY& q : points) {
        out.insert(out.end(), {q.X, q.Y});
    }
    return out;
}

// Outlines longer than the reader's sample, so their arrays are sized from the file: one whose
// later vertices are written longer than its first, and then, last in the file, one whose later
// vertices are shorter (more of them than the first ones' size foretells, so its array grows
// again), each read whole and exactly (15 digits, the most the writer keeps), centre marks passed
// over, in memory and in blocks of one byte and of seven, which split every line, or more.
TEST(DxfReader, LongOutlinesReadWhole) {
    Polyline shortening, lengthening;
    for (int i = 0; i < 5000; ++i) {
        const PointXY exact{static_cast<double>(123456789012345 + i) / 1e11,
                            -static_cast<double>(98765432109876 + i) / 1e10};
        const PointXY whole{static_cast<double>(i % 10), 0};
        shortening.push_back(i < 1100 ? exact : whole);
        lengthening.push_back(i < 1100 ? whole : exact);
    }
    const testing::TempFolder folder;
    const std::string path = folder.File("long.dxf");
    ASSERT_TRUE(DxfWritePolylines(path, {&lengthening, &shortening}, {0, 60}).ok());
    for (const std::size_t block :
         {std::size_t{1}, std::size_t{7}, std::size_t{64}, kDxfReadBlockBytes}) {
        SCOPED_TRACE("blocks of " + std::to_string(block));
        const DxfReadResult read = ReadDxfFile(path, block);
        ASSERT_TRUE(read.ok()) << Dump(read);
        ASSERT_EQ(read->polylines.size(), 2u);
        EXPECT_EQ(Flat(read->polylines[0].points), Flat(lengthening));
        EXPECT_EQ(Flat(read->polylines[1].points), Flat(shortening));
        EXPECT_EQ(Dump(ParseDxf(testing::ReadFile(path))), Dump(read));
    }
}

// What strtod reads from the whole of `text`: nothing when it stops short, when the value is not
// finite, or when it underflows to zero. (strtod skips leading blanks; the reader's values come
// trimmed, and refuse them.)
std::optional<double> Strtod(const std::string& text) {
    if (text.empty() || text[0] == ' ') {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value) ||
        (errno == ERANGE && value == 0)) {
        return std::nullopt;
    }
    return value;
}

// The same answer as strtod, to the bit (signs of zero included), for generated texts of every
// kind a file may hold: our own 15-digit coordinates, any double to 17 digits, and digit strings
// with signs, leading zeros, long mantissas and exponents of every size.
TEST(DxfReal, AgreesWithStrtodBitForBit) {
    std::mt19937_64 random(20251207);
    const char* const signs[] = {"", "-", "+"};
    const auto digits = [&](std::string& text, int count) {
        for (int i = 0; i < count; ++i) {
            text += static_cast<char>('0' + random() % 10);
        }
    };
    const auto anyDouble = [&] {
        double v = 0;
        do {
            const std::uint64_t bits = random();
            std::memcpy(&v, &bits, sizeof v);
        } while (!std::isfinite(v));
        return v;
    };
    const auto printed = [](const char* format, double v) {
        char text[400];
        std::snprintf(text, sizeof text, format, v);
        return std::string(text);
    };
    struct Family {
        const char* name;
        std::function<std::string()> make;
    };
    const Family families[] = {
        {"coordinates as drawn",
         [&] {
             const auto units = static_cast<std::int64_t>(random() % 20000000000000u);
             return printed("%.15G", static_cast<double>(units) * 1e-9 - 10000);
         }},
        {"any double, 17 digits", [&] { return printed("%.17g", anyDouble()); }},
        {"digit strings",
         [&] {
             std::string text = signs[random() % 3];
             digits(text, static_cast<int>(random() % 24));
             if (random() % 3 != 0) {
                 text += '.';
                 digits(text, static_cast<int>(random() % 24));
             }
             if (random() % 2 != 0) {
                 text += random() % 2 != 0 ? 'E' : 'e';
                 text += signs[random() % 3];
                 digits(text, 1 + static_cast<int>(random() % 3));
             }
             return text;
         }},
    };
    for (const Family& family : families) {
        SCOPED_TRACE(family.name);
        int refused = 0;
        for (int i = 0; i < 20000; ++i) {
            const std::string text = family.make();
            const std::optional<double> expected = Strtod(text);
            double value = 0;
            ASSERT_EQ(ReadDxfReal(text, value), expected.has_value()) << text;
            if (expected) {
                ASSERT_EQ(std::memcmp(&value, &*expected, sizeof value), 0)
                    << text << " read as " << value;
            }
            refused += expected ? 0 : 1;
        }
        EXPECT_LT(refused, 20000 / 4);  // the family is mostly numbers, not mostly refusals
    }
}

// Texts at the edges: what strtod reads, and what the drawing refuses although strtod reads it.
TEST(DxfReal, Edges) {
    struct Row {
        const char* text;
        bool reads;
    };
    const Row rows[] = {
        {"-0", true},
        {"0e-400", true},
        {"+.5", true},
        {"7.", true},
        {"4.9406564584124654e-324", true},
        {"1e-400", false},
        {"1e400", false},
        {"", false},
        {".", false},
        {"1e", false},
        {"1.5.2", false},
        {"1,5", false},
        {"+-1", false},
        {"0x10", false},
        {"inf", false},
        {" 1", false},
        {"1 ", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        double value = 0;
        ASSERT_EQ(ReadDxfReal(row.text, value), row.reads);
        const std::optional<double> expected = Strtod(row.text);
        if (row.reads) {
            ASSERT_TRUE(expected.has_value());
            EXPECT_EQ(std::memcmp(&value, &*expected, sizeof value), 0);
        }
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
    // The text with every LF made `end`.
    auto ended = [](std::string text, const char* end) {
        for (std::size_t at = text.find('\n'); at != std::string::npos;
             at = text.find('\n', at + std::strlen(end))) {
            text.replace(at, 1, end);
        }
        return text;
    };
    for (const char* end : {"\n", "\r\n"}) {
        const std::string asWritten = Dump(ParseDxf(ended(small, end)));
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) + (end[1] ? ", CR LF" : ", LF"));
            std::string text = small;
            const std::size_t at = text.find(row.from);
            ASSERT_NE(at, std::string::npos);
            text = ended(text.replace(at, row.from.size(), row.to), end);
            const DxfReadResult read = ParseDxf(text);
            EXPECT_EQ(read.ok(), *row.reason == '\0');
            EXPECT_EQ(Dump(read).rfind(row.reason, 0), 0u) << Dump(read);
            EXPECT_EQ(*row.reason == '\0' ? Dump(read) : asWritten, asWritten);
            testing::WriteFile(path, text);
            for (const std::size_t block : {std::size_t{3}, kDxfReadBlockBytes}) {
                EXPECT_EQ(Dump(ReadDxfFile(path, block)), Dump(read)) << "blocks of " << block;
                // Streamed: the same entities handed over, or the same fault on the same line.
                DumpSink sink;
                EXPECT_EQ(sink.Text(StreamDxfFile(path, sink, block)), Dump(read));
            }
        }
    }
    EXPECT_EQ(Dump(ReadDxfFile(folder.File("absent.dxf"))).rfind("файл не открывается", 0), 0u);
}

}  // namespace
}  // namespace tarvo
