// The settings store against the real registry: first start, round trips of
// every value and text form, the stop rule of the load, malformed values.
#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"
#include "preferences/SettingsTable.h"
#include "preferences/SettingsText.h"
#include "ui/SysUtils.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

class SettingsTest : public StoreTest {};

// A store as the program writes it, with values that differ from the built
// ones; all but the word list, the custom colours and the toolbar places
// (arranged by the band bar) are written back as they are.
const std::pair<const char*, const char*> kFullStore[] = {
    {"BackgroundColor", "clYellow"}, {"Width", "640"}, {"Height", "400"}, {"Left", "30"}, {"Top", "40"},
    {"Maximized", "false"}, {"MakeBackUp", "false"}, {"ReadOnly", "true"}, {"ShowApply", "false"},
    {"AddAfter", "false"}, {"AddBefore", "true"}, {"ShowMenuIcons", "false"}, {"ShowToolbar1", "true"},
    {"ShowToolbar2", "false"}, {"ShowToolbar3", "true"}, {"ShowToolbar5", "false"}, {"ShowToolbar6", "true"},
    {"ShowToolbar7", "true"}, {"Mode", "rich"}, {"LeftMargin", "12"}, {"RightMargin", "7"}, {"Font", "clNavy"},
    {"FontColor", "clNavy"}, {"FontSize", "11"}, {"FontName", "Courier New"}, {"ReOpen", "C:\\old.txt"},
    {"SMTPServer", "smtp.example.org"}, {"Port", "2525"}, {"id", "me"}, {"Name", "Me Myself"},
    {"Email", "me@example.org"}, {"ShowPanel", "3"}, {"Custom2", "ColorP=123456\r\n"},
    {"BackUpLocation", "C:\\backups\\doc.bak"}, {"FontStyle", "12"},
};

void WriteFullStore()
{
    for (const auto& [name, value] : kFullStore)
        WriteStore(name, value);
    WriteStore("WordList", "pear\r\napple\r\nBanana\r\n");
    WriteStore("Custom1", "ColorA=FF0000\r\nColorB=00FF00\r\n");
    for (const char* bar : {"1", "2", "3", "5", "6", "7"}) {
        WriteStore(std::string("Toolbar") + bar + "Top", "2");
        WriteStore(std::string("Toolbar") + bar + "Left", "11");
    }
}

// "left top" of every toolbar, by the store and as shown, in the order of
// the toolbars.
std::vector<std::string> Places(const std::function<std::string(const TSetting&)>& value)
{
    std::vector<std::string> lefts(6), tops(6);
    for (const TSetting& row : Settings())
        if (row.band >= 0)
            (row.bandLeft ? lefts : tops)[static_cast<size_t>(row.band)] = value(row);
    std::vector<std::string> places;
    for (size_t band = 0; band < 6; ++band)
        places.push_back(lefts[band] + " " + tops[band]);
    return places;
}

std::vector<std::string> ShownPlaces()
{
    return Places([](const TSetting& row) {
        TToolBar* bar = SettingToolBar(*Form1, row.band);
        return std::to_string(row.bandLeft ? bar->Left() : bar->Top());
    });
}

std::vector<std::string> StoredPlaces()
{
    return Places([](const TSetting& row) { return ReadStore(row.name); });
}

