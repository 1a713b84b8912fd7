// Every outline drawn must be a simple closed polygon, or CAD makes no face of it: a seeded sweep
// over every kind of drawing, at point counts or for a chord tolerance, writes, reads back and
// asks Boost.Geometry.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <sstream>

#include "app/basic_rack.h"
#include "drawing/dxf_reader.h"
#include "polygon_checks.h"
#include "report/read_text.h"
#include "test_files.h"

namespace tarvo {
namespace {

using testing::OutlineFault;

// One random drawing request, as a tarvo-cli line without the output: with random point counts, or
// for a random chord tolerance.
std::string RandomCase(std::mt19937& random, bool tolerance) {
    auto uniform = [&random](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    auto whole = [&random](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    const double modules[] = {0.5, 1, 1.25, 2, 3, 5, 8};
    const double module = modules[whole(0, 6)];
    const int kind = whole(0, 3);
    std::ostringstream line;
    line.precision(4);
    if (kind <= 1) {
        const int z1 = whole(8, 60), drawn = whole(8, 90);
        const int z2 = kind == 1 && drawn < z1 + 6 ? z1 + whole(6, 40) : drawn;
        line << "pair --mesh " << (kind == 1 ? "internal" : "external") << " --module " << module
             << " --z1 " << z1 << " --z2 " << z2 << " --x1 " << uniform(-0.3, 0.8) << " --x2 "
             << uniform(-0.3, 0.8) << " --helix " << (whole(0, 1) == 1 ? uniform(0, 35) : 0.0)
             << " --backlash " << (whole(0, 1) == 1 ? uniform(0, 0.2) : 0.0);
        if (whole(0, 4) == 0) {
            const double alpha = uniform(15, 30), ha = uniform(0.8, 1.2);
            line << " --rack-custom " << alpha << ',' << ha << ',' << ha * uniform(1, 1.25) << ','
                 << uniform(0.1, 0.4) << ',' << uniform(0.1, 0.4);
        } else {
            line << " --rack " << kRackRows[whole(0, 5)].key;
        }
    } else {
        line << "spline --standard " << (kind == 2 ? "gost" : "ost") << " --part "
             << (whole(0, 1) == 1 ? "hub" : "shaft") << " --module " << module << " --teeth "
             << whole(8, 60);
        if (kind == 2 && whole(0, 1) == 1) {
            line << " --shift " << uniform(-0.3, 0.6);
        }
    }
    if (tolerance) {
        line << " --tolerance "
             << std::array<const char*, 3>{"0.01", "0.001", "0.0002"}[whole(0, 2)];
    } else {
        line << " --involute-points " << whole(3, 100) << " --fillet-points " << whole(3, 50);
    }
    return line.str();
}

// Draws `line` and checks every outline; returns how many, or -1 when the data are refused.
int DrawnOutlinesAreSimple(const std::string& line, const std::string& path) {
    if (!testing::DrawWithCli(line, path).empty()) {
        return -1;
    }
    const DxfReadResult read = ReadDxfFile(path);
    if (!read.ok()) {
        ADD_FAILURE() << line << ": " << DescribeDxfRead(read.fault());
        return 0;
    }
    for (std::size_t k = 0; k < read->polylines.size(); ++k) {
        EXPECT_EQ(OutlineFault(read->polylines[k].points), std::nullopt)
            << line << ", outline " << k + 1;
    }
    return static_cast<int>(read->polylines.size());
}

// The second sweep draws rack-cut roots, undercut ones included (8 teeth, shifts to -0.3). Then a
// ring whose fillet curls back towards the centre, which crossed itself before internal fillets
// ended on the space's centre line (the worked internal drawings are pinned by the golden ones).
TEST(OutlineValidity, SeededSweepOfEveryKindIsSimple) {
    struct Row {
        const char* name;
        unsigned seed;
        const char* extra;
        bool tolerance;
        int cases;
    };
    const Row rows[] = {{"design roots", 20261206, "", false, 320},
                        {"rack-cut roots", 20261207, " --fillet cut", false, 320},
                        {"for a tolerance, design roots", 20261208, "", true, 45},
                        {"for a tolerance, rack-cut roots", 20261209, " --fillet cut", true, 45}};
    testing::TempFolder folder;
    const std::string path = folder.File("case.dxf");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::mt19937 random(row.seed);
        int written = 0, outlines = 0;
        for (int i = 0; i < row.cases; ++i) {
            const int drawn =
                DrawnOutlinesAreSimple(RandomCase(random, row.tolerance) + row.extra, path);
            written += drawn >= 0 ? 1 : 0;
            outlines += std::max(drawn, 0);
        }
        // Most random data make a drawing; the sweep is only worth its name if they do.
        EXPECT_GE(written, row.cases * 5 / 8);
        EXPECT_GE(outlines, row.cases * 15 / 16);
    }
    EXPECT_EQ(DrawnOutlinesAreSimple("pair --mesh internal --module 4 --z1 29 --z2 58 --x1 0.273 "
                                     "--x2 0.614 --helix 30 --backlash 0.1 --rack 22.5 "
                                     "--involute-points 38 --fillet-points 41",
                                     path),
              2);
}

}  // namespace
}  // namespace tarvo
