// The word list of the side panel: entries added from the entry field,
// removed, inserted into the text, imported from and exported to word-list
// files, emptied; the states of the panel's buttons; the panel's sizes and
// the list's height.
#include "mainform/MainForm.h"

#include "mainform/WordListFile.h"
#include "preferences/PreferencesForm.h"
#include "ui/Application.h"
#include "ui/SafeFile.h"

void TForm1::UpdateWordListButtons()
{
    Commands["SpeedButton1Click"].SetEnabled(!Edit4->Text().empty());
    bool any = ListBox1->Count() > 0;
    Commands["SpeedButton2Click"].SetEnabled(any);
    Commands["SpeedButton3Click"].SetEnabled(any);
}

void TForm1::SpeedButton1Click(TObject*)
{
    std::string text = Edit4->Text();
    if (text.empty())
        return;
    // Placed at its sorted place; the selection and the focus stay.
    ListBox1->Add(text);
    Edit4->SetText("");
    UpdateWordListButtons();
}

void TForm1::Edit4KeyPress(TObject*, wchar_t& key)
{
    // Enter adds while "Add" can; the key itself still goes to the field.
    if (key == '\r')
        Commands["SpeedButton1Click"].Execute(Edit4.get());
}

void TForm1::Edit4Change(TObject*) { Commands["SpeedButton1Click"].SetEnabled(!Edit4->Text().empty()); }

void TForm1::SpeedButton2Click(TObject*)
{
    int index = ListBox1->ItemIndex();
    if (index >= 0)
        ListBox1->Delete(index);
    ListBox1->SetItemIndex(-1);
    UpdateWordListButtons();
}

void TForm1::SpeedButton3Click(TObject*)
{
    int index = ListBox1->ItemIndex();
    if (index < 0)
        return;
    // The spacing options are read as they stand now.
    std::string text = ListBox1->Item(index);
    if (Form2->shape17->Checked())
        text.insert(0, " ");
    if (Form2->shape16->Checked())
        text += ' ';
    // Replaces the selection in the format at the caret; the entry stays
    // selected for the next insertion.
    memo1->SetSelText(text);
    memo1->SetFocus();
}

void TForm1::ListBox1DblClick(TObject* sender) { SpeedButton3Click(sender); }

// An empty list never keeps the focus.
void TForm1::ListBox1MouseDown(TObject*, TMouseButton, TShiftState, int, int)
{
    if (ListBox1->Count() == 0)
        memo1->SetFocus();
}

void TForm1::ListBox1MouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    if (ListBox1->Count() == 0)
        memo1->SetFocus();
}

void TForm1::Importwordlist1Click(TObject*)
{
    if (!OpenDialog2.Execute())
        return;
    try {
        // Merged in one pass; on a failure the list is as it was.
        ListBox1->AddMany(ReadWordListFile(OpenDialog2.FileName));
    } catch (const std::exception&) {
        Application->ShowMessage("Import failed!");
    }
    UpdateWordListButtons();
}

void TForm1::Exportwordlist1Click(TObject*)
{
    if (!SaveDialog2.Execute())
        return;
    try {
        // A file there before is replaced only by a complete new one.
        SaveFileSafely(SaveDialog2.FileName, [this](TStream& file) { WriteWordList(file, ListBox1->Items()); });
    } catch (const std::exception&) {
        Application->ShowMessage("Export failed!");
    }
}

void TForm1::Emptywordlist1Click(TObject*)
{
    if (ListBox1->Count() > 0 &&
        Application->MessageBox("Mibor will now empty the wordlist.", "Confirm",
                                MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1) == IDOK)
        ListBox1->Clear();
    UpdateWordListButtons();
}

// While a band is dragged the list takes its height from the window's outer
// height; "Insert >>" stays where it is until the next change of size.
void TForm1::ControlBar1BandDrag(TObject*) { FitWordList(TWordListFit::BandDrag); }

// ---- the side panel's layout ----

int TForm1::WordListHeight(TWordListFit fit) const
{
    // The window height the list fills, less the toolbars and what the panel
    // and the window's frame keep above and below the list, measured from
    // that height.
    switch (fit) {
    case TWordListFit::ClientHeight:
        return ClientHeight() + InsertAllowance - ControlBar1->Height() - 65;
    case TWordListFit::OuterHeight:
        return Height() + InsertAllowance - ControlBar1->Height() - 109;
    case TWordListFit::BandDrag:
        break;
    }
    return Height() - ControlBar1->Height() - 71;
}

void TForm1::FitWordList(TWordListFit fit)
{
    if (fit == TWordListFit::BandDrag)
        Panel10->SetHeight(WordListHeight(fit));
    else
        SetWordListHeight(WordListHeight(fit));
}

void TForm1::SetWordListHeight(int height)
{
    Panel10->SetHeight(height);
    SpeedButton3->SetTop(height + 45);
}

void TForm1::ShowInsertButton(bool shown)
{
    SpeedButton3->SetVisible(shown);
    InsertAllowance = shown ? 0 : 16;
}

void TForm1::ShowSidePanel(int choice)
{
    struct PanelSize {
        int panel, frames, field, buttons, removeLeft, topLine, fontSize;
    };
    static const PanelSize kSizes[] = {
        {87, 82, 68, 38, 45, 86, 7},
        {128, 123, 111, 59, 65, 127, 8},
        {170, 165, 154, 80, 86, 169, 8},
    };
    if (choice <= 0) {
        if (choice == 0) {
            Panel9->Hide();
            Bevel2->Hide();
        }
        return;
    }
    const PanelSize& size = kSizes[std::min(choice, 3) - 1];
    Panel9->Show();
    Bevel2->Show();
    Panel9->SetWidth(size.panel);
    Panel10->SetWidth(size.frames);
    Panel18->SetWidth(size.frames);
    SpeedButton3->SetWidth(size.frames);
    Edit4->SetWidth(size.field);
    SpeedButton1->SetWidth(size.buttons);
    SpeedButton2->SetWidth(size.buttons);
    SpeedButton2->SetLeft(size.removeLeft);
    Shape2->SetWidth(size.topLine);
    Shape1->SetLeft(size.panel - 1);
    TFont font = SpeedButton1->Font();
    font.SetSize(size.fontSize);
    SpeedButton1->SetFont(font);
    SpeedButton2->SetFont(font);
    Realign();
}
