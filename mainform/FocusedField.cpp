#include "mainform/FocusedField.h"

#include "ui/Clipboard.h"
#include "ui/SysUtils.h"

TControl* TTextField::Control() const
{
    return edit_ ? static_cast<TControl*>(edit_) : static_cast<TControl*>(rich_);
}

int TTextField::SelStart() const
{
    return *this ? Apply([](auto& field) { return field.SelStart(); }) : 0;
}

int TTextField::SelLength() const
{
    return *this ? Apply([](auto& field) { return field.SelLength(); }) : 0;
}

int TTextField::TextLength() const
{
    if (!*this)
        return 0;
    return rich_ ? rich_->TextLength() : GetWindowTextLengthW(edit_->Handle());
}

void TTextField::SelectAll() const
{
    if (*this)
        Apply([](auto& field) { field.SelectAll(); });
}

void TTextField::ClearSelection() const
{
    if (*this)
        Apply([](auto& field) { field.ClearSelection(); });
}

void TTextField::SetSelText(const std::string& text) const
{
    if (*this)
        Apply([&](auto& field) { field.SetSelText(text); });
}

void TTextField::Cut() const
{
    if (SelLength() > 0)
        Apply([](auto& field) { field.CutToClipboard(); });
}

void TTextField::Copy() const
{
    if (SelLength() > 0)
        Apply([](auto& field) { field.CopyToClipboard(); });
}

void TTextField::CopyAll() const
{
    if (TextLength() == 0)
        return;
    // Selecting the whole text scrolls the editor to its end, and putting the
    // selection back scrolls to the caret: the view is put back too, and
    // nothing is drawn in between.
    int firstLine = 0;
    if (rich_) {
        rich_->BeginUpdate();
        firstLine = static_cast<int>(rich_->Perform(EM_GETFIRSTVISIBLELINE));
    }
    int start = SelStart(), length = SelLength();
    SelectAll();
    Apply([](auto& field) { field.CopyToClipboard(); });
    Apply([&](auto& field) {
        field.SetSelStart(start);
        field.SetSelLength(length);
    });
    if (rich_) {
        int nowFirst = static_cast<int>(rich_->Perform(EM_GETFIRSTVISIBLELINE));
        if (nowFirst != firstLine)
            rich_->Perform(EM_LINESCROLL, 0, firstLine - nowFirst);
        rich_->EndUpdate();
    }
}

void TTextField::Paste(int times) const
{
    if (!*this || times <= 0)
        return;
    if (!rich_) {
        for (int i = 0; i < times; ++i)
            edit_->PasteFromClipboard();
        return;
    }
    // The rich edit control ends the program when its memory runs out.
    if (!rich_->RoomForText(static_cast<uint64_t>(ClipboardText().size()) * static_cast<uint64_t>(times)))
        throw EOutOfResources(times == 1 ? "Not enough memory to paste the clipboard's text"
                                         : "Not enough memory to paste the clipboard's text " + IntToStr(times) +
                                               " times");
    rich_->BeginUpdate();
    for (int i = 0; i < times; ++i)
        rich_->PasteFromClipboard();
    rich_->EndUpdate();
    rich_->ScrollCaret();
}

TTextField FocusedField(const TForm& form, std::initializer_list<TTextField> fields)
{
    TControl* active = form.ActiveControl();
    for (const TTextField& field : fields)
        if (field && field.Control() == active)
            return field;
    return TTextField();
}
