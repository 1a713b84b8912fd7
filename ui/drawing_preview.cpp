// Drawing preview: millimetres to pixels with y upwards, cosmetic pens so lines keep their
// width at any zoom, and the vertices marked once the segments are long enough on screen to
// tell a chord from the curve it stands for.
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

void DrawingPreview::SetDrawing(DxfDrawing drawing) {
    drawing_ = std::move(drawing);
    emptyText_.clear();
    double total = 0;
    std::size_t count = 0;
    for (const DxfPolyline& p : drawing_.polylines) {
        for (std::size_t i = 1; i < p.points.size(); ++i) {
            total += std::hypot(p.points[i].X - p.points[i - 1].X,
                                p.points[i].Y - p.points[i - 1].Y);
            ++count;
        }
    }
    typicalSegment_ = count > 0 ? total / count : 0;
    FitToView();
}

void DrawingPreview::Clear(const QString& emptyText) {
    drawing_ = {};
    emptyText_ = emptyText;
    typicalSegment_ = 0;
    FitToView();
}

DrawingPreview::Bounds DrawingPreview::DrawingBounds() const {
    Bounds b;
    auto add = [&b](const PointXY& p) {
        if (b.empty) {
            b = {p.X, p.Y, p.X, p.Y, false};
            return;
        }
        b.left = std::min(b.left, p.X);
        b.right = std::max(b.right, p.X);
        b.bottom = std::min(b.bottom, p.Y);
        b.top = std::max(b.top, p.Y);
    };
    for (const DxfPolyline& p : drawing_.polylines) {
        std::for_each(p.points.begin(), p.points.end(), add);
    }
    for (const DxfLine& l : drawing_.lines) {
        add(l.from);
        add(l.to);
    }
    return b;
}

double DrawingPreview::FitScale() const {
    const Bounds b = DrawingBounds();
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
    const Bounds b = DrawingBounds();
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
    const bool dots = typicalSegment_ * scale_ >= kDotsFromPixels;
    const QRectF visible = QRectF(rect()).adjusted(-4, -4, 4, 4);
    for (std::size_t k = 0; k < drawing_.polylines.size(); ++k) {
        const std::vector<PointXY>& points = drawing_.polylines[k].points;
        QPolygonF line;
        line.reserve(static_cast<qsizetype>(points.size()));
        for (const PointXY& p : points) {
            line.append(ToView(p));
        }
        const QColor colour = OutlineColour(static_cast<int>(k));
        QPen pen(colour, 1.6);
        pen.setCosmetic(true);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.drawPolyline(line);
        if (dots) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            for (const QPointF& v : line) {
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
