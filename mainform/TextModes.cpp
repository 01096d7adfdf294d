// Plain and rich text modes, the default margins and the bullet button.
#include "mainform/MainForm.h"

#include "preferences/PreferencesForm.h"
#include "ui/SysUtils.h"

namespace {

// Remembers the editor's selection and puts it back at the end of a scope.
class KeptSelection {
public:
    explicit KeptSelection(TRichEdit& editor) : editor_(editor), start_(editor.SelStart()), length_(editor.SelLength())
    {
    }
    ~KeptSelection() { editor_.Select(start_, length_); }
    KeptSelection(const KeptSelection&) = delete;
    KeptSelection& operator=(const KeptSelection&) = delete;

private:
    TRichEdit& editor_;
    int start_, length_;
};

} // namespace

void TForm1::ToolButton24Click(TObject*)
{
    // 1. The ruler belongs to rich text.
    Panel19->Hide();
    CommandRows.plainMode->SetChecked(true);

    // 2. The whole text, keeping the selection.
    TUpdateLock lock(*memo1);
    KeptSelection selection(*memo1);
    memo1->SelectAll();
    // The toolbar shows the new formatting even where the selection was the whole text.
    memo1->SelectionFormatChanged();

    // 3. The default margins; with 8. below (no bullets, so the other lines
    // start at the left margin too, and left alignment) in one formatting of
    // the whole text.
    int left = StrToInt(Form2->Edit2->Text());
    int right = StrToInt(Form2->Edit4->Text());
    TParaAttributes paragraph;
    paragraph.mask = PFM_STARTINDENT | PFM_OFFSET | PFM_RIGHTINDENT | PFM_NUMBERING | PFM_ALIGNMENT;
    paragraph.firstIndent = left;
    paragraph.leftIndent = 0;
    paragraph.rightIndent = right;
    paragraph.bullets = false;
    paragraph.alignment = TAlignment::Left;
    // And 7. below: the default font on the whole text.
    memo1->SetWholeTextFormats(paragraph, PlainModeFont());

    // 4. Files are read and written as plain text.
    memo1->PlainText = true;

    // 5. and 6. The character and paragraph tools are off.
    Edit3->SetEnabled(false);
    UpDown1->SetEnabled(false);
    for (TAction* style : {CommandRows.bold, CommandRows.italic, CommandRows.underline})
        style->SetEnabled(false);
    ToolButton15->SetEnabled(false);
    for (TToolButton* button : {ToolButton18, ToolButton19, ToolButton20}) {
        button->SetStyle(TToolButtonStyle::Button);
        button->SetDown(false);
    }
    CommandRows.align->SetEnabled(false);
    CommandRows.bullets->SetEnabled(false);
    ComboBox1->SetEnabled(false);

    // 7. The default font as the editor's own font.
    memo1->SetEditorFont(Form2->Edit1->Font());
    // 9. The selection comes back as the scope ends.
}

TCharAttributes TForm1::PlainModeFont() const
{
    const TFont& font = Form2->Edit1->Font();
    TCharAttributes attributes;
    attributes.mask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_FACE;
    attributes.color = font.Color();
    attributes.style = font.Style();
    attributes.size = font.Size();
    attributes.name = font.Name();
    return attributes;
}

void TForm1::ToolButton25Click(TObject*)
{
    CommandRows.richMode->SetChecked(true);
    // The toolbar follows the selection once, when it is back.
    TUpdateLock lock(*memo1);
    KeptSelection selection(*memo1);
    memo1->SelectAll();
    memo1->SelectionFormatChanged();
    memo1->PlainText = false;
    Edit3->SetEnabled(true);
    UpDown1->SetEnabled(true);
    Panel19->Show();
    for (TAction* style : {CommandRows.bold, CommandRows.italic, CommandRows.underline})
        style->SetEnabled(true);
    ToolButton15->SetEnabled(true);
    for (TToolButton* button : {ToolButton18, ToolButton19, ToolButton20})
        button->SetStyle(TToolButtonStyle::Check, true);
    CommandRows.align->SetEnabled(true);
    ToolButton18->SetDown(true);
    CommandRows.bullets->SetEnabled(true);
    ComboBox1->SetEnabled(true);
}

void TForm1::ApplyPlainModeAgain()
{
    if (PlainMode())
        ToolButton24Click(nullptr);
}

void TForm1::ToolButton44Click(TObject*)
{
    if (Syncing)
        return;
    TParaAttributes paragraph = memo1->Paragraph();
    TParaAttributes change;
    if (paragraph.bullets) {
        change.mask = PFM_NUMBERING | PFM_OFFSET;
        change.bullets = false;
        change.leftIndent = 0;
    } else {
        change.mask = PFM_NUMBERING;
        change.bullets = true;
        if (paragraph.leftIndent < 10) {
            change.mask |= PFM_OFFSET;
            change.leftIndent = 10;
        }
    }
    memo1->SetParagraph(change);
}

void TForm1::ApplyDefaultMargins()
{
    if (!PlainMode())
        return;
    // A margin field that is not a number leaves the text as it is.
    IgnoreFailure<EConvertError>([this] { SetWholeTextMargins(); });
}

void TForm1::SetWholeTextMargins()
{
    int left = StrToInt(Form2->Edit2->Text());
    int right = StrToInt(Form2->Edit4->Text());
    TUpdateLock lock(*memo1);
    KeptSelection selection(*memo1);
    memo1->SelectAll();
    TParaAttributes first;
    first.mask = PFM_STARTINDENT;
    first.firstIndent = left;
    memo1->SetParagraph(first);
    TParaAttributes rest;
    rest.mask = PFM_OFFSET;
    rest.leftIndent = left - memo1->Paragraph().firstIndent;
    if (right < memo1->Width()) {
        rest.mask |= PFM_RIGHTINDENT;
        rest.rightIndent = right;
    } else {
        Form2->Edit4->SetText(IntToStr(memo1->Width()));
    }
    memo1->SetParagraph(rest);
}
