#include "mainform/Icons.h"

#include "ui/Menus.h"
#include "ui/SysUtils.h"

namespace {

constexpr int kMarkerWidth = 10;
constexpr int kMarkerHeight = 6;

} // namespace

void LoadMainIcons(TImageList& images)
{
    TOwnedBitmap strip = LoadBitmapResource(L"TOOLBARICONS");
    if (!strip)
        throw EOSError("The toolbar pictures are missing");
    images.AddStrip(strip);
    if (images.Count() != iconCount)
        throw Exception("The toolbar pictures do not match the commands");
}

TOwnedBitmap RulerMarkerBitmap(RulerMarker marker)
{
    TOwnedBitmap strip = LoadBitmapResource(L"RULERMARKERS");
    if (!strip)
        throw EOSError("The ruler pictures are missing");
    return BitmapPart(strip, static_cast<int>(marker) * kMarkerWidth, 0, kMarkerWidth, kMarkerHeight);
}
