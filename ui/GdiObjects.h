// Scopes of what GDI hands out and expects back: device contexts and objects
// selected into them, each given back when it goes out of scope, also when an
// exception passes. The owners of bitmaps, fonts, brushes, regions, device
// contexts and metafiles are in Handles.h with the other handles.
#pragma once

#include "ui/Handles.h"

#include <windows.h>

#include <utility>

// A window's device context (the screen's for a null window), released on
// scope exit.
class TWindowDC {
public:
    explicit TWindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
    ~TWindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The device context of a paint message, ended on scope exit.
class TPaintDC {
public:
    explicit TPaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window_, &paint_); }
    ~TPaintDC() { EndPaint(window_, &paint_); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A memory device context compatible with `dc` (with the screen for null).
class TMemoryDC : public TOwnedDC {
public:
    explicit TMemoryDC(HDC dc = nullptr) : TOwnedDC(CreateCompatibleDC(dc)) {}
};

// The device context that records an enhanced metafile in memory, with `dc`
// (the screen for null) as the reference device and `frame` in 0.01 mm (null:
// the bounds of what is drawn). Close gives the metafile; one not closed is
// deleted on scope exit.
class TMetafileDC {
public:
    explicit TMetafileDC(HDC dc, const RECT* frame = nullptr) : dc_(CreateEnhMetaFileW(dc, nullptr, frame, nullptr)) {}
    ~TMetafileDC()
    {
        if (dc_)
            DeleteEnhMetaFile(CloseEnhMetaFile(dc_));
    }
    TMetafileDC(const TMetafileDC&) = delete;
    TMetafileDC& operator=(const TMetafileDC&) = delete;
    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }
    TOwnedEnhMetaFile Close() { return TOwnedEnhMetaFile(CloseEnhMetaFile(std::exchange(dc_, nullptr))); }

private:
    HDC dc_;
};

// An object selected into a device context; the one it replaced is selected
// again on scope exit.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~TSelectObject()
    {
        if (old_ && old_ != HGDI_ERROR)
            SelectObject(dc_, old_);
    }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A clipping region selected into a device context; clipping is removed on
// scope exit.
class TClipRegion {
public:
    TClipRegion(HDC dc, const RECT& rect) : dc_(dc), region_(CreateRectRgnIndirect(&rect))
    {
        SelectClipRgn(dc_, region_.Get());
    }
    ~TClipRegion() { SelectClipRgn(dc_, nullptr); }
    TClipRegion(const TClipRegion&) = delete;
    TClipRegion& operator=(const TClipRegion&) = delete;

private:
    HDC dc_;
    TOwnedRegion region_;
};
