#pragma once
// The two things the installer is for. Both first let the user confirm the compiler's folder;
// the folder picker and the message box are passed in, so the actions can run without dialogs.
#include <windows.h>

#include "platform/FolderPicker.h"
#include "platform/Sha256.h"
#include "resources/Blobs.h"

#include <functional>
#include <span>
#include <string>

struct ActionUi {
    std::function<gui::FolderChoice(const std::string& prompt, const std::string& proposal)> pickFolder;
    // The texts as the user reads them (see install/Messages.h).
    std::function<int(const std::wstring& caption, const std::wstring& text, UINT flags)> showMessage;
};

// One file the installer puts below the compiler's folder.
struct PayloadFile {
    std::string relativePath;
    Blob bytes;
    Sha256Digest digest;  // what the bytes hashed to when the installer was built
};

// Each action reads `installFolder` as the picker's proposal and keeps the confirmed folder
// there; a cancelled picker leaves it as it was and ends the action without touching a file.
void InstallLibrary(std::string& installFolder, std::span<const PayloadFile> files, const ActionUi& ui);
void UninstallLibrary(std::string& installFolder, std::span<const PayloadFile> files, const ActionUi& ui);
