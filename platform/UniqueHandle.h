#pragma once
// One owner per Win32 handle: a move-only wrapper parameterised by the handle's traits
// (its type, its invalid value and the call that releases it).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <utility>

template <typename Traits>
class Unique {
public:
    using Handle = typename Traits::Handle;

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
    explicit operator bool() const noexcept { return handle_ != Traits::invalid(); }

    Handle release() noexcept { return std::exchange(handle_, Traits::invalid()); }
    // For calls that open a handle through an out-parameter: the owner is filled by the call.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }
    void reset(Handle handle = Traits::invalid()) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::invalid()) Traits::close(old);
    }

private:
    Handle handle_ = Traits::invalid();
};

// Handles whose "none" is a null pointer.
template <typename H, auto Close>
struct NullIsInvalid {
    using Handle = H;
    static constexpr Handle invalid() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { Close(handle); }
};

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle handle) noexcept { CloseHandle(handle); }
};

struct FindTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle handle) noexcept { FindClose(handle); }
};

inline void ClosePidl(PIDLIST_ABSOLUTE pidl) noexcept { CoTaskMemFree(pidl); }

using UniqueFile = Unique<FileHandleTraits>;                        // CreateFile
using UniqueFind = Unique<FindTraits>;                       // FindFirstFile
using UniqueHandle = Unique<NullIsInvalid<HANDLE, CloseHandle>>;    // processes, threads
using UniqueKey = Unique<NullIsInvalid<HKEY, RegCloseKey>>;
using UniqueModule = Unique<NullIsInvalid<HMODULE, FreeLibrary>>;
using UniqueBitmap = Unique<NullIsInvalid<HBITMAP, DeleteObject>>;
using UniqueBrush = Unique<NullIsInvalid<HBRUSH, DeleteObject>>;
using UniqueDc = Unique<NullIsInvalid<HDC, DeleteDC>>;
using UniqueAccel = Unique<NullIsInvalid<HACCEL, DestroyAcceleratorTable>>;
using UniqueWindow = Unique<NullIsInvalid<HWND, DestroyWindow>>;
using UniquePidl = Unique<NullIsInvalid<PIDLIST_ABSOLUTE, ClosePidl>>;

// COM for the calling thread, from construction to destruction.
class ComScope {
public:
    ComScope() noexcept : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};
