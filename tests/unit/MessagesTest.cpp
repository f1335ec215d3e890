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

// Each paragraph names the file, says why it was not done and what to do.
TEST(MessagesTest, EachProblemIsExplainedWithWhatToDo) {
    using Kind = FileProblem::Kind;
    const std::string library = "PureLibraries\\UserLibraries\\Lib_tarvo4";
    const std::string help = "Help\\tarvo_lib.chm";
    const struct {
        const char* name;
        Action action;
        std::string relativePath;
        FileProblem problem;
        std::vector<std::wstring> said;
    } cases[] = {
        {"a file in use: the system's words, the advice, the old file kept", Action::Install, help,
         {Kind::System, ERROR_SHARING_VIOLATION},
         {L"« C:\\PB\\Help\\tarvo_lib.chm »", SystemErrorText(ERROR_SHARING_VIOLATION), L"fermez PureBasic",
          L"L'ancien fichier"}},
        {"a lock is a file in use too", Action::Uninstall, help, {Kind::System, ERROR_LOCK_VIOLATION},
         {L"n'a pas été supprimé", L"fermez PureBasic"}},
        {"access refused: rights", Action::Install, library, {Kind::System, ERROR_ACCESS_DENIED},
         {L"lecture seule", L"administrateur"}},
        {"a full disk", Action::Install, library, {Kind::System, ERROR_HANDLE_DISK_FULL}, {L"Le disque est plein"}},
        {"a protected disk", Action::Install, library, {Kind::System, ERROR_WRITE_PROTECT},
         {L"protégé en écriture"}},
        {"any other error: check the folder and install again", Action::Install, library,
         {Kind::System, ERROR_CRC}, {L"Vérifiez le dossier choisi, puis relancez l'installation."}},
        {"any other error: check the folder and uninstall again", Action::Uninstall, library,
         {Kind::System, ERROR_NOT_READY}, {L"Vérifiez le dossier choisi, puis relancez la désinstallation."}},
        {"an error the system has no words for is given by its code", Action::Install, help,
         {Kind::System, 0x2000FFFF}, {L"Raison : erreur 536936447 (code 536936447)"}},
        {"a missing subfolder is named", Action::Install, library, {Kind::MissingFolder},
         {L"« C:\\PB\\PureLibraries\\UserLibraries » n'existe pas"}},
        {"a path too long for Windows", Action::Install, library, {Kind::PathTooLong},
         {L"son chemin est trop long pour Windows (plus de 259 caractères)"}},
        {"a folder where the file goes", Action::Install, library, {Kind::TargetIsFolder},
         {L"un dossier porte déjà ce nom"}},
    };
    for (const auto& c : cases) {
        const std::wstring text = DescribeProblem(c.action, "C:\\PB\\", c.relativePath, c.problem);
        for (const std::wstring& part : c.said) {
            EXPECT_NE(text.find(part), std::wstring::npos) << c.name << ": " << InWindows1252(text);
        }
    }
}

TEST(MessagesTest, AFolderWithoutTheSubfoldersIsCalledNoCompilerInstallation) {
    EXPECT_NE(NotACompilerFolder(Action::Install, "D:\\Jeux\\")
                  .find(L"« D:\\Jeux\\ » ne ressemble pas à une installation de PureBasic"),
              std::wstring::npos);
}

TEST(MessagesTest, ErrorTextHasNoTrailingLineBreak) {
    std::wstring text = SystemErrorText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L'\r');
}

}  // namespace
