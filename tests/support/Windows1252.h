#pragma once
// Wide text as the bytes of a code page ('?' where it has no letter): in Windows-1252, the
// program's own encoding, for comparing with its texts and for printing in a test's failure;
// in another, for names as a system of that code page spells them.
#include <windows.h>

#include <string>
#include <string_view>

inline std::string InCodePage(UINT codePage, std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    int length = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

inline std::string InWindows1252(std::wstring_view text) { return InCodePage(1252, text); }
