#include "platform/ModalScope.h"

#include "platform/UniqueHandle.h"
#include "support/Processes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

UniqueWindow TopLevelWindow(const char* caption, bool visible, bool enabled) {
    UniqueWindow window(CreateWindowExA(0, "STATIC", caption, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0) |
                                                                  (enabled ? 0 : WS_DISABLED),
                                        10, 10, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
    return window;
}

// Lets the windows' messages be handled, so activation and focus settle.
void Pump() {
    MSG message;
    for (int i = 0; i < 50 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&message);
}

// Makes `window` the foreground window; another test program's window may take it for a moment.
bool BringToFront(HWND window) {
    for (int attempt = 0; attempt < 20 && GetForegroundWindow() != window; ++attempt) {
        SetForegroundWindow(window);
        Pump();
        Sleep(50);
    }
    return GetForegroundWindow() == window;
}

struct Scene {
    UniqueWindow foreground = TopLevelWindow("foreground", true, true);
    UniqueWindow other = TopLevelWindow("other", true, true);
    UniqueWindow disabledBefore = TopLevelWindow("disabled before", true, false);
    UniqueWindow hidden = TopLevelWindow("hidden", false, true);

    bool Made() const { return foreground && other && disabledBefore && hidden; }
};

// While a requester is open nothing else of the program can be clicked; afterwards exactly what
// was usable before is usable again: a window the program had disabled stays disabled.
TEST(ModalScopeTest, DisablesTheOtherWindowsAndEnablesExactlyThoseAgain) {
    Scene scene;
    ASSERT_TRUE(scene.Made());
    ASSERT_TRUE(BringToFront(scene.foreground.get()));
    {
        gui::ModalScope modal;
        EXPECT_EQ(modal.Owner(), scene.foreground.get()) << "the foreground window is ours: it owns the dialog";
        EXPECT_TRUE(IsWindowEnabled(scene.foreground.get())) << "the owner is left to the dialog itself";
        EXPECT_FALSE(IsWindowEnabled(scene.other.get()));
        EXPECT_FALSE(IsWindowEnabled(scene.disabledBefore.get()));
        EXPECT_TRUE(IsWindowEnabled(scene.hidden.get())) << "a hidden window can't be clicked and is left alone";
    }
    EXPECT_TRUE(IsWindowEnabled(scene.foreground.get()));
    EXPECT_TRUE(IsWindowEnabled(scene.other.get()));
    EXPECT_FALSE(IsWindowEnabled(scene.disabledBefore.get())) << "not enabled by a scope that did not disable it";
    EXPECT_TRUE(IsWindowEnabled(scene.hidden.get()));
}

// A dialog owned by another program's window would hang off that program.
TEST(ModalScopeTest, ForegroundWindowOfAnotherProgramOwnsNothing) {
    Scene scene;
    ASSERT_TRUE(scene.Made());
    InstallerProcess otherProgram;
    HWND theirs = otherProgram.MainWindow();
    ASSERT_NE(theirs, nullptr);
    ASSERT_TRUE(BringToFront(theirs));
    {
        gui::ModalScope modal;
        EXPECT_EQ(modal.Owner(), nullptr);
        EXPECT_FALSE(IsWindowEnabled(scene.foreground.get())) << "none of ours is the foreground one";
        EXPECT_FALSE(IsWindowEnabled(scene.other.get()));
        EXPECT_TRUE(IsWindowEnabled(theirs)) << "another program's windows are not ours to disable";
    }
    EXPECT_TRUE(IsWindowEnabled(scene.foreground.get()));
    EXPECT_TRUE(IsWindowEnabled(scene.other.get()));
    EXPECT_FALSE(IsWindowEnabled(scene.disabledBefore.get()));
    otherProgram.Close();
}

}  // namespace
