#include "platform/TabKeys.h"

#include <algorithm>
#include <iterator>

namespace gui {
namespace {

// Command identifiers of the accelerators; control notifications never carry them, because
// they arrive with a zero lParam and notification code 1.
constexpr WORD kForwards = 0xFF01;
constexpr WORD kBackwards = 0xFF02;

void MoveFocus(const std::vector<HWND>& controls, bool forwards) {
    std::vector<HWND> stops;
    for (HWND control : controls) {
        if (IsWindowVisible(control) && IsWindowEnabled(control) && (GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP)) {
            stops.push_back(control);
        }
    }
    if (stops.empty()) return;
    auto current = std::find(stops.begin(), stops.end(), GetFocus());
    size_t next;
    if (current == stops.end()) {
        next = forwards ? 0 : stops.size() - 1;
    } else {
        size_t index = static_cast<size_t>(current - stops.begin());
        next = forwards ? (index + 1) % stops.size() : (index + stops.size() - 1) % stops.size();
    }
    SetFocus(stops[next]);
}

}  // namespace

TabKeys::TabKeys() {
    ACCEL keys[] = {
        {FVIRTKEY, VK_TAB, kForwards},
        {FVIRTKEY | FSHIFT, VK_TAB, kBackwards},
    };
    table_.reset(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
}

bool TabKeys::Translate(HWND window, MSG& message) const {
    return table_ && TranslateAcceleratorW(window, table_.get(), &message);
}

bool TabKeys::OnCommand(WPARAM wParam, LPARAM lParam, const std::vector<HWND>& controls) const {
    const WORD command = LOWORD(wParam);
    if (lParam || HIWORD(wParam) != 1 || (command != kForwards && command != kBackwards)) return false;
    MoveFocus(controls, command == kForwards);
    return true;
}

}  // namespace gui
