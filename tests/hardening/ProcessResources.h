#pragma once
// What another process holds: GDI objects, USER objects and kernel handles. GetGuiResources and
// GetProcessHandleCount answer on Windows; Wine 8 leaves them as stubs that return 0, so there the
// counts come from what Wine does keep (see ProcessResources.cpp), and `source` says which.
#include <windows.h>

#include <string>

struct ResourceCounts {
    long gdi = -1;      // -1: could not be counted
    long user = -1;
    long handles = -1;
    std::string source;  // how each number was obtained, for failure output
};

// `thread` is the installer's GUI thread (its windows are counted on Wine).
ResourceCounts CountResources(HANDLE process, DWORD processId, DWORD thread);
