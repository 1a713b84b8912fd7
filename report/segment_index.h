// The nearest segment of a few runs of outline to a point, as Boost.Geometry measures it: the
// mesh check's depth of a shared area is the farthest its corners lie from either outline.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "report/boost_geometry.h"

namespace tarvo {

using IndexPoint = boost::geometry::model::d2::point_xy<double>;
using IndexLines =
    boost::geometry::model::multi_linestring<boost::geometry::model::linestring<IndexPoint>>;

// The segments of runs of outline boxed eight at a time, and each run's boxes boxed whole, so
// that the segment nearest a point is found by measuring only the segments whose boxes lie near
// it. It refers to `lines`, which must outlive it.
class SegmentIndex {
  public:
    explicit SegmentIndex(const IndexLines& lines);

    // Boost's distance of p from the nearest segment (not finite where there is none): the least
    // measure over every segment whose box lies no farther from p than the nearest found and
    // `slack`, which must lie far above the rounding of either measure.
    double Distance(const IndexPoint& p, double slack) const;

  private:
    struct Area {
        double x0, y0, x1, y1;
        void Take(const IndexPoint& p);
        void Take(const Area& a);
        double Gap2(const IndexPoint& p) const;
    };
    struct Stretch {
        Area area;
        std::size_t line, first, last;  // segments first to last - 1 of the line
    };
    struct BoxedLine {
        Area area;
        std::size_t first, last;  // its stretches
    };

    const IndexLines& lines_;
    std::vector<Stretch> stretches_;
    std::vector<BoxedLine> boxedLines_;
    mutable std::vector<std::pair<double, std::size_t>> order_;  // room for the lines' order
};

}  // namespace tarvo
