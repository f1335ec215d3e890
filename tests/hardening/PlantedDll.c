/* A DLL dropped beside the installer under the name of a system DLL. Whoever loads it leaves
 * "<its own path>.loaded" behind, so the test sees every load without a debugger. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        char marker[MAX_PATH + 8];
        DWORD length = GetModuleFileNameA(self, marker, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            lstrcatA(marker, ".loaded");
            HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
            if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        }
    }
    return TRUE;
}
