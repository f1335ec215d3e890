#pragma once
// The shell's folder browser as a requester: a prompt, a proposed folder, and the folder the
// user confirmed (ending with a backslash, so file names can be appended to it).
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

FolderChoice BrowseForFolder(const std::string& prompt, const std::string& proposal);

// The browser is given the proposal without a trailing backslash, except for short paths
// such as a drive root ("D:\") which need it. At most 259 characters are kept.
std::string BrowserStartFolder(const std::string& proposal);

// The browser's path with a backslash appended unless it already ends with one.
std::string FolderWithSeparator(const std::string& path);

}  // namespace gui
