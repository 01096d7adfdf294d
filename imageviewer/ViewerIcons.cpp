#include "imageviewer/ViewerIcons.h"

#include "mainform/Icons.h"
#include "ui/Graphics.h"
#include "ui/Menus.h"
#include "ui/SysUtils.h"

void LoadViewerIcons(TImageList& images)
{
    // Open, Close and Copy look as they do on the main window.
    int size = images.Height();
    TOwnedBitmap main = LoadPictureStrip(L"TOOLBARICONS", size);
    TOwnedBitmap own = LoadPictureStrip(L"VIEWERICONS", size);
    if (!main || !own)
        throw EOSError("The toolbar pictures are missing");
    for (MainIcon icon : {iconOpen, iconExit, iconCopy})
        images.AddStrip(BitmapPart(main, static_cast<int>(icon) * size, 0, size, size));
    images.AddStrip(own);
    if (images.Count() != viewerDesktop + 1)
        throw Exception("The viewer's toolbar pictures do not match its commands");
}
