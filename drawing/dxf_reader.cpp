// Reads a drawing back group by group, a block of text at a time: a group code line, then its
// value line. An entity ends where the next group 0 begins; only then are its groups turned into
// a polyline, a vertex or a line, so the order of the groups within an entity does not matter.
// The text is read once and never held whole, so a drawing of millions of vertices reads back in
// about the memory its points take.
#include "drawing/dxf_reader.h"

#include <sys/stat.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "drawing/dxf_real.h"

namespace tarvo {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool ReadInt(std::string_view text, int& value) {
    // Nearly every code line of a drawing: one to three digits, perhaps a CR.
    std::size_t n = text.size();
    if (n > 0 && text[n - 1] == '\r') {
        --n;
    }
    if (n >= 1 && n <= 3) {
        int v = 0;
        std::size_t i = 0;
        while (i < n && text[i] >= '0' && text[i] <= '9') {
            v = v * 10 + (text[i] - '0');
            ++i;
        }
        if (i == n) {
            value = v;
            return true;
        }
    }
    text = Trim(text);
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size();
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The file's lines one after another, split at LF (a CR before it stays on the line), read a
// block at a time. A line is valid until the next one is asked for. The block is kept small
// enough to stay in the processor's cache, since every byte is looked at twice (its line end,
// then its number); it grows only to hold a line longer than itself.
//
// The line ends are found 64 bytes at a time, as a mask with one bit per LF, and each line then
// takes the lowest bit left: a drawing's lines are a few characters long and of every length,
// and a search that stops at each of them costs more in mispredicted branches than the bytes.
class BlockLines {
  public:
    BlockLines(std::FILE* file, std::size_t blockBytes)
        : file_(file), block_(blockBytes + kWindowBytes) {}

    bool Next(std::string_view& line) {
        if (begin_ >= whole_) {
            return NextAfterRefill(line);
        }
        // A line ends at or before the last LF in the block, so a window with one comes.
        while (lfs_ == 0) {
            window_ += kWindowBytes;
            lfs_ = LineEnds(window_);
        }
        const std::size_t lf = window_ + static_cast<std::size_t>(__builtin_ctzll(lfs_));
        lfs_ &= lfs_ - 1;
        const char* from = block_.data() + begin_;
        const std::size_t length = lf - begin_;
        if (length > kDxfMaxLineBytes && TooLong(from, length)) {
            return false;
        }
        line = std::string_view(from, length);
        begin_ = lf + 1;
        return true;
    }

    // The line after the last one returned is longer than kDxfMaxLineBytes.
    bool TooLong() const { return tooLong_; }

    // No line is left: what a caller sees after the last line of the file.
    bool AtEnd() {
        while (begin_ == end_ && !ended_) {
            Refill();
        }
        return begin_ == end_;
    }

    // Bytes of the file taken so far, up to the end of the last line returned.
    std::size_t Offset() const { return dropped_ + begin_; }

  private:
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the first byte is the lowest");
    // The bytes one mask covers; the block has as many more than it is filled with, so that
    // the last window reads no further than the block.
    static constexpr std::size_t kWindowBytes = 64;
    static constexpr std::size_t kWordBytes = 8;

    // The LFs among the 64 bytes from `at` that stand before whole_, one bit each (bit i for
    // byte at + i). Per word of eight bytes: a byte equal to LF becomes zero after the XOR;
    // adding 0x7F to the low seven bits of a byte sets its top bit unless they are all zero,
    // so the top bit stays clear exactly for a zero byte; a multiplication gathers the eight
    // top bits into one byte.
    std::uint64_t LineEnds(std::size_t at) const {
        std::uint64_t bits = 0;
#if defined(__SSE2__)
        const __m128i lfs = _mm_set1_epi8('\n');
        for (std::size_t k = 0; k < kWindowBytes / 16; ++k) {
            const __m128i bytes =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(block_.data() + at + k * 16));
            const auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lfs)));
            bits |= static_cast<std::uint64_t>(found) << (k * 16);
        }
#else
        constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7Fu;
        constexpr std::uint64_t kLfs = 0x0A0A0A0A0A0A0A0Au;
        constexpr std::uint64_t kGather = 0x0102040810204080u;
        for (std::size_t k = 0; k < kWindowBytes / kWordBytes; ++k) {
            std::uint64_t word = 0;
            std::memcpy(&word, block_.data() + at + k * kWordBytes, kWordBytes);
            const std::uint64_t x = word ^ kLfs;
            const std::uint64_t zeros = ~(((x & kLows) + kLows) | x | kLows);
            bits |= (((zeros >> 7) * kGather) >> 56) << (k * kWordBytes);
        }
