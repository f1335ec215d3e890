#include "ProcessResources.h"

#include "platform/SystemLibrary.h"

#include <winternl.h>

#include <cstdint>
#include <vector>

namespace {

// With plain numbers for the information classes, which the SDK's enumerations don't all name.
using QuerySystem = NTSTATUS NTAPI(ULONG, PVOID, ULONG, PULONG);
using QueryProcess = NTSTATUS NTAPI(HANDLE, ULONG, PVOID, ULONG, PULONG);
using QueryThread = NTSTATUS NTAPI(HANDLE, ULONG, PVOID, ULONG, PULONG);

template <typename Function>
Function* NtFunction(const char* name) {
    return SystemFunction<Function>(GetModuleHandleA("ntdll.dll"), name);
}

template <typename T>
bool ReadRemote(HANDLE process, std::uint64_t address, T& value) {
    return address && ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(address)),
                                        &value, sizeof value, nullptr);
}

// SystemExtendedHandleInformation: every handle of every process, with its owner.
struct HandleEntry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT backTrace;
    USHORT type;
    ULONG attributes;
    ULONG reserved;
};
struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};

long HandlesFromSystemTable(DWORD processId) {
    constexpr ULONG kExtendedHandleInformation = 64;
    constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
    auto query = NtFunction<QuerySystem>("NtQuerySystemInformation");
    std::vector<unsigned char> buffer(1 << 16);
    NTSTATUS status;
    ULONG needed = 0;
    while ((status = query(kExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed)) ==
           kInfoLengthMismatch) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) return -1;
    auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    long count = 0;
    for (ULONG_PTR i = 0; i < table->count; ++i) {
        if (table->entries[i].processId == processId) ++count;
    }
    return count;
}

// Wine keeps a process's GDI objects in a table laid out like Windows' shared handle table,
// 0x10000 entries of 24 bytes whose type byte is 0 when the entry is free. A 64-bit process
// finds it in its PEB; a 32-bit one in the 64-bit PEB beside it, which its TEB leads to.
std::uint64_t GdiTableAddress(HANDLE process, DWORD thread) {
    constexpr std::uint64_t kPebGdiTable64 = 0xF8;
#ifdef _WIN64
    (void)thread;
    PROCESS_BASIC_INFORMATION basic{};
    if (NtFunction<QueryProcess>("NtQueryInformationProcess")(process, ProcessBasicInformation, &basic,
                                                                sizeof basic, nullptr) != 0) {
        return 0;
    }
    std::uint64_t table = 0;
    ReadRemote(process, reinterpret_cast<std::uintptr_t>(basic.PebBaseAddress) + kPebGdiTable64, table);
    return table;
#else
    constexpr std::uint64_t kTebGdiBatchCount32 = 0xF70;  // holds the 64-bit TEB's address
    constexpr std::uint64_t kTebPeb64 = 0x60;
    struct {
        NTSTATUS exitStatus;
        void* teb;
        CLIENT_ID client;
        ULONG_PTR affinity;
        LONG priority;
        LONG basePriority;
    } basic{};
    UniqueHandle threadHandle(OpenThread(THREAD_QUERY_INFORMATION, FALSE, thread));
    if (!threadHandle) return 0;
    NTSTATUS status =
        NtFunction<QueryThread>("NtQueryInformationThread")(threadHandle.get(), 0, &basic, sizeof basic, nullptr);
    if (status != 0) return 0;
    ULONG teb64 = 0;
    std::uint64_t peb64 = 0, table = 0;
    if (!ReadRemote(process, reinterpret_cast<std::uintptr_t>(basic.teb) + kTebGdiBatchCount32, teb64)) return 0;
    if (!ReadRemote(process, teb64 + kTebPeb64, peb64)) return 0;
    ReadRemote(process, peb64 + kPebGdiTable64, table);
    return table;
#endif
}

long GdiFromWineTable(HANDLE process, DWORD thread) {
    constexpr size_t kEntries = 0x10000, kEntrySize = 24, kTypeOffset = 14;
    std::uint64_t address = GdiTableAddress(process, thread);
    if (!address) return -1;
    std::vector<unsigned char> table(kEntries * kEntrySize);
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(address)),
                           table.data(), table.size(), &read) ||
        read != table.size()) {
        return -1;
    }
    long count = 0;
    for (size_t i = 0; i < kEntries; ++i) {
        if (table[i * kEntrySize + kTypeOffset] != 0) ++count;
    }
    return count;
}

struct WindowCount {
    DWORD processId;
    long count;
};

BOOL CALLBACK CountChild(HWND window, LPARAM context) {
    auto* windows = reinterpret_cast<WindowCount*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == windows->processId) ++windows->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM context) {
    CountChild(window, context);
    EnumChildWindows(window, CountChild, context);  // all descendants
    return TRUE;
}

// On Wine the process's windows, top-level, child and message-only: the USER objects a
// program leaks most (menus, icons and hooks aren't visible from outside there).
long WindowsOf(DWORD processId) {
    WindowCount windows{processId, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    for (HWND message = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); message;
         message = FindWindowExA(HWND_MESSAGE, message, nullptr, nullptr)) {
        CountTopLevel(message, reinterpret_cast<LPARAM>(&windows));
    }
    return windows.count;
}

}  // namespace

ResourceCounts CountResources(HANDLE process, DWORD processId, DWORD thread) {
    ResourceCounts counts;
    DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    if (gdi > 0) {
        counts.gdi = static_cast<long>(gdi);
        counts.source += "GDI: GetGuiResources; ";
    } else {
        counts.gdi = GdiFromWineTable(process, thread);
        counts.source += "GDI: Wine's handle table; ";
    }
    DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    if (user > 0) {
        counts.user = static_cast<long>(user);
        counts.source += "USER: GetGuiResources; ";
    } else {
        counts.user = WindowsOf(processId);
        counts.source += "USER: windows of the process; ";
    }
    DWORD handles = 0;
    if (GetProcessHandleCount(process, &handles) && handles > 0) {
        counts.handles = static_cast<long>(handles);
        counts.source += "handles: GetProcessHandleCount";
    } else {
        counts.handles = HandlesFromSystemTable(processId);
        counts.source += "handles: system handle table";
    }
    return counts;
}
