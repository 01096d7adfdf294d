// The settings store: the registry key that keeps the preferences and the
// window state between runs, and the steps that move values between it and
// the windows.
#include "preferences/PreferencesForm.h"

#include "mainform/MainForm.h"
#include "preferences/SettingsText.h"
#include "ui/Registry.h"
#include "ui/SysUtils.h"

const char* const kSettingsKey = "Software\\Orvane\\Mibor8\\Settings";

namespace {

// One toolbar's place in the store.
struct ToolBarPlace {
    const char* leftName;
    const char* topName;
    std::unique_ptr<TToolBar> TForm1::*bar;
};

// In the order the saves write them; the load reads them in reverse.
const ToolBarPlace kToolBarPlaces[] = {
    {"Toolbar1Left", "Toolbar1Top", &TForm1::ToolBar1}, {"Toolbar2Left", "Toolbar2Top", &TForm1::ToolBar2},
    {"Toolbar3Left", "Toolbar3Top", &TForm1::ToolBar3}, {"Toolbar5Left", "Toolbar5Top", &TForm1::ToolBar5},
    {"Toolbar6Left", "Toolbar6Top", &TForm1::ToolBar6}, {"Toolbar7Left", "Toolbar7Top", &TForm1::ToolBar7},
};

int ReadInteger(const TRegistry& store, const char* name) { return StrToInt(store.ReadString(name)); }

TColor ReadColor(const TRegistry& store, const char* name) { return TextToColor(store.ReadString(name)); }

bool ReadBool(const TRegistry& store, const char* name) { return TextToBool(store.ReadString(name)); }

void OpenForWriting(TRegistry& store)
{
    if (!store.OpenKey(kSettingsKey, true))
        throw ERegistryException("Failed to open the settings key");
}

// A window that would lie wholly off every monitor present now is put on the
// primary monitor's work area, keeping its size where that fits.
void KeepOnScreen(TForm& window)
{
    RECT rect{window.Left(), window.Top(), window.Left() + window.Width(), window.Top() + window.Height()};
    if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL))
        return;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& work = info.rcWork;
    int width = std::min<int>(window.Width(), work.right - work.left);
    int height = std::min<int>(window.Height(), work.bottom - work.top);
    window.SetBounds(work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2,
                     width, height);
}

// The twelve toolbar places of the store, when all of them are numbers.
bool ReadToolBarPlaces(TForm1& main, const TRegistry& store, std::vector<TControlBar::TBandPlace>& places)
{
    for (const ToolBarPlace& place : kToolBarPlaces) {
        TControlBar::TBandPlace band{(main.*place.bar).get(), 0, 0};
        if (!TryStrToInt(store.ReadString(place.leftName), band.left) ||
            !TryStrToInt(store.ReadString(place.topName), band.top))
            return false;
        places.push_back(band);
    }
    return true;
}

} // namespace

