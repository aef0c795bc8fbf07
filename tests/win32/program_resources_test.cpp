// What ortelia.exe tells Windows about itself (its version information and manifest), and
// that the manifest takes effect: the tests run with the same one.
#include "controls/win32/text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

// ORTELIA_EXE: the built program's path, given by the build.
const wchar_t* ProgramPath() {
    static const std::wstring path = controls::Widen(ORTELIA_EXE);
    return path.c_str();
}

// A string of the version information's U.S. English, Unicode block.
std::string VersionString(const std::vector<char>& info, const wchar_t* name) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || !value)
        return "<missing>";
    return controls::Narrow(static_cast<const wchar_t*>(value));
}

TEST(ProgramResources, VersionInformationNamesTheProductAndItsMaker) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(ProgramPath(), &handle);
    ASSERT_GT(size, 0u) << controls::Narrow(ProgramPath());
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(ProgramPath(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(3, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(3, 1));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    const struct {
        const wchar_t* name;
        const char* value;
    } strings[] = {{L"ProductName", "Ortelia"},
                   {L"CompanyName", "Quillon"},
                   {L"FileVersion", "1.3.0"},
                   {L"ProductVersion", "1.3.0"},
                   {L"OriginalFilename", "ortelia.exe"}};
    for (const auto& s : strings)
        EXPECT_EQ(VersionString(info, s.name), s.value) << controls::Narrow(s.name);
    EXPECT_NE(VersionString(info, L"FileDescription"), "<missing>");
}

TEST(ProgramResources, ManifestAsksForWhatTheProgramNeeds) {
    HMODULE program = LoadLibraryExW(ProgramPath(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr) << "no manifest with id 1";
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(program, found)));
    const std::string manifest(bytes, SizeofResource(program, found));
    FreeLibrary(program);
    for (const char* wanted :
         {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", "level=\"asInvoker\"",
          ">PerMonitorV2, PerMonitor<", ">true/pm<", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
          "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"})
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
}

TEST(ProgramResources, TheManifestTakesEffect) {
    // The edit and button classes come from the side-by-side common controls 6, whose
    // folder is named after the assembly.
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), path, MAX_PATH);
    std::wstring lower = path;
    for (auto& c : lower)
        c = static_cast<wchar_t>(towlower(c));
    EXPECT_NE(lower.find(L"common-controls_6595b64144ccf1df_6."), std::wstring::npos)
        << controls::Narrow(path);
    // Windows 10 and later report the process's dpi awareness; Wine reports it too.
    using GetContext = DPI_AWARENESS_CONTEXT(WINAPI*)();
    using GetAwareness = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto context = reinterpret_cast<GetContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    const auto awareness = reinterpret_cast<GetAwareness>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    if (context && awareness) {
        EXPECT_EQ(awareness(context()), DPI_AWARENESS_PER_MONITOR_AWARE);
    }
}

} // namespace
