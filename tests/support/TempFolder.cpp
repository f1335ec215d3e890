#include "support/TempFolder.h"

#include "platform/UniqueHandle.h"

#include <fstream>
#include <iterator>

TempFolder::TempFolder() {
    // Near the drive's root rather than in the profile's Temp folder: the shell's folder
    // browser reaches such a folder through My Computer, without detouring through the
    // profile folder that it sometimes stops at while that branch is still being filled.
    const std::string base = "C:\\tarvo-tests\\";
    CreateDirectoryA(base.c_str(), nullptr);
    static unsigned counter = 0;
    for (;;) {
        path_ = base + "test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter) + "\\";
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
    std::string folder = path.back() == '\\' ? path : path + "\\";
    WIN32_FIND_DATAA entry;
    UniqueFind find(FindFirstFileA((folder + "*").c_str(), &entry));
    if (find) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = folder + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find.get(), &entry));
    }
    find.reset();
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(folder.c_str());
}

void MakeFolders(const std::string& path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    }
    CreateDirectoryA(path.c_str(), nullptr);
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    UniqueFind find(FindFirstFileA((folder + "*").c_str(), &entry));
    if (!find) return names;
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find.get(), &entry));
    return names;
}
