// The mesh check. Only a few teeth of each wheel can ever come near the mate, so each wheel is
// first cut down to the teeth that, anywhere in the sweep, come within reach of the mate's tooth
// ring. Each tooth carries bounding circles of short stretches of its outline; in each position
// the teeth of wheel 1 are paired only with the teeth of wheel 2 at about the same angle. A pair
// of teeth measured once (stretches nearest first, segment by segment with Boost.Geometry) is
// remembered with its distance: until the wheels have turned far enough for it to close, it is
// not measured again, so each position measures only the few pairs at the mesh, whatever the
// tooth counts. Only teeth whose segments cross have their material (closed through the body for
// external teeth, outwards for internal teeth) intersected by Boost.Geometry.
// Outlines that are not ours (a file edited or made by another program) can be tangled beyond
// any gear: the work is counted, and the check gives up once it exceeds a budget proportional to
// the outlines' size.
#include "report/mesh_check.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "report/boost_geometry.h"
#include "report/chord_frame.h"
#include "report/mesh_band.h"
#include "report/outline_sizes.h"
#include "report/segment_index.h"
#include "report/sweep_reach.h"
#include "report/touch_depth.h"

#include "math/constants.h"
#include "math/hypot_extremes.h"
#include "math/involute.h"

namespace tarvo {

namespace {

namespace bg = boost::geometry;
using BPoint = bg::model::d2::point_xy<double>;
using BLine = bg::model::linestring<BPoint>;
using BLines = bg::model::multi_linestring<BLine>;
using BPolygon = bg::model::polygon<BPoint>;
using BPolygons = bg::model::multi_polygon<BPolygon>;

constexpr double kTwoPi = 2 * kPi;
// Points on the arc that closes a piece: one every 5 degrees keeps the chords close to the arc.
constexpr double kArcStep = kPi / 36;
// Segments of outline under one bounding circle: at the finest accuracy 8 make a stretch of about
// a fifth of a module, so a position measures few stretches beyond the nearest ones; at coarse
// accuracy a stretch is a whole flank, and a tooth has few of them.
constexpr std::size_t kChunkSegments = 8;

// What the steps of the check cost in work units (one unit: about one comparison of two
// circles), as measured on our own drawings.
constexpr double kReachWork = 8;       // one point's nearest and farthest through the sweep
constexpr double kSegmentsWork = 4;    // the distance of two segments
constexpr double kOverlayWork = 60;    // one point of the material Boost.Geometry intersects
constexpr double kWholeLineWork = 40;  // one point of a whole outline measured by Boost
// An overlap found on the teeth that meet the mate is measured again on all that may cross when
// it comes within this of touching depth, mm: the two differ by the rounding of the
// intersection points alone, some 1e-13 mm on a wheel of 2000 mm.
constexpr double kRecheckMargin = 1e-6;
// Stretches of the teeth that may cross whose circles overlap, beyond the stretches next to each
// other along an outline: a few at every contact and tip of a gear; a tangle of segments has
// about the square of their number, and Boost.Geometry would work through every crossing.
constexpr std::size_t kOverlapsPerStretch = 4;
constexpr std::size_t kOverlapsFloor = 64;
// Lists of pairs longer than this many per outline point are a tangle, not a gear.
constexpr std::size_t kPairsPerPoint = 4;
constexpr std::size_t kPairsFloor = 1 << 16;

// Thrown inside this file when the work exceeds its budget; the checks below catch it.
struct GaveUp {};
// Thrown when a point of a tooth a band did not keep is asked for.
struct BandTooNarrow {};

class Budget {
  public:
    Budget(const MeshLimits& limits, std::size_t points)
        : left_(limits.workFloor + limits.workPerPoint * static_cast<double>(points)),
          longestList_(std::isfinite(left_) ? kPairsFloor + kPairsPerPoint * points
                                            : std::numeric_limits<std::size_t>::max()) {}

    void Spend(double units) {
        left_ -= units;
        if (!(left_ >= 0)) {
            throw GaveUp{};
        }
    }
    bool Limited() const { return std::isfinite(left_); }
    void CheckList(std::size_t size) const {
        if (size > longestList_) {
            throw GaveUp{};
        }
    }

  private:
    double left_;
    std::size_t longestList_;
};

// A wheel's own description of where it lies: distances of its outline from its centre and the
// longest segment. Points are read from the outline as they are needed, not copied.
struct WheelShape {
    const std::vector<PointXY>* outline = nullptr;
    const MeshBand* band = nullptr;  // instead of the outline
    PointXY centre;
    std::size_t n = 0;  // points without the closing one
    double rMin = 0, rMax = 0;
    double longestSegment = 0;
    int perTooth = 0;  // points per tooth, 0 when the outline is not z equal teeth
    double area = 0;   // enclosed by the outline, positive when it runs anticlockwise

    PointXY Local(std::size_t i) const {
        const PointXY p = band != nullptr ? BandPoint(i % n) : (*outline)[i % n];
        return {p.X - centre.X, p.Y - centre.Y};
    }

    // Calls visit(Local(i)) for i from `first` to `last`, stepping along the outline rather than
    // dividing for each point.
    template <typename Visit>
    void EachLocal(std::size_t first, std::size_t last, Visit&& visit) const {
        std::size_t i = first % n;
        if (band == nullptr) {
            for (std::size_t k = first; k <= last; ++k) {
                const PointXY& p = (*outline)[i];
                visit(PointXY{p.X - centre.X, p.Y - centre.Y});
                i = i + 1 == n ? 0 : i + 1;
            }
            return;
        }
        const std::size_t per = band->plan.perTooth;
        std::size_t t = i / per, j = i % per;
        for (std::size_t k = first; k <= last; ++k) {
            const PointXY p = BandPoint(t, j);
            visit(PointXY{p.X - centre.X, p.Y - centre.Y});
            if (++j == per) {
                j = 0;
                t = t + 1 == band->slot.size() ? 0 : t + 1;
            }
        }
    }

  private:
    // Point i of a band's outline: of its kept tooth, or the last point of the kept tooth before.
    PointXY BandPoint(std::size_t i) const {
        const std::size_t per = band->plan.perTooth;
        return BandPoint(i / per, i % per);
    }
    // Point j of tooth t of a band's outline.
    PointXY BandPoint(std::size_t t, std::size_t j) const {
        const std::size_t per = band->plan.perTooth;
        if (band->slot[t] >= 0) {
            return band->Point(t, j);
        }
        const std::size_t before = (t + band->slot.size() - 1) % band->slot.size();
        if (j == 0 && band->slot[before] >= 0) {
            return band->Point(before, per);
        }
        throw BandTooNarrow{};
    }
};

// Points of the wheel's outline, the closing one included.
std::size_t Size(const MeshWheel& wheel) {
    return wheel.band != nullptr ? wheel.band->size : wheel.outline->size();
}

WheelShape Shape(const MeshWheel& wheel) {
    WheelShape s;
    s.outline = wheel.outline;
    s.band = wheel.band;
    s.centre = wheel.centre;
    if (wheel.band != nullptr) {
        const MeshBand& band = *wheel.band;
        s.n = band.size - 1;
        s.rMin = band.rMin;
        s.rMax = band.rMax;
        s.longestSegment = band.longestSegment;
        s.area = band.area;
        s.perTooth = static_cast<int>(band.plan.perTooth);
        return s;
    }
    s.n = wheel.outline->size() - 1;
    OutlineSizes sizes;
    PointXY before;
    s.EachLocal(0, s.n, [&, first = true](const PointXY& p) mutable {
        if (!first) {
            sizes.Take(before, p);
        }
        first = false;
        before = p;
    });
    s.rMin = sizes.rMin;
    s.rMax = sizes.rMax;
    s.longestSegment = sizes.longestSegment;
    s.area = sizes.area;
    const std::size_t z = static_cast<std::size_t>(wheel.teeth);
    if (z > 0 && s.n % z == 0 && s.n / z >= 2) {
        s.perTooth = static_cast<int>(s.n / z);
    }
    return s;
}

struct Circle {
    PointXY centre;
    double radius = 0;
};

// The smallest circle about the middle of the box of `count` points that holds them all, and
// with them the segments between them.
Circle Bound(const PointXY* points, std::size_t count) {
    double x0 = HUGE_VAL, x1 = -HUGE_VAL, y0 = HUGE_VAL, y1 = -HUGE_VAL;
    for (std::size_t i = 0; i < count; ++i) {
        x0 = std::min(x0, points[i].X);
        x1 = std::max(x1, points[i].X);
        y0 = std::min(y0, points[i].Y);
        y1 = std::max(y1, points[i].Y);
    }
    Circle c{{(x0 + x1) / 2, (y0 + y1) / 2}, 0};
    for (std::size_t i = 0; i < count; ++i) {
        const double dx = points[i].X - c.centre.X, dy = points[i].Y - c.centre.Y;
        if (HypotMayLeave(dx, dy, 0, c.radius)) {
            c.radius = std::max(c.radius, std::hypot(dx, dy));
        }
    }
    return c;
}

// One tooth's stretch of outline, points `first` to `first + count` (the next tooth's first),
// relative to the wheel centre and unturned, with the circles that bound it in short stretches
// and whole. The whole circle holds every stretch's circle bound from the points, so a stretch
// lies no nearer to anything than its tooth's circle does. A tooth of a drawing of ours keeps no
// circles of its stretches: they are its wheel's pattern turned with it (ToothPattern below),
// bound again from its points only where the wheels may share material.
struct ToothRun {
    int index = 0;  // tooth number on its wheel
    bool patterned = false;
    std::size_t first = 0, count = 0;
    std::size_t firstChunk = 0;  // the number of its first stretch among the piece's
    Circle bound;
    std::vector<Circle> chunks;
    PlacedOutline::ToothTurn turn;  // of a patterned tooth: its turn from the pattern
};

// The first and last point of stretch `chunk` of a tooth, counted along the tooth.
std::pair<std::size_t, std::size_t> StretchPoints(const ToothRun& tooth, std::size_t chunk) {
    const std::size_t from = chunk * kChunkSegments;
    return {from, std::min(tooth.count, from + kChunkSegments)};
}

// The circles of a tooth's `count` + 1 points: of each stretch, and of the whole tooth grown to
// hold every stretch's circle.
void BoundTooth(const std::vector<PointXY>& points, std::size_t count, Circle& bound,
                std::vector<Circle>& chunks) {
    bound = Bound(points.data(), count + 1);
    chunks.reserve((count + kChunkSegments - 1) / kChunkSegments);
    for (std::size_t from = 0; from < count; from += kChunkSegments) {
        const std::size_t to = std::min(count, from + kChunkSegments);
        chunks.push_back(Bound(points.data() + from, to - from + 1));
    }
    for (const Circle& c : chunks) {
        bound.radius = std::max(
            bound.radius,
            std::hypot(c.centre.X - bound.centre.X, c.centre.Y - bound.centre.Y) + c.radius);
    }
}

ToothRun MakeTooth(const WheelShape& s, int index, std::size_t first, std::size_t count) {
    ToothRun tooth;
    tooth.index = index;
    tooth.first = first;
    tooth.count = count;
    // The tooth's points, read from the outline once.
    std::vector<PointXY> points;
    points.reserve(count + 1);
    s.EachLocal(first, first + count, [&](const PointXY& p) { points.push_back(p); });
    BoundTooth(points, count, tooth.bound, tooth.chunks);
    return tooth;
}

// A drawing of ours is its first tooth turned about the gear's centre, and its band keeps each
// tooth as that turn and the read-back offsets. The circles of the stretches of every such tooth
// are then the first tooth's, bound once and turned with the tooth, and grown by `slack`: the
// points the check reads differ from the turned first tooth by the rounding of the turns and of
// the written coordinates, at most a few hundred units in the last place of the wheel's size, and
// the slack is a thousand (under 1e-9 mm on a wheel of 2000 mm; on our drawings every point lies
// inside its circle by nearly the whole slack). They bound the same points as the circles bound
// from each tooth's own points, so every distance measured with them is the same; a wheel of
// thousands of teeth then keeps the circles of one tooth, not of each.
struct ToothPattern {
    std::vector<Circle> chunks;  // about the gear's own centre
    PointXY next;                // the next tooth's first point, about the gear's own centre
    PointXY shift;               // the gear's own centre from the wheel's centre
    double slack = 0;

