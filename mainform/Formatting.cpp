// Character and paragraph formatting of the editor's selection, and the
// formatting toolbar following the selection.
#include "mainform/MainForm.h"

#include "preferences/PreferencesForm.h"
#include "ui/SysUtils.h"

#include <algorithm>

namespace {

// Sets the sync flag for the life of the object and gives it back its value
// on every way out, a failure included.
class SyncHold {
public:
    explicit SyncHold(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~SyncHold() { flag_ = was_; }
    SyncHold(const SyncHold&) = delete;
    SyncHold& operator=(const SyncHold&) = delete;

private:
    bool& flag_;
    bool was_;
};

// Whether every character of the selection has the style: a style the
// selection has only in part counts as not had.
bool Has(const TCharAttributes& text, TFontStyles style, DWORD mask)
{
    return (text.mask & mask) && (text.style & style);
}

// The selection's one font name; empty when its characters differ.
std::string FontName(const TCharAttributes& text) { return (text.mask & CFM_FACE) ? text.name : std::string(); }

// Writes to a control only what differs: the toolbar follows every caret move.
void ShowDown(TToolButton* button, bool down)
{
    if (button->Down() != down)
        button->SetDown(down);
}

void ShowText(TControl& control, const std::string& text)
{
    if (control.Text() != text)
        control.SetText(text);
}

} // namespace

void TForm1::ToggleStyle(TFontStyles style, DWORD mask)
{
    TCharAttributes change;
    change.mask = mask; // the other styles stay as they are
    change.style = Has(memo1->SelAttributes(), style, mask) ? 0 : style;
    memo1->SetSelAttributes(change);
}

void TForm1::ToolButton11Click(TObject*) { ToggleStyle(fsBold, CFM_BOLD); }
void TForm1::ToolButton12Click(TObject*) { ToggleStyle(fsItalic, CFM_ITALIC); }
void TForm1::ToolButton14Click(TObject*) { ToggleStyle(fsUnderline, CFM_UNDERLINE); }

void TForm1::ShowSelectionFont(bool chosenFromList)
{
    // 1. The chosen entry's font goes onto the selection.
    if (chosenFromList && !Syncing && ComboBox1->ItemIndex() >= 0) {
        TCharAttributes font;
        font.mask = CFM_FACE;
        font.name = ComboBox1->Item(ComboBox1->ItemIndex());
        memo1->SetSelAttributes(font);
    }
    // 2. The box shows the selection's font.
    std::string name = FontName(memo1->SelAttributes());
    ShowText(*ComboBox1, name);
    // 3. A selection that still has no one font takes the default font.
    if (chosenFromList && !Syncing && name.empty()) {
        TCharAttributes font;
        font.mask = CFM_FACE;
        font.name = Form2->Edit1->Font().Name();
        memo1->SetSelAttributes(font);
        ShowText(*ComboBox1, font.name);
    }
}

void TForm1::ComboBox1Change(TObject*) { ShowSelectionFont(false); }
void TForm1::ComboBox1Select(TObject*) { ShowSelectionFont(true); }

void TForm1::Edit3Change(TObject*)
{
    int size = 0;
    if (Syncing || !TryStrToInt(Edit3->Text(), size))
        return;
    TCharAttributes change;
    change.mask = CFM_SIZE;
    change.size = size;
    memo1->SetSelAttributes(change);
}

void TForm1::SetSelectionColor(TColor color)
{
    if (Syncing)
        return;
    TCharAttributes change;
    change.mask = CFM_COLOR;
    change.color = color;
    memo1->SetSelAttributes(change);
}

void TForm1::Custom1Click(TObject*)
{
    // The dialog keeps the colour last chosen and opens on it.
    if (ColorDialog2.Execute())
        SetSelectionColor(ColorDialog2.Color);
}

void TForm1::ToolButton18Click(TObject* sender)
{
    auto* button = dynamic_cast<TToolButton*>(sender);
    if (Syncing || !button)
        return;
    TParaAttributes change;
    change.mask = PFM_ALIGNMENT;
    change.alignment = static_cast<TAlignment>(button->Tag);
    memo1->SetParagraph(change);
}

void TForm1::memo1SelectionChange(TObject*)
{
    SyncHold hold(Syncing);
    TCharAttributes text = memo1->SelAttributes();

    // The size. The arrows step from the number in the field; from a size
    // past their range (0 to 100), from its end.
    std::string size = IntToStr(text.size);
    if (Edit3->Text() != size) {
        if (text.size < 0 || text.size > 100)
            UpDown1->SetPosition(std::clamp(text.size, 0, 100));
        Edit3->SetText(size);
    }

    ShowText(*ComboBox1, FontName(text));

    TParaAttributes paragraph = memo1->Paragraph();
    PlaceMarkers(paragraph);

    ShowDown(ToolButton11, Has(text, fsBold, CFM_BOLD));
    ShowDown(ToolButton12, Has(text, fsItalic, CFM_ITALIC));
    ShowDown(ToolButton14, Has(text, fsUnderline, CFM_UNDERLINE));
    ShowDown(ToolButton44, paragraph.bullets);

    // Pressing one alignment button releases the others. In plain mode they
    // are plain buttons, released.
    TToolButton* aligned = paragraph.alignment == TAlignment::Right    ? ToolButton20
                         : paragraph.alignment == TAlignment::Center ? ToolButton19
                                                                      : ToolButton18;
    if (aligned->Style() == TToolButtonStyle::Check && !aligned->Down())
        aligned->SetDown(true);
}
