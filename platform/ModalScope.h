#pragma once
// What every requester (folder picker, message box) does around its modal dialog: it is owned
// by the foreground window when that window is ours, and the thread's other windows are
// disabled while it is open, so that nothing else of the program can be clicked meanwhile.
#include <windows.h>

#include <vector>

namespace gui {

class ModalScope {
public:
    ModalScope();
    ~ModalScope();  // enables again exactly the windows it disabled
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    HWND Owner() const { return owner_; }

private:
    HWND owner_ = nullptr;
    std::vector<HWND> disabled_;
};

}  // namespace gui
