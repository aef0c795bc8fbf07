#include "settings/win32/logo_banner.h"

#include "controls/win32/paint.h"
#include "controls/win32/text.h"
#include "controls/win32/ui_font.h"
#include "settings/win32/logo_resource.h"

#include <wincodec.h>

#include <utility>

namespace settings {
namespace {

// A top-down 32-bit DIB section of the given size; `bits` receives its pixels.
HBITMAP CreateDib(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

} // namespace

LogoPicture LoadLogoPicture(HINSTANCE instance) {
    LogoPicture picture;
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_SETTINGS_LOGO), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(instance, found) : 0;
    if (!bytes || size == 0)
        return picture;

    // COM and the imaging component are loaded here, when the dialog first shows its logo.
    const controls::ComScope com;
    const auto create =
        controls::SystemFunction<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    controls::ComPtr<IWICImagingFactory> factory;
    controls::ComPtr<IWICStream> stream;
    controls::ComPtr<IWICBitmapDecoder> decoder;
    controls::ComPtr<IWICBitmapFrameDecode> frame;
    controls::ComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (!create ||
        FAILED(create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                      IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()))) ||
        FAILED(factory->CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
        FAILED(decoder->GetFrame(0, frame.Out())) ||
        FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0)
        return picture;

    void* bits = nullptr;
    controls::Bitmap bitmap(CreateDib(static_cast<int>(width), static_cast<int>(height), &bits));
    const UINT stride = width * 4;
    if (!bitmap ||
        FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits))))
        return picture;
    picture.bitmap = std::move(bitmap);
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    return picture;
}

LogoBanner::~LogoBanner() {
    if (Handle())
        DestroyWindow(Handle());
}

bool LogoBanner::Create(HWND parent, const RECT& rect, const controls::LayoutScale& scale,
                        int dpiY) {
    logo_ = LoadLogoPicture(GetModuleHandleW(nullptr));
    PlaceLabels(scale, dpiY);
    return CreateChild(parent, 0, rect, WS_GROUP);
}

void LogoBanner::SetScale(const RECT& rect, const controls::LayoutScale& scale, int dpiY) {
    PlaceLabels(scale, dpiY);
    SetWindowPos(Handle(), nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, FALSE);
}

// The design's labels on the banner, in pixels at `scale`, with their fonts for `dpiY`.
void LogoBanner::PlaceLabels(const controls::LayoutScale& scale, int dpiY) {
    titleFont_ = controls::MakeFont(L"Arial", kBannerTitlePoints, true, dpiY);
    smallFont_ = controls::MakeFont(L"Arial", kBannerSmallPoints, true, dpiY);
    labelCount_ = 0;
    for (const DialogControlDesign& d : kDialogDesign) {
        if (d.container != Container::Logo || labelCount_ == labels_.size())
            continue;
        labels_[labelCount_++] = {controls::ToPixels(d.rect, scale), d.text, d.align,
                                  d.font == TextFont::BannerTitle ? titleFont_.Get()
                                                                  : smallFont_.Get()};
    }
}

void LogoBanner::Paint(HDC dc, const RECT& client) const {
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (logo_.bitmap) {
        controls::MemoryDc source(dc);
        controls::Selection selected(source.Get(), logo_.bitmap.Get());
        BitBlt(dc, 0, 0, logo_.width, logo_.height, source.Get(), 0, 0, SRCCOPY);
    }
    SetBkMode(dc, TRANSPARENT);
    // The banner is white whatever the desktop's colours, so its text is black: the
    // button-text colour of a dark high-contrast scheme is white, and would vanish.
    SetTextColor(dc, RGB(0, 0, 0));
    for (size_t i = 0; i < labelCount_; ++i) {
        const Label& label = labels_[i];
        UINT format = DT_NOPREFIX | DT_WORDBREAK;
        if (label.align == TextAlign::Centre)
            format |= DT_CENTER;
        else if (label.align == TextAlign::Right)
            format |= DT_RIGHT;
        controls::Selection font(dc, label.font);
        RECT r = label.rect;
        DrawTextW(dc, controls::Widen(label.text).c_str(), -1, &r, format);
    }
}

LRESULT LogoBanner::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const auto paint = [this](HDC dc, const RECT& client) { Paint(dc, client); };
    if (const auto painted = controls::HandlePaintMessage(Handle(), msg, wp, paint))
        return *painted;
    return DefaultHandling(msg, wp, lp);
}

} // namespace settings
