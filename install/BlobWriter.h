#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The longest path the ANSI file calls take: MAX_PATH less the terminating zero.
inline constexpr size_t kLongestPath = MAX_PATH - 1;

// Whether the ANSI file calls can't take `path`: they count characters, not bytes.
bool PathTooLong(const std::string& path);

// Where the bytes meant for `target` are written before they take its place: in the same
// folder, under a name as long as the target's, so the temporary file fits wherever the
// target fits.
std::string TemporaryPathFor(const std::string& target);

// Every file an install cut short may have left beside `target`: the temporary file, and the
// one earlier versions wrote under another name.
std::vector<std::string> LeftoverPathsFor(const std::string& target);

// Whether `target`, or the temporary file written beside it, is too long to be written.
bool TooLongToWrite(const std::string& target);

// Writes the bytes [start, end) to `path`, replacing any file there in one step: the bytes go
// to a temporary file in the same folder, are counted, flushed and read back, and only then
// does the temporary file take the target's place, with the target's hidden and system
// attributes. A target held open for a moment is waited for, about a second. On failure the
// previous file is left as it was and no temporary file remains. Returns ERROR_SUCCESS or the
// Win32 error code.
DWORD WriteBlobToFile(const std::string& path, const unsigned char* start, const unsigned char* end);
