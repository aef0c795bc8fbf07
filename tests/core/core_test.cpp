// The cores' rules by worked examples: number texts, the formulas and the key filter (the
// converter's are the main window's), the stored settings, and the geometry worked by hand.
#include "calc/formulas.h"
#include "calc/key_filter.h"
#include "calc/number_text.h"
#include "controls/field_value.h"
#include "controls/page_edges.h"
#include "controls/tab_layout.h"
#include "docking/dock_placement.h"
#include "settings/registry_data.h"
#include "settings/settings_code.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

TEST(FieldValue, TakesTheLongestLeadingNumber) {
    // clang-format off
    const struct { std::string text; double value; } rows[] = {
        {"1.0", 1}, {"12.5.3", 12.5}, {"3-4", 3}, {"1,5", 1}, {"", 0}, {".", 0}, {"-", 0},
        {"5-", 5}, {"--", 0}, {"1.2.3", 1.2}, {"-3", -3}, {"+5", 5}, {".5", 0.5}, {"-.25", -0.25},
        {"12px", 12}, {"1 5", 15}, {" \t- 2\n.5", -2.5}, {"1\r5", 1}, {"x5", 0}, {"1e3", 1000},
        {"1D2", 100}, {"2.5E-1", 0.25}, {"1d+2", 100}, {"1e", 1}, {"1e+x", 1}, {"e5", 0},
        {"&H10", 16}, {"&hfaA", 4010}, {"&O17", 15}, {"&o8", 0}, {"&H", 0}, {"&X1", 0},
        {"& H 1 0", 16}, {"&HFFFFFFFF", 4294967295.0}, {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL},
        {"1e-999", 0}, {"1e99999999999999999999", HUGE_VAL},
        // Beyond the double range after hundreds of digits, and texts of thousands.
        {std::string(400, '9'), HUGE_VAL}, {"0." + std::string(400, '0') + "1e500", 1e99},
        {"0." + std::string(499, '0') + "1e100", 0}, {std::string(10000, ' ') + "42", 42},
        {"&H" + std::string(10000, 'F'), HUGE_VAL},
        {std::string(400, '0') + "." + std::string(400, '0') + "1e750", HUGE_VAL}};
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(controls::FieldValue(r.text), r.value) << '"' << r.text.substr(0, 20) << '"';
}

TEST(NumberText, TheThreeLayouts) {
    // "2": two-decimal text; "m"/"f": length text, metric or imperial; "0": whole number.
    // clang-format off
    const struct { char layout; double x; std::string text; } rows[] = {
        {'2', 5.5228, "5.52"}, {'2', 0.375, "0.38"}, {'2', 0.3, "0.30"}, {'2', 4976.068, "4976.07"},
        {'2', -19.037, "-19.04"}, {'2', -0.001, "0.00"}, {'2', 0.125, "0.12"}, {'2', NAN, "--"},
        {'2', 1e20, "100000000000000000000.00"}, {'2', HUGE_VAL, "--"}, {'2', 1.7e308, "--"},
        {'f', 16.3139, "53.51f"}, {'f', -0.001, "0.00f"}, {'m', HUGE_VAL, "--"}, {'f', 1e307, "--"},
        {'0', -0.0, "0"}, {'0', -45, "-45"}, {'0', 135, "135"}, {'0', NAN, "--"},
        // Feet halfway between two cents where feet * 100 is no longer exact: away from 0.
        {'f', 20000278001920.03, "65617709979790.13f"},
        {'f', -165377619899556.88, "-542577493106612.13f"}};
    // clang-format on
    for (const auto& r : rows) {
        const std::string text = r.layout == '2'   ? calc::TwoDecimalText(r.x)
                                 : r.layout == '0' ? calc::WholeNumberText(r.x)
                                                   : calc::LengthText(r.x, r.layout == 'm');
        EXPECT_EQ(text, r.text) << r.layout << ' ' << r.x;
    }
}

