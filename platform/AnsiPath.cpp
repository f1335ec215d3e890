#include "platform/AnsiPath.h"

namespace ansi_path {
namespace {

// Calls `visit(offset, bytes)` for each character in turn; stops early when it returns false.
template <typename Visit>
void ForEachCharacter(std::string_view path, UINT codePage, Visit visit) {
    size_t offset = 0;
    while (offset < path.size()) {
        const auto byte = static_cast<BYTE>(path[offset]);
        size_t bytes = IsDBCSLeadByteEx(codePage, byte) && offset + 1 < path.size() ? 2 : 1;
        if (!visit(offset, bytes)) return;
        offset += bytes;
    }
}

}  // namespace

size_t LastSeparator(std::string_view path, UINT codePage) {
    size_t last = std::string_view::npos;
    ForEachCharacter(path, codePage, [&](size_t offset, size_t bytes) {
        if (bytes == 1 && path[offset] == '\\') last = offset;
        return true;
    });
    return last;
}

size_t LastCharacter(std::string_view path, UINT codePage) {
    size_t last = std::string_view::npos;
    ForEachCharacter(path, codePage, [&](size_t offset, size_t) {
        last = offset;
        return true;
    });
    return last;
}

bool EndsWithSeparator(std::string_view path, UINT codePage) {
    return !path.empty() && LastSeparator(path, codePage) == path.size() - 1;
}

std::string WithSeparator(std::string_view path, UINT codePage) {
    std::string result(path);
    if (!path.empty() && !EndsWithSeparator(path, codePage)) result += '\\';
    return result;
}

std::string WithoutSeparator(std::string_view path, UINT codePage) {
    return std::string(EndsWithSeparator(path, codePage) ? path.substr(0, path.size() - 1) : path);
}

size_t Characters(std::string_view path, UINT codePage) {
    if (path.empty()) return 0;
    return static_cast<size_t>(
        MultiByteToWideChar(codePage, 0, path.data(), static_cast<int>(path.size()), nullptr, 0));
}

std::string FirstCharacters(std::string_view path, size_t count, UINT codePage) {
    size_t end = 0, taken = 0;
    ForEachCharacter(path, codePage, [&](size_t offset, size_t bytes) {
        if (taken == count) return false;
        ++taken;
        end = offset + bytes;
        return true;
    });
    return std::string(path.substr(0, end));
}

}  // namespace ansi_path
