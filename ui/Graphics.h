// Colours and fonts as the program holds them.
#pragma once

#include "ui/GdiObjects.h"

#include <windows.h>

#include <string>

// A colour number: 0x00BBGGRR for an RGB colour, 0x80000000 + index for a
// system colour, clNone for "no colour". A system colour stays a system colour
// until it is drawn, so that it is stored as it was read.
using TColor = int;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); }
const TColor clScrollBar = SystemColor(COLOR_SCROLLBAR), clBackground = SystemColor(COLOR_BACKGROUND),
             clWindow = SystemColor(COLOR_WINDOW), clWindowText = SystemColor(COLOR_WINDOWTEXT),
             clBtnFace = SystemColor(COLOR_BTNFACE), clBtnShadow = SystemColor(COLOR_BTNSHADOW),
             clBtnText = SystemColor(COLOR_BTNTEXT), clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT),
             clGrayText = SystemColor(COLOR_GRAYTEXT), clHighlight = SystemColor(COLOR_HIGHLIGHT);

// The RGB value to draw with.
COLORREF ColorToRGB(TColor color);
constexpr TColor RGBColor(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }

// Brushes of solid colours, made once per colour and kept for the program's life.
HBRUSH SolidBrush(TColor color);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// A font by name, size in points, colour and style. The GDI font is made on
// demand and remade after a change.
class TFont {
public:
    TFont() = default;
    TFont(std::string name, int size, TColor color = clWindowText, TFontStyles style = 0);
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);
    ~TFont();

    const std::string& Name() const { return name_; }
    int Size() const { return size_; }
    TColor Color() const { return color_; }
    TFontStyles Style() const { return style_; }
    void SetName(const std::string& name);
    void SetSize(int size);
    void SetColor(TColor color) { color_ = color; }
    void SetStyle(TFontStyles style);
    // The display the font is made for (0: the screen's); the size stays in points.
    int PixelsPerInch() const;
    void SetPixelsPerInch(int pixelsPerInch);

    bool operator==(const TFont& other) const;
    bool operator!=(const TFont& other) const { return !(*this == other); }

    HFONT Handle() const;
    LOGFONTW LogFont() const;
    void SetLogFont(const LOGFONTW& logFont);

private:
    void Release();

    std::string name_ = "Tahoma";
    int size_ = 8;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    int pixelsPerInch_ = 0;
    mutable TOwnedFont handle_;
};

// A picture of a window (shown or not) as it draws itself, cut to the given
// size (of a 96-DPI display: scaled to the window's DPI); the rest is filled
// with `background`.
TOwnedBitmap CaptureWindow(HWND window, int width, int height, COLORREF background);

// A bitmap resource of the program.
TOwnedBitmap LoadBitmapResource(const wchar_t* name);
// A strip of pictures drawn at `size` pixels (16, 24 or 32): the resource
// `name`, or `name` followed by the size for the larger ones.
TOwnedBitmap LoadPictureStrip(const wchar_t* name, int size);
// A copy of part of a bitmap.
TOwnedBitmap BitmapPart(HBITMAP source, int left, int top, int width, int height);

// DrawText of a UTF-8 text.
int DrawTextUtf8(HDC dc, const std::string& text, RECT* rect, UINT format);

// Pixels per logical inch of the screen: the system's DPI, read once at start-up.
int ScreenPixelsPerInch();
// The DPI of a window's display: that of its monitor where the system scales
// each monitor on its own, else the system's.
int WindowPixelsPerInch(HWND window);
// The size of the pictures of toolbars and menus drawn for a display of this
// DPI (16, 24 or 32 pixels): the largest whose scale does not exceed it.
int PictureSizeFor(int pixelsPerInch);
