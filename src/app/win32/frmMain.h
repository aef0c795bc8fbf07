// The main window: a narrow always-on-top strip with the tab header, five pages of
// calculators and the converter, the docking timer and the popup menu.
#pragma once

#include "app/main_design.h"
#include "calc/win32/number_field.h"
#include "controls/geometry.h"
#include "controls/win32/handles.h"
#include "controls/win32/notifications.h"
#include "controls/win32/top_level_window.h"
#include "controls/win32/ucTabContainer.h"
#include "controls/win32/ucTabHead.h"

#include <array>
#include <vector>

namespace app {

class frmMain : public controls::TopLevelWindow<frmMain> {
  public:
    static constexpr const wchar_t* kClassName = L"OrteliaMain";
    static constexpr const wchar_t* kTitle = L"Ortelia";
    static constexpr UINT_PTR kDockTimer = 1;
    static constexpr UINT kDockInterval = 1000;
    static constexpr float kClientWidth = kMainClientWidth;
    static constexpr float kClientHeight = kMainClientHeight;

    frmMain() = default;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;
    ~frmMain();

    // Creates the window with its design and runs the start-up: defaults, tabs, stored
    // settings, unit label, topmost, docking timer. False if the window was not made.
    bool Load(HINSTANCE instance);

    // Runs the program's message loop until the window has gone; the quit code.
    WPARAM MessageLoop();

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // The window's keyboard commands, looked at by the message loop before a message is
    // dispatched: Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp switch pages as
    // a click on the next or previous caption does; Tab and Shift+Tab move through the
    // fields of the page in view; Shift+F10 and the context-menu key open the popup menu.
    // True if the message was such a command and must not be dispatched.
    bool PreTranslateMessage(const MSG& msg);

  private:
    // Start-up, the popup menu and the end.
    void Form_Load();
    void Form_Unload();
    void Form_MouseDown(controls::MouseButton button);
    void ShowPopup();
    void ShowPopupAt(POINT at);
    void mnuSettings_Click();
    void mnuExit_Click();
    void Unload();
    bool InNestedLoop() const;
    void EndNestedLoops();

    // Pages.
    void ucHeader_TabClick(int lTab);
    void ucHeader_MouseDown(controls::MouseButton button);
    void ucTab_MouseDown(int index, controls::MouseButton button);

    // The calculators and the converter.
    calc::NumberField& Field(Group group, int index);
    void RecalcFormula(int n);
    void SetSpeedUnitLabel();
    void txtFormula1_Change(int index);
    void txtFormula2_Change(int index);
    void txtFormula3_Change(int index);
    void txtFormula4_Change(int index);
    void txtFormula5a_Change(int index);
    void txtFormula5b_Change(int index);
    void Convert(Group pair, int index);

    // Docking.
    void tmrDock_Timer();

    // Keyboard.
    void CyclePage(int step);
    void MoveFocusInPage(bool backwards);
    int PageInView() const;
    std::vector<HWND> FieldsOfPage(int page) const;

    // The design, and laying it out again for another density.
    friend class controls::TopLevelWindow<frmMain>;
    void CreateControls();
    HWND CreateStatic(const ControlDesign& design);
    RECT PixelsOf(const ControlDesign& design) const;
    void LayOutForDpi();
    void LoadIcons();
    HWND FirstFocus() const;

    // Messages.
    void OnCommand(int id, int code);
    void OnNotify(const NMHDR& hdr);
    LRESULT OnControlColour(HDC dc, HWND control);
    void OnContextMenu(LPARAM at);

    // A control and its row of the design tables, so that a change of density can place it
    // again; none for the header and the pages.
    struct Placed {
        HWND hwnd;
        controls::Rect rect;
        const ControlDesign* design;
    };

    // Controls, by their design names: the fields as arrays by group, index 2 of a
    // calculator group its result.
    std::array<std::array<calc::NumberField, kMaxGroupSize>, kGroupCount> txtFormula_;
    HWND lblKmph = nullptr;
    HWND lblFormula4extra = nullptr;
    HWND Line1 = nullptr;
    controls::ucTabHead ucHeader;
    std::array<controls::ucTabContainer, kPageCount> ucTab;

    bool bConverting = false; // the converter's guard against its own change notifications
    HWND owner_ = nullptr;    // hidden owner: keeps the window out of the taskbar
    std::array<controls::Icon, 2> icons_; // ICON_SMALL, ICON_BIG
    std::vector<Placed> placed_;
    int modalDepth_ = 0; // popup menu or settings dialog open
    bool unloadPending_ = false;
    bool unloaded_ = false;
};

} // namespace app
