// Strict parsing of tarvo-cli's options. Every option is one row of a table that holds its
// name, its value's parser and its help; the parser reads the rows and the usage text is
// written from them, so the two cannot drift apart.
#include "cli/cli_args.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

#include "app/page_command.h"
#include "cli/cli_run.h"
#include "math/number_text.h"
#include "profile/chord_placement.h"

namespace tarvo {

namespace {

// A request holds any tooth count from one tooth up to what 32 bits carry; whether a drawing
// can have that many teeth is the builder's to say (kMaxTeeth), with its own message and exit
// status, as it is in the window.
constexpr std::int32_t kMinTeethCount = 1;
constexpr std::int32_t kMaxTeethCount = std::numeric_limits<std::int32_t>::max();

// The usage text: two spaces, the option names in a 16-column field, then the help. Synopsis
// lines wrap at 88 columns, which keeps the basic rack choice on one line.
constexpr const char* kUsageIndent = "  ";
constexpr std::size_t kNameColumn = 16;
constexpr std::size_t kNameGap = 2;  // spaces at least between a name and its help
constexpr std::size_t kUsageWidth = 88;
constexpr const char* kProgram = "tarvo-cli";

// The five values of --rack-custom: angle, ha*, hf*, c*, rf*.
constexpr std::size_t kCustomRackValues = std::tuple_size<decltype(CliRequest::customTexts)>();

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// Reads a whole number that fits 32 bits.
std::optional<std::int32_t> ParseStrictWhole(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (*first == '+') {
        ++first;
        if (first == last || *first == '-') {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last) {
        return std::nullopt;
    }
    return value;
}

// What is wrong with an option's value.
CliTaken Problem(const std::string& text) {
    return CliTaken::Failure(text);
}

// Splits the rack-custom list "A,HA,HF,C,RF": the commas separate the values, so decimals take
// a point here.
bool SplitCustomRack(const std::string& text, std::array<std::string, kCustomRackValues>& parts) {
    const std::size_t lastPart = kCustomRackValues - 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i < kCustomRackValues; ++i) {
        const std::size_t comma = text.find(',', start);
        if ((i < lastPart) == (comma == std::string::npos)) {
            return false;
        }
        parts[i] = text.substr(start, i < lastPart ? comma - start : std::string::npos);
        start = comma + 1;
    }
    for (std::size_t i = 0; i < kCustomRackValues; ++i) {
        const bool emptyFillet = i == lastPart && parts[i].empty();  // rf* left to be derived
        if (!emptyFillet && !ParseStrictNumber(parts[i])) {
            return false;
        }
    }
    return true;
}

// "a, b or c": the words with `lastSeparator` before the last one and `separator` elsewhere.
std::string Listed(const std::vector<std::string>& words, const char* lastSeparator,
                   const char* separator = ", ") {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) {
            text += i + 1 < words.size() ? separator : lastSeparator;
        }
        text += words[i];
    }
    return text;
}

// The fixed rack rows' keys, "18, 20, ..." with `lastSeparator` before the last one.
std::string RackKeys(const char* lastSeparator) {
    std::vector<std::string> keys;
    for (const RackRow& row : kRackRows) {
        keys.push_back(row.key);
    }
    return Listed(keys, lastSeparator);
}

// --- Value parsers: each stores into one field of the request. ---

enum class Sign { Any, Positive };

// A number's entry in a stored calculation, exact to the last bit; a value that must be
// positive and was left at 0 (not given) has none.
CliValueEcho NumberEcho(double CliRequest::*field, Sign sign) {
    return [field, sign](const CliRequest& r) -> std::optional<CalcEntry> {
        if (sign == Sign::Positive && !(r.*field > 0)) {
            return std::nullopt;
        }
        return CalcEntry{{}, ExactNumberText(r.*field), false};
    };
}

// A value a stored calculation holds: what it looks like, how it is read, how it is written back.
CliValue EchoedValue(std::string shown, CliValueParser parse, CliValueEcho echo) {
    CliValue value;
    value.shown = std::move(shown);
    value.parse = std::move(parse);
    value.echo = std::move(echo);
    return value;
}

