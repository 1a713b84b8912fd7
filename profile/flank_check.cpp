// Self-crossing checks on an external member's flank.
#include "profile/flank_check.h"

#include <cmath>

#include "math/constants.h"

namespace tarvo {

std::optional<GeometryFault> CheckExternalFlank(const std::vector<PointXY>& flank, int z,
                                                double unit) {
    const double tolerance = kSpaceLineTolerance * unit;
    const double spaceAngle = kPi / z;  // centre line of the tooth space next to this flank
    const double sinSpace = std::sin(spaceAngle);
    const double cosSpace = std::cos(spaceAngle);
    for (const PointXY& p : flank) {
        if (p.Y < 0) {
            return GeometryFault::PointedTooth;
        }
    }
    for (const PointXY& p : flank) {
        // Signed distance from the space's centre line, positive beyond it.
        const double beyond = p.Y * cosSpace - p.X * sinSpace;
        if (beyond > tolerance) {
            return GeometryFault::RootFilletsCross;
        }
    }
    return std::nullopt;
}

}  // namespace tarvo
