#pragma once
#include <windows.h>

#include <string>

namespace gui {

// A modal message box (MessageBoxA); returns the button pressed (IDOK, IDRETRY, IDCANCEL…).
int ShowMessageBox(const std::string& caption, const std::string& text, UINT flags);

}  // namespace gui
