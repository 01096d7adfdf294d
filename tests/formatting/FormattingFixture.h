// The program's windows made hidden, in rich mode, for the formatting
// toolbar and the indent ruler.
#pragma once

#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "ui/Classes.h"

#include <gtest/gtest.h>

#include <string>

class FormattingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearStore();
        StartWithStored(dialogs, {{"Mode", "rich"}});
        // The start-up timer has written the size field once (applying it,
        // as start-up does) before the test begins.
        Pump(20);
    }
    void TearDown() override
    {
        if (Form1)
            StopProgram(false);
        ClearStore();
    }

    TRichEdit& Memo() { return *Form1->memo1; }
    void LoadRtf(const std::string& rtf)
    {
        TMemoryStream stream;
        stream.Write(rtf.data(), rtf.size());
        stream.SetPosition(0);
        Memo().LoadFromStream(stream);
    }
    std::string Rtf()
    {
        TMemoryStream stream;
        Memo().SaveToStream(stream);
        return stream.ToString();
    }
    // A key as the editor gets it from the message loop.
    void Key(WORD key)
    {
        SendMessageA(Memo().Handle(), WM_KEYDOWN, key, 1);
        SendMessageA(Memo().Handle(), WM_KEYUP, key, 0xC0000001);
    }
    // Runs a command's row as its button or menu item does.
    void Run(const std::string& command, TObject* sender = nullptr) { Form1->Commands[command].Execute(sender); }

    ScriptedDialogs dialogs;
};

// Two paragraphs in different fonts, sizes, styles, colours and alignments.
inline const char* MixedRtf()
{
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red200\\green0\\blue0;}"
           "\\pard\\f1\\fs20 plain {\\b\\f0\\fs24 bold Arial} {\\i\\cf1 red italic} {\\ul\\strike under}\\par"
           "\\pard\\qc\\li400\\fi-200\\ri300 {\\fs32 centred} and {\\b\\i both}\\par}";
}
