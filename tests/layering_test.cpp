// The folders stand in layers: each may include only itself and the folders it is allowed to
// use, and only the window includes Qt. Reads every #include of every source file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
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

// What an #include line names: the folder of a quoted "folder/file.h" (empty for a quoted file
// without a folder), or "<" followed by the header of an angled include; empty for other lines.
std::string Included(const std::string& line) {
    const std::size_t hash = line.find_first_not_of(" \t");
    if (hash == std::string::npos || line.compare(hash, 1, "#") != 0) {
        return {};
    }
    const std::size_t word = line.find_first_not_of(" \t", hash + 1);
    if (word == std::string::npos || line.compare(word, 7, "include") != 0) {
        return {};
    }
    const std::size_t open = line.find_first_of("\"<", word + 7);
    if (open == std::string::npos) {
        return {};
    }
    if (line[open] == '<') {
        return line.substr(open);
    }
    const std::size_t slash = line.find('/', open);
    const std::size_t close = line.find('"', open + 1);
    return slash != std::string::npos && slash < close ? line.substr(open + 1, slash - open - 1)
                                                        : std::string();
}

TEST(Layering, NoFolderIncludesOneAboveIt) {
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
                const std::string included = Included(line);
                const std::string where = entry.path().string() + ":" + std::to_string(number);
                if (kMayUse.count(included) > 0) {
                    EXPECT_EQ(allowed.count(included), 1u) << where << " includes " << included
                                                           << "/, which " << folder
                                                           << "/ may not use";
                }
                if (folder != "ui") {
                    EXPECT_NE(included.rfind("<Q", 0), 0u) << where << " includes Qt";
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