TEST(Formulas, WorkedExamples) {
    // clang-format off
    const struct { int n; std::string a, b; char units; std::string result, extra{}; } rows[] = {
        {1, "90", "10", 'm', "5.52"}, {1, "180", "10", 'm', "13.33"}, {1, "90", "2", 'm', "1.10"},
        {1, "45", "100", 'm', "26.52"}, {1, "300", "1000", 'm', "4976.07"},
        {1, "0", "10", 'm', "0.00"}, {1, "500", "10", 'f', "-19.04"}, {1, "500", "0", 'm', "0.00"},
        {1, "90", "25", 'm', "13.81"}, {1, "90", "1e400", 'm', "--"},
        // A full circle's tangent does not exist; just short of it, a long handle.
        {1, "360", "10", 'm', "--"}, {1, "-360", "10", 'm', "--"}, {1, "1080", "10", 'm', "--"},
        {1, "359.9", "10", 'm', "30557.75"}, {1, "720", "10", 'm', "0.00"},
        {2, "1.0", "1.0", 'm', "-45° or 135°"}, {2, "2", "1", 'm', "-27° or 153°"},
        {2, "1", "2", 'm', "-63° or 117°"}, {2, "1", "-1", 'm', "45° or -135°"},
        {2, "-1", "1", 'm', "-135° or 45°"}, {2, "1", "0", 'm', "0° or -180°"},
        {2, "-1", "0", 'm', "-180° or 0°"}, {2, "0", "1", 'm', "-90° or 90°"},
        {2, "0", "-1", 'f', "90° or -90°"}, {2, "100", "0.5", 'm', "0° or -180°"},
        {2, "-100", "-0.5", 'm', "180° or 0°"}, {2, "0", "0", 'm', "--"},
        {2, "", "-", 'm', "--"}, {2, "1e999", "1e999", 'm', "--"},
        {3, "6", "2", 'm', "19.00m"}, {3, "6", "2", 'f', "62.34f"}, {3, "", "", 'm', "7.00m"},
        {3, "8", "4", 'm', "39.00m"}, {3, "8", "4", 'f', "127.95f"}, {3, "", "", 'f', "22.97f"},
        {4, "88", "1.0", 'm', "30.49m", "2.49 sec"}, {4, "100", "1.5", 'm', "26.25m", "1.89 sec"},
        {4, "88", "1.0", 'f', "259.06f", "4.01 sec"}, {4, "40", "1.0", 'f', "53.51f", "1.82 sec"},
        // No acceleration, no launch: neither output exists.
        {4, "88", "0", 'm', "--", "--"}, {4, "88", ".", 'f', "--", "--"},
        {4, "1e400", "1", 'm', "--", "--"}, {4, "0", "1", 'm', "0.00m", "0.00 sec"}};
    // clang-format on
    for (const auto& r : rows) {
        calc::FormulaResult out;
        ASSERT_TRUE(calc::Evaluate(r.n, r.a, r.b, r.units == 'm', out)) << r.n;
        EXPECT_EQ(std::pair(out.result, out.extra), std::pair(r.result, r.extra))
            << r.n << " " << r.a << ", " << r.b;
    }
    calc::FormulaResult kept{"kept", "kept"};
    for (int n : {0, 5, -1})
        EXPECT_FALSE(calc::Evaluate(n, "1", "1", true, kept)) << n;
    EXPECT_EQ(kept.result, "kept");
}

TEST(KeyFilter, EachGroupsCharacters) {
    // Permissions (".", "-"); what passes, Ctrl+A, C, V, X and Z among it; what does not.
    const std::tuple<bool, bool, std::string, std::string> rows[] = {
        {false, false, "0123456789\b\r\x01\x03\x16\x18\x1a", ".-, aE+/:\x02\x1b\t\x19"},
        {true, false, "0123456789\b\r.\x01\x03\x16\x18\x1a", "-, aE+\x02\x19"},
        {true, true, "0123456789\b\r.-\x01\x03\x16\x18\x1a", ", aE+\x02\x19"}};
    for (const auto& [decimal, minus, passes, cancelled] : rows)
        for (char c : passes + cancelled + "\xB0") {
            int16_t code = c; // "\xB0" as -80: a character beyond ASCII
            calc::FilterNumericKey(code, decimal, minus);
            EXPECT_EQ(code, passes.find(c) != std::string::npos ? c : 0)
                << "code " << int(c) << " decimal " << decimal << " minus " << minus;
        }
}

