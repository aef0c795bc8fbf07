// The user's settings as values, and their defaults.
#pragma once

#include <cstdint>

namespace settings {

// The five stored settings plus the metric flag and the tracker's run-time flag.
struct Settings {
    bool bDockEnabled = true;
    int16_t iDockCorner = 1; // 0 top left, 1 top right, 2 bottom left, 3 bottom right
    int32_t lDockOffsetX = 0;
    int32_t lDockOffsetY = 22;
    bool bAutoClose = true;
    bool bMetric = true;
    bool bEditorSeen = false; // run-time only, never stored
};

// The defaults of every field, bEditorSeen included.
inline constexpr Settings kDefaultSettings{};

} // namespace settings
