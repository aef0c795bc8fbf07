#include "app/win32/frmMain.h"

#include "controls/win32/dpi.h"
#include "controls/win32/notifications.h"
#include "controls/win32/paint.h"
#include "controls/win32/text.h"
#include "controls/win32/ui_font.h"
#include "docking/dock_placement.h"
#include "docking/win32/mWindowFunctions.h"
#include "settings/win32/frmSettings.h"
#include "settings/win32/mMain.h"

#include <utility>

namespace app {
namespace {

constexpr UINT_PTR kMnuSettings = 1;
constexpr UINT_PTR kMnuExit = 2;
// Posted to end the program once a popup menu or the settings dialog has closed.
constexpr UINT kUnloadLater = WM_APP + 1;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// A hidden top-level window that owns the main window: owned windows get no taskbar
// button, and the main window keeps its normal title bar.
HWND CreateHiddenOwner(HINSTANCE instance) {
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                           nullptr);
}

bool KeyDown(int key) {
    return GetKeyState(key) < 0;
}

} // namespace

frmMain::~frmMain() {
    if (Handle())
        DestroyWindow(Handle());
    if (owner_)
        DestroyWindow(owner_);
}

bool frmMain::Load(HINSTANCE instance) {
    // The class brush by colour index: the background is erased in the colour of the
    // moment, also after the desktop's colours have changed.
    Register(instance, 0, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)),
             LoadIconW(instance, MAKEINTRESOURCEW(1)));
    // Sized for the screen's dpi; once the window exists it knows the dpi of the monitor
    // it is on, which is what it is laid out for.
    dpi_ = controls::WindowDpi(nullptr);
    scale_ = controls::LayoutScale::ForDpi(dpi_, dpi_);
    owner_ = CreateHiddenOwner(instance);
    RECT frame{0, 0, scale_.PixelsX(kMainClientWidth), scale_.PixelsY(kMainClientHeight)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    if (!CreateAs(kExStyle, kTitle, kStyle, x, y, w, h, owner_, nullptr, instance))
        return false;
    if (const int dpi = controls::WindowDpi(Handle()); dpi != dpi_)
        OnDpiChanged(dpi, nullptr);
    Form_Load();
    return true;
}

void frmMain::Form_Load() {
    bConverting = false;
    mMain::SetDefaultSettings();
    for (const char* caption : kTabCaptions)
        ucHeader.AddTab(controls::Widen(caption));
    mMain::LoadSettings();
    if (!mMain::Settings().bMetric)
        SetWindowTextW(lblKmph, L"Mph");
    // The design's result texts are the metric results of the design's inputs; with
    // imperial units stored they would not match until the first edit.
    for (int16_t n = 1; n <= 4; ++n)
        RecalcFormula(n);
    mWindowFunctions::SetTopmost(Handle());
    SetTimer(Handle(), kDockTimer, kDockInterval, nullptr);
}

void frmMain::Unload() {
    if (unloaded_)
        return;
    if (modalDepth_ > 0) {
        // A menu or the settings dialog runs its own loop further down the stack: close
        // it as Cancel would and end once control is back in the main loop.
        EndMenu();
        settings::CancelSettingsDialog();
        PostMessageW(Handle(), kUnloadLater, 0, 0);
        return;
    }
    unloaded_ = true;
    Form_Unload();
    DestroyWindow(Handle());
}

void frmMain::Form_Unload() {
    // The hidden owner only keeps the taskbar button away. Let go of it first: a window
    // manager may keep an owned window just above its owner, and so in the topmost band.
    SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, 0);
    mWindowFunctions::SetNotTopmost(Handle());
}

void frmMain::Form_MouseDown(int16_t button) {
    if (button == 2)
        ShowPopup();
}

void frmMain::ShowPopup() {
    POINT at{};
    GetCursorPos(&at);
    ShowPopupAt(at);
}

