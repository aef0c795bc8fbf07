// Builds the main window's controls from its design tables, and lays them out again when
// the window moves to a screen of another density.
#include "app/win32/frmMain.h"

#include "controls/win32/accessible_name.h"
#include "controls/win32/dpi.h"
#include "controls/win32/paint.h"
#include "controls/win32/text.h"
#include "controls/win32/ui_font.h"

#include <utility>

namespace app {

// Where a control of the design goes at the window's scale. A line is one pixel wide at
// every density and runs from its first to its last design row, both drawn: its design
// rectangle is one 96-dpi pixel (15 units) wider and taller than the line itself.
RECT frmMain::PixelsOf(const ControlDesign& d) const {
    RECT r = controls::ToPixels(d.rect, scale_);
    if (d.kind == Kind::Line) {
        r.right = r.left + 1;
        r.bottom = scale_.PixelsY(d.rect.top + d.rect.height - 15) + 1;
    }
    return r;
}

HWND frmMain::CreateStatic(const ControlDesign& d) {
    // Labels take their clicks (SS_NOTIFY) so that a press on one does not count as a
    // press on the page; the line is transparent to the mouse like a drawn line.
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (d.kind == Kind::Label)
        style |= SS_LEFT | SS_NOTIFY | SS_NOPREFIX;
    else if (d.kind == Kind::ExtraLabel)
        style |= SS_CENTER | SS_NOTIFY | SS_NOPREFIX;
    const RECT r = PixelsOf(d);
    return CreateWindowExW(0, L"STATIC", controls::Widen(d.text).c_str(), style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top,
                           ucTab[static_cast<size_t>(d.page)].Handle(), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Creation order is z-order and tab order: the header lies above the pages, page 0 above
// the rest, and each page's controls follow its design rows. Each input is named for
// assistive technology by the label after it, read when asked (so "Kmph" becomes "Mph"
// with the units); each result by its page's caption.
void frmMain::CreateControls() {
    placed_.clear();
    ucHeader.Create(Handle(), kHeaderId, controls::ToPixels(kHeaderRect, scale_));
    placed_.push_back({ucHeader.Handle(), kHeaderRect, nullptr});
    for (int i = 0; i < kPageCount; ++i) {
        ucTab[static_cast<size_t>(i)].Create(Handle(), kFirstPageId + i,
                                             controls::ToPixels(kPageRect, scale_));
        placed_.push_back({ucTab[static_cast<size_t>(i)].Handle(), kPageRect, nullptr});
    }
    HWND unnamed = nullptr; // the input waiting for its label
    for (const ControlDesign* d : AllControls()) {
        HWND hwnd = nullptr;
        if (d->kind == Kind::Input || d->kind == Kind::Result) {
            calc::NumberField& field = Field(d->group, d->index);
            field.Create(ucTab[static_cast<size_t>(d->page)].Handle(), FieldId(d->group, d->index),
                         PixelsOf(*d), d->kind == Kind::Result, d->text,
                         kGroupKeys[static_cast<size_t>(d->group)]);
            hwnd = field.Handle();
        } else {
            hwnd = CreateStatic(*d);
        }
        if (d->kind == Kind::Input) {
            unnamed = hwnd;
        } else if (d->kind == Kind::Label && unnamed) {
            controls::SetAccessibleName(unnamed, {hwnd, {}});
            unnamed = nullptr;
        } else if (d->kind == Kind::Result) {
            const char* caption = kTabCaptions[static_cast<size_t>(d->page)];
            controls::SetAccessibleName(hwnd, {nullptr, controls::Widen(caption) + L" result"});
        }
        if (d == &kLimRow[1])
            lblKmph = hwnd;
        else if (d == &kLimExtra)
            lblFormula4extra = hwnd;
        else if (d->kind == Kind::Line)
            Line1 = hwnd;
        placed_.push_back({hwnd, d->rect, d});
    }
    for (const Placed& p : placed_)
        SendMessageW(p.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
}

// The tab stops of a page in the design's order, which is their creation order.
std::vector<HWND> frmMain::FieldsOfPage(int page) const {
    std::vector<HWND> fields;
    for (const Placed& p : placed_)
        if (p.design && p.design->page == page &&
            (p.design->kind == Kind::Input || p.design->kind == Kind::Result))
            fields.push_back(p.hwnd);
    return fields;
}

// Every control at its design rectangle at the window's dpi, in its font; the header's
// captions measured again and the icons made for that dpi.
void frmMain::LayOutForDpi() {
    for (const Placed& p : placed_) {
        const RECT r = p.design ? PixelsOf(*p.design) : controls::ToPixels(p.rect, scale_);
        SendMessageW(p.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        SetWindowPos(p.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ucHeader.SetScale(scale_);
    for (auto& page : ucTab)
        page.SetScale(scale_);
    LoadIcons();
}

} // namespace app
