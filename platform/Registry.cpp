#include "platform/Registry.h"

#include "platform/UniqueHandle.h"

#include <algorithm>
#include <cstring>

std::string ReadRegistryString(HKEY root, const std::string& subkey, const std::string& valueName,
                               REGSAM view) {
    constexpr DWORD kCapacity = 255;
    UniqueKey key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS) return {};

    // 255 spaces and a zero: the part the query leaves unwritten holds no zero that could pass
    // for the end of a value stored without one; only the size the query returns says where the
    // text ends.
    char buffer[kCapacity + 1];
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
