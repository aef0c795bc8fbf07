// The settings dialog: docking, corner, offsets, auto-close and units.
#pragma once

#include "controls/geometry.h"
#include "controls/win32/handles.h"
#include "controls/win32/top_level_window.h"
#include "settings/settings_design.h"
#include "settings/win32/logo_banner.h"

#include <windows.h>

#include <array>

namespace settings {

// Shows the dialog modally, owned by `owner` and centred over it, loaded afresh from the
// global settings. Returns when it has unloaded: by OK (settings applied and stored), by
// Cancel or by its close box (nothing changed).
void ShowSettingsDialog(HWND owner);

// Closes an open settings dialog as Cancel does, so that the program can end while it
// is open. Does nothing when no dialog is open.
void CancelSettingsDialog();

class frmSettings : public controls::TopLevelWindow<frmSettings> {
  public:
    static constexpr const wchar_t* kClassName = L"OrteliaSettings";
    static constexpr float kClientWidth = kDialogClientWidth;
    static constexpr float kClientHeight = kDialogClientHeight;

    frmSettings() = default;
    frmSettings(const frmSettings&) = delete;
    frmSettings& operator=(const frmSettings&) = delete;
    ~frmSettings();

    // Loads the dialog from the global settings, shows it over `owner` (disabled
    // meanwhile) and runs its modal loop until the dialog has unloaded.
    void ShowModal(HWND owner);
    // Unloads the dialog without applying anything, as Cancel and the close box do.
    void Unload();

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void btnOkay_Click();
    void btnCancel_Click();

    bool Create(HWND owner);
    friend class controls::TopLevelWindow<frmSettings>;
    void CreateControls();
    HWND CreateControl(const DialogControlDesign& d);
    RECT PlaceOf(const DialogControlDesign& d) const;
    void LayOutForDpi();
    HWND FirstFocus() const;
    void OnCommand(int code, HWND from);
    void OnDestroy();
    void RunModalLoop();
    // A control by its design name; the option-button arrays by their first member.
    HWND Control(DialogControl id, int index = 0) const {
        return controls_[static_cast<size_t>(id) + static_cast<size_t>(index)];
    }

    std::array<HWND, kDialogControlCount> controls_{}; // none for the banner's labels
    LogoBanner pbLogo;
    HWND owner_ = nullptr;
    bool reenableOwner_ = false;
    bool loaded_ = false;
    bool unloaded_ = false;
};

} // namespace settings
