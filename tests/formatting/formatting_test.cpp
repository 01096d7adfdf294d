// The formatting toolbar: styles, font, size, colours and alignment act on
// the selection, and the toolbar follows the selection without writing back.
#include "tests/formatting/FormattingFixture.h"

#include "preferences/PreferencesForm.h"
#include "ui/Application.h"
#include "ui/SysUtils.h"

#include <set>

namespace {

// Clicks an arrow of the size field's up-down control.
void ClickArrow(bool up)
{
    HWND arrows = Form1->UpDown1->Handle();
    RECT client;
    GetClientRect(arrows, &client);
    LPARAM point = MAKELPARAM(client.right / 2, up ? client.bottom / 4 : client.bottom * 3 / 4);
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(arrows, WM_LBUTTONUP, 0, point);
}

// A list entry of the font box chosen, as the box reports it.
void ChooseFont(const std::string& name)
{
    TComboBox& box = *Form1->ComboBox1;
    box.SetItemIndex(box.IndexOf(name));
    SendMessageA(GetParent(box.Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box.Handle()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box.Handle()));
}

// Text typed into the font box's field.
void TypeIntoFontBox(char key)
{
    HWND field = GetWindow(Form1->ComboBox1->Handle(), GW_CHILD);
    SendMessageA(field, WM_CHAR, static_cast<unsigned char>(key), 1);
}

std::string FontsOf(TRichEdit& memo, int start, int length)
{
    std::string fonts;
    for (int i = start; i < start + length; ++i) {
        memo.Select(i, 1);
        fonts += memo.SelAttributes().name + ";";
    }
    return fonts;
}

} // namespace

TEST_F(FormattingTest, TheCaretShowsItsFormattingAndNothingIsWrittenBack)
{
    LoadRtf(MixedRtf());
    const std::string before = Rtf();
    Memo().Select(8, 0); // within "bold Arial", 12 points
    EXPECT_EQ(Form1->Edit3->Text(), "12");
    EXPECT_EQ(Form1->UpDown1->Position(), 12);
    EXPECT_EQ(Form1->ComboBox1->Text(), "Arial");
    EXPECT_TRUE(Form1->ToolButton11->Down());
    EXPECT_FALSE(Form1->ToolButton12->Down());
    EXPECT_FALSE(Form1->Syncing);
    Memo().Select(2, 0);
    EXPECT_EQ(Form1->Edit3->Text(), "10");
    EXPECT_EQ(Form1->ComboBox1->Text(), "Courier New");
    EXPECT_FALSE(Form1->ToolButton11->Down());
    EXPECT_EQ(Rtf(), before);

    // Through every character, and whole paragraphs selected: the toolbar
    // changes many times, the document never.
    std::set<std::string> sizes, fonts;
    std::set<bool> bold, underline;
    std::set<int> firstMarker;
    bool centred = false;
    Memo().Select(0, 0);
    for (int i = 0; i <= Memo().TextLength(); ++i) {
        Key(VK_RIGHT);
        sizes.insert(Form1->Edit3->Text());
        fonts.insert(Form1->ComboBox1->Text());
        bold.insert(Form1->ToolButton11->Down());
        underline.insert(Form1->ToolButton14->Down());
        firstMarker.insert(Form1->Image1->Left());
        centred = centred || Form1->ToolButton19->Down();
    }
    Memo().SelectAll();
    Key(VK_UP);
    EXPECT_EQ(Rtf(), before);
    EXPECT_GE(sizes.size(), 3u);
    EXPECT_GE(fonts.size(), 2u);
    EXPECT_EQ(bold.size(), 2u);
    EXPECT_EQ(underline.size(), 2u);
    EXPECT_EQ(firstMarker.size(), 2u);
    EXPECT_TRUE(centred);
}

