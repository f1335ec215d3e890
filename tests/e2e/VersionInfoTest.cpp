// Explorer's Properties dialog reads these to say what the file is.
#include "support/Processes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(VersionInfoTest, SaysWhatTheFileIsInFrench) {
    const std::string exe = InstallerPath();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << exe;
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, info.data()));

    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x040C) << "French";
    EXPECT_EQ(translation[1], 1252) << "Windows-1252";

    auto text = [&](const char* name) {
        char* value = nullptr;
        UINT chars = 0;
        std::string path = std::string("\\StringFileInfo\\040C04E4\\") + name;
        if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &chars) || !value) return std::string();
        return std::string(value);
    };
    EXPECT_EQ(text("ProductName"), "Tarvo lib");
    EXPECT_EQ(text("CompanyName"), "Quelnar");
    EXPECT_EQ(text("FileDescription"), "Installateur de la biblioth\xE8que Tarvo pour PureBasic");
    EXPECT_EQ(text("FileVersion"), TARVO_VERSION);
    EXPECT_EQ(text("ProductVersion"), TARVO_VERSION);

    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

}  // namespace
