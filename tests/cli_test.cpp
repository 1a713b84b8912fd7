// tarvo-cli's arguments: strict numbers, ranges, the rules every row of the option table
// follows, each refusal word for word, the usage text's width, and the exit status for each
// outcome.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <limits>
#include <optional>

#include "app/page_command.h"
#include "app/startup.h"
#include "cli/cli_args.h"
#include "cli/cli_run.h"
#include "test_files.h"

namespace tarvo {
namespace {

using testing::RunCli;
using testing::Words;

TEST(CliArgs, StrictNumbers) {
    struct Row {
        const char* text;
        std::optional<double> value;
    };  // nothing: refused
    const std::nullopt_t no = std::nullopt;
    const Row rows[] = {
        {"2", 2},        {"2.5", 2.5}, {"2,5", 2.5},  {"-0.1", -0.1}, {"+3", 3},
        {"1e-3", 0.001}, {".5", 0.5},  {"5.", 5},     {"", no},       {"2x", no},
        {" 2", no},      {"2 ", no},   {"1.2.3", no}, {"1,2,3", no},  {"e5", no},
        {"1e", no},      {"--1", no},  {"1e999", no}, {"nan", no},    {"inf", no},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ParseStrictNumber(row.text), row.value);
    }
}

TEST(CliArgs, ValuesReachTheRequest) {
    const CliParse p = ParseCliArgs(
        Words("pair --mesh=internal --module 2,5 --z1 24 --z2 71 --helix 12.5 --x1 0.2 --x2 -0.4 "
              "--backlash 0.05 --rack 28-0.9 --involute-points 40 --fillet-points 20 --output f "
              "--fillet cut --report --roller 3.7"));
    ASSERT_TRUE(p.ok()) << p.fault();
    const CliRequest& r = p.value();
    EXPECT_TRUE(r.internal && r.cutFillet);
    EXPECT_EQ(std::make_tuple(r.module, r.z1, r.z2, r.helix, r.x1, r.x2, r.backlash, r.roller),
              std::make_tuple(2.5, 24, 71, 12.5, 0.2, -0.4, 0.05, 3.7));
    EXPECT_EQ(std::make_tuple(r.row->rack.alfa, r.row->rack.h), std::make_tuple(28.0, 0.9));
    EXPECT_EQ(std::make_tuple(r.involutePoints, r.filletPoints, r.output, r.report),
              std::make_tuple(40, 20, std::string("f"), CliReport::Text));

    // The report's forms; none unless asked for. (The defaults of what is left out: the
    // Calculation suite's echo of a report.)
    const std::string pair = "pair --mesh external --module 2 --z1 20 --z2 40 -o f";
    EXPECT_EQ(ParseCliArgs(Words(pair + " --report=text"))->report, CliReport::Text);
    EXPECT_EQ(ParseCliArgs(Words(pair + " --report=json"))->report, CliReport::Json);
    EXPECT_EQ(ParseCliArgs(Words(pair))->report, std::nullopt);
}

// Each outcome's exit status and what it says where; a command that writes nothing leaves a
// file already at the output path as it was.
TEST(CliRun, ExitStatusAndMessages) {
    testing::TempFolder folder;
    const std::string file = folder.File("p.dxf");
    ASSERT_EQ(mkfifo(folder.File("pipe").c_str(), 0644), 0);
    const std::string pair = "pair --mesh external --module 2 --z1 20 --z2 40 ";
    struct Row {
        const char* name;
        std::string line;
        int status;
        bool toErr;
        std::string says;
    };
    const Row rows[] = {
        {"written", pair + "-o " + file, kCliWritten, false, "p.dxf"},
        {"geometry refused", "pair --mesh external --module 2 --z1 8 --z2 30 --x1 1 -o " + file,
         kCliNotDrawn, true, "заострён"},
        {"equal internal counts", "pair --mesh internal --module 2 --z1 30 --z2 30 -o " + file,
         kCliNotDrawn, true, "не могут быть равны"},
        {"helix out of range", pair + "--helix 90 -o " + file, kCliNotDrawn, true, "--helix"},
        {"missing folder", pair + "-o " + folder.File("none/p.dxf"), kCliNotDrawn, true,
         "none/p.dxf не записан: папка не найдена"},
        {"a folder", pair + "-o .", kCliNotDrawn, true, "по этому пути находится папка, а не файл"},
        {"a pipe", pair + "-o " + folder.File("pipe"), kCliNotDrawn, true, "не обычный файл"},
        {"zero custom ha*", pair + "--rack-custom 20,0,1,0.25,0.38 -o " + file, kCliBadUsage, true,
         "Параметр: 'Коэффициент высоты головки' не может быть нулевым!"},
        {"no command", "", kCliBadUsage, true, "command"},
        {"unknown command", "gear -o " + file, kCliBadUsage, true, "gear"},
        {"custom rf* reduced to its limit", pair + "--rack-custom 20,1,1,0.25,0.5 -o " + file,
         kCliWritten, true, "уменьшен до величины 0.4485"},
        {"roller asked for reaches the sheet", pair + "--roller 3.7 --report -o " + file,
         kCliWritten, false, "D = 3.7"},
        {"help", "--help", kCliWritten, false, "--rack-custom"},
        {"version", "--version", kCliWritten, false, "tarvo-cli " + VersionText() + "\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testing::WriteFile(file, "an earlier drawing");
        const testing::CliRun run = RunCli(row.line);
        EXPECT_EQ(run.status, row.status);
        const std::string& text = row.toErr ? run.err : run.out;
        EXPECT_NE(text.find(row.says), std::string::npos) << text;
        EXPECT_TRUE(row.status == kCliWritten || testing::ReadFile(file) == "an earlier drawing");
    }
}

// Each refusal word for word, as returned and as tarvo-cli prints it with the bad-usage status;
// rows with no error are accepted. The rules every option follows come from the option table
// through one loop: shown here on a few options of each kind.
TEST(CliArgs, RefusalsWordForWordAndRangeEdges) {
    const std::string pair = "pair --mesh external --module 2 --z1 20 --z2 40 -o f ";
    const std::string ring = "pair --mesh internal --module 1 -o f ";
    const std::string spline = "spline --standard gost --part hub --module 1 -o f ";
    const std::string most = std::to_string(std::numeric_limits<std::int32_t>::max());
    const auto range = [](std::int32_t low, std::int32_t high) {
        return ": must be from " + std::to_string(low) + " to " + std::to_string(high);
    };
    const std::string mm = ": must be from 0.00001 to 1 mm";
    const auto points = [](const char* option, std::int32_t n) {
        return std::string(" --") + option + "-points " + std::to_string(n);
    };
    const auto unknown = [](const std::string& option, const char* command) {
        return "unknown option '" + option + "' for " + command + "; see --help";
    };
    struct Row {
        const char* name;
        std::string line, error;
    };  // error empty: accepted
    const Row rows[] = {
        {"option given twice", pair + "--x1 0.1 --x1=0.2", "--x1: given twice"},
        {"switch given twice", pair + "--report --report=json", "--report: given twice"},
        {"value missing", pair + "--backlash", "--backlash: a value is missing"},
        {"a spline option for a pair", pair + "--teeth 20", unknown("--teeth", "pair")},
        {"required option missing", "pair --mesh external --module 2 --z1 9 -o f", "--z2: missing"},
        {"options of both commands on a spline",
         "spline --standard gost --part shaft --module 1 "
         "--teeth 9 --output=f --roller=3.5 --fillet=cut --involute-points=9",
         ""},
        {"help word only as the command", "pair help", unknown("help", "pair")},
        {"an empty value", pair + "--x1=", "--x1: '' is not a number"},
        {"an option where a value belongs", "pair --module --z1 20",
         "--module: '--z1' is not a number"},
        {"module of minus zero", "pair --module=-0", "--module: must be greater than 0"},
        {"tooth count in words", "pair --z1 twenty", "--z1: 'twenty' is not a whole number"},
        {"mesh word", "pair --mesh outer", "--mesh: must be external or internal"},
        {"fillet word", pair + "--fillet exact", "--fillet: must be equivalent or cut"},
        {"rack key", "pair --rack 20.0",
         "--rack: '20.0' is not a rack row (18, 20, 22.5, 25, 28-0.95, 28-0.9)"},
        {"custom rack with a comma decimal", "pair --rack-custom 20,1,1,0,25,0.38",
         "--rack-custom: expects five numbers A,HA,HF,C,RF with \".\" as the decimal point"},
        {"empty file name", "pair --output=", "--output: needs a file name"},
        {"-o takes no \"=\"", "pair -o=f", unknown("-o=f", "pair")},
        {"-o and --output are one option", "pair -o f --output g", "--output: given twice"},
        {"report form", "pair --report=xml",
         "--report: must be --report, --report=text or --report=json"},
        {"report takes no separate value", pair + "--report json", unknown("json", "pair")},
        {"roller of zero", pair + "--roller 0", "--roller: must be greater than 0"},
        {"rack after custom rack", pair + "--rack-custom 20,1,1,0.25, --rack 20",
         "--rack and --rack-custom: give one or the other"},
        {"OST shift before the standard", "spline --shift 0.1 --standard ost",
         "--shift: OST 1 00086-73 splines are not shifted"},
        {"OST shift of zero", "spline --standard ost --shift 0",
         "--shift: OST 1 00086-73 splines are not shifted"},
        {"first missing option by name", "spline --module 2 --teeth 9 -o f", "--part: missing"},
        {"a bad option before --help", "pair --z1 0 --help", "--z1" + range(1, INT32_MAX)},
        {"largest count", ring + "--z1 1 --z2 " + most, ""},
        {"count beyond 32 bits", ring + "--z1 20 --z2 2147483648",
         "--z2: '2147483648' is not a whole number"},
        {"fewest involute points", spline + "--teeth +9" + points("involute", kMinAccEv), ""},
        {"involute points below", spline + "--teeth 9" + points("involute", kMinAccEv - 1),
         "--involute-points" + range(kMinAccEv, kMaxAccEv)},
        {"most fillet points", ring + "--z1 9 --z2 40" + points("fillet", kMaxAccPer), ""},
        {"fillet points above", ring + "--z1 9 --z2 40" + points("fillet", kMaxAccPer + 1),
         "--fillet-points" + range(kMinAccPer, kMaxAccPer)},
        {"fillet points 4.0", ring + "--z1 9 --z2 40 --fillet-points 4.0",
         "--fillet-points: '4.0' is not a whole number"},
        {"finest tolerance", pair + "--tolerance 0.00001", ""},
        {"tolerance below", pair + "--tolerance 0.000001", "--tolerance" + mm},
        {"tolerance above", pair + "--tolerance 1.001", "--tolerance" + mm},
        {"negative helix, right hand", pair + "--helix -15 --hand right",
         "--helix and --hand: a negative helix angle means a left hand; give --hand left or a "
         "positive --helix"},
        {"hand word", pair + "--hand up", "--hand: must be right or left"},
        {"accuracy on two lines", pair + "--accuracy 7\x01",
         "--accuracy: степень точности — одна строка без управляющих символов"},
        {"accuracy too long", pair + "--accuracy " + std::string(41, '7'),
         "--accuracy: степень точности длиннее 40 знаков"},
        {"tolerance and a count", pair + "--tolerance 0.001 --fillet-points 9",
         "--tolerance: give either the tolerance or the point counts"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CliParse parse = ParseCliArgs(Words(row.line));
        EXPECT_EQ(parse.ok() ? "" : parse.fault(), row.error);
        if (row.error.empty())
            continue;
        const testing::CliRun run = RunCli(row.line);
        EXPECT_EQ(run.status, kCliBadUsage);
        EXPECT_NE(run.err.find(row.error + "\n"), std::string::npos) << run.err;
    }
    // --help among the options is help, whatever follows it.
    const CliParse help = ParseCliArgs(Words("pair --z1 20 --help --z1 0 --bogus"));
    EXPECT_TRUE(help.ok() && help->job == CliJob::Help);
}

// The usage text is written from the option table: a synopsis with "[A | B]" for options that
// exclude each other, shared help lines, the ranges the parser enforces, lines that fit a
// terminal; a former word an option still reads is not shown.
TEST(CliArgs, UsageTextFromTheOptionTable) {
    const std::string usage = CliUsage();
    const auto range = [](std::int32_t low, std::int32_t high) {
        return std::to_string(low) + ".." + std::to_string(high);
    };
    struct Row {
        const char* name;
        std::string part;
        bool shown;
    };
    const Row rows[] = {
        {"options that exclude each other", "[--rack ROW | --rack-custom A,HA,HF,C,RF]", true},
        {"rows with one help share its line", "  --z1, --z2      tooth counts of wheels 1 and 2",
         true},
        {"involute points range", "points on the involute, " + range(kMinAccEv, kMaxAccEv), true},
        {"the fillet's words", "[--fillet equivalent|cut]", true},
        {"the fillet's default", "equivalent (the equivalent rack's fillet, default)", true},
        {"the former fillet word", "design ", false},
        {"a switch with its value", "[--report[=json]]", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(usage.find(row.part) != std::string::npos, row.shown) << row.part;
    }
    std::istringstream in(usage);
    for (std::string line; std::getline(in, line);)
        EXPECT_LE(line.size(), 88u) << line;
}

}  // namespace
}  // namespace tarvo
