#pragma once
// The two encodings of the program's narrow strings, and the way to the screen for both.
// The program's own texts are Windows-1252 bytes, whatever the system's code page: they are
// widened from 1252. Paths come from and go to the system's ANSI calls: they are in the
// system's ANSI code page (932 on a Japanese system, 1251 on a Russian one).
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace text {

std::wstring FromWindows1252(std::string_view text);
std::wstring FromAnsi(std::string_view path);

// The wide path in the system's ANSI code page, or nothing when a character has no exact
// equivalent there (the ANSI calls would then name another file, or none).
std::optional<std::string> ToAnsi(std::wstring_view path);

}  // namespace text
