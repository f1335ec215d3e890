#pragma once
// A fresh folder, removed with everything in it when the owner goes away; and small helpers to
// read, write and hold real files for the tests.
#include "platform/UniqueHandle.h"

#include <string>
#include <vector>

extern const char kTestsFolder[];  // C:\tarvo-tests\, where the tests' folders go unless told

class TempFolder {
public:
    // A folder of its own below `parent` (which ends with a backslash).
    explicit TempFolder(const std::string& parent = kTestsFolder);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Ends with a backslash, like the installer's folders.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + relative; }

private:
    std::string path_;
};

// Makes folders below `base` (which ends with a backslash) and returns the deepest, ending with
// a backslash and exactly `length` characters long.
std::string MakeFolderOfLength(const std::string& base, size_t length);

void RemoveTree(const std::string& path);  // an absolute path, however long its content's
void MakeFolders(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
std::vector<unsigned char> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
std::vector<std::string> FolderEntries(const std::string& folder);

// `path` open for reading, shared only as `share` says, as a program that has the file open
// holds it; the file is let go when the owner is.
UniqueFile HoldOpen(const std::string& path, DWORD share = 0);
