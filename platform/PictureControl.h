#pragma once
// A plain "STATIC" control (SS_NOTIFY, so clicks reach its window) taught to show a bitmap:
// STM_SETIMAGE with IMAGE_BITMAP stores the bitmap, resizes the control to it and draws it
// unscaled at the top-left corner. The bitmap stays owned by the caller.
// Subclassed rather than created with SS_BITMAP: SS_BITMAP is one of the static's types, not a
// flag, so the control would no longer be the plain SS_NOTIFY static the window's layout makes.
#include <windows.h>

namespace gui {

void MakePictureControl(HWND control);

}  // namespace gui