// The entries as the list control holds them.
std::vector<std::string> ControlOrder(const TListBox& list)
{
    std::vector<std::string> texts;
    int count = static_cast<int>(SendMessageA(list.Handle(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        SendMessageA(list.Handle(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
    }
    return texts;
}

} // namespace

TEST_F(SettingsTest, FirstStartWritesTheBuiltValuesAndTheWindowStateAtClose)
{
    StartProgram(dialogs);
    EXPECT_TRUE(dialogs.boxes.empty());
    for (const TSetting& row : Settings()) {
        if (row.settingsSave > 0 && row.firstStart) {
            EXPECT_EQ(ReadStore(row.name), row.firstStart) << row.name;
        } else if (row.settingsSave == 0) {
            EXPECT_FALSE(StoreHas(row.name)) << row.name;
        }
    }
    EXPECT_FALSE(ReadStore("SMTPServer").empty());
    EXPECT_FALSE(StoreHas("ReOpen"));
    // Neither mode button is down before the user picks one.
    EXPECT_FALSE(Form1->ToolButton24->Down());
    EXPECT_FALSE(Form1->ToolButton25->Down());

    StopProgram(true);
    for (const TSetting& row : Settings())
        if (row.settingsSave == 0) {
            EXPECT_TRUE(StoreHas(row.name)) << row.name;
        }
    EXPECT_EQ(ReadStore("Width"), "739");
    EXPECT_EQ(ReadStore("Height"), "457");
    EXPECT_EQ(ReadStore("WordList"), "");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SettingsTest, EveryValueIsReadIntoTheWindowsAndWrittenBack)
{
    WriteFullStore();
    StartProgram(dialogs);
    TForm1& main = *Form1;
    TForm2& prefs = *Form2;
    EXPECT_EQ(main.memo1->Background(), clYellow);
    EXPECT_EQ(main.ColorDialog1.Color, clYellow);
    ASSERT_EQ(main.ListBox1->Count(), 3);
    EXPECT_EQ(main.ListBox1->Item(0), "apple");
    EXPECT_EQ(main.ListBox1->Item(1), "Banana");
    EXPECT_EQ(main.ListBox1->Item(2), "pear");
    EXPECT_EQ(main.Width(), 640);
    EXPECT_EQ(main.Height(), 400);
    EXPECT_EQ(main.Left(), 30);
    EXPECT_EQ(main.Top(), 40);
    EXPECT_FALSE(prefs.shape15->Checked());
    EXPECT_TRUE(prefs.shape3->Checked());
    EXPECT_FALSE(prefs.shape12->Checked());
    EXPECT_FALSE(prefs.shape16->Checked());
    EXPECT_TRUE(prefs.shape17->Checked());
    EXPECT_FALSE(prefs.shape11->Checked());
    EXPECT_FALSE(prefs.shape1->Checked());
    EXPECT_FALSE(prefs.shape8->Checked());
    EXPECT_TRUE(main.RichMode());
    EXPECT_EQ(prefs.Edit2->Text(), "12");
    EXPECT_EQ(prefs.Edit4->Text(), "7");
    EXPECT_EQ(main.FontDialog1.Font.Color(), clNavy);
    EXPECT_EQ(main.FontDialog1.Font.Size(), 11);
    EXPECT_EQ(main.FontDialog1.Font.Name(), "Courier New");
    EXPECT_EQ(main.FontDialog1.Font.Style(), fsBold | fsUnderline);
    EXPECT_EQ(main.memo1->Font().Name(), "Courier New");
    EXPECT_EQ(main.memo1->Font().Style(), fsBold | fsUnderline);
    EXPECT_EQ(main.LastFileName, "C:\\old.txt");
    EXPECT_EQ(prefs.Edit1->Font().Name(), "Courier New");
    EXPECT_EQ(prefs.Edit1->Color(), clYellow);
    EXPECT_EQ(prefs.server->Text(), "smtp.example.org");
    EXPECT_EQ(prefs.port->Text(), "2525");
    EXPECT_EQ(prefs.id->Text(), "me");
    EXPECT_EQ(prefs.name->Text(), "Me Myself");
    EXPECT_EQ(prefs.email->Text(), "me@example.org");
    EXPECT_EQ(prefs.RadioGroup1->ItemIndex(), 3);
    EXPECT_EQ(prefs.Edit3->Text(), "C:\\backups\\doc.bak");
    // The choices reached the main window.
    EXPECT_FALSE(main.ControlBar1->BandVisible(main.ToolBar2.get()));
    EXPECT_FALSE(main.ControlBar1->BandVisible(main.ToolBar5.get()));
    EXPECT_FALSE(main.ToolButton27->Down());
    EXPECT_FALSE(main.SpeedButton3->Visible());
    EXPECT_EQ(main.InsertAllowance, 16);
    EXPECT_EQ(main.Panel9->Width(), 170);
    EXPECT_TRUE(main.memo1->ReadOnly());

    StopProgram(true);
    for (const auto& [name, value] : kFullStore)
        EXPECT_EQ(ReadStore(name), value) << name;
    EXPECT_EQ(ReadStore("WordList"), "apple\r\nBanana\r\npear\r\n");
    EXPECT_EQ(ReadStore("Custom1").substr(0, 28), "ColorA=FF0000\r\nColorB=00FF00");
}

TEST_F(SettingsTest, AbsentWidthTakesTheWholeDesktopAndStopsTheLoad)
{
    WriteFullStore();
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "Width");
    WriteStore("Security", "2");
    WriteStore("Password", ProtectText("pw"));
    StartProgram(dialogs);
    EXPECT_EQ(Form1->Width(), GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(Form1->Height(), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    // The steps after the size were skipped: the check boxes keep their built
    // values and the save wrote them over the stored ones.
    EXPECT_TRUE(Form2->shape15->Checked());
    EXPECT_EQ(ReadStore("MakeBackUp"), "true");
    EXPECT_EQ(ReadStore("Mode"), "plain");
    EXPECT_EQ(ReadStore("ReOpen"), "C:\\old.txt");
    EXPECT_TRUE(dialogs.boxes.empty());
    // The values that are read first, on their own, are kept.
    EXPECT_EQ(ReadStore("Security"), "2");
    EXPECT_EQ(UnprotectText(ReadStore("Password")), "pw");
}

TEST_F(SettingsTest, AMalformedNumberOrColourEndsTheLoadWhereItIsRead)
{
    const std::vector<TSetting>& rows = Settings();
    auto backup = std::find_if(rows.begin(), rows.end(), [](const TSetting& row) { return row.name == "BackUpLocation"; });
    ASSERT_NE(backup, rows.end());
    for (auto row = rows.begin(); row != rows.end(); ++row) {
        bool numeric = row->form == TValueForm::Colour || row->form == TValueForm::Integer;
        // Of the toolbar places, those of the first toolbar: read first of
        // the lefts and last of the tops.
        if (!numeric || row->band > 0)
            continue;
        WriteFullStore();
        WriteStore(row->name, "12x");
        StartProgram(dialogs);
        // The values read after it kept their built values, and the settings
        // save wrote what the windows hold over the malformed one.
        EXPECT_EQ(Form2->Edit3->Text() == "C:\\backups\\doc.bak", row > backup) << row->name;
        if (row->settingsSave > 0) {
            EXPECT_NE(ReadStore(row->name), "12x") << row->name;
        }
        EXPECT_TRUE(dialogs.boxes.empty());
        StopProgram(false);
    }
}

TEST_F(SettingsTest, ThePasswordIsStoredUnreadableAsTextAndComesBackAfterARestart)
{
    const std::string password = "s3cret P\u00E4sswort";
    StartProgram(dialogs);
    Form2->security->SetItemIndex(1);
    Form2->password->SetText(password);
    Form2->Close();  // as "Ok" does: the settings save
    StopProgram(true);
    EXPECT_EQ(ReadStore("Security"), "1");
    const std::string stored = ReadStore("Password");
    ASSERT_FALSE(stored.empty());
    EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF"), std::string::npos) << stored;
    // Neither the text nor its hexadecimal digits are in the store, in any of
    // its character forms.
    std::string bytes;
    for (size_t i = 0; i + 1 < stored.size(); i += 2)
        bytes += static_cast<char>(std::stoi(stored.substr(i, 2), nullptr, 16));
    std::string wide;
    for (char c : std::string("s3cret"))
        wide += std::string(1, c) + '\0';
    for (const std::string& form : {std::string("s3cret"), std::string("733363726574"), wide})
        for (const std::string& text : {stored, bytes})
            EXPECT_EQ(text.find(form), std::string::npos);

    StartProgram(dialogs);
    EXPECT_EQ(Form2->security->ItemIndex(), 1);
    EXPECT_EQ(Form2->password->Text(), password);
}

// Values that end no load, a row of each table at one start: the colour's
// stored form, font style codes, a mode's spelling, unreadable security and
// password values, word lists in any order, a window place off the screen.
TEST_F(SettingsTest, ValuesThatEndNoLoadARowOfEachTableAtOneStart)
{
    const char* const colours[][2] = {
        {"$8000000F", "clBtnFace"}, {"$00FF0000", "clBlue"},    {"16711680", "clBlue"},
        {"$00123456", "$00123456"}, {"clnone", "clNone"},       {"$1FFFFFFF", "clNone"},
        {"$80000018", "clInfoBk"},  {"-2147483643", "clWindow"},
    };
    // Unknown style codes are no style.
    const std::pair<const char*, TFontStyles> styles[] = {
        {"11", fsUnderline | fsStrikeOut}, {"7", 0}, {"bold", 0}, {"", 0}, {"18", 0}};
    // What cannot be read counts as empty; a security that is not a choice as "None".
    const std::string cutPassword = ProtectText("s3cret").substr(2);
    const char* const secrets[][2] = {
        {"7", "zz"}, {"-1", "ABC"}, {"x", "00112233445566778899"}, {"", cutPassword.c_str()}};
    const std::vector<std::vector<std::string>> lists = {
        {"apple", "Banana", "cherry", "date"},          // in order
        {"pear", "Apple", "apple", "banana", "Apple"}, // out of order, equal entries
        {"b", "B", "a"},                                // equal ignoring case
    };
    for (size_t i = 0; i < std::size(colours); ++i) {
        SCOPED_TRACE(colours[i][0]);
        WriteFullStore();
        WriteStore("BackgroundColor", colours[i][0]);
        WriteStore("Mode", i == 7 ? "Rich" : "rich"); // only "rich" selects rich mode
        if (i < std::size(styles))
            WriteStore("FontStyle", styles[i].first);
        if (i < std::size(secrets)) {
            WriteStore("Security", secrets[i][0]);
            WriteStore("Password", secrets[i][1]);
        }
        std::string list;
        for (const auto& entry : i < lists.size() ? lists[i] : std::vector<std::string>{})
            list += entry + "\r\n";
        if (!list.empty())
            WriteStore("WordList", list);
        // Row 5: a window partly on screen; row 6: one off every monitor.
        if (i == 5 || i == 6)
            WriteStore("Left", i == 5 ? "-300" : "-5000");
        if (i == 6)
            WriteStore("Top", "9000");
        StartProgram(dialogs);
        EXPECT_EQ(Form1->RichMode(), i != 7);
        EXPECT_EQ(Form1->PlainMode(), i == 7);
        EXPECT_EQ(Form1->Panel19->Visible(), i != 7);
        if (i < std::size(styles)) {
            EXPECT_EQ(Form1->memo1->Font().Style(), styles[i].second);
            EXPECT_EQ(Form1->FontDialog1.Font.Style(), styles[i].second);
        }
        if (i < std::size(secrets)) {
            EXPECT_EQ(Form2->security->ItemIndex(), 0);
            EXPECT_EQ(Form2->password->Text(), "");
        }
        // The list's own copy of the entries follows the control's order,
        // whether the stored list comes back sorted or not.
        std::vector<std::string> shown = Form1->ListBox1->Items();
        EXPECT_EQ(shown, ControlOrder(*Form1->ListBox1));
        EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end(), [](const std::string& a, const std::string& b) {
            return lstrcmpiA(a.c_str(), b.c_str()) < 0;
        }));
        RECT work, place = Form1->BoundsInPixels();
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_EQ(place.right - place.left, 640);
        EXPECT_EQ(place.bottom - place.top, 400);
        if (i == 5) {
            EXPECT_EQ(place.left, -300) << "stays where it was";
        } else if (i == 6) {
            EXPECT_TRUE(place.left >= work.left && place.top >= work.top && place.right <= work.right &&
                        place.bottom <= work.bottom) << "comes back on the primary monitor";
        }
        // The rest of the store was read as always.
        EXPECT_EQ(Form2->RadioGroup1->ItemIndex(), 3);
        StopProgram(true);
        EXPECT_EQ(ReadStore("BackgroundColor"), colours[i][1]);
        EXPECT_EQ(ReadStore("Mode"), i == 7 ? "plain" : "rich");
    }
}

TEST_F(SettingsTest, MalformedHugeAndBinaryValuesNeverCrash)
{
    WriteFullStore();
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    const BYTE binary[] = {0x01, 0x00, 0xFF, 0x80};
    RegSetValueExA(key, "BackgroundColor", 0, REG_BINARY, binary, sizeof binary);
    DWORD number = 5;
    RegSetValueExA(key, "MakeBackUp", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    // A string stored without its terminating zero.
    RegSetValueExA(key, "FontName", 0, REG_SZ, reinterpret_cast<const BYTE*>("Arial"), 5);
    RegCloseKey(key);
    StartProgram(dialogs);
    EXPECT_EQ(Form1->memo1->Background(), clWhite);
    StopProgram(true);
    EXPECT_EQ(ReadStore("BackgroundColor"), "clWhite");
}

TEST_F(SettingsTest, AHugeWordListWithLongEntriesComesBackWhole)
{
    WriteFullStore();
    std::string longEntry(10000, 'x');
    std::string list;
    for (int i = 0; i < 300; ++i)
        list += "w" + IntToStr(1000 + i) + longEntry + "\r\n";
    WriteStore("WordList", list);
    WriteStore("Width", "not a number");
    StartProgram(dialogs);
    ASSERT_EQ(Form1->ListBox1->Count(), 300);
    EXPECT_EQ(Form1->ListBox1->Item(299).size(), longEntry.size() + 5);
    StopProgram(true);
    EXPECT_EQ(ReadStore("WordList"), list);
}

TEST_F(SettingsTest, EveryToolbarComesBackWhereTheStoreKeepsIt)
{
    // The places a first start leaves, then three rows in another order.
    StartProgram(dialogs);
    StopProgram(true);
    const std::vector<std::string> asLeft = StoredPlaces();
    const std::vector<std::vector<std::pair<std::string, std::string>>> stores = {
        {},
        {{"Toolbar5Left", "9"}, {"Toolbar5Top", "0"}, {"Toolbar1Left", "9"}, {"Toolbar1Top", "24"},
         {"Toolbar2Left", "190"}, {"Toolbar2Top", "24"}, {"Toolbar7Left", "420"}, {"Toolbar7Top", "24"},
         {"Toolbar6Left", "9"}, {"Toolbar6Top", "48"}, {"Toolbar3Left", "440"}, {"Toolbar3Top", "48"}},
    };
    for (const auto& store : stores) {
        for (const auto& value : store)
            WriteStore(value.first, value.second);
        const std::vector<std::string> stored = StoredPlaces();
        StartProgram(dialogs);
        EXPECT_EQ(ShownPlaces(), stored);
        StopProgram(true);
        EXPECT_EQ(StoredPlaces(), stored);
    }
    EXPECT_NE(StoredPlaces(), asLeft);
}
