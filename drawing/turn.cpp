// Turning and moving outlines.
#include "drawing/turn.h"

#include <cmath>

namespace tarvo {

void TurnClockwise(Outline& outline, double phi) {
    const double cosPhi = std::cos(phi);
    const double sinPhi = std::sin(phi);
    for (std::size_t i = 0; i + 1 < outline.size(); i += 2) {
        const double x = outline[i];
        const double y = outline[i + 1];
        outline[i] = x * cosPhi + y * sinPhi;
        outline[i + 1] = -x * sinPhi + y * cosPhi;
    }
}

void MoveAlongX(Outline& outline, double dx) {
    for (std::size_t i = 0; i < outline.size(); i += 2) {
        outline[i] = outline[i] + dx;
    }
}

bool AllFinite(const Outline& outline) {
    for (const double v : outline) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

std::vector<PointXY> OutlinePoints(const Outline& outline) {
    std::vector<PointXY> points;
    points.reserve(outline.size() / 2);
    for (std::size_t i = 0; i + 1 < outline.size(); i += 2) {
        points.push_back({outline[i], outline[i + 1]});
    }
    return points;
}

}  // namespace tarvo
