// Opening the send window with the current document.
#include "mainform/MainForm.h"

#include "email/SendForm.h"
#include "preferences/PreferencesForm.h"

void TForm1::Sendasemail1Click(TObject*)
{
    Form8->ComboBox1->SetItemIndex(0);
    if (Form8->replyto->Text().empty())
        Form8->replyto->SetText(Form2->email->Text());
    Form8->ShowModal();
    // The next opening starts in the subject field.
    Form8->SetActiveControl(Form8->subject.get());
}
