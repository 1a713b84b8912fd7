// File helpers for the tests: a temporary folder per test, whole files, drawings made by tarvo-cli.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/cli_run.h"

namespace tarvo::testing {

// A folder of its own for one test, removed afterwards.
class TempFolder {
  public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("tarvo-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                 std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// The words of a command line, split at blanks.
inline std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// tarvo-cli run in the test's process: its exit status, standard output and error stream.
struct CliRun {
    int status;
    std::string out, err;
};
inline CliRun RunCli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = CliMain(args, out, err);
    return {status, out.str(), err.str()};
}
inline CliRun RunCli(const std::string& line) {
    return RunCli(Words(line));
}

// Runs tarvo-cli with the words of `line` and "-o path": empty when it wrote it, else what it said.
inline std::string DrawWithCli(const std::string& line, const std::string& path) {
    const CliRun run = RunCli(line + " -o " + path);
    return run.status == 0 ? std::string() : "refused: " + run.err;
}

}  // namespace tarvo::testing
