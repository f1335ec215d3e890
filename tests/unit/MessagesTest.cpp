#include "install/Messages.h"

#include "platform/ErrorText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The completion texts are shown by MessageBoxA, so their bytes are Windows-1252.
TEST(MessagesTest, CompletionTextsAreWindows1252BytesAsUsersKnowThem) {
    EXPECT_EQ(std::string(kInstallDone), std::string("l'installation est termin\xE9"));
    EXPECT_EQ(std::string(kUninstallDone), std::string(" desinstallation termin\xE9"));
    EXPECT_EQ(std::strlen(kInstallDone), 26u);
    EXPECT_EQ(std::string(kDoneCaption), "ok !");
    EXPECT_EQ(std::string(kFolderPrompt), "Purebasic se trouve bien ici ?");
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