void TForm2::SettingsLoad()
{
    TRegistry store;
    store.OpenKey(kSettingsKey, false);
    TForm1& main = *Form1;
    // First and on their own: a load that stops early must not make the save
    // that follows it forget them.
    LoadMailSecurity(store);
    try {
        // 1. Background colour.
        TColor background = ReadColor(store, "BackgroundColor");
        main.memo1->SetBackground(background);
        main.ColorDialog1.Color = background;

        // 2. Word list.
        TStringList words;
        words.SetText(store.ReadString("WordList"));
        main.ListBox1->AddMany(words.Items());
        if (main.ListBox1->Count() == 0) {
            main.Commands["SpeedButton2Click"].SetEnabled(false);
            main.Commands["SpeedButton3Click"].SetEnabled(false);
        }

        // 3. Size and place: the whole desktop, then the stored values. The
        // window moves once, with the values read up to a failure: every
        // change of width wraps a long document again.
        int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        try {
            width = ReadInteger(store, "Width");
            height = ReadInteger(store, "Height");
            left = ReadInteger(store, "Left");
            top = ReadInteger(store, "Top");
        } catch (...) {
            main.SetBounds(left, top, width, height);
            throw;
        }
        main.SetBounds(left, top, width, height);
        KeepOnScreen(main);

        // 4. Maximised or normal.
        main.SetWindowState(ReadBool(store, "Maximized") ? TWindowState::Maximized : TWindowState::Normal);

        // 5. Check boxes.
        shape15->SetChecked(ReadBool(store, "MakeBackUp"));
        shape3->SetChecked(ReadBool(store, "ReadOnly"));
        shape12->SetChecked(ReadBool(store, "ShowApply"));
        shape16->SetChecked(ReadBool(store, "AddAfter"));
        shape17->SetChecked(ReadBool(store, "AddBefore"));
        shape11->SetChecked(ReadBool(store, "ShowMenuIcons"));
        shape10->SetChecked(ReadBool(store, "ShowToolbar1"));
        shape1->SetChecked(ReadBool(store, "ShowToolbar2"));
        shape14->SetChecked(ReadBool(store, "ShowToolbar3"));
        shape8->SetChecked(ReadBool(store, "ShowToolbar5"));
        shape4->SetChecked(ReadBool(store, "ShowToolbar6"));
        shape7->SetChecked(ReadBool(store, "ShowToolbar7"));

        // 6. Text mode, before the margins and fonts below are read.
        if (store.ReadString("Mode") == "rich")
            main.ToolButton25Click(nullptr);
        else
            main.ToolButton24Click(nullptr);

        // 7. Margins.
        Edit2->SetText(store.ReadString("LeftMargin"));
        Edit4->SetText(store.ReadString("RightMargin"));
        Edit2Change(nullptr);

        // 8. Fonts.
        main.FontDialog1.Font.SetColor(ReadColor(store, "Font"));
        TFont editorFont = main.memo1->Font();
        editorFont.SetColor(ReadColor(store, "FontColor"));
        int size = ReadInteger(store, "FontSize");
        editorFont.SetSize(size);
        main.FontDialog1.Font.SetSize(size);
        std::string fontName = store.ReadString("FontName");
        main.FontDialog1.Font.SetName(fontName);
        editorFont.SetName(fontName);
        main.memo1->SetEditorFont(editorFont);

        // 9. The last file of the previous run.
        main.LastFileName = store.ReadString("ReOpen");

        // 10. The sample's font.
        TFont sample = Edit1->Font();
        sample.SetName(fontName);
        sample.SetSize(ReadInteger(store, "FontSize"));
        sample.SetColor(ReadColor(store, "FontColor"));
        Edit1->SetFont(sample);

        // 11. E-mail fields and the panel size.
        server->SetText(store.ReadString("SMTPServer"));
        port->SetText(store.ReadString("Port"));
        id->SetText(store.ReadString("id"));
        name->SetText(store.ReadString("Name"));
        email->SetText(store.ReadString("Email"));
        RadioGroup1->SetItemIndex(ReadInteger(store, "ShowPanel"));

        // 12. Custom colours of both colour dialogs.
        main.ColorDialog1.CustomColors.SetText(store.ReadString("Custom1"));
        main.ColorDialog2.CustomColors.SetText(store.ReadString("Custom2"));

        // 13 to 15. With all twelve places stored and standing, the bands
        // go there at once; else one place after the other.
        std::vector<TControlBar::TBandPlace> places;
        if (ReadToolBarPlaces(main, store, places) && main.ControlBar1->PlaceHeldBands(places)) {
            Edit3->SetText(store.ReadString("BackUpLocation"));
        } else {
            main.ControlBar1->ReleaseArrangement();
            // 13. Toolbar tops, from the last toolbar to the first.
            for (int i = 5; i >= 0; --i)
                main.ControlBar1->SetBandTop((main.*kToolBarPlaces[i].bar).get(),
                                             ReadInteger(store, kToolBarPlaces[i].topName));

            // 14. Backup location.
            Edit3->SetText(store.ReadString("BackUpLocation"));

            // 15. Toolbar lefts.
            for (int i = 5; i >= 0; --i)
                main.ControlBar1->SetBandLeft((main.*kToolBarPlaces[i].bar).get(),
                                              ReadInteger(store, kToolBarPlaces[i].leftName));
        }

        // 16. Font style; a code not in the table changes nothing.
        TFontStyles style = main.memo1->Font().Style();
        if (CodeToFontStyle(store.ReadString("FontStyle"), style)) {
            TFont styled = main.memo1->Font();
            styled.SetStyle(style);
            main.memo1->SetEditorFont(styled);
            main.FontDialog1.Font.SetStyle(style);
        }

        // 17. Margins on the whole text, unless a file came with the command
        // line: its own indents stay.
        if (!main.CommandLineStart)
            main.SetWholeTextMargins();

        // 18. The sample shows the default font on the background colour.
        Edit1->SetFont(main.FontDialog1.Font);
        Edit1->SetColor(main.ColorDialog1.Color);
    } catch (const Exception&) {
        // An absent or malformed value ends the load; the store then takes
        // the values the windows hold now, the toolbars as built.
        main.ControlBar1->ReleaseArrangement();
        SettingsSave();
    }
}

