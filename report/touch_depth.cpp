// The shallow-touch test. Every corner of the area two materials share is a point of one run
// inside the other material, a crossing of the runs, or a point of a closing; so when the
// closings stay clear of the other wheel, the share is no deeper than `depth` exactly when every
// point of either run that lies farther than `depth` from the other run lies outside the other
// material. Those far points come in stretches along the run that no segment of the other run
// comes near; a stretch lies wholly on one side, and one point of it, tested at its nearest point
// of the other run, tells which. Only the segments near the contact are measured one by one:
// stretches of eight segments are first set apart by their boxes across x and y and then by
// their boxes along their own chords, which hug a flank however it runs.
#include "report/touch_depth.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "report/chord_frame.h"

namespace tarvo {

namespace {

// Segments per stretch set apart by one box.
constexpr std::size_t kStretch = 8;
// A segment lies no nearer to anything than its box does. The box tests that only spare a
// measurement leave 1 % of room on the squared distance, so the rounding of the measurement
// itself, far below the depth, never decides differently from it.
constexpr double kBoxRoom = 1.01;
// Pairs of stretch boxes the sweep compares, at most: flanks in contact, swept along the axis
// they are narrower in, meet a handful of the other run's boxes each; a tangle meets them all.
constexpr std::size_t kComparedPerBox = 64;
constexpr std::size_t kComparedFloor = 4096;

using Box = TouchBox;

// A box nothing lies in yet: every point widens it.
Box EmptyBox() {
    Box box;
    box.x0 = box.y0 = HUGE_VAL;
    box.x1 = box.y1 = -HUGE_VAL;
    return box;
}

Box SegmentBox(const PointXY& a, const PointXY& b) {
    return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

double Cross(const PointXY& o, const PointXY& a, const PointXY& b) {
    return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X);
}

double Length(const PointXY& a, const PointXY& b) {
    return std::hypot(a.X - b.X, a.Y - b.Y);
}

// The squared distance of p from segment ab, and where along ab (0 to 1) its nearest point lies.
double SegmentDistance2(const PointXY& p, const PointXY& a, const PointXY& b, double& along) {
    const double vx = b.X - a.X, vy = b.Y - a.Y;
    const double wx = p.X - a.X, wy = p.Y - a.Y;
    const double length2 = vx * vx + vy * vy;
    along = length2 > 0 ? std::clamp((wx * vx + wy * vy) / length2, 0.0, 1.0) : 0.0;
    const double dx = wx - along * vx, dy = wy - along * vy;
    return dx * dx + dy * dy;
}

double SegmentDistance2(const PointXY& p, const PointXY& a, const PointXY& b) {
    double along = 0;
    return SegmentDistance2(p, a, b, along);
}

// The square of the gap between two boxes, 0 where they meet.
inline double BoxGap2(const Box& a, const Box& b) {
    const double dx = AtLeastZero(a.x0 - b.x1, b.x0 - a.x1);
    const double dy = AtLeastZero(a.y0 - b.y1, b.y0 - a.y1);
    return dx * dx + dy * dy;
}

// The square of the gap between a point and a box, 0 inside it.
inline double BoxGap2(const PointXY& p, const Box& b) {
    const double dx = AtLeastZero(p.X - b.x1, b.x0 - p.X);
    const double dy = AtLeastZero(p.Y - b.y1, b.y0 - p.Y);
    return dx * dx + dy * dy;
}

// Stretch s holds segments s * kStretch to the next stretch's first (fewer at the end) and the
// points at both their ends.
std::size_t Stretches(const Polyline& run) {
    return (run.size() - 2) / kStretch + 1;
}

std::size_t StretchOf(std::size_t segment, std::size_t stretches) {
    return std::min(segment / kStretch, stretches - 1);
}

// The points of stretch s: from the first of its first segment to the last of its last.
std::pair<std::size_t, std::size_t> PointsOf(std::size_t s, std::size_t stretches,
                                             const Polyline& run) {
    const std::size_t from = s * kStretch;
    return {from, s + 1 == stretches ? run.size() - 1 : from + kStretch};
}

std::vector<Box> StretchBoxes(const Polyline& run) {
    const std::size_t count = Stretches(run);
    std::vector<Box> boxes(count, EmptyBox());
    for (std::size_t s = 0; s < count; ++s) {
        Box& box = boxes[s];
        const auto [from, to] = PointsOf(s, count, run);
        for (std::size_t i = from; i <= to; ++i) {
            box.x0 = std::min(box.x0, run[i].X);
            box.x1 = std::max(box.x1, run[i].X);
            box.y0 = std::min(box.y0, run[i].Y);
            box.y1 = std::max(box.y1, run[i].Y);
        }
    }
    return boxes;
}

// A run's stretch boxes gathered kBoxesPerBlock at a time, each block boxed whole: a point lies
// no nearer a stretch's box than it lies to its block's box, so a block farther than a bound
// holds no box within it. A block holding a box that is not finite spans the whole plane, and
// its boxes are always looked at.
constexpr std::size_t kBoxesPerBlock = 16;

std::vector<Box> BoxBlocks(const std::vector<Box>& boxes) {
    std::vector<Box> blocks;
    blocks.reserve((boxes.size() + kBoxesPerBlock - 1) / kBoxesPerBlock);
    for (std::size_t s = 0; s < boxes.size(); ++s) {
        if (s % kBoxesPerBlock == 0) {
            blocks.push_back(EmptyBox());
        }
        const Box& box = boxes[s];
        Box& block = blocks.back();
        if (!(std::isfinite(box.x0) && std::isfinite(box.x1) && std::isfinite(box.y0) &&
              std::isfinite(box.y1))) {
            block = {-HUGE_VAL, -HUGE_VAL, HUGE_VAL, HUGE_VAL};
        }
        block.x0 = std::min(block.x0, box.x0);
        block.x1 = std::max(block.x1, box.x1);
        block.y0 = std::min(block.y0, box.y0);
        block.y1 = std::max(block.y1, box.y1);
    }
    return blocks;
}

// For each stretch of one run, the stretches of the other run near it: those of near[s] run
// from first[s] to first[s + 1] in `other`.
struct NearList {
    std::vector<std::size_t> first;
    std::vector<std::size_t> other;

