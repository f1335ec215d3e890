#include "platform/MessageBox.h"

#include "platform/ModalScope.h"

namespace gui {

int ShowMessageBox(const std::string& caption, const std::string& text, UINT flags) {
    ModalScope modal;
    return MessageBoxA(modal.Owner(), text.c_str(), caption.c_str(), flags);
}

}  // namespace gui
