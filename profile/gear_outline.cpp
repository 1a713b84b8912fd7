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

PlacedOutline::PlacedOutline(int z, const std::vector<PointXY>& generatedFlank, bool internal,
                             OutlinePlacement placement)
    : teeth_(z > 0 ? static_cast<std::size_t>(z) : 0), internal_(internal), placement_(placement) {
    // The cutter's fillets of neighbouring internal teeth run past the space's centre line and
    // would cross there, closing a tiny loop at every root; each is ended on that line.
    const std::vector<PointXY> flank =
        internal ? EndFilletOnSpaceCentreLine(z, generatedFlank) : generatedFlank;
    const std::size_t n = flank.size();
    tooth_.resize(2 * n);
    // One tooth. External: up the flank from root to tip, then down its mirror image.
    // Internal: down the mirror image from root to tip, then along the flank from tip to root.
    for (std::size_t i = 0; i < n; ++i) {
        if (!internal) {
            tooth_[i] = {flank[i].X, flank[i].Y};
            tooth_[2 * n - 1 - i] = {flank[i].X, -flank[i].Y};
        } else {
            tooth_[n + i] = {flank[i].X, flank[i].Y};
            tooth_[n - 1 - i] = {flank[i].X, -flank[i].Y};
        }
    }
    if (placement_.turn) {
        cosTurn_ = std::cos(*placement_.turn);
        sinTurn_ = std::sin(*placement_.turn);
    }
}

// Tooth k is tooth 0 turned by -phi: clockwise for an external gear, anticlockwise for an
// internal one, so each tooth runs on into the next. Every point of a tooth, placed whole or
// one at a time, takes the same arithmetic.
PlacedOutline::ToothTurn PlacedOutline::TurnOf(int k) const {
    if (k == 0) {
        return {};
    }
    double phi = ((2 * k) * kPi) / static_cast<int>(teeth_);
    if (internal_) {
        phi = -phi;
    }
    return {std::cos(phi), std::sin(phi), true};
}

void PlacedOutline::PlaceTooth(int k, Polyline& out) const {
    out.resize(tooth_.size());
    const ToothTurn turn = TurnOf(k);
    for (std::size_t i = 0; i < tooth_.size(); ++i) {
        out[i] = PlacePoint(turn, i);
    }
}

PointXY PlacedOutline::Closing() const {
    return tooth_.empty() ? Place(0, 0) : Place(tooth_[0].X, tooth_[0].Y);
}

Polyline PlacedOutline::Points() const {
    Polyline points;
    if (teeth_ == 0) {
        return points;
    }
    points.reserve(Size());
    Polyline tooth;
    for (int k = 0; k < static_cast<int>(teeth_); ++k) {
        PlaceTooth(k, tooth);
        points.insert(points.end(), tooth.begin(), tooth.end());
    }
    points.push_back(Closing());
    return points;
}

bool PlacedOutline::AllFinite() const {
    Polyline tooth;
    for (int k = 0; k < static_cast<int>(teeth_); ++k) {
        PlaceTooth(k, tooth);
        for (const PointXY& p : tooth) {
            if (!std::isfinite(p.X) || !std::isfinite(p.Y)) {
                return false;
            }
        }
    }
    const PointXY closing = Closing();
    return std::isfinite(closing.X) && std::isfinite(closing.Y);
}

Polyline GearOutline(int z, const std::vector<PointXY>& flank, bool internal) {
    return PlacedOutline(z, flank, internal).Points();
}

}  // namespace tarvo
