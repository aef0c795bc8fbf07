#include "controls/win32/ucTabHead.h"

#include "controls/win32/dpi.h"
#include "controls/win32/handles.h"
#include "controls/win32/notifications.h"
#include "controls/win32/paint.h"

#include <utility>

namespace controls {

bool ucTabHead::Create(HWND parent, int id, const RECT& bounds) {
    scale_ = WindowLayoutScale(parent);
    return CreateChild(parent, id, bounds, WS_CLIPSIBLINGS);
}

bool ucTabHead::AddTab(const std::wstring& sTitle) {
    if (lTabCount >= kMaxTabs)
        return false;
    std::wstring caption(1, L' ');
    caption.append(sTitle).push_back(L' ');
    captionWidths_.push_back(CaptionWidth(caption));
    captions_.push_back(std::move(caption));
    ++lTabCount;
    LayoutTabs();
    return true;
}

// The rendered width of a caption in the caption font, in layout units at the header's
// scale, with no margin added.
float ucTabHead::CaptionWidth(const std::wstring& caption) const {
    SIZE extent{};
    ScreenDc dc(Handle());
    Selection font(dc.Get(), CaptionFont());
    GetTextExtentPoint32W(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &extent);
    return scale_.UnitsX(extent.cx);
}

void ucTabHead::SetScale(const LayoutScale& scale) {
    scale_ = scale;
    for (std::size_t i = 0; i < captions_.size(); ++i)
        captionWidths_[i] = CaptionWidth(captions_[i]);
    LayoutTabs();
}

void ucTabHead::ShowTab(int16_t iTabID) {
    lblTabTitle_Click(iTabID);
}

// Stores the selection, lets the host react (it shows the matching page), then redraws.
void ucTabHead::lblTabTitle_Click(int Index) {
    lSelectedTab = Index;
    const HWND self = Handle();
    NotifyTabClick n{{self, static_cast<UINT_PTR>(GetDlgCtrlID(self)), kTabClick}, Index};
    SendMessageW(GetParent(self), WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
    if (!IsWindow(self)) // the host's handler closed us
        return;
    LayoutTabs();
}

// Runs the layout for the current captions, selection, width and scale; painting and
// hit-testing read only what is stored here.
void ucTabHead::LayoutTabs() {
    RECT client{};
    GetClientRect(Handle(), &client);
    layout_ = controls::LayoutTabs(captionWidths_, lSelectedTab, scale_.UnitsX(client.right));
    InvalidateRect(Handle(), nullptr, FALSE);
}

void ucTabHead::UserControl_Resize() {
    LayoutTabs();
}

void ucTabHead::UserControl_MouseDown(UINT msg, WPARAM wp, LPARAM lp) {
    NotifyMouseDown n =
        MouseDownFromMessage(Handle(), msg, wp, lp, scale_.unitsPerPixelX, scale_.unitsPerPixelY);
    SendMessageW(GetParent(Handle()), WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
}

Point ucTabHead::ToUnits(LPARAM lp) const {
    return {scale_.UnitsX(static_cast<short>(LOWORD(lp))),
            scale_.UnitsY(static_cast<short>(HIWORD(lp)))};
}

// A caption takes every button's press for itself (only the left one can click it); a
// press anywhere else belongs to the header's surface.
void ucTabHead::OnButtonDown(UINT msg, WPARAM wp, LPARAM lp) {
    const int caption = layout_.HitTest(ToUnits(lp));
    if (caption < 0) {
        UserControl_MouseDown(msg, wp, lp);
        return;
    }
    if (msg == WM_LBUTTONDOWN) {
        pressedCaption_ = caption;
        SetCapture(Handle());
    }
}

// A click is a press and a release on the same caption.
void ucTabHead::OnLeftButtonUp(LPARAM lp) {
    const int pressed = std::exchange(pressedCaption_, -1);
    if (pressed < 0)
        return;
    ReleaseCapture();
    if (layout_.HitTest(ToUnits(lp)) == pressed)
        lblTabTitle_Click(pressed);
}

HFONT ucTabHead::CaptionFont() const {
    return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void ucTabHead::Paint(HDC dc, const RECT& client) const {
    FillSysColour(dc, client, COLOR_BTNFACE);
    for (const Line& line : layout_.LinesInPaintOrder())
        PaintLine(dc, line, scale_);
    Selection font(dc, CaptionFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    for (std::size_t i = 0; i < layout_.tabs.size(); ++i) {
        RECT area = ToPixels(layout_.tabs[i].caption, scale_);
        DrawTextW(dc, captions_[i].c_str(), static_cast<int>(captions_[i].size()), &area,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
}

LRESULT ucTabHead::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const auto paint = [this](HDC dc, const RECT& client) { Paint(dc, client); };
    if (const auto painted = HandlePaintMessage(Handle(), msg, wp, paint))
        return *painted;
    switch (msg) {
    case WM_CREATE:
        LayoutTabs();
        return 0;
    case WM_SIZE:
        UserControl_Resize();
        return 0;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wp);
        if (LOWORD(lp))
            InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        OnButtonDown(msg, wp, lp);
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(lp);
        return 0;
    case WM_CAPTURECHANGED:
        pressedCaption_ = -1;
        return 0;
    default:
        return DefaultHandling(msg, wp, lp);
    }
}

} // namespace controls
