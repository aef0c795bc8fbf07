#include "controls/win32/ucTabContainer.h"

#include "controls/page_edges.h"
#include "controls/win32/dpi.h"
#include "controls/win32/notifications.h"
#include "controls/win32/paint.h"

namespace controls {

bool ucTabContainer::Create(HWND parent, int id, const RECT& bounds) {
    scale_ = WindowLayoutScale(parent);
    // WS_CLIPCHILDREN keeps the page's painting off its fields; WS_EX_CONTROLPARENT lets
    // dialog-style Tab navigation step into them.
    return CreateChild(parent, id, bounds, WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT);
}

void ucTabContainer::SetScale(const LayoutScale& scale) {
    scale_ = scale;
    UserControl_Resize();
}

void ucTabContainer::UserControl_Resize() {
    RECT client{};
    GetClientRect(Handle(), &client);
    lineBorder_ = PageEdges(scale_.UnitsX(client.right), scale_.UnitsY(client.bottom),
                            scale_.unitsPerPixelX, scale_.unitsPerPixelY);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void ucTabContainer::UserControl_MouseDown(UINT msg, WPARAM wp, LPARAM lp) {
    NotifyMouseDown n =
        MouseDownFromMessage(Handle(), msg, wp, lp, scale_.unitsPerPixelX, scale_.unitsPerPixelY);
    SendMessageW(GetParent(Handle()), WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
}

// The fields on the page notify the page; the host window handles them. Where the host
// answers 0 (it does not handle the message), the page's default handling answers.
LRESULT ucTabContainer::ForwardToParent(UINT msg, WPARAM wp, LPARAM lp) {
    if (const HWND parent = GetParent(Handle()))
        if (const LRESULT result = SendMessageW(parent, msg, wp, lp))
            return result;
    return DefaultHandling(msg, wp, lp);
}

void ucTabContainer::Paint(HDC dc, const RECT& client) const {
    FillSysColour(dc, client, COLOR_BTNFACE);
    for (const Line& line : lineBorder_)
        PaintLine(dc, line, scale_);
}

LRESULT ucTabContainer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const auto paint = [this](HDC dc, const RECT& client) { Paint(dc, client); };
    if (const auto painted = HandlePaintMessage(Handle(), msg, wp, paint))
        return *painted;
    switch (msg) {
    case WM_CREATE:
    case WM_SIZE:
        UserControl_Resize();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        UserControl_MouseDown(msg, wp, lp);
        return 0;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return ForwardToParent(msg, wp, lp);
    default:
        return DefaultHandling(msg, wp, lp);
    }
}

} // namespace controls
