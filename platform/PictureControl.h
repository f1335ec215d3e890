#pragma once
// A plain "STATIC" control (SS_NOTIFY, so clicks reach its window) taught to show a bitmap:
// STM_SETIMAGE with IMAGE_BITMAP stores the bitmap, resizes the control to it and draws it
// unscaled at the top-left corner. The bitmap stays owned by the caller.
#include <windows.h>

namespace gui {

void MakePictureControl(HWND control);

}  // namespace gui