    // A circle of the pattern turned as a tooth turned by `turn`, about the wheel's centre.
    Circle Turned(const Circle& c, const PlacedOutline::ToothTurn& turn) const {
        return {Turned(c.centre, turn), c.radius};
    }
    PointXY Turned(const PointXY& p, const PlacedOutline::ToothTurn& turn) const {
        if (!turn.turned) {
            return {p.X + shift.X, p.Y + shift.Y};
        }
        return {turn.cos * p.X + turn.sin * p.Y + shift.X,
                turn.cos * p.Y - turn.sin * p.X + shift.Y};
    }
};

// The pattern of a band's teeth kept as offsets from the outline drawn, none without one.
std::optional<ToothPattern> PatternOf(const WheelShape& s) {
    if (s.band == nullptr || !s.band->drawnAs || s.perTooth == 0 ||
        s.band->drawnAs->ToothPoints() != static_cast<std::size_t>(s.perTooth)) {
        return std::nullopt;
    }
    const PlacedOutline& drawn = *s.band->drawnAs;
    const std::size_t count = drawn.ToothPoints();
    const PointXY origin = drawn.PlacedCentre();
    std::vector<PointXY> points;
    points.reserve(count + 1);
    double farthest = 0;
    auto take = [&](const PointXY& p) {
        points.push_back({p.X - origin.X, p.Y - origin.Y});
        farthest = std::max(farthest, std::hypot(points.back().X, points.back().Y));
    };
    for (std::size_t j = 0; j < count; ++j) {
        take(drawn.PlacePoint(drawn.TurnOf(0), j));
    }
    take(drawn.PlacePoint(drawn.TurnOf(1), 0));
    ToothPattern pattern;
    Circle whole;
    BoundTooth(points, count, whole, pattern.chunks);
    pattern.next = points.back();
    pattern.shift = {origin.X - s.centre.X, origin.Y - s.centre.Y};
    const double size =
        farthest + std::hypot(origin.X, origin.Y) + std::hypot(s.centre.X, s.centre.Y);
    pattern.slack = 1024 * std::numeric_limits<double>::epsilon() * size;
    if (!std::isfinite(pattern.slack)) {
        return std::nullopt;
    }
    for (Circle& c : pattern.chunks) {
        c.radius += pattern.slack;
    }
    return pattern;
}

// Turns `tooth` into its wheel's pattern turned where the band keeps it as offsets from the
// outline drawn and the next tooth's first point, which the tooth's last stretch ends on, lies
// where the pattern has it. Its own stretches' circles are let go.
void Pattern(const WheelShape& s, const ToothPattern& pattern, const MeshKeptTooth& kept,
             ToothRun& tooth) {
    if (!kept.points.empty()) {
        return;
    }
    const PointXY next = pattern.Turned(pattern.next, kept.turn);
    const PointXY read{kept.next.X - s.centre.X, kept.next.Y - s.centre.Y};
    if (!(std::hypot(read.X - next.X, read.Y - next.Y) <= pattern.slack / 2)) {
        return;
    }
    tooth.patterned = true;
    tooth.turn = kept.turn;
    std::vector<Circle>().swap(tooth.chunks);
}

// Places for what is made of a piece's stretches (or teeth), each stretch in one place chosen by
// its number among the piece's: a measure of two teeth asks for a few dozen stretches of each,
// and one asked for again soon after is most often still in its place. The places, at most
// kPlaces, are made when first asked for, and kept from one position to the next.
template <typename Held, std::size_t kPlaces>
class StretchPlaces {
    static_assert((kPlaces & (kPlaces - 1)) == 0, "places are found by a mask");

  public:
    // Forgets what every place holds.
    void Clear() {
        for (Place& place : places_) {
            place.number = kNone;
        }
    }
    // The place of stretch (or tooth) `number` of a piece of `count`, and whether it holds what
    // is made of that one already.
    std::pair<Held*, bool> Find(std::size_t number, std::size_t count) {
        if (places_.empty()) {
            std::size_t size = 1;  // a power of two, so that a place is found by a mask
            while (size < kPlaces && size < count) {
                size *= 2;
            }
            places_.resize(size);
        }
        Place& place = places_[number & (places_.size() - 1)];
        const bool held = place.number == number;
        place.number = number;
        return {&place.held, held};
    }

  private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    struct Place {
        std::size_t number = kNone;
        Held held;
    };
    std::vector<Place> places_;
};

// A wheel cut down to what can meet the mate: its teeth in order along the outline. An outline
// that is not z equal teeth is one run of `wheelTeeth` 1.
struct Piece {
    WheelShape shape;
    std::vector<ToothRun> teeth;
    std::size_t chunkCount = 0;  // stretches of all the teeth
    int wheelTeeth = 1;
    bool internal = false;
    double closeRadius = 0;  // where a run of teeth is closed into material
    double farRadius = 0;    // the square about an internal wheel's material
    // The teeth by the polar angle of their circles' centres, unturned, ascending in [-pi, pi]:
    // a circle of the mate meets only the teeth at about its own angle.
    std::vector<double> angles;
    std::vector<std::size_t> byAngle;
    double innermost = 0;    // the nearest a tooth circle's centre lies to the wheel's centre
    double widest = 0;       // the largest tooth circle's radius
    double widestChunk = 0;  // the largest stretch circle's radius, bound from its points
    std::optional<ToothPattern> pattern;  // of the patterned teeth

    // Stretches of tooth k.
    std::size_t ChunkCount(std::size_t k) const {
        return teeth[k].patterned ? pattern->chunks.size() : teeth[k].chunks.size();
    }
    // The circle of stretch `chunk` of tooth k, relative to the wheel centre and unturned.
    Circle Chunk(std::size_t k, std::size_t chunk) const {
        const ToothRun& tooth = teeth[k];
        return tooth.patterned ? pattern->Turned(pattern->chunks[chunk], tooth.turn)
                               : tooth.chunks[chunk];
    }
    // The circles of patterned tooth k's stretches bound from its points, as a tooth not
    // patterned keeps them; they stay until another tooth's are asked for in their place.
    const std::vector<Circle>& OwnChunks(std::size_t k) const {
        const auto [circles, held] = ownChunks_.Find(k, teeth.size());
        if (!held) {
            const ToothRun& tooth = teeth[k];
            *circles = MakeTooth(shape, tooth.index, tooth.first, tooth.count).chunks;
        }
        return *circles;
    }

    // Points `from` to `to` of tooth k, relative to the wheel centre and unturned.
    BLine Line(std::size_t k, std::size_t from, std::size_t to) const {
        BLine line;
        line.reserve(to - from + 1);
        shape.EachLocal(teeth[k].first + from, teeth[k].first + to,
                        [&](const PointXY& p) { line.push_back(BPoint(p.X, p.Y)); });
        return line;
    }
    BLine Line(std::size_t k) const { return Line(k, 0, teeth[k].count); }

  private:
    // Where the wheels may share material the same teeth are asked for position after position:
    // a few, or on nearly concentric wheels every tooth whose circle meets the mate's, some
    // hundreds; fewer places than those make each position bind them all again.
    mutable StretchPlaces<std::vector<Circle>, 1024> ownChunks_;
};

void IndexByAngle(Piece& piece) {
    if (piece.teeth.size() < 2) {
        return;
    }
    std::vector<std::pair<double, std::size_t>> order;
    piece.innermost = HUGE_VAL;
    for (std::size_t k = 0; k < piece.teeth.size(); ++k) {
        const Circle& c = piece.teeth[k].bound;
        order.emplace_back(std::atan2(c.centre.Y, c.centre.X), k);
        piece.innermost = std::min(piece.innermost, std::hypot(c.centre.X, c.centre.Y));
        piece.widest = std::max(piece.widest, c.radius);
    }
    std::sort(order.begin(), order.end());
    for (const auto& [angle, k] : order) {
        piece.angles.push_back(angle);
        piece.byAngle.push_back(k);
    }
}

using Reach = SweepReach;

// The circle about the middle of the box of outline points `first` to `last` that holds them.
Circle LocalBound(const WheelShape& s, std::size_t first, std::size_t last) {
    double x0 = HUGE_VAL, x1 = -HUGE_VAL, y0 = HUGE_VAL, y1 = -HUGE_VAL;
    for (std::size_t i = first; i <= last; ++i) {
        const PointXY p = s.Local(i);
        x0 = std::min(x0, p.X);
        x1 = std::max(x1, p.X);
        y0 = std::min(y0, p.Y);
        y1 = std::max(y1, p.Y);
    }
    // The box's half diagonal: every point of the box lies within it of the box's middle.
    return {{(x0 + x1) / 2, (y0 + y1) / 2}, std::hypot(x1 - x0, y1 - y0) / 2};
}

// Whether every tooth a band left out lies beyond `reach`: the band chose its teeth by the same
// test of their circles on the same sweep, with a reach that holds this one.
bool BandHolds(const MeshBandPlan& plan, const Reach& reach) {
    return plan.distance == reach.distance && plan.towardsMate == reach.towardsMate &&
           plan.turnFrom == reach.turnFrom && plan.sweep == reach.sweep && plan.lo <= reach.lo &&
           plan.hi >= reach.hi;
}

// Keeps the whole teeth of `wheel` that come within `reach.lo`..`reach.hi` of the mate's centre
// for some turn of the sweep; its runs of teeth are closed into material at `closeRadius`.
Piece Cut(const MeshWheel& wheel, const WheelShape& s, const Reach& reach, double farRadius,
          double closeRadius, Budget& budget) {
    Piece piece;
    piece.shape = s;
    piece.internal = wheel.internal;
    piece.farRadius = farRadius;
    piece.closeRadius = closeRadius;
    auto widen = [&piece](const ToothRun& tooth) {
        for (const Circle& c : tooth.chunks) {
            piece.widestChunk = std::max(piece.widestChunk, c.radius);
        }
    };
    if (s.perTooth == 0 || reach.sweep >= kTwoPi || !(reach.distance > 0)) {
        budget.Spend(static_cast<double>(s.n));
        piece.teeth.push_back(MakeTooth(s, 0, 0, s.n));
        piece.chunkCount = piece.teeth.back().chunks.size();
        widen(piece.teeth.back());
        return piece;
    }
    if (s.band != nullptr && !BandHolds(s.band->plan, reach)) {
        throw BandTooNarrow{};
    }
    piece.wheelTeeth = wheel.teeth;
    piece.pattern = PatternOf(s);
    const std::size_t perTooth = static_cast<std::size_t>(s.perTooth);
    for (int t = 0; t < wheel.teeth; ++t) {
        const std::size_t first = static_cast<std::size_t>(t) * perTooth;
        // Most teeth lie far from the mate all through the sweep: one test of their bounding
        // circle settles them without the trigonometry of every point. A band has made that
        // test already, and kept the circles only of the teeth that passed.
        bool kept = false;
        budget.Spend(static_cast<double>(perTooth));
        const MeshKeptTooth* inBand = nullptr;
        if (s.band != nullptr) {
            const long slot = s.band->slot[static_cast<std::size_t>(t)];
            if (slot < 0) {
                continue;
            }
            inBand = &s.band->kept[static_cast<std::size_t>(slot)];
        }
        const Circle bound = inBand != nullptr ? Circle{inBand->bound.centre, inBand->bound.radius}
                                               : LocalBound(s, first, first + perTooth);
        const bool mayReach = reach.MayReach(bound.centre, bound.radius);
        for (std::size_t i = 0; i <= perTooth && mayReach && !kept; ++i) {
            budget.Spend(kReachWork);
            kept = reach.Reaches(s.Local(first + i));
        }
        if (kept) {
            budget.Spend(static_cast<double>(perTooth));
            piece.teeth.push_back(MakeTooth(s, t, first, perTooth));
            ToothRun& tooth = piece.teeth.back();
            tooth.firstChunk = piece.chunkCount;
            piece.chunkCount += tooth.chunks.size();
            widen(tooth);
            if (piece.pattern) {  // made only of a band's outline drawn
                Pattern(s, *piece.pattern, *inBand, tooth);
            }
        }
    }
    IndexByAngle(piece);
    return piece;
}

// A wheel's turn about its centre in one position.
struct Pose {
    PointXY centre;
    double angle = 0;
    double c = 1, s = 0;

