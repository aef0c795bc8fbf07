#include "settings/win32/frmSettings.h"

#include "controls/field_value.h"
#include "controls/win32/accessible_name.h"
#include "controls/win32/dpi.h"
#include "controls/win32/paint.h"
#include "controls/win32/text.h"
#include "controls/win32/topmost.h"
#include "controls/win32/ui_font.h"
#include "settings/win32/mMain.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace settings {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// Control IDs stay clear of IDOK (1) and IDCANCEL (2), which the dialog manager sends
// for Enter and Escape when no push button has the focus: neither may reach a button.
constexpr int kFirstControlId = 100;

// Pixels at 96 dpi taken by a check box's or option button's mark and the gap after it.
constexpr int kMarkAllowance = 20;

// The one dialog that is open, for CancelSettingsDialog.
frmSettings* openDialog = nullptr;

bool IsChecked(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

void SetChecked(HWND button, bool checked) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Creation order is z-order and so tab order: the design's tab indices, with the frames
// at the bottom, where they take no focus anyway and every control lying on them,
// chkDock over Frame1's top edge included, paints above them.
std::array<const DialogControlDesign*, kDialogControlCount> CreationOrder() {
    std::array<const DialogControlDesign*, kDialogControlCount> order{};
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = &kDialogDesign[i];
    std::stable_sort(order.begin(), order.end(), [](const auto* a, const auto* b) {
        const bool aFrame = a->kind == DialogKind::Frame, bFrame = b->kind == DialogKind::Frame;
        return aFrame != bFrame ? bFrame : a->tabIndex < b->tabIndex;
    });
    return order;
}

DWORD TextAlignStyle(const DialogControlDesign& d) {
    if (d.kind == DialogKind::TextBox)
        return d.align == TextAlign::Centre  ? ES_CENTER
               : d.align == TextAlign::Right ? ES_RIGHT
                                             : ES_LEFT;
    return d.align == TextAlign::Centre  ? SS_CENTER
           : d.align == TextAlign::Right ? SS_RIGHT
                                         : SS_LEFT;
}

bool StartsGroup(DialogControl id) {
    switch (id) {
    case DialogControl::chkDock:
    case DialogControl::optDockSide0:
    case DialogControl::txtDockOffset0:
    case DialogControl::optMeasurements0:
    case DialogControl::chkAutoClose:
    case DialogControl::btnOkay:
    case DialogControl::Frame1:
    case DialogControl::Frame2:
        return true;
    default:
        return false;
    }
}

// The width in pixels that a caption needs: its text, and for check boxes and option
// buttons the mark in front of it with its gap.
int CaptionWidth(HFONT font, const std::wstring& text, DialogKind kind, int dpi) {
    controls::ScreenDc screen;
    controls::Selection selected(screen.Get(), font);
    SIZE extent{};
    GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    const bool marked = kind == DialogKind::CheckBox || kind == DialogKind::Option;
    return extent.cx + (marked ? MulDiv(kMarkAllowance, dpi, 96) : 0);
}

} // namespace

void ShowSettingsDialog(HWND owner) {
    if (openDialog) { // one dialog at a time: bring the open one forward
        SetForegroundWindow(openDialog->Handle());
        return;
    }
    frmSettings dialog;
    dialog.ShowModal(owner);
}

void CancelSettingsDialog() {
    if (openDialog)
        openDialog->Unload();
}

frmSettings::~frmSettings() {
    if (openDialog == this)
        openDialog = nullptr;
    if (Handle())
        DestroyWindow(Handle());
}

void frmSettings::ShowModal(HWND owner) {
    if (!Create(owner))
        return;
    openDialog = this;
    Form_Load();
    loaded_ = true;
    // Disabled before the dialog appears, so that the owner takes no click meanwhile.
    reenableOwner_ = owner_ && !EnableWindow(owner_, FALSE);
    ShowWindow(Handle(), SW_SHOW);
    Form_Resize();
    RunModalLoop();
    openDialog = nullptr;
}

