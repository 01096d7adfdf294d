#include "email/SendForm.h"

TForm8* Form8 = nullptr;

TForm8::TForm8() : TForm("TForm8")
{
    SetText("Send as e-mail...");
    SetBorderStyle(TBorderStyle::Dialog, true, false, false);
    SetClientSize(494, 255);
    CenterOnScreen();
}
