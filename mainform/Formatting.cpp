// Character and paragraph formatting of the editor's selection, and the
// formatting toolbar following the selection.
#include "mainform/FormattingBar.h"

#include "mainform/Icons.h"

#include "preferences/PreferencesForm.h"
#include "ui/ScopedValue.h"
#include "ui/SysUtils.h"

#include <algorithm>

namespace {

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

TFormattingBar::TFormattingBar(const std::unique_ptr<TRichEdit>& editor) : editor_(editor) {}

void TFormattingBar::Build(TControl* bandBar, TImageList& icons, TPopupMenu& colours, TPopupMenu& noMenu)
{
    using Style = TToolButtonStyle;
    ToolBar6 = std::make_unique<TToolBar>(bandBar, 391, &icons);
    ToolButton11 = ToolBar6->AddButton("Bold", nullptr, iconBold, Style::Check);
    ToolButton12 = ToolBar6->AddButton("Italic", nullptr, iconItalic, Style::Check);
    ToolButton14 = ToolBar6->AddButton("Underline", nullptr, iconUnderline, Style::Check);
    int left = ToolBar6->AddControlSpace(141);
    ComboBox1 = std::make_unique<TComboBox>(ToolBar6.get(), left, 0, 141,
                                            TComboBoxOptions{.sorted = true, .dropDownCount = 15, .tabStop = false});
    ComboBox1->SetFont(TFont("Tahoma", 9));
    ComboBox1->SetText("Tahoma");
    ComboBox1->PopupMenu = &noMenu;
    left = ToolBar6->AddControlSpace(44);
    Edit3 = std::make_unique<TEdit>(ToolBar6.get(), left + 2, 1, 26, 20, TEditOptions{.tabStop = false});
    Edit3->SetMaxLength(3);
    Edit3->SetReadOnly(true);
    Edit3->SetText("0");
    Edit3->PopupMenu = &noMenu;
    UpDown1 = std::make_unique<TUpDown>(ToolBar6.get(), Edit3.get(), 0, 100, 0);
    ToolButton15 = ToolBar6->AddButton("Select color...", nullptr, iconColor, Style::DropDown);
    ToolButton15->DropdownMenu = &colours;
    ToolBar6->AddSeparator();
    ToolButton18 = ToolBar6->AddButton("Align left", nullptr, iconAlignLeft, Style::Check, true);
    ToolButton18->Tag = 0;
    ToolButton19 = ToolBar6->AddButton("Center", nullptr, iconCenter, Style::Check, true);
    ToolButton19->Tag = 2;
    ToolButton20 = ToolBar6->AddButton("Align right", nullptr, iconAlignRight, Style::Check, true);
    ToolButton20->Tag = 1;
    ToolBar6->AddSeparator();
    ToolButton44 = ToolBar6->AddButton("", nullptr, iconBullets, Style::Check);
}

void TFormattingBar::ToggleStyle(TFontStyles style, DWORD mask)
{
    TCharAttributes change;
    change.mask = mask; // the other styles stay as they are
    change.style = Has(editor_->SelAttributes(), style, mask) ? 0 : style;
    editor_->SetSelAttributes(change);
}

void TFormattingBar::ToolButton11Click(TObject*) { ToggleStyle(fsBold, CFM_BOLD); }
void TFormattingBar::ToolButton12Click(TObject*) { ToggleStyle(fsItalic, CFM_ITALIC); }
void TFormattingBar::ToolButton14Click(TObject*) { ToggleStyle(fsUnderline, CFM_UNDERLINE); }

void TFormattingBar::ShowSelectionFont(bool chosenFromList)
{
    // 1. The chosen entry's font goes onto the selection.
    if (chosenFromList && !Syncing && ComboBox1->ItemIndex() >= 0) {
        TCharAttributes font;
        font.mask = CFM_FACE;
        font.name = ComboBox1->Item(ComboBox1->ItemIndex());
        editor_->SetSelAttributes(font);
    }
    // 2. The box shows the selection's font.
    std::string name = FontName(editor_->SelAttributes());
    ShowText(*ComboBox1, name);
    // 3. A selection that still has no one font takes the default font.
    if (chosenFromList && !Syncing && name.empty()) {
        TCharAttributes font;
        font.mask = CFM_FACE;
        font.name = Form2->Edit1->Font().Name();
        editor_->SetSelAttributes(font);
        ShowText(*ComboBox1, font.name);
    }
}

void TFormattingBar::ComboBox1Change(TObject*) { ShowSelectionFont(false); }
void TFormattingBar::ComboBox1Select(TObject*) { ShowSelectionFont(true); }

void TFormattingBar::Edit3Change(TObject*)
{
    int size = 0;
    if (Syncing || !TryStrToInt(Edit3->Text(), size))
        return;
    TCharAttributes change;
    change.mask = CFM_SIZE;
    change.size = size;
    editor_->SetSelAttributes(change);
}

void TFormattingBar::SetSelectionColor(TColor color)
{
    if (Syncing)
        return;
    TCharAttributes change;
    change.mask = CFM_COLOR;
    change.color = color;
    editor_->SetSelAttributes(change);
}

void TFormattingBar::Custom1Click(TObject*)
{
    // The dialog keeps the colour last chosen and opens on it.
    if (ColorDialog2.Execute())
        SetSelectionColor(ColorDialog2.Color);
}

void TFormattingBar::ToolButton18Click(TObject* sender)
{
    auto* button = dynamic_cast<TToolButton*>(sender);
    if (Syncing || !button)
        return;
    TParaAttributes change;
    change.mask = PFM_ALIGNMENT;
    change.alignment = static_cast<TAlignment>(button->Tag);
    editor_->SetParagraph(change);
}

void TFormattingBar::memo1SelectionChange(TObject*)
{
    TScopedValue<bool> hold(Syncing, true);
    TCharAttributes text = editor_->SelAttributes();

    // The size. The arrows step from the number in the field; from a size
    // past their range (0 to 100), from its end.
    std::string size = IntToStr(text.size);
    if (Edit3->Text() != size) {
        if (text.size < 0 || text.size > 100)
            UpDown1->SetPosition(std::clamp(text.size, 0, 100));
        Edit3->SetText(size);
    }

    ShowText(*ComboBox1, FontName(text));

    TParaAttributes paragraph = editor_->Paragraph();
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
