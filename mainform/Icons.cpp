#include "mainform/Icons.h"

#include "ui/Graphics.h"
#include "ui/Menus.h"
#include "ui/SysUtils.h"

namespace {

constexpr int kMarkerWidth = 10;
constexpr int kMarkerHeight = 6;

} // namespace

void LoadMainIcons(TImageList& images)
{
    TOwnedBitmap strip = LoadPictureStrip(L"TOOLBARICONS", images.Height());
    if (!strip)
        throw EOSError("The toolbar pictures are missing");
    images.AddStrip(strip);
    if (images.Count() != iconCount)
        throw Exception("The toolbar pictures do not match the commands");
}

TOwnedBitmap RulerMarkerBitmap(RulerMarker marker)
{
    // Drawn at the scale of the toolbar pictures.
    int size = PictureSizeFor(ScreenPixelsPerInch());
    TOwnedBitmap strip = LoadPictureStrip(L"RULERMARKERS", size);
    if (!strip)
        throw EOSError("The ruler pictures are missing");
    int width = kMarkerWidth * size / 16, height = kMarkerHeight * size / 16;
    return BitmapPart(strip, static_cast<int>(marker) * width, 0, width, height);
}
