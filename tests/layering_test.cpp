// The folders stand in layers: each may include only itself and the folders it is allowed to
// use, and only the window includes Qt. Reads every #include of every source file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace tarvo {
namespace {

const std::map<std::string, std::set<std::string>> kMayUse = {
    {"math", {"math"}},
    {"profile", {"math", "profile"}},
    {"drawing", {"math", "profile", "drawing"}},
    {"app", {"math", "profile", "drawing", "app"}},
    {"report", {"math", "profile", "drawing", "report"}},
    {"cli", {"math", "profile", "drawing", "app", "report", "cli"}},
    {"ui", {"math", "profile", "drawing", "app", "report", "ui"}},
};

TEST(Layering, NoFolderIncludesOneAboveIt) {
    const std::regex ownInclude(R"(^\s*#\s*include\s+"([a-z_]+)/)");
    const std::regex qtInclude(R"(^\s*#\s*include\s+<Q)");
    int filesRead = 0;
    for (const auto& [folder, allowed] : kMayUse) {
        const std::filesystem::path root = std::filesystem::path(TARVO_SOURCE_DIR) / folder;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") {
                continue;
            }
            ++filesRead;
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number) {
                std::smatch match;
                const std::string where = entry.path().string() + ":" + std::to_string(number);
                if (std::regex_search(line, match, ownInclude) && kMayUse.count(match[1]) > 0) {
                    EXPECT_EQ(allowed.count(match[1]), 1u) << where << " includes " << match[1]
                                                           << "/, which " << folder
                                                           << "/ may not use";
                }
                if (folder != "ui") {
                    EXPECT_FALSE(std::regex_search(line, qtInclude)) << where << " includes Qt";
                }
            }
        }
    }
    EXPECT_GT(filesRead, 50);
}

// Words the user reads are written above drawing/: below it faults are enum values. A line of
// code (not a comment) holding Cyrillic letters in math/, profile/ or drawing/ is a stray.
TEST(Layering, NoUserTextBelowTheApplication) {
    for (const char* folder : {"math", "profile", "drawing"}) {
        const std::filesystem::path root = std::filesystem::path(TARVO_SOURCE_DIR) / folder;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number) {
                const std::string code = line.substr(0, line.find("//"));
                // UTF-8 Cyrillic letters start with the byte 0xD0 or 0xD1.
                const bool cyrillic = code.find('\xD0') != std::string::npos ||
                                      code.find('\xD1') != std::string::npos;
                EXPECT_FALSE(cyrillic) << entry.path().string() << ":" << number << ": " << line;
            }
        }
    }
}

}  // namespace
}  // namespace tarvo
