// Calculation files on the command line.
#include "cli/cli_calculation.h"

#include <fstream>
#include <sstream>

namespace tarvo {

namespace {

// The key of an option in a calculation: its name without the leading dashes.
std::string KeyOf(const char* name) {
    std::string key = name;
    return key.substr(key.find_first_not_of('-'));
}

// Whether a command takes the option (the table's own rule, with the spline standard's: an OST
// spline is not shifted, so it has no shift entry).
bool Takes(const CliOption& option, const CliRequest& request) {
    const bool pair = request.job == CliJob::Pair;
    switch (option.commands) {
        case CliCommands::Pair:
            return pair;
        case CliCommands::Spline:
            return !pair && !(request.standard == SplineStandard::Ost100086 &&
                              std::string(option.name) == "--shift");
        case CliCommands::Both:
            return true;
    }
    return false;
}

const CliOption* OptionOfKey(const std::string& key, CliJob job) {
    for (const CliOption& option : CliOptions()) {
        const bool belongs = option.commands == CliCommands::Both ||
                             (option.commands == CliCommands::Pair) == (job == CliJob::Pair);
        if (belongs && KeyOf(option.name) == key) {
            return &option;
        }
    }
    return nullptr;
}

}  // namespace

Calculation CalculationOf(const CliRequest& request) {
    Calculation calculation;
    calculation.Add("command", request.job == CliJob::Spline ? "spline" : "pair", true);
    for (const CliOption& option : CliOptions()) {
        if (!option.value.echo || !Takes(option, request)) {
            continue;
        }
        const std::string key = KeyOf(option.name);
        // With a tolerance the points follow from it; the counts would be refused beside it.
        if (request.tolerance > 0 && (key == "involute-points" || key == "fillet-points")) {
            continue;
        }
        if (std::optional<CalcEntry> entry = option.value.echo(request)) {
            calculation.Add(key, entry->value, entry->quoted);
        }
    }
    return calculation;
}

CliArgsRead ArgsOfCalculation(const std::string& path, const std::vector<std::string>& rest) {
    const std::string where = "--from " + path + ": ";
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return CliArgsRead::Failure(where + "файл не открывается");
    }
    std::ostringstream text;
    text << file.rdbuf();
    const CalculationRead read = ReadCalculation(text.str());
    if (!read.ok()) {
        return CliArgsRead::Failure(where + read.fault());
    }
    const Calculation& calculation = read.value();
    const CalcEntry* command = calculation.Find("command");
    if (command == nullptr || !command->quoted ||
        (command->value != "pair" && command->value != "spline")) {
        return CliArgsRead::Failure(
            where + "параметр «command» должен быть строкой \"pair\" или \"spline\"");
    }
    const CliJob job = command->value == "pair" ? CliJob::Pair : CliJob::Spline;
    std::vector<std::string> args{command->value};
    for (const CalcEntry& entry : calculation.entries) {
        if (&entry == command) {
            continue;
        }
        const CliOption* option = OptionOfKey(entry.key, job);
        if (option == nullptr || !option->value.echo) {
            return CliArgsRead::Failure(where + "неизвестный параметр «" + entry.key +
                                        "» для команды " + command->value);
        }
        // Each value read on its own first, so the message names the entry of the file.
        CliRequest scratch;
        scratch.job = job;
        if (const CliTaken taken = option->value.parse(entry.value, scratch); !taken.ok()) {
            return CliArgsRead::Failure(where + "параметр «" + entry.key + "»: " + taken.fault());
        }
        args.push_back(option->name);
        args.push_back(entry.value);
    }
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
}

}  // namespace tarvo
