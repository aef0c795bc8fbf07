// The settings dialog's design: every control with its container, its place in layout
// units (1/1440 inch) relative to that container, its tab index and its text. Pure data;
// the Win32 shell converts to pixels.
#pragma once

#include "controls/geometry.h"

#include <array>
#include <cstdint>
#include <initializer_list>

namespace settings {

inline constexpr float kDialogClientWidth = 4065;
inline constexpr float kDialogClientHeight = 3885;

inline constexpr const char* kDialogTitle = "Ortelia Settings...";

// The controls by their design names; array members carry their index in the name.
enum class DialogControl : int8_t {
    pbLogo,
    Label3,
    Label5,
    Label6,
    Label4,
    Frame1,
    chkDock,
    optDockSide0,
    optDockSide1,
    optDockSide2,
    optDockSide3,
    Label1,
    txtDockOffset0,
    Label2,
    txtDockOffset1,
    Frame2,
    optMeasurements0,
    optMeasurements1,
    chkAutoClose,
    btnOkay,
    btnCancel,
};
inline constexpr int kDialogControlCount = 21;

// What a position is relative to: the client area, the logo banner or a frame.
enum class Container : int8_t { Window, Logo, Frame1, Frame2 };

enum class DialogKind : int8_t { Picture, Label, Frame, CheckBox, Option, TextBox, Button };

enum class TextAlign : int8_t { Left, Centre, Right };

// The banner's labels are Arial bold; everything else uses the user-interface font.
enum class TextFont : int8_t { Dialog, BannerTitle, BannerSmall };
inline constexpr float kBannerTitlePoints = 9.75f;
inline constexpr float kBannerSmallPoints = 8.25f;

struct DialogControlDesign {
    DialogControl id;
    DialogKind kind;
    Container container;
    controls::Rect rect; // relative to the container
    int tabIndex;
    const char* text;
    TextAlign align = TextAlign::Left;
    TextFont font = TextFont::Dialog;
};

inline constexpr controls::Rect kLogoRect{0, 0, 4065, 1065};
inline constexpr controls::Rect kFrame1Rect{60, 1200, 2295, 1815};
inline constexpr controls::Rect kFrame2Rect{2460, 1140, 1515, 1875};

// In design order. The frames are listed before what they hold.
// clang-format off
inline constexpr std::array<DialogControlDesign, kDialogControlCount> kDialogDesign{{
    {DialogControl::pbLogo, DialogKind::Picture, Container::Window, kLogoRect, 14, ""},
    {DialogControl::Label3, DialogKind::Label, Container::Logo, {1020, 180, 2955, 255}, 15,
     "Ortelia", TextAlign::Centre, TextFont::BannerTitle},
    {DialogControl::Label5, DialogKind::Label, Container::Logo, {1020, 480, 2955, 195}, 17,
     "Coaster design calculator", TextAlign::Centre, TextFont::BannerSmall},
    {DialogControl::Label6, DialogKind::Label, Container::Logo, {1020, 660, 2955, 195}, 18,
     "Quillon", TextAlign::Centre, TextFont::BannerSmall},
    {DialogControl::Label4, DialogKind::Label, Container::Logo, {3120, 60, 855, 195}, 16,
     "v1.3.0", TextAlign::Right, TextFont::BannerSmall},
    {DialogControl::Frame1, DialogKind::Frame, Container::Window, kFrame1Rect, 0, ""},
    {DialogControl::chkDock, DialogKind::CheckBox, Container::Window, {180, 1200, 1755, 195}, 1,
     "Dock with Kestrava Editor"},
    {DialogControl::optDockSide0, DialogKind::Option, Container::Frame1, {240, 300, 1395, 195}, 2,
     "Top - Left"},
    {DialogControl::optDockSide1, DialogKind::Option, Container::Frame1, {240, 540, 1395, 195}, 3,
     "Top - Right"},
    {DialogControl::optDockSide2, DialogKind::Option, Container::Frame1, {240, 780, 1395, 195}, 4,
     "Bottom - Left"},
    {DialogControl::optDockSide3, DialogKind::Option, Container::Frame1, {240, 1020, 1395, 195}, 5,
     "Bottom - Right"},
    {DialogControl::Label1, DialogKind::Label, Container::Frame1, {240, 1440, 555, 195}, 8,
     "Offset:"},
    {DialogControl::txtDockOffset0, DialogKind::TextBox, Container::Frame1, {780, 1380, 555, 285},
     6, "0", TextAlign::Centre},
    {DialogControl::Label2, DialogKind::Label, Container::Frame1, {1380, 1440, 135, 195}, 9,
     "x", TextAlign::Centre},
    {DialogControl::txtDockOffset1, DialogKind::TextBox, Container::Frame1, {1560, 1380, 555, 285},
     7, "0", TextAlign::Centre},
    {DialogControl::Frame2, DialogKind::Frame, Container::Window, kFrame2Rect, 10, "Measurements"},
    {DialogControl::optMeasurements0, DialogKind::Option, Container::Frame2, {240, 300, 855, 195},
     11, "Metric"},
    {DialogControl::optMeasurements1, DialogKind::Option, Container::Frame2, {240, 540, 855, 195},
     12, "Imperial"},
    {DialogControl::chkAutoClose, DialogKind::CheckBox, Container::Window, {60, 3120, 3915, 195},
     13, "Automatically Close when the Kestrava Editor Closes"},
    {DialogControl::btnOkay, DialogKind::Button, Container::Window, {1800, 3540, 1035, 315}, 19,
     "OK"},
    {DialogControl::btnCancel, DialogKind::Button, Container::Window, {2940, 3540, 1035, 315}, 20,
     "Cancel"},
}};
// clang-format on

// The rectangle in the coordinates of the window that hosts the control. The banner's
// labels are drawn by the banner itself, so they stay in its coordinates; the frames
// make poor parents, so what they hold is placed on the dialog at the frame's offset.
constexpr controls::Rect HostRect(const DialogControlDesign& d) {
    controls::Rect r = d.rect;
    if (d.container == Container::Frame1) {
        r.left += kFrame1Rect.left;
        r.top += kFrame1Rect.top;
    } else if (d.container == Container::Frame2) {
        r.left += kFrame2Rect.left;
        r.top += kFrame2Rect.top;
    }
    return r;
}

// The margin kept between a control that grows to fit its caption and the edge it grows
// towards: one pixel at 96 dpi.
inline constexpr float kFitMargin = 15;

// How far right a control may grow when its caption needs more room than designed: to
// the inside of the frame it lies in or on (chkDock lies on Frame1's top edge), else to
// the client area's edge, each less the margin.
constexpr float FitLimitRight(const DialogControlDesign& d) {
    const controls::Rect r = HostRect(d);
    for (const controls::Rect& frame : {kFrame1Rect, kFrame2Rect})
        if (frame.Contains({r.left, r.top}))
            return frame.left + frame.width - kFitMargin;
    return kDialogClientWidth - kFitMargin;
}

} // namespace settings
