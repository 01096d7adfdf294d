#include "ui/StdCtrls.h"

#include "ui/Application.h"
#include "ui/Forms.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

// ---- TLabel ----

TLabel::TLabel(TControl* parent, const std::string& caption, int left, int top) : TControl(parent)
{
    // Made at its size, with its caption: a move and a text less for the window server.
    // The size is measured in the display's pixels; the figure made of it
    // is rounded up so that the caption never loses a pixel.
    SIZE size = CaptionSize(caption);
    auto unscaled = [&](int pixels) {
        int value = Unscaled(pixels);
        return Scaled(value) < pixels ? value + 1 : value;
    };
    CreateHandle("STATIC", WS_VISIBLE | SS_NOTIFY | SS_LEFT | SS_NOPREFIX, 0, left, top, unscaled(size.cx),
                 unscaled(size.cy), caption);
}

void TLabel::SetText(const std::string& text)
{
    TControl::SetText(text);
    AdjustSize();
    Invalidate();
}

void TLabel::FontChanged() { AdjustSize(); }

void TLabel::AdjustSize()
{
    if (!AutoSize || !Handle())
        return;
    SIZE size = CaptionSize(Text());
    RECT now = BoundsInPixels();
    if (size.cx != now.right - now.left || size.cy != now.bottom - now.top)
        SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TLabel::CaptionSize(const std::string& text) const
{
    // Measured on a memory DC of the screen: a window's own DC would cost
    // round trips to the window server.
    static TMemoryDC measuring;
    RECT rect{0, 0, 0, 0};
    TSelectObject font(measuring, Font().Handle());
    DrawTextUtf8(measuring, text.empty() ? " " : text, &rect, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    return SIZE{text.empty() ? 0 : rect.right, rect.bottom};
}

bool TLabel::HandleCommand(WPARAM wParam, LRESULT& result)
{
    if (HIWORD(wParam) == STN_CLICKED) {
        Click();
        result = 0;
        return true;
    }
    return false;
}

HBRUSH TLabel::HandleCtlColor(HDC dc)
{
    TColor background = Transparent && Parent() ? Parent()->Color() : Color();
    SetTextColor(dc, IsWindowEnabled(Handle()) ? ColorToRGB(Font().Color()) : GetSysColor(COLOR_GRAYTEXT));
    SetBkColor(dc, ColorToRGB(background));
    return SolidBrush(background);
}

// ---- edit fields ----

int TCustomEdit::SelStart() const
{
    DWORD start = 0, end = 0;
    Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

int TCustomEdit::SelLength() const
{
    DWORD start = 0, end = 0;
    Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelStart(int start) { Perform(EM_SETSEL, start, start); }

void TCustomEdit::SetSelLength(int length)
{
    int start = SelStart();
    Perform(EM_SETSEL, start, start + length);
}

void TCustomEdit::Select(int start, int length) { Perform(EM_SETSEL, start, start + length); }

std::string TCustomEdit::SelText() const
{
    const std::wstring text = ToWide(Text());
    const auto start = static_cast<size_t>(SelStart()), length = static_cast<size_t>(SelLength());
    if (start > text.size())
        return std::string();
    return ToUtf8(text.substr(start, length));
}

void TCustomEdit::SetSelText(const std::string& text)
{
    Perform(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
}

void TCustomEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }
void TCustomEdit::ClearSelection() { Perform(WM_CLEAR); }
void TCustomEdit::CutToClipboard() { Perform(WM_CUT); }
void TCustomEdit::CopyToClipboard() { Perform(WM_COPY); }
void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE); }
void TCustomEdit::Undo() { Perform(EM_UNDO); }

void TCustomEdit::SetMaxLength(int length) { Perform(EM_LIMITTEXT, length); }

void TCustomEdit::SetPasswordChar(char character)
{
    Perform(EM_SETPASSWORDCHAR, static_cast<unsigned char>(character));
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool TCustomEdit::ReadOnly() const { return (GetWindowLongW(Handle(), GWL_STYLE) & ES_READONLY) != 0; }

void TCustomEdit::SetReadOnly(bool readOnly) { Perform(EM_SETREADONLY, readOnly); }

bool TCustomEdit::HandleCommand(WPARAM wParam, LRESULT& result)
{
    if (HIWORD(wParam) == EN_CHANGE) {
        FireEvent(OnChange, this);
        result = 0;
        return true;
    }
    return false;
}

TEdit::TEdit(TControl* parent, int left, int top, int width, int height, TEditOptions options)
    : TCustomEdit(parent)
{
    SetColor(clWindow);
    CreateHandle("EDIT", WS_VISIBLE | ES_AUTOHSCROLL | (options.tabStop ? WS_TABSTOP : 0),
                 options.border ? WS_EX_CLIENTEDGE : 0, left, top, width, height);
}

TMemo::TMemo(TControl* parent, int left, int top, int width, int height) : TCustomEdit(parent)
{
    SetColor(clWindow);
    CreateHandle("EDIT", WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, WS_EX_CLIENTEDGE,
                 left, top, width, height);
}

// ---- TCheckBox ----

TCheckBox::TCheckBox(TControl* parent, const std::string& caption, int left, int top, int width, int height)
    : TControl(parent)
{
    CreateHandle("BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, left, top, width, height, caption);
}

bool TCheckBox::Checked() const { return Perform(BM_GETCHECK) == BST_CHECKED; }

void TCheckBox::SetChecked(bool checked) { Perform(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }

void TCheckBox::SetBoxRight(bool right)
{
    LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    SetWindowLongW(Handle(), GWL_STYLE, right ? style | BS_LEFTTEXT : style & ~BS_LEFTTEXT);
    Invalidate();
}

bool TCheckBox::HandleCommand(WPARAM wParam, LRESULT& result)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        Click();
        result = 0;
        return true;
    }
    return false;
}

// ---- TListBox ----

TListBox::TListBox(TControl* parent, int left, int top, int width, int height, TListBoxOptions options)
    : TControl(parent)
{
    SetColor(clWindow);
    CreateHandle("LISTBOX",
                 WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS |
                     (options.sorted ? LBS_SORT : 0) | (options.tabStop ? WS_TABSTOP : 0),
                 options.border ? WS_EX_CLIENTEDGE : 0, left, top, width, height);
}

int TListBox::Count() const { return static_cast<int>(items_.size()); }

std::string TListBox::Item(int index) const
{
    return index >= 0 && index < Count() ? items_[index] : std::string();
}

int TListBox::Add(const std::string& text)
{
    LRESULT index = Perform(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
    if (index < 0)
        throw EOutOfResources("The list cannot take another entry");
    items_.insert(items_.begin() + std::min<size_t>(static_cast<size_t>(index), items_.size()), text);
    return static_cast<int>(index);
}

bool TListBox::SortsBefore(const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; }

namespace {

// Sorts entries into a sorted list's order, ties in their given order.
void SortForList(std::vector<std::string>& texts)
{
    // Entries stored from a sorted list come back in order: one look at each
    // neighbour instead of a sort.
    if (std::is_sorted(texts.begin(), texts.end(), TListBox::SortsBefore))
        return;
    // Sort keys of the user's locale order as its comparison does, and cost
    // one call an entry instead of one call a comparison.
    std::vector<char> keys;
    std::vector<size_t> keyAt(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        keyAt[i] = keys.size();
        const std::wstring text = ToWide(texts[i]);
        // A sort key is a string of bytes, whatever the text's width.
        int length = text.empty() ? 0
                                  : LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text.data(),
                                                 static_cast<int>(text.size()), nullptr, 0);
        keys.resize(keys.size() + length + 1, '\0');
        if (length > 0)
            LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text.data(),
                         static_cast<int>(text.size()), reinterpret_cast<wchar_t*>(&keys[keyAt[i]]), length);
    }
    std::vector<size_t> order(texts.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return std::strcmp(&keys[keyAt[a]], &keys[keyAt[b]]) < 0; });
    std::vector<std::string> sorted;
    sorted.reserve(texts.size());
    for (size_t i : order)
        sorted.push_back(std::move(texts[i]));
    texts.swap(sorted);
    // Where a key and the comparison disagree, the comparison decides.
    if (!std::is_sorted(texts.begin(), texts.end(), TListBox::SortsBefore))
        std::stable_sort(texts.begin(), texts.end(), TListBox::SortsBefore);
}

} // namespace

bool TListBox::Sorted() const { return (GetWindowLongW(Handle(), GWL_STYLE) & LBS_SORT) != 0; }

void TListBox::AddMany(std::vector<std::string> texts)
{
    if (texts.empty())
        return;
    const int selected = ItemIndex();
    int selectedAfter = selected;
    std::vector<std::string> merged;
    merged.reserve(items_.size() + texts.size());
    if (!Sorted()) {
        merged = items_;
        merged.insert(merged.end(), std::make_move_iterator(texts.begin()), std::make_move_iterator(texts.end()));
    } else {
        SortForList(texts);
        size_t old = 0, added = 0;
        while (old < items_.size() || added < texts.size()) {
            if (added == texts.size() || (old < items_.size() && !SortsBefore(texts[added], items_[old]))) {
                if (static_cast<int>(old) == selected)
                    selectedAfter = static_cast<int>(merged.size());
                merged.push_back(items_[old++]);
            } else {
                merged.push_back(std::move(texts[added++]));
            }
        }
    }
    try {
        Fill(merged);
    } catch (...) {
        // The control shows the old entries again if it can; the program's
        // copy keeps them whatever the control does.
        IgnoreFailure([&] {
            Fill(items_);
            SetItemIndex(selected);
        });
        throw;
    }
    items_ = std::move(merged);
    SetItemIndex(selectedAfter);
}

void TListBox::Fill(const std::vector<std::string>& texts)
{
    struct RedrawOff {
        const TListBox& list;
        explicit RedrawOff(const TListBox& l) : list(l) { list.Perform(WM_SETREDRAW, FALSE); }
        ~RedrawOff()
        {
            list.Perform(WM_SETREDRAW, TRUE);
            InvalidateRect(list.Handle(), nullptr, TRUE);
        }
    } redrawOff(*this);
    Perform(LB_RESETCONTENT);
    size_t bytes = 0;
    for (const auto& text : texts)
        bytes += (text.size() + 1) * sizeof(wchar_t);
    if (Perform(LB_INITSTORAGE, texts.size(), bytes) == LB_ERRSPACE)
        throw EOutOfResources("The list cannot take another entry");
    // Appended in the given order: a sorted list would search for each place.
    for (const auto& text : texts)
        if (Perform(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(ToWide(text).c_str())) < 0)
            throw EOutOfResources("The list cannot take another entry");
}

void TListBox::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    Perform(LB_DELETESTRING, index);
    items_.erase(items_.begin() + index);
}

