// Reads a drawing back group by group, a block of text at a time: a group code line, then its
// value line. An entity ends where the next group 0 begins; only then are its groups turned into
// a polyline, a vertex or a line, so the order of the groups within an entity does not matter.
// The text is never held whole, so a drawing of millions of vertices reads back in about the
// memory its points take.
#include "drawing/dxf_reader.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// A coordinate in the C form ("1E-05", "-0.5") whatever the process locale.
bool ReadDouble(std::string_view text, double& value) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size() &&
           std::isfinite(value);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The first LF in [from, from + size), or nullptr. A drawing's lines are a few characters long:
// a plain loop finds their end sooner than a library call; a longer line goes to memchr.
const void* FindLineEnd(const char* from, std::size_t size) {
    const std::size_t head = size < 32 ? size : 32;
    for (std::size_t i = 0; i < head; ++i) {
        if (from[i] == '\n') {
            return from + i;
        }
    }
    return size > head ? std::memchr(from + head, '\n', size - head) : nullptr;
}

// The file's lines one after another, split at LF (a CR before it stays on the line), read a
// block at a time. A line is valid until the next one is asked for.
class BlockLines {
  public:
    BlockLines(std::FILE* file, std::size_t blockBytes) : file_(file), block_(blockBytes) {}

    bool Next(std::string_view& line) {
        for (;;) {
            const char* from = block_.data() + begin_;
            const void* lf = FindLineEnd(from, end_ - begin_);
            const std::size_t length =
                lf != nullptr ? static_cast<const char*>(lf) - from : end_ - begin_;
            const bool cr = length > 0 && from[length - 1] == '\r';
            if (length - (cr ? 1 : 0) > kDxfMaxLineBytes) {
                tooLong_ = true;  // not read further: the caller refuses the file
                return false;
            }
            if (lf != nullptr) {
                line = std::string_view(from, length);
                begin_ += length + 1;
                return true;
            }
            if (ended_) {
                if (begin_ == end_) {
                    return false;
                }
                line = std::string_view(from, end_ - begin_);  // the last line, without LF
                begin_ = end_;
                return true;
            }
            Refill();
        }
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

  private:
    void Refill() {
        std::memmove(block_.data(), block_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
        if (end_ == block_.size()) {
            block_.resize(2 * block_.size());  // a line longer than the block
        }
        const std::size_t got = std::fread(block_.data() + end_, 1, block_.size() - end_, file_);
        end_ += got;
        ended_ = got == 0;  // the end of the file, or a read error the caller asks ferror about
    }

    std::FILE* file_;
    std::vector<char> block_;
    std::size_t begin_ = 0, end_ = 0;
    bool ended_ = false;
    bool tooLong_ = false;
};

// The groups of the entity being read.
struct Entity {
    std::string type;
    std::size_t line = 0;  // where its group 0 stands
    std::string layer;
    std::string name;  // group 2: the section name after SECTION
    double x10 = 0, y20 = 0, x11 = 0, y21 = 0;
    bool has10 = false, has20 = false, has11 = false, has21 = false;
};

// The reading pass: every group checked, each polyline's vertices stored in an array of the
// size counted beforehand.
class Pass {
  public:
    Pass(std::FILE* file, std::size_t blockBytes, const std::vector<std::size_t>* counts)
        : lines_(file, blockBytes), counts_(counts) {}

    DxfReadResult Run();

  private:
    // Records the first fault met; the pass stops there.
    DxfReadResult Fail(std::size_t line, DxfReadFault fault, const std::string& detail = {}) {
        error_ = {fault, line, detail};
        return Stopped();
    }
    DxfReadResult Stopped() const { return DxfReadResult::Failure(error_); }

    bool Coordinate(std::string_view value, std::size_t line, double& target, bool& has);
    bool Group(int group, std::string_view value, std::size_t line);
    bool Finish();
    bool FinishEntity(const Entity& e);

    BlockLines lines_;
    const std::vector<std::size_t>* counts_;
    std::size_t lineNumber_ = 0;
    Entity entity_;
    bool inEntities_ = false;
    bool open_ = false;  // inside a polyline: between POLYLINE and SEQEND
    bool eof_ = false;
    DxfDrawing drawing_;
    DxfReadError error_;
};

DxfReadResult Pass::Run() {
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
        if (!Group(group, Trim(value), codeLine)) {
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
    return std::move(drawing_);
}

bool Pass::Coordinate(std::string_view value, std::size_t line, double& target, bool& has) {
    if (!ReadDouble(value, target)) {
        Fail(line + 1, DxfReadFault::CoordinateNotNumber, std::string(value));
        return false;
    }
    has = true;
    return true;
}

bool Pass::Group(int group, std::string_view value, std::size_t line) {
    switch (group) {
        case 0:
            if (!Finish()) {
                return false;
            }
            entity_.type.assign(value);
            entity_.line = line;
            entity_.layer.clear();
            entity_.name.clear();
            entity_.has10 = entity_.has20 = entity_.has11 = entity_.has21 = false;
            return true;
        case 2:
            entity_.name.assign(value);
            return true;
        case 8:
            entity_.layer.assign(value);
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
    if (e.type.empty()) {
        return true;
    }
    if (e.type == "SECTION") {
        inEntities_ = e.name == "ENTITIES";
        return true;
    }
    if (e.type == "ENDSEC") {
        if (open_) {
            Fail(e.line, DxfReadFault::PolylineNotEnded);
            return false;
        }
        inEntities_ = false;
        return true;
    }
    if (e.type == "EOF") {
        eof_ = true;
        return true;
    }
    return !inEntities_ || FinishEntity(e);  // blocks and tables hold nothing drawn as is
}

bool Pass::FinishEntity(const Entity& e) {
    std::vector<DxfPolyline>& polylines = drawing_.polylines;
    if (e.type == "POLYLINE") {
        if (open_) {
            Fail(e.line, DxfReadFault::PolylineInPolyline);
            return false;
        }
        polylines.push_back({e.layer, {}});
        if (polylines.size() <= counts_->size()) {
            polylines.back().points.reserve((*counts_)[polylines.size() - 1]);
        }
        open_ = true;
    } else if (e.type == "VERTEX") {
        if (!open_) {
            Fail(e.line, DxfReadFault::VertexOutsidePolyline);
            return false;
        }
        if (!e.has10 || !e.has20) {
            Fail(e.line, DxfReadFault::VertexWithoutCoordinates);
            return false;
        }
        polylines.back().points.push_back({e.x10, e.y20});
    } else if (e.type == "SEQEND") {
        if (!open_) {
            Fail(e.line, DxfReadFault::SeqendWithoutPolyline);
            return false;
        }
        open_ = false;
    } else if (e.type == "LINE") {
        if (!e.has10 || !e.has20 || !e.has11 || !e.has21) {
            Fail(e.line, DxfReadFault::LineWithoutCoordinates);
            return false;
        }
        drawing_.lines.push_back({e.layer, {e.x10, e.y20}, {e.x11, e.y21}});
    }
    return true;
}

// The vertex lines after each POLYLINE line: the size of each polyline's array. Only a size to
// reserve, so the groups are not checked here; the reading pass checks them all.
std::vector<std::size_t> CountVertices(std::FILE* file, std::size_t blockBytes) {
    std::vector<std::size_t> counts;
    BlockLines lines(file, blockBytes);
    std::string_view line;
    while (lines.Next(line)) {
        // Only a line that starts with V or P (after blanks) can name a vertex or a polyline.
        std::size_t i = 0;
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        if (i == line.size() || (line[i] != 'V' && line[i] != 'P')) {
            continue;
        }
        const std::string_view text = Trim(line);
        if (text == "VERTEX" && !counts.empty()) {
            ++counts.back();
        } else if (text == "POLYLINE") {
            counts.push_back(0);
        }
    }
    return counts;
}

DxfReadResult Failed(DxfReadFault fault, const std::string& path) {
    return DxfReadResult::Failure({fault, 0, path});
}

// Both passes over an open file: count the vertices, then read.
DxfReadResult ReadOpenFile(std::FILE* file, std::size_t blockBytes) {
    const std::vector<std::size_t> counts = CountVertices(file, blockBytes);
    std::rewind(file);
    Pass pass(file, blockBytes, &counts);
    return pass.Run();
}

}  // namespace

DxfReadResult ParseDxf(std::string_view text) {
    if (text.empty()) {
        return Failed(DxfReadFault::NoEof, "");
    }
    // A read-only stream over the caller's text, so text and files go through the same passes.
    const std::unique_ptr<std::FILE, FileCloser> file(
        fmemopen(const_cast<char*>(text.data()), text.size(), "r"));
    if (!file) {
        return Failed(DxfReadFault::CannotRead, "");
    }
    return ReadOpenFile(file.get(), kDxfReadBlockBytes);
}

DxfReadResult ReadDxfFile(const std::string& path, std::size_t blockBytes) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return Failed(DxfReadFault::CannotOpen, path);
    }
    DxfReadResult result = ReadOpenFile(file.get(), std::max<std::size_t>(blockBytes, 1));
    if (std::ferror(file.get()) != 0) {
        return Failed(DxfReadFault::CannotRead, path);
    }
    return result;
}

DxfReadResult ReadWrittenDrawing(const WrittenFile& written, std::size_t blockBytes) {
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
    DxfReadResult result = ReadOpenFile(file.get(), std::max<std::size_t>(blockBytes, 1));
    if (std::ferror(file.get()) != 0) {
        return Failed(DxfReadFault::CannotRead, "");
    }
    return result;
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
