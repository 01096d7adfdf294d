#include "form/AuxForm.h"

TForm7* Form7 = nullptr;

TForm7::TForm7() : TForm("TForm7")
{
    SetText("");
    Memo1 = std::make_unique<TMemo>(this, 0, 0, 200, 100);
    Memo1->SetMaxLength(20000000);
}
