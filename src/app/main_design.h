// The main window's design: every control with its place in layout units (1/1440 inch),
// its tab index and its initial text. Pure data; the Win32 shell converts to pixels.
#pragma once

#include "calc/key_filter.h"
#include "controls/geometry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace app {

inline constexpr float kMainClientWidth = 6045;
inline constexpr float kMainClientHeight = 945;

inline constexpr controls::Rect kHeaderRect{0, 0, 6015, 375};
// All five pages share this rectangle, overlapping the header's last row.
inline constexpr controls::Rect kPageRect{0, 360, 6015, 555};
inline constexpr int kPageCount = 5;

inline constexpr std::array<const char*, kPageCount> kTabCaptions{
    "CP Length", "0g Banking", "Station Length", "LIM Length", "Converter"};

// The groups of fields: four calculators, then the converter's two pairs.
enum class Group : int8_t { Formula1, Formula2, Formula3, Formula4, Formula5a, Formula5b };
inline constexpr int kGroupCount = 6;
inline constexpr int kMaxGroupSize = 3; // two inputs and a result

// Control ids: the header, the pages after it, and each field's id, which says its group
// and its index in the group, as a control array's name and index do.
inline constexpr int kHeaderId = 10;
inline constexpr int kFirstPageId = 20;
inline constexpr int kFirstFieldId = 100;
constexpr int FieldId(Group group, int index) {
    return kFirstFieldId + static_cast<int>(group) * 10 + index;
}
constexpr bool IsFieldId(int id) {
    return id >= kFirstFieldId && id < FieldId(Group::Formula5b, kMaxGroupSize);
}
constexpr Group GroupOfId(int id) {
    return static_cast<Group>((id - kFirstFieldId) / 10);
}
constexpr int IndexOfId(int id) {
    return (id - kFirstFieldId) % 10;
}

// Which typed characters each group accepts ("." and "-").
inline constexpr std::array<calc::KeyPermissions, kGroupCount> kGroupKeys{{
    {false, false}, // CP Length: whole angles and radii
    {true, true},   // 0g Banking: signed loads
    {false, false}, // Station Length: whole cars and rows
    {true, false},  // LIM Length: unsigned speed and acceleration
    {true, true},   // Converter, metres and feet
    {true, true},   // Converter, km/h and mph
}};

enum class Kind : int8_t {
    Input,      // editable, right-aligned
    Result,     // read-only on button face, right-aligned
    Label,      // left-aligned caption
    ExtraLabel, // centred, in the 3D dark shadow colour
    Line,       // a one-pixel vertical line in the window-text colour
};

// One control placed on a page. `group`/`index` identify fields of a control array. The
// rows stand in the design's tab order, which is the order in which they are created.
struct ControlDesign {
    int page;
    Kind kind;
    controls::Rect rect;
    const char* text;
    Group group;
    int index;
};

// The design tables keep one control per line.
// clang-format off
inline constexpr float kInputWidth = 555, kResultWidth = 1155, kLabelWidth = 1155;
inline constexpr float kConverterBoxWidth = 675, kConverterLabelWidth = 555;
inline constexpr float kBoxTop = 120, kBoxHeight = 285, kLabelTop = 180, kLabelHeight = 195;

// The three fields and two labels of one calculator page, on the shared grid.
constexpr std::array<ControlDesign, 5> CalculatorRow(int page, Group g, const char* in0,
                                                     const char* label0, const char* in1,
                                                     const char* label1, const char* result) {
    return {{
        {page, Kind::Input, {120, kBoxTop, kInputWidth, kBoxHeight}, in0, g, 0},
        {page, Kind::Label, {720, kLabelTop, kLabelWidth, kLabelHeight}, label0, g, -1},
        {page, Kind::Input, {1920, kBoxTop, kInputWidth, kBoxHeight}, in1, g, 1},
        {page, Kind::Label, {2520, kLabelTop, kLabelWidth, kLabelHeight}, label1, g, -1},
        {page, Kind::Result, {3780, kBoxTop, kResultWidth, kBoxHeight}, result, g, 2},
    }};
}

inline constexpr auto kCpLengthRow =
    CalculatorRow(0, Group::Formula1, "90", "Degrees", "10", "Radius", "5.52");
inline constexpr auto kBankingRow = CalculatorRow(1, Group::Formula2, "1.0", "g Vertical", "1.0",
                                                  "g Lateral", "-45\u00B0 or 135\u00B0");
inline constexpr auto kStationRow =
    CalculatorRow(2, Group::Formula3, "6", "Cars per Train", "2", "Rows per Car", "19.00m");
inline constexpr auto kLimRow =
    CalculatorRow(3, Group::Formula4, "88", "Kmph", "1.0", "g Acceleration", "30.49m");

// "LIM Length"'s launch time beside its result.
inline constexpr ControlDesign kLimExtra{
    3, Kind::ExtraLabel, {4980, 165, 975, kLabelHeight}, "2.49 sec", Group::Formula4, -1};

inline constexpr std::array<ControlDesign, 9> kConverterControls{{
    {4, Kind::Input, {120, kBoxTop, kConverterBoxWidth, kBoxHeight}, "1", Group::Formula5a, 0},
    {4, Kind::Label, {840, kLabelTop, kConverterLabelWidth, kLabelHeight}, "m", Group::Formula5a, -1},
    {4, Kind::Input, {1440, kBoxTop, kConverterBoxWidth, kBoxHeight}, "3.28", Group::Formula5a, 1},
    {4, Kind::Label, {2160, kLabelTop, kConverterLabelWidth, kLabelHeight}, "f", Group::Formula5a, -1},
    // Line1: from (3000, 0) to (3000, 540), both ends drawn.
    {4, Kind::Line, {3000, 0, 15, 555}, "", Group::Formula5a, -1},
    {4, Kind::Input, {3120, kBoxTop, kConverterBoxWidth, kBoxHeight}, "1", Group::Formula5b, 0},
    {4, Kind::Label, {3840, kLabelTop, kConverterLabelWidth, kLabelHeight}, "Kmph", Group::Formula5b, -1},
    {4, Kind::Input, {4440, kBoxTop, kConverterBoxWidth, kBoxHeight}, "0.62", Group::Formula5b, 1},
    {4, Kind::Label, {5160, kLabelTop, kConverterLabelWidth, kLabelHeight}, "Mph", Group::Formula5b, -1},
}};
// clang-format on

// Every control on the pages in creation order: the calculators' rows, the launch time,
// then the converter.
inline constexpr int kControlCount = 4 * 5 + 1 + 9;
constexpr std::array<const ControlDesign*, kControlCount> AllControls() {
    std::array<const ControlDesign*, kControlCount> all{};
    size_t n = 0;
    for (const auto* row : {&kCpLengthRow, &kBankingRow, &kStationRow, &kLimRow})
        for (const ControlDesign& d : *row)
            all[n++] = &d;
    all[n++] = &kLimExtra;
    for (const ControlDesign& d : kConverterControls)
        all[n++] = &d;
    return all;
}

} // namespace app
