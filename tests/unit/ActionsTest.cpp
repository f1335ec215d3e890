#include "install/Actions.h"

#include "install/BlobWriter.h"
#include "install/Messages.h"
#include "support/CompilerFolder.h"
#include "support/NoSystemSha256.h"
#include "support/TempFolder.h"
#include "support/Windows1252.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Outcome = gui::FolderChoice::Outcome;
using ActionFunction = void (*)(std::string&, std::span<const PayloadFile>, ActionUi&);

const std::string kLibrary = "ERUP sample library bytes" + std::string(5000, 'L');
const std::string kHelp = "ITSF sample help bytes" + std::string(3000, 'H');

Blob BlobOf(const std::string& bytes) {
    auto start = reinterpret_cast<const unsigned char*>(bytes.data());
    return {start, start + bytes.size()};
}

std::vector<PayloadFile> Payloads() {
    return {
        {"PureLibraries\\UserLibraries\\Lib_tarvo4", BlobOf(kLibrary), *Sha256(BlobOf(kLibrary).start, kLibrary.size())},
        {"Help\\tarvo_lib.chm", BlobOf(kHelp), *Sha256(BlobOf(kHelp).start, kHelp.size())},
    };
}

std::string Text(const std::vector<unsigned char>& bytes) { return std::string(bytes.begin(), bytes.end()); }

struct Shown {
    std::string caption;
    std::string text;
    UINT flags;
};

gui::FolderChoice Chosen(const std::string& folder) { return {Outcome::Chosen, folder}; }

// Plays the user: answers the picker and the message boxes from scripts, and keeps a record.
struct FakeUser final : ActionUi {
    std::deque<gui::FolderChoice> choices;
    std::deque<int> answers;  // buttons pressed in message boxes; IDOK when the script is empty
    std::vector<std::string> proposals;
    std::vector<Shown> shown;
    std::function<void()> onMessage;  // runs while a message box is "open"

    gui::FolderChoice PickFolder(const std::string& prompt, const std::string& proposal) override {
        EXPECT_EQ(prompt, "Purebasic se trouve bien ici ?");
        proposals.push_back(proposal);
        gui::FolderChoice choice = choices.empty() ? gui::FolderChoice{} : choices.front();
        if (!choices.empty()) choices.pop_front();
        return choice;
    }
    int ShowMessage(const std::wstring& caption, const std::wstring& text, UINT flags) override {
        // Kept in the program's own encoding, to compare with its texts.
        shown.push_back({InWindows1252(caption), InWindows1252(text), flags});
        if (onMessage) onMessage();
        if (answers.empty()) return IDOK;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // Runs `action` once, as at start-up with nothing recorded (the proposal is "\").
    void Run(ActionFunction action, std::span<const PayloadFile> files) {
        std::string installFolder = "\\";
        action(installFolder, files, *this);
    }
    void Run(ActionFunction action) { Run(action, Payloads()); }
};

// A user who confirms `folder` in the picker and answers the message boxes with `answers`.
FakeUser Confirming(const std::string& folder, std::deque<int> answers = {}) {
    FakeUser user;
    user.choices = {Chosen(folder)};
    user.answers = std::move(answers);
    return user;
}

// The process's current folder is `folder` until the owner goes, then what it was before: where
// a relative path would land.
class CurrentFolderScope {
public:
    explicit CurrentFolderScope(const std::string& folder) {
        char previous[MAX_PATH] = {};
        DWORD length = GetCurrentDirectoryA(MAX_PATH, previous);
        previous_.assign(previous, length < MAX_PATH ? length : 0);
        SetCurrentDirectoryA(folder.c_str());
    }
    ~CurrentFolderScope() {
        if (!previous_.empty()) SetCurrentDirectoryA(previous_.c_str());
    }
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    std::string previous_;
};

void ExpectOnlyMessage(const FakeUser& user, const char* caption, const char* text) {
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].caption, caption);
    EXPECT_EQ(user.shown[0].text, text);
    EXPECT_EQ(user.shown[0].flags, static_cast<UINT>(MB_OK));
}

