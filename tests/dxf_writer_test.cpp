// The drawing file byte for byte: header forms, centre marks, line ends, and what happens to an
// existing file when writing fails. (Line counts of real drawings are checked by the ezdxf
// read-back of tarvo-cli's files; number texts by the NumberText suite.)
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <sstream>
#include <vector>

#include "drawing/dxf_writer.h"
#include "test_files.h"

namespace tarvo {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// A closed square of side 1: five points, the last repeating the first.
Outline Square(double cx) { return {cx, 0, cx + 1, 0, cx + 1, 1, cx, 1, cx, 0}; }

TEST(DxfWriter, PairDrawingExactly) {
    TempFolder folder;
    const Outline first = Square(0);
    const Outline second = Square(2.5);
    const std::string path = folder.File("pair.dxf");
    ASSERT_TRUE(DxfWriteDrawing(path, {&first, &second}, {0, 2.5}).written);
    std::ostringstream expected;
    auto lines = [&expected](std::initializer_list<const char*> texts) {
        for (const char* t : texts) {
            expected << t << "\r\n";
        }
    };
    lines({"0", "SECTION", "2", "ENTITIES", "0", "POLYLINE", "8", "LAYER1VIEW0", "6", "K5LT32768",
           "62", "7", "66", "1", "10", "0", "20", "0", "30", "0"});
    auto vertex = [&lines](const char* x, const char* y) {
        lines({"0", "VERTEX", "8", "LAYER1VIEW0", "100", "AcDb2dVertex", "10", x, "20", y});
    };
    vertex("0", "0");
    vertex("1", "0");
    vertex("1", "1");
    vertex("0", "1");
    vertex("0", "0");
    lines({"0", "SEQEND", "0", "POLYLINE", "8", "LAYER1VIEW0", "6", "K5LT32768", "62", "7", "66",
           "1", "10", "0.0000", "20", "0.0000", "30", "0.0000"});
    vertex("2.5", "0");
    vertex("3.5", "0");
    vertex("3.5", "1");
    vertex("2.5", "1");
    vertex("2.5", "0");
    lines({"0", "SEQEND"});
    lines({"0", "LINE", "8", "LAYER0VIEW0", "10", "0", "20", "-1", "11", "0", "21", "1", "0",
           "LINE", "8", "LAYER0VIEW0", "10", "-1", "20", "0", "11", "1", "21", "0"});
    lines({"0", "LINE", "8", "LAYER0VIEW0", "10", "2.5", "20", "-1", "11", "2.5", "21", "1", "0",
           "LINE", "8", "LAYER0VIEW0", "10", "1.5", "20", "0", "11", "3.5", "21", "0"});
    lines({"0", "ENDSEC", "0", "EOF"});
    EXPECT_EQ(ReadFile(path), expected.str());
}

TEST(DxfWriter, SinglePartHasNoLaterHeader) {
    TempFolder folder;
    const Outline only = Square(0);
    const std::string path = folder.File("single.dxf");
    ASSERT_TRUE(DxfWriteDrawing(path, {&only}, {0}).written);
    EXPECT_EQ(ReadFile(path).find("0.0000"), std::string::npos);
}

TEST(DxfWriter, ReplacesAnExistingFileEntirely) {
    TempFolder folder;
    const std::string path = folder.File("old.dxf");
    WriteFile(path, std::string(100000, '#'));
    const Outline only = Square(0);
    ASSERT_TRUE(DxfWriteDrawing(path, {&only}, {0}).written);
    const std::string bytes = ReadFile(path);
    EXPECT_EQ(bytes.find('#'), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 19), "0\r\nENDSEC\r\n0\r\nEOF\r\n");
    // Nothing else is left in the folder: the temporary file became the drawing.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(DxfWriter, LinkToADrawingStaysALink) {
    TempFolder folder;
    const std::string target = folder.File("real.dxf");
    const std::string link = folder.File("link.dxf");
    WriteFile(target, "old");
    std::filesystem::create_symlink(target, link);
    const Outline only = Square(0);
    ASSERT_TRUE(DxfWriteDrawing(link, {&only}, {0}).written);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(target).substr(0, 12), "0\r\nSECTION\r\n");
}

// Lowers the largest file this process may write, so a write fails part way through as on a
// full disk; restores the limit afterwards.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);  // report EFBIG instead of ending the process
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

TEST(DxfWriter, FailureKeepsTheOldFileAndLeavesNoPartialOne) {
    TempFolder folder;
    const std::string old = "the designer's earlier drawing\r\n";
    Outline big;
    for (int i = 0; i < 200000; ++i) {
        big.push_back(i * 0.001);
        big.push_back(-i * 0.002);
    }
    struct Row {
        const char* name;
        std::string path;
        bool existing;
        bool diskFull;
    };
    const std::string notAFolder = folder.File("plain-file");
    WriteFile(notAFolder, "x");
    const std::string aFolder = folder.File("a-folder");
    std::filesystem::create_directories(aFolder + "/inside");
    const Row rows[] = {
        {"disk full part way", folder.File("kept.dxf"), true, true},
        {"missing folder", folder.File("no/such/folder/x.dxf"), false, false},
        {"folder is a file", notAFolder + "/x.dxf", false, false},
        {"target is a folder", aFolder, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.existing) {
            WriteFile(row.path, old);
        }
        WriteOutcome out;
        if (row.diskFull) {
            FileSizeLimit limit(64 * 1024);
            out = DxfWriteDrawing(row.path, {&big}, {0});
        } else {
            out = DxfWriteDrawing(row.path, {&big}, {0});
        }
        EXPECT_FALSE(out.written);
        EXPECT_FALSE(out.reason.empty());
        if (row.existing) {
            EXPECT_EQ(ReadFile(row.path), old);
        }
    }
    // Only the two files the test made remain: no temporary file was left behind.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a-folder", "kept.dxf", "plain-file"}));
}

}  // namespace
}  // namespace tarvo
