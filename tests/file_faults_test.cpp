// The drawing file under faults: what may be replaced (regular files, links to them, a dangling
// link's name) and what is refused untouched (pipes, folders and whatever else is not a regular
// file); the old file's owner and mode; signals during a write; a write failing part way; a text
// longer than the writer's buffer; the report reading the bytes written, not the path; the
// reader's line limit; and the Russian reason for each refusal. (The drawings' bytes are pinned
// by the golden drawings, their line counts by the ezdxf read-back of tarvo-cli's files.)
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "app/os_reason.h"
#include "app/startup.h"
#include "builder_calls.h"
#include "drawing/builder_call.h"
#include "drawing/dxf_reader.h"
#include "drawing/dxf_table.h"
#include "drawing/dxf_writer.h"
#include "drawing/file_error.h"
#include "drawing/safe_file.h"
#include "report/data_sheet.h"
#include "report/read_text.h"
#include "test_files.h"

namespace tarvo {
namespace {

using testing::ExternalPair;

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

const Polyline kSquare{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};

// Hidden temporary files left in `folder`.
int Leftovers(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        count += entry.path().filename().string().rfind(".tarvo-", 0) == 0 ? 1 : 0;
    }
    return count;
}

// The kind of the entry at `path` itself (a link is a link).
mode_t KindOf(const std::string& path) {
    struct stat entry {};
    return lstat(path.c_str(), &entry) == 0 ? (entry.st_mode & S_IFMT) : 0;
}

// Every kind of target: written, or refused with the entry left as it was and no temporary
// file. `written` names the file that must then hold the drawing.
TEST(FileFaults, OnlyRegularFilesAreWritten) {
    const TempFolder folder;
    const std::string f = folder.File("");
    // Every entry the rows write to, each under a name of its own.
    fs::create_directories(f + "sub");
    WriteFile(f + "old.dxf", "old");
    WriteFile(f + "sub/real.dxf", "old");
    fs::create_symlink("sub/real.dxf", f + "live");
    fs::create_symlink("missing.dxf", f + "dangling");
    fs::create_symlink("sub/next", f + "first");
    fs::create_symlink("end.dxf", f + "sub/next");
    ASSERT_EQ(mkfifo((f + "fifo").c_str(), 0644), 0);
    fs::create_symlink("fifo", f + "tofifo");
    fs::create_symlink("sub", f + "tosub");
    fs::create_symlink("loop", f + "loop");
    struct Row {
        const char* name;
        const char* target;     // what the drawing is written to
        mode_t kind;            // of the entry `kept`, the target unless named
        std::error_code error;  // empty: written
        const char* written;    // with no error: the file that holds the drawing
        const char* kept = nullptr;
    };
    const std::error_code notRegular = MakeErrorCode(FileRefusal::NotRegularFile);
    const std::error_code isFolder(EISDIR, std::system_category());
    const Row rows[] = {
        {"absent", "new.dxf", S_IFREG, {}, "new.dxf"},
        {"regular", "old.dxf", S_IFREG, {}, "old.dxf"},
        {"live link", "live", S_IFLNK, {}, "sub/real.dxf"},
        {"dangling link", "dangling", S_IFLNK, {}, "missing.dxf"},
        {"dangling chain into a folder", "first", S_IFLNK, {}, "sub/end.dxf", "sub/next"},
        {"fifo", "fifo", S_IFIFO, notRegular, nullptr},
        {"link to a fifo", "tofifo", S_IFIFO, notRegular, nullptr, "fifo"},
        {"folder", "sub", S_IFDIR, isFolder, nullptr},
        {"link to a folder", "tosub", S_IFLNK, isFolder, nullptr},
        {"link loop", "loop", S_IFLNK, std::error_code(ELOOP, std::system_category()), nullptr},
        {"a file taken for a folder", "old.dxf/x.dxf", S_IFREG,
         std::error_code(ENOTDIR, std::system_category()), nullptr, "old.dxf"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const WriteOutcome out = DxfWritePolylines(f + row.target, {&kSquare}, {0});
        if (row.error) {
            ASSERT_FALSE(out.ok());
            EXPECT_EQ(out.fault(), row.error);
        } else {
            ASSERT_TRUE(out.ok()) << out.fault().message();
            EXPECT_EQ(KindOf(f + row.written), static_cast<mode_t>(S_IFREG));
            EXPECT_EQ(ReadDxfFile(f + row.written)->polylines.size(), 1u);
        }
        EXPECT_EQ(KindOf(f + (row.kept ? row.kept : row.target)), row.kind);
        EXPECT_EQ(Leftovers(folder.Path()) + Leftovers(folder.Path() / "sub"), 0);
    }
}

// Each step of a SafeFile says how it went: a failed open leaves nothing to write or commit,
// and those steps fail too (they once reported nothing new, leaving the caller to fish for an
// error set earlier); a good one writes, commits and hands over the file written.
TEST(FileFaults, SafeFileStepsSayHowTheyWent) {
    const TempFolder folder;
    SafeFile missing;
    const FileStep opened = missing.Open(folder.File("none/p.dxf"));
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(opened.fault(), std::error_code(ENOENT, std::system_category()));
    const FileStep wrote = missing.Write("x", 1);
    ASSERT_FALSE(wrote.ok());
    EXPECT_EQ(wrote.fault(), std::error_code(EBADF, std::system_category()));
    EXPECT_FALSE(missing.Commit().ok());

    SafeFile good;
    ASSERT_TRUE(good.Open(folder.File("p.dxf")).ok());
    ASSERT_TRUE(good.Write("drawing", 7).ok());
    const auto committed = good.Commit();
    ASSERT_TRUE(committed.ok());
    EXPECT_TRUE(committed->Held());
    EXPECT_EQ(ReadFile(folder.File("p.dxf")), "drawing");
    // Committed once: nothing is left open to commit again.
    EXPECT_FALSE(good.Commit().ok());
    EXPECT_EQ(Leftovers(folder.Path()), 0);

    const auto target = ResolveWriteTarget(folder.Path().string() + "/");
    ASSERT_FALSE(target.ok());
    EXPECT_EQ(target.fault(), std::error_code(EISDIR, std::system_category()));
}

// The new file takes the old one's permission bits without set-user-ID, set-group-ID and
// sticky; a new file gets what the umask leaves of rw-rw-rw-.
TEST(FileFaults, ModeIsKeptWithoutSpecialBits) {
    const TempFolder folder;
    const std::string old = folder.File("old.dxf"), fresh = folder.File("fresh.dxf");
    struct Row {
        mode_t before, after;
    };
    for (const Row row : {Row{06754, 0754}, Row{01600, 0600}, Row{0444, 0444}, Row{0640, 0640}}) {
        SCOPED_TRACE(row.before);
        WriteFile(old, "old");
        ASSERT_EQ(chmod(old.c_str(), row.before), 0);
        ASSERT_TRUE(DxfWritePolylines(old, {&kSquare}, {0}).ok());
        struct stat now {};
        ASSERT_EQ(stat(old.c_str(), &now), 0);
        EXPECT_EQ(now.st_mode & 07777, row.after);
    }
    const mode_t saved = umask(027);
    const bool written = DxfWritePolylines(fresh, {&kSquare}, {0}).ok();
    umask(saved);
    ASSERT_TRUE(written);
    struct stat now {};
    ASSERT_EQ(stat(fresh.c_str(), &now), 0);
    EXPECT_EQ(now.st_mode & 07777, 0640u);
}

// Rewriting another user's file as root keeps it theirs.
TEST(FileFaults, OwnerIsKeptAsRoot) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another user needs root; run the tests as root";
    }
    const TempFolder folder;
    const std::string file = folder.File("users.dxf");
    WriteFile(file, "old");
    ASSERT_EQ(chown(file.c_str(), 65534, 65534), 0);
    ASSERT_TRUE(DxfWritePolylines(file, {&kSquare}, {0}).ok());
    struct stat now {};
    ASSERT_EQ(stat(file.c_str(), &now), 0);
    EXPECT_EQ(now.st_uid, 65534u);
    EXPECT_EQ(now.st_gid, 65534u);
}