bool frmSettings::Create(HWND owner) {
    owner_ = owner;
    // By colour index: erased in the colour of the moment, also after a change of colours.
    Register(GetModuleHandleW(nullptr), 0,
             reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    // Over the owner, on the owner's monitor and at its dpi.
    const controls::PixelRect work = controls::WorkAreaOf(owner);
    RECT owned{};
    const controls::PixelRect over =
        owner && GetWindowRect(owner, &owned) ? controls::ToPixels(owned) : work;
    return CreateCentred(kExStyle, controls::Widen(kDialogTitle).c_str(), kStyle, owner,
                         controls::WindowDpi(owner), over, work);
}

// Where a control goes at the current scale: its design rectangle, widened to the right
// when its caption needs more room than designed, as far as its frame or the dialog
// allows, rather than being cut off.
RECT frmSettings::PlaceOf(const DialogControlDesign& d) const {
    RECT r = controls::ToPixels(HostRect(d), scale_);
    if (d.kind == DialogKind::CheckBox || d.kind == DialogKind::Option ||
        d.kind == DialogKind::Label) {
        const int needed = CaptionWidth(font_.Get(), controls::Widen(d.text), d.kind, dpi_);
        const int limit = scale_.PixelsX(FitLimitRight(d));
        if (r.left + needed > r.right)
            r.right = std::max<LONG>(r.right, std::min<LONG>(r.left + needed, limit));
    }
    return r;
}

HWND frmSettings::CreateControl(const DialogControlDesign& d) {
    const RECT r = PlaceOf(d);
    const std::wstring text = controls::Widen(d.text);
    if (d.kind == DialogKind::Picture) {
        pbLogo.Create(Handle(), r, scale_, dpi_);
        return pbLogo.Handle();
    }
    DWORD style = WS_CHILD | WS_VISIBLE | (StartsGroup(d.id) ? WS_GROUP : 0);
    DWORD exStyle = 0;
    const wchar_t* cls = L"BUTTON";
    switch (d.kind) {
    case DialogKind::CheckBox:
        style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
    case DialogKind::Option: // the selected one becomes the group's tab stop
        style |= BS_AUTORADIOBUTTON;
        break;
    case DialogKind::Button:
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
    case DialogKind::Frame:
        // Clipped by its siblings, so it never paints over what lies on it.
        style |= BS_GROUPBOX | WS_CLIPSIBLINGS;
        break;
    case DialogKind::TextBox:
        cls = L"EDIT";
        exStyle = WS_EX_CLIENTEDGE;
        style |= ES_AUTOHSCROLL | WS_TABSTOP | TextAlignStyle(d);
        break;
    case DialogKind::Label:
        cls = L"STATIC";
        style |= SS_NOPREFIX | TextAlignStyle(d);
        break;
    case DialogKind::Picture:
        break;
    }
    const int id = kFirstControlId + static_cast<int>(d.id);
    HWND hwnd = CreateWindowExW(exStyle, cls, text.c_str(), style, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, Handle(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return hwnd;
}

void frmSettings::CreateControls() {
    for (const DialogControlDesign* d : CreationOrder())
        if (d->container != Container::Logo) // the banner draws its own labels
            controls_[static_cast<size_t>(d->id)] = CreateControl(*d);
    // The offset boxes' labels ("Offset:" and "x") do not say which is which.
    controls::SetAccessibleName(Control(DialogControl::txtDockOffset0),
                                {nullptr, L"Horizontal offset"});
    controls::SetAccessibleName(Control(DialogControl::txtDockOffset1),
                                {nullptr, L"Vertical offset"});
}

// Every control at its design rectangle at the dialog's dpi, in its font.
void frmSettings::LayOutForDpi() {
    for (const DialogControlDesign& d : kDialogDesign) {
        const HWND hwnd = Control(d.id);
        if (d.kind == DialogKind::Picture) {
            pbLogo.SetScale(PlaceOf(d), scale_, dpi_);
        } else if (hwnd) { // not the banner's own labels
            const RECT r = PlaceOf(d);
            SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
            SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

HWND frmSettings::FirstFocus() const {
    return GetNextDlgTabItem(Handle(), nullptr, FALSE);
}

void frmSettings::RunModalLoop() {
    bool quit = false;
    WPARAM quitCode = 0;
    while (!unloaded_) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: close as Cancel, then pass the quit on to the loop
            // that owns it.
            quit = got == 0;
            quitCode = msg.wParam;
            Unload();
            break;
        }
        // Tab and the arrow keys move the focus; every other message, the owner's timer
        // ticks included, is dispatched as usual.
        if (!Handle() || !IsDialogMessageW(Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
}

void frmSettings::Unload() {
    if (unloaded_ || !Handle())
        return;
    unloaded_ = true;
    Form_Unload();
    // The owner is enabled again first, so that it takes the activation back.
    if (reenableOwner_)
        EnableWindow(owner_, TRUE);
    reenableOwner_ = false;
    DestroyWindow(Handle());
    // The modal loop waits in GetMessage, which runs a sent message (another program's
    // BM_CLICK on OK or Cancel) without returning: a posted message wakes it, so that the
    // main window applies the settings at once rather than at its next timer tick.
    PostMessageW(nullptr, WM_NULL, 0, 0);
}

void frmSettings::Form_Load() {
    const settings::Settings& s = mMain::Settings();
    SetChecked(Control(DialogControl::chkDock), s.bDockEnabled);
    // A corner outside 0 to 3 (from a hand-edited code) has no button: none is selected,
    // and OK keeps the corner.
    if (s.iDockCorner >= 0 && s.iDockCorner < 4)
        SetChecked(Control(DialogControl::optDockSide0, s.iDockCorner), true);
    SetWindowTextW(Control(DialogControl::txtDockOffset0), std::to_wstring(s.lDockOffsetX).c_str());
    SetWindowTextW(Control(DialogControl::txtDockOffset1), std::to_wstring(s.lDockOffsetY).c_str());
    SetChecked(Control(DialogControl::chkAutoClose), s.bAutoClose);
    SetChecked(Control(DialogControl::optMeasurements0, s.bMetric ? 0 : 1), true);
}

void frmSettings::Form_Resize() {
    mWindowFunctions::SetTopmost(Handle());
}

void frmSettings::Form_Unload() {
    mWindowFunctions::SetNotTopmost(Handle());
}

void frmSettings::btnOkay_Click() {
    settings::Settings& s = mMain::Settings();
    const auto offset = [this](DialogControl box) {
        return controls::Int32FieldValue(controls::Narrow(controls::WindowText(Control(box))));
    };
    s.bDockEnabled = IsChecked(Control(DialogControl::chkDock));
    for (int n = 0; n < 4; ++n)
        if (IsChecked(Control(DialogControl::optDockSide0, n)))
            s.iDockCorner = static_cast<int16_t>(n);
    s.lDockOffsetX = offset(DialogControl::txtDockOffset0);
    s.lDockOffsetY = offset(DialogControl::txtDockOffset1);
    s.bAutoClose = IsChecked(Control(DialogControl::chkAutoClose));
    s.bMetric = IsChecked(Control(DialogControl::optMeasurements0));
    // A failed write keeps the old code in the registry; the new settings still hold for
    // this run.
    (void)mMain::SaveSettings();
    Unload();
}

void frmSettings::btnCancel_Click() {
    Unload();
}

// Only clicks of the two buttons count. Enter on a push button that has the focus clicks
// it, as everywhere in Windows (the dialog manager makes the focused button the default
// one); Enter and Escape elsewhere come as IDOK and IDCANCEL without a control and are
// ignored.
void frmSettings::OnCommand(int code, HWND from) {
    if (code == BN_CLICKED && from && from == Control(DialogControl::btnOkay))
        btnOkay_Click();
    else if (code == BN_CLICKED && from && from == Control(DialogControl::btnCancel))
        btnCancel_Click();
}

// Destroyed from outside (its owner went first): the owner is still given back.
void frmSettings::OnDestroy() {
    if (unloaded_)
        return;
    unloaded_ = true;
    if (reenableOwner_)
        EnableWindow(owner_, TRUE);
    reenableOwner_ = false;
}

LRESULT frmSettings::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Labels, check boxes, option buttons and frames on an opaque button face, so that
        // chkDock covers the frame line it lies on.
        const HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SIZE:
        if (loaded_)
            Form_Resize();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default: // the close box acts as Cancel (Unload)
        return HandleTopLevel(msg, wp, lp);
    }
}

} // namespace settings