TEST(InstallTest, WritesBothFilesAndSaysSo) {
    CompilerFolder pb;
    FakeUser user;
    user.choices = {Chosen(pb.Folder())};
    std::string installFolder = "C:\\Proposed\\";
    InstallLibrary(installFolder, Payloads(), user);

    EXPECT_EQ(user.proposals, std::vector<std::string>{"C:\\Proposed\\"});
    EXPECT_EQ(installFolder, pb.Folder());
    EXPECT_EQ(Text(ReadBytes(pb.Library())), kLibrary);
    EXPECT_EQ(Text(ReadBytes(pb.Help())), kHelp);
    ExpectOnlyMessage(user, "ok !", "l'installation est termin\xE9");
}

TEST(InstallTest, OverExistingFilesLeavesExactlyThePayloads) {
    CompilerFolder pb;
    WriteBytes(pb.Library(), std::string(200000, 'o'));
    WriteBytes(pb.Help(), std::string(90000, 'o'));
    FakeUser user = Confirming(pb.Folder());
    user.Run(InstallLibrary);
    EXPECT_EQ(Text(ReadBytes(pb.Library())), kLibrary);
    EXPECT_EQ(Text(ReadBytes(pb.Help())), kHelp);
}

TEST(InstallTest, CancelWritesNothingAnywhereAndKeepsTheProposal) {
    TempFolder current;
    CurrentFolderScope inCurrent(current.Path());
    MakeFolders(current / "PureLibraries\\UserLibraries");  // the trap a relative path would fall into
    MakeFolders(current / "Help");

    FakeUser user;
    user.choices = {{Outcome::Cancelled, ""}};
    std::string installFolder = "C:\\PureBasic\\";
    InstallLibrary(installFolder, Payloads(), user);

    EXPECT_EQ(installFolder, "C:\\PureBasic\\");
    EXPECT_TRUE(user.shown.empty());
    EXPECT_TRUE(FolderEntries(current / "PureLibraries\\UserLibraries\\").empty());
    EXPECT_TRUE(FolderEntries(current / "Help\\").empty());
}

TEST(InstallTest, MissingHelpFolderWritesTheLibraryAndReportsTheRest) {
    CompilerFolder pb({.help = false});
    FakeUser user = Confirming(pb.Folder());
    user.Run(InstallLibrary);

    EXPECT_EQ(Text(ReadBytes(pb.Library())), kLibrary);
    EXPECT_FALSE(FolderExists(pb / "Help"));
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_NE(user.shown[0].text.find("Help\\tarvo_lib.chm"), std::string::npos);
    EXPECT_NE(user.shown[0].text.find("ne ressemble pas \xE0 une installation de PureBasic"), std::string::npos);
    EXPECT_EQ(user.shown[0].text.find("termin\xE9\n"), std::string::npos);
    EXPECT_NE(user.shown[0].caption, "ok !");
}

// Leftovers of an install cut short, under this version's temporary name or an earlier one's,
// would be found by the compiler as stray libraries.
TEST(InstallTest, LeavesNoLeftoverOfAnInterruptedInstallBeside) {
    CompilerFolder pb;
    for (const std::string& leftover : LeftoverPathsFor(pb.Library())) WriteBytes(leftover, "half a library");
    FakeUser user = Confirming(pb.Folder());
    user.Run(InstallLibrary);

    EXPECT_EQ(FolderEntries(pb / "PureLibraries\\UserLibraries\\"), std::vector<std::string>{"Lib_tarvo4"});
    EXPECT_EQ(Text(ReadBytes(pb.Library())), kLibrary);
    ExpectOnlyMessage(user, "ok !", "l'installation est termin\xE9");
}

