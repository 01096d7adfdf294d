// The main window shown, with its four text fields and the focus set as a
// click would set it.
#pragma once

#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"

#include <gtest/gtest.h>

class MainFieldsTest : public ProgramTest {
protected:
    // Starts again with a stored mode, "plain" or "rich", and shows the main
    // window: only a shown window's fields take the keyboard focus.
    void Start(const char* mode)
    {
        StopProgram(true);
        WriteStore("Mode", mode);
        StartProgram(dialogs);
        Form1->Show();
        Pump();
    }
    void Focus(TControl* control)
    {
        control->SetFocus();
        control->OwnerForm()->NoteFocus(control);
    }
};