    Pose(PointXY at, double turn) : centre(at), angle(turn), c(std::cos(turn)), s(std::sin(turn)) {}
    PointXY operator()(double x, double y) const {
        return {centre.X + c * x - s * y, centre.Y + s * x + c * y};
    }
};

// What matters of each piece in one position: the stretches of outline that can hold the
// nearest points of the two outlines, and the teeth (indices into Piece::teeth) whose outline
// can cross the mate's.
struct Stretch {
    std::size_t tooth = 0;
    std::size_t chunk = 0;
};

// Two stretches no nearer than `gap`: their circles' gap, or in NearestDistance the separation
// of their chord frames less the slack where that is larger.
struct StretchPair {
    double gap;
    Stretch a, b;
};

struct NearParts {
    std::vector<StretchPair> nearest;  // pairs that can hold the nearest points
    std::vector<StretchPair> meeting;  // pairs whose circles meet: those that can cross
    std::vector<std::size_t> crossing1, crossing2;  // the teeth of the pairs that meet
};

Circle PlacedCircle(const Circle& local, const Pose& pose) {
    return {pose(local.centre.X, local.centre.Y), local.radius};
}

double Gap(const Circle& a, const Circle& b) {
    const double dx = a.centre.X - b.centre.X;
    const double dy = a.centre.Y - b.centre.Y;
    return std::sqrt(dx * dx + dy * dy) - a.radius - b.radius;
}

template <typename T>
void SortUnique(std::vector<T>& list) {
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
}

// A stretch placed: its points, kChunkSegments segments (fewer at a tooth's end).
struct PlacedStretch {
    std::array<BPoint, kChunkSegments + 1> points;
    std::size_t count = 0;

    std::size_t size() const { return count; }
    const BPoint& operator[](std::size_t i) const { return points[i]; }
};

// The stretches placed in one position; each position forgets those of the one before.
using StretchRoom = StretchPlaces<PlacedStretch, 64>;

// The frames of a piece's stretches, unturned, made when first asked for: most teeth of a piece
// never come near enough to the mate for their stretches to be set apart, and of those that do,
// most stretches lie too far from the mate's. The first position may ask for the stretches of
// every tooth the cut kept (on nearly concentric wheels, a thousand whose circles meet the
// mate's); the later ones ask again only for those of the few teeth at the mesh, numbered one
// after another, so that few of them share a place.
class StretchFrames {
  public:
    const ChordFrame& Of(const Piece& piece, std::size_t k, std::size_t chunk) {
        const ToothRun& run = piece.teeth[k];
        const auto [frame, held] = frames_.Find(run.firstChunk + chunk, piece.chunkCount);
        if (!held) {
            const auto [from, to] = StretchPoints(run, chunk);
            *frame = ChordFrame::Through(piece.shape.Local(run.first + from),
                                         piece.shape.Local(run.first + to));
            for (std::size_t i = from; i <= to; ++i) {
                frame->Take(piece.shape.Local(run.first + i));
            }
        }
        return *frame;
    }

  private:
    StretchPlaces<ChordFrame, 256> frames_;
};

// The circles of a piece's teeth in one position, and of a tooth's stretches once asked for.
class PlacedPiece {
  public:
    // `room` holds the placed stretches; it keeps its memory from one position to the next.
    PlacedPiece(const Piece& piece, const Pose& pose, StretchRoom& room, StretchFrames& frames,
                Budget& budget)
        : piece_(piece),
          pose_(pose),
          chunksCharged_(piece.teeth.size(), false),
          stretchesCharged_(piece.chunkCount, false),
          stretches_(room),
          frames_(frames) {
        stretches_.Clear();
        budget.Spend(static_cast<double>(piece.teeth.size()));
        teeth.reserve(piece.teeth.size());
        for (const ToothRun& tooth : piece.teeth) {
            teeth.push_back(PlacedCircle(tooth.bound, pose));
        }
    }

    // The circles of tooth k's stretches placed; they stay until the circles of another tooth
    // are asked for in their place. Each tooth is counted as work once a position, however
    // often it is placed.
    const std::vector<Circle>& Chunks(std::size_t k, Budget& budget) {
        const std::size_t count = piece_.ChunkCount(k);
        if (!chunksCharged_[k]) {
            budget.Spend(static_cast<double>(count));
            chunksCharged_[k] = true;
        }
        PlacedChunks& place = chunks_[k % kChunkPlaces];
        if (place.tooth != k) {
            place.tooth = k;
            place.circles.clear();
            if (ownCircles_ && piece_.teeth[k].patterned) {
                for (const Circle& c : piece_.OwnChunks(k)) {
                    place.circles.push_back(PlacedCircle(c, pose_));
                }
            } else {
                for (std::size_t c = 0; c < count; ++c) {
                    place.circles.push_back(PlacedCircle(piece_.Chunk(k, c), pose_));
                }
            }
        }
        return place.circles;
    }

    // From now on in this position the circles of every tooth's stretches are bound from its
    // own points. Which stretches' circles meet decides which teeth's material is intersected,
    // and the area Boost.Geometry finds for the thin slivers of an overlap moves with that in
    // its third digit; bound from the points, the teeth are the same as for a drawing not ours.
    void BindOwnCircles() {
        ownCircles_ = true;
        for (PlacedChunks& place : chunks_) {
            place.tooth = kNoTooth;
        }
    }

    // Stretch `chunk` of tooth k placed; it stays until another stretch is asked for in its
    // place. Each stretch is counted as work once a position.
    const PlacedStretch& Stretch(std::size_t k, std::size_t chunk, Budget& budget) {
        const std::size_t number = piece_.teeth[k].firstChunk + chunk;
        if (!stretchesCharged_[number]) {
            const auto [from, to] = StretchPoints(piece_.teeth[k], chunk);
            budget.Spend(static_cast<double>(to - from + 1));
            stretchesCharged_[number] = true;
        }
        const auto [stretch, held] = stretches_.Find(number, piece_.chunkCount);
        if (!held) {
            Place(k, chunk, *stretch);
        }
        return *stretch;
    }

    // Stretch `chunk` of tooth k placed into `stretch` as Stretch places it, but neither kept
    // nor counted as work.
    void Place(std::size_t k, std::size_t chunk, PlacedStretch& stretch) const {
        const auto [from, to] = StretchPoints(piece_.teeth[k], chunk);
        stretch.count = 0;
        const std::size_t first = piece_.teeth[k].first;
        piece_.shape.EachLocal(first + from, first + to, [&](const PointXY& p) {
            const PointXY q = pose_(p.X, p.Y);
            stretch.points[stretch.count++] = BPoint(q.X, q.Y);
        });
    }

    // The frame of stretch `chunk` of tooth k, turned with its tooth: its box holds the placed
    // points but for the rounding of their turn, a few units in the last place of the wheel's
    // size, far below the slack every bound drawn from it leaves.
    ChordFrame Frame(std::size_t k, std::size_t chunk) {
        return frames_.Of(piece_, k, chunk).Turned(pose_.c, pose_.s, pose_.centre);
    }

    const Piece& piece() const { return piece_; }
    const Pose& pose() const { return pose_; }

    std::vector<Circle> teeth;

  private:
    static constexpr std::size_t kChunkPlaces = 16;
    static constexpr std::size_t kNoTooth = static_cast<std::size_t>(-1);
    struct PlacedChunks {
        std::size_t tooth = kNoTooth;
        std::vector<Circle> circles;
    };

