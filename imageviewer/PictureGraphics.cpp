#include "imageviewer/PictureGraphics.h"

#include "ui/Clipboard.h"
#include "ui/SysUtils.h"

void TIconGraphic::Draw(HDC dc, const RECT& rect) const
{
    DrawIconEx(dc, rect.left, rect.top, Handle(), rect.right - rect.left, rect.bottom - rect.top, 0, nullptr,
               DI_NORMAL);
}

void TMetafileGraphic::Draw(HDC dc, const RECT& rect) const { PlayEnhMetaFile(dc, Handle(), &rect); }

// A device-dependent copy of a bitmap, as the clipboard's bitmap form is.
static TOwnedBitmap BitmapCopy(const TBitmapGraphic& picture)
{
    TWindowDC screen;
    TOwnedBitmap copy(CreateCompatibleBitmap(screen, picture.Width(), picture.Height()));
    if (!copy)
        throw EOutOfResources("Out of system resources");
    TMemoryDC source(screen), target(screen);
    TSelectObject sourcePicture(source, picture.Handle());
    TSelectObject targetPicture(target, copy.Get());
    BitBlt(target, 0, 0, picture.Width(), picture.Height(), source, 0, 0, SRCCOPY);
    return copy;
}

template <typename Owned>
static void Hand(TClipboard& clipboard, UINT format, Owned& data)
{
    if (!data)
        throw EOutOfResources("Out of system resources");
    // The clipboard owns what it accepted; what it refused is ours to free.
    if (clipboard.Put(format, data.Get()))
        data.Release();
    else
        throw Exception("Cannot copy to the clipboard");
}

void CopyPictureToClipboard(const TGraphic& picture, HWND owner)
{
    TClipboard clipboard(owner);
    clipboard.MustBeOpen();
    clipboard.Empty();
    if (auto* bitmap = dynamic_cast<const TBitmapGraphic*>(&picture)) {
        TOwnedBitmap copy = BitmapCopy(*bitmap);
        Hand(clipboard, CF_BITMAP, copy);
    } else if (auto* metafile = dynamic_cast<const TMetafileGraphic*>(&picture)) {
        TOwnedEnhMetaFile copy(CopyEnhMetaFileW(metafile->Handle(), nullptr));
        Hand(clipboard, CF_ENHMETAFILE, copy);
    } else if (dynamic_cast<const TIconGraphic*>(&picture)) {
        throw Exception("Clipboard does not support Icons");
    } else {
        throw Exception("Clipboard does not support this picture");
    }
}
