#include "controls/win32/ui_font.h"

namespace controls {

Font CreateDialogFont(int dpiY) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(8, dpiY, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcscpy_s(lf.lfFaceName, L"MS Sans Serif");
    return controls::Font(CreateFontIndirectW(&lf));
}

} // namespace controls
