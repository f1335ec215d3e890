#include "platform/MessageBox.h"

#include "platform/ModalScope.h"

namespace gui {

int ShowMessageBox(const std::wstring& caption, const std::wstring& text, UINT flags) {
    ModalScope modal;
    return MessageBoxW(modal.Owner(), text.c_str(), caption.c_str(), flags);
}

}  // namespace gui
