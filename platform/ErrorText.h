#pragma once
#include <windows.h>

#include <string>

// The system's own words for a Win32 error code, without the trailing line break; empty when
// the system has none.
std::wstring SystemErrorText(DWORD code);
