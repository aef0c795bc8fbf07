// Builds the main window's controls from its design tables.
#include "app/win32/frmMain.h"
#include "controls/win32/text.h"

#include "controls/win32/accessible_name.h"
#include "controls/win32/paint.h"
#include "controls/win32/ui_font.h"

#include <span>

namespace app {
namespace {

constexpr int kHeaderId = 10;
constexpr int kFirstPageId = 20;

// A field's control ID from its group and index, unique within the window.
int FieldId(Group group, int index) {
    return 100 + static_cast<int>(group) * 10 + index;
}

std::span<const ControlDesign> Row(const std::array<ControlDesign, 5>& row) {
    return row;
}

} // namespace

RECT frmMain::ToPixels(const controls::Rect& units) const {
    return controls::ToPixels(units, scale_);
}

// Where a control of the design goes at the window's scale. A line is one pixel wide at
// every density and runs from its first to its last design row, both drawn: its design
// rectangle is one 96-dpi pixel (15 units) wider and taller than the line itself.
RECT frmMain::PixelsOf(Kind kind, const controls::Rect& units) const {
    RECT r = ToPixels(units);
    if (kind == Kind::Line) {
        r.right = r.left + 1;
        r.bottom = scale_.PixelsY(units.top + units.height - 15) + 1;
    }
    return r;
}

calc::NumberField* frmMain::FieldsOf(int group) {
    switch (static_cast<Group>(group)) {
    case Group::Formula1:
        return txtFormula1;
    case Group::Formula2:
        return txtFormula2;
    case Group::Formula3:
        return txtFormula3;
    case Group::Formula4:
        return txtFormula4;
    case Group::Formula5a:
        return txtFormula5a;
    case Group::Formula5b:
        return txtFormula5b;
    }
    return nullptr;
}

calc::NumberField* frmMain::FieldFromHandle(HWND hwnd) {
    for (int group = 0; group < kGroupCount; ++group) {
        const int count = group < 4 ? 3 : 2;
        calc::NumberField* fields = FieldsOf(group);
        for (int i = 0; i < count; ++i)
            if (fields[i].Handle() == hwnd)
                return &fields[i];
    }
    return nullptr;
}

void frmMain::CreateField(const ControlDesign& d, HFONT font) {
    calc::NumberField& field = FieldsOf(static_cast<int>(d.group))[d.index];
    const HWND page = ucTab[static_cast<size_t>(d.page)].Handle();
    field.Create(page, FieldId(d.group, d.index), ToPixels(d.rect), d.kind == Kind::Result, d.text,
                 *this, static_cast<int>(d.group), d.index);
    SendMessageW(field.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    placed_.push_back({field.Handle(), d.rect, &d});
}

HWND frmMain::CreateStatic(const ControlDesign& d, HFONT font) {
    const HWND page = ucTab[static_cast<size_t>(d.page)].Handle();
    // Labels take their clicks (SS_NOTIFY) so that a press on one does not count as a
    // press on the page; the line is transparent to the mouse like a drawn line.
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (d.kind == Kind::Label)
        style |= SS_LEFT | SS_NOTIFY | SS_NOPREFIX;
    else if (d.kind == Kind::ExtraLabel)
        style |= SS_CENTER | SS_NOTIFY | SS_NOPREFIX;
    const RECT r = PixelsOf(d.kind, d.rect);
    HWND hwnd = CreateWindowExW(
        0, L"STATIC", controls::Widen(d.text).c_str(), style, r.left, r.top, r.right - r.left,
        r.bottom - r.top, page, nullptr,
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(Handle(), GWLP_HINSTANCE)), nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    placed_.push_back({hwnd, d.rect, &d});
    return hwnd;
}

void frmMain::CreateControls() {
    font_ = controls::CreateDialogFont(dpi_);
    const HFONT font = font_.Get();
    placed_.clear();
    // Creation order is z-order: the header lies above the pages, page 0 above the rest.
    ucHeader.Create(Handle(), kHeaderId, ToPixels(kHeaderRect));
    SendMessageW(ucHeader.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    placed_.push_back({ucHeader.Handle(), kHeaderRect, nullptr});
    for (size_t i = 0; i < ucTab.size(); ++i) {
        ucTab[i].Create(Handle(), kFirstPageId + static_cast<int>(i), ToPixels(kPageRect));
        placed_.push_back({ucTab[i].Handle(), kPageRect, nullptr});
    }

    for (auto row : {Row(kCpLengthRow), Row(kBankingRow), Row(kStationRow), Row(kLimRow)}) {
        for (const ControlDesign& d : row) {
            if (d.kind == Kind::Label) {
                HWND label = CreateStatic(d, font);
                if (&d == &kLimRow[1])
                    lblKmph = label;
            } else {
                CreateField(d, font);
            }
        }
    }
    lblFormula4extra = CreateStatic(kLimExtra, font);
    for (const ControlDesign& d : kConverterControls) {
        if (d.kind == Kind::Input)
            CreateField(d, font);
        else if (d.kind == Kind::Line)
            line1_ = CreateStatic(d, font);
        else
            CreateStatic(d, font);
    }
    NameFieldsForAccessibility();
}

// Each input is named by the label after it, read when asked (so "Kmph" becomes "Mph"
// with the units); each result by its page's caption.
void frmMain::NameFieldsForAccessibility() {
    HWND previousField = nullptr;
    for (const Placed& p : placed_) {
        const Kind kind = p.design ? p.design->kind : Kind::ExtraLabel;
        if (kind == Kind::Label && previousField) {
            if (calc::NumberField* field = FieldFromHandle(previousField))
                field->SetAccessibleName({p.hwnd, {}});
            previousField = nullptr;
        } else if (kind == Kind::Input) {
            previousField = p.hwnd;
        } else if (kind == Kind::Result) {
            calc::NumberField* field = FieldFromHandle(p.hwnd);
            const std::string caption = kTabCaptions[static_cast<size_t>(field->Group())];
            field->SetAccessibleName({nullptr, controls::Widen(caption + " result")});
        }
    }
}

// The tab stops of a page in the design's order, which is their creation order.
std::vector<HWND> frmMain::FieldsOfPage(int page) {
    std::vector<HWND> fields;
    for (const Placed& p : placed_)
        if (p.design && p.design->page == page &&
            (p.design->kind == Kind::Input || p.design->kind == Kind::Result))
            fields.push_back(p.hwnd);
    return fields;
}

// Places every control at its design rectangle at the current scale and gives it the
// current font.
void frmMain::Relayout() {
    const auto font = reinterpret_cast<WPARAM>(font_.Get());
    for (const Placed& p : placed_) {
        const RECT r = p.design ? PixelsOf(p.design->kind, p.rect) : ToPixels(p.rect);
        SendMessageW(p.hwnd, WM_SETFONT, font, FALSE);
        SetWindowPos(p.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ucHeader.SetScale(scale_);
    for (auto& page : ucTab)
        page.SetScale(scale_);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace app
