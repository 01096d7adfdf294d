#include "imageviewer/ImageViewerForm.h"

TForm4* Form4 = nullptr;

TForm4::TForm4() : TForm("TForm4")
{
    SetText("Image Viewer");
    SetBounds(0, 0, 456, 230);
    SetMinSize(175, 28);
    SetColor(clBlack);
    SetStayOnTop(true);
    CenterOnScreen();
}
