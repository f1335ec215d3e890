#include "install/BlobWriter.h"

#include "platform/AnsiPath.h"
#include "platform/UniqueHandle.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The suffix of the temporary file of earlier versions, which an install of theirs cut short
// may have left on the user's disk.
constexpr char kEarlierSuffix[] = ".tarvo-new";

DWORD WriteAll(HANDLE file, const unsigned char* start, DWORD size) {
    constexpr DWORD kChunk = 64 * 1024;
    DWORD done = 0;
    while (done < size) {
        DWORD written = 0;
        if (!WriteFile(file, start + done, std::min(kChunk, size - done), &written, nullptr)) {
            return GetLastError();
        }
        if (written == 0) return ERROR_DISK_FULL;
        done += written;
    }
    return ERROR_SUCCESS;
}

// Compares what the file holds now with what was meant to be written.
DWORD ReadBack(HANDLE file, const unsigned char* start, DWORD size) {
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file, &length)) return GetLastError();
    if (length.QuadPart != size) return ERROR_CRC;
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return GetLastError();
    std::vector<unsigned char> buffer(64 * 1024);
    DWORD checked = 0;
    while (checked < size) {
        DWORD read = 0;
        DWORD want = std::min<DWORD>(static_cast<DWORD>(buffer.size()), size - checked);
        if (!ReadFile(file, buffer.data(), want, &read, nullptr)) return GetLastError();
        if (read == 0 || std::memcmp(buffer.data(), start + checked, read) != 0) return ERROR_CRC;
        checked += read;
    }
    return ERROR_SUCCESS;
}

// The attributes a replaced file takes over from the one it replaces: hidden and system are
// the user's (or a tool's) choice. The archive attribute says the file changed since the last
// backup, which a replaced file did, so it is always set.
DWORD AttributesAfterReplacing(DWORD targetAttributes) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD kept = targetAttributes == INVALID_FILE_ATTRIBUTES ? 0 : targetAttributes & kKept;
    return kept | FILE_ATTRIBUTE_ARCHIVE;
}

// A file another program has open can't be replaced, and the system calls that "access denied",
// which would send the user after rights; the user must hear that the file is in use.
bool OpenElsewhere(const std::string& path) {
    UniqueFile probe(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
}

// A hidden or system target is replaced like any other; only its attributes stand in the way.
DWORD ReplaceTarget(const std::string& temporary, const std::string& path) {
    constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (MoveFileExA(temporary.c_str(), path.c_str(), kFlags)) return ERROR_SUCCESS;
    DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED && OpenElsewhere(path)) return ERROR_SHARING_VIOLATION;
    DWORD attributes = GetFileAttributesA(path.c_str());
    constexpr DWORD kInTheWay = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (error != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & kInTheWay) || (attributes & FILE_ATTRIBUTE_READONLY)) {
        return error;
    }
    if (!SetFileAttributesA(path.c_str(), attributes & ~kInTheWay)) return error;
    if (MoveFileExA(temporary.c_str(), path.c_str(), kFlags)) return ERROR_SUCCESS;
    error = GetLastError();
    SetFileAttributesA(path.c_str(), attributes);
    return error;
}

// A virus scanner or the search indexer often opens a file that was just written or replaced
// for a moment. Such a lock is waited out quietly, about a second in all, before the user is
// asked to do anything about it.
constexpr DWORD kQuietRetryWaitsMs[] = {100, 200, 300, 400};

bool MayBeMomentaryLock(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED; }

DWORD ReplaceTargetPatiently(const std::string& temporary, const std::string& path) {
    DWORD error = ReplaceTarget(temporary, path);
    for (DWORD wait : kQuietRetryWaitsMs) {
        if (!MayBeMomentaryLock(error)) break;
        Sleep(wait);
        error = ReplaceTarget(temporary, path);
    }
    return error;
}

// The temporary file: created fresh, removed again unless it took the target's place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        file_.reset();  // closed first: an open file can't be removed
        if (created_ && !inPlace_) DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Whatever is at the temporary name was left by an install cut short, or put there to be
    // written through (a hard or symbolic link to another file, made while the installer runs
    // elevated). It is removed, never opened, and the new file can only be a new one.
    DWORD Create() {
        if (!DeleteFileA(path_.c_str())) {
            DWORD error = GetLastError();
            if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return error;
        }
        file_.reset(CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file_) return GetLastError();
        created_ = true;
        return ERROR_SUCCESS;
    }
    HANDLE Handle() const { return file_.get(); }
    void Close() { file_.reset(); }
    const std::string& Path() const { return path_; }
    // Moves the file over `target`; once it has, it is the target, no longer ours to remove.
    DWORD TakePlaceOf(const std::string& target) {
        DWORD error = ReplaceTargetPatiently(path_, target);
        inPlace_ = error == ERROR_SUCCESS;
        return error;
    }

private:
    std::string path_;
    UniqueFile file_;
    bool created_ = false;
    bool inPlace_ = false;
};

}  // namespace

bool PathTooLong(const std::string& path) { return ansi_path::Characters(path) > kLongestPath; }

std::string TemporaryPathFor(const std::string& target) {
    if (target.empty()) return "~";
    // The last character, whole (in a double-byte code page it may take two bytes), becomes
    // one that is not it: the name keeps its length in characters.
    const size_t last = ansi_path::LastCharacter(target);
    return target.substr(0, last) + (target.substr(last) == "~" ? "_" : "~");
}

std::vector<std::string> LeftoverPathsFor(const std::string& target) {
    return {TemporaryPathFor(target), target + kEarlierSuffix};
}

bool TooLongToWrite(const std::string& target) { return PathTooLong(target) || PathTooLong(TemporaryPathFor(target)); }

DWORD WriteBlobToFile(const std::string& path, const unsigned char* start, const unsigned char* end) {
    const DWORD size = static_cast<DWORD>(end - start);
    if (TooLongToWrite(path)) return ERROR_FILENAME_EXCED_RANGE;

    // A read-only file is the user's statement that it must not change.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        return ERROR_ACCESS_DENIED;
    }

    TemporaryFile temporary(TemporaryPathFor(path));
    if (DWORD error = temporary.Create()) return error;
    if (DWORD error = WriteAll(temporary.Handle(), start, size)) return error;
    if (!FlushFileBuffers(temporary.Handle())) return GetLastError();
    if (DWORD error = ReadBack(temporary.Handle(), start, size)) return error;
    temporary.Close();
    // Not worth failing the install for: the bytes are right either way.
    SetFileAttributesA(temporary.Path().c_str(), AttributesAfterReplacing(attributes));
    return temporary.TakePlaceOf(path);
}
