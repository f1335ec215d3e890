#include "install/Messages.h"

#include "platform/ErrorText.h"
#include "support/Windows1252.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The texts are stored as Windows-1252 bytes and widened from 1252: a text whose "é" was
// compiled as UTF-8 would read "Ã©". No text the installer can show holds such a pair, and the
// accents are there.
TEST(MessagesTest, EveryTextTheUserCanSeeReadsAsFrench) {
    std::vector<std::wstring> texts;
    for (const char* text : {kFolderPrompt, kDoneCaption, kInstallDone, kUninstallDone, kDamagedCaption, kDamagedText,
                             kFolderCaption, kNotOnDiskText, kNotAnsiText, kNoBrowserText}) {
        texts.push_back(UserText(text));
    }
    const FileProblem problems[] = {{FileProblem::Kind::MissingFolder},
                                    {FileProblem::Kind::PathTooLong},
                                    {FileProblem::Kind::TargetIsFolder},
                                    {FileProblem::Kind::System, ERROR_SHARING_VIOLATION},
                                    {FileProblem::Kind::System, ERROR_ACCESS_DENIED},
                                    {FileProblem::Kind::System, ERROR_DISK_FULL},
                                    {FileProblem::Kind::System, ERROR_WRITE_PROTECT},
                                    {FileProblem::Kind::System, ERROR_CRC}};
    for (Action action : {Action::Install, Action::Uninstall}) {
        texts.push_back(FailureCaption(action));
        texts.push_back(FailureHeading(action));
        texts.push_back(NotACompilerFolder(action, "C:\\PB\\"));
        for (const FileProblem& problem : problems) {
            texts.push_back(DescribeProblem(action, "C:\\PB\\", "Help\\tarvo_lib.chm", problem));
        }
    }
    size_t accents = 0;
    for (const std::wstring& text : texts) {
        EXPECT_EQ(text.find_first_of(L"ÃÂ"), std::wstring::npos) << "UTF-8 read as 1252 in: " << InWindows1252(text);
        for (wchar_t c : text) accents += c == L'é' || c == L'è' || c == L'à';
    }
    EXPECT_GT(accents, 20u) << "the texts are French, with their accents";
    EXPECT_EQ(UserText(kInstallDone), L"l'installation est terminé");
}

TEST(MessagesTest, SystemErrorsAreExplainedInTheSystemsWordsWithAdvice) {
    const std::string folder = "C:\\PB\\";
    const std::wstring text = DescribeProblem(Action::Install, folder, "Help\\tarvo_lib.chm",
                                              {FileProblem::Kind::System, ERROR_SHARING_VIOLATION});
    EXPECT_NE(text.find(L"« C:\\PB\\Help\\tarvo_lib.chm »"), std::wstring::npos) << InWindows1252(text);
    EXPECT_NE(text.find(SystemErrorText(ERROR_SHARING_VIOLATION)), std::wstring::npos) << InWindows1252(text);
    EXPECT_NE(text.find(L"fermez PureBasic"), std::wstring::npos) << InWindows1252(text);
    EXPECT_NE(text.find(L"L'ancien fichier"), std::wstring::npos) << InWindows1252(text);
}

TEST(MessagesTest, AnErrorTheSystemHasNoWordsForIsGivenByItsCode) {
    const std::wstring text = DescribeProblem(Action::Install, "C:\\PB\\", "Help\\tarvo_lib.chm",
                                              {FileProblem::Kind::System, 0x2000FFFF});
    EXPECT_NE(text.find(L"Raison : erreur 536936447 (code 536936447)"), std::wstring::npos) << InWindows1252(text);
}

TEST(MessagesTest, MissingSubfolderSaysTheFolderIsNoCompilerInstallation) {
    const std::wstring text = DescribeProblem(Action::Install, "D:\\Jeux\\", "PureLibraries\\UserLibraries\\Lib_tarvo4",
                                              {FileProblem::Kind::MissingFolder});
    EXPECT_NE(text.find(L"« D:\\Jeux\\PureLibraries\\UserLibraries » n'existe pas"), std::wstring::npos)
        << InWindows1252(text);
    EXPECT_NE(NotACompilerFolder(Action::Install, "D:\\Jeux\\")
                  .find(L"« D:\\Jeux\\ » ne ressemble pas à une installation de PureBasic"),
              std::wstring::npos);
}

TEST(MessagesTest, OnlyProblemsThatMayPassOfferRetry) {
    EXPECT_TRUE(RetryCanHelp({FileProblem::Kind::System, ERROR_SHARING_VIOLATION}));
    EXPECT_TRUE(RetryCanHelp({FileProblem::Kind::System, ERROR_ACCESS_DENIED}));
    EXPECT_TRUE(RetryCanHelp({FileProblem::Kind::System, ERROR_DISK_FULL}));
    EXPECT_FALSE(RetryCanHelp({FileProblem::Kind::System, ERROR_PATH_NOT_FOUND}));
    EXPECT_FALSE(RetryCanHelp({FileProblem::Kind::MissingFolder}));
    EXPECT_FALSE(RetryCanHelp({FileProblem::Kind::PathTooLong}));
}

TEST(MessagesTest, ErrorTextHasNoTrailingLineBreak) {
    std::wstring text = SystemErrorText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L'\r');
}

}  // namespace
