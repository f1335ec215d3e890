#pragma once
#include <windows.h>

#include <string>

// Suffix of the temporary file written beside the target before it replaces it.
inline constexpr char kTemporarySuffix[] = ".tarvo-new";

// Writes the bytes [start, end) to `path`, replacing any file there in one step: the bytes go
// to a temporary file in the same folder, are counted, flushed and read back, and only then
// does the temporary file take the target's place. On failure the previous file is left as it
// was and no temporary file remains. Returns ERROR_SUCCESS or the Win32 error code.
DWORD WriteBlobToFile(const std::string& path, const unsigned char* start, const unsigned char* end);