void TListBox::Clear()
{
    Perform(LB_RESETCONTENT);
    items_.clear();
}

int TListBox::ItemIndex() const { return static_cast<int>(Perform(LB_GETCURSEL)); }
void TListBox::SetItemIndex(int index) { Perform(LB_SETCURSEL, index); }

bool TListBox::HandleCommand(WPARAM wParam, LRESULT& result)
{
    switch (HIWORD(wParam)) {
    case LBN_DBLCLK:
        FireEvent(OnDblClick, this);
        result = 0;
        return true;
    case LBN_SELCHANGE:
        Click();
        result = 0;
        return true;
    default:
        return false;
    }
}

// ---- TComboBox ----

TComboBox::TComboBox(TControl* parent, int left, int top, int width, TComboBoxOptions options) : TControl(parent)
{
    SetColor(clWindow);
    int itemHeight = 14;
    CreateHandle("COMBOBOX",
                 WS_VISIBLE | WS_VSCROLL | CBS_AUTOHSCROLL | (options.sorted ? CBS_SORT : 0) |
                     (options.style == Style::DropDown ? CBS_DROPDOWN : CBS_DROPDOWNLIST) |
                     (options.tabStop ? WS_TABSTOP : 0),
                 0, left, top, width, 24 + itemHeight * options.dropDownCount);
    // The edit inside a drop-down combo box passes right-clicks on to the box,
    // so that the box's own context menu (or none) is shown.
    if (HWND edit = GetWindow(Handle(), GW_CHILD))
        SetWindowSubclass(edit, InnerEditProc, 0, 0);
}

