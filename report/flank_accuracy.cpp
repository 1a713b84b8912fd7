// The drawing's accuracy from the builder's own flanks and the exact curves behind them. The
// flanks are those the outlines were made of (an internal flank ended on its space's centre
// line as the outline ends it), so the figures are those of the written chords.
#include "report/flank_accuracy.h"

#include <cmath>

#include "math/constants.h"
#include "profile/gear_outline.h"

namespace tarvo {

namespace {

double Radius(const PointXY& p) {
    return std::hypot(p.X, p.Y);
}

// The lands are single chords between the flank ends of one tooth (the tip) or of two
// neighbouring teeth (the root), symmetric about a centre line: their deviation is the
// sagitta of the circle through their ends. External teeth: both chords lie inside their
// circles and take material away (into the tooth). Internal teeth: the material lies outside
// the outline, so the same chords add material (into the space).
void AddLands(WheelAccuracy& a, const std::vector<PointXY>& flank, int z, bool internal) {
    const PointXY tip = internal ? flank.front() : flank.back();
    const PointXY root = internal ? flank.back() : flank.front();
    const double tipSagitta = Radius(tip) * (1 - std::cos(std::atan2(tip.Y, tip.X)));
    const double rootHalf = kPi / z - std::atan2(root.Y, root.X);
    const double rootSagitta = Radius(root) * (1 - std::cos(rootHalf));
    (internal ? a.tipLand.intoSpace : a.tipLand.intoTooth) = std::fabs(tipSagitta);
    (internal ? a.rootLand.intoSpace : a.rootLand.intoTooth) = std::fabs(rootSagitta);
}

}  // namespace

std::optional<WheelAccuracy> DrawnAccuracy(const DrawnFlank& drawn) {
    const FlankMembers& members = drawn.members;
    if (drawn.points.size() < 2 || !members.involute.defined() || !members.fillet.defined()) {
        return std::nullopt;
    }
    const std::vector<PointXY> flank =
        drawn.internal ? EndFilletOnSpaceCentreLine(drawn.z, drawn.points) : drawn.points;
    WheelAccuracy a;
    a.flank = MeasureFlankDeviation(flank, members);
    AddLands(a, flank, drawn.z, drawn.internal);
    return a;
}

}  // namespace tarvo
