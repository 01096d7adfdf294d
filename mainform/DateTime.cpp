// The clock toolbar: the two pickers follow the local time twice a second
// until the user picks a value of their own, and the time or the date goes
// into the focused field as text in the user's regional formats.
#include "mainform/ClockBar.h"

#include "mainform/Icons.h"

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

TClockBar::TClockBar(TForm& window, const std::unique_ptr<TRichEdit>& editor, std::function<TTextField()> focusedField)
    : window_(window), editor_(editor), focusedField_(std::move(focusedField))
{
}

void TClockBar::Build(TControl* bandBar, TImageList& icons)
{
    ToolBar7 = std::make_unique<TToolBar>(bandBar, 287, &icons);
    int left = ToolBar7->AddControlSpace(105);
    Panel3 = std::make_unique<TPanel>(ToolBar7.get(), left, 0, 105, 22);
    Panel3->SetBevels(TBevelCut::Lowered, TBevelCut::None);
    Panel3->SetColor(clWhite);
    DateTimePicker1 = std::make_unique<TDateTimePicker>(Panel3.get(), 1, 1, 103, 20, TDateTimeKind::Time);
    ToolButton22 = ToolBar7->AddButton("Insert time", nullptr, iconInsertTime);
    left = ToolBar7->AddControlSpace(105);
    Panel4 = std::make_unique<TPanel>(ToolBar7.get(), left, 0, 105, 22);
    Panel4->SetBevels(TBevelCut::Lowered, TBevelCut::None);
    Panel4->SetColor(clWhite);
    DateTimePicker2 = std::make_unique<TDateTimePicker>(Panel4.get(), 1, 1, 103, 20, TDateTimeKind::Date);
    ToolButton23 = ToolBar7->AddButton("Insert date", nullptr, iconInsertDate);
    ToolBar7->AddSeparator();
    ToolButton26 = ToolBar7->AddButton("Start / Stop ticking", nullptr, iconTicking);
    Timer2 = std::make_unique<TTimer>(TTimerOptions{.interval = 499});
}

std::string TClockBar::RegionalFormat(LCTYPE which)
{
    return Formatted(
        [which](wchar_t* buffer, int size) { return GetLocaleInfoW(LOCALE_USER_DEFAULT, which, buffer, size); });
}

std::string TClockBar::TimeText(const SYSTEMTIME& value) const
{
    const std::wstring format = ToWide(LongTimeFormat);
    return Formatted([&](wchar_t* buffer, int size) {
        return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &value, FormatOrDefault(format), buffer, size);
    });
}

std::string TClockBar::DateText(const SYSTEMTIME& value) const
{
    const std::wstring format = ToWide(ShortDateFormat);
    return Formatted([&](wchar_t* buffer, int size) {
        return GetDateFormatW(LOCALE_USER_DEFAULT, 0, &value, FormatOrDefault(format), buffer, size);
    });
}

void TClockBar::Timer2Timer(TObject*)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    // Not a change by the user: the clock goes on.
    DateTimePicker1->SetDateTime(now);
    DateTimePicker2->SetDateTime(now);
}

// A value the user picks stays until the clock is started again.
void TClockBar::DateTimePicker1Change(TObject*) { Timer2->SetEnabled(false); }
void TClockBar::DateTimePicker2Change(TObject*) { Timer2->SetEnabled(false); }

void TClockBar::ToolButton26Click(TObject*) { Timer2->SetEnabled(!Timer2->Enabled()); }

void TClockBar::ToolButton22Click(TObject*) { InsertPickerValue(*DateTimePicker1); }

void TClockBar::ToolButton23Click(TObject*) { InsertPickerValue(*DateTimePicker2); }

void TClockBar::InsertPickerValue(const TDateTimePicker& picker)
{
    // With a picker focused the text goes into the editor, in the focused
    // picker's format; otherwise into the focused field, in the format of the
    // button's own picker.
    TControl* active = window_.ActiveControl();
    bool pickerFocused = active == DateTimePicker1.get() || active == DateTimePicker2.get();
    TTextField target = pickerFocused ? TTextField(editor_.get()) : focusedField_();
    if (!target)
        return;
    SYSTEMTIME value = picker.DateTime();
    const TControl* format = pickerFocused ? active : &picker;
    bool asTime = format == DateTimePicker1.get();
    target.SetSelText(asTime ? TimeText(value) : DateText(value));
}
