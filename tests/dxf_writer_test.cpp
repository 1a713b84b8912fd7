// An existing file under a drawing written over it or failing to be. (The drawings' bytes are
// pinned by the golden drawings, their line counts by the ezdxf read-back of tarvo-cli's files.)
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <string>

#include "drawing/dxf_table.h"
#include "drawing/dxf_writer.h"
#include "math/constants.h"
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
// SIGXFSZ, so the write fails with EFBIG) keeps the old file and leaves no temporary one. (Paths
// that cannot be written at all: the FileFaults suite.)
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
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

// The outline made tooth by tooth against the whole array laid out, turned and moved as one:
// every coordinate the same to the bit, for external and internal gears, odd and even counts,
// with and without the drawing's turn and shift, and the written files the same bytes.
TEST(PlacedOutline, SameBitsAsTurningTheWholeArray) {
    struct Row {
        const char* name;
        int z;
        bool internal;
        OutlinePlacement placement;
    };
    const Row rows[] = {
        {"external, not placed", 7, false, {}},
        {"external, turned and moved", 40, false, {kPi / 40, 61.25}},
        {"internal, turned", 33, true, {kPi / 33, std::nullopt}},
        {"internal, moved only", 12, true, {std::nullopt, -3.5}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Polyline flank;
        for (int i = 0; i < 9; ++i) {
            flank.push_back({10 + 0.37 * i, 0.11 * i * std::sin(0.3 * i) - 0.2});
        }
        // The whole array as the drawing used to build it.
        const PlacedOutline bare(row.z, flank, row.internal);
        std::vector<double> whole;
        for (const PointXY& p : bare.Points()) {
            whole.insert(whole.end(), {p.X, p.Y});
        }
        if (row.placement.turn) {
            const double c = std::cos(*row.placement.turn);
            const double s = std::sin(*row.placement.turn);
            for (std::size_t i = 0; i + 1 < whole.size(); i += 2) {
                const double x = whole[i];
                const double y = whole[i + 1];
                whole[i] = x * c + y * s;
                whole[i + 1] = -x * s + y * c;
            }
        }
        for (std::size_t i = 0; row.placement.moveX && i < whole.size(); i += 2) {
            whole[i] = whole[i] + *row.placement.moveX;
        }
        const PlacedOutline placed(row.z, flank, row.internal, row.placement);
        const Polyline points = placed.Points();
        ASSERT_EQ(points.size(), placed.Size());
        ASSERT_EQ(2 * points.size(), whole.size());
        EXPECT_EQ(std::memcmp(points.data(), whole.data(), whole.size() * sizeof(double)), 0);

        const testing::TempFolder folder;
        ASSERT_TRUE(DxfWriteDrawing(folder.File("placed.dxf"), {&placed}, {0}).ok());
        ASSERT_TRUE(DxfWritePolylines(folder.File("points.dxf"), {&points}, {0}).ok());
        EXPECT_EQ(ReadFile(folder.File("placed.dxf")), ReadFile(folder.File("points.dxf")));
    }
}

// A text longer than the writer's buffer takes (a designer may paste anything into the accuracy
// box) goes out whole, between its group code and the next group.
TEST(DxfTable, TextLongerThanTheBufferIsWrittenWhole) {
    const testing::TempFolder folder;
    const std::string text(300 * 1024, 'A');
    DxfTableDrawing table;
    table.texts.push_back({1, 2, 3.5, text});
    ASSERT_TRUE(DxfWriteTable(folder.File("table.dxf"), table).ok());
    const std::string bytes = ReadFile(folder.File("table.dxf"));
    EXPECT_NE(bytes.find("40\r\n3.5\r\n1\r\n" + text + "\r\n0\r\nENDSEC\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tarvo
