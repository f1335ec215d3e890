#pragma once
// The shell's folder browser as a requester: a prompt, a proposed folder, and the folder the
// user confirmed (ending with a backslash, so file names can be appended to it).
#include "platform/UniqueHandle.h"

#include <shlobj.h>

#include <string>

namespace gui {

struct FolderChoice {
    enum class Outcome {
        Chosen,          // path holds the folder, ending with a backslash
        Cancelled,       // the user closed the browser without choosing
        NotOnDisk,       // the chosen item has no file-system path (a virtual folder)
        NotAnsi,         // the path has characters the ANSI code page can't hold
        Unavailable,     // the shell's browser could not be loaded
    };
    Outcome outcome = Outcome::Cancelled;
    std::string path;
};

// Loads the shell on its first use and keeps it until it is destroyed: a second browse
// neither unloads nor reloads SHELL32 and what it pulled in. Destroy it after COM is
// uninitialised, as objects the browser left with COM may still run shell code.
class FolderPicker {
public:
    FolderPicker() = default;
    FolderPicker(const FolderPicker&) = delete;
    FolderPicker& operator=(const FolderPicker&) = delete;

    // `prompt` is Windows-1252 text; `proposal` and the chosen path are in the ANSI code page.
    FolderChoice Browse(const std::string& prompt, const std::string& proposal);

private:
    bool Load();

    UniqueModule shell_;
    // The wide calls: the prompt and the paths are shown right whatever the code page.
    decltype(&SHBrowseForFolderW) browse_ = nullptr;
    decltype(&SHGetPathFromIDListW) pathOf_ = nullptr;
};

// The browser is given the proposal without a trailing backslash, except for short paths
// such as a drive root ("D:\") which need it. At most 259 characters are kept. Both read the
// path character by character in the ANSI code page.
std::string BrowserStartFolder(const std::string& proposal);

// The browser's path with a backslash appended unless it already ends with one.
std::string FolderWithSeparator(const std::string& path);

}  // namespace gui
