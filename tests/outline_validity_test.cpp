// Every outline a drawing holds must be a simple closed polygon, or a CAD program refuses to
// make a face of it. A seeded sweep over every kind of drawing writes each file, reads it back
// and asks Boost.Geometry whether each outline is valid and simple.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <sstream>

#include "report/boost_geometry.h"

#include "app/basic_rack.h"
#include "drawing/dxf_reader.h"
#include "report/read_text.h"
#include "test_files.h"

namespace tarvo {
namespace {

namespace bg = boost::geometry;
using BgPoint = bg::model::d2::point_xy<double>;
using BgRing = bg::model::ring<BgPoint>;

// Empty when the outline is a simple closed polygon, otherwise Boost.Geometry's reason, which
// names the first crossing it found. Consecutive repeated points (an internal fillet ended on
// its space's centre line repeats its last point) are dropped first: CAD readers skip them.
std::string OutlineFault(const std::vector<PointXY>& points) {
    BgRing ring;
    for (const PointXY& p : points) {
        if (ring.empty() || !(ring.back().x() == p.X && ring.back().y() == p.Y)) {
            ring.push_back({p.X, p.Y});
        }
    }
    bg::correct(ring);  // our outlines run either way round; Boost wants one orientation
    std::string reason;
    if (!bg::is_valid(ring, reason)) {
        return reason;
    }
    if (!bg::is_simple(ring)) {
        return "not simple";
    }
    return {};
}

std::string Number(double value) {
    std::ostringstream text;
    text.precision(4);
    text << value;
    return text.str();
}

// One random drawing request, as tarvo-cli arguments without the output.
std::vector<std::string> RandomCase(std::mt19937& random) {
    auto uniform = [&random](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    auto whole = [&random](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    const double modules[] = {0.5, 1, 1.25, 2, 3, 5, 8};
    const std::string module = Number(modules[whole(0, 6)]);
    std::vector<std::string> args;
    const int kind = whole(0, 3);
    if (kind <= 1) {
        const bool internal = kind == 1;
        int z1 = whole(8, 60);
        int z2 = whole(8, 90);
        if (internal && z2 < z1 + 6) {
            z2 = z1 + whole(6, 40);
        }
        args = {"pair", "--mesh", internal ? "internal" : "external", "--module", module,
                "--z1", std::to_string(z1), "--z2", std::to_string(z2),
                "--x1", Number(uniform(-0.3, 0.8)), "--x2", Number(uniform(-0.3, 0.8))};
        if (whole(0, 1) == 1) {
            args.insert(args.end(), {"--helix", Number(uniform(0, 35))});
        }
        if (whole(0, 1) == 1) {
            args.insert(args.end(), {"--backlash", Number(uniform(0, 0.2))});
        }
        if (whole(0, 4) == 0) {
            const double alpha = uniform(15, 30);
            const double ha = uniform(0.8, 1.2);
            args.insert(args.end(),
                        {"--rack-custom", Number(alpha) + "," + Number(ha) + "," +
                                              Number(ha * uniform(1, 1.25)) + "," +
                                              Number(uniform(0.1, 0.4)) + "," +
                                              Number(uniform(0.1, 0.4))});
        } else {
            args.insert(args.end(), {"--rack", kRackRows[whole(0, 5)].key});
        }
    } else {
        const bool gost = kind == 2;
        args = {"spline", "--standard", gost ? "gost" : "ost", "--part",
                whole(0, 1) == 1 ? "hub" : "shaft", "--module", module,
                "--teeth", std::to_string(whole(8, 60))};
        if (gost && whole(0, 1) == 1) {
            args.insert(args.end(), {"--shift", Number(uniform(-0.3, 0.6) * modules[1])});
        }
    }
    args.insert(args.end(), {"--involute-points", std::to_string(whole(3, 100)),
                             "--fillet-points", std::to_string(whole(3, 50))});
    return args;
}

std::string Joined(const std::vector<std::string>& args) {
    std::string text = "tarvo-cli";
    for (const std::string& a : args) {
        text += " " + a;
    }
    return text;
}

// Draws `args` and checks every outline of the drawing; returns how many there were, or -1 when
// the data were refused.
int DrawnOutlinesAreSimple(const std::vector<std::string>& args, const std::string& path) {
    if (!testing::DrawWithCli(args, path).empty()) {
        return -1;  // data for which no drawing exists are refused with a reason
    }
    const DxfReadResult read = ReadDxfFile(path);
    if (!read.ok()) {
        ADD_FAILURE() << Joined(args) << ": " << DescribeDxfRead(read.fault());
        return 0;
    }
    const std::vector<DxfPolyline>& polylines = read->polylines;
    for (std::size_t k = 0; k < polylines.size(); ++k) {
        EXPECT_EQ(OutlineFault(polylines[k].points), "") << Joined(args) << ", outline " << k + 1;
    }
    return static_cast<int>(polylines.size());
}

// The second sweep draws the roots the cutting rack leaves, undercut ones included (random tooth
// counts go down to 8 and shifts to -0.3).
TEST(OutlineValidity, SeededSweepOfEveryKindIsSimple) {
    struct Row {
        const char* name;
        std::uint32_t seed;
        std::vector<std::string> extra;
    };
    const Row rows[] = {
        {"design roots", 20261206, {}},
        {"rack-cut roots", 20261207, {"--fillet", "cut"}},
    };
    testing::TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::mt19937 random(row.seed);
        int written = 0;
        int outlines = 0;
        for (int i = 0; i < 320; ++i) {
            std::vector<std::string> args = RandomCase(random);
            args.insert(args.end(), row.extra.begin(), row.extra.end());
            const int drawn = DrawnOutlinesAreSimple(args, folder.File("case.dxf"));
            written += drawn >= 0 ? 1 : 0;
            outlines += std::max(drawn, 0);
        }
        // Most random data make a drawing; the sweep is only worth its name if they do.
        EXPECT_GE(written, 200);
        EXPECT_GE(outlines, 300);
    }
}

// A ring whose fillet curls back towards the centre crossed itself before internal fillets were
// ended on the space's centre line (the worked internal drawings, which crossed as well, are
// pinned by the golden drawings).
TEST(OutlineValidity, CurlingInternalFilletEndsWhereItTurned) {
    testing::TempFolder folder;
    EXPECT_EQ(DrawnOutlinesAreSimple(
        {"pair", "--mesh", "internal", "--module", "4", "--z1", "29", "--z2", "58", "--x1",
         "0.273", "--x2", "0.614", "--helix", "30", "--backlash", "0.1", "--rack", "22.5",
         "--involute-points", "38", "--fillet-points", "41"},
        folder.File("case.dxf")),
              2);
}

}  // namespace
}  // namespace tarvo
