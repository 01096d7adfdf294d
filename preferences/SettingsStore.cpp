// The settings store: the registry key that keeps the preferences and the
// window state between runs, and the steps that move values between it and
// the windows.
#include "preferences/PreferencesForm.h"

#include "mainform/MainForm.h"
#include "preferences/SettingsTable.h"
#include "ui/Registry.h"
#include "ui/SysUtils.h"

#include <algorithm>

const char* const kSettingsKey = "Software\\Orvane\\Mibor8\\Settings";

namespace {

void OpenForWriting(TRegistry& store)
{
    if (!store.OpenKey(kSettingsKey, true))
        throw ERegistryException("Failed to open the settings key");
}

// Writes the values a save writes, in its order (`place` names the save).
void WriteSave(int TSetting::*place)
{
    TRegistry store;
    OpenForWriting(store);
    std::vector<const TSetting*> rows;
    for (const TSetting& row : Settings())
        if (row.*place > 0)
            rows.push_back(&row);
    std::sort(rows.begin(), rows.end(), [place](const TSetting* a, const TSetting* b) { return a->*place < b->*place; });
    for (const TSetting* row : rows)
        if (std::optional<std::string> text = row->write(*Form1, *Form2))
            store.WriteString(row->name, *text);
}

// With all twelve toolbar places stored as numbers and standing, the bands
// go there at once.
bool PlaceBandsAtOnce(TForm1& main, const TRegistry& store)
{
    std::vector<TControlBar::TBandPlace> places;
    for (int band = 0; band < 6; ++band)
        places.push_back({SettingToolBar(main, band), 0, 0});
    for (const TSetting& row : Settings()) {
        if (row.band < 0)
            continue;
        TControlBar::TBandPlace& place = places[static_cast<size_t>(row.band)];
        if (!TryStrToInt(store.ReadString(row.name), row.bandLeft ? place.left : place.top))
            return false;
    }
    return main.ControlBar1->PlaceHeldBands(places);
}

} // namespace

void TForm2::SettingsLoad()
{
    TRegistry store;
    store.OpenKey(kSettingsKey, false);
    TForm1& main = *Form1;
    TSettingsLoad load(main, *this);
    const std::vector<TSetting>& rows = Settings();
    auto row = rows.begin();
    for (; row != rows.end() && row->readFirst; ++row)
        row->read(load, store.ReadString(row->name));
    try {
        bool bandsTried = false, bandsPlaced = false;
        for (; row != rows.end(); ++row) {
            if (row->band >= 0) {
                if (!bandsTried) {
                    bandsTried = true;
                    bandsPlaced = PlaceBandsAtOnce(main, store);
                    if (!bandsPlaced)
                        main.ControlBar1->ReleaseArrangement();
                }
                if (bandsPlaced)
                    continue;
            }
            row->read(load, store.ReadString(row->name));
        }

        // Margins on the whole text, unless a file came with the command
        // line: its own indents stay.
        if (!main.CommandLineStart)
            main.SetWholeTextMargins();
        // The sample shows the default font on the background colour.
        Edit1->SetFont(main.FontDialog1.Font);
        Edit1->SetColor(main.ColorDialog1.Color);
    } catch (const Exception&) {
        // An absent or malformed value ends the load; the window takes the
        // size and place read up to it, the store then takes the values the
        // windows hold now, the toolbars as built.
        if (load.boundsOpen)
            main.SetBoundsInPixels(load.left, load.top, load.width, load.height);
        main.ControlBar1->ReleaseArrangement();
        SettingsSave();
    }
}

void TForm2::SettingsSave() { WriteSave(&TSetting::settingsSave); }

void TForm2::WindowStateSave() { WriteSave(&TSetting::windowSave); }

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
        main.CommandRows.findBar->SetChecked(shape8->Checked());
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
    // A colour the control refuses leaves the background as it is.
    IgnoreFailure([&] { main.memo1->SetBackground(main.ColorDialog1.Color); });
}
