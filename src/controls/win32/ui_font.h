// The user-interface font: the 8-point dialog font the window designs were drawn for.
#pragma once

#include "controls/win32/gdi.h"

namespace controls {

// "MS Shell Dlg 2" at 8 points for the given vertical dpi (Tahoma where installed).
Font CreateDialogFont(int dpiY);

} // namespace controls
