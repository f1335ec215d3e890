#include "support/TestKeys.h"

#include "platform/UniqueHandle.h"

std::string TestKeyPath(const std::string& name) {
    return "Software\\TarvoTests\\" + name + std::to_string(GetCurrentProcessId());
}

bool RemoveKey(HKEY root, const std::string& path, REGSAM view) {
    // RegDeleteTree takes no view: the parent is opened in the view, and the key deleted below it.
    const size_t separator = path.find_last_of('\\');
    UniqueKey parent;
    LSTATUS status = RegOpenKeyExA(root, path.substr(0, separator).c_str(), 0, KEY_ALL_ACCESS | view, parent.put());
    if (status == ERROR_FILE_NOT_FOUND) return true;
    if (status != ERROR_SUCCESS) return false;
    status = RegDeleteTreeA(parent.get(), path.substr(separator + 1).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
