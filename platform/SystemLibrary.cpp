#include "platform/SystemLibrary.h"

#include <string>

UniqueModule LoadSystemLibrary(const char* name) {
    UniqueModule module(LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    // Systems without the restricted search flags: name the system folder explicitly.
    char folder[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return module;
    return UniqueModule(LoadLibraryA((std::string(folder, length) + "\\" + name).c_str()));
}
