#include "support/SavedRegistryKey.h"

#include "platform/Text.h"
#include "platform/UniqueHandle.h"

// Wide calls throughout: names and strings go back byte for byte, whatever the code page.
namespace {

SavedRegistryKey::Tree Read(HKEY key) {
    SavedRegistryKey::Tree tree;
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
        return tree;
    }
    for (DWORD i = 0; i < values; ++i) {
        std::wstring name(longestName + 1, L'\0');
        SavedRegistryKey::Value value;
        value.data.resize(longestData);
        DWORD nameLength = longestName + 1, size = longestData;
        if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &value.type, value.data.data(), &size) !=
            ERROR_SUCCESS) {
            continue;
        }
        value.name = name.substr(0, nameLength);
        value.data.resize(size);
        tree.values.push_back(std::move(value));
    }
    for (DWORD i = 0; i < subkeys; ++i) {
        std::wstring name(longestSubkey + 1, L'\0');
        DWORD nameLength = longestSubkey + 1;
        if (RegEnumKeyExW(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            continue;
        }
        name.resize(nameLength);
        UniqueKey subkey;
        RegOpenKeyExW(key, name.c_str(), 0, KEY_READ, subkey.put());
        tree.subkeys.emplace_back(name, subkey ? Read(subkey.get()) : SavedRegistryKey::Tree{});
    }
    return tree;
}

void Write(HKEY key, const SavedRegistryKey::Tree& tree, REGSAM view) {
    for (const SavedRegistryKey::Value& value : tree.values) {
        RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
    }
    for (const auto& [name, subtree] : tree.subkeys) {
        UniqueKey subkey;
        if (RegCreateKeyExW(key, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, subkey.put(), nullptr) !=
            ERROR_SUCCESS) {
            continue;
        }
        Write(subkey.get(), subtree, view);
    }
}

}  // namespace

SavedRegistryKey::SavedRegistryKey(HKEY root, const std::string& path, REGSAM view)
    : root_(root), path_(text::FromAnsi(path)), view_(view) {
    UniqueKey key;
    if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_READ | view_, key.put()) != ERROR_SUCCESS) return;
    saved_ = Read(key.get());
}

SavedRegistryKey::~SavedRegistryKey() {
    {
        UniqueKey key;
        if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_ALL_ACCESS | view_, key.put()) == ERROR_SUCCESS) {
            RegDeleteTreeW(key.get(), nullptr);  // the key's values and subkeys; the key stays
        }
    }
    if (!saved_) {
        RegDeleteKeyExW(root_, path_.c_str(), view_, 0);
        return;
    }
    // The key itself is kept where it was there before, so its permissions stay as they were.
    UniqueKey key;
    if (RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view_, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    Write(key.get(), *saved_, view_);
}
