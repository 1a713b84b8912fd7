// The mesh check. Only a few teeth of each wheel can ever come near the mate, so each wheel is
// first cut down to the run of whole teeth that, anywhere in the sweep, comes within reach of
// the mate's tooth ring; the run is closed into a polygon of the wheel's material (through its
// body for external teeth, outwards for internal teeth). Each position then turns the pieces,
// measures the distance between the runs and, where they meet, intersects the polygons.
#include "report/mesh_check.h"

#include <algorithm>
#include <cmath>
#include <exception>

// GCC 12 reports Boost 1.74's envelope and rescaling code as maybe uninitialized, falsely: the
// states are assigned before use on every path. Silenced for these headers only.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/linestring.hpp>
#include <boost/geometry/geometries/multi_linestring.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#pragma GCC diagnostic pop

#include "math/constants.h"

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

double Wrap(double angle) {  // into [-pi, pi)
    angle = std::fmod(angle + kPi, kTwoPi);
    if (angle < 0) {
        angle += kTwoPi;
    }
    return angle - kPi;
}

// A wheel's own description of where it lies: distances of its outline from its centre, the
// longest segment, and the points relative to the centre, unturned.
struct WheelShape {
    std::vector<PointXY> local;  // without the closing point
    double rMin = 0, rMax = 0;
    double longestSegment = 0;
    int perTooth = 0;  // points per tooth, 0 when the outline is not z equal teeth
};

WheelShape Shape(const MeshWheel& wheel) {
    WheelShape s;
    const std::vector<PointXY>& points = *wheel.outline;
    s.local.reserve(points.size());
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        s.local.push_back({points[i].X - wheel.centre.X, points[i].Y - wheel.centre.Y});
    }
    s.rMin = HUGE_VAL;
    for (std::size_t i = 0; i < s.local.size(); ++i) {
        const PointXY& p = s.local[i];
        const PointXY& q = s.local[(i + 1) % s.local.size()];
        const double r = std::hypot(p.X, p.Y);
        s.rMin = std::min(s.rMin, r);
        s.rMax = std::max(s.rMax, r);
        s.longestSegment = std::max(s.longestSegment, std::hypot(q.X - p.X, q.Y - p.Y));
    }
    const std::size_t n = s.local.size();
    const std::size_t z = static_cast<std::size_t>(wheel.teeth);
    if (z > 0 && n % z == 0 && n / z >= 2) {
        s.perTooth = static_cast<int>(n / z);
    }
    return s;
}

// A wheel cut down to what can meet the mate: the runs of outline and the polygons of material
// they bound, relative to the wheel centre and unturned.
struct Piece {
    BLines runs;
    BPolygons material;
};

BPoint Pt(const PointXY& p) { return BPoint(p.X, p.Y); }

// The whole wheel: its outline, and its material (inside the outline, or for internal teeth
// between the outline and a square far beyond the mate).
Piece WholeWheel(const WheelShape& s, bool internal, double farRadius) {
    Piece piece;
    BLine line;
    for (const PointXY& p : s.local) {
        line.push_back(Pt(p));
    }
    line.push_back(Pt(s.local.front()));
    BPolygon polygon;
    if (internal) {
        const double r = farRadius;
        for (const PointXY& p : {PointXY{-r, -r}, PointXY{-r, r}, PointXY{r, r}, PointXY{r, -r},
                                 PointXY{-r, -r}}) {
            polygon.outer().push_back(Pt(p));
        }
        polygon.inners().emplace_back(line.begin(), line.end());
    } else {
        polygon.outer().assign(line.begin(), line.end());
    }
    bg::correct(polygon);
    piece.runs.push_back(line);
    piece.material.push_back(polygon);
    return piece;
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

// Keeps the whole teeth of `wheel` that come within `lo`..`hi` of the mate's centre for some
// turn between `turnFrom` and `turnTo` (radians, turnFrom <= turnTo).
Piece Cut(const MeshWheel& wheel, const WheelShape& s, PointXY mateCentre, double lo, double hi,
          double turnFrom, double turnTo, double farRadius) {
    const double dx = mateCentre.X - wheel.centre.X;
    const double dy = mateCentre.Y - wheel.centre.Y;
    const double distance = std::hypot(dx, dy);
    const double towardsMate = std::atan2(dy, dx);
    const double sweep = turnTo - turnFrom;
    if (s.perTooth == 0 || sweep >= kTwoPi || !(distance > 0)) {
        return WholeWheel(s, wheel.internal, farRadius);
    }
    // The distance from the mate's centre grows with the angle between the point and the
    // direction to the mate, so the turn's range of that angle gives the range of distances.
    auto reaches = [&](const PointXY& p) {
        const double rho = std::hypot(p.X, p.Y);
        const double psi0 = Wrap(std::atan2(p.Y, p.X) - towardsMate + turnFrom);
        const double psi1 = psi0 + sweep;
        const double wrapped1 = std::fabs(Wrap(psi1));
        const double nearest =
            (psi0 <= 0 && psi1 >= 0) || psi1 >= kTwoPi ? 0 : std::min(std::fabs(psi0), wrapped1);
        const double farthest = psi1 >= kPi ? kPi : std::max(std::fabs(psi0), wrapped1);
        auto at = [&](double psi) {
            return std::sqrt(
                std::max(0.0, rho * rho + distance * distance - 2 * rho * distance * std::cos(psi)));
        };
        return at(nearest) <= hi && at(farthest) >= lo;
    };
    const int teeth = wheel.teeth;
    const std::size_t n = s.local.size();
    std::vector<bool> kept(static_cast<std::size_t>(teeth), false);
    for (int t = 0; t < teeth; ++t) {
        for (int i = 0; i <= s.perTooth && !kept[static_cast<std::size_t>(t)]; ++i) {
            const std::size_t index = (static_cast<std::size_t>(t) * s.perTooth + i) % n;
            kept[static_cast<std::size_t>(t)] = reaches(s.local[index]);
        }
    }
    if (std::all_of(kept.begin(), kept.end(), [](bool k) { return k; })) {
        return WholeWheel(s, wheel.internal, farRadius);
    }
    Piece piece;
    const double closeRadius = wheel.internal ? farRadius : s.rMin / 2;
    for (int t = 0; t < teeth; ++t) {
        const int before = (t + teeth - 1) % teeth;
        if (!kept[static_cast<std::size_t>(t)] || kept[static_cast<std::size_t>(before)]) {
            continue;  // not the first tooth of a run
        }
        int last = t;
        while (kept[static_cast<std::size_t>((last + 1) % teeth)]) {
            ++last;
        }
        BLine run;
        const std::size_t first = static_cast<std::size_t>(t) * s.perTooth;
        const std::size_t count = static_cast<std::size_t>(last - t + 1) * s.perTooth;
        for (std::size_t i = 0; i <= count; ++i) {
            run.push_back(Pt(s.local[(first + i) % n]));
        }
        piece.material.push_back(ClosedRun(run, closeRadius));
        piece.runs.push_back(run);
    }
    return piece;
}

// Geometry turned by `angle` about the origin and moved to `centre`.
template <typename Geometry>
Geometry Placed(const Geometry& local, PointXY centre, double angle) {
    Geometry g = local;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    bg::for_each_point(g, [&](BPoint& p) {
        const double x = p.x();
        const double y = p.y();
        p.x(centre.X + c * x - s * y);
        p.y(centre.Y + s * x + c * y);
    });
    return g;
}

}  // namespace