CliValue Number(double CliRequest::*field, const char* shown, Sign sign) {
    return EchoedValue(
        shown,
        [field, sign](const std::string& text, CliRequest& r) -> CliTaken {
            const std::optional<double> value = ParseStrictNumber(text);
            if (!value) {
                return Problem("'" + text + "' is not a number");
            }
            if (sign == Sign::Positive && !(*value > 0)) {
                return Problem("must be greater than 0");
            }
            r.*field = *value;
            return Done{};
        },
        NumberEcho(field, sign));
}

CliValue Whole(std::int32_t CliRequest::*field, std::int32_t low, std::int32_t high) {
    return EchoedValue(
        "N",
        [field, low, high](const std::string& text, CliRequest& r) -> CliTaken {
            const std::optional<std::int32_t> value = ParseStrictWhole(text);
            if (!value) {
                return Problem("'" + text + "' is not a whole number");
            }
            if (*value < low || *value > high) {
                return Problem("must be from " + std::to_string(low) + " to " +
                               std::to_string(high));
            }
            r.*field = *value;
            return Done{};
        },
        [field](const CliRequest& r) -> std::optional<CalcEntry> {
            return CalcEntry{{}, std::to_string(r.*field), false};
        });
}

// A word on the command line and the value of the field it stands for. A former word is still
// read (stored calculations and scripts may hold it) but not shown or written.
template <typename T>
struct Word {
    const char* text;
    T value;
    bool former = false;
};

// One of a few words, each standing for a value of the field.
template <typename T>
CliValue Choice(T CliRequest::*field, const std::vector<Word<T>>& words) {
    std::vector<std::string> texts;
    for (const Word<T>& word : words) {
        if (!word.former) {
            texts.push_back(word.text);
        }
    }
    const std::string problem = "must be " + Listed(texts, " or ");
    return EchoedValue(
        Listed(texts, "|", "|"),
        [field, words, problem](const std::string& text, CliRequest& r) -> CliTaken {
            for (const Word<T>& word : words) {
                if (text == word.text) {
                    r.*field = word.value;
                    return Done{};
                }
            }
            return Problem(problem);
        },
        [field, words](const CliRequest& r) -> std::optional<CalcEntry> {
            for (const Word<T>& word : words) {
                if (r.*field == word.value && !word.former) {
                    return CalcEntry{{}, word.text, true};
                }
            }
            return std::nullopt;
        });
}

CliValue RackRowValue() {
    return EchoedValue(
        "ROW",
        [](const std::string& text, CliRequest& r) -> CliTaken {
            r.row = FindRackRow(text);
            if (r.row == nullptr) {
                return Problem("'" + text + "' is not a rack row (" + RackKeys(", ") + ")");
            }
            return Done{};
        },
        [](const CliRequest& r) -> std::optional<CalcEntry> {
            if (r.customRack || r.row == nullptr) {
                return std::nullopt;
            }
            return CalcEntry{{}, r.row->key, true};
        });
}

CliValue CustomRackValue() {
    return EchoedValue(
        "A,HA,HF,C,RF",
        [](const std::string& text, CliRequest& r) -> CliTaken {
            r.customRack = true;
            if (!SplitCustomRack(text, r.customTexts)) {
                return Problem("expects five numbers A,HA,HF,C,RF with \".\" as the decimal point");
            }
            return Done{};
        },
        [](const CliRequest& r) -> std::optional<CalcEntry> {
            if (!r.customRack) {
                return std::nullopt;
            }
            std::string list = r.customTexts.front();
            for (std::size_t i = 1; i < r.customTexts.size(); ++i) {
                list += "," + r.customTexts[i];
            }
            return CalcEntry{{}, list, true};
        });
}

CliValue OutputValue() {
    return {"FILE", [](const std::string& text, CliRequest& r) -> CliTaken {
                if (text.empty()) {
                    return Problem("needs a file name");
                }
                r.output = text;
                return Done{};
            }};
}

// The hand of wheel 1. A stored calculation gives the hand in effect, so a negative helix
// angle comes back with "left" and re-runs without being refused as a contradiction.
CliValue HandValue() {
    CliValue value =
        Choice<Hand>(&CliRequest::hand, {{"right", Hand::Right}, {"left", Hand::Left}});
    value.echo = [](const CliRequest& r) -> std::optional<CalcEntry> {
        const bool left = Wheel1Hand(r.helix, r.hand) == Hand::Left;
        return CalcEntry{{}, left ? "left" : "right", true};
    };
    return value;
}

