#pragma once
// The DLLs the program loads itself and the functions it looks up in them. DLLs come from the
// system folder only, never from the program's own folder or the current directory, where
// anyone could have dropped a DLL of the same name.
#include "platform/UniqueHandle.h"

UniqueModule LoadSystemLibrary(const char* name);

// The function `name` of `module`, typed as the SDK declares it (the type is given, as in
// `SystemFunction<decltype(SHBrowseForFolderW)>(shell, "SHBrowseForFolderW")`, so the call
// through it can't take other arguments); null when this system's DLL lacks it.
template <typename Function>
Function* SystemFunction(HMODULE module, const char* name) {
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
