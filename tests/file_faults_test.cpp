// The drawing file under faults: what may be replaced (regular files, links to them, a dangling
// link's name) and what is refused untouched (devices, pipes, sockets, folders); the old file's
// owner and mode; signals during a write; the report reading the bytes written, not the path;
// the reader's line limit; and the Russian reason for each refusal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "app/os_reason.h"
#include "app/startup.h"
#include "builder_calls.h"
#include "cli/cli_run.h"
#include "drawing/builder_call.h"
#include "drawing/dxf_reader.h"
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

void MakeSocket(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    close(fd);
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
    MakeSocket(f + "sock");
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
        {"socket", "sock", S_IFSOCK, notRegular, nullptr},
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

// A character device (made here, not the machine's own) is refused and stays a device; needs
// root to make one.
TEST(FileFaults, DeviceIsRefusedUntouched) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "making a device node needs root; run the tests as root to check this";
    }
    const TempFolder folder;
    const std::string device = folder.File("null"), link = folder.File("tonull");
    ASSERT_EQ(mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    fs::create_symlink(device, link);
    for (const std::string& target : {device, link}) {
        SCOPED_TRACE(target);
        const WriteOutcome out = DxfWritePolylines(target, {&kSquare}, {0});
        ASSERT_FALSE(out.ok());
        EXPECT_EQ(out.fault(), MakeErrorCode(FileRefusal::NotRegularFile));
        EXPECT_EQ(KindOf(device), static_cast<mode_t>(S_IFCHR));
    }
    EXPECT_EQ(Leftovers(folder.Path()), 0);
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

// The data sheet describes the drawing that was written even when the path names another file
// by the time it is read: here a 20/40 pair is replaced by a spline before the report.
TEST(FileFaults, ReportReadsTheBytesWritten) {
    const TempFolder folder;
    MainMod state;
    InitMainMod(state);
    state.OutFile = folder.File("pair.dxf");
    const BuilderCall call = ExternalPair(20, 40, 2).Profile(state.Alfa);
    const DrawResult drawn = RunBuilder(state, call);
    ASSERT_TRUE(drawn.ok());
    const std::string bytes = ReadFile(state.OutFile);
    const std::string other = folder.File("other.dxf");
    ASSERT_TRUE(DxfWritePolylines(other, {&kSquare}, {0}).ok());
    fs::rename(other, state.OutFile);
    const DxfReadResult read = ReadWrittenDrawing(drawn.value());
    ASSERT_TRUE(read.ok());
    ASSERT_EQ(read->polylines.size(), 2u);
    const DxfReadResult original = ParseDxf(bytes);
    ASSERT_TRUE(original.ok());
    for (std::size_t k = 0; k < 2; ++k) {
        const std::vector<PointXY>& got = read->polylines[k].points;
        const std::vector<PointXY>& want = original->polylines[k].points;
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            ASSERT_EQ(std::make_pair(got[i].X, got[i].Y), std::make_pair(want[i].X, want[i].Y));
        }
    }
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
    EXPECT_EQ(ParseDxf("0\r\nSECTION\r\n999\r\n" + std::string(kDxfMaxLineBytes, 'x') +
                       "\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n")
                  .ok(),
              true);
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

// tarvo-cli's words for the targets a careless command line names, and its exit status. (A
// missing folder: the CliRun suite.)
TEST(FileFaults, CliRefusesSpecialTargetsInRussian) {
    const TempFolder folder;
    ASSERT_EQ(mkfifo(folder.File("pipe").c_str(), 0644), 0);
    struct Row {
        std::string target;
        const char* words;
    };
    const Row rows[] = {
        {".", "по этому пути находится папка, а не файл"},
        {folder.File("pipe"), "не обычный файл"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.target);
        const testing::CliRun run =
            testing::RunCli("pair --mesh external --module 2 --z1 20 --z2 40 -o " + row.target);
        EXPECT_EQ(run.status, kCliNotDrawn);
        EXPECT_NE(run.err.find(row.words), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace tarvo
