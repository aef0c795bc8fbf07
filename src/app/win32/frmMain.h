// The main window: a narrow always-on-top strip with the tab header and five pages.
#pragma once

#include "controls/win32/window_base.h"

namespace app {

class frmMain : public controls::WindowBase<frmMain> {
  public:
    static constexpr const wchar_t* kClassName = L"OrteliaMain";
    static constexpr const wchar_t* kTitle = L"Ortelia";

    // Creates the window and runs the start-up; false if the window could not be made.
    bool Load(HINSTANCE instance);

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
};

} // namespace app
