// A picture of a drawing file as read back: its outlines, as written polylines without
// smoothing, and its centre marks. Fitted to the view when a drawing arrives; the wheel zooms
// about the cursor, dragging pans, a double click fits again.
#pragma once

#include <QColor>
#include <QPointF>
#include <QPolygonF>
#include <QWidget>

#include <vector>

#include "drawing/dxf_reader.h"
#include "ui/outline_index.h"

namespace tarvo::ui {

class DrawingPreview : public QWidget {
    Q_OBJECT
  public:
    explicit DrawingPreview(QWidget* parent = nullptr);

    // Shows `drawing`, fitted to the view. An empty drawing shows `emptyText` instead.
    // `outlines`: its polylines indexed already (IndexOutlines), or empty to index them here.
    void SetDrawing(DxfDrawing drawing, std::vector<OutlineIndex> outlines = {});
    void Clear(const QString& emptyText);
    const DxfDrawing& Drawing() const { return drawing_; }
    int OutlineCount() const { return static_cast<int>(drawing_.polylines.size()); }

    // The colour of the outline at `index` in file order: the first and the second differ.
    static QColor OutlineColour(int index);

    // The whole drawing in the view with a small margin.
    void FitToView();
    // Scales by `factor` keeping the drawing point under `pos` where it is.
    void ZoomAt(QPointF pos, double factor);

    // Pixels per millimetre, and the same for the fitted view.
    double Scale() const { return scale_; }
    double FitScale() const;
    QPointF ToView(PointXY p) const;
    PointXY ToDrawing(QPointF pos) const;

    QSize sizeHint() const override { return {360, 360}; }
    QSize minimumSizeHint() const override { return {160, 160}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // The outlines reduced for one scale, over a box of the drawing at least as large as the
    // view: kept between paints, and through a drag while the view stays inside the box.
    struct Reduced {
        bool valid = false;
        double scale = 0;
        double tolerance = 0;
        DrawingBox covered;
        std::vector<std::vector<QPolygonF>> pieces;  // per outline, pixels from the origin
        std::size_t vertices = 0;
    };
    // The view in drawing millimetres, grown by `pixels` on every side.
    DrawingBox ViewBox(double pixels) const;
    const Reduced& ReducedFor(const DrawingBox& visible);

    DxfDrawing drawing_;
    std::vector<OutlineIndex> outlines_;  // one per polyline, in file order
    DrawingBox bounds_;                   // outlines and centre marks
    Reduced reduced_;
    QString emptyText_;
    double scale_ = 1;
    QPointF origin_;      // where the drawing's (0, 0) lies in the view
    bool fitted_ = true;  // untouched since the last fit: a resize fits again
    bool dragging_ = false;
    QPointF dragFrom_;
    double typicalSegment_ = 0;  // a typical segment length, mm: when vertices become dots
};

}  // namespace tarvo::ui
