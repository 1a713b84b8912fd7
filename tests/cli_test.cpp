// tarvo-cli's arguments: strict numbers, ranges, the options each command takes, the custom
// rack rules, and the exit status for each outcome.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_args.h"
#include "cli/cli_run.h"
#include "test_files.h"

namespace tarvo {
namespace {

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    return words;
}

TEST(CliArgs, StrictNumbers) {
    struct Row {
        const char* text;
        bool ok;
        double value;
    };
    const Row rows[] = {
        {"2", true, 2},        {"2.5", true, 2.5},     {"2,5", true, 2.5},    {"-0.1", true, -0.1},
        {"+3", true, 3},       {"1e-3", true, 0.001},  {".5", true, 0.5},     {"5.", true, 5},
        {"", false, 0},        {"2x", false, 0},       {" 2", false, 0},      {"2 ", false, 0},
        {"1.2.3", false, 0},   {"1,2,3", false, 0},    {"e5", false, 0},      {"1e", false, 0},
        {"--1", false, 0},     {"1e999", false, 0},    {"nan", false, 0},     {"inf", false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        double value = 0;
        EXPECT_EQ(ParseStrictNumber(row.text, value), row.ok);
        if (row.ok) {
            EXPECT_EQ(value, row.value);
        }
    }
}

TEST(CliArgs, BadArgumentsNameTheOption) {
    const char* base = "pair --mesh external --module 2 --z1 20 --z2 40 -o x.dxf";
    struct Row {
        const char* name;
        std::string line;
        const char* mentions;
    };
    const Row rows[] = {
        {"no command", "", "command"},
        {"unknown command", "gear -o x", "gear"},
        {"module zero", "pair --mesh external --module 0 --z1 20 --z2 40 -o x", "--module"},
        {"module text", "pair --mesh external --module two --z1 20 --z2 40 -o x", "--module"},
        {"tooth count fraction", "pair --mesh external --module 2 --z1 20.5 --z2 40 -o x", "--z1"},
        {"tooth count zero", "pair --mesh external --module 2 --z1 20 --z2 0 -o x", "--z2"},
        {"tooth count beyond 32 bits", "pair --mesh internal --module 2 --z1 20 --z2 3000000000 -o x",
         "--z2"},
        {"mesh word", "pair --mesh outer --module 2 --z1 20 --z2 40 -o x", "--mesh"},
        {"missing output", "pair --mesh external --module 2 --z1 20 --z2 40", "-o"},
        {"missing teeth", "spline --standard gost --part hub --module 2 -o x", "--teeth"},
        {"involute points", std::string(base) + " --involute-points 101", "--involute-points"},
        {"fillet points", std::string(base) + " --fillet-points 2", "--fillet-points"},
        {"rack row", std::string(base) + " --rack 21", "--rack"},
        {"rack and custom", std::string(base) + " --rack 20 --rack-custom 20,1,1,0.25,0.38",
         "--rack"},
        {"custom rack with four values", std::string(base) + " --rack-custom 20,1,1,0.25",
         "--rack-custom"},
        {"option of the other command", std::string(base) + " --teeth 20", "--teeth"},
        {"given twice", std::string(base) + " --x1 0.1 --x1 0.2", "--x1"},
        {"value missing", std::string(base) + " --x1", "--x1"},
        {"OST spline shifted",
         "spline --standard ost --part shaft --module 2 --teeth 20 --shift 0.2 -o x", "--shift"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(CliMain(Split(row.line), out, err), kCliBadUsage);
        EXPECT_NE(err.str().find(row.mentions), std::string::npos) << err.str();
    }
}

TEST(CliArgs, ValuesReachTheRequest) {
    const CliParse p = ParseCliArgs(
        Split("pair --mesh=internal --module 2,5 --z1 24 --z2 71 --helix 12.5 --x1 0.2 --x2 -0.4 "
              "--backlash 0.05 --rack 28-0.9 --involute-points 40 --fillet-points 20 --output f"));
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.request.internal);
    EXPECT_EQ(p.request.module, 2.5);
    EXPECT_EQ(p.request.z1, 24);
    EXPECT_EQ(p.request.z2, 71);
    EXPECT_EQ(p.request.helix, 12.5);
    EXPECT_EQ(p.request.x2, -0.4);
    EXPECT_EQ(p.request.backlash, 0.05);
    EXPECT_EQ(p.request.row->rack.alfa, 28);
    EXPECT_EQ(p.request.row->rack.h, 0.9);
    EXPECT_EQ(p.request.involutePoints, 40);
    EXPECT_EQ(p.request.filletPoints, 20);
    EXPECT_EQ(p.request.output, "f");

    const CliParse s = ParseCliArgs(
        Split("spline --standard ost --part hub --module 1 --teeth 18 -o g"));
    ASSERT_TRUE(s.ok) << s.error;
    EXPECT_EQ(s.request.standard, SplineStandard::Ost100086);
    EXPECT_TRUE(s.request.hub);
    EXPECT_EQ(s.request.involutePoints, 6);  // defaults
    EXPECT_EQ(s.request.filletPoints, 3);
}

TEST(CliRun, ExitStatusAndMessages) {
    testing::TempFolder folder;
    const std::string file = folder.File("p.dxf");
    struct Row {
        const char* name;
        std::string line;
        int status;
        const char* stream;  // "out" or "err"
        const char* mentions;
    };
    const Row rows[] = {
        {"written", "pair --mesh external --module 2 --z1 20 --z2 40 -o " + file, kCliWritten,
         "out", "p.dxf"},
        {"geometry refused", "pair --mesh external --module 2 --z1 8 --z2 30 --x1 1 -o " + file,
         kCliNotDrawn, "err", "заострён"},
        {"equal internal counts", "pair --mesh internal --module 2 --z1 30 --z2 30 -o " + file,
         kCliNotDrawn, "err", "не могут быть равны"},
        {"missing folder", "pair --mesh external --module 2 --z1 20 --z2 40 -o " +
                               folder.File("none/p.dxf"),
         kCliNotDrawn, "err", "none/p.dxf"},
        {"zero custom ha*",
         "pair --mesh external --module 2 --z1 20 --z2 40 --rack-custom 20,0,1,0.25,0.38 -o " +
             file,
         kCliBadUsage, "err", "Параметр: 'Коэффициент высоты головки' не может быть нулевым!"},
        {"custom rf* reduced to its limit",
         "pair --mesh external --module 2 --z1 20 --z2 40 --rack-custom 20,1,1,0.25,0.5 -o " +
             file,
         kCliWritten, "err", "уменьшен до величины 0.4485"},
        {"help", "--help", kCliWritten, "out", "--rack-custom"},
        {"version", "--version", kCliWritten, "out", "3.0.4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(CliMain(Split(row.line), out, err), row.status);
        const std::string text = std::string(row.stream) == "out" ? out.str() : err.str();
        EXPECT_NE(text.find(row.mentions), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace tarvo
