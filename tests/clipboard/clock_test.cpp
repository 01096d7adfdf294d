// The clock toolbar: ticking, stopping and starting, and the pickers' values
// inserted into the focused field or, from a focused picker, into the editor.
#include "tests/clipboard/MainFieldsTest.h"

#include <cstdio>

namespace {

// A moment: year, month, day, hour, minute, second.
SYSTEMTIME Moment(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    return SYSTEMTIME{year, month, 0, day, hour, minute, second, 0};
}

std::string Printed(const char* format, int a, int b, int c)
{
    char text[32];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string TimeOf(const SYSTEMTIME& value) { return Printed("%02d:%02d:%02d", value.wHour, value.wMinute, value.wSecond); }
std::string DateOf(const SYSTEMTIME& value) { return Printed("%02d.%02d.%04d", value.wDay, value.wMonth, value.wYear); }

SYSTEMTIME Now()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

class ClockTest : public MainFieldsTest {
protected:
    // The regional formats as a user might have set them.
    void StartWithKnownFormats()
    {
        Start("plain");
        Form1->LongTimeFormat = "HH:mm:ss";
        Form1->ShortDateFormat = "dd.MM.yyyy";
    }
};

} // namespace

TEST_F(ClockTest, EachButtonInsertsItsPickersValueWhereTheRoutingTableSays)
{
    StartWithKnownFormats();
    Form1->Timer2->SetEnabled(false);
    // The time picker shows a time and the date picker a date, but each holds
    // a whole moment.
    Form1->DateTimePicker1->SetDateTime(Moment(2001, 2, 3, 4, 5, 6));
    Form1->DateTimePicker2->SetDateTime(Moment(2010, 11, 12, 13, 14, 15));
    TControl *find = Form1->fedit.get(), *replace = Form1->redit.get(), *memo = Form1->memo1.get(),
             *entry = Form1->Edit4.get();
    TControl *timePicker = Form1->DateTimePicker1.get(), *datePicker = Form1->DateTimePicker2.get();
    TToolButton *insertTime = Form1->ToolButton22, *insertDate = Form1->ToolButton23;
    const struct {
        TControl* focus;
        TToolButton* button;
        TControl* target;
        std::string text;
    } kCases[] = {
        {find, insertTime, find, "04:05:06"},
        {find, insertDate, find, "12.11.2010"},
        {replace, insertTime, replace, "04:05:06"},
        {memo, insertDate, memo, "12.11.2010"},
        {entry, insertTime, entry, "04:05:06"},
        // From a picker: into the editor, in that picker's format, the value
        // of the button's own picker.
        {timePicker, insertTime, memo, "04:05:06"},
        {timePicker, insertDate, memo, "13:14:15"},
        {datePicker, insertTime, memo, "03.02.2001"},
        {datePicker, insertDate, memo, "12.11.2010"},
        {Form1->ListBox1.get(), insertTime, nullptr, ""},
        {Form1->ListBox1.get(), insertDate, nullptr, ""},
    };
    for (const auto& test : kCases) {
        SCOPED_TRACE(test.button->Hint() + " with " + test.text);
        for (TControl* field : {find, replace, memo, entry}) {
            field->SetText("[]");
            field->Perform(EM_SETSEL, 1, 1);
        }
        Focus(test.focus);
        test.button->Click();
        for (TControl* field : {find, replace, memo, entry}) {
            DWORD start = 0, end = 0;
            field->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            bool target = field == test.target;
            EXPECT_EQ(field->Text(), target ? "[" + test.text + "]" : "[]");
            EXPECT_EQ(start, target ? 1 + test.text.size() : 1);
            EXPECT_EQ(end, start);
        }
    }

    // The formatting call is asked for the size the text needs.
    Form1->LongTimeFormat = "'" + std::string(100, 'x') + "' HH:mm:ss";
    Form1->memo1->SetText("");
    Focus(memo);
    insertTime->Click();
    EXPECT_EQ(Form1->memo1->Text(), std::string(100, 'x') + " 04:05:06");
}

TEST_F(ClockTest, TheClockFollowsTheLocalTimeUntilTheUserPicksAValue)
{
    StartWithKnownFormats();
    TDateTimePicker& datePicker = *Form1->DateTimePicker2;
    EXPECT_TRUE(Form1->Timer2->Enabled());
    EXPECT_EQ(Form1->Timer2->Interval(), 499u);

    // A tick sets both pickers and is no change by the user.
    Form1->DateTimePicker1->SetDateTime(Moment(2001, 2, 3, 4, 5, 6));
    datePicker.SetDateTime(Moment(2001, 2, 3, 4, 5, 6));
    std::string before = TimeOf(Now());
    Pump(700);
    EXPECT_TRUE(Form1->Timer2->Enabled());
    EXPECT_EQ(DateOf(datePicker.DateTime()), DateOf(Now()));

    // With the caret in the editor, "Insert time" inserts the time of now,
    // with its seconds, as of the last tick.
    Focus(Form1->memo1.get());
    Form1->ToolButton22->Click();
    std::string after = TimeOf(Now());
    std::string inserted = Form1->memo1->Text();
    EXPECT_TRUE(inserted >= before && inserted <= after) << inserted << " not within " << before << " " << after;

    // The user steps the date picker to another day: the clock stops, and
    // that day is what "Insert date" inserts.
    Focus(&datePicker);
    PressKey(VK_RIGHT); // to the first field of the date
    PressKey(VK_UP);
    EXPECT_FALSE(Form1->Timer2->Enabled());
    std::string picked = DateOf(datePicker.DateTime());
    EXPECT_NE(picked, DateOf(Now()));
    Pump(700);
    EXPECT_EQ(DateOf(datePicker.DateTime()), picked);
    Form1->memo1->SetText("");
    Focus(Form1->memo1.get());
    Form1->ToolButton23->Click();
    EXPECT_EQ(Form1->memo1->Text(), picked);

    // "Start / Stop ticking" starts the clock again, and stops it.
    Form1->ToolButton26->Click();
    EXPECT_TRUE(Form1->Timer2->Enabled());
    Pump(700);
    EXPECT_EQ(DateOf(datePicker.DateTime()), DateOf(Now()));
    Form1->ToolButton26->Click();
    EXPECT_FALSE(Form1->Timer2->Enabled());
}
