#include "install/InstallFolder.h"

#include "platform/UniqueHandle.h"
#include "support/TestKeys.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A stand-in for the compiler's uninstall key, so the machine's real entry is never touched.
const std::string kParent = TestKeyPath("Folder");
const std::string kKey = kParent + "\\Purebasic_is1\\";

#if defined(_WIN64)
constexpr REGSAM kOtherView = KEY_WOW64_32KEY;
#else
constexpr REGSAM kOtherView = KEY_WOW64_64KEY;
#endif

struct Entry {
    HKEY root;
    REGSAM view;
    std::string folder;
};

void Record(const Entry& entry) {
    UniqueKey key;
    ASSERT_EQ(RegCreateKeyExA(entry.root, kKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | entry.view, nullptr, key.put(),
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.get(), kCompilerFolderValue, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(entry.folder.c_str()),
                             static_cast<DWORD>(entry.folder.size() + 1)),
              ERROR_SUCCESS);
}

// What a case records, removed from every place it can be when the case ends, however it ends.
struct RecordedScope {
    RecordedScope() = default;
    ~RecordedScope() {
        EXPECT_TRUE(RemoveKey(HKEY_LOCAL_MACHINE, kParent, KEY_WOW64_64KEY));
        EXPECT_TRUE(RemoveKey(HKEY_LOCAL_MACHINE, kParent, KEY_WOW64_32KEY));
        EXPECT_TRUE(RemoveKey(HKEY_CURRENT_USER, kParent));
    }
    RecordedScope(const RecordedScope&) = delete;
    RecordedScope& operator=(const RecordedScope&) = delete;
};

// What is recorded where, and the folder proposed from it.
TEST(InstallFolderTest, ProposesTheRecordedFolderWithOneBackslash) {
    const struct {
        const char* name;
        std::vector<Entry> recorded;
        std::string proposed;
    } cases[] = {
        {"nothing recorded proposes a backslash", {}, "\\"},
        {"a recorded folder gets one backslash", {{HKEY_LOCAL_MACHINE, 0, "C:\\PureBasic"}}, "C:\\PureBasic\\"},
        {"a folder ending with a backslash gets another one",
         {{HKEY_LOCAL_MACHINE, 0, "C:\\PureBasic\\"}},
         "C:\\PureBasic\\\\"},
        // A 64-bit compiler records its folder in the 64-bit view, out of a 32-bit program's sight.
        {"the 64-bit view is read when the default view has nothing",
         {{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "C:\\Program Files\\PureBasic"}},
         "C:\\Program Files\\PureBasic\\"},
        {"the other view is read when the program's own has nothing",
         {{HKEY_LOCAL_MACHINE, kOtherView, "C:\\Other\\PureBasic"}},
         "C:\\Other\\PureBasic\\"},
        {"the program's own view wins over the other view",
         {{HKEY_LOCAL_MACHINE, kOtherView, "C:\\Other"}, {HKEY_LOCAL_MACHINE, 0, "C:\\Mine"}},
         "C:\\Mine\\"},
        {"the per-user entry is read when there is no machine-wide one",
         {{HKEY_CURRENT_USER, 0, "C:\\Users\\me\\PureBasic"}},
         "C:\\Users\\me\\PureBasic\\"},
        {"the machine-wide entry wins over the per-user one",
         {{HKEY_CURRENT_USER, 0, "C:\\Users\\me\\PureBasic"}, {HKEY_LOCAL_MACHINE, 0, "C:\\PureBasic"}},
         "C:\\PureBasic\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedScope recorded;
        for (const Entry& entry : c.recorded) ASSERT_NO_FATAL_FAILURE(Record(entry));
        EXPECT_EQ(FindCompilerFolder(kKey), c.proposed);
    }
}

}  // namespace
