#pragma once
#include <windows.h>

#include <string>

// Reads a string value from the registry; any failure (no key, no value, no access, a value
// that is not a string or needs more than 255 bytes) gives the empty string. `view` may add
// KEY_WOW64_64KEY or KEY_WOW64_32KEY to read the other registry view.
std::string ReadRegistryString(HKEY root, const std::string& subkey, const std::string& valueName,
                               REGSAM view = 0);
