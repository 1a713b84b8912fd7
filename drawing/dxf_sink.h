// What a pass over a drawing hands on as it goes, entity by entity in file order: the reader as
// it reads a file, and the writer as it writes one, each number as its text reads back.
#pragma once

#include <cstddef>
#include <string>

#include "profile/gear_outline.h"
#include "profile/point_xy.h"

namespace tarvo {

struct DxfLine {
    std::string layer;
    PointXY from;
    PointXY to;
};

// A caller takes what it needs from each vertex without the drawing being held whole. A
// polyline's vertices come between its Polyline and its PolylineEnd; `at` is the bytes of the
// file passed so far and `fileBytes` the file's size (0 when not known). A fault stops the
// pass: what was handed on before it is then to be thrown away. A writer hands on a number whose
// text reads back as no finite double (which a reader refuses) as NaN.
class DxfSink {
  public:
    virtual ~DxfSink() = default;
    virtual void Polyline(const std::string& layer, std::size_t at, std::size_t fileBytes) = 0;
    virtual void Vertex(PointXY p, std::size_t at, std::size_t fileBytes) = 0;
    virtual void PolylineEnd() = 0;
    virtual void Line(const DxfLine& line) = 0;
    // A writer tells, before a polyline's first vertex, the outline it writes it from: every
    // vertex that follows is that outline's next point as placed, each coordinate as its text
    // reads back. A reader, which knows no outline, never calls it.
    virtual void OutlineDrawnAs(const PlacedOutline& /*outline*/) {}
};

}  // namespace tarvo
