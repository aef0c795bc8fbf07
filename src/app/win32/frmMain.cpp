#include "controls/win32/text.h"
#include "app/win32/frmMain.h"

#include "controls/win32/notifications.h"
#include "docking/dock_placement.h"
#include "docking/win32/mWindowFunctions.h"
#include "settings/win32/frmSettings.h"
#include "settings/win32/mMain.h"

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

int ScreenDpi(int axis) {
    controls::ScreenDc screen;
    return GetDeviceCaps(screen.Get(), axis);
}

} // namespace

frmMain::~frmMain() {
    if (Handle())
        DestroyWindow(Handle());
    if (owner_)
        DestroyWindow(owner_);
}

bool frmMain::Load(HINSTANCE instance) {
    Register(instance, 0, GetSysColorBrush(COLOR_BTNFACE),
             LoadIconW(instance, MAKEINTRESOURCEW(1)));
    dpiY_ = ScreenDpi(LOGPIXELSY);
    scale_ = controls::LayoutScale::ForDpi(ScreenDpi(LOGPIXELSX), dpiY_);
    owner_ = CreateHiddenOwner(instance);
    RECT frame{0, 0, scale_.PixelsX(kMainClientWidth), scale_.PixelsY(kMainClientHeight)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    if (!CreateAs(kExStyle, kTitle, kStyle, x, y, w, h, owner_, nullptr, instance))
        return false;
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
    HMENU mnuPopup = CreatePopupMenu();
    AppendMenuW(mnuPopup, MF_STRING, kMnuSettings, L"Settings...");
    AppendMenuW(mnuPopup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(mnuPopup, MF_STRING, kMnuExit, L"Exit");
    POINT at{};
    GetCursorPos(&at);
    // The menu closes properly on a click elsewhere only if our window is foreground.
    SetForegroundWindow(Handle());
    ++modalDepth_;
    const UINT chosen = TrackPopupMenu(mnuPopup, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN |
                                                     TPM_RIGHTBUTTON,
                                       at.x, at.y, 0, Handle(), nullptr);
    --modalDepth_;
    DestroyMenu(mnuPopup);
    if (chosen == kMnuSettings)
        mnuSettings_Click();
    else if (chosen == kMnuExit)
        mnuExit_Click();
}

void frmMain::mnuExit_Click() { Unload(); }

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
    else if (const calc::NumberField* field = FieldFromHandle(control); field && field->Index() < 2) {
        // Input boxes; the read-only result boxes keep button face and button text.
        text = COLOR_WINDOWTEXT;
        back = COLOR_WINDOW;
    }
    SetTextColor(dc, GetSysColor(text));
    SetBkColor(dc, GetSysColor(back));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
}

} // namespace app
