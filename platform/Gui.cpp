#include "platform/Gui.h"

#include "platform/PictureControl.h"
#include "platform/Text.h"

#include <algorithm>
#include <iterator>

namespace gui {
namespace {

// Command identifiers of the Tab accelerators; control notifications never carry them
// because they arrive with a zero lParam and notification code 1.
constexpr WORD kTabForwards = 0xFF01;
constexpr WORD kTabBackwards = 0xFF02;

UniqueAccel MakeTabAccelerators() {
    ACCEL keys[] = {
        {FVIRTKEY, VK_TAB, kTabForwards},
        {FVIRTKEY | FSHIFT, VK_TAB, kTabBackwards},
    };
    return UniqueAccel(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
}

}  // namespace

Gui::Gui() : instance_(GetModuleHandleW(nullptr)) {}

Gui::~Gui() {
    while (!windows_.empty()) CloseWindow(windows_.begin()->first);
    images_.clear();
}

bool Gui::OpenWindow(int number, int x, int y, int clientWidth, int clientHeight,
                     const std::string& caption, DWORD style) {
    CloseWindow(number);
    Window& window = windows_[number];
    window.owner = this;
    window.number = number;
    const std::wstring className = L"TarvoWindow" + std::to_wstring(number);

    // Unicode windows: their texts are widened from Windows-1252, so they read the same on
    // every system code page.
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className.c_str();
    if (!window.windowClass.Register(windowClass)) {
        windows_.erase(number);
        return false;
    }

    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    window.handle.reset(CreateWindowExW(0, window.windowClass.Name(), text::FromWindows1252(caption).c_str(), style,
                                        x, y, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                        instance_, &window));
    if (!window.handle) {
        windows_.erase(number);
        return false;
    }
    window.tabKeys = MakeTabAccelerators();
    ShowWindow(window.handle.get(), SW_SHOWNORMAL);
    return true;
}

void Gui::CloseWindow(int number) {
    auto found = windows_.find(number);
    if (found == windows_.end()) return;
    Window& window = found->second;
    for (int control : window.controls) controls_.erase(control);
    // Destroyed first, with its children, while the rest of the window is whole: destroying it
    // sends it messages.
    window.handle.reset();
    windows_.erase(found);  // unregisters the class, frees the brush and the accelerators
}

void Gui::SetWindowColor(int number, COLORREF colour) {
    Window* window = FindWindowByNumber(number);
    if (!window) return;
    window->background.reset(CreateSolidBrush(colour));
    window->colour = colour;
    RedrawWindow(window->handle.get(), nullptr, nullptr,
                 RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
}

HWND Gui::WindowHandle(int number) const {
    const Window* window = FindWindowByNumber(number);
    return window ? window->handle.get() : nullptr;
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
    controls_[number] = control;
    parent.controls.push_back(number);
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

HWND Gui::ControlHandle(int number) const {
    auto found = controls_.find(number);
    return found == controls_.end() ? nullptr : found->second;
}

void Gui::StoreImage(int number, UniqueBitmap bitmap) {
    if (bitmap) {
        images_[number] = std::move(bitmap);
    } else {
        images_.erase(number);
    }
}

HBITMAP Gui::Image(int number) const {
    auto found = images_.find(number);
    return found == images_.end() ? nullptr : found->second.get();
}

int Gui::WaitEvent() {
    if (queue_.empty()) {
        MSG message;
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // WM_QUIT (or a broken queue): nothing more will come, so the program is asked to
            // close its windows as if the user had done it.
            for (auto& [number, window] : windows_) queue_.push_back({kEventCloseWindow, -1, number, 0});
            if (queue_.empty()) queue_.push_back({kEventCloseWindow, -1, 0, 0});
        } else {
            if (!TranslateTabKeys(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (queue_.empty()) {
                current_ = Event{static_cast<int>(message.message), -1, -1, 0};
                return current_.code;
            }
        }
    }
    current_ = queue_.front();
    queue_.pop_front();
    return current_.code;
}

bool Gui::TranslateTabKeys(MSG& message) {
    if (!message.hwnd) return false;
    Window* window = FindWindowByHandle(GetAncestor(message.hwnd, GA_ROOT));
    return window && window->tabKeys &&
           TranslateAcceleratorW(window->handle.get(), window->tabKeys.get(), &message);
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
        if (window.background) return OnEraseBackground(handle, window, reinterpret_cast<HDC>(wParam));
        break;
    case WM_CTLCOLORSTATIC:
        if (window.background) return OnStaticColour(window, reinterpret_cast<HDC>(wParam));
        break;
    case WM_ACTIVATE:
        return OnActivate(handle, window, wParam, lParam);
    case WM_NCDESTROY:
        SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

LRESULT Gui::OnCommand(Window& window, WPARAM wParam, LPARAM lParam) {
    if (lParam) {
        auto control = reinterpret_cast<HWND>(lParam);
        queue_.push_back({kEventControl, GetDlgCtrlID(control), window.number, HIWORD(wParam)});
        return 0;
    }
    if (HIWORD(wParam) == 1 && (LOWORD(wParam) == kTabForwards || LOWORD(wParam) == kTabBackwards)) {
        MoveFocus(window, LOWORD(wParam) == kTabForwards);
    }
    return 0;
}

// The window stays: the program decides whether to close it.
LRESULT Gui::OnClose(Window& window) {
    queue_.push_back({kEventCloseWindow, -1, window.number, 0});
    return 0;
}

LRESULT Gui::OnEraseBackground(HWND handle, Window& window, HDC dc) {
    RECT client;
    GetClientRect(handle, &client);
    FillRect(dc, &client, window.background.get());
    return 1;
}

LRESULT Gui::OnStaticColour(Window& window, HDC dc) {
    SetBkColor(dc, window.colour);
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

// Tab order: the enabled, visible WS_TABSTOP controls in creation order, wrapping around.
void Gui::MoveFocus(Window& window, bool forwards) {
    std::vector<HWND> stops;
    for (int number : window.controls) {
        HWND control = ControlHandle(number);
        if (control && IsWindowVisible(control) && IsWindowEnabled(control) &&
            (GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP)) {
            stops.push_back(control);
        }
    }
    if (stops.empty()) return;
    auto current = std::find(stops.begin(), stops.end(), GetFocus());
    size_t next;
    if (current == stops.end()) {
        next = forwards ? 0 : stops.size() - 1;
    } else {
        size_t index = static_cast<size_t>(current - stops.begin());
        next = forwards ? (index + 1) % stops.size() : (index + stops.size() - 1) % stops.size();
    }
    SetFocus(stops[next]);
}

Gui::Window* Gui::FindWindowByHandle(HWND handle) {
    for (auto& [number, window] : windows_) {
        if (window.handle.get() == handle) return &window;
    }
    return nullptr;
}

Gui::Window* Gui::FindWindowByNumber(int number) {
    auto found = windows_.find(number);
    return found == windows_.end() ? nullptr : &found->second;
}

const Gui::Window* Gui::FindWindowByNumber(int number) const {
    auto found = windows_.find(number);
    return found == windows_.end() ? nullptr : &found->second;
}

}  // namespace gui
