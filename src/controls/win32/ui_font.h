// The user-interface font: the 8-point dialog font the window designs were drawn for.
#pragma once

#include "controls/win32/gdi.h"

namespace controls {

// 8-point MS Sans Serif for the given vertical dpi: the face the designs were drawn
// for. Wider faces cannot fit the settings dialog's longest caption on one line.
Font CreateDialogFont(int dpiY);

} // namespace controls
