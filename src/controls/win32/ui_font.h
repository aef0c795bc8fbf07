// The one font factory of the windows.
#pragma once

#include "controls/win32/handles.h"

namespace controls {

// A font of `points` at `dpi`, in the given face, bold or regular.
Font MakeFont(const wchar_t* face, float points, bool bold, int dpi);

// 8-point MS Sans Serif: the face the window designs were drawn for. Wider faces cannot
// fit the settings dialog's longest caption on one line.
inline Font MakeDialogFont(int dpi) {
    return MakeFont(L"MS Sans Serif", 8, false, dpi);
}

} // namespace controls
