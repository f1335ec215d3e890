#include "platform/FolderPicker.h"

#include "platform/ModalScope.h"
#include "platform/UniqueHandle.h"
#include "platform/SystemLibrary.h"

#include <shlobj.h>

namespace gui {
namespace {

using BrowseFunction = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOA);
using PathFunction = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPSTR);
using WidePathFunction = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPWSTR);

int CALLBACK SelectProposal(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data) {
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    }
    return 0;
}

// True when the wide path survives the trip through the ANSI code page unchanged.
bool FitsAnsiCodePage(const wchar_t* path) {
    BOOL lossy = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, nullptr, 0, nullptr, &lossy);
    return length > 0 && !lossy;
}

}  // namespace

std::string BrowserStartFolder(const std::string& proposal) {
    std::string start = proposal.substr(0, MAX_PATH - 1);
    if (start.size() > 3 && start.back() == '\\') start.pop_back();
    return start;
}

std::string FolderWithSeparator(const std::string& path) {
    if (path.empty() || path.back() == '\\') return path;
    return path + '\\';
}

FolderChoice BrowseForFolder(const std::string& prompt, const std::string& proposal) {
    UniqueModule shell = LoadSystemLibrary("SHELL32.DLL");
    if (!shell) return {FolderChoice::Outcome::Unavailable, {}};
    auto browse = reinterpret_cast<BrowseFunction>(
        reinterpret_cast<void*>(GetProcAddress(shell.get(), "SHBrowseForFolder")));
    auto pathOf = reinterpret_cast<PathFunction>(
        reinterpret_cast<void*>(GetProcAddress(shell.get(), "SHGetPathFromIDList")));
    auto widePathOf = reinterpret_cast<WidePathFunction>(
        reinterpret_cast<void*>(GetProcAddress(shell.get(), "SHGetPathFromIDListW")));
    if (!browse || !pathOf) return {FolderChoice::Outcome::Unavailable, {}};

    char start[MAX_PATH] = {};
    BrowserStartFolder(proposal).copy(start, MAX_PATH - 1);

    UniquePidl chosen;
    {
        ModalScope modal;
        BROWSEINFOA info{};
        info.hwndOwner = modal.Owner();
        info.lpszTitle = prompt.c_str();
        info.ulFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
        info.lpfn = SelectProposal;
        info.lParam = reinterpret_cast<LPARAM>(start);
        chosen.reset(browse(&info));
    }
    if (!chosen) return {FolderChoice::Outcome::Cancelled, {}};

    if (widePathOf) {
        wchar_t widePath[MAX_PATH] = {};
        if (widePathOf(chosen.get(), widePath) && !FitsAnsiCodePage(widePath)) {
            return {FolderChoice::Outcome::NotAnsi, {}};
        }
    }
    char path[MAX_PATH] = {};
    if (!pathOf(chosen.get(), path) || path[0] == '\0') return {FolderChoice::Outcome::NotOnDisk, {}};
    return {FolderChoice::Outcome::Chosen, FolderWithSeparator(path)};
}

}  // namespace gui
