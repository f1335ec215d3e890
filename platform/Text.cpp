#include "platform/Text.h"

namespace text {
namespace {

std::wstring Widen(UINT codePage, std::string_view narrow) {
    if (narrow.empty()) return {};
    const int size = static_cast<int>(narrow.size());
    int length = MultiByteToWideChar(codePage, 0, narrow.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, narrow.data(), size, wide.data(), length);
    return wide;
}

}  // namespace

std::wstring FromWindows1252(std::string_view text) { return Widen(1252, text); }

std::wstring FromAnsi(std::string_view path) { return Widen(CP_ACP, path); }

std::optional<std::string> ToAnsi(std::wstring_view path) {
    if (path.empty()) return std::string();
    const int size = static_cast<int>(path.size());
    // UTF-8 holds every character, and the call refuses to report a loss for it.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* loss = utf8 ? nullptr : &lossy;
    int length = WideCharToMultiByte(CP_ACP, flags, path.data(), size, nullptr, 0, nullptr, loss);
    if (length <= 0 || lossy) return std::nullopt;
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, path.data(), size, narrow.data(), length, nullptr, loss);
    return narrow;
}

}  // namespace text
