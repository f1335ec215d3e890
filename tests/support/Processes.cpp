#include "support/Processes.h"

#include "platform/Text.h"
#include "support/FolderBrowser.h"

#include <cstdlib>
#include <iterator>

std::string InstallerPath() {
    const char* path = std::getenv("TARVO_SETUP_EXE");
    return path && *path ? path : TARVO_SETUP_EXE_PATH;
}

StartedProcess StartProcess(const std::string& exe, const std::string& arguments, const std::string& folder,
                            DWORD flags) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    StartedProcess started;
    if (CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        started.process.reset(info.hProcess);
        started.thread.reset(info.hThread);
        started.id = info.dwProcessId;
    }
    return started;
}

HANDLE MoveHandleTo(HANDLE process, HANDLE handle) {
    HANDLE theirs = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), handle, process, &theirs, 0, FALSE,
                         DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE)) {
        return nullptr;
    }
    return theirs;
}

HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = find()) return window;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(20);
    }
}

namespace {

struct Search {
    DWORD processId;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->processId || !IsWindowVisible(window)) return TRUE;
    if (search->className && ClassName(window) != search->className) return TRUE;
    if (search->caption && WindowText(window) != search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

bool IsBrowser(HWND dialog) { return FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr) != nullptr; }
bool IsMessageBox(HWND dialog) { return GetDlgItem(dialog, 0xFFFF) != nullptr; }

}  // namespace

HWND FindProcessWindow(DWORD processId, const char* className, const char* caption) {
    Search search{processId, className, caption, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowText(HWND window) {
    char text[4096] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &length)) {
        return {};
    }
    return std::string(text, length);
}

std::wstring ShownText(HWND window) {
    wchar_t text[4096] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &length)) {
        return {};
    }
    return std::wstring(text, length);
}

std::string ClassName(HWND window) {
    char name[256] = {};
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

InstallerProcess::InstallerProcess(const std::string& exe, const std::string& workingFolder)
    : started_(StartProcess(exe, "", workingFolder)) {
    if (started_.process) WaitForInputIdle(started_.process.get(), 20000);
}

InstallerProcess::~InstallerProcess() { Close(); }

void InstallerProcess::Close() {
    HANDLE process = Handle();
    if (!process || WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return;
    // Dismiss whatever modal dialog is open, then close the main window.
    for (int round = 0; round < 5 && WaitForSingleObject(process, 0) != WAIT_OBJECT_0; ++round) {
        if (HWND dialog = FindProcessWindow(Id(), "#32770", nullptr)) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            Sleep(300);
            continue;
        }
        if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process, 3000) == WAIT_OBJECT_0) return;
    }
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
}

HWND InstallerProcess::MainWindow(DWORD timeoutMs) {
    if (!main_) {
        main_ = WaitForWindow([&] { return FindProcessWindow(Id(), nullptr, "By Quelnar"); }, timeoutMs);
    }
    return main_;
}

HWND InstallerProcess::Control(int number) {
    HWND main = MainWindow();
    return main ? GetDlgItem(main, number) : nullptr;
}

HWND InstallerProcess::WaitForBrowser(DWORD timeoutMs) {
    return WaitForWindow(
        [&]() -> HWND {
            HWND dialog = FindProcessWindow(Id(), "#32770", nullptr);
            return dialog && IsBrowser(dialog) ? dialog : nullptr;
        },
        timeoutMs);
}

HWND InstallerProcess::FindMessageBox() {
    HWND dialog = FindProcessWindow(Id(), "#32770", nullptr);
    return dialog && IsMessageBox(dialog) ? dialog : nullptr;
}

HWND InstallerProcess::WaitForMessageBox(DWORD timeoutMs) {
    return WaitForWindow([&] { return FindMessageBox(); }, timeoutMs);
}

HWND InstallerProcess::OpenBrowser(int button, const std::function<bool(HWND browser)>& ready,
                                   std::vector<std::wstring>* missed) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        PostMessageA(Control(button), BM_CLICK, 0, 0);
        HWND dialog = WaitForWindow([&]() -> HWND {
            HWND dialog = FindProcessWindow(Id(), "#32770", nullptr);
            return dialog && (IsBrowser(dialog) || IsMessageBox(dialog)) ? dialog : nullptr;
        });
        if (!dialog || !IsBrowser(dialog)) return nullptr;
        if (ready(dialog)) return dialog;
        if (missed) missed->push_back(BrowserSelection(dialog));
        Dismiss(dialog, IDCANCEL);
    }
    return nullptr;
}

bool InstallerProcess::SelectFolder(HWND browser, const std::string& folder) {
    return ::SelectFolder(Handle(), browser, text::FromAnsi(folder));
}

void InstallerProcess::ChooseFolder(HWND browser, const std::string& folder) {
    SelectFolder(browser, folder);
    PressDialogButton(browser, IDOK);
}

std::wstring InstallerProcess::BrowserSelection(HWND browser) { return ::BrowserSelection(Handle(), browser); }

bool InstallerProcess::WaitForSelection(HWND browser, const std::string& name, DWORD timeoutMs) {
    const std::wstring wide = text::FromAnsi(name);
    return WaitForWindow([&]() -> HWND { return BrowserSelection(browser) == wide ? browser : nullptr; },
                         timeoutMs) != nullptr;
}

void InstallerProcess::Dismiss(HWND dialog, int button) {
    PressDialogButton(dialog, button);
    WaitForWindow([&]() -> HWND { return IsWindow(dialog) ? nullptr : MainWindow(); }, 10000);
}

DWORD InstallerProcess::WaitForExit(DWORD timeoutMs) {
    DWORD code = STILL_ACTIVE;
    if (Handle() && WaitForSingleObject(Handle(), timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(Handle(), &code);
    }
    return code;
}

MessageBoxContent ReadMessageBox(HWND box) {
    return {ShownText(box), ShownText(GetDlgItem(box, 0xFFFF))};
}

void PressDialogButton(HWND dialog, int id) {
    if (HWND button = GetDlgItem(dialog, id)) {
        PostMessageA(button, BM_CLICK, 0, 0);
    } else {
        PostMessageA(dialog, WM_COMMAND, id, 0);
    }
}
