// Paths in a double-byte code page, where the second byte of a character can be 0x5C, the
// backslash's value: "ソ" (0x83 0x5C), "表" (0x95 0x5C) and "能" (0x94 0x5C) in code page 932.
#include "install/BlobWriter.h"
#include "install/Targets.h"
#include "platform/AnsiPath.h"
#include "platform/FolderPicker.h"
#include "platform/Text.h"
#include "support/Windows1252.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT kJapanese = 932;

// The test's names are written as Unicode and turned into the code page's bytes (InCodePage).
const wchar_t* const kTrailBackslashNames[] = {L"ソ", L"表", L"能", L"PureBasic ソ"};

TEST(AnsiPath, TheCodePagesTrapIsReal) {
    const std::string so = InCodePage(kJapanese, L"ソ");
    ASSERT_EQ(so, "\x83\x5C");
}

TEST(AnsiPath, ASecondByteIsNeverASeparator) {
    for (const wchar_t* name : kTrailBackslashNames) {
        SCOPED_TRACE(testing::Message() << "name of " << wcslen(name) << " characters");
        const std::string folder = InCodePage(kJapanese, std::wstring(L"C:\\Program Files\\") + name);
        EXPECT_FALSE(ansi_path::EndsWithSeparator(folder, kJapanese));
        EXPECT_EQ(ansi_path::WithSeparator(folder, kJapanese), folder + "\\");
        EXPECT_EQ(ansi_path::WithSeparator(folder + "\\", kJapanese), folder + "\\");
        EXPECT_EQ(ansi_path::WithoutSeparator(folder, kJapanese), folder);
        EXPECT_EQ(ansi_path::WithoutSeparator(folder + "\\", kJapanese), folder);
        EXPECT_EQ(ansi_path::LastSeparator(folder, kJapanese), sizeof "C:\\Program Files" - 1);
        EXPECT_EQ(ansi_path::LastCharacter(folder, kJapanese), folder.size() - 2);
    }
}

TEST(AnsiPath, CharactersAreCountedAndCutWhole) {
    const std::string so = InCodePage(kJapanese, L"ソ");
    std::string path = "C:\\";
    for (int i = 0; i < 300; ++i) path += so;
    EXPECT_EQ(ansi_path::Characters(path, kJapanese), 303u);
    const std::string first = ansi_path::FirstCharacters(path, 259, kJapanese);
    EXPECT_EQ(first.size(), 3u + 2u * 256u);
    EXPECT_EQ(ansi_path::Characters(first, kJapanese), 259u);
    EXPECT_EQ(ansi_path::FirstCharacters("C:\\abc", 259, kJapanese), "C:\\abc");
    EXPECT_EQ(ansi_path::FirstCharacters("C:\\abc", 4, kJapanese), "C:\\a");
}

TEST(AnsiPath, WesternCodePageReadsEveryByteAsOneCharacter) {
    const std::string folder = "C:\\Jeux\\\xE9t\xE9";
    EXPECT_EQ(ansi_path::WithSeparator(folder, 1252), folder + "\\");
    EXPECT_EQ(ansi_path::Characters(folder, 1252), folder.size());
    EXPECT_EQ(ansi_path::FirstCharacters(folder, 9, 1252), "C:\\Jeux\\\xE9");
}

// The program's own path rules, on a system whose ANSI code page is 932. The suite runs under a
// Japanese locale as a test of its own; elsewhere it has nothing to check.
class JapaneseSystem : public testing::Test {
protected:
    void SetUp() override {
        if (GetACP() != kJapanese) GTEST_SKIP() << "the system's code page is " << GetACP();
    }
};

TEST_F(JapaneseSystem, ProposalChosenFolderAndTargetsKeepTheNamesWhole) {
    for (const wchar_t* name : kTrailBackslashNames) {
        SCOPED_TRACE(testing::Message() << "name of " << wcslen(name) << " characters");
        const std::string folder = InCodePage(CP_ACP, std::wstring(L"C:\\PureBasic\\") + name);

        // The proposal: the recorded folder with its one backslash, and the browser's start.
        EXPECT_EQ(gui::BrowserStartFolder(folder + "\\"), folder);
        EXPECT_EQ(gui::BrowserStartFolder(folder), folder);

        // The chosen folder gets its separator, once.
        const std::string chosen = gui::FolderWithSeparator(folder);
        EXPECT_EQ(chosen, folder + "\\");
        EXPECT_EQ(gui::FolderWithSeparator(chosen), chosen);

        // The targets below it, as the system reads them back.
        EXPECT_EQ(text::FromAnsi(TargetPath(chosen, kLibraryRelativePath)),
                  std::wstring(L"C:\\PureBasic\\") + name + L"\\PureLibraries\\UserLibraries\\Lib_tarvo4");
        EXPECT_EQ(text::FromAnsi(TargetPath(chosen, kHelpRelativePath)),
                  std::wstring(L"C:\\PureBasic\\") + name + L"\\Help\\tarvo_lib.chm");
    }
}

TEST_F(JapaneseSystem, TemporaryNamesAndLengthLimitsCountWholeCharacters) {
    const std::wstring folder = L"C:\\PureBasic ソ\\Help\\";
    for (const wchar_t* name : kTrailBackslashNames) {
        const std::string target = InCodePage(CP_ACP, folder + name);
        const std::wstring temporary = text::FromAnsi(TemporaryPathFor(target));
        const std::wstring wideName = name;
        EXPECT_EQ(temporary, folder + wideName.substr(0, wideName.size() - 1) + L"~");
    }
    // 259 double-byte characters are 518 bytes, and still a path the system takes.
    const std::wstring character = L"表";
    std::wstring longest = L"C:\\";
    while (longest.size() < kLongestPath) longest += character;
    EXPECT_FALSE(PathTooLong(InCodePage(CP_ACP, longest)));
    EXPECT_TRUE(PathTooLong(InCodePage(CP_ACP, longest + character)));
    EXPECT_FALSE(TooLongToWrite(InCodePage(CP_ACP, longest)));
}

TEST_F(JapaneseSystem, ALongProposalIsCutAtAWholeCharacter) {
    std::wstring wide = L"C:\\";
    for (int i = 0; i < 300; ++i) wide += L"表";
    const std::string start = gui::BrowserStartFolder(InCodePage(CP_ACP, wide));
    EXPECT_EQ(text::FromAnsi(start), wide.substr(0, 259));
}

TEST_F(JapaneseSystem, ChosenPathsInTheSystemsScriptConvertBothWays) {
    const std::wstring wide = L"C:\\PureBasic ソ\\表";
    std::optional<std::string> narrow = text::ToAnsi(wide);
    ASSERT_TRUE(narrow.has_value());
    EXPECT_EQ(text::FromAnsi(*narrow), wide);
    EXPECT_FALSE(text::ToAnsi(L"C:\\\xD55C").has_value()) << "a Hangul syllable has no place in code page 932";
}

}  // namespace