    const Piece& piece_;
    const Pose& pose_;
    PlacedChunks chunks_[kChunkPlaces];
    std::vector<bool> chunksCharged_, stretchesCharged_;  // counted as work in this position
    StretchRoom& stretches_;
    StretchFrames& frames_;
    bool ownCircles_ = false;
};

// Calls visit(j) for the teeth j of `placed` whose circles may lie within `gap` of `a`: all of
// them, or, where the teeth stand round their centre, those at about the angle of `a`. Two
// points at least `near` from the centre and an angle d apart about it lie at least
// 2 near sin(d / 2) apart.
template <typename Visit>
void VisitNear(const PlacedPiece& placed, const Circle& a, double gap, Budget& budget,
               Visit&& visit) {
    const Piece& piece = placed.piece();
    const std::size_t count = piece.teeth.size();
    const double dx = a.centre.X - placed.pose().centre.X;
    const double dy = a.centre.Y - placed.pose().centre.Y;
    const double near = std::min(std::hypot(dx, dy), piece.innermost);
    const double within = a.radius + piece.widest + gap;
    const double half = piece.angles.empty() || !(near > 0) || !(within < 2 * near)
                            ? kPi
                            : 2 * std::asin(within / (2 * near)) * (1 + 1e-9) + 1e-12;
    if (!(half < kPi)) {
        budget.Spend(static_cast<double>(count));
        for (std::size_t j = 0; j < count; ++j) {
            visit(j);
        }
        return;
    }
    const double theta = WrapAngle(std::atan2(dy, dx) - placed.pose().angle);
    auto run = [&](double from, double to) {
        auto it = std::lower_bound(piece.angles.begin(), piece.angles.end(), from);
        for (; it != piece.angles.end() && *it <= to; ++it) {
            budget.Spend(1);
            visit(piece.byAngle[static_cast<std::size_t>(it - piece.angles.begin())]);
        }
    };
    const double lo = theta - half, hi = theta + half;
    if (lo < -kPi) {
        run(lo + kTwoPi, kPi);
        run(-kPi, hi);
    } else if (hi > kPi) {
        run(lo, kPi);
        run(-kPi, hi - kTwoPi);
    } else {
        run(lo, hi);
    }
}

// A first bound of the clearance from each tooth of wheel 1 and the teeth of wheel 2 at about
// its angle (any two circles bound it: no two of their points lie farther apart than the
// centres plus both radii).
double FirstUpperBound(const PlacedPiece& p1, const PlacedPiece& p2, Budget& budget) {
    double upper = HUGE_VAL;
    auto consider = [&](const Circle& a, const Circle& b) {
        upper = std::min(upper, Gap(a, b) + 2 * (a.radius + b.radius));
    };
    const Piece& piece2 = p2.piece();
    for (const Circle& a : p1.teeth) {
        if (piece2.angles.empty()) {
            budget.Spend(static_cast<double>(p2.teeth.size()));
            for (const Circle& b : p2.teeth) {
                consider(a, b);
            }
            continue;
        }
        budget.Spend(2);
        const double theta =
            WrapAngle(std::atan2(a.centre.Y - p2.pose().centre.Y, a.centre.X - p2.pose().centre.X) -
                      p2.pose().angle);
        const std::size_t after = static_cast<std::size_t>(
            std::lower_bound(piece2.angles.begin(), piece2.angles.end(), theta) -
            piece2.angles.begin());
        const std::size_t count = piece2.angles.size();
        consider(a, p2.teeth[piece2.byAngle[after % count]]);
        consider(a, p2.teeth[piece2.byAngle[(after + count - 1) % count]]);
    }
    return upper;
}

// Tooth pairs are taken nearest first by their bounding circles; the stretches' circles give an
// upper bound of the clearance and a lower bound per pair of stretches. A pair whose lower bound
// exceeds the upper bound cannot hold the nearest points; a pair whose circles do not meet
// cannot cross.
// With `meetingOnly` only the pairs whose circles meet are sought, for outlines that may touch.
NearParts FindNearParts(PlacedPiece& p1, PlacedPiece& p2, bool meetingOnly, Budget& budget) {
    struct TeethPair {
        double gap;
        std::size_t i, j;
    };
    double upper = meetingOnly ? 0 : FirstUpperBound(p1, p2, budget);
    const double first = std::max(upper, kTouchingDepth);
    std::vector<TeethPair> pairs;
    for (std::size_t i = 0; i < p1.teeth.size(); ++i) {
        VisitNear(p2, p1.teeth[i], first, budget, [&](std::size_t j) {
            const double gap = Gap(p1.teeth[i], p2.teeth[j]);
            if (gap <= first) {
                pairs.push_back({gap, i, j});
            }
        });
        budget.CheckList(pairs.size());
    }
    std::sort(pairs.begin(), pairs.end(),
              [](const TeethPair& a, const TeethPair& b) { return a.gap < b.gap; });
    std::vector<StretchPair> close;
    // Stretches within the bound, or close enough to cross, are kept.
    auto kept = [&upper](double gap) { return gap <= std::max(upper, kTouchingDepth); };
    std::vector<std::size_t> near1, near2;
    for (std::size_t k = 0; k < pairs.size() && kept(pairs[k].gap); ++k) {
        const std::vector<Circle>& chunks1 = p1.Chunks(pairs[k].i, budget);
        const std::vector<Circle>& chunks2 = p2.Chunks(pairs[k].j, budget);
        // A stretch lies within its tooth's circle: one too far from the other tooth's circle
        // is too far from each of its stretches.
        near1.clear();
        near2.clear();
        for (std::size_t a = 0; a < chunks1.size(); ++a) {
            if (kept(Gap(chunks1[a], p2.teeth[pairs[k].j]))) {
                near1.push_back(a);
            }
        }
        for (std::size_t b = 0; b < chunks2.size(); ++b) {
            if (kept(Gap(chunks2[b], p1.teeth[pairs[k].i]))) {
                near2.push_back(b);
            }
        }
        budget.Spend(
            static_cast<double>(chunks1.size() + chunks2.size() + near1.size() * near2.size()));
        for (const std::size_t a : near1) {
            for (const std::size_t b : near2) {
                const double gap = Gap(chunks1[a], chunks2[b]);
                if (kept(gap)) {
                    upper = std::min(upper, gap + 2 * (chunks1[a].radius + chunks2[b].radius));
                    close.push_back({gap, {pairs[k].i, a}, {pairs[k].j, b}});
                }
            }
        }
        budget.CheckList(close.size());
    }
    NearParts near;
    for (const StretchPair& pair : close) {
        if (pair.gap <= upper) {
            near.nearest.push_back(pair);
        }
        if (pair.gap <= kTouchingDepth) {
            near.meeting.push_back(pair);
            near.crossing1.push_back(pair.a.tooth);
            near.crossing2.push_back(pair.b.tooth);
        }
    }
    SortUnique(near.crossing1);
    SortUnique(near.crossing2);
    return near;
}

// The teeth `which` and, on both sides, the next tooth of the piece where it is the wheel's next
// tooth: an overlap that begins on a tooth may run on into its neighbour.
std::vector<std::size_t> WithNeighbours(const Piece& piece, const std::vector<std::size_t>& which) {
    std::vector<std::size_t> wider;
    const std::size_t count = piece.teeth.size();
    auto follows = [&](std::size_t a, std::size_t b) {  // tooth b is the wheel's tooth after a
        return (piece.teeth[a].index + 1) % piece.wheelTeeth == piece.teeth[b].index;
    };
    for (const std::size_t k : which) {
        wider.push_back(k);
        const std::size_t before = (k + count - 1) % count;
        const std::size_t after = (k + 1) % count;
        if (follows(before, k)) {
            wider.push_back(before);
        }
        if (follows(k, after)) {
            wider.push_back(after);
        }
    }
    SortUnique(wider);
    return wider;
}

template <typename Geometry>
Geometry Placed(Geometry g, const Pose& pose) {
    bg::for_each_point(g, [&](BPoint& p) {
        const PointXY q = pose(p.x(), p.y());
        p.x(q.X);
        p.y(q.Y);
    });
    return g;
}

// The box about one segment.
struct SegmentBox {
    double x0, y0, x1, y1;
    SegmentBox(const BPoint& a, const BPoint& b)
        : x0(std::min(a.x(), b.x())),
          y0(std::min(a.y(), b.y())),
          x1(std::max(a.x(), b.x())),
          y1(std::max(a.y(), b.y())) {}
    // The square of the gap between two boxes, 0 where they meet.
    double Gap2(const SegmentBox& o) const {
        const double dx = AtLeastZero(x0 - o.x1, o.x0 - x1);
        const double dy = AtLeastZero(y0 - o.y1, o.y0 - y1);
        return dx * dx + dy * dy;
    }
};

// The stretches of one tooth pair that held its nearest points when it was last measured, in
// 16 bits each so that what the sweep keeps of a pair stays as small as it was; a stretch
// numbered beyond that is not kept.
struct NearestStretches {
    static constexpr std::uint16_t kNone = 0xFFFF;
    std::uint16_t a = kNone, b = kNone;

    static NearestStretches Of(std::size_t a, std::size_t b) {
        return a < kNone && b < kNone
                   ? NearestStretches{static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b)}
                   : NearestStretches{};
    }
};

// The smallest distance between the stretches of the pairs: Boost's distance of each segment of
// one stretch to each of the other, compared squared and rooted once, as Boost measures two
// whole outlines. The pairs come nearest first by a lower bound of their distance (the gap
// between their circles, or their chord frames' separation), so the pairs beyond the smallest
// distance found are not measured. Where `last` names a pair of the list (the pair that held the
// nearest points in an earlier position, most likely to hold them again) it is measured first, so
// that the least found bounds the others at once; the answer is the same, the least over every
// segment pair that may come nearer. `last` then names the pair that holds it.
// Room a distance is worked out in, kept from one measure to the next so that its lists keep
// their memory.
struct DistanceRoom {
    std::vector<std::size_t> kept1, kept2;  // stretches of each tooth within reach
    std::vector<StretchPair> pairs;         // pairs of them that may hold the nearest points
    std::vector<SegmentBox> boxesB;         // of the second stretch's segments, boxed once per pair
    std::vector<double> gapsB;              // and their gaps from the first stretch's frame
};

double NearestDistance(PlacedPiece& placed1, PlacedPiece& placed2,
                       std::vector<StretchPair>& nearest, double slack, Budget& budget,
                       DistanceRoom& room, NearestStretches* last = nullptr) {
    using Segment = bg::model::referring_segment<const BPoint>;
    double least = HUGE_VAL, beyond = HUGE_VAL;
    NearestStretches holding;
    std::vector<SegmentBox>& boxesB = room.boxesB;
    std::vector<double>& gapsB = room.gapsB;
    auto measure = [&](const StretchPair& pair) {
        const PlacedStretch& a = placed1.Stretch(pair.a.tooth, pair.a.chunk, budget);
        const PlacedStretch& b = placed2.Stretch(pair.b.tooth, pair.b.chunk, budget);
        budget.Spend(kSegmentsWork * static_cast<double>(a.size() * b.size()));
        // Each segment lies no nearer the other stretch than the other's box along its chord:
        // a segment farther from it than the nearest found and the slack is passed over whole.
        const ChordFrame frameA = placed1.Frame(pair.a.tooth, pair.a.chunk);
        const ChordFrame frameB = placed2.Frame(pair.b.tooth, pair.b.chunk);
        boxesB.clear();
        gapsB.clear();
        for (std::size_t j = 0; j + 1 < b.size(); ++j) {
            boxesB.emplace_back(b[j], b[j + 1]);
            gapsB.push_back(frameA.Gap2({b[j].x(), b[j].y()}, {b[j + 1].x(), b[j + 1].y()}));
        }
        // Once segments meet (distance 0) no other pair can come nearer.
        for (std::size_t i = 0; i + 1 < a.size() && least != 0; ++i) {
            if (frameB.Gap2({a[i].x(), a[i].y()}, {a[i + 1].x(), a[i + 1].y()}) > beyond) {
                continue;
            }
            const SegmentBox boxA(a[i], a[i + 1]);
            for (std::size_t j = 0; j + 1 < b.size() && least != 0; ++j) {
                if (gapsB[j] > beyond) {
                    continue;
                }
                // Two segments lie no nearer than their boxes: a pair whose boxes lie farther
                // apart than the nearest found and the slack (far above the rounding of Boost's
                // measure) cannot lower it, and Boost need not measure it.
                if (boxA.Gap2(boxesB[j]) > beyond) {
                    continue;
                }
                const double d =
                    bg::comparable_distance(Segment(a[i], a[i + 1]), Segment(b[j], b[j + 1]));
                if (d < least) {
                    least = d;
                    beyond = (std::sqrt(least) + slack) * (std::sqrt(least) + slack);
                    holding = NearestStretches::Of(pair.a.chunk, pair.b.chunk);
                }
            }
        }
    };
    // Each pair's lower bound: its circles' gap, or where larger, its frames' separation less
    // the slack, which stays below the pair's distance however Boost rounds its measure.
    for (StretchPair& pair : nearest) {
        const double apart = Separation(placed1.Frame(pair.a.tooth, pair.a.chunk),
                                        placed2.Frame(pair.b.tooth, pair.b.chunk)) -
                             slack;
        pair.gap = std::max(pair.gap, apart);
    }
    std::sort(nearest.begin(), nearest.end(),
              [](const StretchPair& a, const StretchPair& b) { return a.gap < b.gap; });
    auto isLast = [&](const StretchPair& pair) {
        return last != nullptr && last->a != NearestStretches::kNone && pair.a.chunk == last->a &&
               pair.b.chunk == last->b;
    };
    const auto first = std::find_if(nearest.begin(), nearest.end(), isLast);
    if (first != nearest.end()) {
        measure(*first);
    }
    for (auto pair = nearest.begin(); pair != nearest.end(); ++pair) {
        if (least == 0 || (pair->gap > 0 && pair->gap * pair->gap >= least)) {
            break;  // nothing further can come nearer
        }
        if (pair != first) {
            measure(*pair);
        }
    }
    if (last != nullptr) {
        *last = holding;
    }
    return std::sqrt(least);
}

BLines Lines(const Piece& piece, const std::vector<std::size_t>& which, const Pose& pose) {
    BLines lines;
    for (const std::size_t k : which) {
        lines.push_back(Placed(piece.Line(k), pose));
    }
    return lines;
}

// A run of outline closed into material: back along an arc about the centre at `radius`,
// inside the root circle for external teeth, beyond it for internal teeth.
BPolygon ClosedRun(const BLine& run, double radius) {
    double angle = std::atan2(run.front().y(), run.front().x());
    const double start = angle;
    double before = angle;  // the direction of the point before
    for (std::size_t i = 1; i < run.size(); ++i) {
        const double next = std::atan2(run[i].y(), run[i].x());
        angle += WrapAngle(next - before);
        before = next;
    }
    const double end = angle;
    BPolygon polygon;
    polygon.outer().assign(run.begin(), run.end());
    const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(end - start) / kArcStep)));
    for (int i = 0; i <= steps; ++i) {
        const double t = end + (start - end) * i / steps;
        polygon.outer().push_back(BPoint(radius * std::cos(t), radius * std::sin(t)));
    }
    polygon.outer().push_back(run.front());
    bg::correct(polygon);
    return polygon;
}

