// The main window: a narrow always-on-top strip with the tab header, five pages of
// calculators and the converter, the docking timer and the popup menu.
#pragma once

#include "app/main_design.h"
#include "calc/win32/number_field.h"
#include "controls/geometry.h"
#include "controls/win32/gdi.h"
#include "controls/win32/ucTabContainer.h"
#include "controls/win32/ucTabHead.h"
#include "controls/win32/window_base.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace app {

class frmMain : public controls::WindowBase<frmMain>, private calc::FieldEvents {
  public:
    static constexpr const wchar_t* kClassName = L"OrteliaMain";
    static constexpr const wchar_t* kTitle = L"Ortelia";
    static constexpr UINT_PTR kDockTimer = 1;
    static constexpr UINT kDockInterval = 1000;

    frmMain() = default;
    ~frmMain();

    // Creates the window with its design and runs the start-up: defaults, tabs, stored
    // settings, unit label, topmost, docking timer. False if the window was not made.
    bool Load(HINSTANCE instance);
    // Ends the window as "Exit" and the close box do.
    void Unload();

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // The window's keyboard commands, looked at by the message loop before a message is
    // dispatched: Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp switch pages as
    // a click on the next or previous caption does; Tab and Shift+Tab move through the
    // fields of the page in view; Shift+F10 and the context-menu key open the popup menu.
    // True if the message was such a command and must not be dispatched.
    bool PreTranslateMessage(const MSG& msg);

    // Recomputes design calculator n (1 to 4); any other number does nothing.
    void RecalcFormula(int16_t n);
    // Shows the popup menu at the pointer and runs the chosen command.
    void ShowPopup();
    // The popup menu's commands.
    void mnuSettings_Click();
    void mnuExit_Click();
    // One tick of the docking timer.
    void tmrDock_Timer();

    // Controls, by their design names. Index 2 of a calculator group is its result.
    calc::NumberField txtFormula1[3], txtFormula2[3], txtFormula3[3], txtFormula4[3];
    calc::NumberField txtFormula5a[2], txtFormula5b[2];
    HWND lblKmph = nullptr;
    HWND lblFormula4extra = nullptr;
    controls::ucTabHead ucHeader;
    std::array<controls::ucTabContainer, 5> ucTab;

    // The converter's guard against its own change notifications.
    bool bConverting = false;

    // How many calculator runs there have been: every keystroke should cost exactly two
    // (the edit's and the settling run after the result changed).
    unsigned RecalcRuns() const { return recalcRuns_; }

  private:
    // Start-up and life.
    void Form_Load();
    void Form_Unload();
    void Form_MouseDown(int16_t button);
    void ucHeader_TabClick(int32_t lTab);
    void ucHeader_MouseDown(int16_t button);
    void ucTab_MouseDown(int16_t index, int16_t button);
    void SetSpeedUnitLabel();
    void ShowPopupAt(POINT at);
    void OnContextMenu(LPARAM at);

    // Keyboard.
    void CyclePage(int step);
    void MoveFocusInPage(bool backwards);
    int PageInView() const;
    std::vector<HWND> FieldsOfPage(int page);

    // Building the design.
    void CreateControls();
    void CreateField(const ControlDesign& design, HFONT font);
    HWND CreateStatic(const ControlDesign& design, HFONT font);
    RECT ToPixels(const controls::Rect& units) const;
    RECT PixelsOf(Kind kind, const controls::Rect& units) const;
    calc::NumberField* FieldsOf(int group);
    void NameFieldsForAccessibility();

    // Density: the dpi the window is laid out for, and laying it out for another.
    void OnDpiChanged(int dpi, const RECT* suggested);
    void Relayout();

    // Field events (calc::FieldEvents), dispatched to the groups' handlers.
    void KeyPress(calc::NumberField& field, int16_t& keyAscii) override;
    void GotFocus(calc::NumberField& field) override;
    void Change(calc::NumberField& field) override;
    void txtFormula_Change(int group, int16_t index);
    void txtFormula_KeyPress(int group, int16_t& keyAscii);
    void txtFormula_GotFocus(int group, int16_t index);
    void txtFormula5_Change(calc::NumberField* pair, int16_t index, int group);

    // Messages.
    LRESULT OnCommand(int id, int code, HWND from);
    LRESULT OnNotify(const NMHDR& hdr);
    LRESULT OnControlColour(HDC dc, HWND control);
    void OnTimer(UINT_PTR id);
    calc::NumberField* FieldFromHandle(HWND hwnd);

    // A control and its design rectangle, so that a change of density can place it again.
    // `design` is the control's row of the design tables; none for the header and pages.
    struct Placed {
        HWND hwnd;
        controls::Rect rect;
        const ControlDesign* design;
    };

    HWND owner_ = nullptr; // hidden owner: keeps the window out of the taskbar
    controls::LayoutScale scale_;
    int dpi_ = 96;
    controls::Font font_;
    std::vector<Placed> placed_;
    std::array<HWND, 4> resultBoxes_{};
    HWND line1_ = nullptr;
    int modalDepth_ = 0; // popup menu or settings dialog open
    bool unloaded_ = false;
    unsigned recalcRuns_ = 0;
};

} // namespace app