TEST_F(FormattingTest, AStyleButtonTogglesItsStyleAndKeepsTheOthers)
{
    LoadRtf(MixedRtf());
    const int under = static_cast<int>(Memo().Text().find("under"));
    const struct {
        const char* command;
        TFontStyles style;
    } kCases[] = {{"ToolButton11Click", fsBold}, {"ToolButton12Click", fsItalic}};
    for (const auto& entry : kCases) {
        SCOPED_TRACE(entry.command);
        Memo().Select(under, 5);
        const std::string before = Rtf();
        Run(entry.command);
        EXPECT_EQ(Memo().SelAttributes().style, fsUnderline | fsStrikeOut | entry.style);
        Run(entry.command);
        EXPECT_EQ(Rtf(), before);
    }
    // Underline comes off the underlined text; strike-out stays.
    Memo().Select(under, 5);
    Run("ToolButton14Click");
    EXPECT_EQ(Memo().SelAttributes().style, static_cast<TFontStyles>(fsStrikeOut));
    // A selection bold only in part counts as not bold: all of it becomes bold.
    Memo().Select(0, 10);
    Run("ToolButton11Click");
    EXPECT_TRUE(Memo().SelAttributes().style & fsBold);
    EXPECT_TRUE(Memo().SelAttributes().mask & CFM_BOLD);
}

TEST_F(FormattingTest, WithNothingSelectedAColourAndAStyleGoToTheTextTypedNext)
{
    LoadRtf(MixedRtf());
    Memo().Select(3, 0);
    Run("Red1Click");
    Run("ToolButton12Click");
    SendMessageA(Memo().Handle(), WM_CHAR, 'x', 1);
    Memo().Select(3, 1);
    EXPECT_EQ(Memo().SelText(), "x");
    EXPECT_EQ(ColorToRGB(Memo().SelAttributes().color), RGB(255, 0, 0));
    EXPECT_EQ(Memo().SelAttributes().style, static_cast<TFontStyles>(fsItalic));
    Memo().Select(4, 1);
    EXPECT_EQ(ColorToRGB(Memo().SelAttributes().color), RGB(0, 0, 0));
    EXPECT_EQ(Memo().SelAttributes().style, 0u);
}

TEST_F(FormattingTest, EachColourItemGivesItsExactValue)
{
    const struct {
        const char* caption;
        const char* command;
        int red, green, blue;
    } kColours[] = {
        {"White", "White1Click", 255, 255, 255}, {"Silver", "Silver1Click", 192, 192, 192},
        {"Gray", "Gray1Click", 128, 128, 128},   {"Black", "Black1Click", 0, 0, 0},
        {"Red", "Red1Click", 255, 0, 0},         {"Yellow", "Yellow1Click", 255, 255, 0},
        {"Lime", "Lime1Click", 0, 255, 0},       {"Aqua", "Aqua1Click", 0, 255, 255},
        {"Blue", "Blue1Click", 0, 0, 255},       {"Fuchsia", "Fuchsia1Click", 255, 0, 255},
        {"Maroon", "MaroonClick", 128, 0, 0},    {"Olive", "Olive1Click", 128, 128, 0},
        {"Green", "Green1Click", 0, 128, 0},     {"Teal", "Teal1Click", 0, 128, 128},
        {"Navy", "Navy1Click", 0, 0, 128},       {"Purple", "Purple1Click", 128, 0, 128},
    };
    Memo().SetSelText("colour");
    TMenuItem& menu = Form1->PopupMenu3.Items();
    ASSERT_EQ(menu.Count(), 18);
    EXPECT_TRUE(menu.Item(16)->IsSeparator());
    EXPECT_EQ(menu.Item(17)->Caption(), "Custom...");
    for (int i = 0; i < 16; ++i) {
        const auto& colour = kColours[i];
        SCOPED_TRACE(colour.caption);
        EXPECT_EQ(menu.Item(i)->Caption(), colour.caption);
        Memo().SelectAll();
        menu.Item(i)->Click();
        EXPECT_EQ(ColorToRGB(Memo().SelAttributes().color), RGB(colour.red, colour.green, colour.blue));
        std::string entry = "\\red" + std::to_string(colour.red) + "\\green" + std::to_string(colour.green) +
                            "\\blue" + std::to_string(colour.blue);
        EXPECT_NE(Rtf().find(entry), std::string::npos) << Rtf();
        EXPECT_TRUE(Form1->Commands[colour.command].HasHandler());
    }
}

