#include "platform/DllSearch.h"

#include "platform/SystemLibrary.h"

void RestrictDllSearchToSystem() {
    // kernel32 is in every process already: looked up, not loaded.
    auto setDefault =
        SystemFunction<decltype(SetDefaultDllDirectories)>(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (!setDefault || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        // Older systems: at least take the current directory out of the search.
        SetDllDirectoryA("");
    }
}