// The whole wheel's material: inside its outline, or for internal teeth between the outline and
// a square far beyond the mate.
BPolygon WholeMaterial(const Piece& piece) {
    BLine loop;
    for (std::size_t k = 0; k < piece.teeth.size(); ++k) {
        const BLine line = piece.Line(k);
        loop.insert(loop.end(), line.begin(), line.end() - 1);
    }
    loop.push_back(loop.front());
    BPolygon polygon;
    if (piece.internal) {
        const double r = piece.farRadius;
        for (const BPoint& p :
             {BPoint(-r, -r), BPoint(-r, r), BPoint(r, r), BPoint(r, -r), BPoint(-r, -r)}) {
            polygon.outer().push_back(p);
        }
        polygon.inners().emplace_back(loop.begin(), loop.end());
    } else {
        polygon.outer().assign(loop.begin(), loop.end());
    }
    bg::correct(polygon);
    return polygon;
}

// The material of the teeth `which` (sorted): each run of the wheel's consecutive teeth closed
// through the body, or the whole wheel when every tooth is among them.
BPolygons Material(const Piece& piece, const std::vector<std::size_t>& which, const Pose& pose) {
    BPolygons material;
    if (which.size() == static_cast<std::size_t>(piece.wheelTeeth)) {
        material.push_back(Placed(WholeMaterial(piece), pose));
        return material;
    }
    std::vector<BLine> runs;
    int lastIndex = -2;
    for (const std::size_t k : which) {
        const ToothRun& tooth = piece.teeth[k];
        const BLine line = piece.Line(k);
        if (runs.empty() || tooth.index != lastIndex + 1) {
            runs.push_back(line);
        } else {
            runs.back().insert(runs.back().end(), line.begin() + 1, line.end());
        }
        lastIndex = tooth.index;
    }
    // A run through the last tooth goes on into tooth 0 at the start of the outline.
    if (runs.size() > 1 && piece.teeth[which.front()].index == 0 &&
        lastIndex == piece.wheelTeeth - 1) {
        runs.back().insert(runs.back().end(), runs.front().begin() + 1, runs.front().end());
        runs.erase(runs.begin());
    }
    for (const BLine& run : runs) {
        material.push_back(Placed(ClosedRun(run, piece.closeRadius), pose));
    }
    return material;
}

// Whether the stretches of the teeth that may cross are tangled: counts the pairs of their
// circles that overlap, other than neighbours along one outline, and stops counting past the
// most a gear shows. The work is reckoned as for a sweep across x that compares each circle with
// those after it whose span across x meets its own; at the line of centres the teeth lie along
// x and nearly all spans meet, so the pairs are then found by a sweep across y, each still
// judged as the sweep across x would judge it.
bool Tangled(PlacedPiece& p1, const std::vector<std::size_t>& teeth1, PlacedPiece& p2,
             const std::vector<std::size_t>& teeth2, Budget& budget) {
    struct Item {
        double left;
        Circle circle;
        int wheel;
        std::size_t order;  // along the wheel's outline
    };
    std::vector<Item> items;
    auto add = [&](PlacedPiece& p, const std::vector<std::size_t>& teeth, int wheel) {
        for (const std::size_t k : teeth) {
            const std::vector<Circle>& chunks = p.Chunks(k, budget);
            const std::size_t base =
                static_cast<std::size_t>(p.piece().teeth[k].index) * chunks.size();
            for (std::size_t c = 0; c < chunks.size(); ++c) {
                Item item;
                item.left = chunks[c].centre.X - chunks[c].radius;
                item.circle = chunks[c];
                item.wheel = wheel;
                item.order = base + c;
                items.push_back(item);
            }
        }
    };
    add(p1, teeth1, 1);
    add(p2, teeth2, 2);
    budget.Spend(static_cast<double>(items.size()) * 8);
    // The circles across x: sorted by their left ends as small keys, in the very order a sort
    // of the circles themselves by the same comparisons puts them.
    struct Key {
        double left;
        std::size_t item;
    };
    std::vector<Key> byX(items.size());
    for (std::size_t k = 0; k < items.size(); ++k) {
        byX[k] = {items[k].left, k};
    }
    std::sort(byX.begin(), byX.end(), [](const Key& a, const Key& b) { return a.left < b.left; });
    const std::size_t count = items.size();
    auto at = [&](std::size_t rank) -> const Item& { return items[byX[rank].item]; };
    auto rightOf = [&](std::size_t a) { return at(a).circle.centre.X + at(a).circle.radius; };
    // Circle a compared with those after it up to the first that starts beyond its right.
    auto comparedAfter = [&](std::size_t a) {
        const auto beyond =
            std::upper_bound(byX.begin() + static_cast<std::ptrdiff_t>(a) + 1, byX.end(),
                             rightOf(a), [](double x, const Key& key) { return x < key.left; });
        return static_cast<std::size_t>(beyond - byX.begin()) - a - 1;
    };
    double compared = 0;
    for (std::size_t a = 0; a < count; ++a) {
        compared += static_cast<double>(comparedAfter(a));
    }
    budget.Spend(compared);
    const std::size_t most = kOverlapsFloor + kOverlapsPerStretch * count;
    // Each overlap counted is one of the pairs either sweep compares: where the sweep across x
    // compares few enough, the circles are not tangled, and the sweep across y is not needed.
    if (!(compared > static_cast<double>(most))) {
        return false;
    }
    std::size_t overlaps = 0;
    // Circles a and b (a before b across x) as the sweep across x judges them, counted once.
    auto overlapping = [&](std::size_t a, std::size_t b) {
        const Item& p = at(a);
        const Item& q = at(b);
        const bool along = p.wheel == q.wheel && (p.order + 1 == q.order || q.order + 1 == p.order);
        return !along && Gap(p.circle, q.circle) < 0;
    };
    // Spans across y, widened far beyond the rounding of the circles' gap: two circles whose
    // gap is below 0 have spans across y that meet.
    struct Span {
        double low, high;
        std::size_t item;
    };
    std::vector<Span> spans(count);
    for (std::size_t a = 0; a < count; ++a) {
        const Circle& c = at(a).circle;
        const double pad = 1e-9 * (std::fabs(c.centre.Y) + c.radius);
        spans[a] = {c.centre.Y - c.radius - pad, c.centre.Y + c.radius + pad, a};
    }
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.low < b.low; });
    double comparedAcrossY = 0;
    for (std::size_t a = 0; a < count; ++a) {
        const auto beyond = std::upper_bound(
            spans.begin() + static_cast<std::ptrdiff_t>(a) + 1, spans.end(), spans[a].high,
            [](double y, const Span& span) { return y < span.low; });
        comparedAcrossY += static_cast<double>(beyond - spans.begin()) - static_cast<double>(a + 1);
    }
    if (!(comparedAcrossY > static_cast<double>(most))) {
        return false;
    }
    if (comparedAcrossY < compared) {
        for (std::size_t p = 0; p < count; ++p) {
            for (std::size_t q = p + 1; q < count && spans[q].low <= spans[p].high; ++q) {
                const std::size_t a = std::min(spans[p].item, spans[q].item);
                const std::size_t b = std::max(spans[p].item, spans[q].item);
                if (byX[b].left <= rightOf(a) && overlapping(a, b) && ++overlaps > most) {
                    return true;
                }
            }
        }
        return false;
    }
    for (std::size_t a = 0; a < count; ++a) {
        const double right = rightOf(a);
        for (std::size_t b = a + 1; b < count && byX[b].left <= right; ++b) {
            if (overlapping(a, b) && ++overlaps > most) {
                return true;
            }
        }
    }
    return false;
}

// The whole outline placed: the clearance of wheels too far apart for the pieces to be sure of
// the nearest points.
BLines WholeLines(const WheelShape& s, const Pose& pose) {
    BLine line;
    line.reserve(s.n + 1);
    for (std::size_t i = 0; i <= s.n; ++i) {
        const PointXY p = s.Local(i);
        const PointXY q = pose(p.X, p.Y);
        line.push_back(BPoint(q.X, q.Y));
    }
    return BLines{line};
}

std::size_t PointCount(const BPolygons& polygons) {
    return bg::num_points(polygons);
}

struct Position {
    double clearance = 0;
    double depth = 0;  // of an overlap deeper than touching, else 0
    double area = 0;
};

// Boost.Geometry's intersection of areas loses its way on coordinates of some 1e11 mm (a
// wheel of module 1e10): it returns corners far outside both inputs. Above a million mm the
// material is intersected scaled down by a power of two, which rounds nothing, and the shared
// area scaled back; drawings below that size are intersected as they are.
constexpr int kLargestIntersected = 20;  // 2^20 mm

BPolygons Intersection(BPolygons material1, BPolygons material2) {
    double largest = 0;
    for (const BPolygons* material : {&material1, &material2}) {
        bg::for_each_point(*material, [&](const BPoint& p) {
            largest = std::max(largest, std::max(std::fabs(p.x()), std::fabs(p.y())));
        });
    }
    const int exponent = std::isfinite(largest) && largest > 0 ? std::ilogb(largest) : 0;
    const int shift = exponent > kLargestIntersected ? exponent - 10 : 0;
    auto scale = [](BPolygons& g, int by) {
        bg::for_each_point(g, [by](BPoint& p) {
            p.x(std::ldexp(p.x(), by));
            p.y(std::ldexp(p.y(), by));
        });
    };
    scale(material1, -shift);
    scale(material2, -shift);
    BPolygons shared;
    bg::intersection(material1, material2, shared);
    scale(shared, shift);
    return shared;
}

// The area shared by the material of the teeth `teeth1` and `teeth2` and how deep it goes:
// each corner of the shared area lies on one outline; its distance from the other is how far
// that outline has gone into the other wheel there.
Position Overlap(PlacedPiece& placed1, const std::vector<std::size_t>& teeth1, PlacedPiece& placed2,
                 const std::vector<std::size_t>& teeth2, double slack, Budget& budget,
                 bool untangled = false) {
    if (!untangled && budget.Limited() && Tangled(placed1, teeth1, placed2, teeth2, budget)) {
        throw GaveUp{};
    }
    const Piece& p1 = placed1.piece();
    const Piece& p2 = placed2.piece();
    const BPolygons material1 = Material(p1, teeth1, placed1.pose());
    const BPolygons material2 = Material(p2, teeth2, placed2.pose());
    budget.Spend(kOverlayWork * static_cast<double>(PointCount(material1) + PointCount(material2)));
    const BPolygons shared = Intersection(material1, material2);
    Position at;
    if (bg::is_empty(shared)) {
        return at;
    }
    const BLines lines1 = Lines(p1, teeth1, placed1.pose());
    const BLines lines2 = Lines(p2, teeth2, placed2.pose());
    const SegmentIndex index1(lines1), index2(lines2);
    budget.Spend(kOverlayWork * static_cast<double>(PointCount(shared)));
    bg::for_each_point(shared, [&](const BPoint& p) {
        at.depth =
            std::max(at.depth, std::max(index1.Distance(p, slack), index2.Distance(p, slack)));
    });
    at.area = bg::area(shared);
    return at;
}

