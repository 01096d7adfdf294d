// The clock toolbar: two pickers that follow the local time twice a second,
// and the buttons that insert the time or the date as text in the user's
// regional formats. The main window forwards the names.
#pragma once

#include "mainform/FocusedField.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/RichEdit.h"

#include <functional>
#include <memory>
#include <string>

class TClockBar {
public:
    // The text goes into `editor` while a picker is focused, else into the
    // field `focusedField` gives; `window` tells which control is focused.
    TClockBar(TForm& window, const std::unique_ptr<TRichEdit>& editor, std::function<TTextField()> focusedField);

    // Makes the toolbar in the band bar and the clock, ticking.
    void Build(TControl* bandBar, TImageList& icons);

    std::unique_ptr<TToolBar> ToolBar7;
    std::unique_ptr<TPanel> Panel3, Panel4;           // frames of the pickers
    std::unique_ptr<TDateTimePicker> DateTimePicker1; // time
    std::unique_ptr<TDateTimePicker> DateTimePicker2; // date
    TToolButton* ToolButton22 = nullptr;              // Insert time
    TToolButton* ToolButton23 = nullptr;              // Insert date
    TToolButton* ToolButton26 = nullptr;              // Start / Stop ticking
    std::unique_ptr<TTimer> Timer2;                   // the clock, 499 ms

    void Timer2Timer(TObject* sender);
    void DateTimePicker1Change(TObject* sender);
    void DateTimePicker2Change(TObject* sender);
    void ToolButton22Click(TObject* sender); // Insert time
    void ToolButton23Click(TObject* sender); // Insert date
    void ToolButton26Click(TObject* sender); // Start / Stop ticking

    // The user's regional formats, read at start-up.
    static std::string RegionalFormat(LCTYPE which);
    std::string LongTimeFormat = RegionalFormat(LOCALE_STIMEFORMAT);
    std::string ShortDateFormat = RegionalFormat(LOCALE_SSHORTDATE);
    // A value's time of day and date in those formats.
    std::string TimeText(const SYSTEMTIME& value) const;
    std::string DateText(const SYSTEMTIME& value) const;
    // Inserts the picker's value as "Insert time" and "Insert date" do.
    void InsertPickerValue(const TDateTimePicker& picker);

private:
    TForm& window_;
    const std::unique_ptr<TRichEdit>& editor_;
    std::function<TTextField()> focusedField_;
};
