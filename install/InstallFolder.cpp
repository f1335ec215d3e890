#include "install/InstallFolder.h"

#include "platform/Registry.h"

std::string FindCompilerFolder(const std::string& subkey) {
    const struct {
        HKEY root;
        REGSAM view;
    } places[] = {
        {HKEY_LOCAL_MACHINE, 0},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY},
        {HKEY_CURRENT_USER, 0},
    };
    std::string folder;
    for (const auto& place : places) {
        folder = ReadRegistryString(place.root, subkey, kCompilerFolderValue, place.view);
        if (!folder.empty()) break;
    }
    // No separator test: the recorded value never ends with one, and the proposal must.
    return folder + "\\";
}
