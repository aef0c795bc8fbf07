// What a running program holds: its windows, GDI objects and private bytes.
#pragma once

#include "processes.h"

#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace blackbox {

struct Usage {
    int windows = 0;
    int gdiObjects = 0; // -1 when unknown
    uint64_t privateBytes = 0;
};

// Wine has no GetGuiResources, but keeps each process's GDI handle table in that process's
// memory, at the address the (64-bit) PEB names: one 24-byte entry per handle, whose type
// byte (offset 14) is 0 when the slot is free.
inline int WineGdiObjects(HANDLE process) {
    using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    void* table = nullptr;
    std::vector<unsigned char> entries(0x10000 * 24);
    if (!query || query(process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0 ||
        !ReadProcessMemory(process, reinterpret_cast<char*>(info.PebBaseAddress) + 0xF8, &table,
                           sizeof table, nullptr) ||
        !table || !ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr))
        return -1;
    int live = 0;
    for (size_t i = 14; i < entries.size(); i += 24)
        live += entries[i] != 0;
    return live;
}

// Windows counted by EnumWindows and EnumChildWindows; GDI objects by GetGuiResources or
// from Wine's handle table; private bytes from GetProcessMemoryInfo, where Windows gives
// the commit charge and Wine, which leaves that 0, the private resident memory as
// page-file usage (which Windows keeps equal to the commit charge).
inline Usage MeasureUsage(const Process& process) {
    Usage u;
    for (HWND top : TopLevelWindows(process.Id())) {
        ++u.windows;
        EnumChildWindows(
            top, [](HWND, LPARAM lp) { return ++*reinterpret_cast<int*>(lp), TRUE; },
            LPARAM(&u.windows));
    }
    const DWORD gdi = GetGuiResources(process.Handle(), GR_GDIOBJECTS);
    u.gdiObjects = gdi ? int(gdi) : WineGdiObjects(process.Handle());
    PROCESS_MEMORY_COUNTERS_EX m{};
    if (GetProcessMemoryInfo(process.Handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m),
                             sizeof m))
        u.privateBytes = m.PrivateUsage ? m.PrivateUsage : m.PagefileUsage;
    return u;
}

inline std::string Describe(const Usage& u) {
    return std::to_string(u.windows) + " windows, " + std::to_string(u.gdiObjects) +
           " GDI objects, " + std::to_string(u.privateBytes / 1024) + " KiB private";
}

} // namespace blackbox