// Both wheels cut down for a sweep of one pitch of wheel 1 in `steps` steps.
struct Sweep {
    WheelShape s1, s2;
    PointXY centre1, centre2;
    Piece piece1, piece2;
    double step = 0;    // turn of wheel 1 per position, radians
    double follow = 0;  // turn of wheel 2 per turn of wheel 1
    double reach = 0;   // clearances below this are always found on the pieces
    // Circles within this of each other may hold segments that meet, mm.
    double touching = kTouchingDepth;
    // Room left for rounding where stretches are set aside by their circles: a billionth of the
    // pair's size, far above the rounding of coordinates yet far below any clearance.
    double slack = 0;
    // Overlaps shallower than this touch, mm: the touching depth, or on a huge drawing the
    // rounding of its coordinates.
    double depthFloor = kTouchingDepth;
    double scale = 1;  // the recheck's margin grows by this with the drawing's size
    // Teeth that touch with no point of either outline deeper in the other wheel than this, mm,
    // share material shallower than touching depth: 0 where that cannot be told without
    // intersecting the material.
    double touchDepth = 0;
};

// A box across x and y about material to be intersected, taken circle by circle.
struct MaterialBox {
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;

    void Take(const PointXY& centre, double radius) {
        x0 = std::min(x0, centre.X - radius);
        x1 = std::max(x1, centre.X + radius);
        y0 = std::min(y0, centre.Y - radius);
        y1 = std::max(y1, centre.Y + radius);
    }
};

// The depth below which teeth that touch are told apart from an overlap without intersecting
// their material (0 when none is). Boost.Geometry intersects on a grid of integers: the longer
// side of the box about both materials cut into 10^7 steps. A corner of the shared area
// where the outlines cross lies on one outline and, rounded to that grid, at most two steps from
// the other; every other corner is a point of an outline. `box` holds all that would be
// intersected.
double TouchDepthWithin(const Sweep& w, const MaterialBox& box) {
    const double largest =
        std::max({std::fabs(box.x0), std::fabs(box.x1), std::fabs(box.y0), std::fabs(box.y1)});
    const double side = std::max(box.x1 - box.x0, box.y1 - box.y0) * (1 + 1e-9);
    if (!std::isfinite(largest) || std::ilogb(largest) > kLargestIntersected || !(side < 1e7)) {
        return 0;
    }
    const double grid = 1 / std::floor(0.5 + 1e7 / side);
    const double touching = w.depthFloor - kRecheckMargin * w.scale;
    const double depth = (touching - 2 * grid) * (1 - 1e-6);
    // Points farther than `depth` from the other outline keep their side on the grid.
    return depth > 4 * grid ? depth : 0;
}

// The depth for any material of the sweep: the box about both wheels whole, an internal wheel
// within its far square.
double TouchDepth(const Sweep& w) {
    MaterialBox box;
    for (const auto& [centre, piece] :
         {std::make_pair(w.centre1, &w.piece1), std::make_pair(w.centre2, &w.piece2)}) {
        const double e = std::max(
            {piece->shape.rMax, piece->closeRadius, piece->internal ? piece->farRadius : 0.0});
        box.Take(centre, e);
    }
    return TouchDepthWithin(w, box);
}

// Takes into `box` the material of the teeth `which` of a placed piece, one run closed as
// Material closes it. Each tooth lies within its circle. The arc that closes the run turns about
// the wheel's centre from the run's last point back to its first through no direction that
// some point of the run does not lie in, so each of its corners lies in the shadow that a
// tooth's circle casts on the arc from the centre; a circle about the centre would cast it
// all round, and then the whole arc's circle is taken. `pad` covers the rounding of the turn.
void TakeMaterial(const PlacedPiece& placed, const std::vector<std::size_t>& which, double pad,
                  MaterialBox& box) {
    const PointXY& o = placed.pose().centre;
    const double r = placed.piece().closeRadius;
    for (const std::size_t k : which) {
        const Circle& tooth = placed.teeth[k];
        box.Take(tooth.centre, tooth.radius + pad);
        const double dx = tooth.centre.X - o.X, dy = tooth.centre.Y - o.Y;
        const double d = std::hypot(dx, dy);
        const double half = d > 0 ? std::asin(std::min(1.0, (tooth.radius + pad) / d)) : kPi;
        if (!(half < kPi / 4)) {
            box.Take(o, r + pad);
            continue;
        }
        box.Take({o.X + dx * r / d, o.Y + dy * r / d}, 2 * r * std::sin(half / 2) + pad);
    }
}

// Where a wheel's runs of teeth are closed into material. Through a strip of its body half a
// tooth deep, just inside its tooth ring (outside it for internal teeth), where the mate's
// material keeps clear of that strip at every turn: the mate then shares with the strip nothing
// it would not share with the body closed far away, and Boost.Geometry, whose grid is set by
// the extent of what it intersects, measures the overlap on the teeth in contact alone. Else,
// as far away: at half the root radius, or for internal teeth far beyond the mate. The arc is
// drawn in chords of kArcStep, which come no nearer the centre than cos(kArcStep / 2) of its
// radius; the touch test takes an internal closing to lie beyond kArcChordShare of it.
double CloseRadius(const WheelShape& own, bool internal, const WheelShape& mate, bool mateInternal,
                   double spread, double farRadius) {
    const double strip = (own.rMax - own.rMin) / 2;
    if (!internal) {
        const double tight = own.rMin - strip;
        // How near the mate's material comes to this wheel's centre: an external mate's no
        // farther from its own centre than its farthest point, an internal mate's no nearer
        // than its outline, whose segments come nearer than their ends by half their length at
        // most.
        const double nearest =
            mateInternal ? mate.rMin - mate.longestSegment / 2 - spread : spread - mate.rMax;
        const bool clear = tight > own.rMin / 2 && nearest > tight * (1 + 1e-9);
        return clear ? tight : own.rMin / 2;
    }
    const double tight = (own.rMax + strip) / kArcChordShare;
    // The farthest the mate's material lies from this wheel's centre.
    const double farthest = mateInternal ? HUGE_VAL : spread + mate.rMax;
    const bool clear = tight < farRadius && farthest < tight * std::cos(kArcStep / 2) * (1 - 1e-9);
    return clear ? tight : farRadius;
}

Sweep Prepare(const MeshWheel& wheel1, const MeshWheel& wheel2, int steps, Budget& budget) {
    Sweep w;
    budget.Spend(static_cast<double>(Size(wheel1) + Size(wheel2)));
    w.s1 = Shape(wheel1);
    w.s2 = Shape(wheel2);
    w.centre1 = wheel1.centre;
    w.centre2 = wheel2.centre;
    const double pitch = kTwoPi / wheel1.teeth;
    const double ratio = static_cast<double>(wheel1.teeth) / wheel2.teeth;
    // Two external wheels turn opposite ways; with internal teeth both turn the same way.
    w.follow = wheel1.internal || wheel2.internal ? ratio : -ratio;
    w.step = pitch / steps;
    const double lastTurn = w.step * (steps - 1);
    // A clearance below `reach` is always found on the pieces: the points of one wheel that
    // come that close to the other lie within reach of its tooth ring, and a segment's points
    // within its length of its ends.
    w.reach = pitch * w.s1.rMax;
    const double margin = w.reach + std::max(w.s1.longestSegment, w.s2.longestSegment);
    const double dx = wheel2.centre.X - wheel1.centre.X;
    const double dy = wheel2.centre.Y - wheel1.centre.Y;
    const double spread = std::hypot(dx, dy);
    const double farRadius = 2 * (spread + w.s1.rMax + w.s2.rMax) + 1;
    const double extent = spread + w.s1.rMax + w.s2.rMax;
    w.slack = 1e-9 * extent;
    // Written coordinates keep 15 significant digits: on a drawing of 10^12 mm they are rounded
    // by a millimetre, and nothing that small is an overlap; the intersection's own rounding
    // grows with the drawing as well.
    w.depthFloor = std::max(kTouchingDepth, 1e-12 * extent);
    w.scale = std::max(1.0, 1e-6 * extent);
    const double turn2 = w.follow * lastTurn;
    const double close1 =
        CloseRadius(w.s1, wheel1.internal, w.s2, wheel2.internal, spread, farRadius);
    const double close2 =
        CloseRadius(w.s2, wheel2.internal, w.s1, wheel1.internal, spread, farRadius);
    // Each wheel keeps what comes within the mate's outline, with the margin, as it turns.
    Reach reach1;
    reach1.distance = spread;
    reach1.towardsMate = std::atan2(dy, dx);
    reach1.turnFrom = 0;
    reach1.sweep = lastTurn;
    reach1.lo = w.s2.rMin - margin;
    reach1.hi = w.s2.rMax + margin;
    w.piece1 = Cut(wheel1, w.s1, reach1, farRadius, close1, budget);
    Reach reach2;
    reach2.distance = spread;
    reach2.towardsMate = std::atan2(-dy, -dx);
    reach2.turnFrom = std::min(0.0, turn2);
    reach2.sweep = std::fabs(turn2);
    reach2.lo = w.s1.rMin - margin;
    reach2.hi = w.s1.rMax + margin;
    w.piece2 = Cut(wheel2, w.s2, reach2, farRadius, close2, budget);
    w.touchDepth = TouchDepth(w);
    return w;
}

// Where wheel 2 stands in wheel 1's own frame in each position: a point q of wheel 2 (about
// its centre, unturned) lies at shift + turn(q). Between two positions wheel 2 moves in that
// frame by a rotation through the difference of the turns; a point y moves by at most
// |turn difference| |y - pivot| + the pivot's own move, for any pivot. The pivot is where the
// first step turns about, so on a pair in mesh the bound is about the rolling at the teeth.
class RelativeMotion {
  public:
    RelativeMotion(const MeshWheel& wheel1, const MeshWheel& wheel2, double step, double follow,
                   int steps) {
        const double dx = wheel2.centre.X - wheel1.centre.X;
        const double dy = wheel2.centre.Y - wheel1.centre.Y;
        for (int k = 0; k < steps; ++k) {
            const double a1 = step * k;
            const double turn = follow * a1 - a1;
            const double c = std::cos(a1), s = std::sin(a1);
            at_.push_back(
                {{c * dx + s * dy, c * dy - s * dx}, turn, std::cos(turn), std::sin(turn)});
        }
        if (steps > 1) {
            const double phi = at_[1].turn - at_[0].turn;
            const double c = std::cos(phi), s = std::sin(phi);
            const double half = std::sin(phi / 2);
            const double det = 4 * half * half;  // of I - R(phi): 2 (1 - cos phi)
            // Fixed point y = (I - R)^-1 (shift1 - R shift0).
            const PointXY& t0 = at_[0].shift;
            const PointXY& t1 = at_[1].shift;
            const double rx = t1.X - (c * t0.X - s * t0.Y);
            const double ry = t1.Y - (s * t0.X + c * t0.Y);
            const double px = ((1 - c) * rx - s * ry) / det, py = (s * rx + (1 - c) * ry) / det;
            if (det > 0 && std::isfinite(px) && std::isfinite(py)) {
                pivot_ = {px, py};
            }
        }
    }

    // Wheel 2 in wheel 1's own frame in position k: its centre turned back by wheel 1's turn,
    // and its own turn less wheel 1's.
    Pose Relative(int k) const {
        const At& a = at_[static_cast<std::size_t>(k)];
        return Pose(a.shift, a.turn);
    }

    // The farthest from the pivot, in wheel 1's frame in position k, that a point within
    // `bound` (wheel 2's own unturned frame) lies.
    double Span(int k, const Circle& bound) const {
        const PointXY y = Place(k, bound.centre);
        return std::hypot(y.X - pivot_.X, y.Y - pivot_.Y) + bound.radius;
    }

