// The command line of tarvo-cli: the same data as the window's pages, read strictly, so a
// script that makes parts gets the very drawing the window would write.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/basic_rack.h"
#include "app/calculation.h"
#include "app/startup.h"
#include "app/table_input.h"
#include "math/outcome.h"

namespace tarvo {

enum class CliJob { Help, Version, Pair, Spline };

// What tarvo-cli prints after writing beside the path: the data sheet as text, or the data
// sheet as one JSON object that holds the path. A request without one prints the path alone.
enum class CliReport { Text, Json };

struct CliRequest {
    CliJob job = CliJob::Help;

    // Gear pair.
    bool internal = false;
    double module = 0;
    std::int32_t z1 = 0;
    std::int32_t z2 = 0;
    double helix = 0;  // degrees
    double x1 = 0;
    double x2 = 0;
    double backlash = 0;  // normal backlash, mm
    const RackRow* row = &kDefaultRackRow;
    bool customRack = false;
    std::array<std::string, 5> customTexts;  // alpha, ha*, hf*, c*, rf* as typed

    // Spline.
    SplineStandard standard = SplineStandard::Gost6033;
    bool hub = false;
    std::int32_t teeth = 0;
    double shift = 0;  // mm

    std::int32_t involutePoints = kDefaultAccEv;
    std::int32_t filletPoints = kDefaultAccPer;
    bool cutFillet = false;  // external roots as the cutting rack generates them
    double tolerance = 0;    // above 0: chord tolerance in mm, which places the points instead
    std::string output;
    std::optional<CliReport> report;  // none: the path alone
    double roller = 0;  // measuring roller diameter for the data sheet, mm; 0: the sheet chooses
    Hand hand = Hand::Right;              // hand of wheel 1's tooth line (helical pairs)
    std::optional<std::string> accuracy;  // accuracy designation for the parameter table
    std::optional<std::string> table;     // the parameter table's own DXF file, if asked for

    // The 3-D model beside the drawing: its file (if asked for), face width b and, for internal
    // teeth, the rim's outside diameter (0: the root diameter plus 6 m).
    std::optional<std::string> step;
    double faceWidth = 0;
    double rim = 0;
};

// The request, or what is wrong with the command line, naming the option at fault.
using CliParse = Outcome<CliRequest, std::string>;

// The commands an option belongs to.
enum class CliCommands { Pair, Spline, Both };

// Whether a command line without the option is refused.
enum class CliNeed { Required, Optional };

// An option's value taken into the request, or what is wrong with it.
using CliTaken = Outcome<Done, std::string>;

// Takes an option's value into the request, or says what is wrong with it.
using CliValueParser = std::function<CliTaken(const std::string& value, CliRequest& request)>;

// The value a request holds for an option, as a calculation's entry stores it (its key left
// empty for the caller); nothing for an option that is not part of the drawing's data (the
// output, the report) or that the request leaves unset.
using CliValueEcho = std::function<std::optional<CalcEntry>(const CliRequest& request)>;

// What an option's value looks like and how it is read.
struct CliValue {
    std::string shown;  // in the usage line: "M", "external|internal"; "[=json]" for a switch
    CliValueParser parse;
    // A switch (an option that takes its value only after "="): the value it has when given
    // bare, as "--report" means "--report=text". Null for an option that needs a value.
    const char* bare = nullptr;
    // Set by the value kinds (numbers, counts, words, rack rows) for a stored calculation.
    CliValueEcho echo = nullptr;
};

// One row of tarvo-cli's option table: the parser reads it, and the usage text is written
// from it, so adding an option is adding a row.
struct CliOption {
    const char* name = nullptr;   // "--module"
    const char* alias = nullptr;  // another spelling of the same option ("--output" for "-o")
    CliCommands commands = CliCommands::Both;
    CliNeed need = CliNeed::Optional;
    const char* excludes = nullptr;  // an option that may not be given with this one; put it
                                     // in the row just above, so the synopsis shows "[A | B]"
    CliValue value;
    std::string help;  // the usage text's line(s), "\n" between them; neighbouring rows
                       // with the same help share one entry ("--z1, --z2")
};

// The options in the order the usage text lists them.
const std::vector<CliOption>& CliOptions();

// Reads the arguments after the program name. Numbers must be whole arguments ("." or "," as
// the decimal separator); counts must be whole numbers; every value is range-checked.
CliParse ParseCliArgs(const std::vector<std::string>& args);

// The synopsis of both commands and the option list, written from the option table.
std::string CliUsage();

// A whole-argument number: optional sign, digits with at most one decimal point or comma, an
// optional exponent, nothing else. Nothing for anything else or a value beyond a double.
std::optional<double> ParseStrictNumber(const std::string& text);

}  // namespace tarvo
