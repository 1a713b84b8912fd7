// What a drawing builder tells its caller: the file was written, or why not (the geometry
// fault, or the operating system's words for a file that could not be written).
#pragma once

#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "drawing/dxf_writer.h"
#include "math/outcome.h"
#include "profile/geometry_fault.h"

namespace tarvo {

// Why a drawing is not in its file.
struct DrawFault {
    enum class Kind {
        GeometryRefused,  // the data give no drawable teeth; nothing was written
        FileNotWritten,   // the file could not be created or written; any old file is untouched
    };
    Kind kind = Kind::GeometryRefused;
    std::optional<GeometryError> geometry;  // with GeometryRefused
    std::error_code fileError;  // with FileNotWritten: the operating system's error or a
                                // FileRefusal; app/ words it
};

// A drawing made holds its file open: the report reads the bytes written, whatever the path
// names by then.
using DrawResult = Outcome<WrittenFile, DrawFault>;

// A drawing refused for its geometry; nothing is written.
DrawResult Refused(const GeometryError& error);

// Writes the outlines and centre marks of a computed drawing to `path`, handing what is written
// to `tap` as well when there is one.
DrawResult WriteComputed(const std::string& path, const std::vector<const PlacedOutline*>& outlines,
                         const std::vector<double>& centres, DxfSink* tap = nullptr);

}  // namespace tarvo