    // The most that a point of wheel 2 at most `span` from the pivot in position `from` moves
    // relative to wheel 1 on the way to position `to`.
    double Drift(int from, int to, double span) const {
        const At& a = at_[static_cast<std::size_t>(from)];
        const At& b = at_[static_cast<std::size_t>(to)];
        const double c = b.c * a.c + b.s * a.s, s = b.s * a.c - b.c * a.s;
        const double ex = pivot_.X - a.shift.X, ey = pivot_.Y - a.shift.Y;
        const double mx = b.shift.X + c * ex - s * ey - pivot_.X;
        const double my = b.shift.Y + s * ex + c * ey - pivot_.Y;
        return std::fabs(b.turn - a.turn) * span + std::hypot(mx, my);
    }

  private:
    struct At {
        PointXY shift;
        double turn, c, s;
    };
    PointXY Place(int k, const PointXY& q) const {
        const At& a = at_[static_cast<std::size_t>(k)];
        return {a.shift.X + a.c * q.X - a.s * q.Y, a.shift.Y + a.s * q.X + a.c * q.Y};
    }
    std::vector<At> at_;
    PointXY pivot_;
};

// The stretches of a tooth that may lie within `upper` of the circle `other` (all of them where
// upper is not finite), by index.
void StretchesWithin(const std::vector<Circle>& chunks, const Circle& other, double upper,
                     std::vector<std::size_t>& kept) {
    kept.clear();
    for (std::size_t a = 0; a < chunks.size(); ++a) {
        const double dx = chunks[a].centre.X - other.centre.X;
        const double dy = chunks[a].centre.Y - other.centre.Y;
        const double reach = (upper + chunks[a].radius + other.radius) * (1 + 1e-9);
        if (!(reach > 0 && dx * dx + dy * dy > reach * reach)) {
            kept.push_back(a);
        }
    }
}

// Whether a segment of one placed stretch lies at distance 0 from a segment of the other, as
// Boost measures them. Segments whose boxes lie farther apart than the slack, far above the
// rounding of Boost's measure, are not measured.
bool Meet(const PlacedStretch& a, const PlacedStretch& b, double slack) {
    using Segment = bg::model::referring_segment<const BPoint>;
    const double apart = slack * slack;
    for (std::size_t i = 0; i + 1 < a.size(); ++i) {
        const SegmentBox boxA(a[i], a[i + 1]);
        for (std::size_t j = 0; j + 1 < b.size(); ++j) {
            if (boxA.Gap2(SegmentBox(b[j], b[j + 1])) > apart) {
                continue;
            }
            if (bg::comparable_distance(Segment(a[i], a[i + 1]), Segment(b[j], b[j + 1])) == 0) {
                return true;
            }
        }
    }
    return false;
}

// The smallest distance between the outlines of tooth i of wheel 1 and tooth j of wheel 2 in
// one position: their stretches' pairs nearest first, measured segment by segment, until no
// pair left can come nearer. `upper` is a bound already known (not finite where none is): only
// the stretches within it of the other tooth's circle can hold the nearest points. `last` names
// the stretches that held them when the pair was last measured, and then those that hold them;
// `metBefore` tells that the teeth met then.
double ToothDistance(PlacedPiece& placed1, std::size_t i, PlacedPiece& placed2, std::size_t j,
                     double upper, double slack, Budget& budget, DistanceRoom& room,
                     NearestStretches* last, bool metBefore) {
    const std::vector<Circle>& chunks1 = placed1.Chunks(i, budget);
    const std::vector<Circle>& chunks2 = placed2.Chunks(j, budget);
    budget.Spend(2 * static_cast<double>(chunks1.size() * chunks2.size()));
    // Teeth that met most likely meet again at the stretches where they met, and where those
    // meet nothing comes nearer: no other stretch is looked at. The two are first placed aside,
    // so that where they no longer meet, what the check keeps and counts as work is as it was.
    if (metBefore && last != nullptr && last->a != NearestStretches::kNone) {
        PlacedStretch a, b;
        placed1.Place(i, last->a, a);
        placed2.Place(j, last->b, b);
        if (Meet(a, b, slack)) {
            const PlacedStretch& kept1 = placed1.Stretch(i, last->a, budget);
            const PlacedStretch& kept2 = placed2.Stretch(j, last->b, budget);
            budget.Spend(kSegmentsWork * static_cast<double>(kept1.size() * kept2.size()));
            return 0;
        }
    }
    std::vector<std::size_t>& kept1 = room.kept1;
    std::vector<std::size_t>& kept2 = room.kept2;
    std::vector<StretchPair>& nearest = room.pairs;
    nearest.clear();
    StretchesWithin(chunks1, placed2.teeth[j], upper, kept1);
    StretchesWithin(chunks2, placed1.teeth[i], upper, kept2);
    // No two points of two circles lie farther apart than their gap and both diameters: the
    // pairs beyond the nearest such bound cannot hold the nearest points.
    // Circles a and b lie d apart and have gap d - ra - rb, and their bound is d + ra + rb: a
    // pair can lower the bound found so far, or lie within it, only where d <= bound + ra + rb.
    // The test on the squared distance of the centres leaves a billionth of room, far beyond the
    // rounding of the gap, so every pair it sets aside would have been set aside on its gap.
    auto distance2 = [&](std::size_t a, std::size_t b) {
        const double dx = chunks1[a].centre.X - chunks2[b].centre.X;
        const double dy = chunks1[a].centre.Y - chunks2[b].centre.Y;
        return dx * dx + dy * dy;
    };
    auto consider = [&](std::size_t a, std::size_t b) {
        const double gap = Gap(chunks1[a], chunks2[b]);
        upper = std::min(upper, gap + 2 * (chunks1[a].radius + chunks2[b].radius));
        nearest.push_back({gap, {i, a}, {j, b}});
    };
    // With no bound known yet, the pair with the nearest centres bounds it first, so few others
    // need their gap taken.
    std::size_t first1 = kept1.size(), first2 = 0;
    if (!std::isfinite(upper)) {
        double least = HUGE_VAL;
        for (std::size_t a = 0; a < kept1.size(); ++a) {
            for (std::size_t b = 0; b < kept2.size(); ++b) {
                const double d2 = distance2(kept1[a], kept2[b]);
                if (first1 == kept1.size() || d2 < least) {
                    least = d2;
                    first1 = a;
                    first2 = b;
                }
            }
        }
        if (first1 < kept1.size()) {
            consider(kept1[first1], kept2[first2]);
        }
    }
    for (std::size_t a = 0; a < kept1.size(); ++a) {
        for (std::size_t b = 0; b < kept2.size(); ++b) {
            if (a == first1 && b == first2) {
                continue;
            }
            const double reach =
                (upper + chunks1[kept1[a]].radius + chunks2[kept2[b]].radius) * (1 + 1e-9);
            if (!(reach > 0 && distance2(kept1[a], kept2[b]) > reach * reach)) {
                consider(kept1[a], kept2[b]);
            }
        }
    }
    // The pairs taken before the bound came down to what it is.
    nearest.erase(std::remove_if(nearest.begin(), nearest.end(),
                                 [&](const StretchPair& pair) { return !(pair.gap <= upper); }),
                  nearest.end());
    return NearestDistance(placed1, placed2, nearest, slack, budget, room, last);
}

// The teeth `which` (sorted) of a piece, placed by `pose`, as one run of outline, when they are
// consecutive teeth of the wheel and not all of them; its material lies inside an external
// wheel's outline and outside an internal wheel's. Written into `run`, whose points keep their
// room from one position to the next; false when the teeth are not such a run.
bool RunOf(const Piece& piece, const Pose& pose, const std::vector<std::size_t>& which,
           TouchRun& run) {
    const int z = piece.wheelTeeth;
    if (z < 2 || which.empty() || which.size() >= static_cast<std::size_t>(z) ||
        !(piece.shape.area != 0)) {
        return false;
    }
    auto follows = [&](std::size_t a, std::size_t b) {  // b is the wheel's tooth after a
        return (piece.teeth[a].index + 1) % z == piece.teeth[b].index;
    };
    std::size_t start = which.size();
    for (std::size_t k = 0; k < which.size(); ++k) {
        if (!follows(which[(k + which.size() - 1) % which.size()], which[k])) {
            if (start != which.size()) {
                return false;  // two runs
            }
            start = k;
        }
    }
    if (start == which.size()) {
        return false;
    }
    run.points.clear();
    run.centre = pose.centre;
    run.internal = piece.internal;
    run.materialLeft = (piece.shape.area > 0) != piece.internal;
    run.closeRadius = piece.closeRadius;
    for (std::size_t n = 0; n < which.size(); ++n) {
        const ToothRun& tooth = piece.teeth[which[(start + n) % which.size()]];
        piece.shape.EachLocal(tooth.first + (n == 0 ? 0 : 1), tooth.first + tooth.count,
                              [&](const PointXY& p) { run.points.push_back(pose(p.X, p.Y)); });
    }
    return true;
}

// The two runs of outline the shallow-touch test compares, in wheel 1's own frame: wheel 1's
// teeth stand as they are in its outline, and wheel 2's where they stand against them. Wheel
// 1's run, with its stretches boxed, serves every position whose touching teeth of wheel 1 are
// the same. The points of either run keep their room from one position to the next.
struct TouchRuns {
    TouchRun run1, run2;
    std::vector<std::size_t> teeth1;  // the teeth of run1, when side1 is made of them
    std::optional<TouchSide> side1;
};

// Whether the teeth `teeth1` and `teeth2`, whose outlines meet, only touch: the material they
// share, were it intersected, would be no deeper than touching. The test is made in wheel 1's
// frame, which moves the points by the rounding of a turn alone, far below the depth it tells;
// `relative` places wheel 2 there.
bool OnlyTouch(const Sweep& w, const PlacedPiece& placed1, const std::vector<std::size_t>& teeth1,
               const PlacedPiece& placed2, const std::vector<std::size_t>& teeth2,
               const Pose& relative, TouchRuns& runs, Budget& budget) {
    // The grid the material of these teeth would be intersected on, from the box about it.
    MaterialBox box;
    TakeMaterial(placed1, teeth1, w.slack, box);
    TakeMaterial(placed2, teeth2, w.slack, box);
    const double depth = std::max(w.touchDepth, TouchDepthWithin(w, box));
    if (!(depth > 0)) {
        return false;
    }
    if (!runs.side1 || runs.teeth1 != teeth1) {
        runs.side1.reset();
        if (!RunOf(placed1.piece(), Pose({0, 0}, 0), teeth1, runs.run1)) {
            return false;
        }
        runs.teeth1 = teeth1;
        runs.side1.emplace(runs.run1);
    }
    if (!RunOf(placed2.piece(), relative, teeth2, runs.run2)) {
        return false;
    }
    budget.Spend(kSegmentsWork *
                 static_cast<double>(runs.run1.points.size() + runs.run2.points.size()));
    TouchSide side2(runs.run2);
    return TouchShallowerThan(*runs.side1, side2, depth);
}

// What the sweep has learnt of each pair of teeth: their distance in the position where it was
// last measured and how far wheel 2's tooth lies from the pivot of the relative motion. In
// another position the pair lies at least that distance less the drift between the two apart,
// so a pair measured apart is not measured again until it may have come near.
struct Known {
    double distance = 0;
    int at = -1;               // no position yet
    NearestStretches nearest;  // the stretches that held the nearest points
    double span = 0;
};
static_assert(sizeof(Known) <= 3 * sizeof(double), "a known pair stays three words");

struct Tracker {
    std::unordered_map<std::uint64_t, Known> known;
    double limit = 0;  // the clearance the next position is searched within, mm
    // Room kept from one position to the next.
    TouchRuns runs;
    DistanceRoom distances;
    StretchRoom stretches1, stretches2;
    StretchFrames frames1, frames2;
};

