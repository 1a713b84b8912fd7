// How near and how far a point of a turning wheel comes to its mate's centre: what tells the
// mesh check which teeth can meet the mate in a sweep, and the mesh band which teeth to keep.
#pragma once

#include <algorithm>
#include <cmath>
#include <utility>

#include "math/constants.h"
#include "profile/point_xy.h"

namespace tarvo {

// An angle into [-pi, pi).
inline double WrapAngle(double angle) {
    angle = std::fmod(angle + kPi, 2 * kPi);
    if (angle < 0) {
        angle += 2 * kPi;
    }
    return angle - kPi;
}

// The distance range of a point from the mate's centre while its wheel turns from `turnFrom`
// through `sweep`: the distance grows with the angle between the point and the direction to the
// mate, so the turn's range of that angle gives the range of distances.
struct SweepReach {
    double distance = 0;     // between the centres
    double towardsMate = 0;  // direction of the mate's centre
    double turnFrom = 0, sweep = 0;
    double lo = 0, hi = 0;

    // The nearest and farthest the point comes to the mate's centre during the sweep.
    std::pair<double, double> Range(const PointXY& p) const {
        const double rho = std::hypot(p.X, p.Y);
        const double psi0 = WrapAngle(std::atan2(p.Y, p.X) - towardsMate + turnFrom);
        const double psi1 = psi0 + sweep;
        const double wrapped1 = std::fabs(WrapAngle(psi1));
        const double nearest =
            (psi0 <= 0 && psi1 >= 0) || psi1 >= 2 * kPi ? 0 : std::min(std::fabs(psi0), wrapped1);
        const double farthest = psi1 >= kPi ? kPi : std::max(std::fabs(psi0), wrapped1);
        auto at = [&](double psi) {
            return std::sqrt(std::max(
                0.0, rho * rho + distance * distance - 2 * rho * distance * std::cos(psi)));
        };
        return {at(nearest), at(farthest)};
    }

    bool Reaches(const PointXY& p) const {
        const auto [nearest, farthest] = Range(p);
        return nearest <= hi && farthest >= lo;
    }

    // False when no point within `radius` of `centre` can reach: then no point of a tooth so
    // bounded needs to be tried.
    bool MayReach(const PointXY& centre, double radius) const {
        const auto [nearest, farthest] = Range(centre);
        return nearest - radius <= hi && farthest + radius >= lo;
    }
};

}  // namespace tarvo