CliValue AccuracyValue() {
    return EchoedValue(
        "TEXT",
        [](const std::string& text, CliRequest& r) -> CliTaken {
            if (const auto problem = AccuracyTextProblem(text)) {
                return Problem(*problem);
            }
            // An empty designation is none: the table's cell stays empty either way.
            r.accuracy = text.empty() ? std::nullopt : std::optional<std::string>(text);
            return Done{};
        },
        [](const CliRequest& r) -> std::optional<CalcEntry> {
            if (!r.accuracy) {
                return std::nullopt;
            }
            return CalcEntry{{}, *r.accuracy, true};
        });
}

CliValue TableValue() {
    return {"FILE.dxf", [](const std::string& text, CliRequest& r) -> CliTaken {
                if (text.empty()) {
                    return Problem("needs a file name");
                }
                r.table = text;
                return Done{};
            }};
}

CliValue StepValue() {
    return {"FILE", [](const std::string& text, CliRequest& r) -> CliTaken {
                if (text.empty()) {
                    return Problem("needs a file name");
                }
                r.step = text;
                return Done{};
            }};
}

// --step, --face-width and --rim go together, and the model never replaces the drawing.
CliTaken CheckStep(const CliRequest& r) {
    if (!r.step) {
        if (r.faceWidth > 0 || r.rim > 0) {
            return Problem("--face-width and --rim need --step");
        }
        return Done{};
    }
    if (!(r.faceWidth > 0)) {
        return Problem("--step needs --face-width");
    }
    if (*r.step == r.output) {
        return Problem("--step must name another file than the drawing");
    }
    return Done{};
}

// A switch: bare or "=text" prints the data sheet as text, "=json" as JSON.
CliValue ReportValue() {
    CliValue value{"[=json]", [](const std::string& text, CliRequest& r) -> CliTaken {
                       if (text == "text" || text == "json") {
                           r.report = text == "json" ? CliReport::Json : CliReport::Text;
                           return Done{};
                       }
                       return Problem("must be --report, --report=text or --report=json");
                   }};
    value.bare = "text";
    return value;
}

std::string ShortNumber(double v) {
    return FixedShortText(v, 5);
}

// The chord tolerance in mm, within its range.
CliValue ToleranceValue() {
    return EchoedValue(
        "MM",
        [](const std::string& text, CliRequest& r) -> CliTaken {
            const std::optional<double> value = ParseStrictNumber(text);
            if (!value) {
                return Problem("'" + text + "' is not a number");
            }
            if (!(*value >= kMinTolerance && *value <= kMaxTolerance)) {
                return Problem("must be from " + ShortNumber(kMinTolerance) + " to " +
                               ShortNumber(kMaxTolerance) + " mm");
            }
            r.tolerance = *value;
            return Done{};
        },
        NumberEcho(&CliRequest::tolerance, Sign::Positive));
}

std::string CountHelp(const char* what, std::int32_t low, std::int32_t high, int standard) {
    return std::string(what) + ", " + std::to_string(low) + ".." + std::to_string(high) +
           " (default " + std::to_string(standard) + ")";
}

// A row of the table with its fields named as it is written: an option of both commands that
// may be left out unless said otherwise.
class Row {
  public:
    explicit Row(const char* name) { option_.name = name; }
    Row& Alias(const char* alias) {
        option_.alias = alias;
        return *this;
    }
    Row& Pair() {
        option_.commands = CliCommands::Pair;
        return *this;
    }
    Row& Spline() {
        option_.commands = CliCommands::Spline;
        return *this;
    }
    Row& Required() {
        option_.need = CliNeed::Required;
        return *this;
    }
    Row& Excludes(const char* other) {
        option_.excludes = other;
        return *this;
    }
    Row& Takes(CliValue value) {
        option_.value = std::move(value);
        return *this;
    }
    Row& Help(std::string help) {
        option_.help = std::move(help);
        return *this;
    }
    operator CliOption() const { return option_; }  // NOLINT(google-explicit-constructor)

  private:
    CliOption option_;
};

