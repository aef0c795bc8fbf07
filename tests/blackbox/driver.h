// Drives a running ortelia.exe from outside, as a user or another program can: window
// messages, mouse clicks and keystrokes at screen points, the registry and editor stand-in
// processes. Windows are found by class and caption, tab captions and menu items by the
// pixels on the screen; what a result field must show comes from the platform-free core.
// One header per part; this one brings them all.
#pragma once

#include "basics.h"
#include "editor.h"
#include "ortelia.h"
#include "processes.h"
#include "registry.h"
#include "resources.h"
#include "screen.h"
#include "settings_dialog.h"
