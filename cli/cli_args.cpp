// Strict parsing of tarvo-cli's options.
#include "cli/cli_args.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace tarvo {

namespace {

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// Reads a whole number that fits 32 bits.
bool ParseStrictWhole(const std::string& text, std::int32_t& value) {
    if (text.empty()) {
        return false;
    }
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (*first == '+') {
        ++first;
        if (first == last || *first == '-') {
            return false;
        }
    }
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && result.ptr == last;
}

// Splits the rack-custom list "A,HA,HF,C,RF": the commas separate the values, so decimals take
// a point here.
bool SplitCustomRack(const std::string& text, std::array<std::string, 5>& parts) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        const std::size_t comma = text.find(',', start);
        if ((i < 4) == (comma == std::string::npos)) {
            return false;
        }
        parts[i] = text.substr(start, i < 4 ? comma - start : std::string::npos);
        start = comma + 1;
    }
    for (std::size_t i = 0; i < 5; ++i) {
        double v = 0;
        const bool emptyFillet = i == 4 && parts[i].empty();  // rf* left to be derived
        if (!emptyFillet && !ParseStrictNumber(parts[i], v)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool ParseStrictNumber(const std::string& text, double& value) {
    std::string normal;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') {
            normal.push_back('-');
        }
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (IsDigit(ch)) {
            digits = true;
            normal.push_back(ch);
        } else if ((ch == '.' || ch == ',') && !point) {
            point = true;
            normal.push_back('.');
        } else {
            break;
        }
    }
    if (!digits) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        normal.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            normal.push_back(text[i]);
            ++i;
        }
        bool expDigits = false;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            expDigits = true;
            normal.push_back(text[i]);
        }
        if (!expDigits) {
            return false;
        }
    }
    if (i != text.size()) {
        return false;
    }
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    return result.ec == std::errc() && std::isfinite(value);
}

std::string CliUsage() {
    return "Usage:\n"
           "  tarvo-cli pair --mesh external|internal --module M --z1 N --z2 N [--helix DEG]\n"
           "            [--x1 X] [--x2 X] [--backlash JN] [--rack ROW | --rack-custom "
           "A,HA,HF,C,RF]\n"
           "            [--involute-points N] [--fillet-points N] -o FILE [--report[=json]]\n"
           "  tarvo-cli spline --standard gost|ost --part shaft|hub --module M --teeth N\n"
           "            [--shift MM] [--involute-points N] [--fillet-points N] -o FILE\n"
           "            [--report[=json]]\n"
           "  tarvo-cli --help | --version\n"
           "\n"
           "Writes the DXF drawing of a gear pair in mesh or of one member of an involute\n"
           "spline joint, the same bytes as the Tarvo window writes for the same data.\n"
           "\n"
           "  --mesh          external or internal gear pair\n"
           "  --module        module in mm (normal module of a pair), above 0\n"
           "  --z1, --z2      tooth counts of wheels 1 and 2\n"
           "  --helix         helix angle in degrees (default 0)\n"
           "  --x1, --x2      profile shift coefficients (default 0)\n"
           "  --backlash      normal backlash jn in mm (default 0)\n"
           "  --rack          basic rack row: 18, 20, 22.5, 25, 28-0.95 or 28-0.9 (default 20)\n"
           "  --rack-custom   own basic rack: angle in degrees, ha*, hf*, c*, rf*; an rf* of 0\n"
           "                  or left empty is derived from c*, one above the limit is reduced\n"
           "  --standard      gost (GOST 6033-80) or ost (OST 1 00086-73)\n"
           "  --part          shaft or hub\n"
           "  --teeth         number of spline teeth\n"
           "  --shift         profile shift in mm (GOST only; default 0)\n"
           "  --involute-points  points on the involute, 3..100 (default 6)\n"
           "  --fillet-points    points on the root fillet, 3..50 (default 3)\n"
           "  -o              the drawing file to write (replaced only when complete)\n"
           "  --report        after writing, read the drawing back and print its data sheet\n"
           "                  (diameters, span measurement, mesh, check of the drawn outlines)\n"
           "                  and warnings; --report=json prints them as one JSON object\n"
           "\n"
           "Numbers take \".\" or \",\" as the decimal separator (\".\" inside --rack-custom).\n"
           "Exit status: 0 written (also with warnings in the report), 1 the drawing cannot be\n"
           "made or written, 2 bad arguments.\n";
}

