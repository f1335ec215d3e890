#include "platform/ModalScope.h"

namespace gui {
namespace {

struct Collect {
    HWND foreground;
    std::vector<HWND>* windows;
};

BOOL CALLBACK CollectOtherWindow(HWND window, LPARAM context) {
    auto* collect = reinterpret_cast<Collect*>(context);
    if (window != collect->foreground && IsWindowVisible(window) && IsWindowEnabled(window)) {
        collect->windows->push_back(window);
    }
    return TRUE;
}

}  // namespace

ModalScope::ModalScope() {
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    if (foreground) GetWindowThreadProcessId(foreground, &process);
    owner_ = process == GetCurrentProcessId() ? foreground : nullptr;

    Collect collect{foreground, &disabled_};
    EnumThreadWindows(GetCurrentThreadId(), CollectOtherWindow, reinterpret_cast<LPARAM>(&collect));
    for (HWND window : disabled_) EnableWindow(window, FALSE);
}

ModalScope::~ModalScope() {
    for (HWND window : disabled_) {
        if (IsWindow(window)) EnableWindow(window, TRUE);
    }
}

}  // namespace gui