// The menu's top-left corner at `at`, in screen pixels.
void frmMain::ShowPopupAt(POINT at) {
    HMENU mnuPopup = CreatePopupMenu();
    AppendMenuW(mnuPopup, MF_STRING, kMnuSettings, L"Settings...");
    AppendMenuW(mnuPopup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(mnuPopup, MF_STRING, kMnuExit, L"Exit");
    // The menu closes properly on a click elsewhere only if our window is foreground.
    SetForegroundWindow(Handle());
    ++modalDepth_;
    const UINT chosen =
        TrackPopupMenu(mnuPopup, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                       at.x, at.y, 0, Handle(), nullptr);
    --modalDepth_;
    DestroyMenu(mnuPopup);
    if (chosen == kMnuSettings)
        mnuSettings_Click();
    else if (chosen == kMnuExit)
        mnuExit_Click();
}

// WM_CONTEXTMENU reaches the window from the keyboard (Shift+F10, the context-menu key),
// with the position -1, -1, and after every right-button release on the window, the
// header or a page, with the pointer's position. The press has already opened the menu,
// so only the keyboard's request opens it here; it opens under the focused field, or at
// the client area's top-left corner when no field has the focus.
void frmMain::OnContextMenu(LPARAM at) {
    if (at != -1 && static_cast<DWORD>(at) != 0xFFFFFFFFu)
        return;
    const HWND focus = GetFocus();
    POINT corner{};
    if (focus && IsChild(Handle(), focus)) {
        RECT r{};
        GetWindowRect(focus, &r);
        corner = {r.left, r.bottom};
    } else {
        ClientToScreen(Handle(), &corner);
    }
    ShowPopupAt(corner);
}

void frmMain::mnuExit_Click() {
    Unload();
}

void frmMain::mnuSettings_Click() {
    ++modalDepth_;
    settings::ShowSettingsDialog(Handle());
    --modalDepth_;
    mWindowFunctions::SetTopmost(Handle());
    SetSpeedUnitLabel();
    for (int16_t n = 1; n <= 4; ++n)
        RecalcFormula(n);
}

void frmMain::SetSpeedUnitLabel() {
    SetWindowTextW(lblKmph, mMain::Settings().bMetric ? L"Kmph" : L"Mph");
}

void frmMain::ucHeader_TabClick(int32_t lTab) {
    for (auto& page : ucTab)
        ShowWindow(page.Handle(), SW_HIDE);
    const auto index = static_cast<int16_t>(lTab);
    if (index >= 0 && index < static_cast<int16_t>(ucTab.size()))
        ShowWindow(ucTab[static_cast<size_t>(index)].Handle(), SW_SHOW);
}

void frmMain::ucHeader_MouseDown(int16_t button) {
    if (button == 2)
        ShowPopup();
}

void frmMain::ucTab_MouseDown(int16_t, int16_t button) {
    if (button == 2)
        ShowPopup();
}

void frmMain::tmrDock_Timer() {
    auto& s = mMain::Settings();
    HWND editor = mWindowFunctions::FindWindowByTitle(Handle(), "- Kestrava Editor");
    docking::PixelRect e;
    if (editor) {
        const RECT r = mWindowFunctions::GetWindowRectangle(editor);
        e = {r.left, r.top, r.right, r.bottom};
    }
    RECT outer{};
    GetWindowRect(Handle(), &outer);
    const docking::UnitsPerPixel units{scale_.unitsPerPixelX, scale_.unitsPerPixelY};
    const auto decision =
        docking::DecideTick(editor != nullptr, e, s, (outer.right - outer.left) * units.x,
                            (outer.bottom - outer.top) * units.y, units);
    s.bEditorSeen = decision.editorSeen;
    switch (decision.action) {
    case docking::TickAction::Dock:
        SetWindowPos(Handle(), nullptr, docking::LayoutToPixel(decision.where.left, units.x),
                     docking::LayoutToPixel(decision.where.top, units.y), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    case docking::TickAction::Unload:
        Unload();
        break;
    case docking::TickAction::None:
        break;
    }
}

bool frmMain::PreTranslateMessage(const MSG& msg) {
    if (!Handle() || !(msg.hwnd == Handle() || IsChild(Handle(), msg.hwnd)))
        return false;
    const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
    if (!down && !up)
        return false;
    const bool ctrl = KeyDown(VK_CONTROL), shift = KeyDown(VK_SHIFT), alt = KeyDown(VK_MENU);
    switch (msg.wParam) {
    case VK_TAB:
        if (alt)
            return false;
        if (down && ctrl)
            CyclePage(shift ? -1 : 1);
        else if (down)
            MoveFocusInPage(shift);
        return true; // nor does the release reach a field
    case VK_NEXT:
    case VK_PRIOR:
        if (!ctrl || alt)
            return false;
        if (down)
            CyclePage(msg.wParam == VK_NEXT ? 1 : -1);
        return true;
    case VK_F10: // Ctrl+Shift+F10 too, which the system also takes for the menu key
        if (!shift || alt)
            return false;
        break;
    case VK_APPS:
        break;
    default:
        return false;
    }
    // Shift+F10 or the context-menu key: the release is taken too, or a field would open
    // its own menu on it.
    if (down)
        SendMessageW(Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()), -1);
    return true;
}

// The tab next to the selected one (step 1) or before it (-1), round the row, chosen as a
// click on its caption would choose it; then the focus goes to the page's first field.
void frmMain::CyclePage(int step) {
    const int count = ucHeader.TabCount();
    if (count <= 0)
        return;
    const int selected = ucHeader.SelectedTab();
    const int next = selected >= 0 && selected < count ? (selected + step + count) % count
                     : step > 0                        ? 0
                                                       : count - 1;
    ucHeader.ShowTab(static_cast<int16_t>(next));
    if (next < static_cast<int>(ucTab.size()))
        if (const auto fields = FieldsOfPage(next); !fields.empty())
            SetFocus(fields.front());
}

// The page the user sees: the highest in the stack of visible pages. At start-up all five
// are visible, page 0 on top.
int frmMain::PageInView() const {
    for (size_t i = 0; i < ucTab.size(); ++i)
        if (IsWindowVisible(ucTab[i].Handle()))
            return static_cast<int>(i);
    return -1;
}

// Tab and Shift+Tab go round the fields of the page in view in the design's order; the
// pages stacked beneath it are skipped even while they are visible.
void frmMain::MoveFocusInPage(bool backwards) {
    const int page = PageInView();
    if (page < 0)
        return;
    const std::vector<HWND> fields = FieldsOfPage(page);
    if (fields.empty())
        return;
    const auto n = static_cast<int>(fields.size());
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (fields[static_cast<size_t>(i)] == GetFocus())
            at = i;
    const int next = at < 0 ? (backwards ? n - 1 : 0) : (at + (backwards ? n - 1 : 1)) % n;
    SetFocus(fields[static_cast<size_t>(next)]);
}

// Lays the window out for another dpi: the fonts are made for it, every control goes to
// its design rectangle at the new units per pixel, and the window takes the client size
// of the design, at the suggested place when the system gives one.
void frmMain::OnDpiChanged(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    scale_ = controls::LayoutScale::ForDpi(dpi, dpi);
    controls::Font previous = std::exchange(font_, controls::CreateDialogFont(dpi));
    Relayout(); // hands the new font out before the old one goes
    RECT outer{};
    GetWindowRect(Handle(), &outer);
    const POINT at =
        suggested ? POINT{suggested->left, suggested->top} : POINT{outer.left, outer.top};
    controls::PlaceWithClientSize(Handle(), at.x, at.y, scale_.PixelsX(kMainClientWidth),
                                  scale_.PixelsY(kMainClientHeight));
}

LRESULT frmMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        CreateControls();
        return 0;
    case WM_COMMAND:
        return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return OnControlColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_RBUTTONDOWN:
        Form_MouseDown(2);
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(lp);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_SYSCOLORCHANGE:
        controls::RepaintForColourChange(Handle());
        return 0;
    case WM_TIMER:
        OnTimer(wp);
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    case kUnloadLater:
        Unload();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefaultHandling(msg, wp, lp);
    }
}