    const std::size_t* begin(std::size_t s) const { return other.data() + first[s]; }
    const std::size_t* end(std::size_t s) const { return other.data() + first[s + 1]; }
};

// Gathers pairs (s, t) into the lists of s, keeping the order they come in.
NearList Listed(std::size_t count, const std::vector<std::pair<std::size_t, std::size_t>>& pairs) {
    NearList list;
    list.first.assign(count + 1, 0);
    for (const auto& pair : pairs) {
        ++list.first[pair.first + 1];
    }
    for (std::size_t s = 0; s < count; ++s) {
        list.first[s + 1] += list.first[s];
    }
    list.other.resize(pairs.size());
    std::vector<std::size_t> next(list.first.begin(), list.first.end() - 1);
    for (const auto& pair : pairs) {
        list.other[next[pair.first]++] = pair.second;
    }
    return list;
}

// For each stretch of run a (of `sideA`) the stretches of run b (of `sideB`) whose boxes lie
// within `within` of its box, and the same for each stretch of b: a pair is near when the spans of
// the two boxes across x meet once the first box's span is widened by `within` each way, the boxes'
// gap is no more than `within`, and so is the separation of their boxes along their chords. The
// boxes of both runs are swept along whichever axis they are narrower in (teeth at the line of
// centres lie along x), every span widened by twice `within`, which holds every pair near either
// way round: each box is compared with the other run's boxes after it in the sweep whose span it
// meets. Each run's order along the sweep is kept with it, so a run that serves many positions is
// ordered once. False, with the lists unfinished, once the sweep has compared more pairs of boxes
// than a few dozen per box: runs that tangled are no flanks in contact.
bool NearStretches(TouchSide& sideA, TouchSide& sideB, double within, NearList& nearA,
                   NearList& nearB) {
    const std::vector<Box>& a = sideA.boxes();
    const std::vector<Box>& b = sideB.boxes();
    double wide = 0, tall = 0;
    for (const std::vector<Box>* boxes : {&a, &b}) {
        for (const Box& box : *boxes) {
            wide += box.x1 - box.x0;
            tall += box.y1 - box.y0;
        }
    }
    const bool alongY = tall < wide;
    const double widen = 2 * within;
    auto low = [&](const Box& box) { return (alongY ? box.y0 : box.x0) - widen; };
    auto high = [&](const Box& box) { return (alongY ? box.y1 : box.x1) + widen; };
    const std::vector<std::size_t>& orderA = sideA.Order(alongY);
    const std::vector<std::size_t>& orderB = sideB.Order(alongY);
    std::vector<std::pair<std::size_t, std::size_t>> fromA, fromB;
    const double within2 = within * within;
    const std::size_t most = kComparedFloor + kComparedPerBox * (a.size() + b.size());
    std::size_t compared = 0;
    // A pair of boxes, one of each run, whose spans along the sweep meet once widened.
    auto pair = [&](std::size_t ka, std::size_t kb) {
        const Box& boxA = a[ka];
        const Box& boxB = b[kb];
        const bool nearOfA = boxA.x0 - within <= boxB.x1 && boxB.x0 <= boxA.x1 + within &&
                             BoxGap2(boxA, boxB) <= within2;
        const bool nearOfB = boxB.x0 - within <= boxA.x1 && boxA.x0 <= boxB.x1 + within &&
                             BoxGap2(boxB, boxA) <= within2;
        // Boxes along the stretches' chords set apart most of the pairs whose boxes across x
        // and y meet; the room leaves the rounding of the frames nothing to decide.
        if ((nearOfA || nearOfB) &&
            !(Separation(sideA.Frame(ka), sideB.Frame(kb)) > within * kBoxRoom)) {
            if (nearOfA) {
                fromA.emplace_back(ka, kb);
            }
            if (nearOfB) {
                fromB.emplace_back(kb, ka);
            }
        }
    };
    // The boxes of one run from `from` on in its order whose spans begin by `end`: visit(k) for
    // each; false once too many have been compared.
    auto scan = [&](const std::vector<std::size_t>& order, const std::vector<Box>& boxes,
                    std::size_t from, double end, auto visit) {
        for (std::size_t q = from; q < order.size() && low(boxes[order[q]]) <= end; ++q) {
            if (++compared > most) {
                return false;
            }
            visit(order[q]);
        }
        return true;
    };
    // Both runs in the order their widened spans begin, merged: each box is compared with the
    // other run's boxes after it whose spans begin within its own.
    std::size_t i = 0, j = 0;
    while (i < orderA.size() || j < orderB.size()) {
        if (j == orderB.size() || (i < orderA.size() && low(a[orderA[i]]) <= low(b[orderB[j]]))) {
            const std::size_t ka = orderA[i++];
            if (!scan(orderB, b, j, high(a[ka]), [&](std::size_t kb) { pair(ka, kb); })) {
                return false;
            }
        } else {
            const std::size_t kb = orderB[j++];
            if (!scan(orderA, a, i, high(b[kb]), [&](std::size_t ka) { pair(ka, kb); })) {
                return false;
            }
        }
    }
    nearA = Listed(a.size(), fromA);
    nearB = Listed(b.size(), fromB);
    return true;
}

// The run with the radial segments that join it to its closing: the material's boundary about
// the run, ends included; point 0 and the last lie on the closing, the others are the run's.
class Boundary {
  public:
    explicit Boundary(const TouchRun& run)
        : run_(run), first_(OnClosing(run.points.front())), last_(OnClosing(run.points.back())) {}

