// The clock toolbar: the two pickers follow the local time twice a second
// until the user picks a value of their own, and the time or the date goes
// into the focused field as text in the user's regional formats.
#include "mainform/MainForm.h"

#include "ui/WideText.h"

namespace {

// Runs a formatting call of the system twice: first asking for the size the
// text needs, then for the text.
template <typename Call>
std::string Formatted(Call call)
{
    int size = call(nullptr, 0);
    if (size <= 0)
        return std::string();
    std::wstring text(static_cast<size_t>(size), L'\0');
    size = call(&text[0], size);
    text.resize(size > 0 ? static_cast<size_t>(size) - 1 : 0);
    return ToUtf8(text);
}

// An empty format stands for the locale's own.
const wchar_t* FormatOrDefault(const std::wstring& format) { return format.empty() ? nullptr : format.c_str(); }

} // namespace

std::string TForm1::RegionalFormat(LCTYPE which)
{
    return Formatted(
        [which](wchar_t* buffer, int size) { return GetLocaleInfoW(LOCALE_USER_DEFAULT, which, buffer, size); });
}

std::string TForm1::TimeText(const SYSTEMTIME& value) const
{
    const std::wstring format = ToWide(LongTimeFormat);
    return Formatted([&](wchar_t* buffer, int size) {
        return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &value, FormatOrDefault(format), buffer, size);
    });
}

std::string TForm1::DateText(const SYSTEMTIME& value) const
{
    const std::wstring format = ToWide(ShortDateFormat);
    return Formatted([&](wchar_t* buffer, int size) {
        return GetDateFormatW(LOCALE_USER_DEFAULT, 0, &value, FormatOrDefault(format), buffer, size);
    });
}

void TForm1::Timer2Timer(TObject*)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    // Not a change by the user: the clock goes on.
    DateTimePicker1->SetDateTime(now);
    DateTimePicker2->SetDateTime(now);
}

// A value the user picks stays until the clock is started again.
void TForm1::DateTimePicker1Change(TObject*) { Timer2->SetEnabled(false); }
void TForm1::DateTimePicker2Change(TObject*) { Timer2->SetEnabled(false); }

void TForm1::ToolButton26Click(TObject*) { Timer2->SetEnabled(!Timer2->Enabled()); }

void TForm1::ToolButton22Click(TObject*) { InsertPickerValue(*DateTimePicker1); }

void TForm1::ToolButton23Click(TObject*) { InsertPickerValue(*DateTimePicker2); }

void TForm1::InsertPickerValue(const TDateTimePicker& picker)
{
    // With a picker focused the text goes into the editor, in the focused
    // picker's format; otherwise into the focused field, in the format of the
    // button's own picker.
    TControl* active = ActiveControl();
    bool pickerFocused = active == DateTimePicker1.get() || active == DateTimePicker2.get();
    TTextField target = pickerFocused ? TTextField(memo1.get()) : FocusedField();
    if (!target)
        return;
    SYSTEMTIME value = picker.DateTime();
    const TControl* format = pickerFocused ? active : &picker;
    bool asTime = format == DateTimePicker1.get();
    target.SetSelText(asTime ? TimeText(value) : DateText(value));
}
