// The tab header and the tab page as real child windows of a host that records what they
// report. Presses go to whichever window the system finds under the point, as a real
// mouse's would. Geometry below is in pixels; layout units follow the screen's dpi.
#include "controls/win32/notifications.h"
#include "controls/win32/paint.h"
#include "controls/win32/ucTabContainer.h"
#include "controls/win32/ucTabHead.h"
#include "system_colours.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

namespace {

using controls::kMouseDown;

// The screen's layout units per pixel: 15 at 96 dpi, 12 at 120 dpi.
float Units() {
    static const float units = controls::ScreenLayoutScale().unitsPerPixelX;
    return units;
}

// The main window's header, 6015 x 375 units, in pixels at the screen's dpi.
RECT HeaderPixels() {
    const auto scale = controls::ScreenLayoutScale();
    return {0, 0, scale.PixelsX(6015), scale.PixelsY(375)};
}
using controls::kTabClick;

constexpr const wchar_t* kCaptions[] = {L"CP Length", L"0g Banking", L"Station Length",
                                        L"LIM Length", L"Converter"};

// One notification or command as the host saw it.
struct Report {
    UINT msg = WM_NOTIFY;
    UINT code = 0;
    int32_t lTab = 0;
    int16_t button = 0, shift = 0;
    float x = 0, y = 0;
    bool operator==(const Report&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Report& r) {
    return os << "{msg " << r.msg << " code " << r.code << " lTab " << r.lTab << " button "
              << r.button << " shift " << r.shift << " at " << r.x << "," << r.y << "}";
}
Report TabClick(int32_t tab) {
    return {WM_NOTIFY, kTabClick, tab};
}
Report MouseDown(int16_t button, int16_t shift, POINT p) {
    return {WM_NOTIFY, kMouseDown, 0, button, shift, p.x * Units(), p.y * Units()};
}

// A borderless popup: a captioned window would make every test wait for the window
// manager when it closes.
class Host : public controls::WindowBase<Host> {
  public:
    static constexpr const wchar_t* kClassName = L"OrteliaTabTestHost";
    Host() {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        Register(instance, 0, GetSysColorBrush(COLOR_BTNFACE));
        CreateAs(0, L"Tab controls", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, 40, 40, 640, 120,
                 nullptr, nullptr, instance);
        ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    }
    ~Host() { DestroyWindow(Handle()); }

    std::vector<Report> reports;
    std::function<void()> onTabClick; // runs inside the host's TabClick handler
    LRESULT answer = 0;               // the host's result for what it is sent

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NOTIFY) {
            const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
            Report r{msg, hdr->code};
            if (hdr->code == kTabClick) {
                r.lTab = reinterpret_cast<const controls::NotifyTabClick*>(lp)->lTab;
                if (onTabClick)
                    onTabClick();
            } else if (hdr->code == kMouseDown) {
                const auto* m = reinterpret_cast<const controls::NotifyMouseDown*>(lp);
                r = {msg, hdr->code, 0, m->Button, m->Shift, m->X, m->Y};
            }
            reports.push_back(r);
            return answer;
        }
        if (msg == WM_COMMAND || msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) {
            reports.push_back({msg, msg == WM_COMMAND ? HIWORD(wp) : 0u});
            return answer;
        }
        return DefaultHandling(msg, wp, lp);
    }
};

POINT Px(float unitsX, float unitsY) {
    return {std::lround(unitsX / Units()), std::lround(unitsY / Units())};
}

enum Button { kLeft, kRight, kMiddle };

