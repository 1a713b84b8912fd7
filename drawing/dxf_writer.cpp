// DXF text, byte for byte: group codes and values on lines of their own, CR LF after each.
#include "drawing/dxf_writer.h"

namespace tarvo {

namespace {

// The layers of the drawing: the outlines on one, the centre marks on the other. The same names
// go to the file and to a tap.
constexpr const char* kOutlineLayer = "LAYER1VIEW0";
constexpr const char* kCentreLayer = "LAYER0VIEW0";

}  // namespace

bool DxfWriter::DxfBegin(const std::string& path) {
    const FileStep opened = file_.Open(path);
    if (!opened.ok()) {
        out_.Fail(opened.fault());
    }
    out_.Code(0, "SECTION");
    out_.Code(2, "ENTITIES");
    PolylineHeader("0");
    return opened.ok();
}

void DxfWriter::PolylineHeader(const char* basePoint) {
    out_.Code(0, "POLYLINE");
    out_.Code(8, kOutlineLayer);
    out_.Code(6, "K5LT32768");
    out_.Code(62, "7");
    out_.Code(66, "1");  // vertices follow
    out_.Code(10, basePoint);
    out_.Code(20, basePoint);
    out_.Code(30, basePoint);
    if (tap_ != nullptr) {
        tap_->Polyline(kOutlineLayer, 0, 0);
    }
}

void DxfWriter::PolylineEnd() {
    out_.Code(0, "SEQEND");
    if (tap_ != nullptr) {
        tap_->PolylineEnd();
    }
}

double DxfWriter::Coordinate(int code, double value) {
    if (tap_ == nullptr) {
        out_.Coordinate(code, value);
        return value;
    }
    double readBack = 0;
    out_.Coordinate(code, value, readBack);
    return readBack;
}

void DxfWriter::DxfVertex(double x, double y) {
    out_.Code(0, "VERTEX");
    out_.Code(8, kOutlineLayer);
    out_.Code(100, "AcDb2dVertex");
    const double xRead = Coordinate(10, x);
    const double yRead = Coordinate(20, y);
    if (tap_ != nullptr) {
        tap_->Vertex({xRead, yRead}, 0, 0);
    }
}

void DxfWriter::DxfVertices(const Polyline& points) {
    for (const PointXY& p : points) {
        DxfVertex(p.X, p.Y);
    }
}

void DxfWriter::DxfOutline(const PlacedOutline& outline) {
    if (outline.Size() == 0) {
        return;
    }
    if (tap_ != nullptr) {
        tap_->OutlineDrawnAs(outline);
    }
    Polyline tooth;
    tooth.reserve(outline.ToothPoints());
    for (int k = 0; k < outline.Teeth(); ++k) {
        outline.PlaceTooth(k, tooth);
        DxfVertices(tooth);
    }
    const PointXY closing = outline.Closing();
    DxfVertex(closing.X, closing.Y);
}

void DxfWriter::DxfNextPolyline() {
    PolylineEnd();
    PolylineHeader("0.0000");
}

void DxfWriter::DxfEndPolylines() {
    PolylineEnd();
}

void DxfWriter::DxfCentreMark(double cx) {
    // The vertical stroke, then the horizontal one.
    out_.Code(0, "LINE");
    out_.Code(8, kCentreLayer);
    const double x10 = Coordinate(10, cx);
    out_.Code(20, "-1");
    const double x11 = Coordinate(11, cx);
    out_.Code(21, "1");
    if (tap_ != nullptr) {
        tap_->Line({kCentreLayer, {x10, -1}, {x11, 1}});
    }
    out_.Code(0, "LINE");
    out_.Code(8, kCentreLayer);
    const double left = Coordinate(10, cx - 1);
    out_.Code(20, "0");
    const double right = Coordinate(11, cx + 1);
    out_.Code(21, "0");
    if (tap_ != nullptr) {
        tap_->Line({kCentreLayer, {left, 0}, {right, 0}});
    }
}

bool DxfWriter::DxfFinish() {
    out_.Code(0, "ENDSEC");
    out_.Code(0, "EOF");
    if (!out_.Flush()) {
        return false;
    }
    auto committed = file_.Commit();
    if (!committed.ok()) {
        out_.Fail(committed.fault());
        return false;
    }
    written_ = std::move(committed).value();
    return true;
}

namespace {

template <typename Outline, typename WriteOne>
WriteOutcome WriteDrawing(const std::string& path, const std::vector<const Outline*>& outlines,
                          const std::vector<double>& centres, DxfSink* tap, WriteOne writeOne) {
    DxfWriter writer(tap);
    if (!writer.DxfBegin(path)) {
        return WriteOutcome::Failure(writer.Error());
    }
    for (std::size_t k = 0; k < outlines.size(); ++k) {
        if (k > 0) {
            writer.DxfNextPolyline();
        }
        writeOne(writer, *outlines[k]);
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

}  // namespace

WriteOutcome DxfWriteDrawing(const std::string& path,
                             const std::vector<const PlacedOutline*>& outlines,
                             const std::vector<double>& centres, DxfSink* tap) {
    return WriteDrawing(path, outlines, centres, tap,
                        [](DxfWriter& writer, const PlacedOutline& o) { writer.DxfOutline(o); });
}

WriteOutcome DxfWritePolylines(const std::string& path,
                               const std::vector<const Polyline*>& outlines,
                               const std::vector<double>& centres) {
    return WriteDrawing(path, outlines, centres, nullptr,
                        [](DxfWriter& writer, const Polyline& o) { writer.DxfVertices(o); });
}

}  // namespace tarvo