TEST(StoredSettings, RegistryBytesAsTextAndTheCodeInBothDirections) {
    using Bytes = std::vector<uint8_t>;
    const Bytes code{'1', ':', '1', ':', '0', ':', '2', '2', ':', '1', ':', '1'};
    // clang-format off
    // A value's bytes by registry type, with or without the terminator, over an earlier text.
    const struct { uint32_t type; Bytes in; std::string was; bool ok; std::string now; } values[] = {
        {1, code, "", true, "1:1:0:22:1:1"}, {1, {'2', ':', '3', 0}, "", true, "2:3"},
        {1, {0}, "old", true, ""}, {1, {}, "old", false, ""},
        {1, {'a', 0, 'b'}, "", true, std::string("a\0b", 3)},
        {4, {0x16, 0, 0, 0}, "", true, "&h000016"}, // the last NUL goes first
        {4, {0x78, 0x56, 0x34, 0x12}, "", true, "&h12345678"},
        {4, {0x0A, 0xFF, 0x01, 0x80}, "x", true, "&hx8001FF0A"},
        {2, code, "", true, ""}, {3, {1, 2, 3}, "kept", true, "kept"}}; // REG_EXPAND_SZ, BINARY
    // A stored code and the settings' code once it is applied over metric off ("-": refused).
    const struct { std::string code, applied = "-"; } codes[] = {
        {"1:1:0:22:1:1", "1:1:0:22:1:1"}, {"0:3:5:-7:0", "0:3:5:-7:0:0"}, // five fields: kept
        {"1:2:3:4:0:0:junk:more", "1:2:3:4:0:0"}, {"1:1:0:22:1:1:", "1:1:0:22:1:1"},
        {"2:0:0:0:-1:2", "1:0:0:0:1:1"}, {"0.4:0:0:0:-0:0.0", "1:0:0:0:0:0"}, // not 0: true
        {"1:2.5:3.4:3.5:1:1", "1:2:3:4:1:1"}, {"1:-2.5:-3.5:2.51:1:1", "1:-2:-4:3:1:1"},
        {"1: 5 :\t6:+7:1:1", "1:5:6:7:1:1"}, {"1:7:0:22:1:1", "1:7:0:22:1:1"}, // corner kept
        {"1:-32768:-2147483648:2147483647:1:1", "1:-32768:-2147483648:2147483647:1:1"},
        {"1:00000000000000000001:0:0:1:1", "1:1:0:0:1:1"},
        {"1:1:0:0:1:" + std::string(500, '0') + "1", "1:1:0:0:1:1"},
        // Invalid, so "-": too few fields, an empty or non-numeric field, out of range.
        {""}, {"1:1:0:22"}, {"::::"}, {"1::0:22:1:1"}, {"1:1:0:22:1:"}, {"a:1:0:22:1:1"},
        {"1:1:5px:22:1:1"}, {"1:1:0:22:1:x"}, {"1:1:.5:22:1:1"}, {"1:1:5.:22:1:1"},
        {"1:1:1e3:22:1:1"}, {"1:1:&H10:22:1:1"}, {"1:1:- 5:0:1:1"}, {"1:1:0:2 2:1:1"},
        {"1:32768:0:22:1:1"}, {"1:-32769:0:22:1:1"}, {"1:32767.5:0:22:1:1"},
        {"1:1:2147483648:22:1:1"}, {"1:1:0:-2147483649:1:1"}, {"1:1:2147483647.5:0:1:1"},
        {"1:1:" + std::string(30, '9') + ":0:1:1"}, {"&h000016"}};
    // clang-format on
    for (const auto& r : values) {
        std::string result = r.was;
        EXPECT_EQ(settings::DecodeRegistryValue(r.type, r.in, result), r.ok) << r.type;
        EXPECT_EQ(result, r.now) << "type " << r.type << ", " << r.in.size() << " bytes";
    }
    for (const auto& r : codes) {
        settings::Settings s{.bMetric = false, .bEditorSeen = true};
        const auto stored = settings::ParseSettingsCode(r.code);
        if (stored)
            settings::ApplyStoredSettings(*stored, s);
        EXPECT_EQ(stored ? settings::ComposeSettingsCode(s) : "-", r.applied) << r.code;
        EXPECT_TRUE(s.bEditorSeen) << "never stored, never loaded: " << r.code;
    }
}

using controls::Line, controls::PixelRect, controls::Rect, docking::MainWindow;
constexpr auto kHi = controls::SysColour::ButtonHighlight;
constexpr auto kShadow = controls::SysColour::ButtonShadow;