// Both wheels cut down, with what is known of their teeth, through the positions of a sweep.
// One position: whether the outlines meet (two segments at distance 0), and where they do, the
// area shared by the teeth that meet and their neighbours; else, when asked, the clearance.
// Of the pairs of teeth whose circles lie within the limit, only those that may meet, or,
// taken nearest first by what is known of them, may be nearer than the nearest found, are
// measured segment by segment, and material is intersected only about teeth whose segments
// cross. A clearance found within the limit is the smallest (every pair of teeth that near was
// measured); beyond it the stretches' circles find it the longer way. The limit for the next
// position is set from the clearance found.
// On wheels that nest closely (internal teeth of nearly equal counts) the circles of a hundred
// teeth meet the mate's while only two or three teeth touch it, so the overlap is first found
// on the teeth that meet the mate and their neighbours; only an overlap found there, which the
// check may report, is measured again on every tooth whose circles meet the mate's, so that
// its area and depth come from the same material whichever way the teeth were found.
Position CheckPosition(const Sweep& w, const RelativeMotion& motion, int k, bool wantClearance,
                       Tracker& track, Budget& budget) {
    const double a1 = w.step * k;
    const Pose pose1(w.centre1, a1);
    const Pose pose2(w.centre2, w.follow * a1);
    Position at;
    PlacedPiece placed1(w.piece1, pose1, track.stretches1, track.frames1, budget);
    PlacedPiece placed2(w.piece2, pose2, track.stretches2, track.frames2, budget);
    const double within = wantClearance ? std::max(track.limit, w.touching) : w.touching;
    struct Candidate {
        double bound;
        std::size_t i, j;
    };
    std::vector<Candidate> pairs;
    const std::uint64_t count2 = w.piece2.teeth.size();
    auto key = [count2](std::size_t i, std::size_t j) { return i * count2 + j; };
    for (std::size_t i = 0; i < placed1.teeth.size(); ++i) {
        VisitNear(placed2, placed1.teeth[i], within, budget, [&](std::size_t j) {
            const double gap = Gap(placed1.teeth[i], placed2.teeth[j]);
            if (!(gap <= within)) {
                return;
            }
            double bound = gap;
            const auto known = track.known.find(key(i, j));
            if (known != track.known.end()) {
                const Known& was = known->second;
                bound = std::max(bound, was.distance - motion.Drift(was.at, k, was.span) - w.slack);
            }
            pairs.push_back({bound, i, j});
        });
        budget.CheckList(pairs.size());
    }
    // The pairs that may meet first. Each is measured whatever the others measure, so they need
    // no order; the pairs are put in order, nearest first by what is known, only where no teeth
    // meet and the clearance is sought. Teeth meet in every position of a pair drawn with no
    // backlash, while on nearly concentric wheels a thousand pairs lie within the limit.
    const auto farther = std::partition(
        pairs.begin(), pairs.end(), [&](const Candidate& pair) { return pair.bound <= w.slack; });
    // The distance of a pair in this position, measured once.
    auto measure = [&](const Candidate& pair) {
        Known& known = track.known[key(pair.i, pair.j)];
        if (known.at != k) {
            // Where the pair was measured before, it lies no farther apart now than it did then
            // and the drift since.
            const double upper =
                known.at < 0 ? HUGE_VAL
                             : known.distance + motion.Drift(known.at, k, known.span) + w.slack;
            known.distance = ToothDistance(placed1, pair.i, placed2, pair.j, upper, w.slack, budget,
                                           track.distances, &known.nearest,
                                           known.at >= 0 && known.distance == 0);
            known.at = k;
            known.span = motion.Span(k, w.piece2.teeth[pair.j].bound);
        }
        return known.distance;
    };
    std::vector<bool> met1(placed1.teeth.size(), false), met2(placed2.teeth.size(), false);
    bool meet = false;
    for (auto pair = pairs.begin(); pair != farther; ++pair) {
        if (measure(*pair) == 0) {
            met1[pair->i] = met2[pair->j] = meet = true;
        }
    }
    if (meet) {
        std::vector<std::size_t> meeting1, meeting2;
        for (std::size_t t = 0; t < met1.size(); ++t) {
            if (met1[t]) {
                meeting1.push_back(t);
            }
        }
        for (std::size_t t = 0; t < met2.size(); ++t) {
            if (met2[t]) {
                meeting2.push_back(t);
            }
        }
        track.limit = w.touching;
        at.clearance = 0;
        const std::vector<std::size_t> near1 = WithNeighbours(w.piece1, meeting1);
        const std::vector<std::size_t> near2 = WithNeighbours(w.piece2, meeting2);
        // Flanks that only touch are told so on their segments; a tangle is given up before
        // its material is intersected.
        if (OnlyTouch(w, placed1, near1, placed2, near2, motion.Relative(k), track.runs, budget)) {
            return at;
        }
        placed1.BindOwnCircles();
        placed2.BindOwnCircles();
        if (budget.Limited() && Tangled(placed1, near1, placed2, near2, budget)) {
            throw GaveUp{};
        }
        const Position first = Overlap(placed1, near1, placed2, near2, w.slack, budget, true);
        if (!(first.depth > w.depthFloor - kRecheckMargin * w.scale)) {
            return at;
        }
        const NearParts near = FindNearParts(placed1, placed2, true, budget);
        const Position full = Overlap(placed1, WithNeighbours(w.piece1, near.crossing1), placed2,
                                      WithNeighbours(w.piece2, near.crossing2), w.slack, budget);
        at.depth = full.depth;
        at.area = full.area;
        return at;
    }
    if (!wantClearance) {
        return at;
    }
    std::sort(pairs.begin(), pairs.end(), [](const Candidate& a, const Candidate& b) {
        return a.bound < b.bound ||
               (a.bound == b.bound && (a.i < b.i || (a.i == b.i && a.j < b.j)));
    });
    double least = HUGE_VAL;
    for (const Candidate& pair : pairs) {
        if (pair.bound >= least) {
            break;
        }
        least = std::min(least, measure(pair));
    }
    if (!(least <= within)) {
        NearParts nearest = FindNearParts(placed1, placed2, false, budget);
        least =
            NearestDistance(placed1, placed2, nearest.nearest, w.slack, budget, track.distances);
    }
    at.clearance = least;
    track.limit = std::min(w.reach, std::max(w.touching, 1.5 * least));
    return at;
}

// The first position's guess of the clearance: four stretches' widths, within which the
// nearest stretches of a drawn pair lie unless its wheels stand apart.
double FirstLimit(const Sweep& w) {
    const double widest = std::max(w.piece1.widestChunk, w.piece2.widestChunk);
    return std::min(w.reach, std::max(w.touching, 4 * widest));
}

bool Missing(const MeshWheel& wheel) {
    if (wheel.band != nullptr) {
        return !wheel.band->Complete() || wheel.band->plan.teeth != wheel.teeth;
    }
    return wheel.outline == nullptr || wheel.outline->size() < 4 || wheel.teeth < 1;
}

MeshCheckResult Check(const MeshWheel& wheel1, const MeshWheel& wheel2, int stepsPerPitch,
                      const MeshLimits& limits) {
    if (Missing(wheel1) || Missing(wheel2)) {
        return MeshCheckResult::Failure("контур колеса пуст");
    }
    MeshClearance result;
    Budget budget(limits, Size(wheel1) + Size(wheel2));
    try {
        const Sweep w = Prepare(wheel1, wheel2, stepsPerPitch, budget);
        result.minClearance = HUGE_VAL;
        const RelativeMotion motion(wheel1, wheel2, w.step, w.follow, stepsPerPitch);
        Tracker track;
        track.limit = FirstLimit(w);
        for (int k = 0; k < stepsPerPitch; ++k) {
            const double a1 = w.step * k;
            const Pose pose1(wheel1.centre, a1);
            const Pose pose2(wheel2.centre, w.follow * a1);
            Position at = CheckPosition(w, motion, k, true, track, budget);
            if (at.clearance >= w.reach) {
                budget.Spend(kWholeLineWork * static_cast<double>(w.s1.n + w.s2.n));
                at.clearance = bg::distance(WholeLines(w.s1, pose1), WholeLines(w.s2, pose2));
            }
            if (k == 0) {
                result.drawnClearance = at.clearance;
            }
            if (at.clearance < result.minClearance) {
                result.minClearance = at.clearance;
                result.minClearanceTurn = RadToGrad(a1);
            }
            if (at.depth > w.depthFloor && at.depth > result.overlapDepth) {
                result.overlap = true;
                result.overlapDepth = at.depth;
                result.overlapArea = at.area;
                result.overlapTurn = RadToGrad(a1);
            }
        }
        result.positions = stepsPerPitch;
        result.stepDegrees = RadToGrad(w.step);
    } catch (const GaveUp&) {
        return MeshCheckResult::Failure(
            "проверка прервана: контуры в чертеже запутаны так, как не бывают запутаны зубчатые "
            "венцы, и их сравнение превысило предел работы, соразмерный числу их точек");
    } catch (const std::exception& e) {
        return MeshCheckResult::Failure(std::string("проверка зацепления не выполнена: ") +
                                        e.what());
    }
    return result;
}

// The wheel as its whole outline, whatever band it also carries.
MeshWheel WholeOutline(MeshWheel wheel) {
    wheel.band = nullptr;
    return wheel;
}

}  // namespace

MeshCheckResult CheckMesh(const MeshWheel& wheel1, const MeshWheel& wheel2, int stepsPerPitch,
                          const MeshLimits& limits) {
    return Check(WholeOutline(wheel1), WholeOutline(wheel2), stepsPerPitch, limits);
}

std::optional<MeshCheckResult> CheckMeshOnBands(const MeshWheel& wheel1, const MeshWheel& wheel2,
                                                int stepsPerPitch, const MeshLimits& limits) {
    for (const MeshWheel* wheel : {&wheel1, &wheel2}) {
        if (wheel->band == nullptr || Missing(*wheel)) {
            return std::nullopt;  // a band not as planned cannot stand for its outline
        }
    }
    try {
        return Check(wheel1, wheel2, stepsPerPitch, limits);
    } catch (const BandTooNarrow&) {
        return std::nullopt;
    }
}

OverlapFound MeshOverlaps(const MeshWheel& wheel1, const MeshWheel& wheel2, double likelyTurn,
                          int stepsPerPitch, const MeshLimits& limits) {
    const OverlapFound unchecked{true, likelyTurn};
    const MeshWheel whole1 = WholeOutline(wheel1), whole2 = WholeOutline(wheel2);
    if (Missing(whole1) || Missing(whole2)) {
        return unchecked;
    }
    Budget budget(limits, whole1.outline->size() + whole2.outline->size());
    try {
        const Sweep w = Prepare(whole1, whole2, stepsPerPitch, budget);
        const int first = static_cast<int>(std::lround(likelyTurn * kPi / 180 / w.step));
        const RelativeMotion motion(wheel1, wheel2, w.step, w.follow, stepsPerPitch);
        Tracker track;
        for (int i = 0; i < stepsPerPitch; ++i) {
            // first, first + 1, first - 1, first + 2, ... within the sweep
            const int offset = i % 2 == 1 ? (i + 1) / 2 : -(i / 2);
            const int k = ((first + offset) % stepsPerPitch + stepsPerPitch) % stepsPerPitch;
            const double a1 = w.step * k;
            if (CheckPosition(w, motion, k, false, track, budget).depth > w.depthFloor) {
                return {true, RadToGrad(a1)};
            }
        }
    } catch (const GaveUp&) {
        return unchecked;
    } catch (const std::exception&) {
        return unchecked;
    }
    return {};
}

}  // namespace tarvo
