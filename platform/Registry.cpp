#include "platform/Registry.h"

#include "platform/UniqueHandle.h"

#include <algorithm>
#include <cstring>

std::string ReadRegistryString(HKEY root, const std::string& subkey, const std::string& valueName,
                               REGSAM view) {
    constexpr DWORD kCapacity = 255;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return {};
    UniqueKey key(opened);

    char buffer[kCapacity + 1];  // one more byte, so a value stored without its zero ends too
    std::fill(buffer, buffer + kCapacity, ' ');
    buffer[kCapacity] = '\0';
    DWORD type = REG_NONE;
    DWORD size = kCapacity;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS) {
        return {};
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
    // The size counts the terminating zero when the value has one; a value stored without it
    // keeps its last character. The text never reaches past the first zero.
    if (size > 0 && buffer[size - 1] == '\0') --size;
    return std::string(buffer, strnlen(buffer, size));
}
