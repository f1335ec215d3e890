#include "app/Installer.h"

#include "app/MainWindow.h"
#include "install/Actions.h"
#include "install/InstallFolder.h"
#include "install/Targets.h"
#include "platform/ComScope.h"
#include "platform/FolderPicker.h"
#include "platform/Gui.h"
#include "platform/MessageBox.h"

#include <commctrl.h>

#include <array>

namespace {

// Version 6 of the common controls (the manifest's) registers its classes through
// InitCommonControlsEx only, and InitCommonControls does nothing there; an older comctl32,
// which knows no ICC_STANDARD_CLASSES, registers them through InitCommonControls.
void StartCommonControls() {
    InitCommonControls();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

std::array<PayloadFile, 2> Payloads() {
    return {{
        {kLibraryRelativePath, LibraryPayload(), LibraryPayloadDigest()},
        {kHelpRelativePath, HelpPayload(), HelpPayloadDigest()},
    }};
}

// The real dialogs.
class DialogUi final : public ActionUi {
public:
    explicit DialogUi(gui::FolderPicker& picker) : picker_(picker) {}
    gui::FolderChoice PickFolder(const std::string& prompt, const std::string& proposal) override {
        return picker_.Browse(prompt, proposal);
    }
    int ShowMessage(const std::wstring& caption, const std::wstring& text, UINT flags) override {
        return gui::ShowMessageBox(caption, text, flags);
    }

private:
    gui::FolderPicker& picker_;
};

// Waits for events until window 0 is closed.
void RunEventLoop(gui::Gui& gui, gui::FolderPicker& picker, std::string& installFolder) {
    DialogUi ui(picker);
    for (;;) {
        switch (gui.WaitEvent()) {
        case gui::kEventControl:
            switch (gui.EventControl()) {
            case kInstallButton:
                InstallLibrary(installFolder, Payloads(), ui);
                break;
            case kUninstallButton:
                UninstallLibrary(installFolder, Payloads(), ui);
                break;
            }
            break;
        case gui::kEventCloseWindow:
            if (gui.EventWindow() == kMainWindow) {
                gui.CloseWindow(kMainWindow);
                return;
            }
            break;
        }
    }
}

}  // namespace

int RunInstaller() {
    gui::FolderPicker picker;  // outlives COM: the shell is unloaded last
    ComScope com;
    StartCommonControls();
    gui::Gui gui(kIdentity);
    std::string installFolder = FindCompilerFolder();
    // Without its window there is nothing to wait on. The exit code is 0 all the same: the
    // installer has no other, and whoever starts it (a double click in Explorer) reads none.
    if (!OpenMainWindow(gui)) return 0;
    RunEventLoop(gui, picker, installFolder);
    return 0;
}
