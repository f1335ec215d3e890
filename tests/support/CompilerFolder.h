#pragma once
// Scenery for the tests that drive the real installer: a folder laid out like a compiler
// installation, and the registry entry its setup program leaves behind.
#include "platform/AnsiPath.h"
#include "platform/UniqueHandle.h"
#include "support/SavedRegistryKey.h"
#include "support/TempFolder.h"

#include <windows.h>

#include <string>

inline constexpr char kCompilerKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Purebasic_is1";

// The folder is made inside a fresh temporary folder, under the name `name` when one is given.
class CompilerFolder {
public:
    explicit CompilerFolder(bool withHelp = true, const std::string& name = "")
        : folder_(temp_.Path() + (name.empty() ? "" : name + "\\")) {
        MakeFolders(folder_ + "PureLibraries\\UserLibraries");
        if (withHelp) MakeFolders(folder_ + "Help");
    }
    // Without the trailing backslash, as the registry records it.
    std::string Path() const { return folder_.substr(0, folder_.size() - 1); }
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
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, recorded.put(),
                            nullptr) != ERROR_SUCCESS) {
            return;
        }
        RegSetValueExA(recorded.get(), "Inno Setup: App Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>(folder.size() + 1));
    }
    RecordedCompiler(const RecordedCompiler&) = delete;
    RecordedCompiler& operator=(const RecordedCompiler&) = delete;

private:
    SavedRegistryKey saved_;
};
