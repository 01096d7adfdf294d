// TForm4: the image viewer.
#pragma once

#include "ui/Forms.h"

class TForm4 : public TForm {
public:
    TForm4();
};

extern TForm4* Form4;
