// Faults of the file system met while a library file is written: each is tried on the real
// writer, and where the user sees it, once through the real window. Whatever happens, nothing
// is called a success that isn't one, the previous file survives every failure and no
// temporary file is left behind.
#include "install/BlobWriter.h"

#include "Session.h"
#include "platform/UniqueHandle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string kOld = "old library file, to be kept on failure " + std::string(4000, 'o');  // ~4 KiB
const std::string kNew = "ERUP new library " + std::string(100 * 1024, 'n');  // more than the full disk holds

std::string Text(const std::vector<unsigned char>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The folders the test runner mounted (fault-mounts): full\ and read-only\.
std::string FaultMounts() { return WindowsPath(TARVO_FAULT_MOUNTS_PATH) + "\\"; }

std::wstring Long(const std::string& path) { return L"\\\\?\\" + std::wstring(path.begin(), path.end()); }

// Every file below `folder` (ending with a backslash), however long its path, relative to it.
std::vector<std::string> FilesUnder(const std::string& folder) {
    std::vector<std::string> files;
    std::function<void(const std::wstring&, const std::string&)> walk = [&](const std::wstring& at,
                                                                            const std::string& relative) {
        WIN32_FIND_DATAW entry;
        UniqueFind find(FindFirstFileW((at + L"\\*").c_str(), &entry));
        if (!find) return;
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::string ansi = InCodePage(CP_ACP, name);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                walk(at + L"\\" + name, relative + ansi + "\\");
            } else {
                files.push_back(relative + ansi);
            }
        } while (FindNextFileW(find.get(), &entry));
    };
    walk(Long(folder.substr(0, folder.size() - 1)), "");
    std::sort(files.begin(), files.end());
    return files;
}

// Takes every byte the file system has left.
void FillUp(const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file) << path;
    const std::string chunk(512, 'f');
    DWORD written = 0;
    while (WriteFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr) && written) {
    }
}

// Another process to hold a file: a suspended copy of this test program, which never runs. A
// handle is moved into it, so the file stays open there as it would in PureBasic's compiler.
class OtherProcess {
public:
    OtherProcess() {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        started_ = StartProcess(self, "--gtest_list_tests", "", CREATE_SUSPENDED);
    }
    ~OtherProcess() {
        if (!started_.process) return;
        TerminateProcess(started_.process.get(), 0);
        WaitForSingleObject(started_.process.get(), 10000);
    }
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;

    // Moves what `owner` holds into the other process, which then holds it.
    template <typename Owner>
    bool Take(Owner owner) {
        return owner && started_.process && MoveHandleTo(started_.process.get(), owner.release());
    }

private:
    StartedProcess started_;
};

// Opens `path` with `share` and hands the handle to `other`.
bool HoldOpenIn(OtherProcess& other, const std::string& path, DWORD share) { return other.Take(HoldOpen(path, share)); }

// Maps `path` into `other`'s memory, as a running program maps its own files.
bool MapIn(OtherProcess& other, const std::string& path) {
    UniqueFile file = HoldOpen(path, FILE_SHARE_READ);
    return file && other.Take(UniqueHandle(CreateFileMappingA(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr)));
}

enum class Expect {
    Refused,   // an error, the old file kept
    Written,   // success, the new file in place
    Either,    // the system decides; whichever it is must be true
};

struct Scene {
    std::string target;
    std::vector<std::string> others;  // files that belong in the folder besides the target
};

struct WriterCase {
    const char* name;
    const char* parent;  // the mount it happens on ("" for the temporary folder)
    std::function<void(Scene&, OtherProcess&)> prepare;
    const std::string* blob;
    Expect expect;
    std::vector<DWORD> errors;  // when refused, the errors that explain it to the user
};

std::string Entries(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += name + " ";
    return text;
}

