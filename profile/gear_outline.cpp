// Whole-gear outline: mirror, repeat, close.
#include "profile/gear_outline.h"

#include <cmath>

#include "math/constants.h"
#include "profile/space_centre_line.h"

namespace tarvo {

std::vector<PointXY> EndFilletOnSpaceCentreLine(int z, std::vector<PointXY> flank) {
    const double h = kPi / z - kSpaceCentreLineGap;
    const double cosH = std::cos(h);
    const double sinH = std::sin(h);
    auto side = [cosH, sinH](const PointXY& p) { return cosH * p.Y - sinH * p.X; };
    auto radiusSquared = [](const PointXY& p) { return p.X * p.X + p.Y * p.Y; };

    for (std::size_t i = 1; i < flank.size(); ++i) {
        const PointXY before = flank[i - 1];
        PointXY end;
        if (side(flank[i]) > 0) {
            // Past the centre line: end on the crossing of the last chord with it.
            const double t = side(before) / (side(before) - side(flank[i]));
            end = {before.X + t * (flank[i].X - before.X), before.Y + t * (flank[i].Y - before.Y)};
        } else if (radiusSquared(flank[i]) < radiusSquared(before)) {
            // Past the bottom of the space the fillet curls back towards the centre.
            end = before;
        } else {
            continue;
        }
        // The flank keeps its point count, so every drawing keeps its vertex count.
        for (std::size_t j = i; j < flank.size(); ++j) {
            flank[j] = end;
        }
        break;
    }
    return flank;
}

std::vector<double> GearOutline(int z, const std::vector<PointXY>& generatedFlank, bool internal) {
    // The cutter's fillets of neighbouring internal teeth run past the space's centre line and
    // would cross there, closing a tiny loop at every root; each is ended on that line.
    const std::vector<PointXY> flank =
        internal ? EndFilletOnSpaceCentreLine(z, generatedFlank) : generatedFlank;
    const std::size_t n = flank.size();
    const std::size_t toothPoints = 2 * n;
    const std::size_t total = toothPoints * static_cast<std::size_t>(z) + 1;
    std::vector<double> outline(2 * total, 0.0);
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
    return outline;
}

}  // namespace tarvo
