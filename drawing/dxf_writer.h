// The only writer of drawing files: an ENTITIES section holding the tooth outlines as old-style
// polylines on layer LAYER1VIEW0 and a centre mark of two short lines for each wheel centre on
// layer LAYER0VIEW0, every line ended by CR LF, numbers in one locale-free format.
#pragma once

#include <string>
#include <system_error>
#include <vector>

#include "drawing/dxf_groups.h"
#include "drawing/dxf_sink.h"
#include "drawing/safe_file.h"
#include "math/outcome.h"
#include "profile/gear_outline.h"
#include "profile/point_xy.h"

namespace tarvo {

// Streams a drawing through a fixed buffer into a SafeFile, so memory stays at the flanks
// plus the buffer whatever the drawing's size. Every operation after a failure does nothing.
class DxfWriter {
  public:
    // With a tap, every polyline, vertex and line also goes to it as it is written, each number
    // as its text reads back: what a reader of the file will be handed, without reading it.
    explicit DxfWriter(DxfSink* tap = nullptr) : tap_(tap) {}

    // Opens the file (replacing an existing one only at DxfFinish) and writes the section
    // header and the first polyline header.
    bool DxfBegin(const std::string& path);
    void DxfVertex(double x, double y);
    void DxfVertices(const Polyline& points);
    // Every point of a gear's outline, tooth by tooth.
    void DxfOutline(const PlacedOutline& outline);
    // Ends the current polyline and starts the next one.
    void DxfNextPolyline();
    void DxfEndPolylines();
    // A cross of two 2 mm strokes about (cx, 0).
    void DxfCentreMark(double cx);
    // Ends the section and the file, then commits it. False on any failure along the way.
    bool DxfFinish();

    // Why the file was not written: the operating system's error or the writer's refusal.
    std::error_code Error() const { return out_.Fault().value_or(std::error_code()); }
    // After DxfFinish: the file written, held open for reading it back.
    WrittenFile Written() const { return written_; }

  private:
    // The polyline header; the first one writes its base point as 0, later ones as 0.0000.
    void PolylineHeader(const char* basePoint);
    void PolylineEnd();
    // A coordinate group; its value as read back when a tap takes it.
    double Coordinate(int code, double value);

    DxfSink* tap_;
    SafeFile file_;
    DxfGroups out_{file_};
    WrittenFile written_;
};

// The drawing reached its file (held open, for reading back what was written), or why not.
using WriteOutcome = Outcome<WrittenFile, std::error_code>;

// Writes the whole drawing: the outlines in order as polylines, then a centre mark at (cx, 0)
// for each centre. On failure the file at `path` is as it was before.
// A gear's outline is written tooth by tooth as it is placed, never held whole.
// With `tap`, what is written also goes to it (see DxfWriter).
WriteOutcome DxfWriteDrawing(const std::string& path,
                             const std::vector<const PlacedOutline*>& outlines,
                             const std::vector<double>& centres, DxfSink* tap = nullptr);
// The same with outlines given point by point (a name of its own: a brace list of two
// pointers would otherwise also read as a range to copy).
WriteOutcome DxfWritePolylines(const std::string& path,
                               const std::vector<const Polyline*>& outlines,
                               const std::vector<double>& centres);

}  // namespace tarvo
