#include "ui/Graphics.h"

#include "ui/WideText.h"

#include <algorithm>
#include <cstring>
#include <map>

COLORREF ColorToRGB(TColor color)
{
    if (color == clNone)
        return RGB(0, 0, 0);
    if (color < 0)
        return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

HBRUSH SolidBrush(TColor color)
{
    static std::map<COLORREF, TOwnedBrush> brushes;
    COLORREF rgb = ColorToRGB(color);
    TOwnedBrush& brush = brushes[rgb];
    if (!brush)
        brush.Reset(CreateSolidBrush(rgb));
    return brush.Get();
}

int ScreenPixelsPerInch()
{
    static int ppi = 0;
    if (ppi == 0) {
        TWindowDC screen;
        ppi = GetDeviceCaps(screen, LOGPIXELSY);
    }
    return ppi;
}

int WindowPixelsPerInch(HWND window)
{
    // Known to Windows 10 from version 1607 on; before, every monitor has the system's DPI.
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<TGetDpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : ScreenPixelsPerInch();
}

int PictureSizeFor(int pixelsPerInch) { return pixelsPerInch >= 192 ? 32 : pixelsPerInch >= 144 ? 24 : 16; }

TFont::TFont(std::string name, int size, TColor color, TFontStyles style)
    : name_(std::move(name)), size_(size), color_(color), style_(style)
{
}

TFont::TFont(const TFont& other)
    : name_(other.name_), size_(other.size_), color_(other.color_), style_(other.style_),
      pixelsPerInch_(other.pixelsPerInch_)
{
}

TFont& TFont::operator=(const TFont& other)
{
    if (this != &other) {
        if (name_ != other.name_ || size_ != other.size_ || style_ != other.style_ ||
            PixelsPerInch() != other.PixelsPerInch())
            Release();
        name_ = other.name_;
        pixelsPerInch_ = other.pixelsPerInch_;
        size_ = other.size_;
        color_ = other.color_;
        style_ = other.style_;
    }
    return *this;
}

TFont::~TFont() { Release(); }

void TFont::Release()
{
    handle_.Reset();
}

void TFont::SetName(const std::string& name)
{
    if (name != name_) {
        name_ = name;
        Release();
    }
}

void TFont::SetSize(int size)
{
    if (size != size_) {
        size_ = size;
        Release();
    }
}

int TFont::PixelsPerInch() const { return pixelsPerInch_ ? pixelsPerInch_ : ScreenPixelsPerInch(); }

void TFont::SetPixelsPerInch(int pixelsPerInch)
{
    if (pixelsPerInch == ScreenPixelsPerInch())
        pixelsPerInch = 0;
    if (pixelsPerInch != pixelsPerInch_) {
        pixelsPerInch_ = pixelsPerInch;
        Release();
    }
}

void TFont::SetStyle(TFontStyles style)
{
    if (style != style_) {
        style_ = style;
        Release();
    }
}

bool TFont::operator==(const TFont& other) const
{
    return name_ == other.name_ && size_ == other.size_ && color_ == other.color_ && style_ == other.style_;
}

LOGFONTW TFont::LogFont() const
{
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(size_, PixelsPerInch(), 72);
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) != 0;
    lf.lfUnderline = (style_ & fsUnderline) != 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    const std::wstring face = ToWide(name_);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return lf;
}

void TFont::SetLogFont(const LOGFONTW& lf)
{
    Release();
    name_ = ToUtf8(lf.lfFaceName);
    int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    size_ = MulDiv(height, 72, PixelsPerInch());
    style_ = 0;
    if (lf.lfWeight >= FW_BOLD)
        style_ |= fsBold;
    if (lf.lfItalic)
        style_ |= fsItalic;
    if (lf.lfUnderline)
        style_ |= fsUnderline;
    if (lf.lfStrikeOut)
        style_ |= fsStrikeOut;
}

HFONT TFont::Handle() const
{
    if (!handle_) {
        LOGFONTW lf = LogFont();
        handle_.Reset(CreateFontIndirectW(&lf));
    }
    return handle_.Get();
}

TOwnedBitmap CaptureWindow(HWND window, int width, int height, COLORREF background)
{
    width = MulDiv(width, WindowPixelsPerInch(window), 96);
    height = MulDiv(height, WindowPixelsPerInch(window), 96);
    TOwnedBitmap bitmap(CreateCompatibleBitmap(TWindowDC(), width, height));
    TMemoryDC dc;
    TSelectObject select(dc, bitmap.Get());
    RECT all{0, 0, width, height};
    TOwnedBrush brush(CreateSolidBrush(background));
    FillRect(dc, &all, brush.Get());
    RECT rect;
    GetWindowRect(window, &rect);
    int top = std::max(0L, (height - (rect.bottom - rect.top)) / 2);
    SetViewportOrgEx(dc, 0, top, nullptr);
    SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
    return bitmap;
}

TOwnedBitmap LoadBitmapResource(const wchar_t* name)
{
    return TOwnedBitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

TOwnedBitmap LoadPictureStrip(const wchar_t* name, int size)
{
    if (size == 16)
        return LoadBitmapResource(name);
    return LoadBitmapResource((std::wstring(name) + std::to_wstring(size)).c_str());
}

int DrawTextUtf8(HDC dc, const std::string& text, RECT* rect, UINT format)
{
    const std::wstring wide = ToWide(text);
    return DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), rect, format);
}

TOwnedBitmap BitmapPart(HBITMAP source, int left, int top, int width, int height)
{
    TOwnedBitmap part(CreateCompatibleBitmap(TWindowDC(), width, height));
    TMemoryDC from, to;
    TSelectObject selectFrom(from, source);
    TSelectObject selectTo(to, part.Get());
    BitBlt(to, 0, 0, width, height, from, left, top, SRCCOPY);
    return part;
}
