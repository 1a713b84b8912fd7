// tarvo-cli's --report switch: how it is read. What it prints is checked end to end, with every
// drawing read back by ezdxf, in cli_report_readback.py.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "cli/cli_args.h"
#include "cli/cli_run.h"

namespace tarvo {
namespace {

std::vector<std::string> Args(std::initializer_list<const char*> extra) {
    std::vector<std::string> args{"pair", "--mesh", "external", "--module", "2", "--z1", "20",
                                  "--z2", "40", "-o", "out.dxf"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

TEST(CliReport, Switch) {
    struct Row {
        const char* name;
        std::vector<std::string> args;
        bool ok;
        CliReport report;
        const char* error;
    };
    const Row rows[] = {
        {"absent", Args({}), true, CliReport::None, ""},
        {"plain", Args({"--report"}), true, CliReport::Text, ""},
        {"text", Args({"--report=text"}), true, CliReport::Text, ""},
        {"json", Args({"--report=json"}), true, CliReport::Json, ""},
        {"takes no separate value", Args({"--report", "json"}), false, CliReport::None,
         "unknown option 'json' for pair; see --help"},
        {"unknown form", Args({"--report=xml"}), false, CliReport::None,
         "--report: must be --report, --report=text or --report=json"},
        {"twice", Args({"--report", "--report=json"}), false, CliReport::None,
         "--report: given twice"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CliParse parse = ParseCliArgs(row.args);
        EXPECT_EQ(parse.ok, row.ok);
        EXPECT_EQ(parse.error, row.error);
        if (row.ok) {
            EXPECT_EQ(parse.request.report, row.report);
        }
    }
    // Before the options it belongs to a spline as well.
    const CliParse spline = ParseCliArgs({"spline", "--report=json", "--standard", "gost",
                                          "--part", "hub", "--module", "1", "--teeth", "30",
                                          "-o", "s.dxf"});
    ASSERT_TRUE(spline.ok) << spline.error;
    EXPECT_EQ(spline.request.report, CliReport::Json);
}

TEST(CliReport, UsageNamesIt) {
    std::ostringstream out, err;
    EXPECT_EQ(CliMain({"--help"}, out, err), kCliWritten);
    EXPECT_NE(out.str().find("--report[=json]"), std::string::npos);
}

// --roller chooses the measuring rollers the sheet states; without it the sheet picks a gauge.
TEST(CliReport, RollerDiameterReachesTheSheet) {
    const std::string path = ::testing::TempDir() + "tarvo-roller.dxf";
    struct Row {
        const char* name;
        std::vector<std::string> extra;
        bool stated;  // "D = 3.7" in the sheet
    };
    const Row rows[] = {
        {"chosen", {"--roller", "3.7"}, true},
        {"default", {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> args{"pair",  "--mesh", "external", "--module", "2", "--z1",
                                      "20",    "--z2",   "40",       "-o",       path, "--report"};
        args.insert(args.end(), row.extra.begin(), row.extra.end());
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(CliMain(args, out, err), 0) << err.str();
        EXPECT_EQ(out.str().find("D = 3.7") != std::string::npos, row.stated) << out.str();
    }
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(CliMain({"pair", "--mesh", "external", "--module", "2", "--z1", "20", "--z2", "40",
                       "-o", path, "--roller", "0"},
                      out, err),
              kCliBadUsage);
    std::remove(path.c_str());
}

}  // namespace
}  // namespace tarvo
