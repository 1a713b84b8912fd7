// Checking a roller against the drawn teeth and choosing the gauge size.
#include "report/roller_choice.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "math/constants.h"
#include "math/rounding.h"

namespace tarvo {

namespace {

// One band of the gauge series: sizes from `from` (included) below `to`, `step` apart.
struct GaugeBand {
    double from;
    double to;
    double step;
};

constexpr GaugeBand kGaugeBands[] = {
    {0.1, 1, 0.05}, {1, 2, 0.1}, {2, 10, 0.25}, {10, 30, 0.5}, {30, HUGE_VAL, 1},
};

// Sizes are stated to a hundredth of a millimetre.
constexpr int kGaugeDecimals = 2;

double SegmentDistance(const PointXY& p, const PointXY& a, const PointXY& b) {
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double length2 = dx * dx + dy * dy;
    const double s =
        length2 > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length2, 0.0, 1.0) : 0;
    return std::hypot(p.X - a.X - s * dx, p.Y - a.Y - s * dy);
}

// Nearest approach of the drawn fillet and root to a roller centre on the centre line of the
// space beside the flank (half a pitch from the tooth's centre line); by symmetry the
// neighbouring tooth's lies as far. Chords between points of the drawn involute are left out:
// the roller's tangency to the involute is exact, and on internal teeth those chords lie a
// sag's depth inside the space.
double RootDistance(const std::vector<PointXY>& flank, const InvoluteSpan& involute, int z,
                    double centreD) {
    const double space = kPi / z;
    const PointXY c{centreD / 2 * std::cos(space), centreD / 2 * std::sin(space)};
    const double low = std::min(involute.from, involute.to) - 2 * kOnInvolute;
    const double high = std::max(involute.from, involute.to) + 2 * kOnInvolute;
    const auto onInvolute = [&](const PointXY& p) {
        const double d = 2 * std::hypot(p.X, p.Y);
        return d >= low && d <= high;
    };
    double nearest = HUGE_VAL;
    for (std::size_t i = 0; i + 1 < flank.size(); ++i) {
        if (onInvolute(flank[i]) && onInvolute(flank[i + 1])) {
            continue;
        }
        nearest = std::min(nearest, SegmentDistance(c, flank[i], flank[i + 1]));
    }
    return nearest;
}

// A value of the refused roller, absent where its measurement has none.
std::optional<double> Known(double value) {
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

RollerResult Refuse(RollerFault fault, std::optional<double> D,
                    const std::optional<RollerMeasurement>& m) {
    RollerRefusal refusal;
    refusal.fault = fault;
    refusal.D = D;
    if (m) {
        refusal.contactD = Known(m->contactD);
        refusal.M = Known(m->M);
        refusal.centreD = Known(m->centreD);
    }
    return RollerResult::Failure(refusal);
}

}  // namespace

RollerResult CheckRoller(const ToothData& t, const DrawnTeeth& drawn, double D) {
    const std::optional<RollerMeasurement> found = MeasurementOverRollers(t, D);
    if (!found) {
        // The sheet shows a roller that fits no space without a measurement.
        return Refuse(RollerFault::NoPosition, D, std::nullopt);
    }
    const RollerMeasurement& m = *found;
    if (!std::isfinite(m.M) || !std::isfinite(m.contactD)) {
        return Refuse(RollerFault::NoPosition, D, m);
    }
    const InvoluteSpan& span = drawn.involute;
    const double low = std::min(span.from, span.to) - 2 * kOnInvolute;
    const double high = std::max(span.from, span.to) + 2 * kOnInvolute;
    if (!(m.contactD >= low && m.contactD <= high)) {
        return Refuse(RollerFault::OffInvolute, D, m);
    }
    const bool protrudes = t.internal ? m.centreD - D < drawn.da : m.M > drawn.da;
    if (!protrudes) {
        return Refuse(RollerFault::NotProtruding, D, m);
    }
    // In the transverse section a ball touches a helical flank as a roller of D / cos(beta_b).
    if (drawn.flank != nullptr) {
        const double alphaT = TransversePressureAngle(t.alphaN, t.beta);
        const double section = D / std::cos(BaseHelixAngle(t.beta, alphaT));
        if (RootDistance(*drawn.flank, span, t.z, m.centreD) < section / 2 - kRollerClearance) {
            return Refuse(RollerFault::HitsRoot, D, m);
        }
    }
    return m;
}

// At most this many gauge sizes are tried for one member. A range wider than that (a wheel
// kilometres across, or at a module far beyond any workshop's) is walked with a stride over the
// stocked sizes, so the choice stays among stocked sizes and never walks billions of them.
constexpr int kMaxGaugeSizesTried = 4096;

std::vector<double> GaugeSizes(double low, double high) {
    std::vector<double> sizes;
    if (!(low <= high) || !std::isfinite(high)) {
        return sizes;
    }
    for (const GaugeBand& band : kGaugeBands) {
        if (band.to <= low || band.from > high) {
            continue;
        }
        const double first = std::ceil((std::max(low, band.from) - band.from) / band.step - 1e-9);
        const double last = std::floor((std::min(high, band.to) - band.from) / band.step + 1e-9);
        const double start = std::max(first, 0.0);
        const double stride = std::max(1.0, std::ceil((last - start) / kMaxGaugeSizesTried));
        // Counted, not stepped: past 2^53 adding one to a size's index no longer changes it.
        for (int k = 0; k <= kMaxGaugeSizesTried && start + k * stride <= last; ++k) {
            const double size =
                RoundToPlaces(band.from + (start + k * stride) * band.step, kGaugeDecimals);
            if (size > high || size >= band.to) {
                break;
            }
            if (size >= low) {
                sizes.push_back(size);
            }
        }
    }
    return sizes;
}

namespace {

// The gauge sizes between the rollers touching the two ends of the drawn involute; with one end
// below the base circle (no roller touches there) those of the other end alone.
std::vector<double> SizesBetween(std::optional<double> a, std::optional<double> b) {
    if (!a && !b) {
        return {};
    }
    const double low = a && b ? std::fmin(*a, *b) : a ? *a : *b;
    const double high = a && b ? std::fmax(*a, *b) : a ? *a : *b;
    return GaugeSizes(low, high);
}

}  // namespace

RollerResult ChooseRoller(const ToothData& t, const DrawnTeeth& drawn) {
    const InvoluteSpan& span = drawn.involute;
    const double middle = (span.from + span.to) / 2;
    const std::optional<double> atMiddle = RollerTouchingAt(t, middle);
    const std::optional<double> a = RollerTouchingAt(t, span.from);
    const std::optional<double> b = RollerTouchingAt(t, span.to);
    std::optional<RollerResult> best;
    double bestMiss = HUGE_VAL;
    std::optional<RollerResult> nearestRefused;
    double nearestMiss = HUGE_VAL;
    for (const double D : SizesBetween(a, b)) {
        RollerResult checked = CheckRoller(t, drawn, D);
        if (checked.ok()) {
            const double miss = std::fabs(checked->contactD - middle);
            if (miss < bestMiss) {
                bestMiss = miss;
                best = checked;
            }
        } else if (atMiddle && std::fabs(D - *atMiddle) < nearestMiss) {
            nearestMiss = std::fabs(D - *atMiddle);
            nearestRefused = checked;
        }
    }
    if (best) {
        return *best;
    }
    if (nearestRefused) {
        return *nearestRefused;
    }
    RollerRefusal none;
    none.fault = RollerFault::NoGaugeSize;
    none.D = atMiddle;
    none.contactD = middle;
    return RollerResult::Failure(none);
}

}  // namespace tarvo