// Presses `button` at `down` and releases it at `up` (client pixels of `target`), each
// message sent to the window under that point.
void Press(HWND target, POINT down, POINT up, Button button, WPARAM keys = 0) {
    const UINT downs[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    const UINT ups[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    for (auto [p, msg] : {std::pair{down, downs[button]}, std::pair{up, ups[button]}}) {
        ClientToScreen(target, &p);
        const HWND under = WindowFromPoint(p);
        ASSERT_TRUE(under == target || IsChild(target, under)) << "another window covers the test";
        ScreenToClient(under, &p);
        SendMessageW(under, msg, keys, MAKELPARAM(p.x, p.y));
    }
}

// The window's client area as it painted itself on screen. Its children are brought up to
// date first and then left alone, so a window that paints over its children shows it.
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[y * width + x]; }
};
Picture Capture(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    const testing_support::ClientPixels shot = testing_support::CopyClientPixels(hwnd);
    Picture pic{shot.width, shot.height, {}};
    for (uint32_t rgb : shot.pixels) // 0x00RRGGBB to COLORREF 0x00BBGGRR
        pic.pixels.push_back(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    return pic;
}

// Every pixel against `expected` (nullopt: not checked); empty when all match.
std::string Mismatches(const Picture& pic,
                       const std::function<std::optional<COLORREF>(int, int)>& expected) {
    std::ostringstream out;
    int count = 0;
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            if (const auto want = expected(x, y); want && *want != pic.At(x, y) && ++count <= 5)
                out << " (" << x << "," << y << ") is " << std::hex << pic.At(x, y) << " not "
                    << *want << std::dec << ";";
    if (count)
        out << " " << count << " pixels wrong";
    return out.str();
}

class TabHeaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(head.Create(host.Handle(), 7, HeaderPixels()));
        for (const wchar_t* caption : kCaptions)
            ASSERT_TRUE(head.AddTab(caption));
    }
    std::vector<int> RaisedTabs() const {
        std::vector<int> raised;
        for (std::size_t i = 0; i < head.Layout().tabs.size(); ++i)
            if (head.Layout().tabs[i].caption.top == 60)
                raised.push_back(static_cast<int>(i));
        return raised;
    }
    POINT CaptionCentre(int tab) const {
        const controls::Rect& c = head.Layout().tabs[tab].caption;
        return Px(c.left + c.width / 2, c.top + c.height / 2);
    }

    controls::ucTabHead head; // declared first: the host's window goes first
    Host host;
};

TEST_F(TabHeaderTest, AddingTabsReportsNothingAndRaisesTheFirst) {
    EXPECT_EQ(host.reports, std::vector<Report>{});
    EXPECT_EQ(head.TabCount(), 5);
    EXPECT_EQ(head.SelectedTab(), 0);
    EXPECT_EQ(RaisedTabs(), std::vector<int>{0});
}

TEST_F(TabHeaderTest, ClickOnACaptionReportsItOnceWhileTheOldDrawingStandsThenRaisesIt) {
    int32_t selectedWhenReported = -1;
    std::vector<int> raisedWhenReported;
    host.onTabClick = [&] {
        selectedWhenReported = head.SelectedTab();
        raisedWhenReported = RaisedTabs();
    };
    int previous = 0;
    for (int tab : {3, 1, 1, 4, 0}) {
        host.reports.clear();
        const auto linesBefore = head.Layout().LinesInPaintOrder();
        Press(head.Handle(), CaptionCentre(tab), CaptionCentre(tab), kLeft);
        EXPECT_EQ(host.reports, std::vector<Report>{TabClick(tab)}) << "clicked " << tab;
        EXPECT_EQ(selectedWhenReported, tab) << "clicked " << tab;
        EXPECT_EQ(raisedWhenReported, std::vector<int>{previous}) << "clicked " << tab;
        EXPECT_EQ(RaisedTabs(), std::vector<int>{tab}) << "clicked " << tab;
        if (tab == previous) {
            EXPECT_EQ(head.Layout().LinesInPaintOrder(), linesBefore) << "clicked " << tab;
        }
        previous = tab;
    }
}

TEST_F(TabHeaderTest, ShowTabReportsAnyIndexLikeAClick) {
    for (int16_t tab : {7, 2, -1}) {
        host.reports.clear();
        head.ShowTab(tab);
        const bool exists = tab >= 0 && tab < 5;
        EXPECT_EQ(host.reports, std::vector<Report>{TabClick(tab)}) << "ShowTab " << tab;
        EXPECT_EQ(head.SelectedTab(), tab);
        EXPECT_EQ(RaisedTabs(), exists ? std::vector<int>{tab} : std::vector<int>{});
        EXPECT_EQ(head.Layout().borderLeft.visible, exists) << "ShowTab " << tab;
    }
}

