// Many actions in one run of the installer: whatever one action takes (GDI and USER objects,
// kernel handles) it must give back, or a long session would end in a failing window.
#include "ProcessResources.h"
#include "Session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kWarmUpCycles = 5;  // the shell's first browsers fill caches that stay
constexpr int kCycles = 200;
// Room for what the system keeps or frees late on its own; a leak of one object per action
// would be 2 * kCycles over it.
constexpr long kMargin = 16;

std::string Show(const ResourceCounts& counts) {
    return "GDI " + std::to_string(counts.gdi) + ", USER " + std::to_string(counts.user) + ", handles " +
           std::to_string(counts.handles) + " (" + counts.source + ")";
}

ResourceCounts Count(InstallerProcess& app) {
    DWORD thread = GetWindowThreadProcessId(app.MainWindow(), nullptr);
    return CountResources(app.Handle(), app.Id(), thread);
}

ResourceCounts Settled(InstallerProcess& app) {
    Sleep(1000);  // let the last dialog's clean-up finish
    return Count(app);
}

// The counts must see the installer's objects at all: an open browser raises the GDI and USER
// counts, and a handle put into the installer from here its handle count.
long HandlesWithOneMore(InstallerProcess& app) {
    UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE theirs = MoveHandleTo(app.Handle(), event.release());  // the installer's now
    long handles = Count(app).handles;
    UniqueHandle back;  // taken back out and closed, so that the installer is left as it was
    DuplicateHandle(app.Handle(), theirs, GetCurrentProcess(), back.put(), 0, FALSE,
                    DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE);
    return handles;
}

ResourceCounts WithBrowserOpen(InstallerProcess& app) {
    PostMessageA(app.Control(1), BM_CLICK, 0, 0);
    HWND browser = app.WaitForBrowser();
    if (!browser) return {};
    Sleep(500);
    ResourceCounts open = Count(app);
    app.Dismiss(browser, IDCANCEL);
    return open;
}

TEST(Soak, InstallAndUninstallCyclesGiveBackWhatTheyTake) {
    CompilerFolder pb;
    RecordedCompiler recorded(pb.Path());
    InstallerProcess app;
    ASSERT_NE(app.MainWindow(), nullptr);
    const auto library = ReadBytes(TARVO_LIBRARY_PAYLOAD_PATH);
    const auto help = ReadBytes(TARVO_HELP_PAYLOAD_PATH);

    auto cycle = [&](int number) {
        ActionRun install = RunAction(app, 1, pb.Path());
        ASSERT_EQ(install.messages.size(), 1u) << "cycle " << number << ": " << Describe(install);
        ASSERT_EQ(install.messages[0].text, "l'installation est termin\xE9") << "cycle " << number;
        ASSERT_EQ(ReadBytes(pb.Library()), library) << "cycle " << number;
        ASSERT_EQ(ReadBytes(pb.Help()), help) << "cycle " << number;
        ActionRun uninstall = RunAction(app, 2, pb.Path());
        ASSERT_EQ(uninstall.messages.size(), 1u) << "cycle " << number << ": " << Describe(uninstall);
        ASSERT_EQ(uninstall.messages[0].text, " desinstallation termin\xE9") << "cycle " << number;
        ASSERT_FALSE(FileExists(pb.Library())) << "cycle " << number;
        ASSERT_FALSE(FileExists(pb.Help())) << "cycle " << number;
    };

    for (int i = 0; i < kWarmUpCycles; ++i) {
        ASSERT_NO_FATAL_FAILURE(cycle(i));
    }
    const ResourceCounts before = Settled(app);
    ASSERT_GT(before.gdi, 0) << Show(before);
    ASSERT_GT(before.user, 0) << Show(before);
    ASSERT_GT(before.handles, 0) << Show(before);
    const ResourceCounts open = WithBrowserOpen(app);
    ASSERT_GT(open.gdi, before.gdi) << Show(open);
    ASSERT_GT(open.user, before.user) << Show(open);
    ASSERT_EQ(HandlesWithOneMore(app), before.handles + 1) << Show(before);

    const DWORD start = GetTickCount();
    for (int i = 0; i < kCycles; ++i) {
        ASSERT_NO_FATAL_FAILURE(cycle(kWarmUpCycles + i));
    }
    const DWORD elapsed = GetTickCount() - start;
    const ResourceCounts after = Settled(app);
    RecordProperty("cycles_ms", std::to_string(elapsed));
    std::printf("%d cycles in %lu ms; before: %s; browser open: %s; after: %s\n", kCycles,
                static_cast<unsigned long>(elapsed), Show(before).c_str(), Show(open).c_str(), Show(after).c_str());

    EXPECT_LE(after.gdi, before.gdi + kMargin) << Show(before) << " -> " << Show(after);
    EXPECT_LE(after.user, before.user + kMargin) << Show(before) << " -> " << Show(after);
    EXPECT_LE(after.handles, before.handles + kMargin) << Show(before) << " -> " << Show(after);
    EXPECT_TRUE(FolderExists(pb / "PureLibraries\\UserLibraries"));
    EXPECT_EQ(FolderEntries(pb / "Help\\"), std::vector<std::string>{});
}

}  // namespace
