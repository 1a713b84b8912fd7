// tarvo-cli and stored calculations: a request as the input object a calculation file and a
// JSON report carry, and "--from FILE" read back into the command line it stands for. The keys
// are the option names without their dashes, so every option of the table is an entry.
#pragma once

#include <string>
#include <vector>

#include "app/calculation.h"
#include "cli/cli_args.h"
#include "math/outcome.h"

namespace tarvo {

// The drawing's data of a request: "command" ("pair" or "spline"), then every option of that
// command in the table's order with the value the request holds, defaults included; the output
// and the report are not part of it.
Calculation CalculationOf(const CliRequest& request);

// The command line a calculation stands for: the command, then "--key value" for each entry,
// then `rest` (the options given after "--from FILE"). What is wrong with the file names it
// and the entry at fault.
using CliArgsRead = Outcome<std::vector<std::string>, std::string>;
CliArgsRead ArgsOfCalculation(const std::string& path, const std::vector<std::string>& rest);

}  // namespace tarvo
