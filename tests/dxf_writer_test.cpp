// An existing file under a drawing written over it or failing to be. (The drawings' bytes are
// pinned by the golden drawings, their line counts by the ezdxf read-back of tarvo-cli's files.)
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include "drawing/dxf_writer.h"
#include "test_files.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::WriteFile;

// A drawing written over an old one, directly and through a link: the link stays a link and its
// target holds what a fresh file would, with no temporary file left beside it.
TEST(DxfWriter, ReplacesAnExistingFileAndKeepsALink) {
    const testing::TempFolder folder;
    const std::string target = folder.File("real.dxf"), link = folder.File("link.dxf");
    const Polyline square{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
    ASSERT_TRUE(DxfWritePolylines(target, {&square}, {0}).ok());
    const std::string fresh = ReadFile(target);
    fs::create_symlink(target, link);
    for (const std::string& path : {target, link}) {
        SCOPED_TRACE(path);
        WriteFile(target, std::string(100000, '#'));
        ASSERT_TRUE(DxfWritePolylines(path, {&square}, {0}).ok());
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(ReadFile(target), fresh);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()),
                  2);
    }
}

// A write failing part way as on a full disk (a lowered file size limit: the writer ignores
// SIGXFSZ, so the write fails with EFBIG) keeps the old file; unwritable paths are refused with a
// reason; no temporary file.
TEST(DxfWriter, FailureKeepsTheOldFileAndLeavesNoPartialOne) {
    const testing::TempFolder folder;
    const Polyline big(200000, PointXY{0.5, 0.5});
    const std::string kept = folder.File("kept.dxf"), old = "the designer's earlier drawing\r\n";
    WriteFile(kept, old);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit lowered = saved;
    lowered.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &lowered);
    const WriteOutcome full = DxfWritePolylines(kept, {&big}, {0});
    setrlimit(RLIMIT_FSIZE, &saved);
    ASSERT_FALSE(full.ok());
    EXPECT_EQ(full.fault(), std::error_code(EFBIG, std::system_category()));
    EXPECT_EQ(ReadFile(kept), old);
    WriteFile(folder.File("plain-file"), "x");
    fs::create_directories(folder.File("a-folder/inside"));
    for (const std::string& path : {folder.File("no/such/folder/x.dxf"),
                                    folder.File("plain-file/x.dxf"), folder.File("a-folder")}) {
        SCOPED_TRACE(path);
        const WriteOutcome out = DxfWritePolylines(path, {&big}, {0});
        ASSERT_FALSE(out.ok());
        EXPECT_TRUE(out.fault());
    }
    // Only the three the test made: kept.dxf, plain-file and a-folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 3);
}

}  // namespace
}  // namespace tarvo
