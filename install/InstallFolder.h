#pragma once
#include <string>

// Where the compiler's setup program records its folder.
inline constexpr char kCompilerUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Purebasic_is1\\";
inline constexpr char kCompilerFolderValue[] = "Inno Setup: App Path";

// The first proposal for the target folder: the recorded folder followed by one backslash
// (just "\" when nothing is recorded). The machine-wide entry is read in the program's own
// registry view, then in the 64-bit and 32-bit views (a compiler of the other bitness records
// it there), then the per-user entry; the first non-empty value wins.
std::string FindCompilerFolder(const std::string& subkey = kCompilerUninstallKey);