// The table's rows, in the order of the usage text: the gear pair's (with the module, which a
// spline takes too), then the spline's, then those of both commands.
void AddPairOptions(std::vector<CliOption>& t) {
    t.push_back(
        Row("--mesh")
            .Pair()
            .Required()
            .Takes(Choice<bool>(&CliRequest::internal, {{"external", false}, {"internal", true}}))
            .Help("external or internal gear pair"));
    t.push_back(Row("--module")
                    .Required()
                    .Takes(Number(&CliRequest::module, "M", Sign::Positive))
                    .Help("module in mm (normal module of a pair), above 0"));
    t.push_back(Row("--z1")
                    .Pair()
                    .Required()
                    .Takes(Whole(&CliRequest::z1, kMinTeethCount, kMaxTeethCount))
                    .Help("tooth counts of wheels 1 and 2"));
    t.push_back(Row("--z2")
                    .Pair()
                    .Required()
                    .Takes(Whole(&CliRequest::z2, kMinTeethCount, kMaxTeethCount))
                    .Help("tooth counts of wheels 1 and 2"));
    t.push_back(Row("--helix")
                    .Pair()
                    .Takes(Number(&CliRequest::helix, "DEG", Sign::Any))
                    .Help("helix angle in degrees (default 0)"));
    t.push_back(Row("--x1")
                    .Pair()
                    .Takes(Number(&CliRequest::x1, "X", Sign::Any))
                    .Help("profile shift coefficients (default 0)"));
    t.push_back(Row("--x2")
                    .Pair()
                    .Takes(Number(&CliRequest::x2, "X", Sign::Any))
                    .Help("profile shift coefficients (default 0)"));
    t.push_back(Row("--hand")
                    .Pair()
                    .Takes(HandValue())
                    .Help("hand of wheel 1's tooth line (default right; a negative --helix\n"
                          "means left); wheel 2's is opposite (external) or the same (internal)"));
    t.push_back(Row("--backlash")
                    .Pair()
                    .Takes(Number(&CliRequest::backlash, "JN", Sign::Any))
                    .Help("normal backlash jn in mm (default 0)"));
    t.push_back(Row("--rack")
                    .Pair()
                    .Takes(RackRowValue())
                    .Help("basic rack row: " + RackKeys(" or ") + " (default " +
                          kDefaultRackRow.key + ")"));
    t.push_back(Row("--rack-custom")
                    .Pair()
                    .Excludes("--rack")
                    .Takes(CustomRackValue())
                    .Help("own basic rack: angle in degrees, ha*, hf*, c*, rf*; an rf* of 0\n"
                          "or left empty is derived from c*, one above the limit is reduced"));
}

