// Outline index: boxes built bottom up in one pass over the vertices; a reduction walks them top
// down, leaving out boxes outside the view and drawing boxes under the tolerance as one step.
#include "ui/outline_index.h"

#include <algorithm>
#include <cmath>

namespace tarvo::ui {

void DrawingBox::Add(const PointXY& p) {
    if (empty) {
        *this = At(p);
        return;
    }
    left = std::min(left, p.X);
    right = std::max(right, p.X);
    bottom = std::min(bottom, p.Y);
    top = std::max(top, p.Y);
}

void DrawingBox::Add(const DrawingBox& box) {
    if (box.empty) {
        return;
    }
    Add(PointXY{box.left, box.bottom});
    Add(PointXY{box.right, box.top});
}

bool DrawingBox::Meets(const DrawingBox& box) const {
    return !empty && !box.empty && left <= box.right && box.left <= right && bottom <= box.top &&
           box.bottom <= top;
}

bool DrawingBox::Holds(const DrawingBox& box) const {
    return !empty && !box.empty && left <= box.left && box.right <= right && bottom <= box.bottom &&
           box.top <= top;
}

DrawingBox DrawingBox::Grown(double margin) const {
    if (empty) {
        return *this;
    }
    return Spanning({left - margin, bottom - margin}, {right + margin, top + margin});
}

double DrawingBox::Diagonal() const {
    return empty ? 0 : std::hypot(right - left, top - bottom);
}

OutlineIndex::OutlineIndex(const std::vector<PointXY>& points) : vertices_(points.size()) {
    if (points.size() < 2) {
        for (const PointXY& p : points) {
            bounds_.Add(p);
        }
        return;
    }
    segments_ = points.size() - 1;
    std::vector<DrawingBox> runs((segments_ + kRun - 1) / kRun);
    double length = 0;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const std::size_t first = r * kRun;
        const std::size_t last = std::min(first + kRun, segments_);
        DrawingBox& box = runs[r];
        box = DrawingBox::At(points[first]);
        for (std::size_t i = first + 1; i <= last; ++i) {
            const PointXY& p = points[i];
            box.left = std::min(box.left, p.X);
            box.right = std::max(box.right, p.X);
            box.bottom = std::min(box.bottom, p.Y);
            box.top = std::max(box.top, p.Y);
            const double dx = p.X - points[i - 1].X;
            const double dy = p.Y - points[i - 1].Y;
            length += std::sqrt(dx * dx + dy * dy);
        }
    }
    length_ = length;
    levels_.push_back(std::move(runs));
    while (levels_.back().size() > 1) {
        const std::vector<DrawingBox>& below = levels_.back();
        std::vector<DrawingBox> above((below.size() + kFan - 1) / kFan);
        for (std::size_t i = 0; i < below.size(); ++i) {
            above[i / kFan].Add(below[i]);
        }
        levels_.push_back(std::move(above));
    }
    bounds_ = levels_.back().front();
}

std::vector<OutlineIndex> IndexOutlines(const DxfDrawing& drawing) {
    std::vector<OutlineIndex> outlines;
    outlines.reserve(drawing.polylines.size());
    for (const DxfPolyline& p : drawing.polylines) {
        outlines.emplace_back(p.points);
    }
    return outlines;
}

std::size_t OutlineIndex::First(std::size_t level, std::size_t i) const {
    std::size_t span = kRun;
    for (std::size_t l = 0; l < level; ++l) {
        span *= kFan;
    }
    return std::min(i * span, segments_);
}

std::size_t OutlineIndex::Last(std::size_t level, std::size_t i) const {
    return First(level, i + 1);
}

namespace {

// Collects the pieces of outline in pixels, leaving out a vertex closer than the tolerance to
// the last one kept unless it ends a piece: the line drawn then strays from every vertex left out
// by less than the tolerance.
class PieceMaker {
  public:
    PieceMaker(double scale, double tolerance, std::vector<QPolygonF>& pieces)
        : scale_(scale), tolerance2_(tolerance * tolerance), pieces_(pieces) {}

