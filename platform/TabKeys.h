#pragma once
// Tab and Shift+Tab in a plain window: the focus moves forwards and backwards among its tab
// stops, wrapping around. IsDialogMessage would do this too, but would also make Enter press a
// button, which here it must not.
#include "platform/UniqueHandle.h"

#include <vector>

namespace gui {

class TabKeys {
public:
    TabKeys();

    // Turns a Tab key pressed in `window` into the WM_COMMAND that OnCommand takes; false for
    // any other message, which is then handled as usual.
    bool Translate(HWND window, MSG& message) const;

    // For a WM_COMMAND: true when it came from Translate, and then the focus has moved among the
    // enabled, visible WS_TABSTOP ones of `controls` (in Tab order).
    bool OnCommand(WPARAM wParam, LPARAM lParam, const std::vector<HWND>& controls) const;

private:
    UniqueAccel table_;
};

}  // namespace gui
