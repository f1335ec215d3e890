// The real installer, started as a user would, looked at and handled from outside.
#include "support/Processes.h"
#include "support/ScreenDc.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

RECT ClientRectOf(HWND control, HWND parent) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void PressKey(WORD key, bool shift = false) {
    INPUT inputs[4] = {};
    int count = 0;
    auto add = [&](WORD vk, bool up) {
        inputs[count].type = INPUT_KEYBOARD;
        inputs[count].ki.wVk = vk;
        inputs[count].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ++count;
    };
    if (shift) add(VK_SHIFT, false);
    add(key, false);
    add(key, true);
    if (shift) add(VK_SHIFT, true);
    SendInput(count, inputs, sizeof(INPUT));
    Sleep(300);
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return GetPixel(ScreenDc().get(), point.x, point.y);
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app_.Started()) << InstallerPath();
        main_ = app_.MainWindow();
        ASSERT_NE(main_, nullptr);
    }
    // Brings the installer's window to the front, where the keys go.
    void Activate() {
        SetForegroundWindow(main_);
        Sleep(300);
    }
    InstallerProcess app_;
    HWND main_ = nullptr;
};

TEST_F(MainWindowTest, WindowIsPlacedSizedAndStyledAsDesigned) {
    RECT frame, client;
    GetWindowRect(main_, &frame);
    GetClientRect(main_, &client);
    EXPECT_EQ(frame.left, 379);
    EXPECT_EQ(frame.top, 137);
    EXPECT_EQ(client.right, 378);
    EXPECT_EQ(client.bottom, 138);
    LONG style = GetWindowLongA(main_, GWL_STYLE);
    EXPECT_EQ(style & 0x00FF0000, 0x00CE0000) << std::hex << style;
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(GetWindowLongA(main_, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0) << "no extended style of its own";
    EXPECT_EQ(GetClassLongPtrA(main_, GCL_STYLE), static_cast<ULONG_PTR>(CS_DBLCLKS));
    EXPECT_EQ(WindowText(main_), "By Quelnar");
}

TEST_F(MainWindowTest, ControlsAreWhereTheLayoutPutsThem) {
    const struct {
        int number;
        const char* className;
        RECT rect;
        LONG style;
        const char* text;
    } controls[] = {
        {0, "static", {80, 1, 292, 43}, WS_CHILD | WS_VISIBLE | SS_NOTIFY, ""},
        {1, "button", {10, 100, 120, 130}, WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, "Install Tarvo lib"},
        {2, "button", {255, 100, 365, 130}, WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, "Desinstall Tarvo lib"},
    };
    for (const auto& c : controls) {
        HWND control = app_.Control(c.number);
        ASSERT_NE(control, nullptr) << "control " << c.number;
        EXPECT_EQ(Lower(ClassName(control)), c.className) << c.number;
        RECT rect = ClientRectOf(control, main_);
        EXPECT_EQ(rect.left, c.rect.left) << c.number;
        EXPECT_EQ(rect.top, c.rect.top) << c.number;
        EXPECT_EQ(rect.right, c.rect.right) << c.number;
        EXPECT_EQ(rect.bottom, c.rect.bottom) << c.number;
        EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & ~WS_CLIPSIBLINGS, c.style) << c.number;
        EXPECT_EQ(GetWindowLongA(control, GWL_EXSTYLE), 0) << c.number;
        EXPECT_EQ(WindowText(control), c.text) << c.number;
    }
}

TEST_F(MainWindowTest, BannerIsShownOnBlack) {
    Sleep(500);  // let the first paint land on the screen
    EXPECT_EQ(ScreenPixel(main_, 3, 3), RGB(0, 0, 0)) << "corner";
    EXPECT_EQ(ScreenPixel(main_, 180, 70), RGB(0, 0, 0)) << "between the banner and the buttons";
    EXPECT_EQ(ScreenPixel(main_, 375, 135), RGB(0, 0, 0)) << "bottom right";
    int green = 0;
    for (int y = 1; y < 43; ++y) {
        for (int x = 80; x < 292; x += 2) {
            COLORREF c = ScreenPixel(main_, x, y);
            if (GetGValue(c) > 180 && GetRValue(c) < 90 && GetBValue(c) < 90) ++green;
        }
    }
    EXPECT_GT(green, 100) << "the banner's green letters";
}

TEST_F(MainWindowTest, TabAndShiftTabCycleBetweenTheButtons) {
    HWND install = app_.Control(1), uninstall = app_.Control(2);
    Activate();
    PressKey(VK_TAB);
    EXPECT_EQ(FocusOf(main_), install);
    PressKey(VK_TAB);
    EXPECT_EQ(FocusOf(main_), uninstall);
    PressKey(VK_TAB);
    EXPECT_EQ(FocusOf(main_), install);
    PressKey(VK_TAB, true);
    EXPECT_EQ(FocusOf(main_), uninstall);
    PressKey(VK_TAB, true);
    EXPECT_EQ(FocusOf(main_), install);
}

TEST_F(MainWindowTest, FocusComesBackAfterAnotherWindowWasActive) {
    Activate();
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    ASSERT_EQ(FocusOf(main_), app_.Control(2));
    UniqueWindow other(CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 100, 100,
                                       nullptr, nullptr, nullptr, nullptr));
    SetForegroundWindow(other.get());
    Sleep(300);
    Activate();
    EXPECT_EQ(FocusOf(main_), app_.Control(2));
}

TEST_F(MainWindowTest, EnterAndPictureClicksStartNothing) {
    Activate();
    PressKey(VK_TAB);
    PressKey(VK_RETURN);
    HWND picture = app_.Control(0);
    PostMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageA(picture, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageA(picture, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PostMessageA(picture, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    Sleep(1000);
    EXPECT_EQ(FindProcessWindow(app_.Id(), "#32770", nullptr), nullptr) << "no dialog opened";
    EXPECT_TRUE(IsWindow(main_));
    EXPECT_EQ(app_.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(MainWindowTest, ResizingAndMinimisingMoveNothing) {
    SetWindowPos(main_, nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(main_, SW_MINIMIZE);
    Sleep(200);
    ShowWindow(main_, SW_RESTORE);
    SetWindowPos(main_, nullptr, 0, 0, 250, 120, SWP_NOMOVE | SWP_NOZORDER);
    Sleep(300);
    RECT button = ClientRectOf(app_.Control(2), main_);
    EXPECT_EQ(button.left, 255);
    EXPECT_EQ(button.top, 100);
    RECT picture = ClientRectOf(app_.Control(0), main_);
    EXPECT_EQ(picture.left, 80);
    EXPECT_EQ(picture.right - picture.left, 212);
}

TEST_F(MainWindowTest, CloseButtonEndsTheProgramWithExitCodeZero) {
    PostMessageA(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(app_.WaitForExit(), 0u);
}

TEST_F(MainWindowTest, AltF4EndsTheProgramWithExitCodeZero) {
    PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(app_.WaitForExit(), 0u);
}

}  // namespace