    void Offer(const PointXY& p) {
        const QPointF at(p.X * scale_, -p.Y * scale_);
        if (piece_.isEmpty()) {
            piece_.append(at);
            kept_ = at;
            return;
        }
        const double dx = at.x() - kept_.x();
        const double dy = at.y() - kept_.y();
        if (dx * dx + dy * dy >= tolerance2_) {
            piece_.append(at);
            kept_ = at;
            waiting_ = false;
        } else {
            waiting_ = true;
            waitingAt_ = at;
        }
    }
    bool Open() const { return !piece_.isEmpty(); }

    // Ends the piece where the outline leaves the view or ends.
    void End() {
        if (waiting_) {
            piece_.append(waitingAt_);
            waiting_ = false;
        }
        if (piece_.size() >= 2) {
            appended_ += static_cast<std::size_t>(piece_.size());
            pieces_.push_back(std::move(piece_));
        }
        piece_ = QPolygonF();
    }
    std::size_t Appended() const { return appended_; }

  private:
    double scale_;
    double tolerance2_;
    std::vector<QPolygonF>& pieces_;
    QPolygonF piece_;
    QPointF kept_;
    bool waiting_ = false;
    QPointF waitingAt_;
    std::size_t appended_ = 0;
};

}  // namespace

std::size_t OutlineIndex::Reduce(const std::vector<PointXY>& points, const OutlineView& view,
                                 std::vector<QPolygonF>& runs) const {
    if (levels_.empty() || points.size() != vertices_) {
        return 0;
    }
    PieceMaker maker(view.scale, view.tolerance, runs);
    // A box whose diagonal on screen is within the tolerance is one step: all its vertices lie
    // within the tolerance of its last one.
    const double smallest = view.tolerance / view.scale;
    auto visit = [&](auto& self, std::size_t level, std::size_t i) -> void {
        const DrawingBox& box = levels_[level][i];
        if (!box.Meets(view.visible)) {
            maker.End();
            return;
        }
        const std::size_t first = First(level, i);
        const std::size_t last = Last(level, i);
        if (box.Diagonal() <= smallest) {
            if (!maker.Open()) {
                maker.Offer(points[first]);
            }
            maker.Offer(points[last]);
            return;
        }
        if (level == 0) {
            if (!maker.Open()) {
                maker.Offer(points[first]);
            }
            for (std::size_t k = first + 1; k <= last; ++k) {
                maker.Offer(points[k]);
            }
            return;
        }
        const std::size_t end = std::min((i + 1) * kFan, levels_[level - 1].size());
        for (std::size_t child = i * kFan; child < end; ++child) {
            self(self, level - 1, child);
        }
    };
    visit(visit, levels_.size() - 1, 0);
    maker.End();
    return maker.Appended();
}

void OutlineIndex::VerticesIn(const std::vector<PointXY>& points, const DrawingBox& box,
                              std::vector<PointXY>& out) const {
    if (levels_.empty() || points.size() != vertices_) {
        for (const PointXY& p : points) {
            if (box.Holds(DrawingBox::At(p))) {
                out.push_back(p);
            }
        }
        return;
    }
    auto visit = [&](auto& self, std::size_t level, std::size_t i) -> void {
        if (!levels_[level][i].Meets(box)) {
            return;
        }
        if (level == 0) {
            // A run's last vertex is the next run's first: each vertex is taken once.
            const std::size_t last = Last(0, i);
            const std::size_t end = last == segments_ ? last + 1 : last;
            for (std::size_t k = First(0, i); k < end; ++k) {
                if (box.Holds(DrawingBox::At(points[k]))) {
                    out.push_back(points[k]);
                }
            }
            return;
        }
        const std::size_t end = std::min((i + 1) * kFan, levels_[level - 1].size());
        for (std::size_t child = i * kFan; child < end; ++child) {
            self(self, level - 1, child);
        }
    };
    visit(visit, levels_.size() - 1, 0);
}

}  // namespace tarvo::ui