    std::size_t size() const { return run_.points.size() + 2; }
    const PointXY& operator[](std::size_t i) const {
        return i == 0 ? first_ : i == run_.points.size() + 1 ? last_ : run_.points[i - 1];
    }

  private:
    PointXY OnClosing(const PointXY& p) const {
        const double dx = p.X - run_.centre.X, dy = p.Y - run_.centre.Y;
        const double r = std::hypot(dx, dy);
        return {run_.centre.X + dx * run_.closeRadius / r,
                run_.centre.Y + dy * run_.closeRadius / r};
    }

    const TouchRun& run_;
    PointXY first_, last_;
};

// Whether v lies outside the material of `run` (whose boundary about the run is `boundary`: the
// run's stretches boxed in `boxes`, and those in `blocks`, with one radial segment before and
// after), told at its nearest point of that boundary; false also when it cannot be told: the
// nearest point lies at the boundary's ends, the arc of the closing may lie nearer, or v lies on
// the line. The stretches are measured nearest box first (ties by their order along the run),
// until the next box lies beyond the nearest point; `order` is room for the boxes that may still
// come nearer, `gaps` for the blocks' gaps.
bool Outside(const TouchRun& run, const Boundary& boundary, const std::vector<Box>& boxes,
             const std::vector<Box>& blocks, const PointXY& v,
             std::vector<std::pair<double, std::size_t>>& order, std::vector<double>& gaps) {
    double least = HUGE_VAL, along = 0;
    std::size_t nearest = 0;
    auto measure = [&](std::size_t from, std::size_t to) {  // segments of the boundary
        for (std::size_t j = from; j < to; ++j) {
            double t = 0;
            const double d2 = SegmentDistance2(v, boundary[j], boundary[j + 1], t);
            if (d2 < least) {
                least = d2;
                nearest = j;
                along = t;
            }
        }
    };
    const std::size_t segments = boundary.size() - 1;
    measure(0, 1);
    measure(segments - 1, segments);
    // The nearest box first; then, in order, the others that lie no farther than the nearest
    // point found so far (the one way the least can only shrink further).
    auto measureStretch = [&](std::size_t s) {
        // Run segment j is boundary segment j + 1.
        const std::size_t from = s * kStretch + 1;
        measure(from, s + 1 == boxes.size() ? segments - 1 : from + kStretch);
    };
    // The blocks' gaps from v; a block's boxes visited in their order along the run.
    gaps.clear();
    for (const Box& block : blocks) {
        gaps.push_back(BoxGap2(v, block));
    }
    auto block = [&](std::size_t k, auto visit) {
        const std::size_t end = std::min(boxes.size(), (k + 1) * kBoxesPerBlock);
        for (std::size_t s = k * kBoxesPerBlock; s < end; ++s) {
            visit(s);
        }
    };
    // The least (gap, s) of all the boxes, the nearest block's first: a block farther than the
    // least gap found holds none less.
    order.clear();
    std::pair<double, std::size_t> first{HUGE_VAL, boxes.size()};
    auto nearer = [&](std::size_t s) {
        const std::pair<double, std::size_t> box{BoxGap2(v, boxes[s]), s};
        if (first.second == boxes.size() || box < first) {
            first = box;
        }
    };
    const std::size_t closest =
        static_cast<std::size_t>(std::min_element(gaps.begin(), gaps.end()) - gaps.begin());
    block(closest, nearer);
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        if (k != closest && !(gaps[k] > first.first)) {
            block(k, nearer);
        }
    }
    if (first.second < boxes.size() && !(first.first > least)) {
        measureStretch(first.second);
        for (std::size_t k = 0; k < blocks.size(); ++k) {
            if (gaps[k] > least) {
                continue;
            }
            block(k, [&](std::size_t s) {
                const double gap2 = BoxGap2(v, boxes[s]);
                if (s != first.second && !(gap2 > least)) {
                    order.emplace_back(gap2, s);
                }
            });
        }
        std::sort(order.begin(), order.end());
        for (const auto& [gap2, s] : order) {
            if (gap2 > least) {
                break;
            }
            measureStretch(s);
        }
    }
    const double fromCentre = Length(v, run.centre);
    const double toArc =
        run.internal ? kArcChordShare * run.closeRadius - fromCentre : fromCentre - run.closeRadius;
    if (!(std::sqrt(least) < toArc)) {
        return false;
    }
    // Left of the boundary counts positive; the material's side decides.
    double side = 0;
    if (along > 0 && along < 1) {
        side = Cross(boundary[nearest], boundary[nearest + 1], v);
    } else {
        // At a corner: the sum of the two sides' unit normals points out of a convex corner and
        // into a concave one, and v lies on the side it points to.
        const std::size_t corner = along <= 0 ? nearest : nearest + 1;
        if (corner == 0 || corner + 1 == boundary.size()) {
            return false;
        }
        const PointXY& p = boundary[corner - 1];
        const PointXY& q = boundary[corner];
        const PointXY& r = boundary[corner + 1];
        const double l1 = Length(p, q), l2 = Length(q, r);
        if (!(l1 > 0 && l2 > 0)) {
            return false;
        }
        const double nx = -(q.Y - p.Y) / l1 - (r.Y - q.Y) / l2;
        const double ny = (q.X - p.X) / l1 + (r.X - q.X) / l2;
        side = nx * (v.X - q.X) + ny * (v.Y - q.Y);
    }
    return run.materialLeft ? side < 0 : side > 0;
}

// How far a closing reaches about its wheel's centre: within this radius for external teeth,
// beyond it for internal teeth.
double ClosingRadius(const TouchRun& run) {
    const double front = Length(run.points.front(), run.centre);
    const double back = Length(run.points.back(), run.centre);
    return run.internal ? std::min({front, back, kArcChordShare * run.closeRadius})
                        : std::max({front, back, run.closeRadius});
}

double Distance2(const PointXY& a, const PointXY& b) {
    return (a.X - b.X) * (a.X - b.X) + (a.Y - b.Y) * (a.Y - b.Y);
}

// The square of the distance from p to the farthest corner of a box.
double FarCorner2(const PointXY& p, const Box& box) {
    const double dx = std::max(std::fabs(p.X - box.x0), std::fabs(p.X - box.x1));
    const double dy = std::max(std::fabs(p.Y - box.y0), std::fabs(p.Y - box.y1));
    return dx * dx + dy * dy;
}

// Whether the run of `sideA` keeps more than `depth` from the closing of `b`. A stretch whose
// box keeps clear by a billionth more, far beyond the rounding of either measure, keeps clear
// in every segment, and its segments are not measured one by one.
bool ClearOfClosing(const TouchSide& sideA, const TouchRun& b, double depth) {
    const Polyline& points = sideA.run().points;
    const std::vector<Box>& boxes = sideA.boxes();
    const std::size_t stretches = boxes.size();
    const double reach = ClosingRadius(b);
    if (b.internal) {
        // The farthest a segment comes from a point is at one of its ends.
        const double within = reach - depth;
        if (!(within > 0)) {
            return false;
        }
        const double within2 = within * within;
        for (std::size_t s = 0; s < stretches; ++s) {
            if (FarCorner2(b.centre, boxes[s]) < within2 * (1 - 1e-9)) {
                continue;
            }
            const auto [from, to] = PointsOf(s, stretches, points);
            for (std::size_t i = from; i <= to; ++i) {
                if (!(Distance2(points[i], b.centre) < within2)) {
                    return false;
                }
            }
        }
        return true;
    }
    const double beyond = (reach + depth) * (reach + depth);
    for (std::size_t s = 0; s < stretches; ++s) {
        if (BoxGap2(b.centre, boxes[s]) > beyond * (1 + 1e-9)) {
            continue;
        }
        const auto [from, to] = PointsOf(s, stretches, points);
        for (std::size_t i = from; i < to; ++i) {
            if (!(SegmentDistance2(b.centre, points[i], points[i + 1]) > beyond)) {
                return false;
            }
        }
    }
    return true;
}

// Whether the two closings lie apart.
bool ClosingsApart(const TouchRun& a, const TouchRun& b, double depth) {
    const double spread = Length(a.centre, b.centre);
    const double ra = ClosingRadius(a), rb = ClosingRadius(b);
    if (a.internal && b.internal) {
        return false;
    }
    if (a.internal) {
        return spread + rb + depth < ra;
    }
    if (b.internal) {
        return spread + ra + depth < rb;
    }
    return ra + rb + depth < spread;
}

// One way round: every point of `a` farther than `depth` from the run of `sideB` lies outside
// that run's material. `near` lists for each stretch of `a` the stretches of b within `depth` of
// it.
bool FarPointsOutside(const TouchRun& a, const NearList& near, TouchSide& sideB, double depth,
                      std::vector<std::pair<double, std::size_t>>& order,
                      std::vector<double>& gaps) {
    const TouchRun& b = sideB.run();
    const std::vector<Box>& boxesB = sideB.boxes();
    const Polyline& pa = a.points;
    const Polyline& pb = b.points;
    const std::size_t stretches = near.first.size() - 1;
    const std::size_t stretchesB = boxesB.size();
    auto segmentsOf = [&](std::size_t s) { return PointsOf(s, stretchesB, pb); };
    const double depth2 = depth * depth;
    const double half = depth / 2, half2 = half * half;
    const Boundary boundary(b);
    bool inStretch = false;  // the point before was far and its segment to this one clear
    for (std::size_t i = 0; i < pa.size(); ++i) {
        const std::size_t own = StretchOf(i == 0 ? 0 : std::min(i, pa.size() - 2), stretches);
        const std::size_t before = i == 0 ? own : StretchOf(i - 1, stretches);
        // Most of a run lies far from b: a point whose stretches have no stretch of b near them
        // is far, and its segment to the next keeps the side the point before was found on. So
        // do all the points before the first of the next stretch with anything near it.
        if (inStretch && near.first[before] == near.first[own + 1]) {
            std::size_t next = own + 1;
            while (next < stretches && near.first[next] == near.first[next + 1]) {
                ++next;
            }
            if (next == stretches) {
                break;
            }
            i = next * kStretch - 1;
            continue;
        }
        // A point near b may lie on either side: it is as deep as it is near.
        bool far = true;
        for (std::size_t s = before; s <= own && far; ++s) {
            for (const std::size_t* t = near.begin(s); t != near.end(s) && far; ++t) {
                if (BoxGap2(pa[i], boxesB[*t]) > depth2 ||
                    sideB.Frame(*t).Gap2(pa[i], pa[i]) > depth2 * kBoxRoom) {
                    continue;
                }
                const auto [from, to] = segmentsOf(*t);
                for (std::size_t j = from; j < to && far; ++j) {
                    if (BoxGap2(pa[i], SegmentBox(pb[j], pb[j + 1])) > depth2 * kBoxRoom) {
                        continue;  // too far from the segment's box to be near it
                    }
                    far = SegmentDistance2(pa[i], pb[j], pb[j + 1]) > depth2;
                }
            }
        }
        if (!far) {
            if (i == 0 || i + 1 == pa.size()) {
                return false;  // the closing starts at a point that may lie inside
            }
            inStretch = false;
            continue;
        }
        if (!inStretch && !Outside(b, boundary, boxesB, sideB.blocks(), pa[i], order, gaps)) {
            return false;
        }
        // The segment to the next point keeps the side unless it comes near b: it crosses or
        // touches a segment of b (by the signs of their corners, zero counted as a crossing),
        // or an end of one lies within half the depth of the other.
        inStretch = true;
        if (i + 1 < pa.size()) {
            const PointXY& p = pa[i];
            const PointXY& q = pa[i + 1];
            const Box segment = SegmentBox(p, q);
            const std::size_t s = StretchOf(i, stretches);
            for (const std::size_t* t = near.begin(s); t != near.end(s) && inStretch; ++t) {
                if (BoxGap2(segment, boxesB[*t]) > depth2 / 4) {
                    continue;
                }
                // Too far for any end to lie that near: only a crossing can tell.
                const bool distant = sideB.Frame(*t).Gap2(p, q) > half2 * kBoxRoom;
                const auto [from, to] = segmentsOf(*t);
                // The side of pq each point of the stretch lies on, each reckoned once.
                double sideC = Cross(p, q, pb[from]);
                for (std::size_t j = from; j < to && inStretch; ++j) {
                    const PointXY& c = pb[j];
                    const PointXY& d = pb[j + 1];
                    const double sideD = Cross(p, q, d);
                    bool met = false;
                    if ((sideC <= 0 && sideD >= 0) || (sideC >= 0 && sideD <= 0)) {
                        const double o3 = Cross(c, d, p), o4 = Cross(c, d, q);
                        met = (o3 <= 0 && o4 >= 0) || (o3 >= 0 && o4 <= 0);
                    }
                    if (!met && !distant &&
                        !(BoxGap2(segment, SegmentBox(c, d)) > half2 * kBoxRoom)) {
                        met = SegmentDistance2(p, c, d) <= half2 ||
                              SegmentDistance2(q, c, d) <= half2 ||
                              SegmentDistance2(c, p, q) <= half2 ||
                              SegmentDistance2(d, p, q) <= half2;
                    }
                    inStretch = !met;
                    sideC = sideD;
                }
            }
        }
    }
    return true;
}

}  // namespace

