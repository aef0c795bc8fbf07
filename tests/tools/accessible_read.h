// Reads what a screen reader is told about a window: the name of its client object,
// asked for as an assistive program asks (AccessibleObjectFromWindow). Shared by the
// in-process accessibility tests and the out-of-process window probe.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>

namespace testing_tools {

// The accessible name in UTF-8, or a note in angle brackets of what failed.
inline std::string AccessibleNameOf(HWND hwnd) {
    // IID_IAccessible, spelt out: MinGW-w64's oleacc import library has it as a thunk.
    constexpr GUID kIidAccessible{
        0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                          reinterpret_cast<void**>(&object))) ||
        !object)
        return "<no accessible object>";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string result = "<no name>";
    if (SUCCEEDED(object->get_accName(self, &name)) && name) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, name, -1, nullptr, 0, nullptr, nullptr);
        result.assign(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
        if (n > 1)
            WideCharToMultiByte(CP_UTF8, 0, name, -1, result.data(), n, nullptr, nullptr);
    }
    SysFreeString(name);
    object->Release();
    return result;
}

} // namespace testing_tools
