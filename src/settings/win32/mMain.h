// The global settings of the running program and their load from the registry.
#pragma once

#include "settings/settings.h"

namespace mMain {

// Where the settings code is stored, under HKEY_CURRENT_USER.
inline constexpr const char* kSettingsKey = "Software\\Quillon\\Ortelia";
inline constexpr const char* kSettingsValue = "Settings";

// The process-wide settings: bDockEnabled, iDockCorner, lDockOffsetX, lDockOffsetY,
// bAutoClose, bMetric and the tracker's bEditorSeen. Everything runs on the one GUI
// thread, so they need no lock.
settings::Settings& Settings();

// Puts the defaults into every setting, bEditorSeen included.
void SetDefaultSettings();

// Reads the stored settings code and applies it. No code stored: nothing changes and
// nothing is shown. A malformed code: "Invalid Settings Code" is shown and nothing
// changes.
void LoadSettings();

// Stores the code of the current settings; false if the registry refused it.
bool SaveSettings();

} // namespace mMain