#endif
        if (at + kWindowBytes > whole_) {
            const std::size_t kept = whole_ > at ? whole_ - at : 0;  // below kWindowBytes
            bits &= (std::uint64_t{1} << kept) - 1;
        }
        return bits;
    }

    // Marks a line of `length` bytes (its LF excluded, or none seen yet) too long when it is so
    // without a final CR.
    bool TooLong(const char* from, std::size_t length) {
        const bool cr = length > 0 && from[length - 1] == '\r';
        tooLong_ = length - (cr ? 1 : 0) > kDxfMaxLineBytes;
        return tooLong_;
    }

    // No whole line is left in the block: read on until one is, or the file ends. Kept out of
    // line, so that Next, called twice for every group, stays small enough to inline.
    [[gnu::noinline]] bool NextAfterRefill(std::string_view& line) {
        for (;;) {
            if (begin_ < whole_) {
                return Next(line);
            }
            const char* from = block_.data() + begin_;
            const std::size_t length = end_ - begin_;
            if (TooLong(from, length)) {
                return false;  // not read further: the caller refuses the file
            }
            if (ended_) {
                if (length == 0) {
                    return false;
                }
                line = std::string_view(from, length);  // the last line, without LF
                begin_ = end_;
                return true;
            }
            Refill();
        }
    }

    // Room for the bytes read.
    std::size_t Room() const {
        return block_.size() - kWindowBytes;
    }

    void Refill() {
        std::memmove(block_.data(), block_.data() + begin_, end_ - begin_);
        dropped_ += begin_;
        end_ -= begin_;
        begin_ = 0;
        if (end_ == Room()) {
            block_.resize(2 * Room() + kWindowBytes);  // a line longer than the block
        }
        const std::size_t got = std::fread(block_.data() + end_, 1, Room() - end_, file_);
        const void* lastLf = got > 0 ? memrchr(block_.data() + end_, '\n', got) : nullptr;
        end_ += got;
        whole_ =
            lastLf != nullptr  // the part kept from before holds no LF
                ? static_cast<std::size_t>(static_cast<const char*>(lastLf) - block_.data()) + 1
                : 0;
        window_ = 0;
        lfs_ = LineEnds(0);
        ended_ = got == 0;  // the end of the file, or a read error the caller asks ferror about
    }

    std::FILE* file_;
    std::vector<char> block_;
    std::size_t begin_ = 0;    // the next line starts here
    std::size_t whole_ = 0;    // just past the last LF in the block (0: none)
    std::size_t end_ = 0;      // the bytes read end here
    std::size_t dropped_ = 0;  // bytes of the file before the block's first
    std::size_t window_ = 0;   // the 64 bytes whose LFs are in lfs_ start here
    std::uint64_t lfs_ = 0;    // the LFs of the window from begin_ on, not yet taken
    bool ended_ = false;
    bool tooLong_ = false;
};

// The entities the reader tells apart; all others are passed over.
enum class EntityKind { None, Section, EndSection, Eof, Polyline, Vertex, SeqEnd, Line, Other };

EntityKind KindOf(std::string_view type) {
    switch (type.size()) {
        case 0:
            return EntityKind::None;  // a blank entity name: its groups are passed over
        case 3:
            return type == "EOF" ? EntityKind::Eof : EntityKind::Other;
        case 4:
            return type == "LINE" ? EntityKind::Line : EntityKind::Other;
        case 6:
            return type == "VERTEX"   ? EntityKind::Vertex
                   : type == "SEQEND" ? EntityKind::SeqEnd
                   : type == "ENDSEC" ? EntityKind::EndSection
                                      : EntityKind::Other;
        case 7:
            return type == "SECTION" ? EntityKind::Section : EntityKind::Other;
        case 8:
            return type == "POLYLINE" ? EntityKind::Polyline : EntityKind::Other;
        default:
            return EntityKind::Other;
    }
}

// The groups of the entity being read that the reader keeps.
struct Entity {
    EntityKind kind = EntityKind::None;
    std::size_t line = 0;        // where its group 0 stands
    std::string layer;           // of a polyline or a line (a vertex's own layer is not kept)
    bool namesEntities = false;  // a SECTION whose name (group 2) is ENTITIES
    double x10 = 0, y20 = 0, x11 = 0, y21 = 0;
    bool has10 = false, has20 = false, has11 = false, has21 = false;
};

