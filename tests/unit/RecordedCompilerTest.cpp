// The tests that drive the real installer record a compiler's folder in the machine's registry.
// On a machine where the compiler is installed that is its own uninstall entry: whatever a
// test does, the entry must be there afterwards exactly as it was.
#include "install/InstallFolder.h"
#include "support/CompilerFolder.h"
#include "support/TestKeys.h"

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <string>

namespace {

// A stand-in for the compiler's key, so this test never touches the machine's real entry.
const std::string kParent = TestKeyPath("Recorded");
const std::string kKey = kParent + "\\Purebasic_is1";

#if defined(_WIN64)
constexpr REGSAM kOwnView = KEY_WOW64_64KEY, kOtherView = KEY_WOW64_32KEY;
#else
constexpr REGSAM kOwnView = KEY_WOW64_32KEY, kOtherView = KEY_WOW64_64KEY;
#endif

// Everything a key holds, written out: each value's name, type and bytes, then each subkey's.
std::string Dump(HKEY key, const std::string& indent = "") {
    std::string text;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        BYTE data[1024];
        DWORD nameLength = 256, size = sizeof data, type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        text += indent + std::string(name, name + nameLength) + " type " + std::to_string(type) + ":";
        for (DWORD b = 0; b < size; ++b) text += " " + std::to_string(data[b]);
        text += "\n";
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        UniqueKey subkey;
        RegOpenKeyExW(key, name, 0, KEY_READ, subkey.put());
        text += indent + "[" + std::string(name, name + nameLength) + "]\n";
        if (subkey) text += Dump(subkey.get(), indent + "  ");
    }
    return text;
}

// The key in one view, dumped; "absent" when there is no such key.
std::string DumpKey(REGSAM view) {
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS) return "absent";
    return Dump(key.get());
}

void Set(HKEY key, const char* name, DWORD type, const std::string& bytes) {
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

// An entry like the one the compiler's setup program leaves, different in each view.
void MakeEntry(REGSAM view, const std::string& folder) {
    UniqueKey key, subkey;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                              key.put(), nullptr),
              ERROR_SUCCESS);
    Set(key.get(), kCompilerFolderValue, REG_SZ, folder + '\0');
    Set(key.get(), "DisplayName", REG_SZ, std::string("PureBasic 6.10\0", 15));
    Set(key.get(), "EstimatedSize", REG_DWORD, std::string("\x10\x27\x00\x00", 4));
    Set(key.get(), "Inno Setup: Language", REG_SZ, "french");  // stored without its zero
    Set(key.get(), "", REG_BINARY, std::string("\x00\x01\xFF", 3));
    ASSERT_EQ(RegCreateKeyExA(key.get(), "Details", 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, subkey.put(),
                              nullptr),
              ERROR_SUCCESS);
    Set(subkey.get(), "Components", REG_MULTI_SZ, std::string("main\0help\0\0", 11));
}

void RemoveStandIn() {
    for (REGSAM view : {kOwnView, kOtherView}) RemoveKey(HKEY_LOCAL_MACHINE, kParent, view);
}

class RecordedCompilerTest : public testing::Test {
protected:
    void SetUp() override { RemoveStandIn(); }
    void TearDown() override { RemoveStandIn(); }
};

TEST_F(RecordedCompilerTest, EntryInEveryViewIsThereAsItWasAfterwards) {
    MakeEntry(kOwnView, "C:\\Program Files\\PureBasic");
    MakeEntry(kOtherView, "C:\\Program Files (x86)\\PureBasic");
    const std::string own = DumpKey(kOwnView), other = DumpKey(kOtherView);
    ASSERT_NE(own, other) << "the two views hold different entries";
    {
        RecordedCompiler recorded("C:\\tarvo-tests\\pb", kKey);
        ASSERT_EQ(FindCompilerFolder(kKey), "C:\\tarvo-tests\\pb\\") << "the test's folder is what is read";
        ASSERT_NE(DumpKey(kOwnView), own);
    }
    EXPECT_EQ(DumpKey(kOwnView), own);
    EXPECT_EQ(DumpKey(kOtherView), other);
}

TEST_F(RecordedCompilerTest, NoEntryBeforeMeansNoEntryAfter) {
    {
        RecordedCompiler recorded("C:\\tarvo-tests\\pb", kKey);
        ASSERT_NE(DumpKey(kOwnView), "absent");
    }
    EXPECT_EQ(DumpKey(kOwnView), "absent");
    EXPECT_EQ(DumpKey(kOtherView), "absent");
}

// A test that stops at a failed assertion while the folder is recorded.
void RecordThenFailHalfWay() {
    RecordedCompiler recorded("C:\\tarvo-tests\\pb", kKey);
    ASSERT_TRUE(false) << "stopped half-way";
}

TEST_F(RecordedCompilerTest, EntryComesBackWhenATestStopsHalfWay) {
    MakeEntry(kOwnView, "C:\\Program Files\\PureBasic");
    const std::string own = DumpKey(kOwnView);
    EXPECT_FATAL_FAILURE(RecordThenFailHalfWay(), "stopped half-way");
    EXPECT_EQ(DumpKey(kOwnView), own);
}

}  // namespace
