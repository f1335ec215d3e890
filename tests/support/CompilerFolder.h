#pragma once
// Scenery for the tests of the actions: a folder laid out like a compiler installation, and the
// registry entry its setup program leaves behind.
#include "platform/AnsiPath.h"
#include "platform/UniqueHandle.h"
#include "support/SavedRegistryKey.h"
#include "support/TempFolder.h"

#include <string>

inline constexpr char kCompilerKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Purebasic_is1";

// The subfolders a compiler installation always has, where the two files go.
struct Subfolders {
    bool libraries = true;  // PureLibraries\UserLibraries
    bool help = true;       // Help
};

// The folder is made inside a fresh temporary folder, under the name `name` when one is given.
class CompilerFolder {
public:
    explicit CompilerFolder(Subfolders subfolders = {}, const std::string& name = "")
        : folder_(temp_.Path() + (name.empty() ? "" : name + "\\")) {
        MakeFolders(folder_);
        if (subfolders.libraries) MakeFolders(folder_ + "PureLibraries\\UserLibraries");
        if (subfolders.help) MakeFolders(folder_ + "Help");
    }
    // Without the trailing backslash, as the registry records it.
    std::string Path() const { return folder_.substr(0, folder_.size() - 1); }
    // With it, as the folder picker gives it.
    const std::string& Folder() const { return folder_; }
    std::string Leaf() const { return Path().substr(ansi_path::LastSeparator(Path()) + 1); }
    std::string operator/(const std::string& relative) const { return folder_ + relative; }
    std::string Library() const { return folder_ + "PureLibraries\\UserLibraries\\Lib_tarvo4"; }
    std::string Help() const { return folder_ + "Help\\tarvo_lib.chm"; }

private:
    TempFolder temp_;
    std::string folder_;
};

// Records `folder` as the compiler's, in the test program's own registry view. What the key
// held before (on a machine where the compiler is installed, its real entry) comes back
// afterwards, also when the test stops half-way. `key` is for the test of that promise.
class RecordedCompiler {
public:
    explicit RecordedCompiler(const std::string& folder, const std::string& key = kCompilerKey)
        : saved_(HKEY_LOCAL_MACHINE, key, 0) {
        UniqueKey recorded;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, recorded.put(), nullptr);
        if (!recorded) return;
        RegSetValueExA(recorded.get(), "Inno Setup: App Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>(folder.size() + 1));
    }
    RecordedCompiler(const RecordedCompiler&) = delete;
    RecordedCompiler& operator=(const RecordedCompiler&) = delete;

private:
    SavedRegistryKey saved_;
};
