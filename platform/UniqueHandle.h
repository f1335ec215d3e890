#pragma once
// One owner per Win32 handle: a move-only wrapper given the handle's type, the call that
// releases it and, where "none" is not a null handle, the value that means none.
#include <windows.h>
#include <objbase.h>
#include <shtypes.h>

#include <utility>

// INVALID_HANDLE_VALUE as a constant a template can take (the macro is a cast).
inline constexpr LONG_PTR kInvalidHandleValue = -1;

template <typename H, auto Close, LONG_PTR None = 0>
class Unique {
public:
    using Handle = H;

    Unique() noexcept = default;
    explicit Unique(Handle handle) noexcept : handle_(handle) {}
    ~Unique() { reset(); }

    Unique(Unique&& other) noexcept : handle_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Invalid(); }

    Handle release() noexcept { return std::exchange(handle_, Invalid()); }
    // For calls that open a handle through an out-parameter: the owner is filled by the call.
    // It is emptied first, so a call that fails without writing leaves it empty.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }
    void reset(Handle handle = Invalid()) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Invalid()) Close(old);
    }

private:
    static Handle Invalid() noexcept {
        if constexpr (None == 0) {
            return Handle{};
        } else {
            return reinterpret_cast<Handle>(None);
        }
    }

    Handle handle_ = Invalid();
};

using UniqueFile = Unique<HANDLE, CloseHandle, kInvalidHandleValue>;  // CreateFile
using UniqueFind = Unique<HANDLE, FindClose, kInvalidHandleValue>;    // FindFirstFile
using UniqueHandle = Unique<HANDLE, CloseHandle>;  // processes, threads, events, mappings
using UniqueKey = Unique<HKEY, RegCloseKey>;
using UniqueModule = Unique<HMODULE, FreeLibrary>;
using UniqueBitmap = Unique<HBITMAP, DeleteObject>;
using UniqueBrush = Unique<HBRUSH, DeleteObject>;
using UniqueDc = Unique<HDC, DeleteDC>;  // CreateCompatibleDC
using UniqueAccel = Unique<HACCEL, DestroyAcceleratorTable>;
using UniqueWindow = Unique<HWND, DestroyWindow>;
using UniquePidl = Unique<PIDLIST_ABSOLUTE, CoTaskMemFree>;