LRESULT CALLBACK TComboBox::InnerEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR)
{
    if (message == WM_CONTEXTMENU)
        return SendMessageW(GetParent(window), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(GetParent(window)), lParam);
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, InnerEditProc, 0);
    return DefSubclassProc(window, message, wParam, lParam);
}

int TComboBox::Count() const { return static_cast<int>(Perform(CB_GETCOUNT)); }

std::string TComboBox::Item(int index) const
{
    LRESULT length = Perform(CB_GETLBTEXTLEN, index);
    if (length == CB_ERR)
        return std::string();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = Perform(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length == CB_ERR ? 0 : static_cast<size_t>(length));
    return ToUtf8(text);
}

int TComboBox::Add(const std::string& text)
{
    return static_cast<int>(Perform(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(text).c_str())));
}

void TComboBox::Clear() { Perform(CB_RESETCONTENT); }

int TComboBox::IndexOf(const std::string& text) const
{
    LRESULT index =
        Perform(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(ToWide(text).c_str()));
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

int TComboBox::ItemIndex() const { return static_cast<int>(Perform(CB_GETCURSEL)); }
void TComboBox::SetItemIndex(int index) { Perform(CB_SETCURSEL, index); }

void TComboBox::SetText(const std::string& text)
{
    if ((GetWindowLongW(Handle(), GWL_STYLE) & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST) {
        SetItemIndex(IndexOf(text));
        return;
    }
    SetWindowTextW(Handle(), ToWide(text).c_str());
}

bool TComboBox::DroppedDown() const { return Perform(CB_GETDROPPEDSTATE) != 0; }

bool TComboBox::HandleCommand(WPARAM wParam, LRESULT& result)
{
    switch (HIWORD(wParam)) {
    case CBN_SELCHANGE:
        if (OnSelect) {
            // The box would show the entry only after this notification.
            if (ItemIndex() >= 0)
                SetText(Item(ItemIndex()));
            FireEvent(OnSelect, this);
        } else {
            FireEvent(OnChange, this);
        }
        result = 0;
        return true;
    case CBN_EDITCHANGE:
        FireEvent(OnChange, this);
        result = 0;
        return true;
    case CBN_SETFOCUS:
        if (TForm* form = OwnerForm())
            form->NoteFocus(this);
        return false;
    default:
        return false;
    }
}

// ---- TRadioGroup ----

TRadioGroup::TRadioGroup(TControl* parent, const std::string& caption, int left, int top, int width, int height,
                         const std::vector<std::string>& items, int columns)
    : TControl(parent)
{
    CreateHandle("BUTTON", WS_VISIBLE | BS_GROUPBOX, WS_EX_CONTROLPARENT, left, top, width, height, caption);
    int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    int columnWidth = (width - 16) / columns;
    int rowHeight = rows ? (height - 22) / rows : 0;
    for (size_t i = 0; i < items.size(); ++i) {
        int column = static_cast<int>(i) / rows, row = static_cast<int>(i) % rows;
        HWND button = CreateWindowExW(0, L"BUTTON", ToWide(items[i]).c_str(),
                                      WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0),
                                      Scaled(8 + column * columnWidth), Scaled(16 + row * rowHeight),
                                      Scaled(columnWidth - 4), Scaled(18), Handle(),
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(i + 1)), GetModuleHandleW(nullptr),
                                      nullptr);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
        buttons_.push_back(button);
    }
}

