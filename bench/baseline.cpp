// The start-up and memory baseline: what any window program built like the installer pays.
// One empty window with the installer's client size and frame style, a message loop, nothing
// else: no manifest, no COM, no common controls, no picture.
//
// Built with TARVO_BENCH_WITH_CONTROLS (and a Common Controls 6 manifest) it is the second
// reference: the same window holding the installer's three controls, an empty static and two
// themed buttons, with the common controls started as the installer starts them. What the
// installer takes beyond it is its own work: COM, the registry, the banner.
#include <windows.h>
#ifdef TARVO_BENCH_WITH_CONTROLS
#include <commctrl.h>
#endif

namespace {

constexpr char kClassName[] = "TarvoBenchBaseline";
constexpr char kCaption[] = TARVO_BENCH_BASELINE_CAPTION;
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#ifdef TARVO_BENCH_WITH_CONTROLS
    InitCommonControls();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
#endif
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) return 1;

    RECT frame{0, 0, 378, 138};
    AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    HWND window = CreateWindowExA(0, kClassName, kCaption, kStyle, 379, 137, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNORMAL);
#ifdef TARVO_BENCH_WITH_CONTROLS
    struct Child {
        const char* className;
        const char* text;
        DWORD style;
        int x, y, width, height;
    };
    const DWORD button = BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
    const Child children[] = {
        {"STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 80, 1, 212, 42},
        {"Button", "Install Tarvo lib", button, 10, 100, 110, 30},
        {"Button", "Desinstall Tarvo lib", button, 255, 100, 110, 30},
    };
    int id = 0;
    for (const Child& child : children) {
        HWND control = CreateWindowExA(0, child.className, child.text, child.style, child.x, child.y,
                                       child.width, child.height, window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    }
#endif

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
