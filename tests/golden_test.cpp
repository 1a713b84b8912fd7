// The worked drawings byte for byte against the golden files, made the way tarvo-cli makes
// them; a mismatch leaves <name>.out.dxf in golden-out/ of the build folder for a person to diff.
#include <gtest/gtest.h>

#include <filesystem>

#include "test_files.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;

TEST(Golden, DrawingsMatchByteForByte) {
    struct Row {
        const char* file;
        std::string line;
    };
    const std::string ext = "pair --mesh external --module ", in = "pair --mesh internal --module ",
                      spline = "spline --standard ";
    const Row rows[] = {
        {"external_m2_z20x40.dxf", ext + "2 --z1 20 --z2 40"},
        {"external_m2_z20x40_x0.5_0.3.dxf", ext + "2 --z1 20 --z2 40 --x1 0.5 --x2 0.3"},
        {"external_m3_z17x53_helix15_rack25.dxf",
         ext + "3 --z1 17 --z2 53 --helix 15 --x1 0.3 --x2 -0.1 --backlash 0.1 --rack 25 "
               "--involute-points 12 --fillet-points 6"},
        {"internal_m2_z20x40.dxf", in + "2 --z1 20 --z2 40"},
        {"internal_m2_z40x20_x0.5_0.2.dxf", in + "2 --z1 40 --z2 20 --x1 0.5 --x2 0.2"},
        {"internal_m2_z20x60.dxf", in + "2 --z1 20 --z2 60"},
        {"spline_gost_shaft_m2_z20.dxf", spline + "gost --part shaft --module 2 --teeth 20"},
        {"spline_gost_hub_m2_z20_shift0.3.dxf",
         spline + "gost --part hub --module 2 --teeth 20 --shift 0.3"},
        {"spline_ost_shaft_m1_z18.dxf",
         spline + "ost --part shaft --module 1 --teeth 18 --involute-points 40 --fillet-points 20"},
        {"spline_ost_hub_m1_z30_6_33.dxf",
         spline + "ost --part hub --module 1 --teeth 30 --involute-points 6 --fillet-points 33"},
    };
    const fs::path outDir = fs::path(TARVO_BUILD_DIR) / "golden-out";
    fs::create_directories(outDir);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        const fs::path out = outDir / (fs::path(row.file).stem().string() + ".out.dxf");
        ASSERT_EQ(testing::DrawWithCli(row.line, out.string()), "");
        const std::string golden = testing::ReadFile(TARVO_GOLDEN_DIR "/" + std::string(row.file));
        ASSERT_FALSE(golden.empty());
        if (testing::ReadFile(out.string()) == golden) {
            fs::remove(out);
        } else {
            ADD_FAILURE() << "differs from the golden drawing; see " << out;
        }
    }
}

}  // namespace
}  // namespace tarvo
