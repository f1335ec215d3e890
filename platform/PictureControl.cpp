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

void OnPaint(HWND control) {
    PaintScope paint(control);
    RECT client;
    GetClientRect(control, &client);
    HBITMAP bitmap = StoredBitmap(control);
    UniqueDc memory(bitmap ? CreateCompatibleDC(paint.Dc()) : nullptr);
    if (!memory) {
        FillWithParentBackground(control, paint.Dc(), client);
        return;
    }
    SelectScope selected(memory.get(), bitmap);
    BitBlt(paint.Dc(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK PictureProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                             UINT_PTR, DWORD_PTR) {
    switch (message) {
    case STM_SETIMAGE:
        return OnSetImage(control, wParam, reinterpret_cast<HBITMAP>(lParam));
    case STM_GETIMAGE:
        return wParam == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(StoredBitmap(control)) : 0;
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers the whole control
    case WM_PAINT:
        OnPaint(control);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(control, PictureProc, kSubclassId);
        break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void MakePictureControl(HWND control) {
    SetWindowSubclass(control, PictureProc, kSubclassId, 0);
}

}  // namespace gui