TEST_F(FormattingTest, CustomColourOpensOnTheLastChoiceAndCancelChangesNothing)
{
    Memo().SetSelText("custom");
    Memo().SelectAll();
    const std::string before = Rtf();
    TColor opened = -1;
    DWORD flags = 0;
    dialogs.colorAnswers.push_back([&](TColorDialog& dialog) {
        flags = dialog.Flags;
        dialog.Color = RGBColor(1, 2, 3); // as the dialog leaves it on Cancel
        return false;
    });
    Run("Custom1Click");
    EXPECT_EQ(Rtf(), before);
    EXPECT_EQ(flags, static_cast<DWORD>(CC_FULLOPEN | CC_PREVENTFULLOPEN | CC_SOLIDCOLOR | CC_ANYCOLOR));

    dialogs.colorAnswers.push_back([](TColorDialog& dialog) {
        dialog.Color = RGBColor(10, 20, 30);
        return true;
    });
    Run("Custom1Click");
    EXPECT_EQ(ColorToRGB(Memo().SelAttributes().color), RGB(10, 20, 30));
    dialogs.colorAnswers.push_back([&](TColorDialog& dialog) {
        opened = dialog.Color;
        return false;
    });
    Run("Custom1Click");
    EXPECT_EQ(opened, RGBColor(10, 20, 30));
}

TEST_F(FormattingTest, TheSizeArrowsStepFromTheShownSizeAndStopAtZeroAndAHundred)
{
    LoadRtf(MixedRtf());
    Memo().Select(6, 4); // 12 points
    ClickArrow(true);
    EXPECT_EQ(Form1->Edit3->Text(), "13");
    EXPECT_EQ(Memo().SelAttributes().size, 13);

    const struct {
        int size;
        bool up;
        const char* shown;
    } kCases[] = {{99, true, "100"}, {100, true, "100"}, {1, false, "0"}, {0, false, "0"}};
    for (const auto& entry : kCases) {
        SCOPED_TRACE(entry.size);
        TCharAttributes size;
        size.mask = CFM_SIZE;
        size.size = entry.size;
        Memo().SetSelAttributes(size);
        Form1->memo1SelectionChange(nullptr);
        ClickArrow(entry.up);
        EXPECT_EQ(Form1->Edit3->Text(), entry.shown);
    }
    // Fields written by the program are stepped from too.
    Form1->Edit3->SetText("40");
    ClickArrow(false);
    EXPECT_EQ(Form1->Edit3->Text(), "39");
    EXPECT_EQ(Memo().SelAttributes().size, 39);
}

TEST_F(FormattingTest, AlignmentFollowsTheButtonsTagAndTheCaret)
{
    LoadRtf("{\\rtf1\\ansi first\\par second\\par}");
    Memo().Select(1, 0);
    const struct {
        TToolButton* button;
        TAlignment alignment;
    } kCases[] = {{Form1->ToolButton20, TAlignment::Right},
                  {Form1->ToolButton18, TAlignment::Left},
                  {Form1->ToolButton19, TAlignment::Center}};
    for (const auto& entry : kCases) {
        entry.button->SetDown(true); // as the click leaves it
        Run("ToolButton18Click", entry.button);
        EXPECT_EQ(Memo().Paragraph().alignment, entry.alignment);
    }
    // The caret into the left-aligned second paragraph presses "Align left" again.
    Memo().Select(8, 0);
    EXPECT_TRUE(Form1->ToolButton18->Down());
    EXPECT_FALSE(Form1->ToolButton19->Down());
    Memo().Select(1, 0);
    EXPECT_TRUE(Form1->ToolButton19->Down());
    EXPECT_FALSE(Form1->ToolButton18->Down());
}

TEST_F(FormattingTest, OnlyAFontChosenFromTheListChangesTheFont)
{
    LoadRtf(MixedRtf());
    Memo().Select(0, 16); // "plain " in Courier New, "bold Arial"
    EXPECT_EQ(Form1->ComboBox1->Text(), "");
    const std::string before = Rtf();
    const std::string fonts = FontsOf(Memo(), 0, 16);
    Memo().Select(0, 16);
    TypeIntoFontBox('W');
    EXPECT_EQ(Rtf(), before);
    EXPECT_EQ(Form1->ComboBox1->Text(), "");

    ASSERT_GE(Form1->ComboBox1->Count(), 2);
    const std::string chosen = Form1->ComboBox1->Item(Form1->ComboBox1->Count() - 1);
    ChooseFont(chosen);
    EXPECT_EQ(Form1->ComboBox1->Text(), chosen);
    EXPECT_EQ(Memo().SelAttributes().name, chosen);
    EXPECT_TRUE(Memo().SelAttributes().mask & CFM_FACE);
    EXPECT_NE(FontsOf(Memo(), 0, 16), fonts);
}

