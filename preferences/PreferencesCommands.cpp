// The Preferences window's commands: opening, the page buttons and their
// hover colours, "Ok", the font and colour buttons, the margin fields,
// "Reset all Toolbars" and "Location...".
#include "preferences/PreferencesForm.h"

#include "email/SendForm.h"
#include "mainform/MainForm.h"
#include "ui/SysUtils.h"

// ---- opening ----

void TForm2::FormShow(TObject*)
{
    ShowPage(Form8 && Form8->EmailPageFlag ? EmailPage.get() : InfoPage.get());
}

// ---- the page buttons and "Ok" ----

void TForm2::Panel16Click(TObject* sender)
{
    int index = static_cast<TControl*>(sender)->Tag;
    ShowPage(Pages().at(static_cast<size_t>(index)));
}

void TForm2::Panel16MouseMove(TObject* sender, TShiftState, int, int)
{
    for (TPanelButton* button : PageButtons())
        button->SetHot(button == sender);
}

void TForm2::speedbutton2MouseMove(TObject*, TShiftState, int, int) { speedbutton2->SetHot(true); }

void TForm2::FormMouseMove(TObject*, TShiftState, int, int)
{
    for (TPanelButton* button : PageButtons())
        button->SetHot(false);
    speedbutton2->SetHot(false);
}

void TForm2::SpeedButton2Click(TObject*)
{
    // The main window lays itself out afresh for the new choices.
    Form1->SetWidth(Form1->Width() + 1);
    Form1->SetWidth(Form1->Width() - 1);
    Close();
}

// ---- General ----

void TForm2::SpeedButton4Click(TObject*)
{
    if (Form1->FontDialog1.Execute())
        Edit1->SetFont(Form1->FontDialog1.Font);
}

void TForm2::SpeedButton5Click(TObject*)
{
    TColorDialog& dialog = Form1->ColorDialog1;
    if (dialog.Execute())
        Edit1->SetColor(dialog.Color);
    // Confirmed or not, the editor shows the colour the dialog holds.
    Form1->memo1->SetBackground(dialog.Color);
}

void TForm2::Edit4Change(TObject*)
{
    for (TEdit* field : {Edit4.get(), Edit2.get()}) {
        int value;
        if (!TryStrToInt(field->Text(), value))
            field->SetText("0");
    }
}

// ---- Toolbars ----

void TForm2::SpeedButton22Click(TObject*)
{
    for (TCheckBox* box : {shape10.get(), shape1.get(), shape14.get(), shape4.get(), shape8.get(), shape7.get()})
        box->SetChecked(true);
    Form1->ResetToolBars();
}

// ---- Backup and save ----

void TForm2::SpeedButton17Click(TObject*)
{
    LocationDialog.FileName = "Mibor8 - Backup";
    if (LocationDialog.Execute())
        Edit3->SetText(LocationDialog.FileName);
}
