// Reading the screen: groups of text by their pixels, and where a close box is.
#pragma once

#include "processes.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace blackbox {

// Groups of text in a rectangle of the screen: pixels nearer the system colour `ink` than
// `paper`, except straight runs longer than 60 % of the extent (edges, borders). Columns
// (or rows) of ink closer than `gap` empty ones form one group, returned in screen pixels.
inline std::vector<RECT> InkGroups(const RECT& area, bool columns, int ink, int paper, int gap) {
    const int w = std::max<int>(0, area.right - area.left),
              h = std::max<int>(0, area.bottom - area.top);
    std::vector<uint32_t> pixels(size_t(w) * h);
    if (pixels.empty())
        return {};
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    std::copy_n(static_cast<const uint32_t*>(bits), pixels.size(), pixels.begin());
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    auto distance = [](uint32_t p, COLORREF c) {
        const int r = int(p >> 16 & 0xFF) - GetRValue(c), g = int(p >> 8 & 0xFF) - GetGValue(c),
                  b = int(p & 0xFF) - GetBValue(c);
        return r * r + g * g + b * b;
    };
    std::vector<char> mark(pixels.size()), line(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i)
        mark[i] = distance(pixels[i], GetSysColor(ink)) < distance(pixels[i], GetSysColor(paper));
    for (int pass = 0; pass < 2; ++pass) { // runs along rows, then along columns
        const int outer = pass ? w : h, inner = pass ? h : w, longRun = std::max(3, inner * 6 / 10);
        for (int o = 0; o < outer; ++o)
            for (int i = 0, run = 0; i <= inner; ++i) {
                auto at = [&](int k) { return pass ? size_t(k) * w + o : size_t(o) * w + k; };
                if (i < inner && mark[at(i)]) {
                    ++run;
                    continue;
                }
                for (int k = i - run; run >= longRun && k < i; ++k)
                    line[at(k)] = 1;
                run = 0;
            }
    }
    std::vector<RECT> groups;
    for (int i = 0, last = -gap - 2; i < (columns ? w : h); ++i) {
        int first = -1, final = -1;
        for (int j = 0; j < (columns ? h : w); ++j)
            if (const size_t k = columns ? size_t(j) * w + i : size_t(i) * w + j;
                mark[k] && !line[k])
                final = j, first = first < 0 ? j : first;
        if (first < 0)
            continue;
        RECT r = columns ? RECT{i, first, i + 1, final + 1} : RECT{first, i, final + 1, i + 1};
        OffsetRect(&r, area.left, area.top);
        if (groups.empty() || i - last > gap + 1)
            groups.push_back(r);
        else
            UnionRect(&groups.back(), &groups.back(), &r);
        last = i;
    }
    return groups;
}

// The point where a window reports its close box, along the middle of its title bar.
inline std::optional<POINT> CloseBoxPoint(HWND hwnd) {
    const RECT outer = RectOf(hwnd);
    POINT client{0, 0};
    ClientToScreen(hwnd, &client);
    const int y = (outer.top + client.y) / 2;
    for (int x = outer.right - 1; x > (outer.left + outer.right) / 2; --x)
        if (Ask(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
            return POINT{x, y};
    return std::nullopt;
}

} // namespace blackbox
