// The mesh check. Only a few teeth of each wheel can ever come near the mate, so each wheel is
// first cut down to the teeth that, anywhere in the sweep, come within reach of the mate's tooth
// ring. Each tooth carries bounding circles of short stretches of its outline; in each position
// these circles pick the pairs of stretches that can hold the nearest points, measured segment by
// segment with Boost.Geometry, and the teeth that can cross, whose material (closed through the
// body for external teeth, outwards for internal teeth) Boost.Geometry intersects.
#include "report/mesh_check.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>
#include <vector>

#include "report/boost_geometry.h"

#include "math/constants.h"
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

double Wrap(double angle) {  // into [-pi, pi)
    angle = std::fmod(angle + kPi, kTwoPi);
    if (angle < 0) {
        angle += kTwoPi;
    }
    return angle - kPi;
}

// A wheel's own description of where it lies: distances of its outline from its centre and the
// longest segment. Points are read from the outline as they are needed, not copied.
struct WheelShape {
    const std::vector<PointXY>* outline = nullptr;
    PointXY centre;
    std::size_t n = 0;  // points without the closing one
    double rMin = 0, rMax = 0;
    double longestSegment = 0;
    int perTooth = 0;  // points per tooth, 0 when the outline is not z equal teeth

    PointXY Local(std::size_t i) const {
        const PointXY& p = (*outline)[i % n];
        return {p.X - centre.X, p.Y - centre.Y};
    }
};

