#include "platform/Gui.h"

#include "resources/ResourceIds.h"
#include "support/ScreenDc.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <utility>

namespace {

constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
// Another prefix than the installer's: the window classes are the caller's to name.
constexpr gui::Identity kIdentity{L"GuiTestWindow", TARVO_ICON};

struct ClassSearch {
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ClassSearch*>(context);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (wcscmp(name, search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// This thread's window of class `className` (another test program may show one of that name).
HWND OwnWindow(const wchar_t* className) {
    ClassSearch search{className, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The layer is looked at from outside, as any program would: the window by its class, the
// controls by their ids.
class GuiTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gui_.OpenWindow(3, 100, 80, 300, 120, "test window", kStyle));
        ASSERT_TRUE(gui_.ButtonControl(7, 3, 10, 10, 80, 30, "first"));
        ASSERT_TRUE(gui_.PictureControl(8, 3, 100, 10, 50, 50, 0));
        ASSERT_TRUE(gui_.ButtonControl(9, 3, 10, 50, 80, 30, "second"));
        window_ = OwnWindow(L"GuiTestWindow3");
        ASSERT_NE(window_, nullptr);
        SetForegroundWindow(window_);  // may be refused; no test here depends on it
        Drain();
    }
    HWND Control(int number) const { return GetDlgItem(window_, number); }
    // Handles messages until event `code` comes, from control `control` when one is given,
    // forgetting the events before it.
    void WaitFor(int code, int control = -1) {
        while (gui_.WaitEvent() != code || (control >= 0 && gui_.EventControl() != control)) {
        }
    }
    // Lets every message already queued be handled, forgetting the events they raise: a
    // notification from the picture is queued last, and its event waited for.
    void Drain() {
        ASSERT_TRUE(PostMessageW(window_, WM_COMMAND, MAKEWPARAM(8, STN_CLICKED), reinterpret_cast<LPARAM>(Control(8))));
        WaitFor(gui::kEventControl, 8);
    }
    void PressTab(bool shift) {
        BYTE keys[256];
        ASSERT_TRUE(GetKeyboardState(keys));
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        ASSERT_TRUE(SetKeyboardState(keys));
        ASSERT_TRUE(PostMessageA(GetFocus() ? GetFocus() : window_, WM_KEYDOWN, VK_TAB, 0));
        Drain();
        keys[VK_SHIFT] = 0;
        ASSERT_TRUE(SetKeyboardState(keys));
    }
    gui::Gui gui_{kIdentity};
    HWND window_ = nullptr;
};

TEST_F(GuiTest, ClientAreaAndFramePositionAreAsAsked) {
    RECT client, frame;
    ASSERT_TRUE(GetClientRect(window_, &client));
    ASSERT_TRUE(GetWindowRect(window_, &frame));
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 120);
    EXPECT_EQ(frame.left, 100);
    EXPECT_EQ(frame.top, 80);
}

TEST_F(GuiTest, WindowClassHasTheProgramsIconArrowAndDoubleClicks) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"GuiTestWindow3", &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_NE(info.hIcon, nullptr) << "the icon the caller named";
    EXPECT_EQ(info.hIcon, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TARVO_ICON)));
    EXPECT_EQ(info.hCursor, LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));  // IDC_ARROW
}

TEST_F(GuiTest, ButtonPressBecomesAControlEventWithItsNumbers) {
    ASSERT_TRUE(PostMessageA(Control(9), BM_CLICK, 0, 0));
    WaitFor(gui::kEventControl);
    EXPECT_EQ(gui_.EventControl(), 9);
    EXPECT_EQ(gui_.EventWindow(), 3);
}

TEST_F(GuiTest, CloseRequestIsAnEventAndTheWindowStays) {
    ASSERT_TRUE(PostMessageA(window_, WM_CLOSE, 0, 0));
    WaitFor(gui::kEventCloseWindow);
    EXPECT_EQ(gui_.EventWindow(), 3);
    EXPECT_TRUE(IsWindow(window_));
}

// Not even a message whose identifier is an event's code: a WM_CLOSE for no window (16) is no
// close event.
TEST_F(GuiTest, OtherMessagesRaiseNoEvent) {
    ASSERT_TRUE(PostMessageA(window_, WM_APP + 7, 0, 0));
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_APP + 7, 0, 0));
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_CLOSE, 0, 0));
    ASSERT_TRUE(PostMessageA(Control(9), BM_CLICK, 0, 0));
    EXPECT_EQ(gui_.WaitEvent(), gui::kEventControl);
    EXPECT_EQ(gui_.EventControl(), 9);
}

TEST_F(GuiTest, ClosingAWindowDestroysItItsControlsAndItsClass) {
    HWND button = Control(7);
    ASSERT_NE(button, nullptr);
    gui_.CloseWindow(3);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_FALSE(IsWindow(button));
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"GuiTestWindow3", &info));
}

TEST_F(GuiTest, TabCyclesThroughTheButtonsOnlyInBothDirections) {
    HWND first = Control(7), second = Control(9);
    SetFocus(window_);
    ASSERT_EQ(GetFocus(), window_);
    PressTab(false);
    EXPECT_EQ(GetFocus(), first);
    PressTab(false);
    EXPECT_EQ(GetFocus(), second) << "the picture takes no focus";
    PressTab(false);
    EXPECT_EQ(GetFocus(), first) << "wraps around";
    PressTab(true);
    EXPECT_EQ(GetFocus(), second) << "Shift+Tab goes back, wrapping";
    SetFocus(window_);
    ASSERT_EQ(GetFocus(), window_);
    PressTab(true);
    EXPECT_EQ(GetFocus(), second) << "Shift+Tab with nothing focused goes to the last";
}

TEST_F(GuiTest, PictureTakesTheSizeOfItsImage) {
    UniqueBitmap bitmap(CreateCompatibleBitmap(ScreenDc().get(), 40, 12));
    ASSERT_TRUE(bitmap);
    gui_.StoreImage(5, std::move(bitmap));
    ASSERT_TRUE(gui_.PictureControl(11, 3, 20, 90, 212, 42, 5));
    RECT rect;
    ASSERT_TRUE(GetClientRect(Control(11), &rect));
    EXPECT_EQ(rect.right, 40);
    EXPECT_EQ(rect.bottom, 12);
}

TEST(GuiFontTest, EveryControlUsesTheStockGuiFont) {
    gui::Gui gui(kIdentity);
    ASSERT_TRUE(gui.OpenWindow(0, 10, 10, 200, 100, "fonts", kStyle));
    ASSERT_TRUE(gui.PictureControl(0, 0, 0, 0, 20, 20, 0));
    ASSERT_TRUE(gui.ButtonControl(1, 0, 0, 30, 80, 20, "a"));
    ASSERT_TRUE(gui.ButtonControl(2, 0, 0, 60, 80, 20, "b"));
    HWND window = OwnWindow(L"GuiTestWindow0");
    ASSERT_NE(window, nullptr);
    for (int number : {0, 1, 2}) {
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(GetDlgItem(window, number), WM_GETFONT, 0, 0)),
                  GetStockObject(DEFAULT_GUI_FONT))
            << number;
    }
}

}  // namespace