TEST_F(TabHeaderTest, OnlyALeftClickOnACaptionSelectsAndOnlyPressesOffThemAreReported) {
    const controls::Rect& c3 = head.Layout().tabs[3].caption; // an unselected tab
    const POINT caption2 = CaptionCentre(2), caption3 = CaptionCentre(3);
    const POINT above = Px(c3.left + c3.width / 2, Units()); // over the tab's top edge
    const POINT beside = {Px(c3.left, 0).x - 1, caption3.y}; // between left edge and caption
    const POINT below = {caption3.x, Px(0, c3.top + c3.height).y + 1}; // above the baseline
    const struct {
        const char* what;
        POINT down, up;
        Button button;
        WPARAM keys;
        std::vector<Report> expected;
    } cases[] = {
        {"right on a caption", caption2, caption2, kRight, 0, {}},
        {"middle on a caption", caption2, caption2, kMiddle, 0, {}},
        {"left dragged off a caption", caption2, caption3, kLeft, 0, {}},
        {"left dragged onto a caption", above, caption3, kLeft, 0, {MouseDown(1, 0, above)}},
        {"right, Shift+Ctrl, on the background",
         above,
         above,
         kRight,
         MK_SHIFT | MK_CONTROL,
         {MouseDown(2, 3, above)}},
        {"middle on the background", above, above, kMiddle, 0, {MouseDown(4, 0, above)}},
        {"left beside a caption", beside, beside, kLeft, 0, {MouseDown(1, 0, beside)}},
        {"left below a caption", below, below, kLeft, 0, {MouseDown(1, 0, below)}},
    };
    for (const auto& c : cases) {
        host.reports.clear();
        Press(head.Handle(), c.down, c.up, c.button, c.keys);
        EXPECT_EQ(host.reports, c.expected) << c.what;
        EXPECT_EQ(head.SelectedTab(), 0) << c.what;
    }
}

// The picture outside the captions: button face, then each visible line of the layout
// stamped pixel by pixel in paint order, both ends included.
std::vector<COLORREF> ExpectedHeader(const controls::TabLayout& layout, int width, int height) {
    std::vector<COLORREF> pic(width * height, GetSysColor(COLOR_BTNFACE));
    for (const controls::Line& line : layout.LinesInPaintOrder()) {
        const POINT a = Px(line.from.x, line.from.y), b = Px(line.to.x, line.to.y);
        const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
        EXPECT_TRUE(a.x == b.x || a.y == b.y || std::abs(b.x - a.x) == steps); // 0 or 45 degrees
        for (int k = 0; line.visible && k <= steps; ++k) {
            const int x = a.x + (steps ? k * (b.x - a.x) / steps : 0);
            const int y = a.y + (steps ? k * (b.y - a.y) / steps : 0);
            if (x >= 0 && x < width && y >= 0 && y < height)
                pic[y * width + x] = GetSysColor(static_cast<int>(line.colour));
        }
    }
    return pic;
}

TEST_F(TabHeaderTest, PaintedPixelsAreTheLayoutsLinesInTheCurrentColours) {
    for (bool customColours : {false, true}) {
        std::optional<testing_support::SchemeGuard> colours;
        if (customColours)
            colours.emplace(testing_support::TestScheme(20));
        for (int16_t selected : {0, 2, 4, 7}) {
            head.ShowTab(selected);
            const auto& layout = head.Layout();
            const Picture pic = Capture(head.Handle());
            ASSERT_EQ(pic.width * pic.height, HeaderPixels().right * HeaderPixels().bottom);
            const auto expected = ExpectedHeader(layout, pic.width, pic.height);
            std::vector<int> ink(layout.tabs.size());
            const auto wrong = Mismatches(pic, [&](int x, int y) -> std::optional<COLORREF> {
                for (std::size_t i = 0; i < layout.tabs.size(); ++i) {
                    const auto& c = layout.tabs[i].caption;
                    const POINT tl = Px(c.left, c.top), br = Px(c.left + c.width, c.top + c.height);
                    if (x >= tl.x && x < br.x && y >= tl.y && y < br.y) {
                        ink[i] += pic.At(x, y) != GetSysColor(COLOR_BTNFACE);
                        return std::nullopt;
                    }
                }
                return expected[y * pic.width + x];
            });
            const auto context = "selected " + std::to_string(selected) + ", custom colours " +
                                 std::to_string(customColours);
            EXPECT_EQ(wrong, "") << context;
            for (std::size_t i = 0; i < ink.size(); ++i)
                EXPECT_GT(ink[i], 20) << "text pixels of caption " << i << ", " << context;
            if (layout.borderLeft.visible) { // the baseline is open under the raised tab
                const int from = Px(layout.borderLeft.to.x, 0).x + 1;
                const int to = std::min<int>(Px(layout.borderRight.from.x, 0).x, pic.width);
                ASSERT_GT(to - from, 20) << context;
                for (int x = from; x < to; ++x)
                    EXPECT_EQ(pic.At(x, Px(0, 360).y), GetSysColor(COLOR_BTNFACE))
                        << "x " << x << context;
            }
        }
    }
}

class TabPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(page.Create(host.Handle(), 20, {0, 25, 401, 62}));
        field = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"12",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP, 20, 8, 80, 20, page.Handle(),
                                reinterpret_cast<HMENU>(31), GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(field);
        host.reports.clear();
    }

    controls::ucTabContainer page; // declared first: the host's window goes first
    Host host;
    HWND field = nullptr;
};

TEST_F(TabPageTest, EdgesLieOnTheFirstColumnAndOnTheLastRowAndColumn) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT),
                   dark = GetSysColor(COLOR_3DDKSHADOW);
    for (SIZE size : {SIZE{401, 37}, SIZE{200, 30}}) { // the first is 6015 x 555 units at 96 dpi
        SetWindowPos(page.Handle(), nullptr, 0, 25, size.cx, size.cy, SWP_NOZORDER);
        const Picture pic = Capture(page.Handle());
        ASSERT_EQ(pic.width * pic.height, size.cx * size.cy);
        const auto wrong = Mismatches(pic, [&](int x, int y) -> std::optional<COLORREF> {
            if (x >= 20 && x < 100 && y >= 8 && y < 28) // the field, which paints itself
                return std::nullopt;
            return x == size.cx - 1 || y == size.cy - 1 ? dark : x == 0 ? light : face;
        });
        EXPECT_EQ(wrong, "") << "page " << size.cx << " x " << size.cy;
        EXPECT_EQ(pic.At(95, 18), GetSysColor(COLOR_WINDOW)) << "the page painted over its field";
    }
}

TEST_F(TabPageTest, PressesOnThePageAreReportedAndPressesOnAFieldAreNot) {
    const POINT empty{200, 30}, corner{0, 0}, onField{60, 18};
    const struct {
        POINT at;
        Button button;
        std::vector<Report> expected;
    } cases[] = {
        {empty, kRight, {MouseDown(2, 0, empty)}},
        {corner, kLeft, {MouseDown(1, 0, corner)}},
        {empty, kMiddle, {MouseDown(4, 0, empty)}},
        {onField, kLeft, {}},
    };
    for (const auto& c : cases) {
        host.reports.clear();
        Press(page.Handle(), c.at, c.at, c.button);
        std::erase_if(host.reports, [](const Report& r) { return r.code != kMouseDown; });
        EXPECT_EQ(host.reports, c.expected) << "press at " << c.at.x << "," << c.at.y;
    }
}

TEST_F(TabPageTest, FieldsNotificationsAreAnsweredByTheHost) {
    SetWindowTextW(field, L"3");
    EXPECT_EQ(host.reports,
              (std::vector<Report>{{WM_COMMAND, EN_UPDATE}, {WM_COMMAND, EN_CHANGE}}));

    NMHDR hdr{field, 31, 0xA100}; // some notification of the field's
    HDC dc = GetDC(field);
    const std::pair<UINT, WPARAM> cases[] = {
        {WM_COMMAND, MAKEWPARAM(31, EN_KILLFOCUS)},
        {WM_NOTIFY, 31},
        {WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc)},
        {WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc)},
    };
    for (auto [msg, wp] : cases) {
        const LPARAM lp =
            msg == WM_NOTIFY ? reinterpret_cast<LPARAM>(&hdr) : reinterpret_cast<LPARAM>(field);
        for (LRESULT answer : {LRESULT{0x1234}, LRESULT{0}}) {
            host.reports.clear();
            host.answer = answer;
            const LRESULT result = SendMessageW(page.Handle(), msg, wp, lp);
            EXPECT_EQ(host.reports.size(), 1u) << "message " << msg;
            if (answer || msg == WM_COMMAND || msg == WM_NOTIFY) {
                EXPECT_EQ(result, answer) << "message " << msg;
            } else { // the host left the colours alone: the default brush
                EXPECT_NE(result, 0) << "message " << msg;
            }
        }
    }
    ReleaseDC(field, dc);
}

} // namespace
