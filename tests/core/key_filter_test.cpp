#include "calc/key_filter.h"

#include <gtest/gtest.h>

namespace {

int16_t Filtered(int16_t code, bool decimal, bool minus) {
    calc::FilterNumericKey(code, decimal, minus);
    return code;
}

TEST(FilterNumericKey, PermissionMatrix) {
    // Each row: a typed code and whether it passes with (no ".", no "-"), (".", no "-"),
    // (".", "-"), (no ".", "-").
    const struct {
        int16_t code;
        bool passes[4];
    } rows[] = {
        {8, {true, true, true, true}},  // Backspace
        {13, {true, true, true, true}}, // Enter
        {'0', {true, true, true, true}},     {'9', {true, true, true, true}},
        {'.', {false, true, true, false}},   {'-', {false, false, true, true}},
        {',', {false, false, false, false}}, {' ', {false, false, false, false}},
        {'a', {false, false, false, false}}, {'E', {false, false, false, false}},
        {'/', {false, false, false, false}}, {':', {false, false, false, false}},
        {'+', {false, false, false, false}}, {3, {false, false, false, false}},  // Ctrl+C
        {22, {false, false, false, false}},  {24, {false, false, false, false}}, // Ctrl+V, X
        {26, {false, false, false, false}},  {27, {false, false, false, false}}, // Ctrl+Z, Esc
        {9, {false, false, false, false}},   {0x00B0, {false, false, false, false}},
        {-1, {false, false, false, false}},
    };
    const bool permissions[4][2] = {{false, false}, {true, false}, {true, true}, {false, true}};
    for (const auto& row : rows)
        for (int p = 0; p < 4; ++p) {
            const int16_t out = Filtered(row.code, permissions[p][0], permissions[p][1]);
            EXPECT_EQ(out, row.passes[p] ? row.code : 0)
                << "code " << row.code << " with decimal=" << permissions[p][0]
                << " minus=" << permissions[p][1];
        }
}

} // namespace
