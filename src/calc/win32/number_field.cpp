#include "calc/win32/number_field.h"

#include "controls/win32/text.h"

namespace calc {

using controls::Narrow;
using controls::Widen;

namespace {

// The EDIT class's own window procedure, which every message not handled here goes on to.
WNDPROC editProcedure = nullptr;

} // namespace

NumberField::~NumberField() {
    // A field that goes before its window leaves the edit working without its handlers.
    if (hwnd_ && IsWindow(hwnd_))
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
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
    // Subclassed through the window's own procedure and user data rather than
    // SetWindowSubclass: both are read in-process, where Wine's comctl32 looks its
    // subclass chain up with a window-property call to the server on every message,
    // about 100 microseconds per message, a dozen messages per keystroke.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const auto previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NumberField::Procedure)));
    if (!editProcedure)
        editProcedure = previous;
    return true;
}

std::wstring NumberField::WideText() const {
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), length + 1)));
    return text;
}

std::string NumberField::Text() const {
    return Narrow(WideText());
}

void NumberField::SetText(std::string_view utf8) {
    // The same text again changes nothing but costs the edit a full replace and repaint:
    // every keystroke's settling run writes its result a second time.
    const std::wstring text = Widen(utf8);
    if (text != WideText())
        SetWindowTextW(hwnd_, text.c_str());
}

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

void NumberField::OnEnSetFocus() {
    events_->GotFocus(*this);
}

LRESULT CALLBACK NumberField::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<NumberField*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (!self || msg == WM_NCDESTROY)
        return CallWindowProcW(editProcedure, hwnd, msg, wp, lp);
    return self->OnMessage(msg, wp, lp);
}

LRESULT NumberField::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CHAR: {
        // Only characters of 16 bits or fewer reach the filter; it cancels by zeroing.
        int16_t key = static_cast<int16_t>(wp);
        events_->KeyPress(*this, key);
        if (key == 0)
            return 0;
        return CallWindowProcW(editProcedure, hwnd_, msg,
                               static_cast<WPARAM>(static_cast<uint16_t>(key)), lp);
    }
    case WM_GETOBJECT:
        if (const LRESULT object = controls::AnswerGetObject(hwnd_, wp, lp, accessibleName_))
            return object;
        break;
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
    return CallWindowProcW(editProcedure, hwnd_, msg, wp, lp);
}

} // namespace calc