// A run of fewer than two points has no stretch.
TouchSide::TouchSide(const TouchRun& run)
    : run_(&run),
      boxes_(run.points.size() < 2 ? std::vector<Box>{} : StretchBoxes(run.points)),
      blocks_(BoxBlocks(boxes_)),
      frames_(boxes_.size()),
      made_(boxes_.size(), false) {}

const ChordFrame& TouchSide::Frame(std::size_t stretch) {
    if (!made_[stretch]) {
        made_[stretch] = true;
        const Polyline& points = run_->points;
        const auto [from, to] = PointsOf(stretch, frames_.size(), points);
        ChordFrame& f = frames_[stretch];
        f = ChordFrame::Through(points[from], points[to]);
        for (std::size_t i = from; i <= to; ++i) {
            f.Take(points[i]);
        }
    }
    return frames_[stretch];
}

const std::vector<std::size_t>& TouchSide::Order(bool alongY) {
    std::vector<std::size_t>& order = alongY ? orderY_ : orderX_;
    if (order.size() != boxes_.size()) {
        order.resize(boxes_.size());
        for (std::size_t s = 0; s < order.size(); ++s) {
            order[s] = s;
        }
        std::sort(order.begin(), order.end(), [&](std::size_t p, std::size_t q) {
            const double lowP = alongY ? boxes_[p].y0 : boxes_[p].x0;
            const double lowQ = alongY ? boxes_[q].y0 : boxes_[q].x0;
            return lowP < lowQ || (lowP == lowQ && p < q);
        });
    }
    return order;
}

bool TouchShallowerThan(TouchSide& a, TouchSide& b, double depth) {
    const TouchRun& runA = a.run();
    const TouchRun& runB = b.run();
    if (runA.points.size() < 2 || runB.points.size() < 2 || !(depth > 0) ||
        !ClosingsApart(runA, runB, depth) || !ClearOfClosing(a, runB, depth) ||
        !ClearOfClosing(b, runA, depth)) {
        return false;
    }
    NearList nearA, nearB;
    if (!NearStretches(a, b, depth, nearA, nearB)) {
        return false;
    }
    std::vector<std::pair<double, std::size_t>> order;
    order.reserve(std::max(a.boxes().size(), b.boxes().size()));
    std::vector<double> gaps;
    return FarPointsOutside(runA, nearA, b, depth, order, gaps) &&
           FarPointsOutside(runB, nearB, a, depth, order, gaps);
}

bool TouchShallowerThan(const TouchRun& a, const TouchRun& b, double depth) {
    TouchSide sideA(a), sideB(b);
    return TouchShallowerThan(sideA, sideB, depth);
}

}  // namespace tarvo