void TForm2::SettingsSave()
{
    TForm1& main = *Form1;
    TRegistry store;
    OpenForWriting(store);
    store.WriteString("BackgroundColor", ColorToText(main.memo1->Background()));
    store.WriteString("ReadOnly", BoolToText(shape3->Checked()));
    store.WriteString("ShowMenuIcons", BoolToText(shape11->Checked()));
    store.WriteString("ShowToolbar1", BoolToText(shape10->Checked()));
    store.WriteString("ShowToolbar2", BoolToText(shape1->Checked()));
    store.WriteString("ShowToolbar3", BoolToText(shape14->Checked()));
    store.WriteString("ShowToolbar5", BoolToText(shape8->Checked()));
    store.WriteString("ShowToolbar6", BoolToText(shape4->Checked()));
    store.WriteString("ShowToolbar7", BoolToText(shape7->Checked()));
    store.WriteString("ShowApply", BoolToText(shape12->Checked()));
    store.WriteString("AddAfter", BoolToText(shape16->Checked()));
    store.WriteString("AddBefore", BoolToText(shape17->Checked()));
    store.WriteString("MakeBackUp", BoolToText(shape15->Checked()));
    store.WriteString("Mode", main.RichMode() ? "rich" : "plain");
    store.WriteString("SMTPServer", server->Text());
    store.WriteString("Port", port->Text());
    store.WriteString("id", id->Text());
    store.WriteString("Name", name->Text());
    store.WriteString("Email", email->Text());
    store.WriteString("ShowPanel", IntToStr(RadioGroup1->ItemIndex()));
    store.WriteString("LeftMargin", Edit2->Text());
    store.WriteString("RightMargin", Edit4->Text());
    const TFont& defaultFont = main.FontDialog1.Font;
    store.WriteString("FontColor", ColorToText(defaultFont.Color()));
    store.WriteString("Font", ColorToText(defaultFont.Color()));
    store.WriteString("FontSize", IntToStr(defaultFont.Size()));
    store.WriteString("FontName", defaultFont.Name());
    std::string reopen = !main.SaveDialog1.FileName.empty() ? main.SaveDialog1.FileName : main.OpenDialog1.FileName;
    if (!reopen.empty())
        store.WriteString("ReOpen", reopen);
    store.WriteString("BackUpLocation", Edit3->Text());
    std::string style = FontStyleToCode(defaultFont.Style());
    if (!style.empty())
        store.WriteString("FontStyle", style);
    store.WriteString("Maximized", BoolToText(main.WindowState() == TWindowState::Maximized));
    SaveMailSecurity(store);
}

