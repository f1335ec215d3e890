#include "platform/FolderPicker.h"

#include "platform/ModalScope.h"
#include "platform/UniqueHandle.h"
#include "platform/SystemLibrary.h"

namespace gui {
namespace {

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

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

bool FolderPicker::Load() {
    if (browse_ && pathOf_) return true;
    if (!shell_) shell_ = LoadSystemLibrary("SHELL32.DLL");
    if (!shell_) return false;
    browse_ = Lookup<BrowseFunction>(shell_.get(), "SHBrowseForFolder");
    pathOf_ = Lookup<PathFunction>(shell_.get(), "SHGetPathFromIDList");
    widePathOf_ = Lookup<WidePathFunction>(shell_.get(), "SHGetPathFromIDListW");
    return browse_ && pathOf_;
}

FolderChoice FolderPicker::Browse(const std::string& prompt, const std::string& proposal) {
    if (!Load()) return {FolderChoice::Outcome::Unavailable, {}};

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
        chosen.reset(browse_(&info));
    }
    if (!chosen) return {FolderChoice::Outcome::Cancelled, {}};

    if (widePathOf_) {
        wchar_t widePath[MAX_PATH] = {};
        if (widePathOf_(chosen.get(), widePath) && !FitsAnsiCodePage(widePath)) {
            return {FolderChoice::Outcome::NotAnsi, {}};
        }
    }
    char path[MAX_PATH] = {};
    if (!pathOf_(chosen.get(), path) || path[0] == '\0') return {FolderChoice::Outcome::NotOnDisk, {}};
    return {FolderChoice::Outcome::Chosen, FolderWithSeparator(path)};
}

}  // namespace gui
