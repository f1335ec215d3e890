#include "platform/FolderPicker.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct PathCase {
    const char* name;
    std::string given;
    std::string expected;
};

// The browser is asked to select the proposal; it finds "C:\PureBasic" but not "C:\PureBasic\",
// and a drive root only as "D:\".
TEST(FolderPickerTest, BrowserStartsAtTheProposalWithoutItsTrailingBackslash) {
    const std::string long259 = "C:\\" + std::string(256, 'p');
    const std::string endsAt259 = "C:\\" + std::string(255, 'p') + "\\";  // 259 characters
    const PathCase cases[] = {
        {"a folder loses its trailing backslash", "C:\\PureBasic\\", "C:\\PureBasic"},
        {"only one backslash goes", "C:\\PureBasic\\\\", "C:\\PureBasic\\"},
        {"a folder without one is left alone", "C:\\PureBasic", "C:\\PureBasic"},
        {"a drive root keeps its backslash", "D:\\", "D:\\"},
        {"three characters are never trimmed", "ab\\", "ab\\"},
        {"four are", "abc\\", "abc"},
        {"a failed lookup's backslash stays", "\\", "\\"},
        {"nothing stays nothing", "", ""},
        {"259 characters are kept whole", long259, long259},
        {"the 260th character and on are dropped", long259 + "qrs", long259},
        {"a backslash left last by the cut goes too", endsAt259 + "rest", endsAt259.substr(0, 258)},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(gui::BrowserStartFolder(c.given), c.expected) << c.name;
    }
}

// File names are appended to the chosen folder as they are.
TEST(FolderPickerTest, ChosenFolderEndsWithOneBackslash) {
    const PathCase cases[] = {
        {"a folder gets one", "C:\\PureBasic", "C:\\PureBasic\\"},
        {"a drive root has one already", "D:\\", "D:\\"},
        {"a network share gets one", "\\\\server\\share", "\\\\server\\share\\"},
        {"a folder whose name ends with a dot gets one", "C:\\PB.", "C:\\PB.\\"},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(gui::FolderWithSeparator(c.given), c.expected) << c.name;
    }
}

}  // namespace
