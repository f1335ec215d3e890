#pragma once
// Drives the real installer from the test process: starts it, finds its windows, presses
// buttons, reads texts, and drives the shell's folder browser through its messages.
#include "platform/UniqueHandle.h"
#include "support/Windows1252.h"

#include <functional>
#include <string>

// The installer under test: the build's, unless the environment's TARVO_SETUP_EXE names another.
std::string InstallerPath();

// Polls `find` until it gives a window or `timeoutMs` passes.
HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs = 20000);

// Top-level windows of a process, by class name (nullptr: any) and caption (nullptr: any).
HWND FindProcessWindow(DWORD processId, const char* className, const char* caption);

std::string WindowText(HWND window);  // WM_GETTEXT, which works across processes
// The text as the window holds it, in UTF-16: what the user reads, whatever the code page.
std::wstring ShownText(HWND window);

std::string ClassName(HWND window);

// Memory inside another process, for messages whose parameters point at data.
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

class InstallerProcess {
public:
    // Starts `exe` in `workingFolder` (the test's own current folder when empty).
    explicit InstallerProcess(const std::string& exe = InstallerPath(), const std::string& workingFolder = "");
    ~InstallerProcess();  // closes the installer if it still runs
    InstallerProcess(const InstallerProcess&) = delete;
    InstallerProcess& operator=(const InstallerProcess&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.get(); }

    HWND MainWindow(DWORD timeoutMs = 20000);  // the window captioned "By Quelnar"
    HWND Control(int number);                  // a child of the main window by its number

    // The open folder browser, and the open message box (a dialog with a static 65535).
    HWND WaitForBrowser(DWORD timeoutMs = 20000);
    HWND WaitForMessageBox(DWORD timeoutMs = 20000);
    HWND FindMessageBox();

    // Selects `folder` in the browser (BFFM_SETSELECTIONA with the path placed in the
    // installer's memory) until the tree shows it; false when it never does.
    bool SelectFolder(HWND browser, const std::string& folder);
    // SelectFolder, then OK.
    void ChooseFolder(HWND browser, const std::string& folder);
    std::string BrowserSelection(HWND browser);  // the name of the tree's selected item
    // The browser selects its proposal a moment after it opens: waits for `name` to be selected.
    bool WaitForSelection(HWND browser, const std::string& name, DWORD timeoutMs = 5000);

    // Presses `button` in an open dialog and waits until the dialog is gone.
    void Dismiss(HWND dialog, int button);

    DWORD WaitForExit(DWORD timeoutMs = 20000);  // the exit code, or STILL_ACTIVE
    void Close();

private:
    UniqueHandle process_;
    DWORD id_ = 0;
    HWND main_ = nullptr;
};

// What a message box shows, read back in UTF-16.
struct MessageBoxContent {
    std::wstring caption;
    std::wstring text;
};
MessageBoxContent ReadMessageBox(HWND box);
void PressDialogButton(HWND dialog, int id);  // posted, so a modal loop in the target can't block us

// The name of the selected item in the tree of a folder browser this process shows.
std::string TreeSelection(HWND dialog);

// Opens the shell's folder browser in this process, lets it select a folder near the drive's
// root, and closes it: later browsers then reach the folders they are asked to select.
void WarmUpFolderBrowser();