void AddSplineAndCommonOptions(std::vector<CliOption>& t) {
    using S = SplineStandard;
    t.push_back(
        Row("--standard")
            .Spline()
            .Required()
            .Takes(Choice<S>(&CliRequest::standard, {{"gost", S::Gost6033}, {"ost", S::Ost100086}}))
            .Help("gost (GOST 6033-80) or ost (OST 1 00086-73)"));
    t.push_back(Row("--part")
                    .Spline()
                    .Required()
                    .Takes(Choice<bool>(&CliRequest::hub, {{"shaft", false}, {"hub", true}}))
                    .Help("shaft or hub"));
    t.push_back(Row("--teeth")
                    .Spline()
                    .Required()
                    .Takes(Whole(&CliRequest::teeth, kMinTeethCount, kMaxTeethCount))
                    .Help("number of spline teeth"));
    t.push_back(Row("--shift")
                    .Spline()
                    .Takes(Number(&CliRequest::shift, "MM", Sign::Any))
                    .Help("profile shift in mm (GOST only; default 0)"));
    t.push_back(
        Row("--involute-points")
            .Takes(Whole(&CliRequest::involutePoints, kMinAccEv, kMaxAccEv))
            .Help(CountHelp("points on the involute", kMinAccEv, kMaxAccEv, kDefaultAccEv)));
    t.push_back(
        Row("--fillet-points")
            .Takes(Whole(&CliRequest::filletPoints, kMinAccPer, kMaxAccPer))
            .Help(CountHelp("points on the root fillet", kMinAccPer, kMaxAccPer, kDefaultAccPer)));
    t.push_back(Row("--tolerance")
                    .Takes(ToleranceValue())
                    .Help("place the points for this chord tolerance instead of the counts, mm,\n" +
                          ShortNumber(kMinTolerance) + ".." + ShortNumber(kMaxTolerance) +
                          ": no chord of the involute or fillet strays further from the\n"
                          "exact curve (at most " +
                          std::to_string(kMaxTolerancePoints) + " points on each)"));
    t.push_back(
        Row("--fillet")
            .Takes(Choice<bool>(&CliRequest::cutFillet,
                                {{"equivalent", false}, {"cut", true}, {"design", false, true}}))
            .Help("external roots: equivalent (the equivalent rack's fillet, default)\n"
                  "or cut (the exact envelope the cutting rack leaves, undercut included)"));
    t.push_back(Row("-o")
                    .Alias("--output")
                    .Required()
                    .Takes(OutputValue())
                    .Help("the drawing file to write (replaced only when complete);\n"
                          "- writes the drawing to standard output"));
    t.push_back(Row("--roller")
                    .Takes(Number(&CliRequest::roller, "D", Sign::Positive))
                    .Help("diameter of the measuring rollers for the data sheet's M, mm\n"
                          "(default: a gauge size touching each flank near the reference circle)"));
    t.push_back(Row("--accuracy")
                    .Takes(AccuracyValue())
                    .Help("accuracy designation for the parameter table, printed as given"));
    t.push_back(Row("--table")
                    .Takes(TableValue())
                    .Help("also write the parameter table as its own DXF drawing (R12)"));
    t.push_back(Row("--report")
                    .Takes(ReportValue())
                    .Help("after writing, read the drawing back and print its data sheet\n"
                          "(diameters, span measurement, mesh, check of the drawn outlines)\n"
                          "and warnings; --report=json prints them as one JSON object"));
    t.push_back(
        Row("--step")
            .Takes(StepValue())
            .Help("also write each member as an exact solid to this STEP file (AP214, mm)"));
    t.push_back(Row("--face-width")
                    .Takes(Number(&CliRequest::faceWidth, "B", Sign::Positive))
                    .Help("face width b of the solids in mm, above 0 (needed with --step)"));
    t.push_back(Row("--rim")
                    .Takes(Number(&CliRequest::rim, "D", Sign::Positive))
                    .Help("outside diameter of an internal member's rim in mm\n"
                          "(default: its root diameter plus 6 m)"));
}

std::vector<CliOption> MakeOptions() {
    std::vector<CliOption> table;
    AddPairOptions(table);
    AddSplineAndCommonOptions(table);
    return table;
}

bool Belongs(const CliOption& option, CliJob job) {
    switch (option.commands) {
        case CliCommands::Pair:
            return job == CliJob::Pair;
        case CliCommands::Spline:
            return job == CliJob::Spline;
        case CliCommands::Both:
            return job == CliJob::Pair || job == CliJob::Spline;
    }
    return false;
}

// --- Reading the arguments. ---

// An argument, split at its first "=" when it is a long option: "--x1=0.2".
struct Argument {
    std::string name;
    std::optional<std::string> value;
};

Argument SplitArgument(const std::string& text) {
    const std::size_t equals = text.find('=');
    if (text.rfind("--", 0) != 0 || equals == std::string::npos) {
        return {text, std::nullopt};
    }
    return {text.substr(0, equals), text.substr(equals + 1)};
}

bool IsHelp(const std::string& name) {
    return name == "--help" || name == "-h";
}

// What has been read so far of one command line.
struct Reading {
    Reading(const std::vector<std::string>& arguments, CliRequest& into)
        : args(arguments), request(into), seen(CliOptions().size(), false) {}

    const std::vector<std::string>& args;  // args[0] is the command
    CliRequest& request;
    std::size_t next = 1;    // the argument to read next
    std::vector<bool> seen;  // one per table row
    bool help = false;       // --help among the options: the rest is not read
};

// The table row of this command that `name` (or its alias) picks, or null.
const CliOption* FindOption(const std::string& name, CliJob job) {
    for (const CliOption& option : CliOptions()) {
        const bool named = name == option.name || (option.alias && name == option.alias);
        if (named && Belongs(option, job)) {
            return &option;
        }
    }
    return nullptr;
}

