// A table drawing: lines and single-line texts in a DXF R12 file of its own, beside the
// drawing of the teeth (which this never touches). Text goes out in Windows-1251, the code
// page the header names, so CAD programs show Cyrillic; signs that code page lacks (α, ×)
// go as \U+XXXX, the escape R12 readers decode.
#pragma once

#include <string>
#include <vector>

#include "drawing/dxf_writer.h"

namespace tarvo {

struct DxfTableText {
    double x = 0;  // start of the baseline, mm
    double y = 0;
    double height = 0;
    std::string text;  // UTF-8
};

struct DxfTableLine {
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
};

struct DxfTableDrawing {
    std::vector<DxfTableLine> lines;
    std::vector<DxfTableText> texts;
};

// UTF-8 text as the bytes of a DXF text value: Windows-1251 for what it holds, \U+XXXX for any
// other sign, "?" for a byte that is not UTF-8; control characters become spaces.
std::string DxfTextBytes(const std::string& utf8);

// Writes the table drawing: a header naming AC1009 and ANSI_1251, then the lines on layer
// TABLE and the texts on layer TABLE_TEXT, CR LF line ends. On failure the file at `path` is as
// it was before.
WriteOutcome DxfWriteTable(const std::string& path, const DxfTableDrawing& table);

}  // namespace tarvo
