#include "Session.h"

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// In a fresh Wine session the first folder browsers do not reach the folder they are asked
// to select; one throwaway browse from the test process takes that first turn.
class BrowserWarmUp : public testing::Environment {
public:
    void SetUp() override { WarmUpFolderBrowser(); }
};
testing::Environment* const warmUp = testing::AddGlobalTestEnvironment(new BrowserWarmUp);

std::wstring WideSelection(HANDLE process, HWND browser) {
    HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
    auto item = tree ? reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) : nullptr;
    if (!item) return {};
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

// Selects `folder` with BFFM_SETSELECTIONW, which carries names the ANSI code page can't hold;
// true once the tree shows it. The browser selects its proposal once it has filled its tree, so
// a selection sent before that is overridden: wait for the tree, then select until it shows.
bool SelectFolder(InstallerProcess& app, HWND browser, std::wstring folder) {
    WaitForWindow([&]() -> HWND { return WideSelection(app.Handle(), browser).empty() ? nullptr : browser; }, 10000);
    if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    const std::wstring leaf = folder.substr(folder.find_last_of(L'\\') + 1);
    const size_t bytes = (folder.size() + 1) * sizeof(wchar_t);
    RemoteMemory path(app.Handle(), bytes);
    path.Write(folder.c_str(), bytes);
    for (int attempt = 0; attempt < 20; ++attempt) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.Address()),
                            SMTO_ABORTIFHUNG, 10000, &result);
        if (WideSelection(app.Handle(), browser) == leaf) return true;
        Sleep(250);
    }
    return false;
}

std::wstring Wide(const FolderToChoose& folder) {
    if (!folder.wide.empty()) return folder.wide;
    std::wstring wide(folder.ansi.size() + 1, L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, folder.ansi.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

HWND WaitForBrowserOrMessage(InstallerProcess& app) {
    return WaitForWindow([&]() -> HWND {
        HWND dialog = FindProcessWindow(app.Id(), "#32770", nullptr);
        if (!dialog) return nullptr;
        bool browser = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr) != nullptr;
        bool message = GetDlgItem(dialog, 0xFFFF) != nullptr;
        return browser || message ? dialog : nullptr;
    });
}

}  // namespace

std::string WindowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

ActionRun RunAction(InstallerProcess& app, int button, const FolderToChoose& folder, int retryAnswer,
                    const std::function<void()>& onRetryBox) {
    ActionRun run;
    HWND dialog = nullptr;
    // Under Wine a browser now and then stays on another folder than the one it is asked to
    // select; cancelling it ends the action untouched, so the action is simply started again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        PostMessageA(app.Control(button), BM_CLICK, 0, 0);
        dialog = WaitForBrowserOrMessage(app);
        if (!dialog || !FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr)) break;
        run.browserShown = true;
        const bool selected = SelectFolder(app, dialog, Wide(folder));
        app.Dismiss(dialog, selected ? IDOK : IDCANCEL);
        dialog = selected ? app.WaitForMessageBox() : nullptr;
        if (selected) break;
        run.missedSelections++;
    }
    while (dialog) {
        ShownMessage shown;
        MessageBoxContent content = ReadMessageBox(dialog);
        shown.caption = InWindows1252(content.caption);
        shown.text = InWindows1252(content.text);
        shown.offersRetry = GetDlgItem(dialog, IDRETRY) != nullptr;
        run.messages.push_back(shown);
        if (!shown.offersRetry) {
            app.Dismiss(dialog, IDOK);
            break;
        }
        if (onRetryBox) onRetryBox();
        app.Dismiss(dialog, retryAnswer);
        dialog = app.WaitForMessageBox();
    }
    return run;
}

ActionRun RunAction(InstallerProcess& app, int button, const std::string& folder) {
    return RunAction(app, button, FolderToChoose{folder, {}});
}

std::string Describe(const ActionRun& run) {
    std::string text = run.browserShown ? "browser shown" : "no browser";
    if (run.missedSelections) text += ", " + std::to_string(run.missedSelections) + " missed the folder";
    for (const ShownMessage& shown : run.messages) {
        text += "\n[" + shown.caption + (shown.offersRetry ? ", retry/cancel" : "") + "] " + shown.text;
    }
    return text;
}
