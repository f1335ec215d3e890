// Installs and uninstalls through the real installer's window, as a user would.
#include "support/BrowserWarmUp.h"
#include "support/CompilerFolder.h"
#include "support/Processes.h"

#include "platform/Text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

const std::vector<unsigned char> kLibraryPayload = ReadBytes(TARVO_LIBRARY_PAYLOAD_PATH);
const std::vector<unsigned char> kHelpPayload = ReadBytes(TARVO_HELP_PAYLOAD_PATH);

std::wstring Joined(const std::vector<std::wstring>& names) {
    std::wstring text;
    for (const std::wstring& name : names) text += name + L" ";
    return text;
}

class InstallerSession : public testing::Test {
protected:
    // Presses a button, confirms `folder` in the browser and returns the message box shown.
    MessageBoxContent Run(InstallerProcess& app, int button, const std::string& folder) {
        PostMessageA(app.Control(button), BM_CLICK, 0, 0);
        HWND browser = app.WaitForBrowser();
        EXPECT_NE(browser, nullptr);
        if (!browser) return {};
        EXPECT_EQ(ShownText(GetDlgItem(browser, 14146)), L"Purebasic se trouve bien ici ?");
        app.ChooseFolder(browser, folder);
        return DismissMessage(app);
    }
    MessageBoxContent DismissMessage(InstallerProcess& app) {
        HWND box = app.WaitForMessageBox();
        EXPECT_NE(box, nullptr) << "a message box";
        if (!box) return {};
        MessageBoxContent content = ReadMessageBox(box);
        app.Dismiss(box, IDOK);
        return content;
    }
};

TEST_F(InstallerSession, InstallsBothFilesIntoTheConfirmedFolder) {
    CompilerFolder pb;
    RecordedCompiler recorded(pb.Path());
    InstallerProcess app;
    ASSERT_NE(app.MainWindow(), nullptr);

    // A cancelled browser keeps the proposal, so a browser that missed it is asked again.
    std::vector<std::wstring> seen;
    HWND browser = app.OpenBrowser(1, [&](HWND browser) { return app.WaitForSelection(browser, pb.Leaf()); }, &seen);
    ASSERT_NE(browser, nullptr) << "the recorded folder is proposed; seen: " << InWindows1252(Joined(seen));
    app.ChooseFolder(browser, pb.Path());
    MessageBoxContent shown = DismissMessage(app);

    EXPECT_EQ(shown.caption, L"ok !");
    EXPECT_EQ(shown.text, L"l'installation est terminé");
    EXPECT_EQ(ReadBytes(pb.Library()), kLibraryPayload);
    EXPECT_EQ(ReadBytes(pb.Help()), kHelpPayload);

    // A second install over the first, the user having hidden the help file meanwhile.
    ASSERT_TRUE(SetFileAttributesA(pb.Help().c_str(), FILE_ATTRIBUTE_HIDDEN));
    shown = Run(app, 1, pb.Path());
    EXPECT_EQ(shown.text, L"l'installation est terminé");
    EXPECT_EQ(ReadBytes(pb.Library()), kLibraryPayload);
    EXPECT_EQ(ReadBytes(pb.Help()), kHelpPayload);
    EXPECT_TRUE(GetFileAttributesA(pb.Help().c_str()) & FILE_ATTRIBUTE_HIDDEN) << "the help file stays hidden";
    EXPECT_EQ(FolderEntries(pb / "Help\\"), std::vector<std::string>{"tarvo_lib.chm"});

    // The shell, loaded by the first browse and kept for the next ones, goes at exit after COM.
    PostMessageA(app.MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0u);
}

TEST_F(InstallerSession, UninstallRemovesBothFilesAndKeepsTheFolders) {
    CompilerFolder pb;
    WriteBytes(pb.Library(), "installed before");
    WriteBytes(pb.Help(), "installed before");
    InstallerProcess app;
    ASSERT_NE(app.MainWindow(), nullptr);
    MessageBoxContent shown = Run(app, 2, pb.Path());
    EXPECT_EQ(shown.caption, L"ok !");
    EXPECT_EQ(shown.text, L" desinstallation terminé");
    EXPECT_FALSE(FileExists(pb.Library()));
    EXPECT_FALSE(FileExists(pb.Help()));
    EXPECT_TRUE(FolderExists(pb / "PureLibraries\\UserLibraries"));
    EXPECT_TRUE(FolderExists(pb / "Help"));
}

TEST_F(InstallerSession, MissingHelpFolderIsReportedAndNotCalledDone) {
    CompilerFolder pb({.help = false});
    InstallerProcess app;
    ASSERT_NE(app.MainWindow(), nullptr);
    MessageBoxContent shown = Run(app, 1, pb.Path());
    EXPECT_EQ(ReadBytes(pb.Library()), kLibraryPayload);
    EXPECT_FALSE(FolderExists(pb / "Help"));
    EXPECT_EQ(shown.caption, L"Installation incomplète");
    EXPECT_NE(shown.text.find(L"ne ressemble pas à une installation de PureBasic"), std::wstring::npos)
        << InWindows1252(shown.text);
}

