#include "support/TempFolder.h"

#include "platform/Text.h"
#include "platform/UniqueHandle.h"

#include <algorithm>
#include <fstream>
#include <iterator>

// Near the drive's root rather than in the profile's Temp folder: the shell's folder browser
// reaches such a folder through My Computer, without detouring through the profile folder that
// it sometimes stops at while that branch is still being filled.
const char kTestsFolder[] = "C:\\tarvo-tests\\";

TempFolder::TempFolder(const std::string& parent) {
    MakeFolders(parent);
    static unsigned counter = 0;
    do {
        path_ = parent + "test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + "\\";
    } while (!CreateDirectoryA(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

namespace {

// Removes a tree whatever its paths' length, given as a \\?\ path without a trailing backslash.
void RemoveLongTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (find) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = folder + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveLongTree(full);
            } else {
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(find.get(), &entry));
    }
    find.reset();
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

// Wide calls under the path: tests leave names the ANSI calls can't spell, and paths past MAX_PATH.
void RemoveTree(const std::string& path) {
    std::string folder = path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
    RemoveLongTree(L"\\\\?\\" + text::FromAnsi(folder));
}

std::string MakeFolderOfLength(const std::string& base, size_t length) {
    std::string folder = base;
    while (folder.size() < length) {
        // Names of up to 60 characters; the last step always has room for one of at least one.
        size_t left = length - folder.size();
        size_t name = left > 61 ? std::min<size_t>(60, left - 3) : left - 1;
        folder += std::string(name, 'd') + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    return folder;
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

UniqueFile HoldOpen(const std::string& path, DWORD share) {
    return UniqueFile(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
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
