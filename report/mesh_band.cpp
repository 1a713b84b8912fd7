// Taking a wheel's mesh band while its outline is read: the sizes the mesh check measures on a
// whole outline, accumulated point by point in the same order and with the same arithmetic, each
// tooth's bounding circle, and the points of the teeth that may come within reach of the mate.
#include "report/mesh_band.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "math/constants.h"
#include "report/sweep_reach.h"

namespace tarvo {

MeshBandPlans PlanMeshBands(const MeshBandGuess& wheel1, const MeshBandGuess& wheel2,
                            int stepsPerPitch) {
    // The turns as the check sweeps them.
    const double pitch = 2 * kPi / wheel1.teeth;
    const double ratio = static_cast<double>(wheel1.teeth) / wheel2.teeth;
    const double follow = wheel1.internal || wheel2.internal ? ratio : -ratio;
    const double lastTurn = pitch / stepsPerPitch * (stepsPerPitch - 1);
    const double turn2 = follow * lastTurn;
    const double dx = wheel2.centre.X - wheel1.centre.X;
    const double dy = wheel2.centre.Y - wheel1.centre.Y;
    // A tenth wider than the check's own margin: the guessed sizes stray from the drawn ones
    // by the rounding of the written coordinates, far less than this.
    const double margin =
        1.1 * (pitch * wheel1.rMax + std::max(wheel1.longestSegment, wheel2.longestSegment));
    auto plan = [&](const MeshBandGuess& own, const MeshBandGuess& mate, double towards,
                    double turnFrom, double sweep) {
        MeshBandPlan p;
        p.centre = own.centre;
        p.teeth = own.teeth;
        p.perTooth = own.perTooth;
        p.distance = std::hypot(dx, dy);
        p.towardsMate = towards;
        p.turnFrom = turnFrom;
        p.sweep = sweep;
        p.lo = mate.rMin - margin;
        p.hi = mate.rMax + margin;
        return p;
    };
    return {plan(wheel1, wheel2, std::atan2(dy, dx), 0, lastTurn),
            plan(wheel2, wheel1, std::atan2(-dy, -dx), std::min(0.0, turn2), std::fabs(turn2))};
}

MeshBandMaker::MeshBandMaker(const MeshBandPlan& plan) {
    band_.plan = plan;
    if (plan.teeth > 0 && plan.perTooth >= 2) {
        band_.slot.assign(static_cast<std::size_t>(plan.teeth), -1);
        tooth_.reserve(plan.perTooth + 1);
    }
}

// The distance of `from` from the centre and its segment to `to`, as the check measures them on a
// whole outline.
void MeshBandMaker::Measure(const PointXY& from, const PointXY& to) {
    const PointXY& c = band_.plan.centre;
    sizes_.Take({from.X - c.X, from.Y - c.Y}, {to.X - c.X, to.Y - c.Y});
}

void MeshBandMaker::Add(PointXY p) {
    const std::size_t i = band_.size++;
    if (i == 0) {
        first_ = p;
    }
    if (i >= 2) {
        // Point i - 2 is not the closing one.
        Measure(beforeLast_, last_);
    }
    beforeLast_ = last_;
    last_ = p;
    const std::size_t per = band_.plan.perTooth;
    if (band_.slot.empty() || i >= band_.slot.size() * per) {
        return;  // the closing point, or more than planned
    }
    if (i % per == 0 && i > 0) {
        tooth_.push_back(p);  // the tooth before ends on this tooth's first point
        EndTooth(i / per - 1);
    }
    tooth_.push_back(p);
}

namespace {

std::int64_t Bits(double v) {
    std::int64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

// Where `read` lies from `placed` in units in the last place, when both are finite numbers of
// one sign (doubles of one sign are in the order of their bits) and the offset fits a byte: a
// written coordinate reads back within half a unit of its 15th digit, at most some 45 units in
// the last place of a double.
bool OffsetOf(double placed, double read, std::int8_t& offset) {
    if (!std::isfinite(placed) || !std::isfinite(read) ||
        std::signbit(placed) != std::signbit(read)) {
        return false;
    }
    const std::int64_t d = Bits(read) - Bits(placed);
    if (d < -127 || d > 127) {
        return false;
    }
    offset = static_cast<std::int8_t>(d);
    return true;
}

}  // namespace

std::size_t MeshBand::PointsHeld() const {
    std::size_t n = 0;
    for (const MeshKeptTooth& tooth : kept) {
        n += tooth.points.size();
    }
    return n;
}

std::size_t MeshBand::OffsetsHeld() const {
    std::size_t n = 0;
    for (const MeshKeptTooth& tooth : kept) {
        n += tooth.offsets.size();
    }
    return n;
}

void MeshBandMaker::DrawnAs(const PlacedOutline& outline) {
    if (outline.Teeth() == band_.plan.teeth && outline.ToothPoints() == band_.plan.perTooth &&
        band_.size == 0) {
        band_.drawnAs = outline;
    }
}

// Tooth `tooth` as the band keeps it: as offsets from the outline drawn where every point
// lies near enough to it, else its points.
MeshKeptTooth MeshBandMaker::Kept(std::size_t tooth, const MeshToothBound& bound) {
    MeshKeptTooth kept;
    kept.bound = bound;
    const std::size_t per = band_.plan.perTooth;
    if (band_.drawnAs) {
        kept.turn = band_.drawnAs->TurnOf(static_cast<int>(tooth));
        offsets_.resize(2 * per);
        bool near = true;
        for (std::size_t j = 0; j < per && near; ++j) {
            const PointXY p = band_.drawnAs->PlacePoint(kept.turn, j);
            near = OffsetOf(p.X, tooth_[j].X, offsets_[2 * j]) &&
                   OffsetOf(p.Y, tooth_[j].Y, offsets_[2 * j + 1]);
        }
        if (near) {
            kept.offsets = PackedOffsets(offsets_);
            kept.next = tooth_[per];
            return kept;
        }
    }
    kept.points = tooth_;  // a copy of its own size, so nothing grows twice over
    return kept;
}

void MeshBandMaker::EndTooth(std::size_t tooth) {
    const PointXY& c = band_.plan.centre;
    double x0 = HUGE_VAL, x1 = -HUGE_VAL, y0 = HUGE_VAL, y1 = -HUGE_VAL;
    for (const PointXY& q : tooth_) {
        const PointXY p{q.X - c.X, q.Y - c.Y};
        x0 = std::min(x0, p.X);
        x1 = std::max(x1, p.X);
        y0 = std::min(y0, p.Y);
        y1 = std::max(y1, p.Y);
    }
    const MeshToothBound bound{{(x0 + x1) / 2, (y0 + y1) / 2}, std::hypot(x1 - x0, y1 - y0) / 2};
    SweepReach reach;
    reach.distance = band_.plan.distance;
    reach.towardsMate = band_.plan.towardsMate;
    reach.turnFrom = band_.plan.turnFrom;
    reach.sweep = band_.plan.sweep;
    reach.lo = band_.plan.lo;
    reach.hi = band_.plan.hi;
    if (reach.MayReach(bound.centre, bound.radius)) {
        band_.slot[tooth] = static_cast<std::int32_t>(band_.kept.size());
        band_.kept.push_back(Kept(tooth, bound));
    }
    tooth_.clear();
}

MeshBand MeshBandMaker::Finish() {
    if (band_.size >= 2) {
        // The last segment runs back to the first point, not to the closing one.
        Measure(beforeLast_, first_);
    }
    band_.rMin = sizes_.rMin;
    band_.rMax = sizes_.rMax;
    band_.longestSegment = sizes_.longestSegment;
    band_.area = sizes_.area;
    if (band_.Complete()) {
        tooth_.push_back(first_);  // the last tooth ends on the first point
        EndTooth(band_.slot.size() - 1);
    }
    return std::move(band_);
}

}  // namespace tarvo
