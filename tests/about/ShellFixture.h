// The program made hidden for a test, with the shell's openings recorded
// instead of carried out, and no association script left from before.
#pragma once

#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "ui/Shell.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearStore();
        DeleteFileA(TForm1::AssociationScriptPath().c_str());
        SetShellOpener([this](const std::string& target) { opened.push_back(target); });
        StartProgram(dialogs);
    }
    void TearDown() override
    {
        if (Form1)
            StopProgram(false);
        SetShellOpener(nullptr);
        DeleteFileA(TForm1::AssociationScriptPath().c_str());
        ClearStore();
    }
    ScriptedDialogs dialogs;
    std::vector<std::string> opened; // the targets handed to the shell
};
