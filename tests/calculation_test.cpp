// Stored calculations: the JSON reader's refusals, tarvo-cli --from and a stored --report=json
// drawing the very bytes of the direct command (whose numbers are rounded), -o - writing them to
// standard output.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "app/calculation.h"
#include "cli/cli_calculation.h"
#include "test_files.h"

namespace tarvo {
namespace {

using testing::CliRun;
using testing::RunCli;

const char* const kCommands[] = {
    "pair --mesh external --module 3 --z1 17 --z2 53 --helix 12.5 --x1 0.3 --x2 -0.1 "
    "--backlash 0.1 --rack 25 --involute-points 12 --fillet-points 6",
    "pair --mesh internal --module 2.5 --z1 60 --z2 20 --x1 0.5 --x2 0.2 --fillet cut",
    // A negative helix angle is a left hand: the stored input must not contradict itself.
    "pair --mesh external --module 2 --z1 21 --z2 40 --helix -15",
    "pair --mesh external --module 3 --z1 17 --z2 30 --rack-custom 22.5,1.1,1.35,0.3,",
    "pair --mesh external --module 0.1 --z1 13 --z2 14 --x1 0.1234567890123456789",
    "pair --mesh external --module 2 --z1 21 --z2 34 --helix 15 --hand left --accuracy 7-C "
    "--tolerance 0.002",
    "pair --mesh internal --module 2 --z1 50 --z2 19 --helix -10 --accuracy 8-B",
    "spline --standard gost --part hub --module 1.25 --teeth 20 --shift 0.3",
    "spline --standard ost --part shaft --module 1 --teeth 18 --involute-points 40",
};

// Every number of a JSON report stops at a billionth: no float noise left in the digits.
void ExpectRoundedToABillionth(const std::string& report) {
    const std::string sheet = report.substr(report.find("\"kind\""));
    for (std::size_t at = sheet.find_first_of("-0123456789"); at != std::string::npos;
         at = sheet.find_first_of("-0123456789", at)) {
        const std::size_t end = sheet.find_first_not_of("-+.0123456789E", at);
        const std::string number = sheet.substr(at, end - at);
        at = end;
        if (!IsJsonNumber(number) || number.find('E') != std::string::npos)
            continue;
        const double v = std::stod(number);
        if (std::fabs(v) < 1e6) {
            EXPECT_EQ(std::round(v * 1e9) / 1e9, v) << number;
        }
    }
}

TEST(Calculation, FromAndAStoredReportDrawTheDirectCommandsBytes) {
    testing::TempFolder folder;
    for (const char* command : kCommands) {
        SCOPED_TRACE(command);
        const std::string direct = folder.File("direct.dxf");
        const CliRun report = RunCli(std::string(command) + " -o " + direct + " --report=json");
        ASSERT_EQ(report.status, 0) << report.err;
        const std::string bytes = testing::ReadFile(direct);
        ASSERT_GT(bytes.size(), 1000u);
        ExpectRoundedToABillionth(report.out);

        // The report re-runs as it stands.
        testing::WriteFile(folder.File("report.json"), report.out);
        CliRun again =
            RunCli({"--from", folder.File("report.json"), "-o", folder.File("again.dxf")});
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(testing::ReadFile(folder.File("again.dxf")), bytes);

        // Its input object as a calculation file draws them too, and reads back to itself.
        const CalculationRead input = ReadCalculation(report.out);
        ASSERT_TRUE(input.ok()) << input.fault();
        const std::string file = CalculationFileJson(input.value());
        const CalculationRead reread = ReadCalculation(file);
        ASSERT_TRUE(reread.ok());
        EXPECT_EQ(CalculationObjectJson(reread.value()), CalculationObjectJson(input.value()));
        testing::WriteFile(folder.File("a.tarvo.json"), file);
        again = RunCli({"--from", folder.File("a.tarvo.json"), "-o", folder.File("from.dxf")});
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(testing::ReadFile(folder.File("from.dxf")), bytes);

        // "-o -": the same bytes on standard output, nothing else there.
        const CliRun piped = RunCli(std::string(command) + " -o -");
        ASSERT_EQ(piped.status, 0) << piped.err;
        EXPECT_TRUE(piped.out == bytes) << "standard output differs from the file";
    }
}

TEST(Calculation, ReportEchoesEveryInputWithDefaults) {
    testing::TempFolder folder;
    const CliRun run = RunCli("pair --mesh external --module 2 --z1 20 --z2 40 -o " +
                              folder.File("p.dxf") + " --report=json");
    ASSERT_EQ(run.status, 0);
    const CalculationRead input = ReadCalculation(run.out);
    ASSERT_TRUE(input.ok()) << input.fault();
    EXPECT_EQ(CalculationObjectJson(input.value()),
              "{\"command\": \"pair\", \"mesh\": \"external\", \"module\": 2, \"z1\": 20, "
              "\"z2\": 40, \"helix\": 0, \"x1\": 0, \"x2\": 0, \"hand\": \"right\", \"backlash\": "
              "0, \"rack\": \"20\", "
              "\"involute-points\": 6, \"fillet-points\": 3, \"fillet\": \"equivalent\"}");
}

// A calculation stored while the default root was called "design" still draws it: the same
// bytes as "equivalent", and the report of it stores the new word.
TEST(Calculation, FormerFilletWordStillDraws) {
    testing::TempFolder folder;
    std::string drawings[2];
    for (const int k : {0, 1}) {
        const std::string word = k == 0 ? "equivalent" : "design";
        SCOPED_TRACE(word);
        // File names without the words, so the report's path cannot hold them.
        const std::string file = folder.File(std::to_string(k) + ".tarvo.json");
        testing::WriteFile(file,
                           "{\"input\": {\"command\": \"pair\", \"mesh\": \"external\", "
                           "\"module\": 2, \"z1\": 20, \"z2\": 40, \"fillet\": \"" +
                               word + "\"}}");
        const CliRun run =
            RunCli({"--from", file, "-o", folder.File("drawn.dxf"), "--report=json"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("\"fillet\": \"equivalent\""), std::string::npos);
        EXPECT_EQ(run.out.find("\"design\""), std::string::npos);
        drawings[k] = testing::ReadFile(folder.File("drawn.dxf"));
    }
    EXPECT_GT(drawings[0].size(), 1000u);
    EXPECT_EQ(drawings[1], drawings[0]);
}

TEST(Calculation, BadFilesAreNamedNotDrawn) {
    struct Row {
        const char* name;
        std::string text;
        std::string says;
    };
    const Row rows[] = {
        {"empty", "", "не является JSON-объектом"},
        {"an array", "[1, 2]", "не является JSON-объектом"},
        {"unterminated string", "{\"input\": {\"command\": \"pair", "строка не закрыта"},
        {"trailing text", "{\"input\": {}} x", "лишний текст"},
        {"input not an object", "{\"input\": 3}", "«input» должен быть объектом"},
        {"nested value", "{\"input\": {\"command\": \"pair\", \"z1\": [20]}}",
         "«z1» должно быть числом, строкой или true/false"},
        {"key twice", "{\"input\": {\"z1\": 1, \"z1\": 2}}", "«z1» задан дважды"},
        {"null value", "{\"input\": {\"command\": null}}", "«command» должно быть"},
        {"deep nesting", std::string(200, '[') + std::string(200, ']'),
         "не является JSON-объектом"},
        {"deep nesting inside", "{\"a\": " + std::string(100, '[') + std::string(100, ']') + "}",
         "слишком глубокая вложенность"},
        {"version 2", "{\"version\": 2, \"input\": {}}", "версия расчёта 2 не поддерживается"},
        {"no command", "{\"input\": {\"module\": 2}}", "«command»"},
        {"unknown key", "{\"input\": {\"command\": \"spline\", \"z1\": 20}}",
         "неизвестный параметр «z1» для команды spline"},
        {"bad value", "{\"input\": {\"command\": \"pair\", \"mesh\": \"sideways\"}}",
         "параметр «mesh»: must be external or internal"},
        {"missing module", "{\"input\": {\"command\": \"pair\", \"z1\": 20, \"z2\": 40}}",
         "missing"},
    };
    testing::TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testing::WriteFile(folder.File("bad.json"), row.text);
        const CliRun run = RunCli({"--from", folder.File("bad.json"), "-o", folder.File("x.dxf")});
        EXPECT_EQ(run.status, kCliBadUsage);
        EXPECT_NE(run.err.find(row.says), std::string::npos) << run.err;
        EXPECT_TRUE(testing::ReadFile(folder.File("x.dxf")).empty());
    }
    const CliRun missing = RunCli({"--from", folder.File("none.json"), "-o", folder.File("x.dxf")});
    EXPECT_NE(missing.err.find("файл не открывается"), std::string::npos);
}

TEST(Calculation, ExactNumbersReadBackToTheSameDouble) {
    for (const double v : {0.1, 1.0 / 3, -2.5e-7, 123456789.125, 0.1234567890123456789, 1e300}) {
        const std::string text = ExactNumberText(v);
        EXPECT_TRUE(IsJsonNumber(text)) << text;
        EXPECT_EQ(std::stod(text), v) << text;
    }
    for (const char* bad : {"", "-", "01", "1.", ".5", "1e", "+1", "0x10", "1,5", "NaN"}) {
        EXPECT_FALSE(IsJsonNumber(bad)) << bad;
    }
}

}  // namespace
}  // namespace tarvo
