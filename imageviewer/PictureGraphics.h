// The kinds of picture the image viewer shows besides bitmaps: icons and
// metafiles, each owning its system handle; and the clipboard copy of any of them.
#pragma once

#include "ui/ExtCtrls.h"
#include "ui/GdiObjects.h"

#include <windows.h>

struct TDestroyIcon {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct TDeleteEnhMetaFile {
    void operator()(HENHMETAFILE metafile) const { DeleteEnhMetaFile(metafile); }
};
using TOwnedIcon = TOwnedHandle<HICON, TDestroyIcon>;
using TOwnedEnhMetaFile = TOwnedHandle<HENHMETAFILE, TDeleteEnhMetaFile>;

// An icon, drawn at the size of the rectangle it is given.
class TIconGraphic : public TGraphic {
public:
    TIconGraphic(TOwnedIcon icon, int width, int height);
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Draw(HDC dc, const RECT& rect) const override;
    HICON Handle() const { return icon_.Get(); }

private:
    TOwnedIcon icon_;
    int width_, height_;
};

// An enhanced metafile (a Windows metafile is converted into one when read),
// played into the rectangle it is given.
class TMetafileGraphic : public TGraphic {
public:
    TMetafileGraphic(TOwnedEnhMetaFile metafile, int width, int height);
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Draw(HDC dc, const RECT& rect) const override;
    HENHMETAFILE Handle() const { return metafile_.Get(); }

private:
    TOwnedEnhMetaFile metafile_;
    int width_, height_;
};

// The clipboard, open while the owner lives.
class TClipboardOpen {
public:
    explicit TClipboardOpen(HWND owner) : open_(OpenClipboard(owner) != 0) {}
    ~TClipboardOpen()
    {
        if (open_)
            CloseClipboard();
    }
    TClipboardOpen(const TClipboardOpen&) = delete;
    TClipboardOpen& operator=(const TClipboardOpen&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

// Empties the clipboard and puts a copy of the picture on it: a bitmap as a
// bitmap, a metafile as an enhanced metafile. Raises "Cannot open clipboard"
// when another program holds it and "Clipboard does not support Icons" for an
// icon (the clipboard stays empty then).
void CopyPictureToClipboard(const TGraphic& picture, HWND owner);
