#pragma once
#include <windows.h>

#include <string>

namespace gui {

// A modal message box; returns the button pressed (IDOK, IDRETRY, IDCANCEL…). The texts are
// wide, so that they read the same whatever the system's code page.
int ShowMessageBox(const std::wstring& caption, const std::wstring& text, UINT flags);

}  // namespace gui
