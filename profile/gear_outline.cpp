// Whole-gear outline: mirror, repeat, close.
#include "profile/gear_outline.h"

#include <cmath>

#include "math/constants.h"

namespace tarvo {

void GearOutline(int z, const std::vector<PointXY>& flank, std::vector<double>& outline,
                 bool internal) {
    const std::size_t n = flank.size();
    const std::size_t toothPoints = 2 * n;
    const std::size_t total = toothPoints * static_cast<std::size_t>(z) + 1;
    outline.assign(2 * total, 0.0);
    auto set = [&outline](std::size_t point, double x, double y) {
        outline[2 * point] = x;
        outline[2 * point + 1] = y;
    };

    // One tooth. External: up the flank from root to tip, then down its mirror image.
    // Internal: down the mirror image from root to tip, then along the flank from tip to root.
    for (std::size_t i = 0; i < n; ++i) {
        if (!internal) {
            set(i, flank[i].X, flank[i].Y);
            set(toothPoints - 1 - i, flank[i].X, -flank[i].Y);
        } else {
            set(n + i, flank[i].X, flank[i].Y);
            set(n - 1 - i, flank[i].X, -flank[i].Y);
        }
    }

    // Tooth k is tooth 0 turned by -phi: clockwise for an external gear, anticlockwise for an
    // internal one, so each tooth runs on into the next.
    for (int k = 1; k < z; ++k) {
        double phi = ((2 * k) * kPi) / z;
        if (internal) {
            phi = -phi;
        }
        const double cosPhi = std::cos(phi);
        const double sinPhi = std::sin(phi);
        const std::size_t base = toothPoints * static_cast<std::size_t>(k);
        for (std::size_t i = 0; i < toothPoints; ++i) {
            const double x = outline[2 * i];
            const double y = outline[2 * i + 1];
            set(base + i, cosPhi * x + sinPhi * y, cosPhi * y - sinPhi * x);
        }
    }
    set(total - 1, outline[0], outline[1]);
}

}  // namespace tarvo