TEST(FileFaults, WriterKeepsTheOldFileAndLeavesNoTemporaryFile) {
    char temporary[MAX_PATH];
    GetTempPathA(MAX_PATH, temporary);
    const std::vector<DWORD> kFull = {ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL};
    const std::vector<DWORD> kInUse = {ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION};  // "fermez PureBasic"
    const WriterCase cases[] = {
        {"full disk: no room for the new file", "full\\",
         [](Scene& scene, OtherProcess&) { WriteBytes(scene.target, kOld); }, &kNew, Expect::Refused, kFull},
        {"full disk: no byte left at all", "full\\",
         [](Scene& scene, OtherProcess&) {
             WriteBytes(scene.target, kOld);
             std::string filler = scene.target.substr(0, scene.target.find_last_of('\\') + 1) + "filler";
             FillUp(filler);
             scene.others.push_back("filler");
         },
         &kOld, Expect::Refused, kFull},
        {"read-only file system", "read-only\\",
         [](Scene& scene, OtherProcess&) { scene.target = FaultMounts() + "read-only\\PureLibraries\\UserLibraries\\Lib_tarvo4"; },
         &kNew, Expect::Refused, {ERROR_WRITE_PROTECT, ERROR_ACCESS_DENIED}},
        {"held open by another process, shared with nobody", "",
         [](Scene& scene, OtherProcess& other) {
             WriteBytes(scene.target, kOld);
             ASSERT_TRUE(HoldOpenIn(other, scene.target, 0));
         },
         &kNew, Expect::Refused, kInUse},
        {"held open by another process, shared for reading and writing", "",
         [](Scene& scene, OtherProcess& other) {
             WriteBytes(scene.target, kOld);
             ASSERT_TRUE(HoldOpenIn(other, scene.target, FILE_SHARE_READ | FILE_SHARE_WRITE));
         },
         &kNew, Expect::Refused, kInUse},
        {"held open by another process that lets it be deleted", "",
         [](Scene& scene, OtherProcess& other) {
             WriteBytes(scene.target, kOld);
             ASSERT_TRUE(HoldOpenIn(other, scene.target, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
         },
         &kNew, Expect::Either, kInUse},
        // With no handle left open, nothing tells a mapped file from a protected one.
        {"mapped into another process's memory", "",
         [](Scene& scene, OtherProcess& other) {
             WriteBytes(scene.target, kOld);
             ASSERT_TRUE(MapIn(other, scene.target));
         },
         &kNew, Expect::Either, {ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, ERROR_ACCESS_DENIED}},
        // Windows ignores the attribute on folders (it marks customised ones); so does Wine for
        // root, whom the Unix permission it sets does not stop.
        {"the folder has the read-only attribute", "",
         [](Scene& scene, OtherProcess&) {
             WriteBytes(scene.target, kOld);
             std::string folder = scene.target.substr(0, scene.target.find_last_of('\\'));
             SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_READONLY);
         },
         &kNew, Expect::Written, {}},
        {"a temporary file left by an interrupted run", "",
         [](Scene& scene, OtherProcess&) {
             WriteBytes(scene.target, kOld);
             WriteBytes(TemporaryPathFor(scene.target), "half a library");
         },
         &kNew, Expect::Written, {}},
    };
    for (const WriterCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder(*c.parent ? FaultMounts() + c.parent : std::string(temporary));
        Scene scene{folder / "Lib_tarvo4", {}};
        OtherProcess other;
        c.prepare(scene, other);
        if (HasFatalFailure()) continue;
        const std::string before = Text(ReadBytes(scene.target));
        const std::string leaf = scene.target.substr(scene.target.find_last_of('\\') + 1);
        const std::string where = scene.target.substr(0, scene.target.size() - leaf.size());
        auto start = reinterpret_cast<const unsigned char*>(c.blob->data());

        const DWORD error = WriteBlobToFile(scene.target, start, start + c.blob->size());
        const std::string after = Text(ReadBytes(scene.target));
        RecordProperty(c.name, std::to_string(error));

        if (error == ERROR_SUCCESS) {
            EXPECT_NE(c.expect, Expect::Refused) << "reported as written";
            EXPECT_TRUE(after == *c.blob) << "success reported, but the file holds " << after.size() << " bytes";
        } else {
            EXPECT_NE(c.expect, Expect::Written) << "error " << error;
            EXPECT_TRUE(after == before) << "the old file was changed by a failed write";
            EXPECT_NE(std::find(c.errors.begin(), c.errors.end(), error), c.errors.end())
                << "error " << error << " does not say why";
        }
        std::vector<std::string> expected = scene.others;
        expected.push_back(leaf);
        std::vector<std::string> entries = FolderEntries(where);
        std::sort(entries.begin(), entries.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(entries, expected) << Entries(entries);
        SetFileAttributesA(where.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

void MakeCompilerLayout(const std::string& folder) {
    MakeFolders(folder + "PureLibraries\\UserLibraries");
    MakeFolders(folder + "Help");
}

// One message the user must see: one of `anyOf` in its text and none of `absent`, in a
// Retry / Cancel box or not.
struct ExpectedMessage {
    bool offersRetry;
    std::vector<std::string> anyOf;
    std::vector<std::string> absent = {};
};

// A fault as the user meets it: the folder they confirm, what they are told, what is left.
struct UserScene {
    FolderToChoose folder;
    std::function<void()> onRetryBox;  // what the user does before answering a Retry box
    int retryAnswer = IDCANCEL;
    std::function<void()> verify;  // the files afterwards
    std::function<void()> duringAction = {};  // what another program does meanwhile, on its own thread
};

struct UserCase {
    const char* name;
    int button;
    std::function<UserScene(const std::string& scratch)> prepare;  // given an empty folder
    const char* scratchParent;  // a fault mount, or "" for the temporary folder
    std::vector<ExpectedMessage> messages;
    const char* finalCaption;
};

// An old library in a compiler layout in `scratch`, held open by another program (`held`); its path.
std::string LayoutWithHeldLibrary(const std::string& scratch, UniqueFile& held) {
    MakeCompilerLayout(scratch);
    const std::string library = scratch + "PureLibraries\\UserLibraries\\Lib_tarvo4";
    WriteBytes(library, kOld);
    held = HoldOpen(library);
    EXPECT_TRUE(held);
    return library;
}

const std::string kUnfinished = "Installation incompl\xE8te";
const std::string kInUse = "utilis\xE9 par un autre programme";
const std::string kOldKept = "L'ancien fichier, s'il y en avait un, est rest\xE9 tel quel.";

TEST(FileFaults, UserIsToldWhatHappenedAndNothingIsLost) {
    ASSERT_EQ(GetACP(), 1252u) << "the non-ANSI case assumes Western European Windows";
    const auto library = ReadBytes(TARVO_LIBRARY_PAYLOAD_PATH);
    const auto help = ReadBytes(TARVO_HELP_PAYLOAD_PATH);
    UniqueFile held;  // the library as another program holds it
    char temporary[MAX_PATH];
    GetTempPathA(MAX_PATH, temporary);

    const UserCase cases[] = {
        {"full disk", 1,
         [](const std::string& scratch) {
             MakeCompilerLayout(scratch);
             WriteBytes(scratch + "PureLibraries\\UserLibraries\\Lib_tarvo4", kOld);
             FillUp(scratch + "filler");
             return UserScene{{scratch, {}}, {}, IDCANCEL, [scratch] {
                                  EXPECT_EQ(Text(ReadBytes(scratch + "PureLibraries\\UserLibraries\\Lib_tarvo4")), kOld);
                                  std::vector<std::string> files = FilesUnder(scratch);
                                  std::sort(files.begin(), files.end());
                                  EXPECT_EQ(files, (std::vector<std::string>{"PureLibraries\\UserLibraries\\Lib_tarvo4",
                                                                             "filler"}));
                              }};
         },
         "full\\",
         {{true, {"Le disque est plein"}}, {true, {"Le disque est plein"}}, {false, {kOldKept}}},
         kUnfinished.c_str()},
        {"read-only file system", 1,
         [](const std::string&) {
             std::string folder = FaultMounts() + "read-only\\";
             return UserScene{{folder, {}}, {}, IDCANCEL, [folder] {
                                  EXPECT_EQ(Text(ReadBytes(folder + "PureLibraries\\UserLibraries\\Lib_tarvo4")),
                                            "old library, kept");
                                  EXPECT_EQ(FilesUnder(folder),
                                            std::vector<std::string>{"PureLibraries\\UserLibraries\\Lib_tarvo4"});
                              }};
         },
         "",
         // Windows says "write-protected"; Wine turns the read-only mount into "access denied".
         {{true, {"prot\xE9g\xE9 en \xE9" "criture", "lecture seule"}}, {true, {"prot\xE9g\xE9 en \xE9" "criture", "lecture seule"}},
          {false, {kOldKept}}},
         kUnfinished.c_str()},
        {"library held open by another program, freed before Retry", 1,
         [&](const std::string& scratch) {
             const std::string target = LayoutWithHeldLibrary(scratch, held);
             return UserScene{{scratch, {}}, [&] { held.reset(); }, IDRETRY, [&, target] {
                                  EXPECT_EQ(ReadBytes(target), library);
                              }};
         },
         "",
         {{true, {kInUse}}, {false, {"l'installation est termin\xE9"}}},
         "ok !"},
        // A virus scanner or the search indexer: it lets go a moment after the installer first
        // tries to replace the file, when the temporary file is there.
        {"library held by another program for a moment", 1,
         [&](const std::string& scratch) {
             const std::string target = LayoutWithHeldLibrary(scratch, held);
             auto letGo = [&, target] {
                 const DWORD start = GetTickCount();
                 while (!FileExists(TemporaryPathFor(target)) && GetTickCount() - start < 30000) Sleep(2);
                 Sleep(300);
                 held.reset();
             };
             return UserScene{{scratch, {}}, {}, IDCANCEL, [&, scratch, target] {
                                  EXPECT_EQ(ReadBytes(target), library);
                                  EXPECT_EQ(FilesUnder(scratch), (std::vector<std::string>{
                                                                     "Help\\tarvo_lib.chm",
                                                                     "PureLibraries\\UserLibraries\\Lib_tarvo4"}));
                              },
                              letGo};
         },
         "",
         {{false, {"l'installation est termin\xE9"}}},
         "ok !"},
        {"library held open by another program while uninstalling", 2,
         [&](const std::string& scratch) {
             const std::string target = LayoutWithHeldLibrary(scratch, held);
             WriteBytes(scratch + "Help\\tarvo_lib.chm", "help");
             return UserScene{{scratch, {}}, {}, IDCANCEL, [&, scratch, target] {
                                  held.reset();
                                  EXPECT_EQ(Text(ReadBytes(target)), kOld);
                                  EXPECT_FALSE(FileExists(scratch + "Help\\tarvo_lib.chm"));
                              }};
         },
         "",
         {{true, {kInUse}}, {false, {"n'a pas \xE9t\xE9 supprim\xE9"}}},
         "D\xE9sinstallation incompl\xE8te"},
        {"path longer than Windows allows", 1,
         [&](const std::string& scratch) {
             // Short enough for the browser; with the subfolders' names, too long for the library
             // (the help file's shorter path still fits, and it is written).
             std::string folder = scratch;
             while (folder.size() < 232) folder += std::string(std::min<size_t>(40, 239 - folder.size()), 'd') + "\\";
             MakeFolders(folder.substr(0, folder.size() - 1));
             for (const char* sub : {"PureLibraries", "PureLibraries\\UserLibraries", "Help"}) {
                 CreateDirectoryW(Long(folder + sub).c_str(), nullptr);
             }
             return UserScene{{folder.substr(0, folder.size() - 1), {}}, {}, IDCANCEL, [&, scratch, folder] {
                                  EXPECT_GT((folder + "PureLibraries\\UserLibraries\\Lib_tarvo4").size(), kLongestPath);
                                  EXPECT_LE((folder + "Help\\tarvo_lib.chm").size(), kLongestPath);
                                  EXPECT_EQ(FilesUnder(scratch), std::vector<std::string>{
                                                                     folder.substr(scratch.size()) + "Help\\tarvo_lib.chm"});
                                  EXPECT_EQ(ReadBytes(folder + "Help\\tarvo_lib.chm"), help);
                              }};
         },
         "",
         {{false, {"son chemin est trop long"}, {"n'existe pas", "ne ressemble pas"}}},
         kUnfinished.c_str()},
        {"library path of the longest length Windows allows", 1,
         [&](const std::string& scratch) {
             const std::string relative = "PureLibraries\\UserLibraries\\Lib_tarvo4";
             std::string folder = MakeFolderOfLength(scratch, kLongestPath - relative.size());
             MakeCompilerLayout(folder);
             return UserScene{{folder.substr(0, folder.size() - 1), {}}, {}, IDCANCEL, [&, folder, relative] {
                                  EXPECT_EQ((folder + relative).size(), 259u);
                                  EXPECT_EQ(ReadBytes(folder + relative), library);
                                  EXPECT_EQ(ReadBytes(folder + "Help\\tarvo_lib.chm"), help);
                              }};
         },
         "",
         {{false, {"l'installation est termin\xE9"}}},
         "ok !"},
        {"folder whose name the ANSI code page can't hold", 1,
         [](const std::string& scratch) {
             std::wstring wide(scratch.begin(), scratch.end());
             wide += L"Biblioth\u00E8que \u0416\u4E2D";
             CreateDirectoryW(wide.c_str(), nullptr);
             CreateDirectoryW((wide + L"\\PureLibraries").c_str(), nullptr);
             CreateDirectoryW((wide + L"\\PureLibraries\\UserLibraries").c_str(), nullptr);
             CreateDirectoryW((wide + L"\\Help").c_str(), nullptr);
             return UserScene{{"", wide}, {}, IDCANCEL, [scratch] {
                                  EXPECT_EQ(FilesUnder(scratch), std::vector<std::string>{});
                                  EXPECT_EQ(FolderEntries(scratch).size(), 1u);
                              }};
         },
         "",
         {{false, {"contient des caract\xE8res que l'installateur ne sait pas \xE9" "crire"}}},
         "Dossier non utilisable"},
        {"a folder where the library goes", 1,
         [&](const std::string& scratch) {
             MakeCompilerLayout(scratch);
             MakeFolders(scratch + "PureLibraries\\UserLibraries\\Lib_tarvo4");
             return UserScene{{scratch, {}}, {}, IDCANCEL, [&, scratch] {
                                  EXPECT_TRUE(FolderExists(scratch + "PureLibraries\\UserLibraries\\Lib_tarvo4"));
                                  EXPECT_EQ(ReadBytes(scratch + "Help\\tarvo_lib.chm"), help);
                                  EXPECT_EQ(FilesUnder(scratch), std::vector<std::string>{"Help\\tarvo_lib.chm"});
                              }};
         },
         "",
         {{false, {"un dossier porte d\xE9j\xE0 ce nom"}}},
         kUnfinished.c_str()},
    };

    auto failureCaption = [](int button) {
        return button == 1 ? kUnfinished : std::string("D\xE9sinstallation incompl\xE8te");
    };
    InstallerProcess app;
    ASSERT_NE(app.MainWindow(), nullptr);
    for (const UserCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder scratch(*c.scratchParent ? FaultMounts() + c.scratchParent : std::string(temporary));
        UserScene scene = c.prepare(scratch.Path());
        std::thread meanwhile;
        if (scene.duringAction) meanwhile = std::thread(scene.duringAction);
        ActionRun run = RunAction(app, c.button, scene.folder, scene.retryAnswer, scene.onRetryBox);
        if (meanwhile.joinable()) meanwhile.join();
        held.reset();

        EXPECT_TRUE(run.browserShown);
        ASSERT_EQ(run.messages.size(), c.messages.size()) << Describe(run);
        for (size_t i = 0; i < c.messages.size(); ++i) {
            const ShownMessage& shown = run.messages[i];
            EXPECT_EQ(shown.offersRetry, c.messages[i].offersRetry) << Describe(run);
            bool said = std::any_of(c.messages[i].anyOf.begin(), c.messages[i].anyOf.end(),
                                    [&](const std::string& part) { return shown.text.find(part) != std::string::npos; });
            EXPECT_TRUE(said) << "message " << i << ": " << Describe(run);
            for (const std::string& part : c.messages[i].absent) {
                EXPECT_EQ(shown.text.find(part), std::string::npos) << "message " << i << ": " << Describe(run);
            }
            if (c.messages[i].offersRetry) {
                EXPECT_EQ(shown.caption, failureCaption(c.button)) << Describe(run);
            }
        }
        EXPECT_EQ(run.messages.back().caption, c.finalCaption) << Describe(run);
        scene.verify();
    }
}

}  // namespace
