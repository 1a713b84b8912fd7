// The command line of tarvo-cli: the same data as the window's pages, read strictly, so a
// script that makes parts gets the very drawing the window would write.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/basic_rack.h"

namespace tarvo {

enum class CliJob { Help, Version, Pair, Spline };

// What tarvo-cli prints after writing: the path alone, or the path and the data sheet as text,
// or the data sheet as one JSON object that holds the path.
enum class CliReport { None, Text, Json };

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

    std::int32_t involutePoints = 6;
    std::int32_t filletPoints = 3;
    std::string output;
    CliReport report = CliReport::None;
};

struct CliParse {
    bool ok = false;
    CliRequest request;
    std::string error;  // names the option at fault
};

// Reads the arguments after the program name. Numbers must be whole arguments ("." or "," as
// the decimal separator); counts must be whole numbers; every value is range-checked.
CliParse ParseCliArgs(const std::vector<std::string>& args);

std::string CliUsage();

// A whole-argument number: optional sign, digits with at most one decimal point or comma, an
// optional exponent, nothing else. False for anything else or a value beyond a double.
bool ParseStrictNumber(const std::string& text, double& value);

}  // namespace tarvo