CliParse ParseCliArgs(const std::vector<std::string>& args) {
    CliParse parse;
    CliRequest& r = parse.request;
    auto fail = [&parse](const std::string& message) {
        parse.ok = false;
        parse.error = message;
        return parse;
    };
    if (args.empty()) {
        return fail("no command given (pair or spline); see --help");
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        r.job = CliJob::Help;
        parse.ok = true;
        return parse;
    }
    if (command == "--version") {
        r.job = CliJob::Version;
        parse.ok = true;
        return parse;
    }
    if (command != "pair" && command != "spline") {
        return fail("unknown command '" + command + "' (pair or spline); see --help");
    }
    const bool pair = command == "pair";
    r.job = pair ? CliJob::Pair : CliJob::Spline;

    // Each option: whether it belongs to this command, and how its value is taken.
    using Setter = std::function<std::string(const std::string&)>;
    auto number = [](double& target, bool positive) -> Setter {
        return [&target, positive](const std::string& v) -> std::string {
            double value = 0;
            if (!ParseStrictNumber(v, value)) {
                return "'" + v + "' is not a number";
            }
            if (positive && !(value > 0)) {
                return "must be greater than 0";
            }
            target = value;
            return {};
        };
    };
    auto whole = [](std::int32_t& target, std::int32_t low, std::int32_t high) -> Setter {
        return [&target, low, high](const std::string& v) -> std::string {
            std::int32_t value = 0;
            if (!ParseStrictWhole(v, value)) {
                return "'" + v + "' is not a whole number";
            }
            if (value < low || value > high) {
                return "must be from " + std::to_string(low) + " to " + std::to_string(high);
            }
            target = value;
            return {};
        };
    };
    auto choice = [](bool& target, const char* no, const char* yes) -> Setter {
        return [&target, no, yes](const std::string& v) -> std::string {
            if (v != no && v != yes) {
                return "must be " + std::string(no) + " or " + yes;
            }
            target = v == yes;
            return {};
        };
    };
    constexpr std::int32_t kAnyCount = 2147483647;
    std::map<std::string, Setter> options;
    std::map<std::string, bool> required;
    bool rackGiven = false;
    bool customGiven = false;
    if (pair) {
        options["--mesh"] = choice(r.internal, "external", "internal");
        options["--module"] = number(r.module, true);
        options["--z1"] = whole(r.z1, 1, kAnyCount);
        options["--z2"] = whole(r.z2, 1, kAnyCount);
        options["--helix"] = number(r.helix, false);
        options["--x1"] = number(r.x1, false);
        options["--x2"] = number(r.x2, false);
        options["--backlash"] = number(r.backlash, false);
        options["--rack"] = [&r, &rackGiven](const std::string& v) -> std::string {
            r.row = FindRackRow(v);
            rackGiven = true;
            if (r.row == nullptr) {
                return "'" + v + "' is not a rack row (18, 20, 22.5, 25, 28-0.95, 28-0.9)";
            }
            return {};
        };
        options["--rack-custom"] = [&r, &customGiven](const std::string& v) -> std::string {
            customGiven = true;
            r.customRack = true;
            if (!SplitCustomRack(v, r.customTexts)) {
                return "expects five numbers A,HA,HF,C,RF with \".\" as the decimal point";
            }
            return {};
        };
        required = {{"--mesh", false}, {"--module", false}, {"--z1", false}, {"--z2", false}};
    } else {
        options["--part"] = choice(r.hub, "shaft", "hub");
        options["--module"] = number(r.module, true);
        options["--teeth"] = whole(r.teeth, 1, kAnyCount);
        options["--shift"] = number(r.shift, false);
        required = {{"--standard", false}, {"--part", false}, {"--module", false},
                    {"--teeth", false}};
        options["--standard"] = [&r](const std::string& v) -> std::string {
            if (v != "gost" && v != "ost") {
                return "must be gost or ost";
            }
            r.standard = v == "ost" ? SplineStandard::Ost100086 : SplineStandard::Gost6033;
            return {};
        };
    }
    options["--involute-points"] = whole(r.involutePoints, 3, 100);
    options["--fillet-points"] = whole(r.filletPoints, 3, 50);
    options["-o"] = [&r](const std::string& v) -> std::string {
        if (v.empty()) {
            return "needs a file name";
        }
        r.output = v;
        return {};
    };
    options["--output"] = options["-o"];
    required["-o"] = false;

    std::map<std::string, bool> seen;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool inlineValue = false;
        const std::size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            inlineValue = true;
        }
        if (name == "--report") {
            // A switch: its value, if any, is given with "=".
            if (seen[name]) {
                return fail(name + ": given twice");
            }
            seen[name] = true;
            if (!inlineValue || value == "text") {
                r.report = CliReport::Text;
            } else if (value == "json") {
                r.report = CliReport::Json;
            } else {
                return fail("--report: must be --report, --report=text or --report=json");
            }
            continue;
        }
        if (name == "--help" || name == "-h") {
            r.job = CliJob::Help;
            parse.ok = true;
            return parse;
        }
        const auto option = options.find(name);
        if (option == options.end()) {
            return fail("unknown option '" + name + "' for " + command + "; see --help");
        }
        const std::string key = name == "--output" ? "-o" : name;
        if (seen[key]) {
            return fail(name + ": given twice");
        }
        seen[key] = true;
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                return fail(name + ": a value is missing");
            }
            value = args[++i];
        }
        const std::string problem = option->second(value);
        if (!problem.empty()) {
            return fail(name + ": " + problem);
        }
        if (required.count(key) != 0) {
            required[key] = true;
        }
    }
    if (!pair && r.standard == SplineStandard::Ost100086 && seen["--shift"]) {
        return fail("--shift: OST 1 00086-73 splines are not shifted");
    }
    if (rackGiven && customGiven) {
        return fail("--rack and --rack-custom: give one or the other");
    }
    for (const auto& [name, given] : required) {
        if (!given) {
            return fail(name + ": missing");
        }
    }
    parse.ok = true;
    return parse;
}

}  // namespace tarvo