// A polyline's array is sized from the bytes its first vertices took and the bytes left in the
// file, once this many are read: enough to average over a few teeth of an outline.
constexpr std::size_t kVertexSample = 1024;
// The room made for the rest over the estimate, so that an uneven rest (shorter numbers near
// the axes) still fits. Room beyond the vertices stored is never written, so the operating
// system gives it no memory: it costs address space, not the resident size.
constexpr double kVertexRoom = 1.25;

// The drawing kept whole: every polyline's points in an array sized from the file.
class DrawingSink final : public DxfSink {
  public:
    void Polyline(const std::string& layer, std::size_t at, std::size_t fileBytes) override {
        drawing_.polylines.push_back({layer, {}});
        polylineStart_ = at;
        fileBytes_ = fileBytes;
    }
    void Vertex(PointXY p, std::size_t at, std::size_t /*fileBytes*/) override {
        std::vector<PointXY>& points = drawing_.polylines.back().points;
        if (points.size() == points.capacity()) {
            MakeRoom(points, at);
        }
        points.push_back(p);
    }
    void PolylineEnd() override {}
    void Line(const DxfLine& line) override { drawing_.lines.push_back(line); }

    DxfDrawing Take() { return std::move(drawing_); }

  private:
    void MakeRoom(std::vector<PointXY>& points, std::size_t at) const;

    DxfDrawing drawing_;
    std::size_t polylineStart_ = 0;  // where the open polyline's vertices begin in the file
    std::size_t fileBytes_ = 0;
};

// One pass over the text: every group checked, each entity handed to the sink as it ends.
class Pass {
  public:
    Pass(std::FILE* file, std::size_t blockBytes, std::size_t fileBytes, DxfSink& sink)
        : lines_(file, blockBytes), fileBytes_(fileBytes), sink_(sink) {}

    DxfStreamResult Run();

  private:
    // Records the first fault met; the pass stops there.
    DxfStreamResult Fail(std::size_t line, DxfReadFault fault, const std::string& detail = {}) {
        error_ = {fault, line, detail};
        return Stopped();
    }
    DxfStreamResult Stopped() const { return DxfStreamResult::Failure(error_); }

    bool Coordinate(std::string_view line, std::size_t codeLine, double& target, bool& has);
    bool Group(int group, std::string_view value, std::size_t line);
    bool Finish();
    bool FinishEntity(const Entity& e);

    BlockLines lines_;
    std::size_t fileBytes_;  // the file's size, 0 when not known
    DxfSink& sink_;
    std::size_t lineNumber_ = 0;
    Entity entity_;
    bool inEntities_ = false;
    bool open_ = false;  // inside a polyline: between POLYLINE and SEQEND
    bool eof_ = false;
    DxfReadError error_;
};

DxfStreamResult Pass::Run() {
    std::string_view code;
    std::string_view value;
    while (lines_.Next(code)) {
        const std::size_t codeLine = ++lineNumber_;
        int group = 0;
        const bool codeIsNumber = ReadInt(code, group);  // the view ends with the next line
        const bool blank = !codeIsNumber && Trim(code).empty();
        if (blank && lines_.AtEnd()) {
            break;  // the empty rest after the last line end
        }
        if (!lines_.Next(value)) {
            if (lines_.TooLong()) {
                return Fail(codeLine + 1, DxfReadFault::LineTooLong,
                            std::to_string(kDxfMaxLineBytes));
            }
            return Fail(codeLine, DxfReadFault::CodeWithoutValue);
        }
        ++lineNumber_;
        if (!codeIsNumber) {
            return Fail(codeLine, DxfReadFault::CodeNotNumber);
        }
        if (!Group(group, value, codeLine)) {
            return Stopped();
        }
        if (eof_) {
            break;
        }
    }
    if (lines_.TooLong()) {
        return Fail(lineNumber_ + 1, DxfReadFault::LineTooLong, std::to_string(kDxfMaxLineBytes));
    }
    if (!eof_ && !Finish()) {
        return Stopped();
    }
    if (!eof_) {
        return Fail(lineNumber_, DxfReadFault::NoEof);
    }
    if (open_) {
        return Fail(lineNumber_, DxfReadFault::PolylineNotEnded);
    }
    return DxfStreamed{};
}

