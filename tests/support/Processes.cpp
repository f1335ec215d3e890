#include "support/Processes.h"

#include "platform/AnsiPath.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <iterator>
#include <thread>
#include <vector>

std::string InstallerPath() {
    const char* path = std::getenv("TARVO_SETUP_EXE");
    return path && *path ? path : TARVO_SETUP_EXE_PATH;
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

InstallerProcess::InstallerProcess(const std::string& exe, const std::string& workingFolder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + exe + "\"";
    if (CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process_.reset(info.hProcess);
        id_ = info.dwProcessId;
        WaitForInputIdle(info.hProcess, 20000);
    }
}

InstallerProcess::~InstallerProcess() { Close(); }

void InstallerProcess::Close() {
    if (!process_ || WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) return;
    // Dismiss whatever modal dialog is open, then close the main window.
    for (int round = 0; round < 5 && WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0; ++round) {
        if (HWND dialog = FindProcessWindow(id_, "#32770", nullptr)) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            Sleep(300);
            continue;
        }
        if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.get(), 3000) == WAIT_OBJECT_0) return;
    }
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
}

HWND InstallerProcess::MainWindow(DWORD timeoutMs) {
    if (!main_) {
        main_ = WaitForWindow([&] { return FindProcessWindow(id_, nullptr, "By Quelnar"); }, timeoutMs);
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
            HWND dialog = FindProcessWindow(id_, "#32770", nullptr);
            return dialog && FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr) ? dialog : nullptr;
        },
        timeoutMs);
}

HWND InstallerProcess::FindMessageBox() {
    HWND dialog = FindProcessWindow(id_, "#32770", nullptr);
    return dialog && GetDlgItem(dialog, 0xFFFF) ? dialog : nullptr;
}

HWND InstallerProcess::WaitForMessageBox(DWORD timeoutMs) {
    return WaitForWindow([&] { return FindMessageBox(); }, timeoutMs);
}

RemoteMemory::RemoteMemory(HANDLE process, size_t size)
    : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}

RemoteMemory::~RemoteMemory() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteMemory::Write(const void* data, size_t size, size_t offset) {
    return WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
}

bool RemoteMemory::Read(void* data, size_t size, size_t offset) const {
    return ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
}

void InstallerProcess::ChooseFolder(HWND browser, const std::string& folder) {
    SelectFolder(browser, folder);
    PressDialogButton(browser, IDOK);
}

bool InstallerProcess::SelectFolder(HWND browser, const std::string& folder) {
    // The browser selects its proposal once it has filled its tree; a selection sent before
    // that would be overridden, so wait for the tree, then select until the selection shows.
    WaitForWindow([&]() -> HWND { return BrowserSelection(browser).empty() ? nullptr : browser; }, 10000);
    // Read character by character: in a double-byte code page a name can end in byte 0x5C.
    std::string trimmed = ansi_path::Characters(folder) > 3 ? ansi_path::WithoutSeparator(folder) : folder;
    std::string leaf = trimmed.substr(ansi_path::LastSeparator(trimmed) + 1);
    RemoteMemory path(process_.get(), trimmed.size() + 1);
    path.Write(trimmed.c_str(), trimmed.size() + 1);
    for (int attempt = 0; attempt < 20; ++attempt) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.Address()),
                            SMTO_ABORTIFHUNG, 10000, &result);
        if (leaf.empty() || BrowserSelection(browser) == leaf) return true;
        Sleep(250);
    }
    return false;
}

std::string InstallerProcess::BrowserSelection(HWND browser) {
    HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
    if (!tree) return {};
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item) return {};
    // The item's text is its display name; its lParam is the shell's own data, so the test
    // asks for the text, which is what the user sees.
    RemoteMemory memory(process_.get(), sizeof(TVITEMA) + MAX_PATH);
    TVITEMA query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = static_cast<char*>(memory.Address()) + sizeof(TVITEMA);
    query.cchTextMax = MAX_PATH;
    memory.Write(&query, sizeof query);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(memory.Address()));
    char text[MAX_PATH] = {};
    memory.Read(text, MAX_PATH - 1, sizeof(TVITEMA));
    return text;
}

bool InstallerProcess::WaitForSelection(HWND browser, const std::string& name, DWORD timeoutMs) {
    return WaitForWindow([&]() -> HWND { return BrowserSelection(browser) == name ? browser : nullptr; },
                         timeoutMs) != nullptr;
}

void InstallerProcess::Dismiss(HWND dialog, int button) {
    PressDialogButton(dialog, button);
    WaitForWindow([&]() -> HWND { return IsWindow(dialog) ? nullptr : MainWindow(); }, 10000);
}

DWORD InstallerProcess::WaitForExit(DWORD timeoutMs) {
    DWORD code = STILL_ACTIVE;
    if (process_ && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process_.get(), &code);
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

std::string TreeSelection(HWND dialog) {
    HWND tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
    auto item = tree ? reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) : nullptr;
    if (!item) return {};
    char text[MAX_PATH] = {};
    TVITEMA query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = MAX_PATH;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return text;
}

namespace {

int CALLBACK SelectWarmUpFolder(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace

void WarmUpFolderBrowser() {
    static const char kFolder[] = "C:\\tarvo-tests";
    CreateDirectoryA(kFolder, nullptr);
    std::thread browse([] {
        CoInitialize(nullptr);
        BROWSEINFOA info{};
        info.lpszTitle = "warm-up";
        info.ulFlags = BIF_NEWDIALOGSTYLE;
        info.lpfn = SelectWarmUpFolder;
        info.lParam = reinterpret_cast<LPARAM>(kFolder);
        if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info)) CoTaskMemFree(chosen);
        CoUninitialize();
    });
    HWND dialog = WaitForWindow([] { return FindProcessWindow(GetCurrentProcessId(), "#32770", nullptr); });
    if (dialog) {
        WaitForWindow([&]() -> HWND { return TreeSelection(dialog) == "tarvo-tests" ? dialog : nullptr; }, 10000);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    browse.join();
}