TEST_F(FormattingTest, WhileTheToolbarFollowsTheSelectionItAppliesNothing)
{
    LoadRtf(MixedRtf());
    Memo().Select(0, 5);
    const std::string before = Rtf();
    Form1->Syncing = true;
    Form1->Edit3->SetText("30");
    ChooseFont(Form1->ComboBox1->Item(0));
    Run("Navy1Click");
    dialogs.colorAnswers.push_back([](TColorDialog& dialog) {
        dialog.Color = clRed;
        return true;
    });
    Run("Custom1Click");
    Run("ToolButton18Click", Form1->ToolButton19);
    Run("ToolButton44Click");
    EXPECT_EQ(Rtf(), before);
    Form1->Syncing = false;

    // A failure inside the step leaves the flag clear: the toolbar applies again.
    auto sizeChanged = Form1->Edit3->OnChange;
    Form1->Edit3->OnChange = [](TObject*) { throw Exception("failed while showing"); };
    Memo().Select(7, 0);
    Form1->Edit3->OnChange = sizeChanged;
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "failed while showing.");
    EXPECT_FALSE(Form1->Syncing);
    Memo().Select(0, 5);
    Run("Navy1Click");
    EXPECT_EQ(ColorToRGB(Memo().SelAttributes().color), RGB(0, 0, 128));
}

TEST_F(FormattingTest, ACommandThatMovesTheSelectionMeanwhileRefreshesTheToolbarOnce)
{
    std::string file = WriteTestFile("formatted.rtf", MixedRtf());
    int runs = 0;
    auto step = Memo().OnSelectionChange;
    Memo().OnSelectionChange = [&](TObject* sender) {
        ++runs;
        step(sender);
    };
    Memo().SetSelText("some text\r\nand more");
    Memo().Select(3, 2);
    const struct {
        const char* what;
        std::function<void()> command;
    } kCommands[] = {
        {"plain-mode switch", [] { Form1->ToolButton24Click(nullptr); }},
        {"rich-mode switch", [] { Form1->ToolButton25Click(nullptr); }},
        {"load", [&] { Memo().LoadFromFile(file); }},
        {"Open", [&] {
             dialogs.ChooseFile(file);
             Form1->Open1Click(nullptr);
         }},
    };
    for (const auto& entry : kCommands) {
        SCOPED_TRACE(entry.what);
        runs = 0;
        entry.command();
        EXPECT_EQ(runs, 1);
    }
    // After Open the toolbar shows the loaded text at the caret.
    EXPECT_EQ(Form1->ComboBox1->Text(), "Courier New");
    EXPECT_EQ(Form1->Edit3->Text(), "10");

    // With the whole text selected the plain-mode switch moves no selection,
    // and refreshes the toolbar all the same.
    Memo().SelectAll();
    Run("ToolButton11Click");
    Form1->memo1SelectionChange(nullptr);
    ASSERT_TRUE(Form1->ToolButton11->Down());
    runs = 0;
    Form1->ToolButton24Click(nullptr);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(Form1->ToolButton11->Down());
}

TEST_F(FormattingTest, TheEndOfAResizeRefreshesTheToolbarAndTheRuler)
{
    Memo().SetSelText("indented");
    TParaAttributes indent;
    indent.mask = PFM_STARTINDENT;
    indent.firstIndent = 30;
    Memo().SetParagraph(indent);
    TCharAttributes size;
    size.mask = CFM_SIZE;
    size.size = 20;
    Memo().SetSelAttributes(size);
    Form1->FormResize(nullptr);
    EXPECT_EQ(Form1->Image1->Left(), 42);
    EXPECT_EQ(Form1->Edit3->Text(), "20");
}
