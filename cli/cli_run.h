// Carrying out a tarvo-cli request with the same builders, rack rows and custom rack rules as
// the window, so that both write the same bytes for the same data.
#pragma once

#include <ostream>

#include "cli/cli_args.h"

namespace tarvo {

// Exit statuses of tarvo-cli.
constexpr int kCliWritten = 0;
constexpr int kCliNotDrawn = 1;  // the geometry is impossible or the file could not be written
constexpr int kCliBadUsage = 2;  // bad or out-of-range arguments

// Runs a parsed request: prints the path written (and, with --report, the data sheet of the
// drawing, made as it was written from each number as its text reads back) to `out` and exits
// 0, or prints the reason to
// `err` and returns 1 (drawing refused or file not written) or 2 (a custom rack refused).
int RunCli(const CliRequest& request, std::ostream& out, std::ostream& err);

// Parses and runs; what main() calls.
int CliMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tarvo
