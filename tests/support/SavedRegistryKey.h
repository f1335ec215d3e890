#pragma once
// A registry key as it was when the owner was made, put back when the owner goes: its values
// (names, types and bytes exactly) and its subkeys, or its absence. Tests that write keys a
// real program owns hold one, so a failing test leaves the machine's entry as it found it.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

class SavedRegistryKey {
public:
    // `view` is 0 (the program's own view), KEY_WOW64_64KEY or KEY_WOW64_32KEY.
    SavedRegistryKey(HKEY root, const std::string& path, REGSAM view);
    ~SavedRegistryKey();
    SavedRegistryKey(const SavedRegistryKey&) = delete;
    SavedRegistryKey& operator=(const SavedRegistryKey&) = delete;

    struct Value {
        std::wstring name;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    struct Tree {
        std::vector<Value> values;
        std::vector<std::pair<std::wstring, Tree>> subkeys;
    };

private:
    HKEY root_;
    std::wstring path_;
    REGSAM view_;
    std::optional<Tree> saved_;  // none: there was no key
};
