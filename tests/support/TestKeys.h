#pragma once
// Registry keys the tests make in place of real programs' keys: below Software\TarvoTests and
// named for the test and the process, so that no machine's own entry is touched and two test
// programs never share one.
#include <windows.h>

#include <string>

// "Software\TarvoTests\<name><process id>".
std::string TestKeyPath(const std::string& name);

// Removes `path` below `root` with everything in it, in registry view `view` (0: the program's
// own); true when it is gone.
bool RemoveKey(HKEY root, const std::string& path, REGSAM view = 0);
