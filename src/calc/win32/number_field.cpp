#include "calc/win32/number_field.h"

#include "controls/win32/text.h"

#include <utility>

namespace calc {
namespace {

// The EDIT class's own window procedure, which every message not handled here goes on to.
WNDPROC editProcedure = nullptr;

} // namespace

NumberField::~NumberField() {
    // A field that goes before its window leaves the edit working without it.
    if (IsWindow(hwnd_))
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

bool NumberField::Create(HWND parent, int id, const RECT& pixels, bool readOnly,
                         std::string_view text, KeyPermissions keys) {
    keys_ = keys;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL |
                        (readOnly ? ES_READONLY : 0);
    hwnd_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", controls::Widen(text).c_str(), style, pixels.left, pixels.top,
        pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (!hwnd_)
        return false;
    // Subclassed through the window's own procedure and user data rather than
    // SetWindowSubclass, which Wine's comctl32 looks up with a call to its server on every
    // message, about 100 microseconds each, a dozen messages per keystroke.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const auto previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NumberField::Procedure)));
    if (!editProcedure)
        editProcedure = previous;
    return true;
}

std::string NumberField::Text() const {
    return controls::Narrow(controls::WindowText(hwnd_));
}

void NumberField::SetText(std::string_view utf8) {
    // The same text again would change nothing but cost a full replace and repaint, and
    // start the calculator once more.
    const std::wstring text = controls::Widen(utf8);
    if (text != controls::WindowText(hwnd_))
        SetWindowTextW(hwnd_, text.c_str());
}

// txtFormula1_KeyPress ... txtFormula5b_KeyPress: the group's key filter.
void NumberField::KeyPress(int16_t& keyAscii) const {
    FilterNumericKey(keyAscii, keys_.decimal, keys_.minus);
}

// txtFormula1_GotFocus ... txtFormula5b_GotFocus: the whole text selected, so that the
// next accepted character replaces it. Ctrl+A selects it too.
void NumberField::GotFocus() {
    SendMessageW(hwnd_, EM_SETSEL, 0, GetWindowTextLengthW(hwnd_));
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
        // Characters of 16 bits or fewer reach the filter, which cancels one by zeroing it.
        auto key = static_cast<int16_t>(wp);
        KeyPress(key);
        if (key == 0)
            return 0;
        if (key == kCtrlA) { // select all, which not every edit control does by itself
            GotFocus();
            return 0;
        }
        wp = static_cast<uint16_t>(key);
        break;
    }
    case WM_SETFOCUS: {
        const LRESULT result = CallWindowProcW(editProcedure, hwnd_, msg, wp, lp);
        GotFocus();
        return result;
    }
    case WM_MOUSEACTIVATE:
        // A left press that activates the window: the activation gives the focus back to
        // the field that had it, which must not make the press a click into a field
        // already focused.
        activatingPress_ =
            HIWORD(lp) == WM_LBUTTONDOWN && GetForegroundWindow() != GetAncestor(hwnd_, GA_ROOT);
        break;
    case WM_LBUTTONDOWN:
        // A click into an unfocused field, or one that activates the window, selects the
        // whole text; letting the edit see it would put the caret at the pointer instead.
        if (std::exchange(activatingPress_, false) || GetFocus() != hwnd_) {
            SetFocus(hwnd_);
            GotFocus();
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        // The edit's own menu enables Cut, Copy and Delete by the selection it finds: the
        // field takes the focus, and so its selection, first.
        if (GetFocus() != hwnd_)
            SetFocus(hwnd_);
        break;
    default:
        break;
    }
    return CallWindowProcW(editProcedure, hwnd_, msg, wp, lp);
}

} // namespace calc
