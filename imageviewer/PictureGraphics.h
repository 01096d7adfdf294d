// The kinds of picture the image viewer shows besides bitmaps: icons and
// metafiles, each owning its system handle; and the clipboard copy of any of them.
#pragma once

#include "ui/ExtCtrls.h"
#include "ui/GdiObjects.h"

#include <windows.h>

#include <utility>


// A picture held by a system handle that it owns, with its size in pixels.
template <typename Owned>
class THandleGraphic : public TGraphic {
public:
    THandleGraphic(Owned handle, int width, int height) : handle_(std::move(handle)), width_(width), height_(height) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    auto Handle() const { return handle_.Get(); }

private:
    Owned handle_;
    int width_, height_;
};

// An icon, drawn at the size of the rectangle it is given.
class TIconGraphic : public THandleGraphic<TOwnedIcon> {
public:
    using THandleGraphic::THandleGraphic;
    void Draw(HDC dc, const RECT& rect) const override;
};

// An enhanced metafile (a Windows metafile is converted into one when read),
// played into the rectangle it is given.
class TMetafileGraphic : public THandleGraphic<TOwnedEnhMetaFile> {
public:
    using THandleGraphic::THandleGraphic;
    void Draw(HDC dc, const RECT& rect) const override;
};

// Empties the clipboard and puts a copy of the picture on it: a bitmap as a
// bitmap, a metafile as an enhanced metafile. Raises "Cannot open clipboard"
// when another program holds it and "Clipboard does not support Icons" for an
// icon (the clipboard stays empty then).
void CopyPictureToClipboard(const TGraphic& picture, HWND owner);
