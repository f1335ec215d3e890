#include "platform/Gui.h"

#include "platform/PictureControl.h"
#include "platform/Text.h"

#include <utility>

namespace gui {

Gui::Gui(const Identity& identity) : identity_(identity), instance_(GetModuleHandleW(nullptr)) {}

Gui::~Gui() {
    while (!windows_.empty()) CloseWindow(windows_.front().number);
    images_.clear();
}

bool Gui::OpenWindow(int number, int x, int y, int clientWidth, int clientHeight,
                     const std::string& caption, DWORD style) {
    CloseWindow(number);
    Window& window = windows_.emplace_front();
    window.owner = this;
    window.number = number;
    // to_wstring would bring in a printf
    const std::wstring className = std::wstring(identity_.classPrefix) + text::FromAnsi(std::to_string(number));

    // Unicode windows: their texts are widened from Windows-1252, so they read the same on
    // every system code page.
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(identity_.icon));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className.c_str();
    if (!window.windowClass.Register(windowClass)) {
        windows_.pop_front();
        return false;
    }

    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    window.handle.reset(CreateWindowExW(0, window.windowClass.Name(), text::FromWindows1252(caption).c_str(), style,
                                        x, y, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                        instance_, &window));
    if (!window.handle) {
        windows_.pop_front();
        return false;
    }
    ShowWindow(window.handle.get(), SW_SHOWNORMAL);
    return true;
}

void Gui::CloseWindow(int number) {
    Window* window = FindWindowByNumber(number);
    if (!window) return;
    // Destroyed first, with its children, while the rest of the window is whole: destroying it
    // sends it messages.
    window->handle.reset();
    // unregisters the class, frees the brush and the accelerators
    windows_.remove_if([number](const Window& open) { return open.number == number; });
}

void Gui::SetWindowColor(int number, COLORREF colour) {
    Window* window = FindWindowByNumber(number);
    if (!window) return;
    window->background.reset(CreateSolidBrush(colour));
    window->colour = colour;
    RedrawWindow(window->handle.get(), nullptr, nullptr,
                 RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
}

HWND Gui::CreateControl(int number, Window& parent, const wchar_t* className,
                        const std::string& text, DWORD style, int x, int y, int width,
                        int height) {
    HWND control = CreateWindowExW(0, className, text::FromWindows1252(text).c_str(), style, x, y, width, height,
                                   parent.handle.get(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(number)),
                                   instance_, nullptr);
    if (!control) return nullptr;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
    parent.controls.push_back(control);
    return control;
}

bool Gui::PictureControl(int number, int window, int x, int y, int width, int height, int image) {
    Window* parent = FindWindowByNumber(window);
    if (!parent) return false;
    HWND control = CreateControl(number, *parent, L"STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY,
                                 x, y, width, height);
    if (!control) return false;
    MakePictureControl(control);
    if (HBITMAP bitmap = Image(image)) {
        SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    }
    return true;
}

bool Gui::ButtonControl(int number, int window, int x, int y, int width, int height,
                        const std::string& text) {
    Window* parent = FindWindowByNumber(window);
    if (!parent) return false;
    return CreateControl(number, *parent, L"Button", text,
                         BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP, x, y,
                         width, height) != nullptr;
}

void Gui::StoreImage(int number, UniqueBitmap bitmap) {
    std::erase_if(images_, [number](const StoredImage& stored) { return stored.number == number; });
    if (bitmap) images_.push_back({number, std::move(bitmap)});
}

HBITMAP Gui::Image(int number) const {
    for (const StoredImage& stored : images_) {
        if (stored.number == number) return stored.bitmap.get();
    }
    return nullptr;
}

int Gui::WaitEvent() {
    while (queue_.empty()) {
        MSG message;
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            // WM_QUIT (or a broken queue): nothing more will come, so the program is asked to
            // close its windows as if the user had done it.
            for (const Window& window : windows_) queue_.push_back({kEventCloseWindow, -1, window.number});
            if (queue_.empty()) queue_.push_back({kEventCloseWindow, -1, 0});
            break;
        }
        if (!TranslateTabKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    current_ = queue_.front();
    queue_.erase(queue_.begin());
    return current_.code;
}

bool Gui::TranslateTabKeys(MSG& message) {
    if (!message.hwnd) return false;
    Window* window = FindWindowByHandle(GetAncestor(message.hwnd, GA_ROOT));
    return window && window->tabKeys.Translate(window->handle.get(), message);
}

LRESULT CALLBACK Gui::WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
    if (!window) return DefWindowProcW(handle, message, wParam, lParam);
    return window->owner->HandleMessage(handle, *window, message, wParam, lParam);
}

LRESULT Gui::HandleMessage(HWND handle, Window& window, UINT message, WPARAM wParam,
                           LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        return OnCommand(window, wParam, lParam);
    case WM_CLOSE:
        return OnClose(window);
    case WM_ERASEBKGND:
        return OnEraseBackground(handle, window, wParam, lParam);
    case WM_CTLCOLORSTATIC:
        return OnStaticColour(handle, window, wParam, lParam);
    case WM_ACTIVATE:
        return OnActivate(handle, window, wParam, lParam);
    case WM_NCDESTROY:
        return OnNcDestroy(handle, wParam, lParam);
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

LRESULT Gui::OnCommand(Window& window, WPARAM wParam, LPARAM lParam) {
    if (window.tabKeys.OnCommand(wParam, lParam, window.controls)) return 0;
    if (lParam) queue_.push_back({kEventControl, GetDlgCtrlID(reinterpret_cast<HWND>(lParam)), window.number});
    return 0;
}

// The window stays: the program decides whether to close it.
LRESULT Gui::OnClose(Window& window) {
    queue_.push_back({kEventCloseWindow, -1, window.number});
    return 0;
}

LRESULT Gui::OnEraseBackground(HWND handle, Window& window, WPARAM wParam, LPARAM lParam) {
    if (!window.background) return DefWindowProcW(handle, WM_ERASEBKGND, wParam, lParam);
    RECT client;
    GetClientRect(handle, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, window.background.get());
    return 1;
}

LRESULT Gui::OnStaticColour(HWND handle, Window& window, WPARAM wParam, LPARAM lParam) {
    if (!window.background) return DefWindowProcW(handle, WM_CTLCOLORSTATIC, wParam, lParam);
    SetBkColor(reinterpret_cast<HDC>(wParam), window.colour);
    return reinterpret_cast<LRESULT>(window.background.get());
}

// The focused control is remembered while the window is inactive and given back on return.
LRESULT Gui::OnActivate(HWND handle, Window& window, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(handle, focus)) window.savedFocus = focus;
        return 0;
    }
    if (window.savedFocus && IsWindow(window.savedFocus) && IsChild(handle, window.savedFocus) &&
        !HIWORD(wParam)) {
        SetFocus(window.savedFocus);
        return 0;
    }
    return DefWindowProcW(handle, WM_ACTIVATE, wParam, lParam);
}

// The last message: the window's state is not reached from it any more.
LRESULT Gui::OnNcDestroy(HWND handle, WPARAM wParam, LPARAM lParam) {
    SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
    return DefWindowProcW(handle, WM_NCDESTROY, wParam, lParam);
}

Gui::Window* Gui::FindWindowByHandle(HWND handle) {
    for (Window& window : windows_) {
        if (window.handle.get() == handle) return &window;
    }
    return nullptr;
}

Gui::Window* Gui::FindWindowByNumber(int number) {
    for (Window& window : windows_) {
        if (window.number == number) return &window;
    }
    return nullptr;
}

}  // namespace gui
