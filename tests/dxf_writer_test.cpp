// What happens to an existing file when a drawing is written over it or writing fails. (The bytes
// of the drawings themselves are pinned by the golden drawings, their line counts by the ezdxf
// read-back of tarvo-cli's files.)
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <optional>
#include <vector>

#include "drawing/dxf_writer.h"
#include "test_files.h"

namespace tarvo {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// A drawing written over an old one, directly and through a link: the link stays a link and its
// target holds the new drawing alone, with no temporary file left beside it.
TEST(DxfWriter, ReplacesAnExistingFileAndKeepsALink) {
    TempFolder folder;
    const std::string target = folder.File("real.dxf");
    const std::string link = folder.File("link.dxf");
    std::filesystem::create_symlink(target, link);
    const Outline square{0, 0, 1, 0, 1, 1, 0, 1, 0, 0};
    for (const std::string& path : {target, link}) {
        SCOPED_TRACE(path);
        WriteFile(target, std::string(100000, '#'));
        ASSERT_TRUE(DxfWriteDrawing(path, {&square}, {0}).ok());
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        const std::string bytes = ReadFile(target);
        EXPECT_EQ(bytes.substr(0, 12), "0\r\nSECTION\r\n");
        EXPECT_EQ(bytes.find('#'), std::string::npos);
        EXPECT_EQ(bytes.substr(bytes.size() - 19), "0\r\nENDSEC\r\n0\r\nEOF\r\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                                std::filesystem::directory_iterator()),
                  2);
    }
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
        std::optional<FileSizeLimit> limit;
        if (row.diskFull) {
            limit.emplace(64 * 1024);
        }
        const WriteOutcome out = DxfWriteDrawing(row.path, {&big}, {0});
        limit.reset();
        ASSERT_FALSE(out.ok());
        EXPECT_FALSE(out.fault().empty());
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