bool Pass::Coordinate(std::string_view line, std::size_t codeLine, double& target, bool& has) {
    const std::string_view value = Trim(line);
    if (!ReadDxfReal(value, target)) {
        Fail(codeLine + 1, DxfReadFault::CoordinateNotNumber, std::string(value));
        return false;
    }
    has = true;
    return true;
}

// `value` as it stands on its line: trimmed here only for the groups kept.
bool Pass::Group(int group, std::string_view value, std::size_t line) {
    switch (group) {
        case 0:
            if (!Finish()) {
                return false;
            }
            entity_.kind = KindOf(Trim(value));
            entity_.line = line;
            entity_.layer.clear();
            entity_.namesEntities = false;
            entity_.has10 = entity_.has20 = entity_.has11 = entity_.has21 = false;
            return true;
        case 2:
            if (entity_.kind == EntityKind::Section) {
                entity_.namesEntities = Trim(value) == "ENTITIES";
            }
            return true;
        case 8:
            if (entity_.kind == EntityKind::Polyline || entity_.kind == EntityKind::Line) {
                entity_.layer.assign(Trim(value));
            }
            return true;
        case 10:
            return Coordinate(value, line, entity_.x10, entity_.has10);
        case 20:
            return Coordinate(value, line, entity_.y20, entity_.has20);
        case 11:
            return Coordinate(value, line, entity_.x11, entity_.has11);
        case 21:
            return Coordinate(value, line, entity_.y21, entity_.has21);
        default:
            return true;  // colour, linetype, flags, subclass markers: not drawn here
    }
}

// Sections and the end of the file; the drawn entities in FinishEntity.
bool Pass::Finish() {
    const Entity& e = entity_;
    switch (e.kind) {
        case EntityKind::None:
            return true;
        case EntityKind::Section:
            inEntities_ = e.namesEntities;
            return true;
        case EntityKind::EndSection:
            if (open_) {
                Fail(e.line, DxfReadFault::PolylineNotEnded);
                return false;
            }
            inEntities_ = false;
            return true;
        case EntityKind::Eof:
            eof_ = true;
            return true;
        case EntityKind::Polyline:
        case EntityKind::Vertex:
        case EntityKind::SeqEnd:
        case EntityKind::Line:
        case EntityKind::Other:
            return !inEntities_ || FinishEntity(e);  // blocks and tables hold nothing drawn as is
    }
    return true;
}

// Makes room in a full array for the rest of its polyline. The first vertices grow it as
// usual; then it is sized once for the vertices the bytes left would hold at the size of those
// read so far, so a large outline is never copied to an array twice its size.
void DrawingSink::MakeRoom(std::vector<PointXY>& points, std::size_t at) const {
    const std::size_t n = points.size();
    const std::size_t doubled = std::max<std::size_t>(2 * n, 16);
    if (n < kVertexSample || fileBytes_ <= at || at <= polylineStart_) {
        points.reserve(doubled);
        return;
    }
    // Every vertex took at least 19 bytes (group 0 "VERTEX", a 10 and a 20 of one digit each),
    // so the room asked for is at most about the file's size in bytes.
    const double bytesEach = static_cast<double>(at - polylineStart_) / static_cast<double>(n);
    const double rest = static_cast<double>(fileBytes_ - at) / bytesEach * kVertexRoom;
    const std::size_t room = n + std::max(static_cast<std::size_t>(rest) + 1, n / 2);
    try {
        points.reserve(room);
    } catch (const std::bad_alloc&) {
        // No room that large (a file far larger than memory, mostly other entities after
        // this polyline): grow as usual instead.
        points.reserve(doubled);
    }
}