MeshCheckResult CheckMesh(const MeshWheel& wheel1, const MeshWheel& wheel2, int stepsPerPitch) {
    MeshCheckResult result;
    for (const MeshWheel* wheel : {&wheel1, &wheel2}) {
        if (wheel->outline == nullptr || wheel->outline->size() < 4 || wheel->teeth < 1) {
            result.reason = "контур колеса пуст";
            return result;
        }
    }
    try {
        const WheelShape s1 = Shape(wheel1);
        const WheelShape s2 = Shape(wheel2);
        const double pitch = kTwoPi / wheel1.teeth;
        const double pitchLength = pitch * s1.rMax;
        const double ratio = static_cast<double>(wheel1.teeth) / wheel2.teeth;
        // Two external wheels turn opposite ways; with internal teeth both turn the same way.
        const double follow = wheel1.internal || wheel2.internal ? ratio : -ratio;
        const double step = pitch / stepsPerPitch;
        const double lastTurn = step * (stepsPerPitch - 1);

        // A clearance below `reach` is always found on the pieces: the points of one wheel that
        // come that close to the other lie within reach of its tooth ring, and a segment's
        // points within its length of its ends.
        const double reach = pitchLength;
        const double margin = reach + std::max(s1.longestSegment, s2.longestSegment);
        const double spread = std::hypot(wheel2.centre.X - wheel1.centre.X,
                                         wheel2.centre.Y - wheel1.centre.Y);
        const double farRadius = 2 * (spread + s1.rMax + s2.rMax) + 1;
        const double turn2 = follow * lastTurn;
        const Piece piece1 = Cut(wheel1, s1, wheel2.centre, s2.rMin - margin, s2.rMax + margin,
                                 0, lastTurn, farRadius);
        const Piece piece2 = Cut(wheel2, s2, wheel1.centre, s1.rMin - margin, s1.rMax + margin,
                                 std::min(0.0, turn2), std::max(0.0, turn2), farRadius);

        result.minClearance = HUGE_VAL;
        for (int k = 0; k < stepsPerPitch; ++k) {
            const double a1 = step * k;
            const double a2 = follow * a1;
            const BLines runs1 = Placed(piece1.runs, wheel1.centre, a1);
            const BLines runs2 = Placed(piece2.runs, wheel2.centre, a2);
            double clearance = bg::distance(runs1, runs2);
            if (clearance >= reach) {
                // Too far apart for the pieces to be sure of the nearest points: whole wheels.
                clearance = bg::distance(Placed(WholeWheel(s1, false, 0).runs, wheel1.centre, a1),
                                         Placed(WholeWheel(s2, false, 0).runs, wheel2.centre, a2));
            }
            if (k == 0) {
                result.drawnClearance = clearance;
            }
            if (clearance < result.minClearance) {
                result.minClearance = clearance;
                result.minClearanceTurn = a1 * 180 / kPi;
            }
            if (clearance == 0) {
                BPolygons shared;
                bg::intersection(Placed(piece1.material, wheel1.centre, a1),
                                 Placed(piece2.material, wheel2.centre, a2), shared);
                // Each corner of the shared area lies on one outline; its distance from the
                // other is how far that outline has gone into the other wheel there.
                double depth = 0;
                bg::for_each_point(shared, [&](const BPoint& p) {
                    depth = std::max(depth, std::max(bg::distance(p, runs1), bg::distance(p, runs2)));
                });
                if (depth > kTouchingDepth && depth > result.overlapDepth) {
                    result.overlap = true;
                    result.overlapDepth = depth;
                    result.overlapArea = bg::area(shared);
                    result.overlapTurn = a1 * 180 / kPi;
                }
            }
        }
        result.positions = stepsPerPitch;
        result.stepDegrees = step * 180 / kPi;
        result.done = true;
    } catch (const std::exception& e) {
        result = MeshCheckResult{};
        result.reason = std::string("проверка зацепления не выполнена: ") + e.what();
    }
    return result;
}

}  // namespace tarvo
