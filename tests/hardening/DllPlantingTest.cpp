// DLLs dropped beside the installer (the Downloads folder it is usually run from) under the
// names of system DLLs must never be loaded by it.
#include "Session.h"

#include "platform/UniqueHandle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> PlantedNames() {
    std::vector<std::string> names;
    std::string list = TARVO_PLANTED_NAMES;
    for (size_t start = 0; start <= list.size();) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        names.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return names;
}

// A Downloads-like folder holding a copy of `exe` and every planted DLL. The copy gets a name
// of its own, so that the per-program settings below reach nothing else.
class PlantedFolder {
public:
    explicit PlantedFolder(const std::string& exe) {
        std::string leaf = exe.substr(exe.find_last_of('\\') + 1);
        exeName_ = leaf.substr(0, leaf.size() - 4) + "-" + std::to_string(GetCurrentProcessId()) + ".exe";
        copied_ = CopyFileA(exe.c_str(), Exe().c_str(), FALSE) != 0;
        const std::string planted = WindowsPath(TARVO_PLANTED_DLLS_PATH);
        for (const std::string& name : PlantedNames()) {
            copied_ = copied_ && CopyFileA((planted + "\\" + name + ".dll").c_str(),
                                           (folder_ / (name + ".dll")).c_str(), FALSE);
        }
    }
    bool Ready() const { return copied_; }
    const std::string& ExeName() const { return exeName_; }
    std::string Exe() const { return folder_ / exeName_; }
    const std::string& Path() const { return folder_.Path(); }
    // The DLLs that were loaded, by their markers.
    std::vector<std::string> Loaded() const {
        std::vector<std::string> loaded;
        for (const std::string& name : FolderEntries(folder_.Path())) {
            if (name.size() > 7 && name.substr(name.size() - 7) == ".loaded") loaded.push_back(name);
        }
        return loaded;
    }

private:
    TempFolder folder_;
    std::string exeName_;
    bool copied_ = false;
};

// Wine loads its own builtin DLL for a system name unless told otherwise, so under Wine a
// planted DLL would go unnoticed whatever the program does. "native,builtin" for the planted
// names makes Wine prefer a DLL found on the search path, as Windows does for every DLL that
// is not a known DLL: then a load from the program's folder shows. The setting is Wine's
// per-program one (HKCU\Software\Wine\AppDefaults\<exe>\DllOverrides): WINEDLLOVERRIDES set
// here would not reach the child, whose Wine variables come from the Unix environment.
// Three names are not planted, as under Wine no program can keep them out: Wine's own advapi32
// and user32 import version.dll and imm32.dll, bound at process start before the program's
// first instruction; and Wine resolves its DLLs' delayed imports (uxtheme's msimg32.dll) with
// the process's first search path, which SetDefaultDllDirectories does not change.
class PreferNativeDlls {
public:
    explicit PreferNativeDlls(const std::string& exeName)
        : key_("Software\\Wine\\AppDefaults\\" + exeName) {
        UniqueKey overrides;
        RegCreateKeyExA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        overrides.put(), nullptr);
        for (const std::string& name : PlantedNames()) {
            static const char kNativeFirst[] = "native,builtin";
            RegSetValueExA(overrides.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kNativeFirst),
                           sizeof kNativeFirst);
        }
    }
    ~PreferNativeDlls() { RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str()); }
    PreferNativeDlls(const PreferNativeDlls&) = delete;
    PreferNativeDlls& operator=(const PreferNativeDlls&) = delete;

private:
    std::string key_;
};

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += name + " ";
    return text;
}

// Runs one install and one uninstall through the window, as a user of the planted folder would.
void InstallAndUninstall(const PlantedFolder& planted) {
    CompilerFolder pb;
    PreferNativeDlls preferNative(planted.ExeName());
    InstallerProcess app(planted.Exe(), planted.Path());
    ASSERT_NE(app.MainWindow(), nullptr) << planted.Exe() << " loaded: " << Joined(planted.Loaded());
    ActionRun install = RunAction(app, 1, pb.Path());
    ASSERT_EQ(install.messages.size(), 1u) << Describe(install);
    EXPECT_EQ(install.messages[0].text, "l'installation est termin\xE9");
    EXPECT_TRUE(FileExists(pb.Library()));
    ActionRun uninstall = RunAction(app, 2, pb.Path());
    ASSERT_EQ(uninstall.messages.size(), 1u) << Describe(uninstall);
    EXPECT_EQ(uninstall.messages[0].text, " desinstallation termin\xE9");
    app.Close();
}

// The proof that the markers can show a planted DLL here: the same program without the
// restriction loads one (uxtheme.dll, when its first window is made) and, as the planted DLL
// exports nothing, usually dies of it, which is why it isn't driven any further.
TEST(DllPlanting, WithoutTheRestrictionAPlantedDllIsLoaded) {
    PlantedFolder planted(WindowsPath(TARVO_UNRESTRICTED_EXE_PATH));
    ASSERT_TRUE(planted.Ready());
    PreferNativeDlls preferNative(planted.ExeName());
    StartedProcess started = StartProcess(planted.Exe(), "", planted.Path());
    ASSERT_TRUE(started.process);
    const HANDLE process = started.process.get();
    WaitForWindow([&]() -> HWND {
        bool exited = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        return exited || !planted.Loaded().empty() ? GetDesktopWindow() : nullptr;
    });
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 10000);
    EXPECT_FALSE(planted.Loaded().empty()) << "no marker: this run could not have shown a planted DLL";
    RecordProperty("loaded", Joined(planted.Loaded()));
}

TEST(DllPlanting, InstallerLoadsNoDllFromItsFolder) {
    PlantedFolder planted(WindowsPath(InstallerPath()));
    ASSERT_TRUE(planted.Ready());
    InstallAndUninstall(planted);
    EXPECT_EQ(planted.Loaded(), std::vector<std::string>{});
}

}  // namespace
