#pragma once
// The shell's folder browser driven through its messages, in this process or in another one
// (the installer's): what its tree has selected, and a folder selected in it.
#include "platform/UniqueHandle.h"

#include <string>

// Memory inside a process, for messages whose parameters point at data.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    void* Address() const { return address_; }
    bool Write(const void* data, size_t size, size_t offset = 0);
    bool Read(void* data, size_t size, size_t offset = 0) const;

private:
    HANDLE process_;
    void* address_;
};

// The name of the selected item in the tree of `browser`, a window of `process`, as it shows it.
std::wstring BrowserSelection(HANDLE process, HWND browser);

// Selects `folder` in `browser` (BFFM_SETSELECTIONW with the path placed in `process`'s memory)
// until the tree shows it; false when it never does. Wide, so that it can name folders the ANSI
// code page can't hold.
bool SelectFolder(HANDLE process, HWND browser, std::wstring folder);

// The browser shown by this process (on the calling thread, until it is closed), proposing
// `start`; the chosen item, or none.
UniquePidl BrowseForFolder(const char* title, UINT flags, const std::string& start);

// Opens the browser in this process, lets it select a folder near the drive's root, and closes
// it: in a fresh Wine session the first browsers do not reach the folder they are asked to
// select, and later ones then do.
void WarmUpFolderBrowser();
