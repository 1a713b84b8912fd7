// The drawing reader on any bytes: it answers with a drawing or a fault, never crashes, never
// lets a coordinate that is not a finite number through, and gives the same answer whatever
// its block size (a line split across blocks) and whether it reads text, a file by its path,
// or a written file through its descriptor. Seeded with our own drawings.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "drawing/dxf_reader.h"
#include "drawing/written_file.h"
#include "fuzz/fuzz_support.h"

namespace {

bool SamePoint(const tarvo::PointXY& a, const tarvo::PointXY& b) {
    return a.X == b.X && a.Y == b.Y;
}

// Same drawing or the same fault at the same line.
bool SameResult(const tarvo::DxfReadResult& a, const tarvo::DxfReadResult& b) {
    if (a.ok() != b.ok()) {
        return false;
    }
    if (!a.ok()) {
        return a.fault().fault == b.fault().fault && a.fault().line == b.fault().line;
    }
    const tarvo::DxfDrawing& x = a.value();
    const tarvo::DxfDrawing& y = b.value();
    if (x.polylines.size() != y.polylines.size() || x.lines.size() != y.lines.size()) {
        return false;
    }
    for (std::size_t k = 0; k < x.polylines.size(); ++k) {
        const auto& p = x.polylines[k];
        const auto& q = y.polylines[k];
        if (p.layer != q.layer || p.points.size() != q.points.size()) {
            return false;
        }
        for (std::size_t i = 0; i < p.points.size(); ++i) {
            if (!SamePoint(p.points[i], q.points[i])) {
                return false;
            }
        }
    }
    for (std::size_t k = 0; k < x.lines.size(); ++k) {
        if (x.lines[k].layer != y.lines[k].layer || !SamePoint(x.lines[k].from, y.lines[k].from) ||
            !SamePoint(x.lines[k].to, y.lines[k].to)) {
            return false;
        }
    }
    return true;
}

bool Finite(const tarvo::PointXY& p) {
    return std::isfinite(p.X) && std::isfinite(p.Y);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tarvo_fuzz::fs::path folder = tarvo_fuzz::WorkFolder("dxf_reader");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tarvo::DxfReadResult parsed = tarvo::ParseDxf(text);
    if (parsed.ok()) {
        for (const tarvo::DxfPolyline& p : parsed->polylines) {
            for (const tarvo::PointXY& point : p.points) {
                FUZZ_CHECK(Finite(point));
            }
        }
        for (const tarvo::DxfLine& line : parsed->lines) {
            FUZZ_CHECK(Finite(line.from) && Finite(line.to));
        }
        for (const tarvo::PointXY& centre : tarvo::CentreMarks(parsed.value())) {
            FUZZ_CHECK(std::isfinite(centre.X));
        }
    } else {
        FUZZ_CHECK(parsed.fault().line <=
                       static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1,
                   "fault at line %zu", parsed.fault().line);
    }
    if (size == 0) {
        return 0;  // ParseDxf answers an empty text itself; an empty file is the same case
    }
    const std::string path = (folder / "drawing.dxf").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    // A block from one byte up, so every line boundary falls across blocks somewhere; larger
    // blocks for larger inputs, which a byte at a time would read slowly.
    const std::size_t block =
        size < 4096 ? 1 + data[size - 1] % 64 : 64 + std::size_t{data[size - 1]} * 16;
    const tarvo::DxfReadResult fromFile = tarvo::ReadDxfFile(path, block);
    FUZZ_CHECK(SameResult(parsed, fromFile), "file read in %zu-byte blocks differs", block);
    const tarvo::WrittenFile written(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    FUZZ_CHECK(written.Held());
    FUZZ_CHECK(SameResult(parsed, tarvo::ReadWrittenDrawing(written, block)),
               "descriptor read differs");
    return 0;
}