bool Seen(const Reading& reading, const char* name) {
    const std::vector<CliOption>& table = CliOptions();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (std::strcmp(table[i].name, name) == 0) {
            return reading.seen[i];
        }
    }
    return false;
}

// Reads the next option and its value into the request, or says what is wrong.
CliTaken ReadOption(Reading& reading) {
    Argument arg = SplitArgument(reading.args[reading.next++]);
    if (IsHelp(arg.name)) {
        reading.help = true;
        return Done{};
    }
    const CliOption* option = FindOption(arg.name, reading.request.job);
    if (option == nullptr) {
        return Problem("unknown option '" + arg.name + "' for " + reading.args[0] + "; see --help");
    }
    const std::size_t row = static_cast<std::size_t>(option - CliOptions().data());
    if (reading.seen[row]) {
        return Problem(arg.name + ": given twice");
    }
    reading.seen[row] = true;
    if (!arg.value && option->value.bare != nullptr) {
        arg.value = option->value.bare;
    } else if (!arg.value) {
        if (reading.next >= reading.args.size()) {
            return Problem(arg.name + ": a value is missing");
        }
        arg.value = reading.args[reading.next++];
    }
    const CliTaken taken = option->value.parse(*arg.value, reading.request);
    return taken.ok() ? taken : Problem(arg.name + ": " + taken.fault());
}

// Rules between options, checked once all are read.
CliTaken CheckCombinations(const Reading& reading) {
    const CliRequest& r = reading.request;
    if (r.job == CliJob::Spline && r.standard == SplineStandard::Ost100086 &&
        Seen(reading, "--shift")) {
        return Problem("--shift: OST 1 00086-73 splines are not shifted");
    }
    if (r.job == CliJob::Pair && Seen(reading, "--hand") && HandConflict(r.helix, r.hand)) {
        return Problem(
            "--helix and --hand: a negative helix angle means a left hand; give --hand left "
            "or a positive --helix");
    }
    if (Seen(reading, "--tolerance") &&
        (Seen(reading, "--involute-points") || Seen(reading, "--fillet-points"))) {
        return Problem("--tolerance: give either the tolerance or the point counts");
    }
    for (const CliOption& option : CliOptions()) {
        if (option.excludes && Seen(reading, option.name) && Seen(reading, option.excludes)) {
            return Problem(std::string(option.excludes) + " and " + option.name +
                           ": give one or the other");
        }
    }
    return Done{};
}

// The first required option not given, in the order of their names (so the message does not
// depend on the order of the table).
CliTaken MissingOption(const Reading& reading) {
    const std::vector<CliOption>& table = CliOptions();
    const char* missing = nullptr;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const bool absent = table[i].need == CliNeed::Required && !reading.seen[i];
        if (absent && Belongs(table[i], reading.request.job) &&
            (missing == nullptr || std::strcmp(table[i].name, missing) < 0)) {
            missing = table[i].name;
        }
    }
    if (missing != nullptr) {
        return Problem(std::string(missing) + ": missing");
    }
    return Done{};
}

CliParse Accepted(const CliRequest& request) {
    return request;
}

CliParse Refused(const std::string& error) {
    return CliParse::Failure(error);
}

CliParse AcceptedJob(CliJob job) {
    CliRequest request;
    request.job = job;
    return Accepted(request);
}

// --- The usage text. ---

// "--module M", "--report[=json]": an option as the synopsis shows it, without brackets.
std::string SynopsisWord(const CliOption& option) {
    const std::string gap = option.value.bare != nullptr ? "" : " ";
    return option.name + gap + option.value.shown;
}

