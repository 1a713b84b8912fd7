// Drawing preview: millimetres to pixels with y upwards, cosmetic pens so lines keep their
// width at any zoom, and the vertices marked once the segments are long enough on screen to
// tell a chord from the curve it stands for. The outlines are painted as reduced by their
// index (what is in sight, about a vertex per pixel) and kept so until the scale changes or a
// drag leaves what was reduced.
#include "ui/drawing_preview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tarvo::ui {

namespace {

// Share of the view left free around a fitted drawing, on each side.
constexpr double kFitMargin = 0.04;
// Zoom limits relative to the fitted view: a tenth of it out, a hundred thousand times in
// (a 0.01 mm fillet chord of a 400 mm wheel still spans pixels).
constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 1e5;
// One notch of a mouse wheel (120 units) zooms by a quarter.
constexpr double kZoomPerNotch = 1.25;
// Vertices are drawn as dots once a typical segment is this many pixels long.
constexpr double kDotsFromPixels = 14;
// A vertex is left out of the painted outline when it lies closer than this to the last one kept,
// in device pixels: the line drawn then stays within 0.8 px of every vertex, half the pen's width
// (1.6 px), and only the shading of its edges changes.
constexpr double kReduceTolerance = 0.4;
// How far the pen and a mitred join reach beyond a vertex, in pixels: a segment this close to
// the view is still painted.
constexpr double kPenReach = 4;
// A drag that leaves what was reduced reduces half a view more on every side, so the next steps
// of the drag paint what is already made.
constexpr double kDragReach = 0.5;
// Above this many painted vertices the outlines are drawn without antialiasing: a dense drawing
// zoomed out is lines thinner than their pixels either way.
constexpr std::size_t kAntialiasBudget = 20000;

const QColor kBackground(255, 255, 255);
const QColor kCentreMark(110, 110, 110);

}  // namespace

DrawingPreview::DrawingPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picDrawing"));
    setMouseTracking(false);
    setCursor(Qt::OpenHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setToolTip(QStringLiteral(
        "Колесо мыши — масштаб, перетаскивание — сдвиг, двойной щелчок — весь чертёж"));
}

QColor DrawingPreview::OutlineColour(int index) {
    // Blue and vermilion: told apart also by designers with red-green colour blindness.
    return index % 2 == 0 ? QColor(0, 90, 181) : QColor(213, 94, 0);
}

void DrawingPreview::SetDrawing(DxfDrawing drawing, std::vector<OutlineIndex> outlines) {
    drawing_ = std::move(drawing);
    emptyText_.clear();
    // An index made for other polylines is made again for these.
    bool matches = outlines.size() == drawing_.polylines.size();
    for (std::size_t k = 0; matches && k < outlines.size(); ++k) {
        matches = outlines[k].Vertices() == drawing_.polylines[k].points.size();
    }
    outlines_ = matches ? std::move(outlines) : IndexOutlines(drawing_);
    bounds_ = {};
    double total = 0;
    std::size_t count = 0;
    for (const OutlineIndex& outline : outlines_) {
        total += outline.Length();
        count += outline.Segments();
        bounds_.Add(outline.Bounds());
    }
    for (const DxfLine& l : drawing_.lines) {
        bounds_.Add(l.from);
        bounds_.Add(l.to);
    }
    typicalSegment_ = count > 0 ? total / count : 0;
    reduced_ = {};
    FitToView();
}

void DrawingPreview::Clear(const QString& emptyText) {
    drawing_ = {};
    outlines_.clear();
    bounds_ = {};
    reduced_ = {};
    emptyText_ = emptyText;
    typicalSegment_ = 0;
    FitToView();
}

double DrawingPreview::FitScale() const {
    const DrawingBox& b = bounds_;
    const double w = std::max(1.0, width() * (1 - 2 * kFitMargin));
    const double h = std::max(1.0, height() * (1 - 2 * kFitMargin));
    if (b.empty) {
        return 1;
    }
    const double bw = std::max(b.right - b.left, 1e-9);
    const double bh = std::max(b.top - b.bottom, 1e-9);
    return std::min(w / bw, h / bh);
}

void DrawingPreview::FitToView() {
    const DrawingBox& b = bounds_;
    scale_ = FitScale();
    const double cx = b.empty ? 0 : (b.left + b.right) / 2;
    const double cy = b.empty ? 0 : (b.bottom + b.top) / 2;
    origin_ = QPointF(width() / 2.0 - cx * scale_, height() / 2.0 + cy * scale_);
    fitted_ = true;
    update();
}