// Lines as "x,y-x,y" and their colour (h highlight, s shadow, d dark shadow), or "hidden".
std::string Text(const auto& lines) {
    std::ostringstream text;
    for (const Line& l : lines) {
        const char* colour = l.colour == kHi ? "h " : l.colour == kShadow ? "s " : "d ";
        if (l.visible)
            text << l.from.x << ',' << l.from.y << '-' << l.to.x << ',' << l.to.y << colour;
        else
            text << "hidden ";
    }
    return text.str();
}

TEST(TabLayout, WorkedExamplesAndThePageEdges) {
    const auto t = controls::LayoutTabs({600, 750, 900}, 1, 6015);
    ASSERT_EQ(t.tabs.size(), 3u);
    EXPECT_EQ(
        std::tuple(t.tabs[0].caption, t.tabs[1].caption, t.tabs[2].caption),
        std::tuple(Rect{30, 120, 600, 195}, Rect{735, 60, 750, 195}, Rect{1950, 120, 900, 195}));
    // The last tab's edges first, so that earlier tabs' lines cover them; the baseline last.
    EXPECT_EQ(Text(t.LinesInPaintOrder()),
              "hidden 1620,60-2910,60h 2910,60-2910,360d "
              "705,0-705,360h 705,0-1545,0h 1545,0-1905,360s "
              "0,60-0,360h 0,60-690,60h 690,60-690,360d 0,360-705,360h 1905,360-6015,360h ");
    // Only a caption's rectangle is a click area.
    // clang-format off
    const struct { float x, y; int32_t tab; } hits[] = {
        {30, 120, 0}, {629, 314, 0}, {630, 120, -1}, {29, 120, -1}, {30, 119, -1}, {30, 315, -1},
        {735, 60, 1}, {1484, 254, 1}, {700, 200, -1}, {1950, 120, 2}, {1600, 60, -1},
        {3000, 200, -1}};
    // clang-format on
    for (const auto& h : hits)
        EXPECT_EQ(t.HitTest({h.x, h.y}), h.tab) << h.x << ", " << h.y;
    // The first tab selected: the left baseline has no length.
    EXPECT_EQ(Text(controls::LayoutTabs({600, 750}, 0, 6015).LinesInPaintOrder()),
              "hidden 765,60-1905,60h 1905,60-1905,360d 0,0-0,360h 0,0-690,0h 690,0-1050,360s "
              "0,360-0,360h 1050,360-6015,360h ");
    // A selection outside the tabs raises none and closes the baseline.
    for (int selected : {2, -1, 7})
        EXPECT_EQ(Text(controls::LayoutTabs({600, 750}, selected, 6015).LinesInPaintOrder()),
                  "705,60-705,360h 705,60-1545,60h 1545,60-1545,360d 0,60-0,360h 0,60-690,60h "
                  "690,60-690,360d hidden 0,360-6015,360h ")
            << selected;
    EXPECT_EQ(Text(controls::LayoutTabs({}, 0, 4800).LinesInPaintOrder()),
              "hidden 0,360-4800,360h ");
    // Too narrow: the right segment runs leftwards from the slant's foot.
    EXPECT_EQ(Text(std::vector{controls::LayoutTabs({600, 750, 900}, 2, 1000).borderRight}),
              "2910,360-1000,360h ");
    // The page's edges, at 96 and 120 dpi: on the first column and the last row and column.
    EXPECT_EQ(Text(controls::PageEdges(6015, 555, 15, 15)) + "| " +
                  Text(controls::PageEdges(6012, 552, 12, 12)),
              "0,0-0,555h 0,540-6015,540d 6000,0-6000,555d | 0,0-0,552h 0,540-6012,540d "
              "6000,0-6000,552d ");
}

// Over its owner at 96 dpi, on monitors right (192) and left (144), the main window; 1 x 0 px.
TEST(Placement, CentredOverItsOwnerFramedForItsDpiInsideItsMonitor) {
    const auto edges = [](auto r) { return std::tuple(r.left, r.top, r.right, r.bottom); };
    // clang-format off
    const struct { float w, h; int dpi; controls::FrameInsets frame;
                   PixelRect over, work, placed; } rows[] = {
        {4065, 3885, 96, {3, 22, 3, 3}, {100, 100, 509, 192}, {0, 0, 1280, 1024}, {166, 4, 443, 288}},
        {4065, 3885, 192, {6, 44, 6, 6}, {4200, 50, 4470, 260}, {1920, 0, 4480, 1400}, {3926, 0, 4480, 568}},
        {4065, 3885, 144, {4, 33, 4, 4}, {-500, 800, -100, 900}, {-1600, 0, 0, 900}, {-507, 474, -92, 900}},
        {6045, 945, 120, {3, 26, 3, 3}, {0, 0, 1280, 1024}, {0, 0, 1280, 1024}, {385, 458, 895, 566}},
        {8, 7, 96, {0, 0, 0, 0}, {0, 0, 100, 100}, {0, 0, 100, 100}, {49, 50, 50, 50}}};
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(edges(controls::PlaceCentred(r.w, r.h, r.dpi, r.frame, r.over, r.work)),
                  edges(r.placed))
            << r.dpi << " dpi";
}

