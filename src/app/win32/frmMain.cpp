#include "app/win32/frmMain.h"

#include "controls/win32/dpi.h"
#include "controls/win32/notifications.h"
#include "controls/win32/paint.h"
#include "controls/win32/text.h"
#include "docking/dock_placement.h"
#include "docking/win32/mWindowFunctions.h"
#include "settings/win32/frmSettings.h"
#include "settings/win32/mMain.h"

#include <commctrl.h>

#include <optional>
#include <utility>
#include <vector>

namespace app {
namespace {

constexpr UINT_PTR kMnuSettings = 1;
constexpr UINT_PTR kMnuExit = 2;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

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
    // A hidden top-level owner: owned windows get no taskbar button, and the main window
    // keeps its normal title bar.
    owner_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                             nullptr);
    // Centred on the screen, at the screen's dpi.
    const controls::PixelRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN),
                                     GetSystemMetrics(SM_CYSCREEN)};
    if (!CreateCentred(kExStyle, kTitle, kStyle, owner_, controls::WindowDpi(nullptr), screen,
                       screen))
        return false;
    LoadIcons();
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
    for (int n = 1; n <= 4; ++n)
        RecalcFormula(n);
    mWindowFunctions::SetTopmost(Handle());
    SetTimer(Handle(), kDockTimer, kDockInterval, nullptr);
    // Up and ready for typing, as a program the user has just started: active, with the
    // focus in the first field of the page in view (WM_SETFOCUS).
    SetForegroundWindow(Handle());
}

// The title bar's and Alt+Tab's icons at the sizes of the window's dpi, each scaled down
// from the nearest larger image, so that they stay sharp at any scale.
void frmMain::LoadIcons() {
    static const auto metricForDpi =
        controls::SystemFunction<int(WINAPI*)(int, UINT)>(L"user32.dll", "GetSystemMetricsForDpi");
    // The common controls of the manifest's version 6, by name so that the manifest picks
    // them (not every toolchain's import library has the function).
    static const auto scaleDown =
        reinterpret_cast<decltype(&LoadIconWithScaleDown)>(reinterpret_cast<void*>(
            GetProcAddress(LoadLibraryW(L"comctl32.dll"), "LoadIconWithScaleDown")));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const int systemDpi = controls::WindowDpi(nullptr);
    for (const auto& [which, metric] :
         {std::pair{ICON_SMALL, SM_CXSMICON}, {ICON_BIG, SM_CXICON}}) {
        const int size = metricForDpi ? metricForDpi(metric, static_cast<UINT>(dpi_))
                                      : MulDiv(GetSystemMetrics(metric), dpi_, systemDpi);
        HICON icon = nullptr;
        if (!scaleDown || FAILED(scaleDown(instance, MAKEINTRESOURCEW(1), size, size, &icon)))
            icon = static_cast<HICON>(
                LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
        SendMessageW(Handle(), WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
        icons_[which] = controls::Icon(icon); // the one it replaces goes now
    }
}

WPARAM frmMain::MessageLoop() {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!PreTranslateMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        // An unload asked for inside another loop happens here, once that loop has
        // returned.
        if (unloadPending_)
            Unload();
    }
    return msg.wParam;
}

// Ends the window as "Exit", the close box and the tracker do. While a menu, the settings
// dialog or the system's move or size loop runs on this thread, the window must outlive
// that loop: the request is noted once, every such loop is ended as the user would end
// it, and the main loop ends the window when control is back there.
void frmMain::Unload() {
    if (unloaded_)
        return;
    if (InNestedLoop()) {
        if (!std::exchange(unloadPending_, true))
            EndNestedLoops();
        return;
    }
    unloaded_ = true;
    Form_Unload();
    DestroyWindow(Handle());
}

bool frmMain::InNestedLoop() const {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return modalDepth_ > 0 || (GetGUIThreadInfo(GetCurrentThreadId(), &gui) &&
                               (gui.flags & (GUI_INMENUMODE | GUI_INMOVESIZE)) != 0);
}

void frmMain::EndNestedLoops() {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (GetGUIThreadInfo(GetCurrentThreadId(), &gui) && gui.hwndMoveSize) {
        // Windows ends a move or size loop on WM_CANCELMODE. Wine's ends only on a button
        // release, Return or Escape, whichever window it is meant for.
        SendMessageW(gui.hwndMoveSize, WM_CANCELMODE, 0, 0);
        PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
    }
    EndMenu(); // ours, a field's or the system menu
    settings::CancelSettingsDialog();
}

void frmMain::Form_Unload() {
    // The hidden owner only keeps the taskbar button away. Let go of it first: a window
    // manager may keep an owned window just above its owner, and so in the topmost band.
    SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, 0);
    mWindowFunctions::SetNotTopmost(Handle());
}

