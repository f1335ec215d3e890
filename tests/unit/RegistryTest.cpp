#include "platform/Registry.h"

#include "platform/UniqueHandle.h"
#include "support/TestKeys.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kTestKey = TestKeyPath("Registry");

class RegistryTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  key_.put(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        key_.reset();
        RemoveKey(HKEY_CURRENT_USER, kTestKey);
    }
    void Store(const char* name, DWORD type, const std::string& bytes) {
        ASSERT_EQ(RegSetValueExA(key_.get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
    UniqueKey key_;
};

struct ValueCase {
    const char* name;
    DWORD type;
    std::string stored;  // the value's bytes exactly as the registry holds them
    std::string expected;
};

TEST_F(RegistryTest, ReadsStringValuesAsStored) {
    const std::string chars254(254, 'a');
    const std::string chars255(255, 'b');
    const ValueCase cases[] = {
        {"a folder", REG_SZ, std::string("C:\\PureBasic\0", 13), "C:\\PureBasic"},
        {"254 characters and the zero are read whole", REG_SZ, chars254 + '\0', chars254},
        {"255 characters and the zero need 256 bytes: empty", REG_SZ, chars255 + '\0', ""},
        {"empty string", REG_SZ, std::string("\0", 1), ""},
        {"no bytes at all", REG_SZ, "", ""},
        {"a value without its zero keeps its last character", REG_SZ, "C:\\PB", "C:\\PB"},
        {"254 characters without a zero are all kept", REG_SZ, chars254, chars254},
        {"the text stops at the first zero", REG_SZ, std::string("abc\0def\0", 8), "abc"},
        {"a trailing backslash is kept", REG_SZ, std::string("C:\\PB\\\0", 7), "C:\\PB\\"},
        {"expandable strings count", REG_EXPAND_SZ, std::string("%ProgramFiles%\\PB\0", 18),
         "%ProgramFiles%\\PB"},
        {"a number is not a folder", REG_DWORD, std::string("\x01\x02\x03\x00", 4), ""},
        {"binary data is not a folder", REG_BINARY, std::string("C:\\PB\0", 6), ""},
    };
    for (const ValueCase& c : cases) {
        Store(c.name, c.type, c.stored);
        EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kTestKey, c.name), c.expected) << c.name;
    }
}

TEST_F(RegistryTest, MissingKeyOrValueGivesEmptyString) {
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kTestKey, "no such value"), "");
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kTestKey + "\\no such key", "x"), "");
}

TEST_F(RegistryTest, KeyPathWithTrailingBackslashOpens) {
    Store("v", REG_SZ, std::string("D:\\PB\0", 6));
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kTestKey + "\\", "v"), "D:\\PB");
}

}  // namespace