WheelShape Shape(const MeshWheel& wheel) {
    WheelShape s;
    s.outline = wheel.outline;
    s.centre = wheel.centre;
    s.n = wheel.outline->size() - 1;
    s.rMin = HUGE_VAL;
    for (std::size_t i = 0; i < s.n; ++i) {
        const PointXY p = s.Local(i);
        const PointXY q = s.Local(i + 1);
        const double r = std::hypot(p.X, p.Y);
        s.rMin = std::min(s.rMin, r);
        s.rMax = std::max(s.rMax, r);
        s.longestSegment = std::max(s.longestSegment, std::hypot(q.X - p.X, q.Y - p.Y));
    }
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

// The smallest circle about the middle of the points' box that holds them all, and with them
// the segments between them.
Circle Bound(const BLine& line, std::size_t from, std::size_t to) {
    double x0 = HUGE_VAL, x1 = -HUGE_VAL, y0 = HUGE_VAL, y1 = -HUGE_VAL;
    for (std::size_t i = from; i <= to; ++i) {
        x0 = std::min(x0, line[i].x());
        x1 = std::max(x1, line[i].x());
        y0 = std::min(y0, line[i].y());
        y1 = std::max(y1, line[i].y());
    }
    Circle c{{(x0 + x1) / 2, (y0 + y1) / 2}, 0};
    for (std::size_t i = from; i <= to; ++i) {
        c.radius =
            std::max(c.radius, std::hypot(line[i].x() - c.centre.X, line[i].y() - c.centre.Y));
    }
    return c;
}

// One tooth's stretch of outline, from its first point to the next tooth's first, relative to
// the wheel centre and unturned, with the circles that bound it whole and in short stretches.
struct ToothRun {
    int index = 0;  // tooth number on its wheel
    BLine line;
    Circle bound;
    std::vector<Circle> chunks;
};

ToothRun MakeTooth(const WheelShape& s, int index, std::size_t first, std::size_t count) {
    ToothRun tooth;
    tooth.index = index;
    tooth.line.reserve(count + 1);
    for (std::size_t i = 0; i <= count; ++i) {
        const PointXY p = s.Local(first + i);
        tooth.line.push_back(BPoint(p.X, p.Y));
    }
    tooth.bound = Bound(tooth.line, 0, count);
    for (std::size_t from = 0; from < count; from += kChunkSegments) {
        tooth.chunks.push_back(Bound(tooth.line, from, std::min(count, from + kChunkSegments)));
    }
    return tooth;
}

// A wheel cut down to what can meet the mate: its teeth in order along the outline. An outline
// that is not z equal teeth is one run of `wheelTeeth` 1.
struct Piece {
    std::vector<ToothRun> teeth;
    int wheelTeeth = 1;
    bool internal = false;
    double closeRadius = 0;  // where a run of teeth is closed into material
    double farRadius = 0;    // the square about an internal wheel's material
};

// The distance range of a point from the mate's centre while its wheel turns from `turnFrom`
// through `sweep`: the distance grows with the angle between the point and the direction to the
// mate, so the turn's range of that angle gives the range of distances.
struct Reach {
    double distance = 0;     // between the centres
    double towardsMate = 0;  // direction of the mate's centre
    double turnFrom = 0, sweep = 0;
    double lo = 0, hi = 0;

    // The nearest and farthest the point comes to the mate's centre during the sweep.
    std::pair<double, double> Range(const PointXY& p) const {
        const double rho = std::hypot(p.X, p.Y);
        const double psi0 = Wrap(std::atan2(p.Y, p.X) - towardsMate + turnFrom);
        const double psi1 = psi0 + sweep;
        const double wrapped1 = std::fabs(Wrap(psi1));
        const double nearest =
            (psi0 <= 0 && psi1 >= 0) || psi1 >= kTwoPi ? 0 : std::min(std::fabs(psi0), wrapped1);
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
    bool MayReach(const Circle& bound) const {
        const auto [nearest, farthest] = Range(bound.centre);
        return nearest - bound.radius <= hi && farthest + bound.radius >= lo;
    }
};

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

// Keeps the whole teeth of `wheel` that come within `reach.lo`..`reach.hi` of the mate's centre
// for some turn of the sweep.
Piece Cut(const MeshWheel& wheel, const WheelShape& s, const Reach& reach, double farRadius) {
    Piece piece;
    piece.internal = wheel.internal;
    piece.farRadius = farRadius;
    piece.closeRadius = wheel.internal ? farRadius : s.rMin / 2;
    if (s.perTooth == 0 || reach.sweep >= kTwoPi || !(reach.distance > 0)) {
        piece.teeth.push_back(MakeTooth(s, 0, 0, s.n));
        return piece;
    }
    piece.wheelTeeth = wheel.teeth;
    const std::size_t perTooth = static_cast<std::size_t>(s.perTooth);
    for (int t = 0; t < wheel.teeth; ++t) {
        const std::size_t first = static_cast<std::size_t>(t) * perTooth;
        // Most teeth lie far from the mate all through the sweep: one test of their bounding
        // circle settles them without the trigonometry of every point.
        bool kept = false;
        const bool mayReach = reach.MayReach(LocalBound(s, first, first + perTooth));
        for (std::size_t i = 0; i <= perTooth && mayReach && !kept; ++i) {
            kept = reach.Reaches(s.Local(first + i));
        }
        if (kept) {
            piece.teeth.push_back(MakeTooth(s, t, first, perTooth));
        }
    }
    return piece;
}

// A wheel's turn about its centre in one position.
struct Pose {
    PointXY centre;
    double c = 1, s = 0;

    Pose(PointXY at, double angle) : centre(at), c(std::cos(angle)), s(std::sin(angle)) {}
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

// Two stretches whose circles lie `gap` apart.
struct StretchPair {
    double gap;
    Stretch a, b;
};

struct NearParts {
    std::vector<StretchPair> nearest;  // pairs that can hold the nearest points, nearest first
    std::vector<std::size_t> crossing1, crossing2;
};

Circle PlacedCircle(const Circle& local, const Pose& pose) {
    return {pose(local.centre.X, local.centre.Y), local.radius};
}

double Gap(const Circle& a, const Circle& b) {
    const double dx = a.centre.X - b.centre.X;
    const double dy = a.centre.Y - b.centre.Y;
    return std::sqrt(dx * dx + dy * dy) - a.radius - b.radius;
}

bool operator<(const Stretch& a, const Stretch& b) {
    return a.tooth < b.tooth || (a.tooth == b.tooth && a.chunk < b.chunk);
}
bool operator==(const Stretch& a, const Stretch& b) {
    return a.tooth == b.tooth && a.chunk == b.chunk;
}

template <typename T>
void SortUnique(std::vector<T>& list) {
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
}

// The circles of a piece's teeth and stretches in one position.
struct PlacedPiece {
    std::vector<Circle> teeth;
    std::vector<std::vector<Circle>> chunks;
};

PlacedPiece Place(const Piece& piece, const Pose& pose) {
    PlacedPiece placed;
    for (const ToothRun& tooth : piece.teeth) {
        placed.teeth.push_back(PlacedCircle(tooth.bound, pose));
        placed.chunks.emplace_back();
        for (const Circle& c : tooth.chunks) {
            placed.chunks.back().push_back(PlacedCircle(c, pose));
        }
    }
    return placed;
}

// Tooth pairs are taken nearest first by their bounding circles; the stretches' circles give an
// upper bound of the clearance (any two of their points are no farther apart than the centres
// plus both diameters) and a lower bound per pair of stretches. A pair whose lower bound exceeds
// the upper bound cannot hold the nearest points; a pair whose circles do not meet cannot cross.
NearParts FindNearParts(const PlacedPiece& p1, const PlacedPiece& p2) {
    struct TeethPair {
        double gap;
        std::size_t i, j;
    };
    double upper = HUGE_VAL;
    for (const Circle& a : p1.teeth) {
        for (const Circle& b : p2.teeth) {
            upper = std::min(upper, Gap(a, b) + 2 * (a.radius + b.radius));
        }
    }
    std::vector<TeethPair> pairs;
    for (std::size_t i = 0; i < p1.teeth.size(); ++i) {
        for (std::size_t j = 0; j < p2.teeth.size(); ++j) {
            const double gap = Gap(p1.teeth[i], p2.teeth[j]);
            if (gap <= std::max(upper, kTouchingDepth)) {
                pairs.push_back({gap, i, j});
            }
        }
    }
    std::sort(pairs.begin(), pairs.end(),
              [](const TeethPair& a, const TeethPair& b) { return a.gap < b.gap; });
    std::vector<StretchPair> close;
    // Stretches within the bound, or close enough to cross, are kept.
    auto kept = [&upper](double gap) { return gap <= std::max(upper, kTouchingDepth); };
    for (std::size_t k = 0; k < pairs.size() && kept(pairs[k].gap); ++k) {
        const std::vector<Circle>& chunks1 = p1.chunks[pairs[k].i];
        const std::vector<Circle>& chunks2 = p2.chunks[pairs[k].j];
        for (std::size_t a = 0; a < chunks1.size(); ++a) {
            for (std::size_t b = 0; b < chunks2.size(); ++b) {
                const double gap = Gap(chunks1[a], chunks2[b]);
                if (kept(gap)) {
                    upper = std::min(upper, gap + 2 * (chunks1[a].radius + chunks2[b].radius));
                    close.push_back({gap, {pairs[k].i, a}, {pairs[k].j, b}});
                }
            }
        }
    }
    NearParts near;
    for (const StretchPair& pair : close) {
        if (pair.gap <= upper) {
            near.nearest.push_back(pair);
        }
        if (pair.gap <= kTouchingDepth) {
            near.crossing1.push_back(pair.a.tooth);
            near.crossing2.push_back(pair.b.tooth);
        }
    }
    std::sort(near.nearest.begin(), near.nearest.end(),
              [](const StretchPair& a, const StretchPair& b) { return a.gap < b.gap; });
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

// The stretches placed, in the order of `which`: each its kChunkSegments segments (fewer at the
// tooth's end).
std::vector<BLine> StretchLines(const Piece& piece, const std::vector<Stretch>& which,
                                const Pose& pose) {
    std::vector<BLine> lines;
    lines.reserve(which.size());
    for (const Stretch& part : which) {
        const BLine& tooth = piece.teeth[part.tooth].line;
        const std::size_t from = part.chunk * kChunkSegments;
        const std::size_t to = std::min(tooth.size() - 1, from + kChunkSegments);
        lines.push_back(Placed(BLine(tooth.begin() + from, tooth.begin() + to + 1), pose));
    }
    return lines;
}

// The smallest distance between the stretches of the pairs: Boost's distance of each segment of
// one stretch to each of the other, compared squared and rooted once, as Boost measures two
// whole outlines. The pairs come nearest first, and the gap between their circles is a lower
// bound of their distance, so the pairs beyond the smallest distance found are not measured.
double NearestDistance(const Piece& p1, const Piece& p2, const NearParts& near, const Pose& pose1,
                       const Pose& pose2) {
    std::vector<Stretch> which1, which2;
    for (const StretchPair& pair : near.nearest) {
        which1.push_back(pair.a);
        which2.push_back(pair.b);
    }
    SortUnique(which1);
    SortUnique(which2);
    const std::vector<BLine> lines1 = StretchLines(p1, which1, pose1);
    const std::vector<BLine> lines2 = StretchLines(p2, which2, pose2);
    using Segment = bg::model::referring_segment<const BPoint>;
    double least = HUGE_VAL;
    for (const StretchPair& pair : near.nearest) {
        if (pair.gap > 0 && pair.gap * pair.gap >= least) {
            break;
        }
        const BLine& a =
            lines1[std::lower_bound(which1.begin(), which1.end(), pair.a) - which1.begin()];
        const BLine& b =
            lines2[std::lower_bound(which2.begin(), which2.end(), pair.b) - which2.begin()];
        for (std::size_t i = 0; i + 1 < a.size(); ++i) {
            for (std::size_t j = 0; j + 1 < b.size(); ++j) {
                least = std::min(least, bg::comparable_distance(Segment(a[i], a[i + 1]),
                                                                Segment(b[j], b[j + 1])));
            }
        }
    }
    return std::sqrt(least);
}

BLines Lines(const Piece& piece, const std::vector<std::size_t>& which, const Pose& pose) {
    BLines lines;
    for (const std::size_t k : which) {
        lines.push_back(Placed(piece.teeth[k].line, pose));
    }
    return lines;
}

// A run of outline closed into material: back along an arc about the centre at `radius`,
// inside the root circle for external teeth, far outside for internal teeth.
BPolygon ClosedRun(const BLine& run, double radius) {
    double angle = std::atan2(run.front().y(), run.front().x());
    const double start = angle;
    for (std::size_t i = 1; i < run.size(); ++i) {
        const double next = std::atan2(run[i].y(), run[i].x());
        angle += Wrap(next - std::atan2(run[i - 1].y(), run[i - 1].x()));
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
    for (const ToothRun& tooth : piece.teeth) {
        loop.insert(loop.end(), tooth.line.begin(), tooth.line.end() - 1);
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
        if (runs.empty() || tooth.index != lastIndex + 1) {
            runs.push_back(tooth.line);
        } else {
            runs.back().insert(runs.back().end(), tooth.line.begin() + 1, tooth.line.end());
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

// The segments of outlines in a tree by their boxes, so that the nearest segment to a corner of
// a shared area is found without measuring every segment.
using Segment = bg::model::segment<BPoint>;
using SegmentTree = bg::index::rtree<Segment, bg::index::quadratic<16>>;

SegmentTree Segments(const BLines& lines) {
    std::vector<Segment> segments;
    for (const BLine& line : lines) {
        for (std::size_t i = 0; i + 1 < line.size(); ++i) {
            segments.emplace_back(line[i], line[i + 1]);
        }
    }
    return SegmentTree(segments.begin(), segments.end());  // packed: built in one go
}

double Distance(const BPoint& p, const SegmentTree& tree) {
    double least = HUGE_VAL;
    for (auto it = tree.qbegin(bg::index::nearest(p, 1)); it != tree.qend(); ++it) {
        least = std::min(least, bg::distance(p, *it));
    }
    return least;
}

struct Position {
    double clearance = 0;
    double depth = 0;  // of an overlap deeper than touching, else 0
    double area = 0;
};

// One position: the clearance on the stretches that can hold the nearest points and, where the
// outlines meet, the area shared by the teeth that cross and their neighbours. Each corner of
// the shared area lies on one outline; its distance from the other is how far that outline has
// gone into the other wheel there.
Position CheckPosition(const Piece& p1, const Piece& p2, const Pose& pose1, const Pose& pose2) {
    Position at;
    const NearParts near = FindNearParts(Place(p1, pose1), Place(p2, pose2));
    at.clearance = NearestDistance(p1, p2, near, pose1, pose2);
    if (at.clearance != 0) {
        return at;
    }
    const std::vector<std::size_t> teeth1 = WithNeighbours(p1, near.crossing1);
    const std::vector<std::size_t> teeth2 = WithNeighbours(p2, near.crossing2);
    BPolygons shared;
    bg::intersection(Material(p1, teeth1, pose1), Material(p2, teeth2, pose2), shared);
    const SegmentTree tree1 = Segments(Lines(p1, teeth1, pose1));
    const SegmentTree tree2 = Segments(Lines(p2, teeth2, pose2));
    bg::for_each_point(shared, [&](const BPoint& p) {
        at.depth = std::max(at.depth, std::max(Distance(p, tree1), Distance(p, tree2)));
    });
    at.area = bg::area(shared);
    return at;
}

// Both wheels cut down for a sweep of one pitch of wheel 1 in `steps` steps.
struct Sweep {
    WheelShape s1, s2;
    Piece piece1, piece2;
    double step = 0;    // turn of wheel 1 per position, radians
    double follow = 0;  // turn of wheel 2 per turn of wheel 1
    double reach = 0;   // clearances below this are always found on the pieces
};

Sweep Prepare(const MeshWheel& wheel1, const MeshWheel& wheel2, int steps) {
    Sweep w;
    w.s1 = Shape(wheel1);
    w.s2 = Shape(wheel2);
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
    const double turn2 = w.follow * lastTurn;
    w.piece1 =
        Cut(wheel1, w.s1,
            {spread, std::atan2(dy, dx), 0, lastTurn, w.s2.rMin - margin, w.s2.rMax + margin},
            farRadius);
    w.piece2 = Cut(wheel2, w.s2,
                   {spread, std::atan2(-dy, -dx), std::min(0.0, turn2), std::fabs(turn2),
                    w.s1.rMin - margin, w.s1.rMax + margin},
                   farRadius);
    return w;
}

}  // namespace

MeshCheckResult CheckMesh(const MeshWheel& wheel1, const MeshWheel& wheel2, int stepsPerPitch) {
    for (const MeshWheel* wheel : {&wheel1, &wheel2}) {
        if (wheel->outline == nullptr || wheel->outline->size() < 4 || wheel->teeth < 1) {
            return MeshCheckResult::Failure("контур колеса пуст");
        }
    }
    MeshClearance result;
    try {
        const Sweep w = Prepare(wheel1, wheel2, stepsPerPitch);
        result.minClearance = HUGE_VAL;
        for (int k = 0; k < stepsPerPitch; ++k) {
            const double a1 = w.step * k;
            const Pose pose1(wheel1.centre, a1);
            const Pose pose2(wheel2.centre, w.follow * a1);
            Position at = CheckPosition(w.piece1, w.piece2, pose1, pose2);
            if (at.clearance >= w.reach) {
                at.clearance = bg::distance(WholeLines(w.s1, pose1), WholeLines(w.s2, pose2));
            }
            if (k == 0) {
                result.drawnClearance = at.clearance;
            }
            if (at.clearance < result.minClearance) {
                result.minClearance = at.clearance;
                result.minClearanceTurn = RadToGrad(a1);
            }
            if (at.depth > kTouchingDepth && at.depth > result.overlapDepth) {
                result.overlap = true;
                result.overlapDepth = at.depth;
                result.overlapArea = at.area;
                result.overlapTurn = RadToGrad(a1);
            }
        }
        result.positions = stepsPerPitch;
        result.stepDegrees = RadToGrad(w.step);
    } catch (const std::exception& e) {
        return MeshCheckResult::Failure(std::string("проверка зацепления не выполнена: ") +
                                        e.what());
    }
    return result;
}

OverlapFound MeshOverlaps(const MeshWheel& wheel1, const MeshWheel& wheel2, double likelyTurn,
                          int stepsPerPitch) {
    const OverlapFound unchecked{true, likelyTurn};
    for (const MeshWheel* wheel : {&wheel1, &wheel2}) {
        if (wheel->outline == nullptr || wheel->outline->size() < 4 || wheel->teeth < 1) {
            return unchecked;
        }
    }
    try {
        const Sweep w = Prepare(wheel1, wheel2, stepsPerPitch);
        const int first = static_cast<int>(std::lround(likelyTurn * kPi / 180 / w.step));
        for (int i = 0; i < stepsPerPitch; ++i) {
            // first, first + 1, first - 1, first + 2, ... within the sweep
            const int offset = i % 2 == 1 ? (i + 1) / 2 : -(i / 2);
            const int k = ((first + offset) % stepsPerPitch + stepsPerPitch) % stepsPerPitch;
            const double a1 = w.step * k;
            const Pose pose1(wheel1.centre, a1);
            const Pose pose2(wheel2.centre, w.follow * a1);
            if (CheckPosition(w.piece1, w.piece2, pose1, pose2).depth > kTouchingDepth) {
                return {true, RadToGrad(a1)};
            }
        }
    } catch (const std::exception&) {
        return unchecked;
    }
    return {};
}

}  // namespace tarvo
