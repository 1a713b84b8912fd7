#include "report/segment_index.h"

#include <algorithm>
#include <cmath>

#include "report/chord_frame.h"

namespace tarvo {

namespace {

namespace bg = boost::geometry;

constexpr std::size_t kBoxedSegments = 8;

}  // namespace

void SegmentIndex::Area::Take(const IndexPoint& p) {
    x0 = std::min(x0, p.x());
    y0 = std::min(y0, p.y());
    x1 = std::max(x1, p.x());
    y1 = std::max(y1, p.y());
}

void SegmentIndex::Area::Take(const Area& a) {
    x0 = std::min(x0, a.x0);
    y0 = std::min(y0, a.y0);
    x1 = std::max(x1, a.x1);
    y1 = std::max(y1, a.y1);
}

// The square of p's distance from the box, 0 inside it.
double SegmentIndex::Area::Gap2(const IndexPoint& p) const {
    const double dx = AtLeastZero(p.x() - x1, x0 - p.x());
    const double dy = AtLeastZero(p.y() - y1, y0 - p.y());
    return dx * dx + dy * dy;
}

SegmentIndex::SegmentIndex(const IndexLines& lines) : lines_(lines) {
    const Area empty{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const auto& line = lines[l];
        BoxedLine boxed{empty, stretches_.size(), 0};
        for (std::size_t first = 0; first + 1 < line.size(); first += kBoxedSegments) {
            const std::size_t last = std::min(first + kBoxedSegments, line.size() - 1);
            Area area = empty;
            for (std::size_t i = first; i <= last; ++i) {
                area.Take(line[i]);
            }
            boxed.area.Take(area);
            stretches_.push_back({area, l, first, last});
        }
        boxed.last = stretches_.size();
        boxedLines_.push_back(boxed);
    }
}

double SegmentIndex::Distance(const IndexPoint& p, double slack) const {
    using Segment = bg::model::segment<IndexPoint>;
    // Squared, as Boost compares segments before it takes the root of the nearest.
    double least = HUGE_VAL;
    double beyond = HUGE_VAL;  // boxes farther than this, squared, hold nothing nearer
    const IndexLines::value_type* holding = nullptr;
    std::size_t at = 0;
    order_.clear();
    for (std::size_t l = 0; l < boxedLines_.size(); ++l) {
        order_.emplace_back(boxedLines_[l].area.Gap2(p), l);
    }
    std::sort(order_.begin(), order_.end());
    for (const auto& [gap2, l] : order_) {
        if (gap2 > beyond) {
            break;  // the lines come nearest box first
        }
        for (std::size_t s = boxedLines_[l].first; s < boxedLines_[l].last; ++s) {
            const Stretch& stretch = stretches_[s];
            if (stretch.area.Gap2(p) > beyond) {
                continue;
            }
            const auto& line = lines_[stretch.line];
            for (std::size_t i = stretch.first; i < stretch.last; ++i) {
                const double d = bg::comparable_distance(p, Segment(line[i], line[i + 1]));
                if (d < least) {
                    least = d;
                    beyond = (std::sqrt(least) + slack) * (std::sqrt(least) + slack);
                    holding = &line;
                    at = i;
                }
            }
        }
    }
    return holding == nullptr ? HUGE_VAL
                              : bg::distance(p, Segment((*holding)[at], (*holding)[at + 1]));
}

}  // namespace tarvo
