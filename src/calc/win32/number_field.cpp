#include "calc/win32/number_field.h"

#include "controls/win32/text.h"

#include <commctrl.h>

namespace calc {

using controls::Narrow;
using controls::Widen;

NumberField::~NumberField() {
    if (hwnd_ && IsWindow(hwnd_))
        RemoveWindowSubclass(hwnd_, &NumberField::Subclass, 0);
}

bool NumberField::Create(HWND parent, int id, const RECT& pixels, bool readOnly,
                         std::string_view text, FieldEvents& events, int group, int index) {
    events_ = &events;
    group_ = group;
    index_ = index;
    lastText_ = Widen(text);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL |
                        (readOnly ? ES_READONLY : 0);
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", lastText_.c_str(), style, pixels.left,
                            pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top,
                            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                            nullptr);
    if (!hwnd_)
        return false;
    SetWindowSubclass(hwnd_, &NumberField::Subclass, 0, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

std::wstring NumberField::WideText() const {
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), length + 1)));
    return text;
}

std::string NumberField::Text() const { return Narrow(WideText()); }

void NumberField::SetText(std::string_view utf8) { SetWindowTextW(hwnd_, Widen(utf8).c_str()); }

void NumberField::SelectAll() {
    SendMessageW(hwnd_, EM_SETSEL, 0, static_cast<LPARAM>(GetWindowTextLengthW(hwnd_)));
}

void NumberField::OnEnChange() {
    // An edit notifies on every WM_SETTEXT, identical text included; a calculator that
    // rewrote its own result with the same text would otherwise recurse without end.
    std::wstring text = WideText();
    if (text == lastText_)
        return;
    lastText_ = std::move(text);
    events_->Change(*this);
}

void NumberField::OnEnSetFocus() { events_->GotFocus(*this); }

LRESULT CALLBACK NumberField::Subclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR self) {
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, &NumberField::Subclass, 0);
    return reinterpret_cast<NumberField*>(self)->OnMessage(msg, wp, lp);
}

LRESULT NumberField::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CHAR: {
        // Only characters of 16 bits or fewer reach the filter; it cancels by zeroing.
        int16_t key = static_cast<int16_t>(wp);
        events_->KeyPress(*this, key);
        if (key == 0)
            return 0;
        return DefSubclassProc(hwnd_, msg, static_cast<WPARAM>(static_cast<uint16_t>(key)), lp);
    }
    case WM_LBUTTONDOWN:
        // A click into an unfocused field takes the focus, which selects the whole text;
        // letting the edit see the click would put the caret at the pointer instead.
        if (GetFocus() != hwnd_) {
            SetFocus(hwnd_);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd_, msg, wp, lp);
}

} // namespace calc
