// TForm8: the window that sends the document by e-mail.
#pragma once

#include "ui/Forms.h"

class TForm8 : public TForm {
public:
    TForm8();
    // While set, the Preferences window opens on its E-mail page.
    bool EmailPageFlag = false;
};

extern TForm8* Form8;
