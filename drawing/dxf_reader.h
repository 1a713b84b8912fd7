// Reads a drawing file back: the polylines (POLYLINE, VERTEX, SEQEND) and the LINE entities of
// its ENTITIES section, with their layers, so the report shows what a CAD program will import.
// Other entities are passed over; group codes other than layer and coordinates are ignored.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/dxf_sink.h"
#include "drawing/written_file.h"
#include "math/outcome.h"
#include "profile/point_xy.h"

namespace tarvo {

struct DxfPolyline {
    std::string layer;
    std::vector<PointXY> points;  // the vertices in file order (a closed outline repeats its first)
};

struct DxfDrawing {
    std::vector<DxfPolyline> polylines;  // in file order: the first outline first
    std::vector<DxfLine> lines;          // the centre-mark strokes, in file order
};

// Why a drawing could not be read.
enum class DxfReadFault {
    CannotOpen,           // the file does not open (detail: the path)
    CannotRead,           // reading it failed part way (detail: the path)
    CodeWithoutValue,     // a group code is the last line
    CodeNotNumber,        // a group code that is not a whole number
    CoordinateNotNumber,  // detail: the value as written
    NoEof,                // the text ends without EOF
    PolylineNotEnded,     // a POLYLINE without its SEQEND
    PolylineInPolyline,   // a POLYLINE before the previous one's SEQEND
    VertexOutsidePolyline,
    VertexWithoutCoordinates,  // a VERTEX without both 10 and 20
    SeqendWithoutPolyline,
    LineWithoutCoordinates,  // a LINE without all of 10, 20, 11 and 21
    LineTooLong,             // a line longer than kDxfMaxLineBytes (detail: the limit)
};

// What is wrong with a drawing, on which line of its text (from 1; 0 for the file as a whole),
// and the path or value concerned.
struct DxfReadError {
    DxfReadFault fault = DxfReadFault::CannotOpen;
    std::size_t line = 0;
    std::string detail;
};

using DxfReadResult = Outcome<DxfDrawing, DxfReadError>;

// A streamed read ended: the whole drawing read, or its fault.
struct DxfStreamed {};
using DxfStreamResult = Outcome<DxfStreamed, DxfReadError>;

// Reads the DXF text; lines may end with CR LF or LF alone.
DxfReadResult ParseDxf(std::string_view text);

// Text read from a file at a time: small enough to stay in the processor's cache while its lines
// are parsed, large enough that reading calls cost nothing beside them. A line longer than this
// makes the block grow to hold it.
constexpr std::size_t kDxfReadBlockBytes = 64 * 1024;
// The longest line read, line end excluded. Ours are at most about 25 characters and a CAD
// program's text or handle lines a few hundred; a longer one (a file without line ends) is
// refused with its line number, so memory stays at what is kept, not at the file's size.
constexpr std::size_t kDxfMaxLineBytes = 64 * 1024;

// Reads the file at `path` once, storing each polyline's points in an array sized from the
// file's size and the bytes its first vertices take, so that a large outline is not copied
// into an array twice its size as it grows.
DxfReadResult ReadDxfFile(const std::string& path, std::size_t blockBytes = kDxfReadBlockBytes);

// The same passes, handing each polyline, vertex and line to `sink` instead of keeping them.
DxfStreamResult StreamDxfFile(const std::string& path, DxfSink& sink,
                              std::size_t blockBytes = kDxfReadBlockBytes);
DxfStreamResult StreamWrittenDrawing(const WrittenFile& file, DxfSink& sink,
                                     std::size_t blockBytes = kDxfReadBlockBytes);

// Reads, from its first byte, the file a write produced and still holds open: the bytes
// written, whatever its path names by now.
DxfReadResult ReadWrittenDrawing(const WrittenFile& file,
                                 std::size_t blockBytes = kDxfReadBlockBytes);

// The wheel centres the drawing marks: the midpoint of every vertical stroke, in file order.
// A centre mark is a vertical and a horizontal stroke crossing at the centre.
std::vector<PointXY> CentreMarks(const DxfDrawing& drawing);

}  // namespace tarvo
