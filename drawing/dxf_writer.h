// The only writer of drawing files: an ENTITIES section holding the tooth outlines as old-style
// polylines on layer LAYER1VIEW0 and a centre mark of two short lines for each wheel centre on
// layer LAYER0VIEW0, every line ended by CR LF, numbers in one locale-free format.
#pragma once

#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "drawing/safe_file.h"
#include "math/outcome.h"

namespace tarvo {

// An outline as the builders hand it over: x1, y1, x2, y2, ... in millimetres.
using Outline = std::vector<double>;

// Streams a drawing through a fixed buffer into a SafeFile, so memory stays at the outlines
// plus the buffer whatever the drawing's size. Every operation after a failure does nothing.
class DxfWriter {
public:
    // Opens the file (replacing an existing one only at DxfFinish) and writes the section
    // header and the first polyline header.
    bool DxfBegin(const std::string& path);
    void DxfVertex(double x, double y);
    // Ends the current polyline and starts the next one.
    void DxfNextPolyline();
    void DxfEndPolylines();
    // A cross of two 2 mm strokes about (cx, 0).
    void DxfCentreMark(double cx);
    // Ends the section and the file, then commits it. False on any failure along the way.
    bool DxfFinish();

    // Why the file was not written: the operating system's error or the writer's refusal.
    std::error_code Error() const { return fault_.value_or(std::error_code()); }
    // After DxfFinish: the file written, held open for reading it back.
    WrittenFile Written() const { return written_; }

  private:
    // Appends text that already holds its CR LF line ends.
    void Raw(const char* text, std::size_t length);
    template <std::size_t N>
    void Raw(const char (&text)[N]) {
        Raw(text, N - 1);
    }
    void Line(const char* text);
    void Number(double v);
    void Flush();

    static constexpr std::size_t kBufferSize = 64 * 1024;
    SafeFile file_;
    std::optional<std::error_code> fault_;  // the first failure; later operations do nothing
    WrittenFile written_;
    std::vector<char> buffer_ = std::vector<char>(kBufferSize);
    std::size_t used_ = 0;
};

// The drawing reached its file (held open, for reading back what was written), or why not.
using WriteOutcome = Outcome<WrittenFile, std::error_code>;

// Writes the whole drawing: the outlines in order as polylines, then a centre mark at (cx, 0)
// for each centre. On failure the file at `path` is as it was before.
// The outlines are passed by address so that writing holds no second copy of a drawing.
WriteOutcome DxfWriteDrawing(const std::string& path, const std::vector<const Outline*>& outlines,
                             const std::vector<double>& centres);

}  // namespace tarvo
