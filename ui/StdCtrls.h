// Labels, edit fields, check boxes, list boxes, combo boxes and radio groups.
#pragma once

#include "ui/Controls.h"

#include <string>
#include <vector>

class TLabel : public TControl {
public:
    explicit TLabel(TControl* parent, const std::string& caption = "", int left = 0, int top = 0);
    void SetText(const std::string& text) override;
    // Labels are drawn on their parent's colour unless given one of their own.
    bool Transparent = true;
    bool AutoSize = true;

protected:
    bool HandleCommand(WPARAM wParam, LRESULT& result) override;
    HBRUSH HandleCtlColor(HDC dc) override;
    void FontChanged() override;

private:
    void AdjustSize();
    // The size the caption needs in the label's font.
    SIZE CaptionSize(const std::string& text) const;
};

// Operations shared by the text fields: selection and clipboard.
class TCustomEdit : public TControl {
public:
    int SelStart() const;
    int SelLength() const;
    void SetSelStart(int start);
    void SetSelLength(int length);
    void Select(int start, int length);
    std::string SelText() const;
    void SetSelText(const std::string& text);
    void SelectAll();
    void ClearSelection();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Undo();

    void SetMaxLength(int length);
    // Shows this character for every character of the text (0: the text itself).
    void SetPasswordChar(char character);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);

    TNotifyEvent OnChange;

protected:
    using TControl::TControl;
    bool HandleCommand(WPARAM wParam, LRESULT& result) override;
};

// How a control is made, named where it is made:
// TEdit(panel, 4, 4, 97, 14, TEditOptions{.border = false, .tabStop = false}).
struct TEditOptions {
    bool border = true;  // a sunken edge around the field
    bool tabStop = true; // Tab stops at the field
};

class TEdit : public TCustomEdit {
public:
    TEdit(TControl* parent, int left, int top, int width, int height, TEditOptions options = {});
};

// A plain multi-line edit.
class TMemo : public TCustomEdit {
public:
    TMemo(TControl* parent, int left, int top, int width, int height);
};

class TCheckBox : public TControl {
public:
    TCheckBox(TControl* parent, const std::string& caption, int left, int top, int width, int height);
    bool Checked() const;
    void SetChecked(bool checked);
    // The box stands to the right of the caption.
    void SetBoxRight(bool right);

protected:
    bool HandleCommand(WPARAM wParam, LRESULT& result) override;
};

// A list box. The program keeps its own copy of the entries beside the
// control's, so that entries of any length are read back whole.
struct TListBoxOptions {
    bool sorted = false; // entries stand in alphabetical order
    bool border = true;
    bool tabStop = true;
};

class TListBox : public TControl {
public:
    TListBox(TControl* parent, int left, int top, int width, int height, TListBoxOptions options = {});
    int Count() const;
    std::string Item(int index) const;
    const std::vector<std::string>& Items() const { return items_; }
    // Adds an entry at its sorted place (at the end of an unsorted list);
    // raises EOutOfResources when the control refuses it.
    int Add(const std::string& text);
    // Adds many entries in one pass with redrawing held off. A sorted list
    // sorts them once and merges them in after the equal entries it holds;
    // the selected entry stays selected. When the control refuses an entry or
    // memory runs short, the entries held before are put back and the failure
    // is raised.
    void AddMany(std::vector<std::string> texts);
    void Delete(int index);
    void Clear();
    int ItemIndex() const;
    void SetItemIndex(int index);

    // The order of a sorted list: case-insensitive, in the user's locale.
    static bool SortsBefore(const std::string& a, const std::string& b);

protected:
    bool HandleCommand(WPARAM wParam, LRESULT& result) override;

private:
    bool Sorted() const;
    // Makes the control hold exactly `texts`, in their order.
    void Fill(const std::vector<std::string>& texts);
    std::vector<std::string> items_;
};

// DropDown: a field to type in with its list; DropDownList: the list alone.
enum class TComboBoxStyle { DropDown, DropDownList };

struct TComboBoxOptions {
    TComboBoxStyle style = TComboBoxStyle::DropDown;
    bool sorted = false;
    int dropDownCount = 8; // entries the open list shows at once
    bool tabStop = true;
};

class TComboBox : public TControl {
public:
    using Style = TComboBoxStyle;
    TComboBox(TControl* parent, int left, int top, int width, TComboBoxOptions options = {});
    int Count() const;
    std::string Item(int index) const;
    int Add(const std::string& text);
    void Clear();
    int IndexOf(const std::string& text) const;
    int ItemIndex() const;
    void SetItemIndex(int index);
    void SetText(const std::string& text) override;
    bool DroppedDown() const;

    // Text typed into the box (and, without OnSelect, a list entry chosen).
    TNotifyEvent OnChange;
    // A list entry chosen, by mouse, keys or wheel; the box's text is already
    // the entry's when it runs.
    TNotifyEvent OnSelect;

protected:
    bool HandleCommand(WPARAM wParam, LRESULT& result) override;

private:
    static LRESULT CALLBACK InnerEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data);
};

// A framed group of radio buttons in columns.
class TRadioGroup : public TControl {
public:
    TRadioGroup(TControl* parent, const std::string& caption, int left, int top, int width, int height,
                const std::vector<std::string>& items, int columns);
    ~TRadioGroup() override;
    int ItemIndex() const;
    void SetItemIndex(int index);
    int Count() const { return static_cast<int>(buttons_.size()); }
    HWND Button(int index) const { return buttons_.at(index); }

protected:
    void DpiChanged(int previous) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<HWND> buttons_;
};