// One command's synopsis: its options in table order, the optional ones in brackets, an option
// and the one it excludes as one choice, wrapped under the command.
std::string Synopsis(CliJob job, const char* command) {
    const std::vector<CliOption>& table = CliOptions();
    const std::string indent(std::strlen(kUsageIndent) + std::strlen(kProgram) + 1, ' ');
    std::string text;
    std::string line = std::string(kUsageIndent) + kProgram + " " + command;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!Belongs(table[i], job)) {
            continue;
        }
        std::string word = SynopsisWord(table[i]);
        const CliOption* other = i + 1 < table.size() ? &table[i + 1] : nullptr;
        if (other && other->excludes && std::strcmp(other->excludes, table[i].name) == 0) {
            word = "[" + word + " | " + SynopsisWord(*other) + "]";
            ++i;
        } else if (table[i].need == CliNeed::Optional) {
            word = "[" + word + "]";
        }
        if (line.size() + 1 + word.size() > kUsageWidth) {
            text += line + "\n";
            line = indent + word;
        } else {
            line += " " + word;
        }
    }
    return text + line + "\n";
}

// The option list: rows that follow each other with the same help share one entry; names too
// long for the name column share a wider one, so their help lines still align with each other.
std::string OptionList() {
    std::vector<std::pair<std::string, std::string>> entries;  // names, help
    for (const CliOption& option : CliOptions()) {
        if (!entries.empty() && entries.back().second == option.help) {
            entries.back().first += std::string(", ") + option.name;
        } else {
            entries.emplace_back(option.name, option.help);
        }
    }
    std::size_t wide = kNameColumn;
    for (const auto& entry : entries) {
        wide = std::max(wide, entry.first.size() + kNameGap);
    }
    std::string text;
    for (const auto& [names, help] : entries) {
        const std::size_t column = names.size() + kNameGap <= kNameColumn ? kNameColumn : wide;
        const std::string helpIndent = "\n" + std::string(std::strlen(kUsageIndent) + column, ' ');
        text += kUsageIndent + names + std::string(column - names.size(), ' ');
        for (const char ch : help) {
            text += ch == '\n' ? helpIndent : std::string(1, ch);
        }
        text += "\n";
    }
    return text;
}

}  // namespace

const std::vector<CliOption>& CliOptions() {
    static const std::vector<CliOption> table = MakeOptions();
    return table;
}

std::optional<double> ParseStrictNumber(const std::string& text) {
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
        return std::nullopt;
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
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    double value = 0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string CliUsage() {
    return "Usage:\n" + Synopsis(CliJob::Pair, "pair") + Synopsis(CliJob::Spline, "spline") +
           kUsageIndent + kProgram + " --from FILE.tarvo.json -o FILE [--report[=json]]\n" +
           kUsageIndent + kProgram +
           " --help | --version\n"
           "\n"
           "Writes the DXF drawing of a gear pair in mesh or of one member of an involute\n"
           "spline joint, the same bytes as the Tarvo window writes for the same data.\n"
           "\n" +
           OptionList() +
           "\n"
           "--from draws the data of a calculation saved by the window (*.tarvo.json) or of a\n"
           "--report=json report; its \"input\" object holds the options above by name.\n"
           "Numbers take \".\" or \",\" as the decimal separator (\".\" inside --rack-custom).\n"
           "Exit status: " +
           std::to_string(kCliWritten) + " written (also with warnings in the report), " +
           std::to_string(kCliNotDrawn) + " the drawing cannot be\nmade or written, " +
           std::to_string(kCliBadUsage) + " bad arguments.\n";
}

CliParse ParseCliArgs(const std::vector<std::string>& args) {
    if (args.empty()) {
        return Refused("no command given (pair or spline); see --help");
    }
    const std::string& command = args[0];
    if (IsHelp(command) || command == "help") {
        return AcceptedJob(CliJob::Help);
    }
    if (command == "--version") {
        return AcceptedJob(CliJob::Version);
    }
    if (command != "pair" && command != "spline") {
        return Refused("unknown command '" + command + "' (pair or spline); see --help");
    }
    CliRequest request;
    request.job = command == "pair" ? CliJob::Pair : CliJob::Spline;
    Reading reading(args, request);
    while (reading.next < args.size()) {
        const CliTaken taken = ReadOption(reading);
        if (reading.help) {
            return AcceptedJob(CliJob::Help);
        }
        if (!taken.ok()) {
            return Refused(taken.fault());
        }
    }
    for (const CliTaken& check :
         {CheckCombinations(reading), MissingOption(reading), CheckStep(request)}) {
        if (!check.ok()) {
            return Refused(check.fault());
        }
    }
    return Accepted(request);
}

}  // namespace tarvo
