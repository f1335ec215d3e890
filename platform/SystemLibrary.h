#pragma once
#include "platform/UniqueHandle.h"
#include <string>

// Loads a DLL from the system folder only, never from the program's own folder or the
// current directory, where anyone could have dropped a DLL of the same name.
UniqueModule LoadSystemLibrary(const char* name);
