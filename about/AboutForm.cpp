#include "about/AboutForm.h"

TForm3* Form3 = nullptr;

TForm3::TForm3() : TForm("TForm3")
{
    SetText("About...");
    SetBorderStyle(TBorderStyle::Single, false, false, false);
    SetClientSize(479, 200);
    SetStayOnTop(true);
    CenterOnScreen();
}
