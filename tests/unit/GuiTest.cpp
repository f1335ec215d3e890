#include "platform/Gui.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;

class GuiTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gui_.OpenWindow(3, 100, 80, 300, 120, "test window", kStyle));
        ASSERT_TRUE(gui_.ButtonControl(7, 3, 10, 10, 80, 30, "first"));
        ASSERT_TRUE(gui_.PictureControl(8, 3, 100, 10, 50, 50, 0));
        ASSERT_TRUE(gui_.ButtonControl(9, 3, 10, 50, 80, 30, "second"));
        window_ = gui_.WindowHandle(3);
        ASSERT_NE(window_, nullptr);
        SetForegroundWindow(window_);  // may be refused; no test here depends on it
        Drain();
    }
    // Lets every message already queued be handled, forgetting the events they raise.
    void Drain() {
        ASSERT_TRUE(PostMessageA(window_, WM_APP + 1, 0, 0));
        while (gui_.WaitEvent() != WM_APP + 1) {
        }
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
    gui::Gui gui_;
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
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "TarvoWindow3", &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_NE(info.hIcon, nullptr) << "icon 1 of the program";
    EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(GuiTest, ButtonPressBecomesAControlEventWithItsNumbers) {
    ASSERT_TRUE(PostMessageA(gui_.ControlHandle(9), BM_CLICK, 0, 0));
    int code;
    do {
        code = gui_.WaitEvent();
    } while (code != gui::kEventControl);
    EXPECT_EQ(gui_.EventControl(), 9);
    EXPECT_EQ(gui_.EventWindow(), 3);
}

TEST_F(GuiTest, CloseRequestIsAnEventAndTheWindowStays) {
    ASSERT_TRUE(PostMessageA(window_, WM_CLOSE, 0, 0));
    int code;
    do {
        code = gui_.WaitEvent();
    } while (code != gui::kEventCloseWindow);
    EXPECT_EQ(gui_.EventWindow(), 3);
    EXPECT_TRUE(IsWindow(window_));
}

TEST_F(GuiTest, OtherMessagesAreReturnedAsTheirOwnIdentifier) {
    ASSERT_TRUE(PostMessageA(window_, WM_APP + 7, 0, 0));
    EXPECT_EQ(gui_.WaitEvent(), WM_APP + 7);
}

TEST_F(GuiTest, ClosingAWindowDestroysItAndItsClass) {
    gui_.CloseWindow(3);
    EXPECT_FALSE(IsWindow(window_));
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), "TarvoWindow3", &info));
    EXPECT_EQ(gui_.ControlHandle(7), nullptr);
}

TEST_F(GuiTest, TabCyclesThroughTheButtonsOnlyInBothDirections) {
    HWND first = gui_.ControlHandle(7), second = gui_.ControlHandle(9);
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
    HDC screen = GetDC(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, 40, 12));
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(bitmap);
    gui_.StoreImage(5, std::move(bitmap));
    ASSERT_TRUE(gui_.PictureControl(11, 3, 20, 90, 212, 42, 5));
    RECT rect;
    ASSERT_TRUE(GetClientRect(gui_.ControlHandle(11), &rect));
    EXPECT_EQ(rect.right, 40);
    EXPECT_EQ(rect.bottom, 12);
}

}  // namespace

namespace {

TEST(GuiFontTest, EveryControlUsesTheStockGuiFont) {
    gui::Gui gui;
    ASSERT_TRUE(gui.OpenWindow(0, 10, 10, 200, 100, "fonts", kStyle));
    ASSERT_TRUE(gui.PictureControl(0, 0, 0, 0, 20, 20, 0));
    ASSERT_TRUE(gui.ButtonControl(1, 0, 0, 30, 80, 20, "a"));
    ASSERT_TRUE(gui.ButtonControl(2, 0, 0, 60, 80, 20, "b"));
    for (int number : {0, 1, 2}) {
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(gui.ControlHandle(number), WM_GETFONT, 0, 0)),
                  GetStockObject(DEFAULT_GUI_FONT))
            << number;
    }
}

}  // namespace
