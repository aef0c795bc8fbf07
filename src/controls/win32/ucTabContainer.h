// One page of the tabbed window: a panel framed on its left, bottom and right (the tab
// header's baseline is the top edge of the page area). The host places its fields and
// labels on the page as children; the page passes their notifications up to the host,
// which owns every handler, and reports presses on its own surface as kMouseDown.
#pragma once

#include "controls/geometry.h"
#include "controls/win32/window_base.h"

#include <array>

namespace controls {

class ucTabContainer : public WindowBase<ucTabContainer> {
  public:
    static constexpr const wchar_t* kClassName = L"OrteliaTabContainer";

    ucTabContainer() = default;
    // One object per window: the window and the fields on it go with the object.
    ucTabContainer(const ucTabContainer&) = delete;
    ucTabContainer& operator=(const ucTabContainer&) = delete;
    ~ucTabContainer() {
        if (Handle())
            DestroyWindow(Handle());
    }

    // Creates the page as child `id` of `parent`, `bounds` in the parent's client pixels,
    // visible, at the parent's dpi. False if the window could not be made.
    bool Create(HWND parent, int id, const RECT& bounds);
    // Draws the edges at another scale, as when the window moved to a screen of another
    // density (the host moves and sizes the page itself).
    void SetScale(const LayoutScale& scale);

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    void UserControl_Resize();
    void UserControl_MouseDown(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT ForwardToParent(UINT msg, WPARAM wp, LPARAM lp);
    void Paint(HDC dc, const RECT& client) const;

    std::array<Line, 3> lineBorder_{}; // left, bottom, right
    LayoutScale scale_;
};

} // namespace controls