void frmMain::Form_MouseDown(controls::MouseButton button) {
    if (button == controls::MouseButton::Right)
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
        TrackPopupMenu(mnuPopup, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
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
    if (static_cast<DWORD>(at) != 0xFFFFFFFFu)
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
    for (int n = 1; n <= 4; ++n)
        RecalcFormula(n);
}

// The page shown takes the keyboard with it: its first field gets the focus, its text
// selected, so that no keystroke reaches a field of a page out of view.
void frmMain::ucHeader_TabClick(int lTab) {
    for (auto& page : ucTab)
        ShowWindow(page.Handle(), SW_HIDE);
    const auto index = static_cast<int16_t>(lTab);
    if (index < 0 || index >= kPageCount)
        return;
    ShowWindow(ucTab[static_cast<size_t>(index)].Handle(), SW_SHOW);
    if (const auto fields = FieldsOfPage(index); !fields.empty())
        SetFocus(fields.front());
}

void frmMain::ucHeader_MouseDown(controls::MouseButton button) {
    if (button == controls::MouseButton::Right)
        ShowPopup();
}

void frmMain::ucTab_MouseDown(int, controls::MouseButton button) {
    if (button == controls::MouseButton::Right)
        ShowPopup();
}

// Gathers what the tracker decides on, lets the core decide, and applies the decision.
void frmMain::tmrDock_Timer() {
    settings::Settings& s = mMain::Settings();
    const HWND editor = mWindowFunctions::FindWindowByTitle(Handle(), "- Kestrava Editor");
    std::optional<docking::PixelRect> e;
    if (const auto r = editor ? mWindowFunctions::GetWindowRectangle(editor) : std::nullopt)
        e = controls::ToPixels(*r);
    RECT own{};
    GetWindowRect(Handle(), &own);
    const docking::MainWindow main{controls::ToPixels(own),
                                   controls::FrameForDpi(kStyle, kExStyle, dpi_), dpi_};
    const docking::TickDecision d =
        docking::DecideTick(s, editor != nullptr, e, main,
                            editor ? std::vector<docking::PixelRect>{} : controls::WorkAreas());
    s.bEditorSeen = d.editorSeen;
    if (d.action == docking::TickAction::Dock || d.action == docking::TickAction::BringBack)
        SetWindowPos(Handle(), nullptr, d.left, d.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else if (d.action == docking::TickAction::Unload)
        Unload();
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
        OnContextMenu(-1);
    return true;
}

// The tab next to the selected one (step 1) or before it (-1), round the row, chosen as a
// click on its caption would choose it.
void frmMain::CyclePage(int step) {
    const int selected = ucHeader.SelectedTab();
    const int next = selected >= 0 && selected < kPageCount
                         ? (selected + step + kPageCount) % kPageCount
                         : (step > 0 ? 0 : kPageCount - 1);
    ucHeader.ShowTab(static_cast<int16_t>(next));
}

// Without a field remembered from when the window was last active, the focus goes to the
// first field of the page in view.
HWND frmMain::FirstFocus() const {
    const auto fields = FieldsOfPage(PageInView());
    return fields.empty() ? nullptr : fields.front();
}

// The page the user sees: the highest in the stack of visible pages. At start-up all five
// are visible, page 0 on top.
int frmMain::PageInView() const {
    for (int i = 0; i < kPageCount; ++i)
        if (IsWindowVisible(ucTab[static_cast<size_t>(i)].Handle()))
            return i;
    return -1;
}

// Tab and Shift+Tab go round the fields of the page in view in the design's order; the
// pages stacked beneath it are skipped even while they are visible.
void frmMain::MoveFocusInPage(bool backwards) {
    const std::vector<HWND> fields = FieldsOfPage(PageInView());
    const auto n = static_cast<int>(fields.size());
    if (n == 0)
        return;
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (fields[static_cast<size_t>(i)] == GetFocus())
            at = i;
    const int next = at < 0 ? (backwards ? n - 1 : 0) : (at + (backwards ? n - 1 : 1)) % n;
    SetFocus(fields[static_cast<size_t>(next)]);
}

LRESULT frmMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_NOTIFY:
        OnNotify(*reinterpret_cast<const NMHDR*>(lp));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return OnControlColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_RBUTTONDOWN:
        Form_MouseDown(controls::MouseButton::Right);
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(lp);
        return 0;
    case WM_TIMER:
        if (wp == kDockTimer)
            tmrDock_Timer();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return HandleTopLevel(msg, wp, lp);
    }
}

// A field's change, by its control id, to the handler of its group with its index. The
// popup menu returns its choice directly, so menu commands never come here.
void frmMain::OnCommand(int id, int code) {
    static constexpr void (frmMain::*kChange[kGroupCount])(int) = {
        &frmMain::txtFormula1_Change, &frmMain::txtFormula2_Change,  &frmMain::txtFormula3_Change,
        &frmMain::txtFormula4_Change, &frmMain::txtFormula5a_Change, &frmMain::txtFormula5b_Change};
    if (code != EN_CHANGE || !IsFieldId(id))
        return;
    (this->*kChange[static_cast<size_t>(GroupOfId(id))])(IndexOfId(id));
}

void frmMain::OnNotify(const NMHDR& hdr) {
    const auto id = static_cast<int>(hdr.idFrom);
    if (hdr.code == controls::kTabClick && id == kHeaderId) {
        ucHeader_TabClick(reinterpret_cast<const controls::NotifyTabClick&>(hdr).lTab);
    } else if (hdr.code == controls::kMouseDown) {
        const auto button = reinterpret_cast<const controls::NotifyMouseDown&>(hdr).Button;
        if (id == kHeaderId)
            ucHeader_MouseDown(button);
        else if (id >= kFirstPageId && id < kFirstPageId + kPageCount)
            ucTab_MouseDown(id - kFirstPageId, button);
    }
}

LRESULT frmMain::OnControlColour(HDC dc, HWND control) {
    int text = COLOR_BTNTEXT;
    int back = COLOR_BTNFACE;
    const int id = GetDlgCtrlID(control);
    if (control == lblFormula4extra) {
        text = COLOR_3DDKSHADOW;
    } else if (control == Line1) {
        back = COLOR_WINDOWTEXT;
    } else if (IsFieldId(id) && IndexOfId(id) < 2) {
        // Input boxes; the read-only result boxes keep button face and button text.
        text = COLOR_WINDOWTEXT;
        back = COLOR_WINDOW;
    }
    SetTextColor(dc, GetSysColor(text));
    SetBkColor(dc, GetSysColor(back));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
}

} // namespace app
