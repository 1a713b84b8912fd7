// The nearest segment of a few runs of outline to a point: the same distance, to the bit, as
// measuring every segment, and as Boost's own tree of segments finds it, for runs that wind
// about each other, touch, lie far from the origin, or have no segment at all.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "report/segment_index.h"

namespace tarvo {
namespace {

namespace bg = boost::geometry;
using Segment = bg::model::segment<IndexPoint>;

// Every segment measured: the least of Boost's distances.
double EverySegment(const IndexLines& lines, const IndexPoint& p) {
    double least = HUGE_VAL;
    for (const auto& line : lines) {
        for (std::size_t i = 0; i + 1 < line.size(); ++i) {
            least = std::min(least, bg::distance(p, Segment(line[i], line[i + 1])));
        }
    }
    return least;
}

// The nearest segment as Boost's tree of segments finds it.
double ByTree(const IndexLines& lines, const IndexPoint& p) {
    std::vector<Segment> segments;
    for (const auto& line : lines) {
        for (std::size_t i = 0; i + 1 < line.size(); ++i) {
            segments.emplace_back(line[i], line[i + 1]);
        }
    }
    const bg::index::rtree<Segment, bg::index::quadratic<16>> tree(segments.begin(),
                                                                   segments.end());
    double least = HUGE_VAL;
    for (auto it = tree.qbegin(bg::index::nearest(p, 1)); it != tree.qend(); ++it) {
        least = std::min(least, bg::distance(p, *it));
    }
    return least;
}

// `count` runs of wavy outline side by side, `gap` apart across them, each of `points` points,
// about `origin`: runs of neighbouring teeth, and with a gap of 0 runs that meet.
IndexLines Runs(int count, int points, double gap, double origin, std::mt19937& random) {
    std::uniform_real_distribution<double> wobble(-0.05, 0.05);
    IndexLines lines;
    lines.resize(static_cast<std::size_t>(count));
    for (int l = 0; l < count; ++l) {
        for (int i = 0; i < points; ++i) {
            const double t = i / static_cast<double>(points - 1);
            const double x = origin + 10 * t + wobble(random);
            const double y = origin + l * gap + 0.5 * std::sin(6 * t + l) + wobble(random);
            lines[static_cast<std::size_t>(l)].push_back({l % 2 == 0 ? x : 2 * origin + 10 - x, y});
        }
    }
    return lines;
}

TEST(SegmentIndex, FindsTheNearestSegmentOfEveryRun) {
    struct Row {
        const char* name;
        int runs, points;
        double gap, origin;
    };
    const Row rows[] = {
        {"one run of three segments", 1, 4, 0, 0},
        {"three runs, one of them short of a box", 3, 12, 0.4, 0},
        {"five runs winding through each other", 5, 150, 0.2, 0},
        {"runs that touch and cross", 4, 90, 0, 0},
        {"far from the origin", 4, 90, 0.3, 2e6},
    };
    std::mt19937 random(7);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const IndexLines lines = Runs(row.runs, row.points, row.gap, row.origin, random);
        const SegmentIndex index(lines);
        const double slack = 1e-9 * (std::fabs(row.origin) + 10);
        std::uniform_real_distribution<double> across(row.origin - 2, row.origin + 12);
        std::vector<IndexPoint> points;
        for (int k = 0; k < 300; ++k) {
            points.push_back({across(random), across(random)});
        }
        // Points of the runs themselves: the corners of a shared area lie on an outline.
        for (const auto& line : lines) {
            for (std::size_t i = 0; i < line.size(); i += 7) {
                points.push_back(line[i]);
            }
        }
        for (const IndexPoint& p : points) {
            const double found = index.Distance(p, slack);
            ASSERT_EQ(found, EverySegment(lines, p)) << p.x() << " " << p.y();
            ASSERT_EQ(found, ByTree(lines, p)) << p.x() << " " << p.y();
        }
    }
}

TEST(SegmentIndex, RunsWithoutASegmentAreNotFound) {
    IndexLines lines;
    lines.resize(2);
    lines[1].push_back({1, 1});  // a single point: no segment
    const SegmentIndex index(lines);
    EXPECT_EQ(index.Distance({0, 0}, 1e-9), HUGE_VAL);
    lines[0] = {{3, 0}, {3, 4}};
    const SegmentIndex withOne(lines);
    EXPECT_EQ(withOne.Distance({0, 0}, 1e-9), 3);
}

}  // namespace
}  // namespace tarvo
