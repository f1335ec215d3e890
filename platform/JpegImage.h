#pragma once
// JPEG pictures decoded with libjpeg into 24-bit device-independent bitmaps.
#include "platform/UniqueHandle.h"

#include <cstddef>

namespace gui {

// A picture rejected before its rows are decoded (not a JPEG, a bad header) gives no bitmap.
// An error while the rows are decoded keeps the bitmap with the rows decoded so far; the rest
// stays black. Grayscale pictures come out as RGB.
UniqueBitmap DecodeJpeg(const unsigned char* data, size_t size);

}  // namespace gui