void TRadioGroup::DpiChanged(int previous)
{
    TControl::DpiChanged(previous);
    // The buttons are windows of the group's own, not controls of the form.
    for (HWND button : buttons_) {
        RECT rect;
        GetWindowRect(button, &rect);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
        auto scale = [&](LONG value) { return MulDiv(value, Dpi(), previous); };
        SetWindowPos(button, nullptr, scale(rect.left), scale(rect.top), scale(rect.right - rect.left),
                     scale(rect.bottom - rect.top), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    }
}

TRadioGroup::~TRadioGroup()
{
    for (HWND button : buttons_)
        DestroyWindow(button);
}

int TRadioGroup::ItemIndex() const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (SendMessageW(buttons_[i], BM_GETCHECK, 0, 0) == BST_CHECKED)
            return static_cast<int>(i);
    return -1;
}

void TRadioGroup::SetItemIndex(int index)
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        SendMessageW(buttons_[i], BM_SETCHECK, static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT TRadioGroup::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The buttons are plain windows of the group; their clicks come here.
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        std::find(buttons_.begin(), buttons_.end(), reinterpret_cast<HWND>(lParam)) != buttons_.end()) {
        Click();
        return 0;
    }
    if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, ColorToRGB(Font().Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        return reinterpret_cast<LRESULT>(SolidBrush(Color()));
    }
    return TControl::WndProc(message, wParam, lParam);
}
