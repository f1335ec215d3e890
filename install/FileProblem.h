#pragma once
// What the actions know of a file that went wrong: why it was not written or removed, what a
// system error means for the user, and whether trying again can help.
#include <windows.h>

enum class Action { Install, Uninstall };

// Why one file was not written or removed.
struct FileProblem {
    enum class Kind { None, MissingFolder, PathTooLong, TargetIsFolder, System };
    Kind kind = Kind::None;
    DWORD error = ERROR_SUCCESS;  // for Kind::System

    explicit operator bool() const { return kind != Kind::None; }
};

// What a system error means to the user: something they can act on, or not.
enum class Cause { InUse, AccessDenied, DiskFull, WriteProtected, NotReady, Unknown };
Cause CauseOf(DWORD error);

// Trying again can help once the user has acted on the cause: closed the program that holds the
// file, obtained the rights, made room, removed the protection, readied the drive.
bool RetryCanHelp(const FileProblem& problem);