// The tick: a docked 409 x 92 window's outer top-left pixel at each corner, by hand from the
// pixel formulas; the tracker's states; a window that no monitor shows brought back.
TEST(Docking, CornersTrackerStatesAndAWindowThatNoMonitorShowsComingBack) {
    using enum docking::TickAction;
    const PixelRect editor{100, 200, 1300, 900}, own{5, 5, 414, 97};
    // clang-format off
    const struct { int16_t corner; int32_t ox, oy, left, top; } corners[] = {
        {0, 0, 22, 100, 222}, {1, 0, 22, 891, 222}, {2, 0, 22, 100, 786}, {3, 0, 22, 891, 786},
        {0, -3, -5, 97, 195}, {1, -3, -5, 894, 195}, {2, 7, -5, 107, 813}, {3, -3, 40, 894, 768},
        {3, 0, 0, 891, 808}, {0, 2147483647, -2147483647 - 1, 32767, -32768}}; // held to 16 bits
    // The editor not found (0), found (1), gone before its rectangle was read (2).
    const struct { int found; settings::Settings s; docking::TickAction action; } states[] = {
        {1, {}, Dock}, {1, {.bDockEnabled = false}, None}, {2, {}, None},
        {1, {.iDockCorner = 7}, None}, {1, {.iDockCorner = -1}, None},
        {1, {.iDockCorner = 4}, None}, {0, {}, None}, {0, {.bEditorSeen = true}, Unload},
        {0, {.bDockEnabled = false, .bEditorSeen = true}, Unload},
        {0, {.bAutoClose = false, .bEditorSeen = true}, None}};
    // Back to the primary's middle unless a monitor shows 40 px of its title bar (60 at 144 dpi).
    const struct { int dpi, left, top; bool back; } away[] = {
        {96, -32000, -32000, true}, {96, -249, 1022, true}, {96, -1500, 300, false},
        {96, 1237, 500, false}, {96, 1238, 500, true}, {96, 100, -21, false}, {96, 100, -22, true},
        {144, 1217, 500, false}, {144, 1218, 500, true}};
    // clang-format on
    for (int dpi : {96, 120, 144})
        for (const auto& r : corners) {
            const settings::Settings s{
                .iDockCorner = r.corner, .lDockOffsetX = r.ox, .lDockOffsetY = r.oy};
            const auto d = docking::DecideTick(s, true, editor, {own, {}, dpi}, {});
            EXPECT_EQ(std::tuple(d.left, d.top), std::tuple(r.left, r.top))
                << r.corner << " at " << dpi << " dpi";
        }
    for (const auto& r : states) {
        const auto rect = r.found == 1 ? std::optional(editor) : std::nullopt;
        const auto d = docking::DecideTick(r.s, r.found > 0, rect, {own, {}, 96}, {});
        EXPECT_EQ(d.action, r.action)
            << r.found << r.s.bDockEnabled << r.s.iDockCorner << r.s.bAutoClose << r.s.bEditorSeen;
        EXPECT_EQ(d.editorSeen, r.found || r.s.bEditorSeen);
    }
    const PixelRect areas[] = {{0, 0, 1280, 1024}, {-1600, 0, 0, 900}};
    for (const auto& r : away) {
        const MainWindow window{{r.left, r.top, r.left + 409, r.top + 88}, {3, 22, 3, 3}, r.dpi};
        const auto d = docking::DecideTick({.bAutoClose = false}, false, {}, window, areas);
        EXPECT_EQ(std::tuple(d.action, d.left, d.top),
                  r.back ? std::tuple(BringBack, 435, 468) : std::tuple(None, 0, 0))
            << r.left << ", " << r.top << " at " << r.dpi << " dpi";
    }
}

} // namespace
