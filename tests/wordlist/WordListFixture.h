// The program made hidden for each word-list test, with an empty store, and
// the word-list commands as the user runs them.
#pragma once

#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "ui/Application.h"
#include "ui/WideText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using List = std::vector<std::string>;

// The entries a list box control shows, asked of its own procedure in wide
// text: Wine translates LB_GETTEXT to 8-bit text through a fixed buffer of
// 512 characters, which longer entries overrun.
inline List ControlEntries(HWND list)
{
    auto proc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(list, GCLP_WNDPROC));
    List texts;
    for (int i = 0; i < CallWindowProcW(proc, list, LB_GETCOUNT, 0, 0); ++i) {
        std::wstring wide(CallWindowProcW(proc, list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
        wide.resize(CallWindowProcW(proc, list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&wide[0])));
        texts.push_back(ToUtf8(wide));
    }
    return texts;
}

class WordListTest : public ProgramTest {
protected:
    // Runs a command as its button or menu item would.
    static void Run(const char* command)
    {
        Application->Guard([&] { Form1->Commands[command].Execute(nullptr); });
    }
    // Typed into the entry field, then "Add".
    void Add(const List& entries)
    {
        for (const std::string& entry : entries) {
            Form1->Edit4->SetText(entry);
            Run("SpeedButton1Click");
        }
    }
    void Select(const std::string& text)
    {
        const List& items = Form1->ListBox1->Items();
        Form1->ListBox1->SetItemIndex(static_cast<int>(std::find(items.begin(), items.end(), text) - items.begin()));
    }
    std::string Selected() const
    {
        int index = Form1->ListBox1->ItemIndex();
        return index < 0 ? "(none)" : Form1->ListBox1->Item(index);
    }
    // The program's copy of the entries, checked against the control's.
    List Entries() const
    {
        EXPECT_EQ(ControlEntries(Form1->ListBox1->Handle()), Form1->ListBox1->Items());
        return Form1->ListBox1->Items();
    }
    // "Add", "Remove", "Insert >>": the initial when enabled, "-" when not.
    std::string Buttons() const
    {
        std::string states;
        for (TControl* button : {Form1->SpeedButton1.get(), Form1->SpeedButton2.get(), Form1->SpeedButton3.get()})
            states += button->Enabled() ? button->Text()[0] : '-';
        return states;
    }
    void ImportFile(const std::string& path)
    {
        dialogs.ChooseFile(path);
        Run("Importwordlist1Click");
    }
    void Import(const std::string& bytes) { ImportFile(WriteTestFile("import.mib", bytes)); }
    void Export(const std::string& path)
    {
        dialogs.ChooseFile(path);
        Run("Exportwordlist1Click");
    }
    List Messages() const
    {
        List texts;
        for (const auto& box : dialogs.boxes)
            texts.push_back(box.text);
        return texts;
    }
};
