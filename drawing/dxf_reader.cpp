// Group by group through the text: a group code line, then its value line. An entity ends where
// the next group 0 begins; only then are its collected groups turned into a polyline vertex or
// a line, so the order of the groups within an entity does not matter.
#include "drawing/dxf_reader.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>

namespace tarvo {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() &&
           (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool ReadInt(std::string_view text, int& value) {
    text = Trim(text);
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// A coordinate: from_chars reads the C form ("1E-05", "-0.5") whatever the process locale.
bool ReadDouble(std::string_view text, double& value) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && result.ec == std::errc() &&
           result.ptr == text.data() + text.size() && std::isfinite(value);
}

// The groups of the entity being read.
struct Entity {
    std::string type;
    std::size_t line = 0;  // where its group 0 stands
    std::string layer;
    std::string name;      // group 2: the section name after SECTION
    double x10 = 0, y20 = 0, x11 = 0, y21 = 0;
    bool has10 = false, has20 = false, has11 = false, has21 = false;
};

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    DxfReadResult Run() {
        std::string_view code;
        std::string_view value;
        while (NextLine(code)) {
            const std::size_t codeLine = lineNumber_;
            if (Trim(code).empty() && pos_ >= text_.size()) {
                break;  // the empty rest after the last line end
            }
            if (!NextLine(value)) {
                return Fail(codeLine, DxfReadFault::CodeWithoutValue);
            }
            int group = 0;
            if (!ReadInt(code, group)) {
                return Fail(codeLine, DxfReadFault::CodeNotNumber);
            }
            if (!Group(group, Trim(value), codeLine)) {
                return result_;
            }
            if (eof_) {
                break;
            }
        }
        if (!eof_ && !Finish()) {
            return result_;
        }
        if (!eof_) {
            return Fail(lineNumber_, DxfReadFault::NoEof);
        }
        if (open_) {
            return Fail(lineNumber_, DxfReadFault::PolylineNotEnded);
        }
        result_.ok = true;
        return result_;
    }

private:
    bool NextLine(std::string_view& line) {
        if (pos_ >= text_.size()) {
            return false;
        }
        const std::size_t end = text_.find('\n', pos_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        line = text_.substr(pos_, stop - pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
        ++lineNumber_;
        return true;
    }

    DxfReadResult Fail(std::size_t line, DxfReadFault fault, const std::string& detail = {}) {
        result_.ok = false;
        result_.fault = fault;
        result_.line = line;
        result_.detail = detail;
        result_.drawing = {};
        return result_;
    }

    bool Group(int group, std::string_view value, std::size_t line) {
        double number = 0;
        auto coordinate = [&](double& target, bool& has) {
            if (!ReadDouble(value, number)) {
                Fail(line + 1, DxfReadFault::CoordinateNotNumber, std::string(value));
                return false;
            }
            target = number;
            has = true;
            return true;
        };
        switch (group) {
            case 0:
                if (!Finish()) {
                    return false;
                }
                entity_ = Entity{};
                entity_.type = std::string(value);
                entity_.line = line;
                return true;
            case 2:
                entity_.name = std::string(value);
                return true;
            case 8:
                entity_.layer = std::string(value);
                return true;
            case 10:
                return coordinate(entity_.x10, entity_.has10);
            case 20:
                return coordinate(entity_.y20, entity_.has20);
            case 11:
                return coordinate(entity_.x11, entity_.has11);
            case 21:
                return coordinate(entity_.y21, entity_.has21);
            default:
                return true;  // colour, linetype, flags, subclass markers: not drawn here
        }
    }

    // Turns the finished entity into drawing content.
    bool Finish() {
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
        if (!inEntities_) {
            return true;  // blocks, tables and the like hold nothing that is drawn as is
        }
        std::vector<DxfPolyline>& polylines = result_.drawing.polylines;
        if (e.type == "POLYLINE") {
            if (open_) {
                Fail(e.line, DxfReadFault::PolylineInPolyline);
                return false;
            }
            polylines.push_back({e.layer, {}});
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
            result_.drawing.lines.push_back({e.layer, {e.x10, e.y20}, {e.x11, e.y21}});
        }
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lineNumber_ = 0;
    Entity entity_;
    bool inEntities_ = false;
    bool open_ = false;  // inside a polyline: between POLYLINE and SEQEND
    bool eof_ = false;
    DxfReadResult result_;
};

}  // namespace

DxfReadResult ParseDxf(std::string_view text) { return Parser(text).Run(); }

DxfReadResult ReadDxfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        DxfReadResult failed;
        failed.fault = DxfReadFault::CannotOpen;
        failed.detail = path;
        return failed;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        DxfReadResult failed;
        failed.fault = DxfReadFault::CannotRead;
        failed.detail = path;
        return failed;
    }
    return ParseDxf(text);
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
