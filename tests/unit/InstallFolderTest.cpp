#include "install/InstallFolder.h"

#include "platform/UniqueHandle.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// A stand-in for the compiler's uninstall key, so the machine's real entry is never touched.
const std::string kKey = "Software\\TarvoTests\\Folder" + std::to_string(GetCurrentProcessId()) +
                         "\\Purebasic_is1\\";
const std::string kParent = "Software\\TarvoTests\\Folder" + std::to_string(GetCurrentProcessId());

void Record(HKEY root, REGSAM view, const std::string& folder) {
    UniqueKey key;
    ASSERT_EQ(RegCreateKeyExA(root, kKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.get(), kCompilerFolderValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                             static_cast<DWORD>(folder.size() + 1)),
              ERROR_SUCCESS);
}

void Forget(HKEY root, REGSAM view) {
    UniqueKey parent;
    if (RegOpenKeyExA(root, "Software\\TarvoTests", 0, KEY_ALL_ACCESS | view, parent.put()) != ERROR_SUCCESS) {
        return;
    }
    LSTATUS status = RegDeleteTreeA(parent.get(), kParent.substr(sizeof "Software\\TarvoTests").c_str());
    EXPECT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
}

class InstallFolderTest : public testing::Test {
protected:
    void TearDown() override {
        Forget(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY);
        Forget(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY);
        Forget(HKEY_CURRENT_USER, 0);
    }
};

TEST_F(InstallFolderTest, NothingRecordedProposesABackslash) {
    EXPECT_EQ(FindCompilerFolder(kKey), "\\");
}

TEST_F(InstallFolderTest, RecordedFolderGetsOneBackslash) {
    ASSERT_NO_FATAL_FAILURE(Record(HKEY_LOCAL_MACHINE, 0, "C:\\PureBasic"));
    EXPECT_EQ(FindCompilerFolder(kKey), "C:\\PureBasic\\");
}

TEST_F(InstallFolderTest, FolderEndingWithBackslashGetsAnotherOne) {
    ASSERT_NO_FATAL_FAILURE(Record(HKEY_LOCAL_MACHINE, 0, "C:\\PureBasic\\"));
    EXPECT_EQ(FindCompilerFolder(kKey), "C:\\PureBasic\\\\");
}

// A 64-bit compiler records its folder in the 64-bit view, out of a 32-bit program's sight.
TEST_F(InstallFolderTest, SixtyFourBitViewIsReadWhenTheDefaultViewHasNothing) {
    ASSERT_NO_FATAL_FAILURE(Record(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "C:\\Program Files\\PureBasic"));
    EXPECT_EQ(FindCompilerFolder(kKey), "C:\\Program Files\\PureBasic\\");
}

TEST_F(InstallFolderTest, PerUserEntryIsReadLast) {
    ASSERT_NO_FATAL_FAILURE(Record(HKEY_CURRENT_USER, 0, "C:\\Users\\me\\PureBasic"));
    EXPECT_EQ(FindCompilerFolder(kKey), "C:\\Users\\me\\PureBasic\\");
    ASSERT_NO_FATAL_FAILURE(Record(HKEY_LOCAL_MACHINE, 0, "C:\\PureBasic"));
    EXPECT_EQ(FindCompilerFolder(kKey), "C:\\PureBasic\\");
}

TEST_F(InstallFolderTest, DefaultViewWinsOverTheOtherView) {
#if defined(_WIN64)
    const REGSAM otherView = KEY_WOW64_32KEY;
#else
    const REGSAM otherView = KEY_WOW64_64KEY;
#endif
    ASSERT_NO_FATAL_FAILURE(Record(HKEY_LOCAL_MACHINE, otherView, "C:\\Other"));
    ASSERT_NO_FATAL_FAILURE(Record(HKEY_LOCAL_MACHINE, 0, "C:\\Mine"));
    EXPECT_EQ(FindCompilerFolder(kKey), "C:\\Mine\\");
}

}  // namespace
