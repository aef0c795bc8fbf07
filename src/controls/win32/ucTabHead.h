// The tab header: one row of tabs drawn as a raised panel. A click on a caption selects
// that tab and reports it to the parent window (kTabClick); a press anywhere else on the
// header is reported as kMouseDown. The header knows nothing of pages.
#pragma once

#include "controls/geometry.h"
#include "controls/tab_layout.h"
#include "controls/win32/window_base.h"

#include <cstdint>
#include <string>
#include <vector>

namespace controls {

class ucTabHead : public WindowBase<ucTabHead> {
  public:
    static constexpr const wchar_t* kClassName = L"OrteliaTabHead";
    // Tabs are addressed by 16-bit indices (ShowTab), so no more than this many.
    static constexpr int kMaxTabs = 32768;

    ucTabHead() = default;
    // One object per window: the window goes with the object, so it never calls into a
    // destroyed one.
    ucTabHead(const ucTabHead&) = delete;
    ucTabHead& operator=(const ucTabHead&) = delete;
    ~ucTabHead() {
        if (Handle())
            DestroyWindow(Handle());
    }

    // Creates the header as child `id` of `parent`, `bounds` in the parent's client
    // pixels, and lays it out at the parent's dpi. False if the window could not be made.
    bool Create(HWND parent, int id, const RECT& bounds);

    // Appends a tab captioned " sTitle " and redraws; the selection is unchanged. The
    // caption's width is measured now, in the header's current font, and kept. False,
    // with nothing changed, when the header already holds kMaxTabs tabs.
    bool AddTab(const std::wstring& sTitle);
    // Lays the header out at another scale, as when its window moved to a screen of
    // another density: every caption is measured afresh in the header's current font
    // (the host sets the font for the new density first), so that none is cut off.
    void SetScale(const LayoutScale& scale);
    // Selects tab iTabID exactly as a click on its caption does, kTabClick included. Any
    // index is taken: one outside the tabs is reported as given and raises no tab.
    void ShowTab(int16_t iTabID);

    int SelectedTab() const { return lSelectedTab; }

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    void LayoutTabs();
    void UserControl_Resize();
    void UserControl_MouseDown(UINT msg, WPARAM wp, LPARAM lp);
    void lblTabTitle_Click(int Index);

    void OnButtonDown(UINT msg, WPARAM wp, LPARAM lp);
    void OnLeftButtonUp(LPARAM lp);
    void Paint(HDC dc, const RECT& client) const;
    HFONT CaptionFont() const;
    float CaptionWidth(const std::wstring& caption) const;
    Point ToUnits(LPARAM lp) const;

    int lTabCount = 0;
    int lSelectedTab = 0;
    std::vector<std::wstring> captions_;
    std::vector<float> captionWidths_; // layout units, fixed when the tab is added
    TabLayout layout_;
    LayoutScale scale_;
    HFONT font_ = nullptr;    // set by the host; not owned
    int pressedCaption_ = -1; // caption under a left press awaiting its release
};

} // namespace controls
