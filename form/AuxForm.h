// TForm7: a window that is never shown. Its plain edit Memo1 reads a file's
// first characters to tell rich text from plain text.
#pragma once

#include "ui/Forms.h"
#include "ui/StdCtrls.h"

#include <memory>

class TForm7 : public TForm {
public:
    TForm7();
    std::unique_ptr<TMemo> Memo1;
};

extern TForm7* Form7;
