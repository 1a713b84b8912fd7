// What a drawing builder tells its caller: the file was written, or why not (the geometry
// fault, or the operating system's words for a file that could not be written).
#pragma once

#include <string>

#include <vector>

#include "drawing/dxf_writer.h"
#include "profile/geometry_fault.h"

namespace tarvo {

enum class DrawStatus {
    Written,          // the drawing is in its file
    GeometryRefused,  // the data give no drawable teeth; nothing was written
    FileNotWritten,   // the file could not be created or written; any old file is untouched
};

struct DrawResult {
    DrawStatus status = DrawStatus::Written;
    GeometryError geometry;  // with GeometryRefused
    std::string fileReason;  // the operating system's words, with FileNotWritten
};

// Writes the outlines and centre marks of a computed drawing to `path`, or refuses with the
// geometry's fault without touching the file.
DrawResult WriteComputed(const std::string& path, const GeometryError& error,
                         const std::vector<const Outline*>& outlines,
                         const std::vector<double>& centres);

}  // namespace tarvo
