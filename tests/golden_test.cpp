// The worked drawings byte for byte against the golden files, made the way tarvo-cli makes
// them; a mismatch leaves <name>.out.dxf in golden-out/ of the build folder for a person to diff.
#include <gtest/gtest.h>

#include <filesystem>

#include "test_files.h"

namespace tarvo {
namespace {

struct GoldenCase {
    const char* file;
    std::vector<std::string> args;
};

const GoldenCase kCases[] = {
    {"external_m2_z20x40.dxf",
     {"pair", "--mesh", "external", "--module", "2", "--z1", "20", "--z2", "40"}},
    {"external_m2_z20x40_x0.5_0.3.dxf",
     {"pair", "--mesh", "external", "--module", "2", "--z1", "20", "--z2", "40", "--x1", "0.5",
      "--x2", "0.3"}},
    {"external_m3_z17x53_helix15_rack25.dxf",
     {"pair", "--mesh", "external", "--module", "3", "--z1", "17", "--z2", "53", "--helix", "15",
      "--x1", "0.3", "--x2", "-0.1", "--backlash", "0.1", "--rack", "25", "--involute-points",
      "12", "--fillet-points", "6"}},
    {"internal_m2_z20x40.dxf",
     {"pair", "--mesh", "internal", "--module", "2", "--z1", "20", "--z2", "40"}},
    {"internal_m2_z40x20_x0.5_0.2.dxf",
     {"pair", "--mesh", "internal", "--module", "2", "--z1", "40", "--z2", "20", "--x1", "0.5",
      "--x2", "0.2"}},
    {"internal_m2_z20x60.dxf",
     {"pair", "--mesh", "internal", "--module", "2", "--z1", "20", "--z2", "60"}},
    {"spline_gost_shaft_m2_z20.dxf",
     {"spline", "--standard", "gost", "--part", "shaft", "--module", "2", "--teeth", "20"}},
    {"spline_gost_hub_m2_z20_shift0.3.dxf",
     {"spline", "--standard", "gost", "--part", "hub", "--module", "2", "--teeth", "20",
      "--shift", "0.3"}},
    {"spline_ost_shaft_m1_z18.dxf",
     {"spline", "--standard", "ost", "--part", "shaft", "--module", "1", "--teeth", "18",
      "--involute-points", "40", "--fillet-points", "20"}},
    {"spline_ost_hub_m1_z30_6_33.dxf",
     {"spline", "--standard", "ost", "--part", "hub", "--module", "1", "--teeth", "30",
      "--involute-points", "6", "--fillet-points", "33"}},
};

TEST(Golden, DrawingsMatchByteForByte) {
    const std::filesystem::path outDir = std::filesystem::path(TARVO_BUILD_DIR) / "golden-out";
    std::filesystem::create_directories(outDir);
    for (const GoldenCase& c : kCases) {
        SCOPED_TRACE(c.file);
        const std::string out = (outDir / (std::string(c.file) + ".new")).string();
        ASSERT_EQ(testing::DrawWithCli(c.args, out), "");
        const std::string golden =
            testing::ReadFile((std::filesystem::path(TARVO_GOLDEN_DIR) / c.file).string());
        ASSERT_FALSE(golden.empty());
        const std::filesystem::path kept =
            outDir / (std::filesystem::path(c.file).stem().string() + ".out.dxf");
        if (testing::ReadFile(out) == golden) {
            std::filesystem::remove(out);
            std::filesystem::remove(kept);
        } else {
            std::filesystem::rename(out, kept);
            ADD_FAILURE() << "differs from the golden drawing; see " << kept;
        }
    }
}

}  // namespace
}  // namespace tarvo
