// The outlines of a drawing prepared for a preview at any zoom: the boxes of runs of vertices,
// gathered level by level, so a paint visits only the runs in sight and draws a run smaller than
// a pixel as one step. A wheel of thousands of teeth is a million vertices; what is painted is
// about one vertex per pixel of the outline on screen, and every vertex once zoomed in so far that
// the vertices stand more than a pixel apart.
#pragma once

#include <QPolygonF>

#include <cstddef>
#include <vector>

#include "drawing/dxf_reader.h"

namespace tarvo::ui {

// An axis-aligned box in drawing millimetres; empty until a point is added.
struct DrawingBox {
    double left = 0, bottom = 0, right = 0, top = 0;
    bool empty = true;

    // The box of one point, and the box between two corners.
    static DrawingBox At(const PointXY& p) { return Spanning(p, p); }
    static DrawingBox Spanning(const PointXY& lowerLeft, const PointXY& upperRight) {
        DrawingBox box;
        box.left = lowerLeft.X;
        box.bottom = lowerLeft.Y;
        box.right = upperRight.X;
        box.top = upperRight.Y;
        box.empty = false;
        return box;
    }

    void Add(const PointXY& p);
    void Add(const DrawingBox& box);
    bool Meets(const DrawingBox& box) const;
    bool Holds(const DrawingBox& box) const;
    // Grown by `margin` on every side.
    DrawingBox Grown(double margin) const;
    double Diagonal() const;
};

// What a paint asks for: the reduced outline for `scale` pixels per millimetre, of what lies in
// `visible`. A vertex left out lies within twice `tolerance` pixels of the line drawn: within it of
// the last vertex of a box under the tolerance, that one within it of the last vertex kept.
struct OutlineView {
    double scale = 1;
    DrawingBox visible;
    double tolerance = 0.5;
};

// The boxes of one polyline's vertices: level 0 holds runs of kRun segments, each level above
// holds kFan boxes of the one below. The vertices themselves stay with the drawing and are passed
// to each call.
class OutlineIndex {
  public:
    OutlineIndex() = default;
    explicit OutlineIndex(const std::vector<PointXY>& points);

    const DrawingBox& Bounds() const { return bounds_; }
    double Length() const { return length_; }
    std::size_t Segments() const { return segments_; }
    // The vertices it was made for: a polyline of another count has another index.
    std::size_t Vertices() const { return vertices_; }

    // Appends to `runs` the pieces of the outline in sight, as pixels from the drawing's (0, 0)
    // with y upwards turned down: (x * scale, -y * scale). A piece ends where the outline leaves
    // the view. Returns the vertices appended.
    std::size_t Reduce(const std::vector<PointXY>& points, const OutlineView& view,
                       std::vector<QPolygonF>& runs) const;
    // Appends the exact vertices inside `box`.
    void VerticesIn(const std::vector<PointXY>& points, const DrawingBox& box,
                    std::vector<PointXY>& out) const;

    // Segments in a run at level 0, and boxes under a box above. Small enough that a run within
    // the view costs little beyond its vertices, large enough that the boxes are a few per cent of
    // the vertices' memory.
    static constexpr std::size_t kRun = 32;
    static constexpr std::size_t kFan = 8;

  private:
    // First and last vertex of box `i` at `level`.
    std::size_t First(std::size_t level, std::size_t i) const;
    std::size_t Last(std::size_t level, std::size_t i) const;

    std::vector<std::vector<DrawingBox>> levels_;  // levels_[0]: runs; levels_.back(): one box
    std::size_t segments_ = 0;
    std::size_t vertices_ = 0;
    DrawingBox bounds_;
    double length_ = 0;
};

// The index of each polyline of `drawing`, in file order.
std::vector<OutlineIndex> IndexOutlines(const DxfDrawing& drawing);

}  // namespace tarvo::ui
