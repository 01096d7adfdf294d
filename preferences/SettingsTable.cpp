// The rows of the settings table, in the order of the settings load.
#include "preferences/SettingsTable.h"

#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"
#include "preferences/SettingsText.h"
#include "ui/SysUtils.h"

namespace {

using Form = TValueForm;
using Text = std::optional<std::string>;

// A window that would lie wholly off every monitor present now is put on the
// primary monitor's work area, keeping its size where that fits.
void KeepOnScreen(TForm& window)
{
    RECT rect = window.BoundsInPixels();
    if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL))
        return;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& work = info.rcWork;
    int width = std::min<int>(rect.right - rect.left, work.right - work.left);
    int height = std::min<int>(rect.bottom - rect.top, work.bottom - work.top);
    window.SetBoundsInPixels(work.left + (work.right - work.left - width) / 2,
                             work.top + (work.bottom - work.top - height) / 2, width, height);
}

TSetting CheckBox(const char* name, std::unique_ptr<TCheckBox> TForm2::*box, const char* firstStart, int settingsSave,
                  int windowSave = 0)
{
    return {name,
            Form::Boolean,
            firstStart,
            settingsSave,
            windowSave,
            [box](TSettingsLoad& load, const std::string& text) { (load.prefs.*box)->SetChecked(TextToBool(text)); },
            [box](TForm1&, TForm2& prefs) -> Text { return BoolToText((prefs.*box)->Checked()); }};
}

TSetting Field(const char* name, Form form, std::unique_ptr<TEdit> TForm2::*field, const char* firstStart,
               int settingsSave)
{
    return {name,
            form,
            firstStart,
            settingsSave,
            0,
            [field](TSettingsLoad& load, const std::string& text) { (load.prefs.*field)->SetText(text); },
            [field](TForm1&, TForm2& prefs) -> Text { return (prefs.*field)->Text(); }};
}

// The window's size and place, in the pixels of the display: read into the
// load, set when the last is read (or when the load stops before it).
TSetting Bound(const char* name, int TSettingsLoad::*value, int (*current)(const RECT&), int windowSave)
{
    return {name,
            Form::Integer,
            nullptr,
            0,
            windowSave,
            [value](TSettingsLoad& load, const std::string& text) {
                if (!load.boundsOpen) {
                    // The whole desktop, then the stored values.
                    load.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
                    load.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
                    load.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
                    load.height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
                    load.boundsOpen = true;
                }
                load.*value = StrToInt(text);
                if (value == &TSettingsLoad::top) {
                    // Once: every change of width wraps a long document again.
                    load.main.SetBoundsInPixels(load.left, load.top, load.width, load.height);
                    load.boundsOpen = false;
                    KeepOnScreen(load.main);
                }
            },
            [current](TForm1& main, TForm2&) -> Text { return IntToStr(current(main.BoundsInPixels())); }};
}

TSetting BandPlace(int band, bool left)
{
    static const char* const kNumbers[] = {"1", "2", "3", "5", "6", "7"};
    TSetting row{std::string("Toolbar") + kNumbers[band] + (left ? "Left" : "Top"),
                 Form::Integer,
                 nullptr,
                 0,
                 (left ? 13 : 19) + band,
                 [band, left](TSettingsLoad& load, const std::string& text) {
                     TControlBar& bar = *load.main.ControlBar1;
                     if (left)
                         bar.SetBandLeft(SettingToolBar(load.main, band), StrToInt(text));
                     else
                         bar.SetBandTop(SettingToolBar(load.main, band), StrToInt(text));
                 },
                 [band, left](TForm1& main, TForm2&) -> Text {
                     TToolBar* bar = SettingToolBar(main, band);
                     return IntToStr(left ? bar->Left() : bar->Top());
                 }};
    row.band = band;
    row.bandLeft = left;
    return row;
}

Text ReOpen(TForm1& main, TForm2&)
{
    const std::string& name = !main.SaveDialog1.FileName.empty() ? main.SaveDialog1.FileName : main.OpenDialog1.FileName;
    if (name.empty())
        return std::nullopt;
    return name;
}

