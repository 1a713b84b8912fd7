// The closed outline of a whole gear from one flank: the flank mirrored into a tooth, the tooth
// repeated z times round the centre, the chain closed by repeating its first point.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "profile/point_xy.h"

namespace tarvo {

// An internal member's flank (tip to root, as the generator returns it) ended on the centre
// line of the next tooth space, at polar angle pi/z less 1e-10 radian: from the first point past
// that line, or the first that comes closer to the centre than the one before, every point is
// replaced by the chord's crossing with the line or by the point before. The count is kept.
std::vector<PointXY> EndFilletOnSpaceCentreLine(int z, std::vector<PointXY> flank);

// Where a drawing puts a gear: turned clockwise about its centre by `turn` radians, then moved
// along the x axis by `moveX` (each step only when given).
struct OutlinePlacement {
    std::optional<double> turn;
    std::optional<double> moveX;
};

// A gear's whole outline, kept as its first tooth and its placement: 2n z + 1 points for a flank
// of n points, the last equal to the first. An external gear is traversed clockwise, an internal
// gear anticlockwise. z >= 1; the flank runs outward from the centre (an internal gear's from its
// tip to its root, ended on the space's centre line as above).
// The points are made tooth by tooth when asked for, each with the same arithmetic in the same
// order as turning a whole array would use, so a gear of thousands of teeth is written or
// checked without holding all its points, and the points are the same to the last bit.
class PlacedOutline {
  public:
    PlacedOutline() = default;  // no points
    PlacedOutline(int z, const std::vector<PointXY>& flank, bool internal,
                  OutlinePlacement placement = {});

    std::size_t Size() const { return teeth_ == 0 ? 0 : tooth_.size() * teeth_ + 1; }
    int Teeth() const { return teeth_; }
    std::size_t ToothPoints() const { return tooth_.size(); }

    // Tooth k (0 <= k < Teeth()) as placed in the drawing: out is resized to ToothPoints().
    void PlaceTooth(int k, Polyline& out) const;
    // A tooth's turn from tooth 0, worked out once for any of its points.
    struct ToothTurn {
        double cos = 1, sin = 0;
        bool turned = false;  // tooth 0 is not turned at all
    };
    ToothTurn TurnOf(int k) const;
    // Point i (< ToothPoints()) of the tooth turned by `turn`, alone: the same to the last bit
    // as PlaceTooth gives it.
    PointXY PlacePoint(const ToothTurn& turn, std::size_t i) const {
        const double x = tooth_[i].X;
        const double y = tooth_[i].Y;
        if (!turn.turned) {
            return Place(x, y);
        }
        return Place(turn.cos * x + turn.sin * y, turn.cos * y - turn.sin * x);
    }
    // The last point, which closes the chain: the first one again.
    PointXY Closing() const;
    // Where the drawing puts the gear's centre.
    PointXY PlacedCentre() const { return Place(0, 0); }

    // Every point in order, tooth after tooth, then the closing one.
    Polyline Points() const;
    // True when every coordinate of every point is a finite number.
    bool AllFinite() const;

  private:
    // The drawing's placement of a point of the laid-out gear: x' = x cos + y sin,
    // y' = -x sin + y cos, then x' + dx.
    PointXY Place(double x, double y) const {
        PointXY p{x, y};
        if (placement_.turn) {
            p = {x * cosTurn_ + y * sinTurn_, -x * sinTurn_ + y * cosTurn_};
        }
        if (placement_.moveX) {
            p.X = p.X + *placement_.moveX;
        }
        return p;
    }

    Polyline tooth_;  // tooth 0 about the centre, before the placement
    std::size_t teeth_ = 0;
    bool internal_ = false;
    OutlinePlacement placement_;
    double cosTurn_ = 1, sinTurn_ = 0;
};

// The outline's points at once: PlacedOutline(z, flank, internal).Points().
Polyline GearOutline(int z, const std::vector<PointXY>& flank, bool internal);

}  // namespace tarvo