void DrawingPreview::ZoomAt(QPointF pos, double factor) {
    const double fit = FitScale();
    const double wanted = std::clamp(scale_ * factor, fit * kMinZoom, fit * kMaxZoom);
    const PointXY under = ToDrawing(pos);
    scale_ = wanted;
    origin_ = QPointF(pos.x() - under.X * scale_, pos.y() + under.Y * scale_);
    fitted_ = false;
    update();
}

QPointF DrawingPreview::ToView(PointXY p) const {
    return {origin_.x() + p.X * scale_, origin_.y() - p.Y * scale_};
}

PointXY DrawingPreview::ToDrawing(QPointF pos) const {
    return {(pos.x() - origin_.x()) / scale_, (origin_.y() - pos.y()) / scale_};
}

DrawingBox DrawingPreview::ViewBox(double pixels) const {
    const PointXY topLeft = ToDrawing(QPointF(-pixels, -pixels));
    const PointXY bottomRight = ToDrawing(QPointF(width() + pixels, height() + pixels));
    return DrawingBox::Spanning({topLeft.X, bottomRight.Y}, {bottomRight.X, topLeft.Y});
}

const DrawingPreview::Reduced& DrawingPreview::ReducedFor(const DrawingBox& visible) {
    const double tolerance = kReduceTolerance / devicePixelRatioF();
    const bool sameScale =
        reduced_.valid && reduced_.scale == scale_ && reduced_.tolerance == tolerance;
    if (sameScale && reduced_.covered.Holds(visible)) {
        return reduced_;
    }
    // A zoom reduces the view alone; a drag at one scale reduces around it too.
    const double reach = sameScale ? kDragReach * std::max(width(), height()) / scale_ : 0;
    reduced_.valid = true;
    reduced_.scale = scale_;
    reduced_.tolerance = tolerance;
    reduced_.covered = visible.Grown(reach);
    reduced_.pieces.assign(outlines_.size(), {});
    reduced_.vertices = 0;
    const OutlineView view{scale_, reduced_.covered, tolerance};
    for (std::size_t k = 0; k < outlines_.size(); ++k) {
        reduced_.vertices +=
            outlines_[k].Reduce(drawing_.polylines[k].points, view, reduced_.pieces[k]);
    }
    return reduced_;
}

void DrawingPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (drawing_.polylines.empty() && drawing_.lines.empty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                         emptyText_);
        return;
    }
    const Reduced& reduced = ReducedFor(ViewBox(kPenReach));
    const bool smooth = reduced.vertices <= kAntialiasBudget;
    const bool dots = typicalSegment_ * scale_ >= kDotsFromPixels;
    // The dots of the vertices in sight, as far as a dot reaches.
    const QRectF visible = QRectF(rect()).adjusted(-4, -4, 4, 4);
    std::vector<PointXY> vertices;
    for (std::size_t k = 0; k < outlines_.size(); ++k) {
        const QColor colour = OutlineColour(static_cast<int>(k));
        QPen pen(colour, 1.6);
        pen.setCosmetic(true);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setRenderHint(QPainter::Antialiasing, smooth);
        painter.save();
        painter.translate(origin_);
        for (const QPolygonF& piece : reduced.pieces[k]) {
            painter.drawPolyline(piece);
        }
        painter.restore();
        painter.setRenderHint(QPainter::Antialiasing, true);
        if (dots) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            vertices.clear();
            outlines_[k].VerticesIn(drawing_.polylines[k].points, ViewBox(4), vertices);
            for (const PointXY& p : vertices) {
                const QPointF v = ToView(p);
                if (visible.contains(v)) {
                    painter.drawEllipse(v, 2.2, 2.2);
                }
            }
            painter.setBrush(Qt::NoBrush);
        }
    }
    QPen thin(kCentreMark, 1.0);
    thin.setCosmetic(true);
    painter.setPen(thin);
    for (const DxfLine& l : drawing_.lines) {
        painter.drawLine(ToView(l.from), ToView(l.to));
    }
}

void DrawingPreview::resizeEvent(QResizeEvent*) {
    if (fitted_) {
        FitToView();
    }
}

void DrawingPreview::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0) {
        ZoomAt(event->position(), std::pow(kZoomPerNotch, notches));
    }
    event->accept();
}

void DrawingPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        dragFrom_ = event->position();
        setCursor(Qt::ClosedHandCursor);
    }
}

void DrawingPreview::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        return;
    }
    const QPointF step = event->position() - dragFrom_;
    dragFrom_ = event->position();
    origin_ += step;
    fitted_ = false;
    update();
}

void DrawingPreview::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        setCursor(Qt::OpenHandCursor);
    }
}

void DrawingPreview::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        FitToView();
    }
}

}  // namespace tarvo::ui