std::vector<TSetting> BuildSettings()
{
    std::vector<TSetting> rows = {
        {"Security", Form::Choice, "0", 31, 0,
         [](TSettingsLoad& load, const std::string& text) {
             // Absent (a store of an earlier version) or malformed: none.
             int choice = 0;
             if (!TryStrToInt(text, choice) || choice < 0 || choice >= load.prefs.security->Count())
                 choice = 0;
             load.prefs.security->SetItemIndex(choice);
         },
         [](TForm1&, TForm2& prefs) -> Text { return IntToStr(prefs.security->ItemIndex()); }},
        // Never as plain text: protected for the current user.
        {"Password", Form::Secret, "", 32, 0,
         [](TSettingsLoad& load, const std::string& text) { load.prefs.password->SetText(UnprotectText(text)); },
         [](TForm1&, TForm2& prefs) -> Text { return ProtectText(prefs.password->Text()); }},

        {"BackgroundColor", Form::Colour, "clWhite", 1, 1,
         [](TSettingsLoad& load, const std::string& text) {
             TColor background = TextToColor(text);
             load.main.memo1->SetBackground(background);
             load.main.ColorDialog1.Color = background;
         },
         [](TForm1& main, TForm2&) -> Text { return ColorToText(main.memo1->Background()); }},
        {"WordList", Form::List, nullptr, 0, 6,
         [](TSettingsLoad& load, const std::string& text) {
             TStringList words;
             words.SetText(text);
             TForm1& main = load.main;
             main.ListBox1->AddMany(words.Items());
             main.WordList.DisableWhenEmpty();
         },
         [](TForm1& main, TForm2&) -> Text {
             TStringList words;
             for (const std::string& word : main.ListBox1->Items())
                 words.Add(word);
             return words.Text();
         }},
        Bound("Width", &TSettingsLoad::width, [](const RECT& r) { return static_cast<int>(r.right - r.left); }, 2),
        Bound("Height", &TSettingsLoad::height, [](const RECT& r) { return static_cast<int>(r.bottom - r.top); }, 3),
        Bound("Left", &TSettingsLoad::left, [](const RECT& r) { return static_cast<int>(r.left); }, 4),
        Bound("Top", &TSettingsLoad::top, [](const RECT& r) { return static_cast<int>(r.top); }, 5),
        {"Maximized", Form::Boolean, "false", 30, 9,
         [](TSettingsLoad& load, const std::string& text) {
             load.main.SetWindowState(TextToBool(text) ? TWindowState::Maximized : TWindowState::Normal);
         },
         [](TForm1& main, TForm2&) -> Text { return BoolToText(main.WindowState() == TWindowState::Maximized); }},

        CheckBox("MakeBackUp", &TForm2::shape15, "true", 13),
        CheckBox("ReadOnly", &TForm2::shape3, "false", 2, 10),
        CheckBox("ShowApply", &TForm2::shape12, "true", 10),
        CheckBox("AddAfter", &TForm2::shape16, "true", 11),
        CheckBox("AddBefore", &TForm2::shape17, "false", 12),
        CheckBox("ShowMenuIcons", &TForm2::shape11, "true", 3),
        CheckBox("ShowToolbar1", &TForm2::shape10, "true", 4),
        CheckBox("ShowToolbar2", &TForm2::shape1, "true", 5),
        CheckBox("ShowToolbar3", &TForm2::shape14, "true", 6),
        CheckBox("ShowToolbar5", &TForm2::shape8, "true", 7),
        CheckBox("ShowToolbar6", &TForm2::shape4, "true", 8),
        CheckBox("ShowToolbar7", &TForm2::shape7, "true", 9),

        // Before the margins and fonts below are read: a switch to plain mode
        // uses them as they stand now.
        {"Mode", Form::Mode, "plain", 14, 8,
         [](TSettingsLoad& load, const std::string& text) {
             if (text == "rich")
                 load.main.ToolButton25Click(nullptr);
             else
                 load.main.ToolButton24Click(nullptr);
         },
         [](TForm1& main, TForm2&) -> Text { return main.RichMode() ? "rich" : "plain"; }},
        Field("LeftMargin", Form::IntegerText, &TForm2::Edit2, "5", 21),
        {"RightMargin", Form::IntegerText, "5", 22,
         0,
         [](TSettingsLoad& load, const std::string& text) {
             load.prefs.Edit4->SetText(text);
             load.prefs.Edit2Change(nullptr);
         },
         [](TForm1&, TForm2& prefs) -> Text { return prefs.Edit4->Text(); }},

        // The fonts: the default font's colour; the editor's colour, size and
        // name, set at once; then the Preferences sample's.
        {"Font", Form::Colour, "clBlack", 24, 0,
         [](TSettingsLoad& load, const std::string& text) {
             load.main.FontDialog1.Font.SetColor(TextToColor(text));
             load.editorFont = load.main.memo1->Font();
         },
         [](TForm1& main, TForm2&) -> Text { return ColorToText(main.FontDialog1.Font.Color()); }},
        {"FontColor", Form::Colour, "clBlack", 23, 0,
         [](TSettingsLoad& load, const std::string& text) {
             load.fontColor = TextToColor(text);
             load.editorFont.SetColor(load.fontColor);
         },
         [](TForm1& main, TForm2&) -> Text { return ColorToText(main.FontDialog1.Font.Color()); }},
        {"FontSize", Form::Integer, "8", 25, 0,
         [](TSettingsLoad& load, const std::string& text) {
             load.fontSize = StrToInt(text);
             load.editorFont.SetSize(load.fontSize);
             load.main.FontDialog1.Font.SetSize(load.fontSize);
         },
         [](TForm1& main, TForm2&) -> Text { return IntToStr(main.FontDialog1.Font.Size()); }},
        {"FontName", Form::Text, "Tahoma", 26, 0,
         [](TSettingsLoad& load, const std::string& text) {
             load.main.FontDialog1.Font.SetName(text);
             load.editorFont.SetName(text);
             load.main.memo1->SetEditorFont(load.editorFont);
             TFont sample = load.prefs.Edit1->Font();
             sample.SetName(text);
             sample.SetSize(load.fontSize);
             sample.SetColor(load.fontColor);
             load.prefs.Edit1->SetFont(sample);
         },
         [](TForm1& main, TForm2&) -> Text { return main.FontDialog1.Font.Name(); }},
        // The last file of the previous run; when there is no file name the
        // stored one stays.
        {"ReOpen", Form::Text, nullptr, 27, 7,
         [](TSettingsLoad& load, const std::string& text) { load.main.LastFileName = text; }, ReOpen},

        Field("SMTPServer", Form::Text, &TForm2::server, nullptr, 15),
        Field("Port", Form::IntegerText, &TForm2::port, "25", 16),
        Field("id", Form::Text, &TForm2::id, "", 17),
        Field("Name", Form::Text, &TForm2::name, "", 18),
        Field("Email", Form::Text, &TForm2::email, "", 19),
        {"ShowPanel", Form::Integer, "2", 20, 0,
         [](TSettingsLoad& load, const std::string& text) { load.prefs.RadioGroup1->SetItemIndex(StrToInt(text)); },
         [](TForm1&, TForm2& prefs) -> Text { return IntToStr(prefs.RadioGroup1->ItemIndex()); }},

        {"Custom1", Form::CustomColours, nullptr, 0, 11,
         [](TSettingsLoad& load, const std::string& text) { load.main.ColorDialog1.CustomColors.SetText(text); },
         [](TForm1& main, TForm2&) -> Text { return main.ColorDialog1.CustomColors.Text(); }},
        {"Custom2", Form::CustomColours, nullptr, 0, 12,
         [](TSettingsLoad& load, const std::string& text) { load.main.ColorDialog2.CustomColors.SetText(text); },
         [](TForm1& main, TForm2&) -> Text { return main.ColorDialog2.CustomColors.Text(); }},
    };
    // The tops from the last toolbar to the first, the backup location, the
    // lefts in the same order.
    for (int band = 5; band >= 0; --band)
        rows.push_back(BandPlace(band, false));
    rows.push_back(Field("BackUpLocation", Form::Text, &TForm2::Edit3, "C:\\Mibor8- Backup", 28));
    for (int band = 5; band >= 0; --band)
        rows.push_back(BandPlace(band, true));
    // Written only when the default font's style has a code; a code not in
    // the table changes nothing.
    rows.push_back({"FontStyle", Form::FontStyle, "1", 29, 0,
                    [](TSettingsLoad& load, const std::string& text) {
                        TForm1& main = load.main;
                        TFontStyles style = main.memo1->Font().Style();
                        if (!CodeToFontStyle(text, style))
                            return;
                        TFont styled = main.memo1->Font();
                        styled.SetStyle(style);
                        main.memo1->SetEditorFont(styled);
                        main.FontDialog1.Font.SetStyle(style);
                    },
                    [](TForm1& main, TForm2&) -> Text {
                        std::string code = FontStyleToCode(main.FontDialog1.Font.Style());
                        return code.empty() ? std::nullopt : Text(code);
                    }});
    for (TSetting& row : rows)
        row.readFirst = row.form == Form::Choice || row.form == Form::Secret;
    return rows;
}

} // namespace

const std::vector<TSetting>& Settings()
{
    static const std::vector<TSetting> table = BuildSettings();
    return table;
}

TToolBar* SettingToolBar(TForm1& main, int band)
{
    TToolBar* const bars[] = {main.ToolBar1.get(), main.ToolBar2.get(), main.ToolBar3.get(),
                              main.ToolBar5.get(), main.ToolBar6.get(), main.ToolBar7.get()};
    return bars[band];
}
