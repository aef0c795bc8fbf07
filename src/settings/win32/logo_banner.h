// The settings dialog's banner: a white picture box showing the logo at its top-left
// corner and, like windowless labels, the product name, notice, maker and version.
#pragma once

#include "controls/geometry.h"
#include "controls/win32/handles.h"
#include "controls/win32/window_base.h"
#include "settings/settings_design.h"

#include <windows.h>

#include <array>

namespace settings {

// The logo picture from the program's resources, unscaled. It is drawn on white and has
// no transparent pixels.
struct LogoPicture {
    controls::Bitmap bitmap;
    int width = 0;
    int height = 0;
};
// Decodes the embedded GIF; an empty picture when it cannot be read.
LogoPicture LoadLogoPicture(HINSTANCE instance);

class LogoBanner : public controls::WindowBase<LogoBanner> {
  public:
    static constexpr const wchar_t* kClassName = L"OrteliaLogoBanner";

    LogoBanner() = default;
    // One object per window, which goes with it.
    LogoBanner(const LogoBanner&) = delete;
    LogoBanner& operator=(const LogoBanner&) = delete;
    ~LogoBanner();

    // Creates the banner at `rect` (pixels, in the parent's client area) with the labels of
    // the design whose container is the banner, placed and sized by `scale`.
    bool Create(HWND parent, const RECT& rect, const controls::LayoutScale& scale, int dpiY);
    // Moves the banner to `rect` and lays its labels out again at another scale, as when
    // the dialog moved to a screen of another density. The logo stays unscaled.
    void SetScale(const RECT& rect, const controls::LayoutScale& scale, int dpiY);

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    struct Label {
        RECT rect{};
        const char* text = "";
        TextAlign align = TextAlign::Left;
        HFONT font = nullptr;
    };

    void Paint(HDC dc, const RECT& client) const;
    void PlaceLabels(const controls::LayoutScale& scale, int dpiY);

    LogoPicture logo_;
    controls::Font titleFont_;
    controls::Font smallFont_;
    std::array<Label, 4> labels_{};
    size_t labelCount_ = 0;
};

} // namespace settings
