#include "support/FolderBrowser.h"

#include "platform/ComScope.h"
#include "platform/Text.h"
#include "support/Processes.h"
#include "support/TempFolder.h"

#include <commctrl.h>
#include <shlobj.h>

#include <thread>

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

std::wstring BrowserSelection(HANDLE process, HWND browser) {
    HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
    auto item = tree ? reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) : nullptr;
    if (!item) return {};
    // The item's text is its display name, what the user sees; its lParam is the shell's own.
    RemoteMemory memory(process, sizeof(TVITEMW) + MAX_PATH * sizeof(wchar_t));
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(memory.Address()) + sizeof(TVITEMW));
    query.cchTextMax = MAX_PATH;
    memory.Write(&query, sizeof query);
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory.Address()));
    wchar_t text[MAX_PATH] = {};
    memory.Read(text, (MAX_PATH - 1) * sizeof(wchar_t), sizeof(TVITEMW));
    return text;
}

bool SelectFolder(HANDLE process, HWND browser, std::wstring folder) {
    // The browser selects its proposal once it has filled its tree; a selection sent before
    // that would be overridden, so wait for the tree, then select until the selection shows.
    WaitForWindow([&]() -> HWND { return BrowserSelection(process, browser).empty() ? nullptr : browser; }, 10000);
    if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    const std::wstring leaf = folder.substr(folder.find_last_of(L'\\') + 1);
    const size_t bytes = (folder.size() + 1) * sizeof(wchar_t);
    RemoteMemory path(process, bytes);
    path.Write(folder.c_str(), bytes);
    for (int attempt = 0; attempt < 20; ++attempt) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.Address()),
                            SMTO_ABORTIFHUNG, 10000, &result);
        if (leaf.empty() || BrowserSelection(process, browser) == leaf) return true;
        Sleep(250);
    }
    return false;
}

namespace {

int CALLBACK SelectStart(HWND dialog, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, start);
    return 0;
}

}  // namespace

UniquePidl BrowseForFolder(const char* title, UINT flags, const std::string& start) {
    BROWSEINFOA info{};
    info.lpszTitle = title;
    info.ulFlags = flags;
    info.lpfn = SelectStart;
    info.lParam = reinterpret_cast<LPARAM>(start.c_str());
    return UniquePidl(SHBrowseForFolderA(&info));
}

void WarmUpFolderBrowser() {
    std::string folder = kTestsFolder;  // where the tests' own folders are
    folder.pop_back();
    MakeFolders(folder);
    const std::wstring leaf = text::FromAnsi(folder.substr(folder.find_last_of('\\') + 1));
    std::thread browse([&] {
        ComScope com;
        BrowseForFolder("warm-up", BIF_NEWDIALOGSTYLE, folder);
    });
    HWND dialog = WaitForWindow([] { return FindProcessWindow(GetCurrentProcessId(), "#32770", nullptr); });
    if (dialog) {
        WaitForWindow(
            [&]() -> HWND { return BrowserSelection(GetCurrentProcess(), dialog) == leaf ? dialog : nullptr; },
            10000);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    browse.join();
}
