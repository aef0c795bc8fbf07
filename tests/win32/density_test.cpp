// Both windows moved to screens of other densities: WM_DPICHANGED, as Windows sends it
// when a window crosses onto a monitor of another dpi, makes each lay itself out again
// from the design's layout units at the new units per pixel.
#include "app/main_design.h"
#include "app/win32/frmMain.h"
#include "controls/win32/paint.h"
#include "controls/win32/text.h"
#include "main_window_fixture.h"
#include "settings/settings_design.h"
#include "settings/win32/frmSettings.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>

namespace {

using namespace testing_support;

std::string Describe(const RECT& r) {
    std::ostringstream out;
    out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
    return out.str();
}

RECT InParent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE ClientSize(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
}

// Tells a window it is now on a screen of `dpi`, with the system's suggested rectangle.
void MoveToDensity(HWND hwnd, int dpi) {
    RECT suggested;
    GetWindowRect(hwnd, &suggested);
    OffsetRect(&suggested, 10, 10);
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

LONG FontHeight(HWND hwnd) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight;
}

TEST(Density, MainWindowLaysItselfOutForEachDpi) {
    Ortelia o;
    auto& m = o.main;
    const int home = static_cast<int>(1440 / controls::ScreenLayoutScale().unitsPerPixelY + 0.5f);
    for (int dpi : {144, 120, 96, home}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        MoveToDensity(o.Window(), dpi);
        const auto scale = controls::LayoutScale::ForDpi(dpi, dpi);
        EXPECT_EQ(ClientSize(o.Window()).cx, scale.PixelsX(app::kMainClientWidth));
        EXPECT_EQ(ClientSize(o.Window()).cy, scale.PixelsY(app::kMainClientHeight));
        auto expectAt = [&](HWND hwnd, const controls::Rect& design, const std::string& name) {
            const RECT want = controls::ToPixels(design, scale), got = InParent(hwnd);
            EXPECT_TRUE(EqualRect(&want, &got))
                << name << " at " << Describe(got) << ", designed " << Describe(want);
        };
        expectAt(m.ucHeader.Handle(), app::kHeaderRect, "ucHeader");
        for (auto& page : m.ucTab)
            expectAt(page.Handle(), app::kPageRect, "page");
        calc::NumberField* groups[] = {m.txtFormula1, m.txtFormula2, m.txtFormula3, m.txtFormula4};
        const std::array<app::ControlDesign, 5>* rows[] = {&app::kCpLengthRow, &app::kBankingRow,
                                                           &app::kStationRow, &app::kLimRow};
        for (int g = 0; g < 4; ++g)
            for (const auto& d : *rows[g])
                if (d.index >= 0)
                    expectAt(groups[g][d.index].Handle(), d.rect,
                             "txtFormula" + std::to_string(g + 1));
        expectAt(m.lblKmph, app::kLimRow[1].rect, "lblKmph");
        expectAt(m.lblFormula4extra, app::kLimExtra.rect, "lblFormula4extra");
        expectAt(m.txtFormula5a[0].Handle(), app::kConverterControls[0].rect, "txtFormula5a(0)");
        expectAt(m.txtFormula5b[1].Handle(), app::kConverterControls[7].rect, "txtFormula5b(1)");

        // The header and the pages draw at the new units per pixel.
        EXPECT_EQ(m.ucHeader.Scale().unitsPerPixelX, scale.unitsPerPixelX);
        EXPECT_EQ(m.ucTab[3].Scale().unitsPerPixelY, scale.unitsPerPixelY);
        // The 8-point font is made for the new dpi, and every caption fits its tab.
        EXPECT_EQ(FontHeight(m.txtFormula1[0].Handle()), -MulDiv(8, dpi, 72));
        EXPECT_EQ(FontHeight(m.ucHeader.Handle()), -MulDiv(8, dpi, 72));
        HDC dc = GetDC(m.ucHeader.Handle());
        HGDIOBJ old = SelectObject(
            dc, reinterpret_cast<HFONT>(SendMessageW(m.ucHeader.Handle(), WM_GETFONT, 0, 0)));
        for (size_t i = 0; i < app::kTabCaptions.size(); ++i) {
            const std::wstring caption = L" " + controls::Widen(app::kTabCaptions[i]) + L" ";
            SIZE extent{};
            GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
            const RECT r = controls::ToPixels(m.ucHeader.Layout().tabs[i].caption, scale);
            EXPECT_GE(r.right - r.left, extent.cx) << "caption " << i << " cut off";
        }
        SelectObject(dc, old);
        ReleaseDC(m.ucHeader.Handle(), dc);
    }
}

// The design at 144 dpi (10 units per pixel) and 120 dpi (12), worked out by hand.
TEST(Density, WorkedRectanglesAt144And120Dpi) {
    Ortelia o;
    const struct {
        int dpi;
        float units;
        SIZE client;
        RECT header, page, radius, result, extra, line;
    } cases[] = {
        {144,
         10,
         {605, 95},
         {0, 0, 602, 38},
         {0, 36, 602, 92},
         {192, 12, 248, 41},
         {378, 12, 494, 41},
         {498, 17, 596, 37},
         {300, 0, 301, 55}},
        {120,
         12,
         {504, 79},
         {0, 0, 501, 31},
         {0, 30, 501, 76},
         {160, 10, 206, 34},
         {315, 10, 411, 34},
         {415, 14, 496, 30},
         {250, 0, 251, 46}},
    };
    HWND line = nullptr; // the converter page's only child that is not a field or label
    for (HWND c = GetWindow(o.main.ucTab[4].Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (!(GetWindowLongW(c, GWL_STYLE) & SS_NOTIFY) &&
            !(GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP))
            line = c;
    ASSERT_NE(line, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.dpi) + " dpi");
        MoveToDensity(o.Window(), c.dpi);
        EXPECT_EQ(ClientSize(o.Window()).cx, c.client.cx);
        EXPECT_EQ(ClientSize(o.Window()).cy, c.client.cy);
        const struct {
            HWND hwnd;
            RECT want;
            const char* name;
        } controls[] = {{o.main.ucHeader.Handle(), c.header, "header"},
                        {o.main.ucTab[2].Handle(), c.page, "page"},
                        {o.main.txtFormula1[1].Handle(), c.radius, "txtFormula1(1)"},
                        {o.main.txtFormula4[2].Handle(), c.result, "txtFormula4(2)"},
                        {o.main.lblFormula4extra, c.extra, "lblFormula4extra"},
                        {line, c.line, "Line1, one pixel wide"}};
        for (const auto& k : controls) {
            const RECT got = InParent(k.hwnd);
            EXPECT_TRUE(EqualRect(&got, &k.want))
                << k.name << " at " << Describe(got) << ", expected " << Describe(k.want);
        }
        EXPECT_EQ(o.main.ucHeader.Scale().unitsPerPixelX, c.units);
        EXPECT_EQ(o.main.ucHeader.Scale().unitsPerPixelY, c.units);
    }
}

TEST(Density, AClickOnACaptionStillSelectsItAfterTheMove) {
    Ortelia o;
    MoveToDensity(o.Window(), 144);
    const auto& header = o.main.ucHeader;
    const RECT r = controls::ToPixels(header.Layout().tabs.at(3).caption, header.Scale());
    const LPARAM at = ClientPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(header.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header.Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(header.SelectedTab(), 3);
    EXPECT_TRUE(IsWindowVisible(o.main.ucTab[3].Handle()));
    EXPECT_FALSE(IsWindowVisible(o.main.ucTab[0].Handle()));
}

TEST(Density, SettingsDialogLaysItselfOutForEachDpi) {
    Ortelia o;
    std::ostringstream report;
    WhenReady run(
        [] { return FindWindowW(nullptr, L"Ortelia Settings...") != nullptr; },
        [&report] {
            const HWND dialog = FindWindowW(nullptr, L"Ortelia Settings...");
            for (int dpi : {144, 120, 96}) {
                MoveToDensity(dialog, dpi);
                const auto scale = controls::LayoutScale::ForDpi(dpi, dpi);
                const SIZE client = ClientSize(dialog);
                if (client.cx != scale.PixelsX(settings::kDialogClientWidth) ||
                    client.cy != scale.PixelsY(settings::kDialogClientHeight))
                    report << "client " << client.cx << "x" << client.cy << " at " << dpi
                           << " dpi; ";
                // Each control by its caption (the offset boxes by their order), at its
                // design rectangle; a caption that needs more room may grow rightwards.
                HWND edits[2] = {FindWindowExW(dialog, nullptr, L"Edit", nullptr), nullptr};
                edits[1] = FindWindowExW(dialog, edits[0], L"Edit", nullptr);
                for (const auto& d : settings::kDialogDesign) {
                    if (d.container == settings::Container::Logo)
                        continue;
                    const HWND hwnd = d.id == settings::DialogControl::txtDockOffset0   ? edits[0]
                                      : d.id == settings::DialogControl::txtDockOffset1 ? edits[1]
                                      : d.kind == settings::DialogKind::Picture
                                          ? FindWindowExW(dialog, nullptr,
                                                          settings::LogoBanner::kClassName, nullptr)
                                          : FindWindowExW(dialog, nullptr, nullptr,
                                                          controls::Widen(d.text).c_str());
                    if (d.kind == settings::DialogKind::Frame && !*d.text)
                        continue; // Frame1 has no caption to find it by
                    const RECT want = controls::ToPixels(settings::HostRect(d), scale);
                    const RECT got = hwnd ? InParent(hwnd) : RECT{};
                    const bool grows = d.kind == settings::DialogKind::CheckBox ||
                                       d.kind == settings::DialogKind::Option ||
                                       d.kind == settings::DialogKind::Label;
                    const bool fits = got.left == want.left && got.top == want.top &&
                                      got.bottom == want.bottom &&
                                      (grows ? got.right >= want.right : got.right == want.right);
                    if (!fits)
                        report << "\"" << d.text << "\" " << Describe(got) << " not "
                               << Describe(want) << " at " << dpi << " dpi; ";
                }
                LOGFONTW lf{};
                GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edits[0], WM_GETFONT, 0, 0)),
                           sizeof lf, &lf);
                if (lf.lfHeight != -MulDiv(8, dpi, 72))
                    report << "font height " << lf.lfHeight << " at " << dpi << " dpi; ";
            }
            SendMessageW(dialog, WM_CLOSE, 0, 0);
        });
    o.main.mnuSettings_Click();
    ASSERT_TRUE(run.Ran());
    EXPECT_EQ(report.str(), "");
}

} // namespace
