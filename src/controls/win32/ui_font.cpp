#include "controls/win32/ui_font.h"

#include <cmath>

namespace controls {

Font MakeFont(const wchar_t* face, float points, bool bold, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(points * static_cast<float>(dpi) / 72.0f));
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy_s(lf.lfFaceName, face, _TRUNCATE);
    return Font(CreateFontIndirectW(&lf));
}

} // namespace controls
