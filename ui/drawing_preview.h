// A picture of a drawing file as read back: its outlines, as written polylines without
// smoothing, and its centre marks. Fitted to the view when a drawing arrives; the wheel zooms
// about the cursor, dragging pans, a double click fits again.
#pragma once

#include <QColor>
#include <QPointF>
#include <QWidget>

#include "drawing/dxf_reader.h"

namespace tarvo::ui {

class DrawingPreview : public QWidget {
    Q_OBJECT
public:
    explicit DrawingPreview(QWidget* parent = nullptr);

    // Shows `drawing`, fitted to the view. An empty drawing shows `emptyText` instead.
    void SetDrawing(DxfDrawing drawing);
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
    struct Bounds {
        double left = 0, bottom = 0, right = 0, top = 0;
        bool empty = true;
    };
    Bounds DrawingBounds() const;

    DxfDrawing drawing_;
    QString emptyText_;
    double scale_ = 1;
    QPointF origin_;         // where the drawing's (0, 0) lies in the view
    bool fitted_ = true;     // untouched since the last fit: a resize fits again
    bool dragging_ = false;
    QPointF dragFrom_;
    double typicalSegment_ = 0;  // a typical segment length, mm: when vertices become dots
};

}  // namespace tarvo::ui