// SIGINT, SIGTERM and SIGHUP in the middle of a write end the process with that signal and
// leave the old file and no temporary one; a SIGHUP the process ignores (nohup) lets the write
// finish. Each case runs in a child process.
TEST(FileFaults, SignalsRemoveTheTemporaryFile) {
    const TempFolder folder;
    const std::string file = folder.File("kept.dxf");
    struct Row {
        int signal;
        bool ignored;
    };
    for (const Row row :
         {Row{SIGINT, false}, Row{SIGTERM, false}, Row{SIGHUP, false}, Row{SIGHUP, true}}) {
        SCOPED_TRACE(row.signal);
        WriteFile(file, "old");
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(row.signal, row.ignored ? SIG_IGN : SIG_DFL);
            SafeFile safe;
            if (!safe.Open(file).ok() || !safe.Write("half", 4).ok()) {
                _exit(3);
            }
            raise(row.signal);
            _exit(safe.Write("\n", 1).ok() && safe.Commit().ok() ? 0 : 4);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        if (row.ignored) {
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), 0);
            EXPECT_EQ(ReadFile(file), "half\n");
        } else {
            ASSERT_TRUE(WIFSIGNALED(status));
            EXPECT_EQ(WTERMSIG(status), row.signal);
            EXPECT_EQ(ReadFile(file), "old");
        }
        EXPECT_EQ(Leftovers(folder.Path()), 0);
    }
    // The handlers are the process's own again after a write.
    struct sigaction now {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

// A write failing part way as on a full disk (a lowered file size limit: the writer ignores
// SIGXFSZ, so the write fails with EFBIG) keeps the old file and leaves no temporary one.
TEST(FileFaults, FailedWriteKeepsTheOldFile) {
    const TempFolder folder;
    const std::string kept = folder.File("kept.dxf");
    WriteFile(kept, "old");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit lowered = saved;
    lowered.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &lowered);
    const Polyline big(200000, PointXY{0.5, 0.5});
    const WriteOutcome full = DxfWritePolylines(kept, {&big}, {0});
    setrlimit(RLIMIT_FSIZE, &saved);
    ASSERT_FALSE(full.ok());
    EXPECT_EQ(full.fault(), std::error_code(EFBIG, std::system_category()));
    EXPECT_EQ(ReadFile(kept), "old");
    EXPECT_EQ(Leftovers(folder.Path()), 0);
}

