// The word list of the side panel: entries added from the entry field,
// removed, inserted into the text, imported from and exported to word-list
// files, emptied; the states of the panel's buttons; the panel's sizes.
#include "mainform/WordListPanel.h"

#include "mainform/WordListFile.h"
#include "preferences/PreferencesForm.h"
#include "ui/Application.h"
#include "ui/SafeFile.h"

TWordListPanel::TWordListPanel(const std::unique_ptr<TRichEdit>& editor) : editor_(editor)
{
    for (TOpenDialog* dialog : {static_cast<TOpenDialog*>(&OpenDialog2), static_cast<TOpenDialog*>(&SaveDialog2)}) {
        dialog->DefaultExt = ".mib";
        dialog->Filter = "Mibor wordlist files (*.mib)|*.mib";
    }
}

void TWordListPanel::Build(TControl* window, TPopupMenu& fieldMenu)
{
    Panel9 = std::make_unique<TPanel>(window, 0, 0, 128, 300);
    Panel9->SetBevels(TBevelCut::None, TBevelCut::None);
    Panel9->SetAlign(TAlign::Left);
    Shape2 = std::make_unique<TShape>(Panel9.get(), 0, 0, 127, 1, clBtnHighlight, clBtnHighlight);
    Shape1 = std::make_unique<TShape>(Panel9.get(), 127, 0, 1, 2000, clBtnShadow, clBtnShadow);
    SpeedButton1 = std::make_unique<TSpeedButton>(Panel9.get(), "Add", 3, 3, 59, 14);
    SpeedButton2 = std::make_unique<TSpeedButton>(Panel9.get(), "Remove", 65, 3, 59, 14);
    Panel18 = std::make_unique<TPanel>(Panel9.get(), 2, 19, 123, 22);
    Panel18->SetSunkenFrame();
    Panel18->SetColor(clWindow);
    Edit4 = std::make_unique<TEdit>(Panel18.get(), 5, 4, 111, 14, TEditOptions{.border = false, .tabStop = false});
    Edit4->SetFont(TFont("Tahoma", 8, clBlack));
    Edit4->SetMaxLength(100);
    Edit4->PopupMenu = &fieldMenu;
    Panel10 = std::make_unique<TPanel>(Panel9.get(), 2, 43, 123, 200);
    Panel10->SetSunkenFrame();
    ListBox1 = std::make_unique<TListBox>(Panel10.get(), 0, 0, 121, 198,
                                          TListBoxOptions{.sorted = true, .border = false, .tabStop = false});
    ListBox1->SetAlign(TAlign::Client);
    SpeedButton3 = std::make_unique<TSpeedButton>(Panel9.get(), "Insert >>", 2, 245, 123, 14);
}

void TWordListPanel::DisableWhenEmpty()
{
    if (ListBox1->Count() == 0) {
        RemoveCommand->SetEnabled(false);
        InsertCommand->SetEnabled(false);
    }
}

void TWordListPanel::UpdateWordListButtons()
{
    AddCommand->SetEnabled(!Edit4->Text().empty());
    bool any = ListBox1->Count() > 0;
    RemoveCommand->SetEnabled(any);
    InsertCommand->SetEnabled(any);
}

void TWordListPanel::SpeedButton1Click(TObject*)
{
    std::string text = Edit4->Text();
    if (text.empty())
        return;
    // Placed at its sorted place; the selection and the focus stay.
    ListBox1->Add(text);
    Edit4->SetText("");
    UpdateWordListButtons();
}

void TWordListPanel::Edit4KeyPress(TObject*, wchar_t& key)
{
    // Enter adds while "Add" can; the key itself still goes to the field.
    if (key == '\r')
        AddCommand->Execute(Edit4.get());
}

void TWordListPanel::Edit4Change(TObject*) { AddCommand->SetEnabled(!Edit4->Text().empty()); }

void TWordListPanel::SpeedButton2Click(TObject*)
{
    int index = ListBox1->ItemIndex();
    if (index >= 0)
        ListBox1->Delete(index);
    ListBox1->SetItemIndex(-1);
    UpdateWordListButtons();
}

void TWordListPanel::SpeedButton3Click(TObject*)
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
    editor_->SetSelText(text);
    editor_->SetFocus();
}

void TWordListPanel::ListBox1DblClick(TObject* sender) { SpeedButton3Click(sender); }

// An empty list never keeps the focus.
void TWordListPanel::ListBox1MouseDown(TObject*, TMouseButton, TShiftState, int, int)
{
    if (ListBox1->Count() == 0)
        editor_->SetFocus();
}

void TWordListPanel::ListBox1MouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    if (ListBox1->Count() == 0)
        editor_->SetFocus();
}

void TWordListPanel::Importwordlist1Click(TObject*)
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

void TWordListPanel::Exportwordlist1Click(TObject*)
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

void TWordListPanel::Emptywordlist1Click(TObject*)
{
    if (ListBox1->Count() > 0 &&
        Application->MessageBox("Mibor will now empty the wordlist.", "Confirm",
                                MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1) == IDOK)
        ListBox1->Clear();
    UpdateWordListButtons();
}

// ---- the panel's layout ----

void TWordListPanel::SetWordListHeight(int height)
{
    Panel10->SetHeight(height);
    SpeedButton3->SetTop(height + 45);
}

void TWordListPanel::ShowInsertButton(bool shown)
{
    SpeedButton3->SetVisible(shown);
    InsertAllowance = shown ? 0 : 16;
}

void TWordListPanel::SetPanelSize(int size)
{
    struct PanelSize {
        int panel, frames, field, buttons, removeLeft, topLine, fontSize;
    };
    static const PanelSize kSizes[] = {
        {87, 82, 68, 38, 45, 86, 7},
        {128, 123, 111, 59, 65, 127, 8},
        {170, 165, 154, 80, 86, 169, 8},
    };
    const PanelSize& chosen = kSizes[size - 1];
    Panel9->SetWidth(chosen.panel);
    Panel10->SetWidth(chosen.frames);
    Panel18->SetWidth(chosen.frames);
    SpeedButton3->SetWidth(chosen.frames);
    Edit4->SetWidth(chosen.field);
    SpeedButton1->SetWidth(chosen.buttons);
    SpeedButton2->SetWidth(chosen.buttons);
    SpeedButton2->SetLeft(chosen.removeLeft);
    Shape2->SetWidth(chosen.topLine);
    Shape1->SetLeft(chosen.panel - 1);
    TFont font = SpeedButton1->Font();
    font.SetSize(chosen.fontSize);
    SpeedButton1->SetFont(font);
    SpeedButton2->SetFont(font);
}
