#pragma once
// A small GUI layer over Win32: windows and controls are addressed by numbers the program
// chooses, and what happens to them is read as events, one at a time, from a queue.
#include "platform/TabKeys.h"
#include "platform/UniqueHandle.h"
#include "platform/WindowClass.h"

#include <forward_list>
#include <string>
#include <vector>

namespace gui {

constexpr int kEventControl = 13100;   // a child control notified its window (WM_COMMAND)
constexpr int kEventCloseWindow = 16;  // the user asked to close a window (WM_CLOSE)

// Who the program is, as its windows show it: the start of their class names (the window's
// number follows) and the id of their icon among the program's resources.
struct Identity {
    const wchar_t* classPrefix;
    int icon;
};

class Gui {
public:
    explicit Gui(const Identity& identity);
    ~Gui();
    Gui(const Gui&) = delete;
    Gui& operator=(const Gui&) = delete;

    // Texts (captions, button labels) are Windows-1252 bytes.
    // Opens a top-level window whose outer frame's top-left corner is (x, y) and whose client
    // area is clientWidth x clientHeight. Returns false when the window can't be created.
    bool OpenWindow(int number, int x, int y, int clientWidth, int clientHeight,
                    const std::string& caption, DWORD style);
    void CloseWindow(int number);
    void SetWindowColor(int number, COLORREF colour);

    // Controls are children of an open window, and their number is their control id; a picture
    // control shows image `image` (none when the number holds no image) and takes its size.
    bool PictureControl(int number, int window, int x, int y, int width, int height, int image);
    bool ButtonControl(int number, int window, int x, int y, int width, int height,
                       const std::string& text);

    // The image store keeps decoded pictures until it is cleared or the layer ends.
    void StoreImage(int number, UniqueBitmap bitmap);

    // Blocks until there is an event and returns its code. When the thread is told to quit
    // (WM_QUIT), every open window gets a close event, as if the user had asked.
    int WaitEvent();
    int EventControl() const { return current_.control; }
    int EventWindow() const { return current_.window; }

private:
    struct Event {
        int code = 0;
        int control = -1;
        int window = -1;
    };
    struct StoredImage {
        int number = 0;
        UniqueBitmap bitmap;
    };
    struct Window {
        Gui* owner = nullptr;
        int number = 0;
        WindowClass windowClass;  // before the handle: it outlives the window
        UniqueWindow handle;
        UniqueBrush background;
        COLORREF colour = 0;
        TabKeys tabKeys;
        HWND savedFocus = nullptr;
        std::vector<HWND> controls;  // in creation order, which is the Tab order
    };

    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(HWND handle, Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(Window& window, WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(Window& window);
    LRESULT OnEraseBackground(HWND handle, Window& window, WPARAM wParam, LPARAM lParam);
    LRESULT OnStaticColour(HWND handle, Window& window, WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(HWND handle, Window& window, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcDestroy(HWND handle, WPARAM wParam, LPARAM lParam);
    bool TranslateTabKeys(MSG& message);
    Window* FindWindowByHandle(HWND handle);
    Window* FindWindowByNumber(int number);
    HWND CreateControl(int number, Window& parent, const wchar_t* className, const std::string& text,
                       DWORD style, int x, int y, int width, int height);
    HBITMAP Image(int number) const;

    Identity identity_;
    HINSTANCE instance_;
    // Few of each, so plain lists: a sorted map or a deque would cost more code than they save.
    // The images are declared before the windows so that the windows go first at shutdown.
    std::vector<StoredImage> images_;
    std::forward_list<Window> windows_;  // a window's state stays put: its handle points at it
    std::vector<Event> queue_;
    Event current_;
};

}  // namespace gui
