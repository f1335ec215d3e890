#include "Session.h"

#include "platform/Text.h"
#include "support/BrowserWarmUp.h"

#include <string>

std::string WindowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

ActionRun RunAction(InstallerProcess& app, int button, const FolderToChoose& folder, int retryAnswer,
                    const std::function<void()>& onRetryBox) {
    ActionRun run;
    const std::wstring wide = folder.wide.empty() ? text::FromAnsi(folder.ansi) : folder.wide;
    std::vector<std::wstring> missed;
    HWND browser = app.OpenBrowser(button, [&](HWND browser) { return SelectFolder(app.Handle(), browser, wide); },
                                   &missed);
    run.browserShown = browser || !missed.empty();
    run.missedSelections = static_cast<int>(missed.size());
    HWND dialog = app.FindMessageBox();  // told before any folder was asked for
    if (browser) {
        app.Dismiss(browser, IDOK);
        dialog = app.WaitForMessageBox();
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