void TForm2::LoadMailSecurity(const TRegistry& store)
{
    // Absent (a store of an earlier version) or malformed: no security, no password.
    int choice = 0;
    if (!TryStrToInt(store.ReadString("Security"), choice) || choice < 0 || choice >= security->Count())
        choice = 0;
    security->SetItemIndex(choice);
    password->SetText(UnprotectText(store.ReadString("Password")));
}

void TForm2::SaveMailSecurity(TRegistry& store)
{
    store.WriteString("Security", IntToStr(security->ItemIndex()));
    // Never as plain text: protected for the current user.
    store.WriteString("Password", ProtectText(password->Text()));
}

void TForm2::WindowStateSave()
{
    TForm1& main = *Form1;
    TRegistry store;
    OpenForWriting(store);
    store.WriteString("BackgroundColor", ColorToText(main.memo1->Background()));
    store.WriteString("Width", IntToStr(main.Width()));
    store.WriteString("Height", IntToStr(main.Height()));
    store.WriteString("Left", IntToStr(main.Left()));
    store.WriteString("Top", IntToStr(main.Top()));
    TStringList words;
    for (const std::string& word : main.ListBox1->Items())
        words.Add(word);
    store.WriteString("WordList", words.Text());
    std::string reopen = !main.SaveDialog1.FileName.empty() ? main.SaveDialog1.FileName : main.OpenDialog1.FileName;
    if (!reopen.empty())
        store.WriteString("ReOpen", reopen);
    store.WriteString("Mode", main.RichMode() ? "rich" : "plain");
    store.WriteString("Maximized", BoolToText(main.WindowState() == TWindowState::Maximized));
    store.WriteString("ReadOnly", BoolToText(shape3->Checked()));
    store.WriteString("Custom1", main.ColorDialog1.CustomColors.Text());
    store.WriteString("Custom2", main.ColorDialog2.CustomColors.Text());
    for (const ToolBarPlace& place : kToolBarPlaces)
        store.WriteString(place.leftName, IntToStr((main.*place.bar)->Left()));
    for (const ToolBarPlace& place : kToolBarPlaces)
        store.WriteString(place.topName, IntToStr((main.*place.bar)->Top()));
}

void TForm2::ApplyPreferences()
{
    PushChoices(false);
    Close();
}

void TForm2::FormClose(TObject*, TCloseAction&)
{
    speedbutton2->SetHot(false);
    PushChoices(true);
    SettingsSave();
}

void TForm2::PushChoices(bool closing)
{
    TForm1& main = *Form1;
    TControlBar& bar = *main.ControlBar1;
    // The find bar; only apply preferences moves its button.
    bar.SetBandVisible(main.ToolBar5.get(), shape8->Checked());
    if (!closing)
        main.Commands["ToolButton27Click"].SetChecked(shape8->Checked());
    bar.SetBandVisible(main.ToolBar2.get(), shape1->Checked());
    main.ShowInsertButton(shape12->Checked());
    main.FitWordList(closing ? TForm1::TWordListFit::OuterHeight : TForm1::TWordListFit::ClientHeight);
    bar.SetBandVisible(main.ToolBar7.get(), shape7->Checked());
    main.ShowSidePanel(RadioGroup1->ItemIndex());
    bar.SetBandVisible(main.ToolBar6.get(), shape4->Checked());
    bar.SetBandVisible(main.ToolBar1.get(), shape10->Checked());
    TImageList* icons = shape11->Checked() ? &main.ImageList1 : &main.ImageList2;
    main.MainMenu1.SetImages(icons);
    main.PopupMenu1.SetImages(icons);
    bar.SetBandVisible(main.ToolBar3.get(), shape14->Checked());
    main.memo1->SetReadOnly(shape3->Checked());
    Edit2Change(nullptr);
    try {
        main.memo1->SetBackground(main.ColorDialog1.Color);
    } catch (const std::exception&) {
        // The background stays as it is.
    }
}
