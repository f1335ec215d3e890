// The installer without RestrictDllSearchToSystem, for the planting test only: it shows that
// the planted DLLs are loaded when nothing keeps them out, so their absence from the real
// installer means something.
#include "app/Installer.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunInstaller(); }
