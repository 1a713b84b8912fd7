// The folders stand in layers: each may include only itself and the folders it is allowed to
// use, and only the window includes Qt. Reads every #include of every source file.
#include <gtest/gtest.h>

#include <cctype>
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
    {"solid", {"math", "profile", "solid"}},
    {"cli", {"math", "profile", "drawing", "app", "report", "solid", "cli"}},
    {"ui", {"math", "profile", "drawing", "app", "report", "solid", "ui"}},
};

// What an #include line names: the folder of a quoted "folder/file.h" (empty for a quoted file
// without a folder), or "<" followed by the header of an angled include; empty for other lines.
std::string Included(const std::string& line) {
    std::string text;  // the line without the blanks before the name it includes
    for (const char c : line) {
        if (!std::isspace(static_cast<unsigned char>(c)) || text.find_first_of("<\"") != text.npos)
            text += c;
    }
    if (text.rfind("#include<", 0) == 0)
        return text.substr(8);
    const std::size_t slash = text.find_first_of("\"/", 9);
    if (text.rfind("#include\"", 0) != 0 || slash == text.npos || text[slash] != '/')
        return {};
    return text.substr(9, slash - 9);
}

// Calls `check` with each line of each source file under the folder, and its place.
template <typename Check>
int EachLine(const std::string& folder, Check check) {
    int files = 0;
    const std::filesystem::path root = std::filesystem::path(TARVO_SOURCE_DIR) / folder;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".h" && ext != ".cpp")
            continue;
        ++files;
        std::ifstream in(entry.path());
        int number = 0;
        for (std::string line; std::getline(in, line);) {
            check(line, entry.path().string() + ":" + std::to_string(++number));
        }
    }
    return files;
}

TEST(Layering, NoFolderIncludesOneAboveIt) {
    int filesRead = 0;
    for (const auto& [folder, allowed] : kMayUse) {
        filesRead += EachLine(folder, [&](const std::string& line, const std::string& where) {
            const std::string included = Included(line);
            EXPECT_TRUE(kMayUse.count(included) == 0 || allowed.count(included) == 1)
                << where << " includes " << included << "/, which " << folder << "/ may not use";
            EXPECT_TRUE(folder == "ui" || included.rfind("<Q", 0) != 0) << where << " includes Qt";
        });
    }
    EXPECT_GT(filesRead, 50);
}

// Words the user reads are written above drawing/: below it faults are enum values. A line of
// code (not a comment) holding Cyrillic letters in math/, profile/ or drawing/ is a stray.
TEST(Layering, NoUserTextBelowTheApplication) {
    for (const char* folder : {"math", "profile", "drawing"}) {
        EachLine(folder, [](const std::string& line, const std::string& where) {
            const std::string code = line.substr(0, line.find("//"));
            // UTF-8 Cyrillic letters start with the byte 0xD0 or 0xD1.
            EXPECT_EQ(code.find_first_of("\xD0\xD1"), std::string::npos) << where << ": " << line;
        });
    }
}

}  // namespace
}  // namespace tarvo