void frmMain::OnTimer(UINT_PTR id) {
    if (id == kDockTimer)
        tmrDock_Timer();
}

LRESULT frmMain::OnCommand(int id, int code, HWND from) {
    if (!from) { // menu or accelerator: the popup menu returns its choice directly
        (void)id;
        return 0;
    }
    if (calc::NumberField* field = FieldFromHandle(from)) {
        if (code == EN_CHANGE)
            field->OnEnChange();
        else if (code == EN_SETFOCUS)
            field->OnEnSetFocus();
    }
    return 0;
}

LRESULT frmMain::OnNotify(const NMHDR& hdr) {
    if (hdr.code == controls::kTabClick && hdr.hwndFrom == ucHeader.Handle()) {
        ucHeader_TabClick(reinterpret_cast<const controls::NotifyTabClick&>(hdr).lTab);
        return 0;
    }
    if (hdr.code != controls::kMouseDown)
        return 0;
    const auto& down = reinterpret_cast<const controls::NotifyMouseDown&>(hdr);
    if (hdr.hwndFrom == ucHeader.Handle()) {
        ucHeader_MouseDown(down.Button);
        return 0;
    }
    for (size_t i = 0; i < ucTab.size(); ++i)
        if (hdr.hwndFrom == ucTab[i].Handle())
            ucTab_MouseDown(static_cast<int16_t>(i), down.Button);
    return 0;
}

LRESULT frmMain::OnControlColour(HDC dc, HWND control) {
    int text = COLOR_BTNTEXT;
    int back = COLOR_BTNFACE;
    if (control == lblFormula4extra)
        text = COLOR_3DDKSHADOW;
    else if (control == line1_)
        back = COLOR_WINDOWTEXT;
    else if (const calc::NumberField* field = FieldFromHandle(control);
             field && field->Index() < 2) {
        // Input boxes; the read-only result boxes keep button face and button text.
        text = COLOR_WINDOWTEXT;
        back = COLOR_WINDOW;
    }
    SetTextColor(dc, GetSysColor(text));
    SetBkColor(dc, GetSysColor(back));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
}

} // namespace app
