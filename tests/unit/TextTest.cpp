#include "platform/Text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Run under a locale, the suite is told which code page Wine must have taken from it.
TEST(Text, SystemCodePageIsTheOneTheLocaleGives) {
    const char* expected = std::getenv("TARVO_EXPECT_ACP");
    if (!expected) GTEST_SKIP() << "no locale asked for";
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
}

// The program's texts are Windows-1252 bytes; on the screen they read the same whatever the
// system's code page (the suite also runs under Japanese and Russian locales).
TEST(Text, ProgramTextsReadTheSameOnEveryCodePage) {
    EXPECT_EQ(text::FromWindows1252("l'installation est termin\xE9"), L"l'installation est terminé");
    EXPECT_EQ(text::FromWindows1252("Installation incompl\xE8te"), L"Installation incomplète");
    EXPECT_EQ(text::FromWindows1252("\xAB \x80 \x9C \xBB"), L"« € œ »");
    EXPECT_EQ(text::FromWindows1252(""), L"");
}

TEST(Text, PathsGoBothWaysThroughTheSystemsCodePage) {
    const std::wstring wide = L"C:\\Program Files\\PureBasic";
    std::optional<std::string> narrow = text::ToAnsi(wide);
    ASSERT_TRUE(narrow.has_value());
    EXPECT_EQ(*narrow, "C:\\Program Files\\PureBasic");
    EXPECT_EQ(text::FromAnsi(*narrow), wide);
}

TEST(Text, APathWithACharacterTheCodePageLacksIsRefused) {
    // No ANSI code page holds both a Hangul syllable and a Cyrillic letter.
    EXPECT_FALSE(text::ToAnsi(L"C:\\\xD55C\x0416").has_value());
}

}  // namespace
