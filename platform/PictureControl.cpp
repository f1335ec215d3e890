#include "platform/PictureControl.h"

#include "platform/GdiScope.h"
#include "platform/UniqueHandle.h"

#include <commctrl.h>

namespace gui {
namespace {

constexpr UINT_PTR kSubclassId = 1;

HBITMAP StoredBitmap(HWND control) {
    return reinterpret_cast<HBITMAP>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

LRESULT OnGetImage(HWND control, WPARAM type) {
    return type == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(StoredBitmap(control)) : 0;
}

LRESULT OnSetImage(HWND control, WPARAM type, HBITMAP bitmap) {
    if (type != IMAGE_BITMAP) return 0;
    HBITMAP previous = StoredBitmap(control);
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
    BITMAP info{};
    if (bitmap && GetObjectA(bitmap, sizeof info, &info)) {
        SetWindowPos(control, nullptr, 0, 0, info.bmWidth, info.bmHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(control, nullptr, TRUE);
    return reinterpret_cast<LRESULT>(previous);
}

// Without a bitmap the control shows its window's background, as an empty static would.
void FillWithParentBackground(HWND control, HDC dc, const RECT& area) {
    HWND parent = GetParent(control);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(control)));
    FillRect(dc, &area, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
}

// Nothing to erase: WM_PAINT covers the whole control.
LRESULT OnEraseBackground() { return 1; }

LRESULT OnPaint(HWND control) {
    PaintScope paint(control);
    RECT client;
    GetClientRect(control, &client);
    HBITMAP bitmap = StoredBitmap(control);
    UniqueDc memory(bitmap ? CreateCompatibleDC(paint.Dc()) : nullptr);
    if (!memory) {
        FillWithParentBackground(control, paint.Dc(), client);
        return 0;
    }
    SelectScope selected(memory.get(), bitmap);
    BitBlt(paint.Dc(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    return 0;
}

LRESULT CALLBACK PictureProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

LRESULT OnNcDestroy(HWND control, WPARAM wParam, LPARAM lParam) {
    RemoveWindowSubclass(control, PictureProc, kSubclassId);
    return DefSubclassProc(control, WM_NCDESTROY, wParam, lParam);
}

LRESULT CALLBACK PictureProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                             UINT_PTR, DWORD_PTR) {
    switch (message) {
    case STM_SETIMAGE:
        return OnSetImage(control, wParam, reinterpret_cast<HBITMAP>(lParam));
    case STM_GETIMAGE:
        return OnGetImage(control, wParam);
    case WM_ERASEBKGND:
        return OnEraseBackground();
    case WM_PAINT:
        return OnPaint(control);
    case WM_NCDESTROY:
        return OnNcDestroy(control, wParam, lParam);
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void MakePictureControl(HWND control) {
    SetWindowSubclass(control, PictureProc, kSubclassId, 0);
}

}  // namespace gui
