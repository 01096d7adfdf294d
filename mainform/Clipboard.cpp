// The clipboard and selection commands of the Edit menu, the editing toolbar
// and the editor's context menu. Each acts on the focused field; undo always
// acts on the editor.
#include "mainform/MainForm.h"

TTextField TForm1::FocusedField() const
{
    return ::FocusedField(*this, {fedit.get(), redit.get(), memo1.get(), Edit4.get()});
}

void TForm1::ToolButton34Click(TObject*)
{
    if (memo1 && memo1->Handle())
        memo1->Undo();
}

void TForm1::Cut1Click2(TObject*) { FocusedField().Cut(); }

void TForm1::Copy1Click2(TObject*) { FocusedField().Copy(); }

void TForm1::Copyall1Click(TObject*) { FocusedField().CopyAll(); }

void TForm1::Paste1Click2(TObject*) { PasteIntoFocusedField(1); }

void TForm1::ToolButton39Click(TObject*) { PasteIntoFocusedField(10); }

void TForm1::PasteIntoFocusedField(int times)
{
    TTextField field = FocusedField();
    field.Paste(times);
    // The pasted text takes the plain-mode formatting too.
    if (field.Rich() == memo1.get())
        ApplyPlainModeAgain();
}

void TForm1::SelectAll1Click2(TObject*) { FocusedField().SelectAll(); }

void TForm1::ClearSelection1Click2(TObject*) { FocusedField().ClearSelection(); }

void TForm1::ToolButton8Click(TObject*) { FocusedField().SetSelText("\u20AC"); } // the euro sign
