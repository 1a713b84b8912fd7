// DXF text, byte for byte: group codes and values on lines of their own, CR LF after each.
#include "drawing/dxf_writer.h"

#include <cstring>

#include "drawing/dxf_number.h"

namespace tarvo {

void DxfWriter::Flush() {
    if (!fault_ && used_ > 0) {
        const FileStep wrote = file_.Write(buffer_.data(), used_);
        if (!wrote.ok()) {
            fault_ = wrote.fault();
        }
    }
    used_ = 0;
}

void DxfWriter::Raw(const char* text, std::size_t length) {
    if (used_ + length > kBufferSize) {
        Flush();
    }
    std::memcpy(buffer_.data() + used_, text, length);
    used_ += length;
}

void DxfWriter::Line(const char* text) {
    Raw(text, std::strlen(text));
    Raw("\r\n");
}

void DxfWriter::Number(double v) {
    if (used_ + kDxfNumberMaxLength + 2 > kBufferSize) {
        Flush();
    }
    char* end = WriteDxfNumber(buffer_.data() + used_, v);
    *end++ = '\r';
    *end++ = '\n';
    used_ = static_cast<std::size_t>(end - buffer_.data());
}

bool DxfWriter::DxfBegin(const std::string& path) {
    used_ = 0;
    const FileStep opened = file_.Open(path);
    fault_.reset();
    if (!opened.ok()) {
        fault_ = opened.fault();
    }
    for (const char* line : {"0", "SECTION", "2", "ENTITIES", "0", "POLYLINE", "8", "LAYER1VIEW0",
                             "6", "K5LT32768", "62", "7", "66", "1", "10", "0", "20", "0", "30",
                             "0"}) {
        Line(line);
    }
    return !fault_;
}

void DxfWriter::DxfVertex(double x, double y) {
    // Written a million times in a large drawing: the fixed lines go as one block.
    Raw("0\r\nVERTEX\r\n8\r\nLAYER1VIEW0\r\n100\r\nAcDb2dVertex\r\n10\r\n");
    Number(x);
    Raw("20\r\n");
    Number(y);
}

void DxfWriter::DxfNextPolyline() {
    // Later polyline headers write their base point as 0.0000, the first one as 0.
    for (const char* line : {"0", "SEQEND", "0", "POLYLINE", "8", "LAYER1VIEW0", "6",
                             "K5LT32768", "62", "7", "66", "1", "10", "0.0000", "20", "0.0000",
                             "30", "0.0000"}) {
        Line(line);
    }
}

void DxfWriter::DxfEndPolylines() {
    Line("0");
    Line("SEQEND");
}

void DxfWriter::DxfCentreMark(double cx) {
    for (const char* line : {"0", "LINE", "8", "LAYER0VIEW0", "10"}) {
        Line(line);
    }
    Number(cx);
    Line("20");
    Line("-1");
    Line("11");
    Number(cx);
    Line("21");
    Line("1");
    for (const char* line : {"0", "LINE", "8", "LAYER0VIEW0", "10"}) {
        Line(line);
    }
    Number(cx - 1);
    Line("20");
    Line("0");
    Line("11");
    Number(cx + 1);
    Line("21");
    Line("0");
}

bool DxfWriter::DxfFinish() {
    for (const char* line : {"0", "ENDSEC", "0", "EOF"}) {
        Line(line);
    }
    Flush();
    if (fault_) {
        return false;
    }
    auto committed = file_.Commit();
    if (!committed.ok()) {
        fault_ = committed.fault();
        return false;
    }
    written_ = std::move(committed).value();
    return true;
}

WriteOutcome DxfWriteDrawing(const std::string& path, const std::vector<const Outline*>& outlines,
                             const std::vector<double>& centres) {
    DxfWriter writer;
    if (!writer.DxfBegin(path)) {
        return WriteOutcome::Failure(writer.Error());
    }
    for (std::size_t k = 0; k < outlines.size(); ++k) {
        if (k > 0) {
            writer.DxfNextPolyline();
        }
        const Outline& outline = *outlines[k];
        for (std::size_t i = 0; i + 1 < outline.size(); i += 2) {
            writer.DxfVertex(outline[i], outline[i + 1]);
        }
    }
    writer.DxfEndPolylines();
    for (const double cx : centres) {
        writer.DxfCentreMark(cx);
    }
    if (!writer.DxfFinish()) {
        return WriteOutcome::Failure(writer.Error());
    }
    return writer.Written();
}

}  // namespace tarvo
