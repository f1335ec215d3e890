#pragma once
// Paths in the system's ANSI code page, looked at character by character. On a double-byte
// code page (932, 936, 949, 950) the second byte of a character can be 0x5C, the backslash's
// value ("ソ" is 0x83 0x5C in code page 932): a byte-wise look would take it for a separator.
// Lengths are counted as the system counts them against MAX_PATH, in characters.
#include <windows.h>

#include <string>
#include <string_view>

namespace ansi_path {

// Each function reads `path` in `codePage`, the system's ANSI code page unless told otherwise.
bool EndsWithSeparator(std::string_view path, UINT codePage = CP_ACP);
// `path` with one backslash appended unless it already ends with one (an empty path stays).
std::string WithSeparator(std::string_view path, UINT codePage = CP_ACP);
// `path` without its final backslash, if it has one.
std::string WithoutSeparator(std::string_view path, UINT codePage = CP_ACP);
// Where the last separator is, or npos.
size_t LastSeparator(std::string_view path, UINT codePage = CP_ACP);
// Where the last character begins (npos for an empty path).
size_t LastCharacter(std::string_view path, UINT codePage = CP_ACP);
// How many characters the system sees in `path` (what MAX_PATH limits).
size_t Characters(std::string_view path, UINT codePage = CP_ACP);
// The first `count` characters of `path`, never half a character.
std::string FirstCharacters(std::string_view path, size_t count, UINT codePage = CP_ACP);

}  // namespace ansi_path
