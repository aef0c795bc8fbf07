// The settings code: the one text in which the settings are stored,
// six colon-separated fields "dock:corner:offsetX:offsetY:autoClose:metric".
#pragma once

#include "settings/settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace settings {

// What a valid code holds. The sixth field is optional; without it the metric
// setting keeps whatever value it had.
struct StoredSettings {
    bool bDockEnabled;
    int16_t iDockCorner;
    int32_t lDockOffsetX;
    int32_t lDockOffsetY;
    bool bAutoClose;
    std::optional<bool> bMetric;
};

// Reads a code of five or more fields (fields after the sixth are ignored). Every field
// read must be a number: optional sign, digits, optionally "." and digits, blanks around
// it allowed; fractions round half to even, Booleans are true for any non-zero number,
// and the corner and offsets must fit their 16- and 32-bit ranges. Anything else makes
// the whole code invalid, so a bad code never half-applies.
std::optional<StoredSettings> ParseSettingsCode(std::string_view code);

// Puts a parsed code into the settings; bEditorSeen is not touched.
void ApplyStoredSettings(const StoredSettings& stored, Settings& target);

// The code of the given settings, always six fields, e.g. "1:1:0:22:1:1".
std::string ComposeSettingsCode(const Settings& s);

} // namespace settings
