// Desktop colour schemes for the pictures: every system colour set at once for
// the lifetime of a guard, and given back afterwards.
#pragma once

#include <windows.h>

#include <uxtheme.h>

#include <array>

namespace screenshots {

// COLOR_SCROLLBAR (0) to COLOR_MENUBAR (30).
inline constexpr int kSysColourCount = 31;
using Scheme = std::array<COLORREF, kSysColourCount>;

// The "High Contrast Black" scheme of Windows: white and yellow on black.
inline Scheme HighContrastBlack() {
    Scheme s{};
    s.fill(RGB(0, 0, 0));
    const COLORREF white = RGB(255, 255, 255), yellow = RGB(255, 255, 0), green = RGB(0, 255, 0),
                   cyan = RGB(0, 255, 255);
    for (int i : {COLOR_WINDOWTEXT, COLOR_MENUTEXT, COLOR_CAPTIONTEXT, COLOR_BTNTEXT,
                  COLOR_INACTIVECAPTIONTEXT, COLOR_INFOTEXT, COLOR_WINDOWFRAME, COLOR_ACTIVEBORDER,
                  COLOR_INACTIVEBORDER, COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_BTNSHADOW,
                  COLOR_3DDKSHADOW})
        s[static_cast<size_t>(i)] = white;
    s[COLOR_GRAYTEXT] = green;
    s[COLOR_HIGHLIGHT] = cyan;
    s[COLOR_HOTLIGHT] = yellow;
    s[COLOR_ACTIVECAPTION] = RGB(128, 0, 128);
    s[COLOR_INACTIVECAPTION] = RGB(0, 128, 0);
    s[COLOR_GRADIENTACTIVECAPTION] = RGB(128, 0, 128);
    s[COLOR_GRADIENTINACTIVECAPTION] = RGB(0, 128, 0);
    s[COLOR_MENUHILIGHT] = RGB(128, 0, 128);
    s[COLOR_HIGHLIGHTTEXT] = RGB(0, 0, 0);
    return s;
}

// Windows draws without visual styles while a high-contrast scheme is on, so the
// controls use the system colours; turns the visual style off for the lifetime of the
// guard (and the controls are told).
class NoVisualStyle {
  public:
    NoVisualStyle() { EnableTheming(FALSE); }
    NoVisualStyle(const NoVisualStyle&) = delete;
    NoVisualStyle& operator=(const NoVisualStyle&) = delete;
    ~NoVisualStyle() { EnableTheming(TRUE); }
};

class SchemeGuard {
  public:
    explicit SchemeGuard(const Scheme& scheme) {
        for (int i = 0; i < kSysColourCount; ++i) {
            indices_[static_cast<size_t>(i)] = i;
            saved_[static_cast<size_t>(i)] = GetSysColor(i);
        }
        SetSysColors(kSysColourCount, indices_.data(), scheme.data());
    }
    SchemeGuard(const SchemeGuard&) = delete;
    SchemeGuard& operator=(const SchemeGuard&) = delete;
    ~SchemeGuard() { SetSysColors(kSysColourCount, indices_.data(), saved_.data()); }

  private:
    std::array<INT, kSysColourCount> indices_{};
    Scheme saved_{};
};

} // namespace screenshots
