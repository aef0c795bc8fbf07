// Names that assistive technology such as a screen reader reads for a control. The
// system's standard accessible object of the control is handed out as it is, except that
// its name comes from here: the labels of this program's fields stand after them, where
// the system's own rule (the label before a field) would find the wrong one.
#pragma once

#include <windows.h>

#include <string>

namespace controls {

// IID_IAccessible, {618736E0-3C3D-11CF-810C-00AA00389B71}. Spelled out: MinGW-w64's
// oleacc import library resolves the IID_IAccessible symbol to an import thunk.
inline constexpr GUID kIidAccessible{
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// A control's accessible name: the text of the label that names it, read whenever the
// name is asked for (so it follows a label that changes, such as a unit), or a fixed
// text when there is no such label.
struct AccessibleName {
    HWND label = nullptr;
    std::wstring text;

    std::wstring Resolve() const;
};

// Gives a control the accessible name, until its window goes. A later call replaces the
// name.
void SetAccessibleName(HWND control, AccessibleName name);

} // namespace controls
