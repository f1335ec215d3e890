#include "platform/FolderPicker.h"

#include "platform/AnsiPath.h"
#include "platform/ModalScope.h"
#include "platform/SystemLibrary.h"
#include "platform/Text.h"

namespace gui {
namespace {

int CALLBACK SelectProposal(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    }
    return 0;
}

}  // namespace

std::string BrowserStartFolder(const std::string& proposal) {
    std::string start = ansi_path::FirstCharacters(proposal, MAX_PATH - 1);
    if (ansi_path::Characters(start) > 3) start = ansi_path::WithoutSeparator(start);
    return start;
}

std::string FolderWithSeparator(const std::string& path) { return ansi_path::WithSeparator(path); }

// SHELL32 is loaded on the first browse rather than bound at start: bound, it and the DLLs it
// pulls in would be loaded before main() restricts the DLL search, from the folder the installer
// runs from; and a run without a browse does not pay for it.
bool FolderPicker::Load() {
    if (browse_ && pathOf_) return true;
    if (!shell_) shell_ = LoadSystemLibrary("SHELL32.DLL");
    if (!shell_) return false;
    browse_ = SystemFunction<decltype(SHBrowseForFolderW)>(shell_.get(), "SHBrowseForFolderW");
    pathOf_ = SystemFunction<decltype(SHGetPathFromIDListW)>(shell_.get(), "SHGetPathFromIDListW");
    return browse_ && pathOf_;
}

FolderChoice FolderPicker::Browse(const std::string& prompt, const std::string& proposal) {
    if (!Load()) return {FolderChoice::Outcome::Unavailable, {}};

    // The prompt is the program's text; the proposal is a path in the system's code page.
    const std::wstring title = text::FromWindows1252(prompt);
    std::wstring start = text::FromAnsi(BrowserStartFolder(proposal));

    UniquePidl chosen;
    {
        ModalScope modal;
        BROWSEINFOW info{};
        info.hwndOwner = modal.Owner();
        info.lpszTitle = title.c_str();
        info.ulFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
        info.lpfn = SelectProposal;
        info.lParam = reinterpret_cast<LPARAM>(start.c_str());
        chosen.reset(browse_(&info));
    }
    if (!chosen) return {FolderChoice::Outcome::Cancelled, {}};

    wchar_t widePath[MAX_PATH] = {};
    if (!pathOf_(chosen.get(), widePath) || widePath[0] == L'\0') return {FolderChoice::Outcome::NotOnDisk, {}};
    std::optional<std::string> path = text::ToAnsi(widePath);
    if (!path) return {FolderChoice::Outcome::NotAnsi, {}};
    return {FolderChoice::Outcome::Chosen, FolderWithSeparator(*path)};
}

}  // namespace gui
