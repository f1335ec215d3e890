#include "resources/Blobs.h"

#include "platform/UniqueHandle.h"
#include "resources/ResourceIds.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using UniqueIcon = Unique<HICON, DestroyIcon>;

std::string ResourceText(int type, int id) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
    if (!found) return {};
    auto* data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    return std::string(data, SizeofResource(nullptr, found));
}

unsigned Little32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | unsigned(p[3]) << 24; }

TEST(EmbeddedFilesTest, LibraryPayloadIsWhatTheBuildHashed) {
    Blob library = LibraryPayload();
    ASSERT_GE(library.Size(), 4u);
    EXPECT_EQ(std::memcmp(library.start, "ERUP", 4), 0);
    EXPECT_EQ(Sha256(library.start, library.Size()), LibraryPayloadDigest());
}

TEST(EmbeddedFilesTest, HelpPayloadIsAFrenchCompiledHelpFile) {
    Blob help = HelpPayload();
    ASSERT_GE(help.Size(), 96u);
    EXPECT_EQ(std::memcmp(help.start, "ITSF", 4), 0);
    EXPECT_EQ(Little32(help.start + 4), 3u) << "format version";
    EXPECT_EQ(Little32(help.start + 8), 96u) << "header length";
    EXPECT_EQ(Little32(help.start + 20), 0x040Cu) << "language";
    EXPECT_EQ(Sha256(help.start, help.Size()), HelpPayloadDigest());
}

TEST(EmbeddedFilesTest, IconIsOne32By32ImageWith256Colours) {
    std::string group = ResourceText(14 /* RT_GROUP_ICON */, 1);
    ASSERT_EQ(group.size(), 6u + 14u) << "one entry";
    auto* bytes = reinterpret_cast<const unsigned char*>(group.data());
    EXPECT_EQ(bytes[4] | bytes[5] << 8, 1) << "count";
    EXPECT_EQ(bytes[6], 32) << "width";
    EXPECT_EQ(bytes[7], 32) << "height";
    EXPECT_EQ(bytes[12] | bytes[13] << 8, 8) << "bits per pixel";
    EXPECT_EQ(Little32(bytes + 14), 2216u) << "image bytes";
    UniqueIcon icon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, 32, 32, 0)));
    EXPECT_TRUE(icon);
}

TEST(EmbeddedFilesTest, ManifestAsksForCommonControlsSixAndTheHighestRights) {
    std::string manifest = ResourceText(24 /* RT_MANIFEST */, 1);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
    // Without an execution level, writes into Program Files would be silently redirected.
    EXPECT_NE(manifest.find("requestedExecutionLevel level=\"highestAvailable\""), std::string::npos);
#if defined(_WIN64)
    EXPECT_NE(manifest.find("processorArchitecture=\"amd64\""), std::string::npos);
#else
    EXPECT_NE(manifest.find("processorArchitecture=\"X86\""), std::string::npos);
#endif
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

// The icon, the manifest and the carried files are language neutral, found whatever the
// user's language; the version information is French, as Explorer shows it.
TEST(EmbeddedFilesTest, ResourcesAreLanguageNeutralAndTheVersionFrench) {
    const WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    const WORD kFrench = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
    const struct {
        const char* name;
        int type, id;
        WORD language;
    } cases[] = {
        {"icon image", 3 /* RT_ICON */, 1, kNeutral},
        {"icon group", 14 /* RT_GROUP_ICON */, TARVO_ICON, kNeutral},
        {"manifest", 24 /* RT_MANIFEST */, 1, kNeutral},
        {"banner", 10 /* RT_RCDATA */, TARVO_PICTURE, kNeutral},
        {"library", 10, TARVO_LIBRARY_PAYLOAD, kNeutral},
        {"help file", 10, TARVO_HELP_PAYLOAD, kNeutral},
        {"version information", 16 /* RT_VERSION */, 1, kFrench},
    };
    for (const auto& c : cases) {
        std::vector<WORD> languages;
        EnumResourceLanguagesA(nullptr, MAKEINTRESOURCEA(c.type), MAKEINTRESOURCEA(c.id), CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::vector<WORD>{c.language}) << c.name;
    }
}

}  // namespace