// A text longer than the writer's buffer takes (a designer may paste anything into the accuracy
// box) goes out whole, between its group code and the next group.
TEST(FileFaults, TextLongerThanTheBufferIsWrittenWhole) {
    const TempFolder folder;
    const std::string text(300 * 1024, 'A');
    DxfTableDrawing table;
    table.texts.push_back({1, 2, 3.5, text});
    ASSERT_TRUE(DxfWriteTable(folder.File("table.dxf"), table).ok());
    const std::string bytes = ReadFile(folder.File("table.dxf"));
    EXPECT_NE(bytes.find("40\r\n3.5\r\n1\r\n" + text + "\r\n0\r\nENDSEC\r\n"), std::string::npos);
}

// The data sheet describes the drawing that was written even when the path names another file
// by the time it is read: here a 20/40 pair is replaced by a square before the report.
TEST(FileFaults, ReportReadsTheBytesWritten) {
    const TempFolder folder;
    MainMod state;
    InitMainMod(state);
    state.OutFile = folder.File("pair.dxf");
    const BuilderCall call = ExternalPair(20, 40, 2).Profile(state.Alfa);
    const DrawResult drawn = RunBuilder(state, call);
    ASSERT_TRUE(drawn.ok());
    const std::string other = folder.File("other.dxf");
    ASSERT_TRUE(DxfWritePolylines(other, {&kSquare}, {0}).ok());
    fs::rename(other, state.OutFile);
    const DxfReadResult read = ReadWrittenDrawing(drawn.value());
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->polylines.size(), 2u);
    const DataSheetResult sheet = DataSheetOfWritten(state, call, drawn.value());
    ASSERT_TRUE(sheet.ok()) << sheet.fault();
    EXPECT_EQ(sheet->wheels[0].z, 20);
    EXPECT_EQ(sheet->wheels[1].z, 40);
}

// A line longer than the limit is refused with its number, without reading the rest: a sparse
// file of two gigabytes without a line feed stops at line 1 after the first block.
TEST(FileFaults, ReaderRefusesOverlongLines) {
    const std::string longLine(kDxfMaxLineBytes + 1, '7');
    struct Row {
        const char* name;
        std::string text;
        std::size_t line;
    };
    const Row rows[] = {
        {"group code", "0\r\nSECTION\r\n" + longLine + "\r\n", 3},
        {"value", "0\r\nSECTION\r\n10\r\n" + longLine + "\r\n", 4},
        {"last line without a line end", "0\r\nSECTION\r\n0\r\n" + longLine, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DxfReadResult read = ParseDxf(row.text);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.fault().fault, DxfReadFault::LineTooLong);
        EXPECT_EQ(read.fault().line, row.line);
        EXPECT_NE(DescribeDxfRead(read.fault()).find("строка " + std::to_string(row.line)),
                  std::string::npos);
    }
    // A line of exactly the limit is read.
    EXPECT_TRUE(ParseDxf("0\r\nSECTION\r\n999\r\n" + std::string(kDxfMaxLineBytes, 'x') +
                         "\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n")
                    .ok());
    const TempFolder folder;
    const std::string sparse = folder.File("sparse.dxf");
    {
        const int fd = open(sparse.c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, 2LL << 30), 0);
        close(fd);
    }
    const DxfReadResult read = ReadDxfFile(sparse);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.fault().fault, DxfReadFault::LineTooLong);
    EXPECT_EQ(read.fault().line, 1u);
}

// Every refusal a designer can meet on saving is worded in Russian; the system's words appear
// only inside the sentence for an error nobody expects.
TEST(FileFaults, ReasonsAreRussian) {
    const auto russian = [](const std::string& text) {
        return text.find("\xD0") != std::string::npos || text.find("\xD1") != std::string::npos;
    };
    for (const int code :
         {ENOENT, ENOTDIR, EACCES, EPERM,  ENOSPC, EDQUOT, EROFS,   ENAMETOOLONG, EISDIR, EBUSY,
          EFBIG,  ELOOP,   EIO,    EEXIST, EMFILE, ENFILE, ETXTBSY, EXDEV,        ENOMEM, EINVAL}) {
        const std::error_code error(code, std::system_category());
        SCOPED_TRACE(error.message());
        const std::string words = RussianOsReason(error);
        EXPECT_TRUE(russian(words));
        EXPECT_EQ(words.find(error.message()), std::string::npos);
        EXPECT_EQ(RussianOsReason(std::error_code(code, std::generic_category())), words);
    }
    EXPECT_NE(RussianOsReason(MakeErrorCode(FileRefusal::NotRegularFile)).find("не обычный файл"),
              std::string::npos);
    const std::error_code odd(EPROTO, std::system_category());
    EXPECT_EQ(RussianOsReason(odd), "ошибка файловой системы (" + odd.message() + ")");
}

}  // namespace
}  // namespace tarvo
