#pragma once
// Drives the real installer from the test process: starts it, finds its windows, presses
// buttons, reads texts, and drives its folder browser.
#include "platform/UniqueHandle.h"
#include "support/Windows1252.h"

#include <functional>
#include <string>
#include <vector>

// The installer under test: the build's, unless the environment's TARVO_SETUP_EXE names another.
std::string InstallerPath();

// A process started by a test, with its owned handles.
struct StartedProcess {
    UniqueHandle process;
    UniqueHandle thread;
    DWORD id = 0;
};
// Starts `exe` with `arguments` after its quoted name, in `folder` (the test's own current folder
// when empty), with CreateProcess's `flags`. Nothing is owned when it can't be started.
StartedProcess StartProcess(const std::string& exe, const std::string& arguments = "", const std::string& folder = "",
                            DWORD flags = 0);

// Moves `handle` into `process`'s handle table: it is closed here whatever happens, and the
// value it has there is returned (nullptr when it could not be moved). That process holds it.
HANDLE MoveHandleTo(HANDLE process, HANDLE handle);

// Polls `find` until it gives a window or `timeoutMs` passes.
HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs = 20000);

// Top-level windows of a process, by class name (nullptr: any) and caption (nullptr: any).
HWND FindProcessWindow(DWORD processId, const char* className, const char* caption);

std::string WindowText(HWND window);  // WM_GETTEXT, which works across processes
// The text as the window holds it, in UTF-16: what the user reads, whatever the code page.
std::wstring ShownText(HWND window);

std::string ClassName(HWND window);

class InstallerProcess {
public:
    // Starts `exe` in `workingFolder` (the test's own current folder when empty).
    explicit InstallerProcess(const std::string& exe = InstallerPath(), const std::string& workingFolder = "");
    ~InstallerProcess();  // closes the installer if it still runs
    InstallerProcess(const InstallerProcess&) = delete;
    InstallerProcess& operator=(const InstallerProcess&) = delete;

    bool Started() const { return static_cast<bool>(started_.process); }
    DWORD Id() const { return started_.id; }
    HANDLE Handle() const { return started_.process.get(); }

    HWND MainWindow(DWORD timeoutMs = 20000);  // the window captioned "By Quelnar"
    HWND Control(int number);                  // a child of the main window by its number

    // The open folder browser, and the open message box (a dialog with a static 65535).
    HWND WaitForBrowser(DWORD timeoutMs = 20000);
    HWND WaitForMessageBox(DWORD timeoutMs = 20000);
    HWND FindMessageBox();

    // Presses `button` and returns the browser it opens once `ready` holds for it (it shows the
    // folder it should). Under Wine a browser now and then stays on another folder than the
    // one it is asked to select; it is cancelled, which ends the action untouched, and the
    // button pressed again, three times at most. Null when none got ready, or when a message
    // box opened instead of a browser. `missed` gets what each cancelled browser showed.
    HWND OpenBrowser(int button, const std::function<bool(HWND browser)>& ready,
                     std::vector<std::wstring>* missed = nullptr);

    // Selects `folder` in the browser until the tree shows it; false when it never does.
    bool SelectFolder(HWND browser, const std::string& folder);
    // SelectFolder, then OK.
    void ChooseFolder(HWND browser, const std::string& folder);
    std::wstring BrowserSelection(HWND browser);  // the name of the tree's selected item
    // The browser selects its proposal a moment after it opens: waits for `name` to be selected.
    bool WaitForSelection(HWND browser, const std::string& name, DWORD timeoutMs = 5000);

    // Presses `button` in an open dialog and waits until the dialog is gone.
    void Dismiss(HWND dialog, int button);

    DWORD WaitForExit(DWORD timeoutMs = 20000);  // the exit code, or STILL_ACTIVE
    void Close();

private:
    StartedProcess started_;
    HWND main_ = nullptr;
};

// What a message box shows, read back in UTF-16.
struct MessageBoxContent {
    std::wstring caption;
    std::wstring text;
};
MessageBoxContent ReadMessageBox(HWND box);
void PressDialogButton(HWND dialog, int id);  // posted, so a modal loop in the target can't block us
