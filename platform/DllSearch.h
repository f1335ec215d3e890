#pragma once

// Restricts where DLLs are searched for to the system folder, so that a DLL dropped beside
// the installer (usually in a Downloads folder) is never loaded by it.
void RestrictDllSearchToSystem();
