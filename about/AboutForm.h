// TForm3: the About box.
#pragma once

#include "ui/Forms.h"

class TForm3 : public TForm {
public:
    TForm3();
};

extern TForm3* Form3;
