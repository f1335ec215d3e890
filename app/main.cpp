#include "app/Installer.h"
#include "platform/DllSearch.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything can load a DLL: never from the program's own folder.
    RestrictDllSearchToSystem();
    return RunInstaller();
}
