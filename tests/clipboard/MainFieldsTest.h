// The main window made hidden, with its four text fields and the focus set as
// a click would set it.
#pragma once

#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"

#include <gtest/gtest.h>

class MainFieldsTest : public ::testing::Test {
protected:
    void SetUp() override { ClearStore(); }
    void TearDown() override
    {
        if (Form1)
            StopProgram(false);
        ClearStore();
    }
    // Starts with a stored mode, "plain" or "rich", and shows the main window:
    // only a shown window's fields take the keyboard focus.
    void Start(const char* mode)
    {
        StartWithStored(dialogs, {{"Mode", mode}});
        Form1->Show();
        Pump();
    }
    void Focus(TControl* control)
    {
        control->SetFocus();
        control->OwnerForm()->NoteFocus(control);
    }
    ScriptedDialogs dialogs;
};