bool Pass::FinishEntity(const Entity& e) {
    switch (e.kind) {
        case EntityKind::Polyline:
            if (open_) {
                Fail(e.line, DxfReadFault::PolylineInPolyline);
                return false;
            }
            sink_.Polyline(e.layer, lines_.Offset(), fileBytes_);
            open_ = true;
            return true;
        case EntityKind::Vertex: {
            if (!open_) {
                Fail(e.line, DxfReadFault::VertexOutsidePolyline);
                return false;
            }
            if (!e.has10 || !e.has20) {
                Fail(e.line, DxfReadFault::VertexWithoutCoordinates);
                return false;
            }
            sink_.Vertex({e.x10, e.y20}, lines_.Offset(), fileBytes_);
            return true;
        }
        case EntityKind::SeqEnd:
            if (!open_) {
                Fail(e.line, DxfReadFault::SeqendWithoutPolyline);
                return false;
            }
            open_ = false;
            sink_.PolylineEnd();
            return true;
        case EntityKind::Line:
            if (!e.has10 || !e.has20 || !e.has11 || !e.has21) {
                Fail(e.line, DxfReadFault::LineWithoutCoordinates);
                return false;
            }
            sink_.Line({e.layer, {e.x10, e.y20}, {e.x11, e.y21}});
            return true;
        case EntityKind::None:
        case EntityKind::Section:
        case EntityKind::EndSection:
        case EntityKind::Eof:
        case EntityKind::Other:
            return true;
    }
    return true;
}

DxfStreamResult Failed(DxfReadFault fault, const std::string& path) {
    return DxfStreamResult::Failure({fault, 0, path});
}

// The size of an open file, or 0 when it has none to tell (a pipe).
std::size_t FileBytes(std::FILE* file) {
    struct stat status {};
    const int fd = fileno(file);
    if (fd < 0 || fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
        return 0;
    }
    return static_cast<std::size_t>(status.st_size);
}

// One pass over an open file; `path` names it in a read fault.
DxfStreamResult StreamOpen(std::FILE* file, const std::string& path, DxfSink& sink,
                           std::size_t blockBytes) {
    const DxfStreamResult result =
        Pass(file, std::max<std::size_t>(blockBytes, 1), FileBytes(file), sink).Run();
    if (std::ferror(file) != 0) {
        return Failed(DxfReadFault::CannotRead, path);
    }
    return result;
}

// The drawing a streamed read kept, or its fault.
DxfReadResult Kept(const DxfStreamResult& streamed, DrawingSink& sink) {
    if (!streamed.ok()) {
        return DxfReadResult::Failure(streamed.fault());
    }
    return sink.Take();
}

}  // namespace

DxfReadResult ParseDxf(std::string_view text) {
    if (text.empty()) {
        return DxfReadResult::Failure({DxfReadFault::NoEof, 0, ""});
    }
    // A read-only stream over the caller's text, so text and files go through the same passes.
    const std::unique_ptr<std::FILE, FileCloser> file(
        fmemopen(const_cast<char*>(text.data()), text.size(), "r"));
    if (!file) {
        return DxfReadResult::Failure({DxfReadFault::CannotRead, 0, ""});
    }
    DrawingSink sink;
    return Kept(Pass(file.get(), kDxfReadBlockBytes, text.size(), sink).Run(), sink);
}

DxfStreamResult StreamDxfFile(const std::string& path, DxfSink& sink, std::size_t blockBytes) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return Failed(DxfReadFault::CannotOpen, path);
    }
    return StreamOpen(file.get(), path, sink, blockBytes);
}

DxfStreamResult StreamWrittenDrawing(const WrittenFile& written, DxfSink& sink,
                                     std::size_t blockBytes) {
    // A descriptor of its own, so the file is read from its start and closed here.
    const int fd = written.Held() ? dup(written.Descriptor()) : -1;
    if (fd < 0 || lseek(fd, 0, SEEK_SET) != 0) {
        if (fd >= 0) {
            close(fd);
        }
        return Failed(DxfReadFault::CannotOpen, "");
    }
    const std::unique_ptr<std::FILE, FileCloser> file(fdopen(fd, "rb"));
    if (!file) {
        close(fd);
        return Failed(DxfReadFault::CannotOpen, "");
    }
    return StreamOpen(file.get(), "", sink, blockBytes);
}

DxfReadResult ReadDxfFile(const std::string& path, std::size_t blockBytes) {
    DrawingSink sink;
    return Kept(StreamDxfFile(path, sink, blockBytes), sink);
}

DxfReadResult ReadWrittenDrawing(const WrittenFile& written, std::size_t blockBytes) {
    DrawingSink sink;
    return Kept(StreamWrittenDrawing(written, sink, blockBytes), sink);
}

std::vector<PointXY> CentreMarks(const DxfDrawing& drawing) {
    std::vector<PointXY> centres;
    for (const DxfLine& line : drawing.lines) {
        if (line.from.X == line.to.X && line.from.Y != line.to.Y) {
            centres.push_back({line.from.X, (line.from.Y + line.to.Y) / 2});
        }
    }
    return centres;
}

}  // namespace tarvo
