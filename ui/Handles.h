// Owners of the handles the system hands out and expects back. Each owner
// knows its handle's invalid value (a file or a search that failed to open is
// INVALID_HANDLE_VALUE, everything else null) and gives a valid handle back
// when it goes out of scope, also when an exception passes. The scopes of
// device contexts and selected objects are in GdiObjects.h.
#pragma once

#include <windows.h>

#include <utility>

// The rule of most handles: null is not a handle.
template <typename Handle>
struct TNullInvalid {
    static Handle Value() { return nullptr; }
};
// Files and searches: a failed open gives INVALID_HANDLE_VALUE.
struct TFileInvalid {
    static HANDLE Value() { return INVALID_HANDLE_VALUE; }
};

// A handle the program owns and gives back with `Close` when the owner goes
// away; `Invalid` says which value holds no handle.
template <typename Handle, typename Close, typename Invalid = TNullInvalid<Handle>>
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
    explicit operator bool() const { return handle_ != Invalid::Value(); }
    // Gives the handle up: the caller closes it.
    Handle Release() { return std::exchange(handle_, Invalid::Value()); }
    void Reset(Handle handle = Invalid::Value())
    {
        if (handle_ != Invalid::Value())
            Close()(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Invalid::Value();
};

// Gives a handle back with the system function `Function`.
template <auto Function>
struct TCloseWith {
    template <typename Handle>
    void operator()(Handle handle) const
    {
        Function(handle);
    }
};

using TOwnedFile = TOwnedHandle<HANDLE, TCloseWith<CloseHandle>, TFileInvalid>; // from CreateFile
using TOwnedFind = TOwnedHandle<HANDLE, TCloseWith<FindClose>, TFileInvalid>;  // from FindFirstFile
using TOwnedWindow = TOwnedHandle<HWND, TCloseWith<DestroyWindow>>;            // a window of the program's
using TOwnedGlobal = TOwnedHandle<HGLOBAL, TCloseWith<GlobalFree>>;            // global memory
using TOwnedModule = TOwnedHandle<HMODULE, TCloseWith<FreeLibrary>>;           // from LoadLibrary
using TOwnedKey = TOwnedHandle<HKEY, TCloseWith<RegCloseKey>>;                 // a registry key
using TOwnedIcon = TOwnedHandle<HICON, TCloseWith<DestroyIcon>>;               // an icon made or loaded
using TOwnedDC = TOwnedHandle<HDC, TCloseWith<DeleteDC>>; // a memory or printer device context
using TOwnedEnhMetaFile = TOwnedHandle<HENHMETAFILE, TCloseWith<DeleteEnhMetaFile>>;

// GDI objects (bitmaps, fonts, brushes, pens, regions), deleted with DeleteObject.
template <typename Object>
using TOwnedGdiObject = TOwnedHandle<Object, TCloseWith<DeleteObject>>;
using TOwnedBitmap = TOwnedGdiObject<HBITMAP>;
using TOwnedFont = TOwnedGdiObject<HFONT>;
using TOwnedBrush = TOwnedGdiObject<HBRUSH>;
using TOwnedPen = TOwnedGdiObject<HPEN>;
using TOwnedRegion = TOwnedGdiObject<HRGN>;
