#pragma once
// The two things the installer is for. Both first let the user confirm the compiler's folder;
// the folder picker and the message box are passed in, so the actions can run without dialogs.
#include <windows.h>

#include "platform/FolderPicker.h"
#include "platform/Sha256.h"
#include "resources/Blobs.h"

#include <span>
#include <string>

// What the actions ask of the user and tell them: the real dialogs in the program, a script in
// the tests. (An interface costs less code than a std::function per call.)
class ActionUi {
public:
    virtual gui::FolderChoice PickFolder(const std::string& prompt, const std::string& proposal) = 0;
    // The texts as the user reads them (see install/Messages.h).
    virtual int ShowMessage(const std::wstring& caption, const std::wstring& text, UINT flags) = 0;

protected:
    ~ActionUi() = default;
};

// One file the installer puts below the compiler's folder.
struct PayloadFile {
    std::string relativePath;
    Blob bytes;
    Sha256Digest digest;  // what the bytes hashed to when the installer was built
};

// Each action reads `installFolder` as the picker's proposal and keeps the confirmed folder
// there; a cancelled picker leaves it as it was and ends the action without touching a file.
void InstallLibrary(std::string& installFolder, std::span<const PayloadFile> files, ActionUi& ui);
void UninstallLibrary(std::string& installFolder, std::span<const PayloadFile> files, ActionUi& ui);
