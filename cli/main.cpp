// tarvo-cli: writes the drawing of a gear pair or a spline member from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_run.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return tarvo::CliMain(args, std::cout, std::cerr);
}
