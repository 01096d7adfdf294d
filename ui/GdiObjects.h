// Owners of what GDI hands out and expects back: device contexts, objects
// selected into them, bitmaps, fonts, brushes and regions. Each gives its
// handle back when it goes out of scope, also when an exception passes.
#pragma once

#include <windows.h>

#include <utility>

// A handle that the program owns and gives back with `Deleter` when the owner
// goes away.
template <typename Handle, typename Deleter>
class TOwnedHandle {
public:
    TOwnedHandle() = default;
    explicit TOwnedHandle(Handle handle) : handle_(handle) {}
    ~TOwnedHandle() { Reset(); }
    TOwnedHandle(TOwnedHandle&& other) noexcept : handle_(other.Release()) {}
    TOwnedHandle& operator=(TOwnedHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    TOwnedHandle(const TOwnedHandle&) = delete;
    TOwnedHandle& operator=(const TOwnedHandle&) = delete;

    Handle Get() const { return handle_; }
    operator Handle() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Gives the handle up: the caller deletes it.
    Handle Release() { return std::exchange(handle_, nullptr); }
    void Reset(Handle handle = nullptr)
    {
        if (handle_)
            Deleter()(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

struct TDeleteObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct TDeleteDC {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct TDeleteEnhMetaFile {
    void operator()(HENHMETAFILE metafile) const { DeleteEnhMetaFile(metafile); }
};

// GDI objects (bitmaps, fonts, brushes, pens, regions), deleted with DeleteObject.
using TOwnedBitmap = TOwnedHandle<HBITMAP, TDeleteObject>;
using TOwnedFont = TOwnedHandle<HFONT, TDeleteObject>;
using TOwnedBrush = TOwnedHandle<HBRUSH, TDeleteObject>;
using TOwnedPen = TOwnedHandle<HPEN, TDeleteObject>;
using TOwnedRegion = TOwnedHandle<HRGN, TDeleteObject>;
// A device context made by the program (a memory context, a printer's),
// deleted with DeleteDC.
using TOwnedDC = TOwnedHandle<HDC, TDeleteDC>;
// An enhanced metafile, deleted with DeleteEnhMetaFile.
using TOwnedEnhMetaFile = TOwnedHandle<HENHMETAFILE, TDeleteEnhMetaFile>;

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
