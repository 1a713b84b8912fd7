// A stored calculation: the data of one drawing (not the drawing) as a small JSON file,
// *.tarvo.json, that the window opens and tarvo-cli --from draws again. Its "input" object holds
// one entry per datum under tarvo-cli's option names ("module", "z1", "rack"), so each entry the
// window or the command line gains is one more key; tarvo-cli --report=json carries the same
// object, so a stored report opens and re-runs too.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "math/outcome.h"

namespace tarvo {

// The file's format name and the version this program writes and reads.
inline constexpr const char* kCalculationFormat = "tarvo-calculation";
inline constexpr int kCalculationVersion = 1;

// One entry of the input object: its key and its value as the option or box takes it. `quoted`
// values are JSON strings ("external", "25"); the others are numbers or true/false, written as
// they stand.
struct CalcEntry {
    std::string key;
    std::string value;
    bool quoted = false;
};

struct Calculation {
    std::vector<CalcEntry> entries;  // in the order written

    // The entry of `key`, or null.
    const CalcEntry* Find(std::string_view key) const;
    // Appends an entry (a key given twice keeps its first value).
    void Add(std::string key, std::string value, bool quoted);
};

// The input object on one line: {"command": "pair", "module": 2, ...}.
std::string CalculationObjectJson(const Calculation& calculation);

// The whole file: format, version and the input object, one entry a line.
std::string CalculationFileJson(const Calculation& calculation);

// Reads a calculation file or a tarvo-cli JSON report: its "input" object, whose values must be
// numbers, strings or true/false. Anything else is refused with a Russian sentence naming what
// is wrong (not JSON and where, no input object, a newer version, a value of the wrong kind).
using CalculationRead = Outcome<Calculation, std::string>;
CalculationRead ReadCalculation(std::string_view json);

// The shortest decimal text that reads back as exactly `v` ("0.1", "17", "1e-07"); a value read
// from it draws the very same bytes. v must be finite.
std::string ExactNumberText(double v);

// Whether `text` is a JSON number (optional minus, digits without a leading zero, optional
// fraction and exponent).
bool IsJsonNumber(std::string_view text);

}  // namespace tarvo
