// tarvo-cli's arguments: strict numbers, ranges, the rules every row of the option table
// follows, each refusal word for word, the usage text, and the exit status for each outcome.
#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "app/page_command.h"
#include "app/startup.h"
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
        {"fillet word", std::string(base) + " --fillet exact", "--fillet: must be design or cut"},
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
              "--backlash 0.05 --rack 28-0.9 --involute-points 40 --fillet-points 20 --output f "
              "--fillet cut"));
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.request.internal);
    EXPECT_TRUE(p.request.cutFillet);
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
    EXPECT_FALSE(s.request.cutFillet);
}

TEST(CliRun, ExitStatusAndMessages) {
    testing::TempFolder folder;
    const std::string file = folder.File("p.dxf");
    struct Row {
        const char* name;
        std::string line;
        int status;
        const char* stream;  // "out" or "err"
        std::string mentions;
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
         kCliNotDrawn, "err", "none/p.dxf не записан: папка не найдена"},
        {"zero custom ha*",
         "pair --mesh external --module 2 --z1 20 --z2 40 --rack-custom 20,0,1,0.25,0.38 -o " +
             file,
         kCliBadUsage, "err", "Параметр: 'Коэффициент высоты головки' не может быть нулевым!"},
        {"custom rf* reduced to its limit",
         "pair --mesh external --module 2 --z1 20 --z2 40 --rack-custom 20,1,1,0.25,0.5 -o " +
             file,
         kCliWritten, "err", "уменьшен до величины 0.4485"},
        {"help", "--help", kCliWritten, "out", "--rack-custom"},
        {"version", "--version", kCliWritten, "out", "tarvo-cli " + VersionText() + "\n"},
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

// What each command takes, option by option: a value it accepts, and whether it must be given.
enum class In { Pair, Spline, Both };
enum class Need { Required, Optional, Switch };  // a switch takes its value only after "="

struct OptionCase {
    const char* name;
    const char* value;
    In in;
    Need need;
};

const OptionCase kOptionCases[] = {
    {"--mesh", "internal", In::Pair, Need::Required},
    {"--module", "2", In::Both, Need::Required},
    {"--z1", "20", In::Pair, Need::Required},
    {"--z2", "60", In::Pair, Need::Required},
    {"--helix", "10", In::Pair, Need::Optional},
    {"--x1", "0.1", In::Pair, Need::Optional},
    {"--x2", "0.2", In::Pair, Need::Optional},
    {"--backlash", "0.05", In::Pair, Need::Optional},
    {"--rack", "25", In::Pair, Need::Optional},
    {"--rack-custom", "20,1,1.25,0.25,", In::Pair, Need::Optional},
    {"--standard", "gost", In::Spline, Need::Required},
    {"--part", "hub", In::Spline, Need::Required},
    {"--teeth", "20", In::Spline, Need::Required},
    {"--shift", "0.1", In::Spline, Need::Optional},
    {"--involute-points", "10", In::Both, Need::Optional},
    {"--fillet-points", "5", In::Both, Need::Optional},
    {"--fillet", "cut", In::Both, Need::Optional},
    {"-o", "f.dxf", In::Both, Need::Required},
    {"--roller", "3.5", In::Both, Need::Optional},
    {"--report", "json", In::Both, Need::Switch},
};

bool Takes(const std::string& command, const OptionCase& c) {
    return c.in == In::Both || c.in == (command == "pair" ? In::Pair : In::Spline);
}

// The option as typed: "--module 2", or "--report=json" for a switch.
std::vector<std::string> Given(const OptionCase& c) {
    if (c.need == Need::Switch) {
        return {std::string(c.name) + "=" + c.value};
    }
    return {c.name, c.value};
}

// The command with every option it requires except `left`.
std::vector<std::string> RequiredBut(const std::string& command, const OptionCase& left) {
    std::vector<std::string> args{command};
    for (const OptionCase& c : kOptionCases) {
        if (c.need == Need::Required && Takes(command, c) && &c != &left) {
            const std::vector<std::string> given = Given(c);
            args.insert(args.end(), given.begin(), given.end());
        }
    }
    return args;
}

std::vector<std::string> Plus(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(CliArgs, EveryOptionOfTheTableHasACase) {
    std::vector<std::string> names;
    for (const CliOption& option : CliOptions()) {
        names.push_back(option.name);
    }
    std::vector<std::string> cases;
    for (const OptionCase& c : kOptionCases) {
        cases.push_back(c.name);
    }
    EXPECT_EQ(names, cases) << "an option was added or removed: give it a row in kOptionCases";
}

// The rules every option follows, whatever it holds: taken with its value (apart or after
// "="), refused when given twice, when its value is missing, when absent though required, and
// by the command it does not belong to.
TEST(CliArgs, EveryOptionFollowsTheSameRules) {
    for (const OptionCase& c : kOptionCases) {
        for (const std::string command : {"pair", "spline"}) {
            SCOPED_TRACE(command + " " + c.name);
            const std::vector<std::string> base = RequiredBut(command, c);
            const std::string name = c.name;
            if (!Takes(command, c)) {
                EXPECT_EQ(ParseCliArgs(Plus(base, Given(c))).error,
                          "unknown option '" + name + "' for " + command + "; see --help");
                continue;
            }
            const CliParse apart = ParseCliArgs(Plus(base, Given(c)));
            EXPECT_TRUE(apart.ok) << apart.error;
            if (name.rfind("--", 0) == 0) {  // only long options take "="
                const CliParse joined = ParseCliArgs(Plus(base, {name + "=" + c.value}));
                EXPECT_TRUE(joined.ok) << joined.error;
            }
            EXPECT_EQ(ParseCliArgs(Plus(Plus(base, Given(c)), Given(c))).error,
                      name + ": given twice");
            if (c.need != Need::Switch) {
                EXPECT_EQ(ParseCliArgs(Plus(base, {name})).error, name + ": a value is missing");
            }
            const CliParse absent = ParseCliArgs(base);
            const bool required = c.need == Need::Required;
            EXPECT_EQ(absent.ok, !required);
            EXPECT_EQ(absent.error, required ? name + ": missing" : "");
        }
    }
}

TEST(CliArgs, RefusalsWordForWord) {
    const std::string pair = "pair --mesh external --module 2 --z1 20 --z2 40 -o f ";
    struct Row {
        const char* name;
        std::string line;
        std::string error;
    };
    const Row rows[] = {
        {"help word only as the command", "pair help", "unknown option 'help' for pair; see --help"},
        {"an empty value", pair + "--x1=", "--x1: '' is not a number"},
        {"an option where a value belongs", "pair --module --z1 20",
         "--module: '--z1' is not a number"},
        {"module of minus zero", "pair --module=-0", "--module: must be greater than 0"},
        {"negative module", "pair --module -2", "--module: must be greater than 0"},
        {"tooth count in words", "pair --z1 twenty", "--z1: 'twenty' is not a whole number"},
        {"mesh word", "pair --mesh outer", "--mesh: must be external or internal"},
        {"standard word", "spline --standard din", "--standard: must be gost or ost"},
        {"part word", "spline --part ring", "--part: must be shaft or hub"},
        {"rack key", "pair --rack 20.0",
         "--rack: '20.0' is not a rack row (18, 20, 22.5, 25, 28-0.95, 28-0.9)"},
        {"custom rack with a comma decimal", "pair --rack-custom 20,1,1,0,25,0.38",
         "--rack-custom: expects five numbers A,HA,HF,C,RF with \".\" as the decimal point"},
        {"empty file name", "pair --output=", "--output: needs a file name"},
        {"-o takes no \"=\"", "pair -o=f", "unknown option '-o=f' for pair; see --help"},
        {"-o and --output are one option", "pair -o f --output g", "--output: given twice"},
        {"report form", "pair --report=xml",
         "--report: must be --report, --report=text or --report=json"},
        {"rack after custom rack", pair + "--rack-custom 20,1,1,0.25, --rack 20",
         "--rack and --rack-custom: give one or the other"},
        {"OST shift before the standard", "spline --shift 0.1 --standard ost",
         "--shift: OST 1 00086-73 splines are not shifted"},
        {"OST shift of zero", "spline --standard ost --shift 0",
         "--shift: OST 1 00086-73 splines are not shifted"},
        {"first missing option by name", "spline --module 2 --teeth 9 -o f", "--part: missing"},
        {"a bad option before --help", "pair --z1 0 --help",
         "--z1: must be from 1 to 2147483647"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CliParse parse = ParseCliArgs(Split(row.line));
        EXPECT_FALSE(parse.ok);
        EXPECT_EQ(parse.error, row.error);
    }
    // --help among the options is help, whatever follows it.
    const CliParse help = ParseCliArgs(Split("pair --z1 20 --help --z1 0 --bogus"));
    ASSERT_TRUE(help.ok) << help.error;
    EXPECT_EQ(help.request.job, CliJob::Help);
}

TEST(CliArgs, CountLimits) {
    const std::string pair = "pair --mesh internal --module 1 -o f ";
    const std::string spline = "spline --standard gost --part hub --module 1 -o f ";
    const std::string most = std::to_string(std::numeric_limits<std::int32_t>::max());
    auto range = [](std::int32_t low, std::int32_t high) {
        return "must be from " + std::to_string(low) + " to " + std::to_string(high);
    };
    struct Row {
        std::string line;
        std::string error;  // empty: accepted
    };
    const Row rows[] = {
        {pair + "--z1 1 --z2 " + most, ""},
        {pair + "--z1 0 --z2 40", "--z1: " + range(1, std::numeric_limits<std::int32_t>::max())},
        {pair + "--z1 20 --z2 2147483648", "--z2: '2147483648' is not a whole number"},
        {spline + "--teeth 1", ""},
        {spline + "--teeth -3", "--teeth: " + range(1, std::numeric_limits<std::int32_t>::max())},
        {spline + "--teeth +9 --involute-points " + std::to_string(kMinAccEv), ""},
        {spline + "--teeth 9 --involute-points " + std::to_string(kMaxAccEv), ""},
        {spline + "--teeth 9 --involute-points " + std::to_string(kMinAccEv - 1),
         "--involute-points: " + range(kMinAccEv, kMaxAccEv)},
        {spline + "--teeth 9 --involute-points " + std::to_string(kMaxAccEv + 1),
         "--involute-points: " + range(kMinAccEv, kMaxAccEv)},
        {pair + "--z1 9 --z2 40 --fillet-points " + std::to_string(kMinAccPer), ""},
        {pair + "--z1 9 --z2 40 --fillet-points " + std::to_string(kMaxAccPer), ""},
        {pair + "--z1 9 --z2 40 --fillet-points " + std::to_string(kMinAccPer - 1),
         "--fillet-points: " + range(kMinAccPer, kMaxAccPer)},
        {pair + "--z1 9 --z2 40 --fillet-points " + std::to_string(kMaxAccPer + 1),
         "--fillet-points: " + range(kMinAccPer, kMaxAccPer)},
        {pair + "--z1 9 --z2 40 --fillet-points 4.0", "--fillet-points: '4.0' is not a whole number"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        const CliParse parse = ParseCliArgs(Split(row.line));
        EXPECT_EQ(parse.ok, row.error.empty());
        EXPECT_EQ(parse.error, row.error);
    }
}

TEST(CliArgs, UsageText) {
    const std::string usage = CliUsage();
    const std::string points = "  --involute-points  points on the involute, " +
                               std::to_string(kMinAccEv) + ".." + std::to_string(kMaxAccEv) +
                               " (default " + std::to_string(kDefaultAccEv) + ")\n";
    const std::string fillet = "  --fillet-points    points on the root fillet, " +
                               std::to_string(kMinAccPer) + ".." + std::to_string(kMaxAccPer) +
                               " (default " + std::to_string(kDefaultAccPer) + ")\n";
    const std::string lines[] = {
        "  tarvo-cli pair --mesh external|internal --module M --z1 N --z2 N [--helix DEG]\n",
        "            [--x1 X] [--x2 X] [--backlash JN] [--rack ROW | --rack-custom A,HA,HF,C,RF]\n",
        "  tarvo-cli spline --module M --standard gost|ost --part shaft|hub --teeth N\n",
        "            [--shift MM] [--involute-points N] [--fillet-points N] [--fillet design|cut]\n",
        "  --fillet        external roots: design (the equivalent rack's fillet, default) or cut\n",
        "            -o FILE [--roller D] [--report[=json]]\n",
        "  --z1, --z2      tooth counts of wheels 1 and 2\n",
        "  --x1, --x2      profile shift coefficients (default 0)\n",
        "  --rack          basic rack row: 18, 20, 22.5, 25, 28-0.95 or 28-0.9 (default 20)\n",
        "                  or left empty is derived from c*, one above the limit is reduced\n",
        points,
        fillet,
        "Exit status: 0 written (also with warnings in the report), 1 the drawing cannot be\n",
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        EXPECT_NE(usage.find(line), std::string::npos) << usage;
    }
    std::istringstream in(usage);
    for (std::string line; std::getline(in, line);) {
        EXPECT_LE(line.size(), 88u) << line;
    }
}

}  // namespace
}  // namespace tarvo
