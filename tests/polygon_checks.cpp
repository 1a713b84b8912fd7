#include "polygon_checks.h"

#include <algorithm>
#include <cstddef>

#include "report/boost_geometry.h"

namespace tarvo::testing {
namespace {

namespace bg = boost::geometry;
using BgPoint = bg::model::d2::point_xy<double>;
using BgLine = bg::model::linestring<BgPoint>;
using BgPolygon = bg::model::polygon<BgPoint>;

BgLine LineOf(const std::vector<PointXY>& points) {
    BgLine line;
    line.reserve(points.size());
    for (const PointXY& p : points) {
        line.push_back({p.X, p.Y});
    }
    return line;
}

BgPolygon PolygonOf(const std::vector<PointXY>& points) {
    BgPolygon polygon;
    for (const PointXY& p : points) {
        polygon.outer().push_back({p.X, p.Y});
    }
    bg::correct(polygon);  // closes the ring and turns it the way Boost wants
    return polygon;
}

// The material of a placed wheel: inside an external wheel's outline, between an internal wheel's
// outline and a square 5 mm outside it, beyond the deepest any mate's tip goes in the tests
// (Boost's grid for intersections grows with the extent of the inputs, so the square is kept
// close).
BgPolygon MaterialOf(const BgLine& line, bool internal) {
    BgPolygon material;
    if (internal) {
        bg::model::box<BgPoint> box;
        bg::envelope(line, box);
        bg::buffer(box, box, 5.0);
        bg::convert(box, material);
        material.inners().emplace_back(line.begin(), line.end());
    } else {
        material.outer().assign(line.begin(), line.end());
    }
    bg::correct(material);
    return material;
}

using BgPolygons = bg::model::multi_polygon<BgPolygon>;

// The area of `shared` and how far its corners lie from the two outlines.
SharedMaterial Measured(const BgPolygons& shared, const BgLine& line1, const BgLine& line2) {
    SharedMaterial result;
    bg::for_each_point(shared, [&](const BgPoint& p) {
        result.depth =
            std::max(result.depth, std::max(bg::distance(p, line1), bg::distance(p, line2)));
    });
    result.area = bg::area(shared);
    return result;
}

}  // namespace

std::optional<std::string> OutlineFault(const std::vector<PointXY>& points) {
    bg::model::ring<BgPoint> ring;
    for (const PointXY& p : points) {
        if (ring.empty() || !(ring.back().x() == p.X && ring.back().y() == p.Y)) {
            ring.push_back({p.X, p.Y});
        }
    }
    bg::correct(ring);
    std::string reason;
    if (!bg::is_valid(ring, reason)) {
        return reason;
    }
    if (!bg::is_simple(ring)) {
        return "not simple";
    }
    return std::nullopt;
}

double LargestDistance(const std::vector<PointXY>& points, const std::vector<PointXY>& line) {
    const BgLine polyline = LineOf(line);
    double largest = 0;
    for (const PointXY& p : points) {
        largest = std::max(largest, bg::distance(BgPoint(p.X, p.Y), polyline));
    }
    return largest;
}

double PolylineDistance(const std::vector<PointXY>& a, const std::vector<PointXY>& b) {
    return bg::distance(LineOf(a), LineOf(b));
}

std::vector<PointXY> LargestPieceLeft(const std::vector<PointXY>& blank,
                                      const std::vector<PointXY>& tool) {
    bg::model::multi_polygon<BgPolygon> rest;
    bg::difference(PolygonOf(blank), PolygonOf(tool), rest);
    if (rest.empty()) {
        return blank;
    }
    const BgPolygon& largest =
        *std::max_element(rest.begin(), rest.end(),
                          [](const auto& a, const auto& b) { return bg::area(a) < bg::area(b); });
    std::vector<PointXY> left;
    left.reserve(largest.outer().size());
    for (const BgPoint& p : largest.outer()) {
        left.push_back({p.x(), p.y()});
    }
    return left;
}

SharedMaterial MaterialShared(const std::vector<PointXY>& outline1, bool internal1,
                              const std::vector<PointXY>& outline2, bool internal2) {
    const BgLine line1 = LineOf(outline1), line2 = LineOf(outline2);
    BgPolygons shared;
    bg::intersection(MaterialOf(line1, internal1), MaterialOf(line2, internal2), shared);
    return Measured(shared, line1, line2);
}

SharedMaterial MaterialSharedNear(const std::vector<PointXY>& outline1, bool internal1,
                                  const std::vector<PointXY>& outline2, bool internal2,
                                  double margin) {
    const BgLine line1 = LineOf(outline1), line2 = LineOf(outline2);
    const BgPolygon material1 = MaterialOf(line1, internal1),
                    material2 = MaterialOf(line2, internal2);
    BgPolygons shared;
    bg::intersection(material1, material2, shared);
    // A box about each piece, widened by the margin; boxes that meet are joined.
    std::vector<bg::model::box<BgPoint>> windows;
    for (const BgPolygon& piece : shared) {
        bg::model::box<BgPoint> box;
        bg::envelope(piece, box);
        bg::buffer(box, box, margin);
        windows.push_back(box);
    }
    for (bool joined = true; joined;) {
        joined = false;
        for (std::size_t i = 0; i < windows.size() && !joined; ++i) {
            for (std::size_t j = i + 1; j < windows.size() && !joined; ++j) {
                if (bg::intersects(windows[i], windows[j])) {
                    bg::expand(windows[i], windows[j]);
                    windows.erase(windows.begin() + static_cast<std::ptrdiff_t>(j));
                    joined = true;
                }
            }
        }
    }
    SharedMaterial result;
    for (const auto& window : windows) {
        BgPolygons part1, part2, near;
        bg::intersection(material1, window, part1);
        bg::intersection(material2, window, part2);
        bg::intersection(part1, part2, near);
        const SharedMaterial piece = Measured(near, line1, line2);
        result.area += piece.area;
        result.depth = std::max(result.depth, piece.depth);
    }
    return result;
}

}  // namespace tarvo::testing
