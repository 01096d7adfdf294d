// The text field that a window's editing commands act on: whichever of the
// window's fields is its active control, a one-line field or a rich edit
// control, seen through the operations those commands use. The main window
// and the send window route their clipboard commands through it.
#pragma once

#include "ui/Forms.h"
#include "ui/RichEdit.h"
#include "ui/StdCtrls.h"

#include <initializer_list>
#include <string>

class TTextField {
public:
    // No field: every operation does nothing.
    TTextField() = default;
    TTextField(TCustomEdit* edit) : edit_(edit) {}
    TTextField(TRichEdit* rich) : rich_(rich) {}

    explicit operator bool() const { return edit_ || rich_; }
    TControl* Control() const;
    TRichEdit* Rich() const { return rich_; }

    int SelStart() const;
    int SelLength() const;
    int TextLength() const;
    void SelectAll() const;
    // Deletes the selection; the clipboard is not touched.
    void ClearSelection() const;
    // Replaces the selection; the caret stands after the new text.
    void SetSelText(const std::string& text) const;

    // The field's own clipboard operations. An empty selection is neither cut
    // nor copied: the clipboard keeps what it holds.
    void Cut() const;
    void Copy() const;
    // Copies the whole text and puts the selection back, its start and then its
    // length; a rich field's view stays where it was. An empty field copies nothing.
    void CopyAll() const;
    // Pastes the clipboard `times` times in a row, each where the last one left
    // the caret. A rich field first checks that as many copies of the
    // clipboard's text fit in the memory left, and raises EOutOfResources
    // without pasting when they do not.
    void Paste(int times = 1) const;

private:
    template <typename Operation>
    auto Apply(Operation operation) const
    {
        return edit_ ? operation(*edit_) : operation(*rich_);
    }

    TCustomEdit* edit_ = nullptr;
    TRichEdit* rich_ = nullptr;
};

// The first of `fields` that is the form's active control; no field when none is.
TTextField FocusedField(const TForm& form, std::initializer_list<TTextField> fields);