// The user picked a folder that is not the compiler's: nothing there to remove, and the library
// is still installed where the compiler is. The user must hear it.
TEST_F(InstallerSession, UninstallInAFolderThatIsNoPureBasicInstallationSaysSo) {
    TempFolder elsewhere;
    WriteBytes(elsewhere / "notes.txt", "the user's own");
    InstallerProcess app;
    ASSERT_NE(app.MainWindow(), nullptr);
    MessageBoxContent shown = Run(app, 2, elsewhere.Path().substr(0, elsewhere.Path().size() - 1));
    EXPECT_EQ(shown.caption, L"Désinstallation incomplète");
    EXPECT_NE(shown.text.find(L"ne ressemble pas à une installation de PureBasic : relancez la désinstallation"),
              std::wstring::npos)
        << InWindows1252(shown.text);
    EXPECT_EQ(FolderEntries(elsewhere.Path()), std::vector<std::string>{"notes.txt"});
}

TEST_F(InstallerSession, CancelWritesNothingAnywhere) {
    CompilerFolder pb;
    TempFolder current;  // the installer's current folder, laid out like a compiler's too
    MakeFolders(current / "PureLibraries\\UserLibraries");
    MakeFolders(current / "Help");
    InstallerProcess app(InstallerPath(), current.Path());
    ASSERT_NE(app.MainWindow(), nullptr);

    for (int button : {1, 2}) {
        PostMessageA(app.Control(button), BM_CLICK, 0, 0);
        HWND browser = app.WaitForBrowser();
        ASSERT_NE(browser, nullptr);
        app.Dismiss(browser, IDCANCEL);
        Sleep(1000);
        EXPECT_EQ(app.FindMessageBox(), nullptr) << "no message after a cancel";
    }
    EXPECT_TRUE(FolderEntries(current / "PureLibraries\\UserLibraries\\").empty());
    EXPECT_TRUE(FolderEntries(current / "Help\\").empty());
    EXPECT_TRUE(FolderEntries(pb / "Help\\").empty());
}

TEST_F(InstallerSession, NextPickerProposesTheFolderChosenBefore) {
    CompilerFolder first;
    InstallerProcess app;
    ASSERT_NE(app.MainWindow(), nullptr);
    Run(app, 1, first.Path());
    HWND browser = app.OpenBrowser(2, [&](HWND browser) { return app.WaitForSelection(browser, first.Leaf()); });
    ASSERT_NE(browser, nullptr) << "the folder chosen before is proposed";
    app.Dismiss(browser, IDCANCEL);
}

// A folder name in the system's own script: the first of these that its ANSI code page holds.
// Each Japanese one ends in a character whose second byte is 0x5C, the backslash's value.
std::string NameInTheSystemsScript() {
    for (const wchar_t* name : {L"PureBasic ソ", L"PureBasic Жёлтый", L"PureBasic été"}) {
        if (std::optional<std::string> ansi = text::ToAnsi(name)) return *ansi;
    }
    return "PureBasic";
}

TEST_F(InstallerSession, ReadsInFrenchAndInstallsIntoAFolderNamedInTheSystemsScript) {
    const std::string name = NameInTheSystemsScript();
    CompilerFolder pb({}, name);
    CompilerFolder noHelp({.help = false}, name);
    InstallerProcess app;
    ASSERT_NE(app.MainWindow(), nullptr);
    EXPECT_EQ(ShownText(app.MainWindow()), L"By Quelnar");
    EXPECT_EQ(ShownText(app.Control(1)), L"Install Tarvo lib");
    EXPECT_EQ(ShownText(app.Control(2)), L"Desinstall Tarvo lib");

    MessageBoxContent shown = Run(app, 1, pb.Path());  // also checks the browser's prompt
    EXPECT_EQ(shown.caption, L"ok !");
    EXPECT_EQ(shown.text, L"l'installation est terminé");
    EXPECT_EQ(ReadBytes(pb.Library()), kLibraryPayload);
    EXPECT_EQ(ReadBytes(pb.Help()), kHelpPayload);

    shown = Run(app, 2, pb.Path());
    EXPECT_EQ(shown.text, L" desinstallation terminé");
    EXPECT_FALSE(FileExists(pb.Library()));
    EXPECT_FALSE(FileExists(pb.Help()));

    // A message that names folders shows them as the system spells them.
    shown = Run(app, 1, noHelp.Path());
    EXPECT_EQ(shown.caption, L"Installation incomplète");
    const std::wstring folder = text::FromAnsi(noHelp.Path());
    EXPECT_NE(shown.text.find(L"« " + folder + L"\\Help » n'existe pas"), std::wstring::npos)
        << InWindows1252(shown.text);
    EXPECT_NE(shown.text.find(L"Le dossier « " + folder + L"\\ » ne ressemble pas"), std::wstring::npos)
        << InWindows1252(shown.text);
}

}  // namespace
