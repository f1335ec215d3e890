#pragma once
// Driving whole actions of the real installer through its window, for the hardening tests:
// press a button, confirm a folder in the browser, answer every message box that follows.
#include "support/CompilerFolder.h"
#include "support/Processes.h"

#include <functional>
#include <string>
#include <vector>

// A path the build gave with forward slashes, as the browser and the messages spell it.
std::string WindowsPath(std::string path);

struct ShownMessage {
    std::string caption;
    std::string text;
    bool offersRetry = false;  // a Retry / Cancel box rather than a plain OK
};

struct ActionRun {
    bool browserShown = false;
    int missedSelections = 0;  // browsers cancelled because they would not show the folder
    std::vector<ShownMessage> messages;  // in the order shown
};

// The folder the browser is to confirm: an ANSI path, or a wide one for names the ANSI code
// page can't hold.
struct FolderToChoose {
    std::string ansi;
    std::wstring wide;
};

// Presses `button` (1 install, 2 uninstall), confirms `folder` if the browser opens, then
// answers each message box until a plain OK box ends the action. Retry boxes get `onRetryBox`
// first (if any) and then `retryAnswer`.
ActionRun RunAction(InstallerProcess& app, int button, const FolderToChoose& folder,
                    int retryAnswer = IDCANCEL, const std::function<void()>& onRetryBox = {});
ActionRun RunAction(InstallerProcess& app, int button, const std::string& folder);

// Every message of a run, for failure output.
std::string Describe(const ActionRun& run);
