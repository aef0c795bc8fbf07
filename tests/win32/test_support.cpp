#include "test_support.h"

#include <map>

namespace testing_support {
namespace {

std::map<UINT_PTR, WhenReady*>& Pending() {
    static std::map<UINT_PTR, WhenReady*> pending;
    return pending;
}

} // namespace

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!done())
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

WhenReady::WhenReady(std::function<bool()> ready, std::function<void()> action, int timeoutMs)
    : ready_(std::move(ready)), action_(std::move(action)),
      deadline_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)) {
    timer_ = SetTimer(nullptr, 0, 20, &WhenReady::Tick);
    Pending()[timer_] = this;
}

WhenReady::~WhenReady() {
    if (timer_) {
        KillTimer(nullptr, timer_);
        Pending().erase(timer_);
    }
}

void CALLBACK WhenReady::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    const auto found = Pending().find(id);
    if (found == Pending().end())
        return;
    WhenReady* self = found->second;
    const bool expired = std::chrono::steady_clock::now() > self->deadline_;
    if (!expired && !self->ready_())
        return;
    KillTimer(nullptr, id);
    Pending().erase(id);
    self->timer_ = 0;
    if (!expired) {
        self->ran_ = true;
        self->action_();
    }
}

HWND OpenPopupMenu() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

std::wstring PopupMenuItems(HWND menuWindow) {
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    std::wstring items;
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = L"";
        if (GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION) == 0)
            wcscpy_s(text, L"-");
        items += (i ? L"|" : L"") + std::wstring(text);
    }
    return items;
}

CleanSettingsKey::CleanSettingsKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
}

CleanSettingsKey::~CleanSettingsKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
}

void StoreExact(DWORD type, std::string_view bytes) {
    // The byte after them is not NUL, so RegSetValueExA does not count a terminator.
    std::string buffer(bytes);
    buffer.push_back('\x7F');
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, kSettingsKey, &key) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Settings", 0, type, reinterpret_cast<const BYTE*>(buffer.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

StoredValue ReadStored() {
    StoredValue v;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return v;
    std::string buffer(4096, '\0');
    DWORD size = static_cast<DWORD>(buffer.size());
    v.present = RegQueryValueExA(key, "Settings", nullptr, &v.type,
                                 reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS;
    if (v.present)
        v.bytes = buffer.substr(0, size);
    RegCloseKey(key);
    return v;
}

ClientPixels CopyClientPixels(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    ClientPixels out{client.right, client.bottom, {}};
    // One copy into a top-down 32-bit DIB rather than a round trip to the display per pixel.
    HDC window = GetDC(hwnd);
    HDC memory = CreateCompatibleDC(window);
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), out.width, -out.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, out.width, out.height, window, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    out.pixels.assign(p, p + out.width * out.height);
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(hwnd, window);
    return out;
}

LPARAM ClientPoint(int x, int y) {
    return MAKELPARAM(x, y);
}

LPARAM ClientCentre(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return ClientPoint(r.right / 2, r.bottom / 2);
}

} // namespace testing_support
