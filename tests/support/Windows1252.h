#pragma once
// Wide text as Windows-1252 bytes, the program's own encoding ('?' where 1252 has no letter):
// for comparing with the program's texts and for printing in a test's failure.
#include <windows.h>

#include <string>

inline std::string InWindows1252(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    int length = WideCharToMultiByte(1252, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(1252, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}
