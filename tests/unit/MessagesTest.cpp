#include "install/Messages.h"

#include "platform/ErrorText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// MessageBoxA reads its texts in the ANSI code page: a text whose "é" was compiled as UTF-8
// would show "Ã©". No text the installer can show holds a UTF-8 sequence, and the accents are
// there as single Windows-1252 bytes.
TEST(MessagesTest, EveryTextTheUserCanSeeIsWindows1252) {
    std::vector<std::string> texts = {kFolderPrompt, kDoneCaption,  kInstallDone,   kUninstallDone,
                                      kDamagedCaption, kDamagedText, kFolderCaption, kNotOnDiskText,
                                      kNotAnsiText,  kNoBrowserText};
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
    for (const std::string& text : texts) {
        for (size_t i = 0; i + 1 < text.size(); ++i) {
            const auto lead = static_cast<unsigned char>(text[i]), next = static_cast<unsigned char>(text[i + 1]);
            EXPECT_FALSE((lead == 0xC2 || lead == 0xC3) && next >= 0x80 && next <= 0xBF) << "UTF-8 in: " << text;
        }
        for (char c : text) accents += c == '\xE9' || c == '\xE8' || c == '\xE0';
    }
    EXPECT_GT(accents, 20u) << "the texts are French, with their accents";
}

TEST(MessagesTest, SystemErrorsAreExplainedInTheSystemsWordsWithAdvice) {
    const std::string folder = "C:\\PB\\";
    const std::string text = DescribeProblem(Action::Install, folder, "Help\\tarvo_lib.chm",
                                             {FileProblem::Kind::System, ERROR_SHARING_VIOLATION});
    EXPECT_NE(text.find("\xAB C:\\PB\\Help\\tarvo_lib.chm \xBB"), std::string::npos) << text;
    EXPECT_NE(text.find(SystemErrorText(ERROR_SHARING_VIOLATION)), std::string::npos) << text;
    EXPECT_NE(text.find("fermez PureBasic"), std::string::npos) << text;
    EXPECT_NE(text.find("L'ancien fichier"), std::string::npos) << text;
}

TEST(MessagesTest, MissingSubfolderSaysTheFolderIsNoCompilerInstallation) {
    const std::string text = DescribeProblem(Action::Install, "D:\\Jeux\\", "PureLibraries\\UserLibraries\\Lib_tarvo4",
                                             {FileProblem::Kind::MissingFolder});
    EXPECT_NE(text.find("\xAB D:\\Jeux\\PureLibraries\\UserLibraries \xBB n'existe pas"), std::string::npos) << text;
    EXPECT_NE(NotACompilerFolder(Action::Install, "D:\\Jeux\\")
                  .find("\xAB D:\\Jeux\\ \xBB ne ressemble pas \xE0 une installation de PureBasic"),
              std::string::npos);
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
    std::string text = SystemErrorText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), '\r');
}

}  // namespace
