#pragma once
// A fresh folder under C:\tarvo-tests\, removed with everything in it when the owner goes away;
// and small helpers to read and write real files for the tests.
#include <windows.h>

#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Ends with a backslash, like the installer's folders.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + relative; }

private:
    std::string path_;
};

// The process's current folder is `folder` until the owner goes, then what it was before.
class CurrentFolderScope {
public:
    explicit CurrentFolderScope(const std::string& folder);
    ~CurrentFolderScope();
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    std::string previous_;
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