TEST(InstallTest, DamagedPayloadWritesNothingAndSaysTheInstallerIsDamaged) {
    CompilerFolder pb;
    auto payloads = Payloads();
    payloads[1].digest[0] ^= 1;  // as if one byte of the help file had changed since the build
    FakeUser user = Confirming(pb.Folder());
    user.Run(InstallLibrary, payloads);

    EXPECT_FALSE(FileExists(pb.Library()));
    EXPECT_FALSE(FileExists(pb.Help()));
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].caption, kDamagedCaption);
    EXPECT_NE(user.shown[0].text.find("T\xE9l\xE9" "chargez"), std::string::npos);
    EXPECT_EQ(user.shown[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

// The system computes the digests; where it can't (no provider registered for SHA-256), the
// files can't be checked, and unchecked files are not written.
TEST(InstallTest, PayloadsTheSystemCannotCheckAreNotWritten) {
    CompilerFolder pb;
    const auto payloads = Payloads();
    FakeUser user = Confirming(pb.Folder());
    {
        NoSystemSha256 noSha256;
        ASSERT_TRUE(noSha256.Active());
        user.Run(InstallLibrary, payloads);
    }

    EXPECT_FALSE(FileExists(pb.Library()));
    EXPECT_FALSE(FileExists(pb.Help()));
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].caption, kUncheckedCaption);
    EXPECT_EQ(user.shown[0].text, kUncheckedText);
    EXPECT_EQ(user.shown[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(user.proposals.empty());  // nothing asked before the check
}

TEST(InstallTest, FileInUseOffersRetryAndRetrySucceedsOnceItIsFreed) {
    CompilerFolder pb;
    WriteBytes(pb.Library(), "old");
    UniqueFile holder = HoldOpen(pb.Library());
    ASSERT_TRUE(holder);
    FakeUser user = Confirming(pb.Folder(), {IDRETRY});
    user.onMessage = [&] { holder.reset(); };  // the user closes the other program, then retries
    user.Run(InstallLibrary);

    ASSERT_EQ(user.shown.size(), 2u);
    EXPECT_EQ(user.shown[0].flags, static_cast<UINT>(MB_RETRYCANCEL | MB_ICONERROR));
    EXPECT_NE(user.shown[0].text.find(pb.Library()), std::string::npos);
    EXPECT_EQ(user.shown[1].text, "l'installation est termin\xE9");
    EXPECT_EQ(Text(ReadBytes(pb.Library())), kLibrary);
}

TEST(InstallTest, CancelledRetryKeepsTheOldFileAndReportsIt) {
    CompilerFolder pb;
    WriteBytes(pb.Library(), "old");
    UniqueFile holder = HoldOpen(pb.Library());
    FakeUser user = Confirming(pb.Folder(), {IDCANCEL});
    user.Run(InstallLibrary);
    holder.reset();

    EXPECT_EQ(Text(ReadBytes(pb.Library())), "old");
    EXPECT_EQ(Text(ReadBytes(pb.Help())), kHelp);
    ASSERT_EQ(user.shown.size(), 2u);
    EXPECT_EQ(user.shown[1].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_NE(user.shown[1].text.find("Lib_tarvo4"), std::string::npos);
    EXPECT_EQ(user.shown[1].text.find("tarvo_lib.chm"), std::string::npos);
    EXPECT_EQ(FolderEntries(pb / "PureLibraries\\UserLibraries\\"), std::vector<std::string>{"Lib_tarvo4"});
}

// A virus scanner or the search indexer holds a freshly written file for a moment.
TEST(InstallTest, FileHeldForAMomentIsReplacedWithoutAQuestion) {
    CompilerFolder pb;
    WriteBytes(pb.Library(), "old");
    UniqueFile holder = HoldOpen(pb.Library());
    ASSERT_TRUE(holder);
    std::thread scanner([&holder] {
        Sleep(300);
        holder.reset();
    });
    FakeUser user = Confirming(pb.Folder());
    user.Run(InstallLibrary);
    scanner.join();

    ExpectOnlyMessage(user, "ok !", "l'installation est termin\xE9");
    EXPECT_EQ(Text(ReadBytes(pb.Library())), kLibrary);
}

// The library's path is the longer one: at 259 characters it is written, at 260 the message
// says so, and it says the truth.
TEST(InstallTest, LibraryPathOfTheLongestLengthIsWrittenOneMoreIsExplained) {
    const std::string library = "PureLibraries\\UserLibraries\\Lib_tarvo4";
    for (size_t length : {250u, 259u, 260u}) {
        TempFolder base;
        const std::string folder = MakeFolderOfLength(base.Path(), length - library.size());
        MakeFolders(folder + "PureLibraries\\UserLibraries");
        MakeFolders(folder + "Help");
        ASSERT_EQ((folder + library).size(), length);
        FakeUser user = Confirming(folder);
        user.Run(InstallLibrary);

        EXPECT_EQ(Text(ReadBytes(folder + "Help\\tarvo_lib.chm")), kHelp) << length;
        ASSERT_EQ(user.shown.size(), 1u) << length;
        if (length <= 259) {
            EXPECT_EQ(user.shown[0].text, "l'installation est termin\xE9") << length;
            EXPECT_EQ(Text(ReadBytes(folder + library)), kLibrary) << length;
        } else {
            EXPECT_NE(user.shown[0].text.find(folder + library + " \xBB n'a pas \xE9t\xE9 install\xE9 : son chemin est trop "
                                                                 "long pour Windows (plus de 259 caract\xE8res)"),
                      std::string::npos)
                << user.shown[0].text;
            EXPECT_EQ(FolderEntries(folder + "PureLibraries\\UserLibraries\\"), std::vector<std::string>{}) << length;
        }
    }
}

TEST(InstallTest, ChoicesThatAreNoFolderEndTheActionWithAMessage) {
    for (Outcome outcome : {Outcome::NotOnDisk, Outcome::NotAnsi, Outcome::Unavailable}) {
        FakeUser user;
        user.choices = {{outcome, ""}};
        std::string installFolder = "C:\\PureBasic\\";
        InstallLibrary(installFolder, Payloads(), user);
        EXPECT_EQ(installFolder, "C:\\PureBasic\\");
        ASSERT_EQ(user.shown.size(), 1u);
        EXPECT_EQ(user.shown[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_NE(user.shown[0].text.find("Aucun fichier n'a \xE9t\xE9 modifi\xE9"), std::string::npos);
    }
}

TEST(InstallTest, EachPickerProposesTheFolderChosenBefore) {
    CompilerFolder first, second;
    FakeUser user;
    user.choices = {Chosen(first.Folder()), {Outcome::Cancelled, ""}, Chosen(second.Folder())};
    std::string installFolder = "\\";
    InstallLibrary(installFolder, Payloads(), user);
    InstallLibrary(installFolder, Payloads(), user);
    InstallLibrary(installFolder, Payloads(), user);
    EXPECT_EQ(user.proposals,
              (std::vector<std::string>{"\\", first.Folder(), first.Folder()}));
    EXPECT_TRUE(FileExists(second.Library()));
}

TEST(UninstallTest, RemovesBothFilesAndKeepsTheFolders) {
    CompilerFolder pb;
    WriteBytes(pb.Library(), "lib");
    WriteBytes(pb.Help(), "help");
    WriteBytes(pb / "Help\\other.chm", "not ours");
    FakeUser user = Confirming(pb.Folder());
    user.Run(UninstallLibrary);

    EXPECT_FALSE(FileExists(pb.Library()));
    EXPECT_FALSE(FileExists(pb.Help()));
    EXPECT_TRUE(FolderExists(pb / "PureLibraries\\UserLibraries"));
    EXPECT_TRUE(FileExists(pb / "Help\\other.chm"));
    ExpectOnlyMessage(user, "ok !", " desinstallation termin\xE9");
}

TEST(UninstallTest, RemovesWhatAnInterruptedInstallLeftBeside) {
    CompilerFolder pb;
    WriteBytes(pb.Library(), "lib");
    for (const std::string& leftover : LeftoverPathsFor(pb.Library())) WriteBytes(leftover, "half a library");
    for (const std::string& leftover : LeftoverPathsFor(pb.Help())) {
        WriteBytes(leftover, "half a help file");  // the help file itself never landed
    }
    WriteBytes(pb / "Help\\tarvo_lib.chm.bak", "the user's own");
    FakeUser user = Confirming(pb.Folder());
    user.Run(UninstallLibrary);

    EXPECT_EQ(FolderEntries(pb / "PureLibraries\\UserLibraries\\"), std::vector<std::string>{});
    EXPECT_EQ(FolderEntries(pb / "Help\\"), std::vector<std::string>{"tarvo_lib.chm.bak"});
    ExpectOnlyMessage(user, "ok !", " desinstallation termin\xE9");
}

TEST(UninstallTest, NothingToRemoveIsStillDone) {
    CompilerFolder pb;
    FakeUser user = Confirming(pb.Folder());
    user.Run(UninstallLibrary);
    ExpectOnlyMessage(user, "ok !", " desinstallation termin\xE9");
}

// A folder with neither subfolder is plainly not the compiler's: the user picked the wrong one
// and the library is still installed elsewhere. One subfolder is enough for an installation
// whose other file is already gone.
TEST(UninstallTest, FolderThatIsNoCompilerInstallationIsCalledOut) {
    const struct {
        const char* name;
        Subfolders subfolders;
        bool done;
    } cases[] = {
        {"neither subfolder", {.libraries = false, .help = false}, false},
        {"only the help folder", {.libraries = false}, true},
        {"only the libraries folder", {.help = false}, true},
    };
    for (const auto& c : cases) {
        CompilerFolder pb(c.subfolders);
        FakeUser user = Confirming(pb.Folder());
        user.Run(UninstallLibrary);
        ASSERT_EQ(user.shown.size(), 1u) << c.name;
        if (c.done) {
            ExpectOnlyMessage(user, "ok !", " desinstallation termin\xE9");
            continue;
        }
        EXPECT_EQ(user.shown[0].caption, "D\xE9sinstallation incompl\xE8te") << c.name;
        EXPECT_EQ(user.shown[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR)) << c.name;
        EXPECT_NE(user.shown[0].text.find("\xAB " + pb.Folder() + " \xBB ne ressemble pas \xE0 une installation de "
                                          "PureBasic : relancez la d\xE9sinstallation"),
                  std::string::npos)
            << user.shown[0].text;
        EXPECT_EQ(user.shown[0].text.find("termin\xE9\n"), std::string::npos) << user.shown[0].text;
        EXPECT_EQ(FolderEntries(pb.Folder()), std::vector<std::string>{}) << c.name;
    }
}

TEST(UninstallTest, CancelDeletesNothing) {
    TempFolder current;
    CurrentFolderScope inCurrent(current.Path());
    MakeFolders(current / "PureLibraries\\UserLibraries");
    WriteBytes(current / "PureLibraries\\UserLibraries\\Lib_tarvo4", "someone else's");
    FakeUser user;  // who cancels the picker
    user.Run(UninstallLibrary);
    EXPECT_TRUE(FileExists(current / "PureLibraries\\UserLibraries\\Lib_tarvo4"));
    EXPECT_TRUE(user.shown.empty());
}

TEST(UninstallTest, FileThatCannotBeRemovedIsReportedAndTheOtherRemoved) {
    CompilerFolder pb;
    WriteBytes(pb.Library(), "lib");
    WriteBytes(pb.Help(), "help");
    UniqueFile holder = HoldOpen(pb.Library());
    FakeUser user = Confirming(pb.Folder(), {IDCANCEL});
    user.Run(UninstallLibrary);
    holder.reset();

    EXPECT_TRUE(FileExists(pb.Library()));
    EXPECT_FALSE(FileExists(pb.Help()));
    ASSERT_EQ(user.shown.size(), 2u);
    EXPECT_EQ(user.shown[0].flags, static_cast<UINT>(MB_RETRYCANCEL | MB_ICONERROR));
    EXPECT_EQ(user.shown[1].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_NE(user.shown[1].text.find("n'a pas \xE9t\xE9 supprim\xE9"), std::string::npos);
}

}  // namespace
