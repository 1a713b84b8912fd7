// Reads a written drawing back for its data sheet block by block: the same polylines and centre
// strokes as ReadDxfFile, but the file's text is never held whole, so a drawing of millions of
// vertices reads back in about the memory its points take.
#pragma once

#include <cstddef>
#include <string>

#include "drawing/dxf_reader.h"

namespace tarvo {

// Text read from the file at a time. A line longer than this (none in a drawing of ours) makes
// the block grow to hold it.
constexpr std::size_t kDrawingBlockBytes = 1 << 20;

// Reads the file at `path` twice: once to count each polyline's vertices, so that its points
// are stored without the doubling of a growing array, and once to read them. The result and its
// reasons ("файл не открывается: ...", "строка N: ...") are those of ReadDxfFile.
DxfReadResult ReadDrawingInBlocks(const std::string& path,
                                  std::size_t blockBytes = kDrawingBlockBytes);

}  // namespace tarvo
