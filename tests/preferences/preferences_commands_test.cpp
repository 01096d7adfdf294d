// The Preferences window's commands: margin fields, default font,
// background, "Reset all Toolbars", "Location...".
#include "tests/preferences/PreferencesFixture.h"

#include "ui/SysUtils.h"

namespace {

// Records what the save dialog was opened with.
class RecordingDialogs : public ScriptedDialogs {
public:
    TSaveDialog asked;
    bool ExecuteSave(TSaveDialog& dialog) override
    {
        asked = dialog;
        return ScriptedDialogs::ExecuteSave(dialog);
    }
};

TParaAttributes WholeTextParagraph()
{
    Form1->memo1->SelectAll();
    return Form1->memo1->Paragraph();
}

} // namespace

TEST_F(PreferencesTest, MarginFieldsThatAreNotWholeNumbersBecomeZeroAtOnce)
{
    TForm2& prefs = *Form2;
    for (TEdit* field : {prefs.Edit2.get(), prefs.Edit4.get()}) {
        for (const char* text : {"", "-", "+", "a", "1x"}) {
            field->SetText(text);
            EXPECT_EQ(field->Text(), "0") << "'" << text << "'";
        }
        for (const char* text : {"-99", "999", "12"}) {
            field->SetText(text);
            EXPECT_EQ(field->Text(), text);
        }
    }
    // Typed over the whole text by the user.
    prefs.Edit2->SetFocus();
    prefs.Edit2->SelectAll();
    SendMessageA(prefs.Edit2->Handle(), WM_CHAR, '-', 1);
    EXPECT_EQ(prefs.Edit2->Text(), "0");
    EXPECT_EQ(prefs.Edit4->Text(), "12") << "the other field is left alone";
}

TEST_F(PreferencesTest, PlainModeRightMarginNotBelowTheEditorsWidthTakesThatWidth)
{
    TForm2& prefs = *Form2;
    Form1->memo1->SetText("one\r\ntwo");
    Form1->ToolButton24Click(nullptr);
    int width = Form1->memo1->Width();
    ASSERT_LT(width, 999);
    prefs.Edit2->SetText("12");
    prefs.Edit4->SetText("999");
    prefs.SpeedButton2Click(nullptr);
    EXPECT_EQ(prefs.Edit4->Text(), IntToStr(Form1->memo1->Width()));
    TParaAttributes paragraph = WholeTextParagraph();
    EXPECT_EQ(paragraph.firstIndent, 12);
    EXPECT_EQ(paragraph.firstIndent + paragraph.leftIndent, 12);
    EXPECT_EQ(paragraph.rightIndent, 5) << "the right indent stays as the built margin set it";
    EXPECT_EQ(ReadStore("RightMargin"), prefs.Edit4->Text());

    // Below the width it is taken.
    prefs.Edit4->SetText("30");
    prefs.SpeedButton2Click(nullptr);
    EXPECT_EQ(WholeTextParagraph().rightIndent, 30);
    EXPECT_EQ(prefs.Edit4->Text(), "30");
}

TEST_F(PreferencesTest, RichModeLeavesTheIndentsAloneOnMarginChangesAndOk)
{
    TForm2& prefs = *Form2;
    Form1->ToolButton25Click(nullptr);
    Form1->memo1->SetText("first\r\nsecond");
    Form1->memo1->SelectAll();
    TParaAttributes indents = TParaAttributes::Indents(40, 10, 25);
    Form1->memo1->SetParagraph(indents);
    prefs.Edit2->SetText("3");
    prefs.Edit4->SetText("4");
    prefs.SpeedButton2Click(nullptr);
    TParaAttributes after = WholeTextParagraph();
    EXPECT_EQ(after.firstIndent, 40);
    EXPECT_EQ(after.leftIndent, 10);
    EXPECT_EQ(after.rightIndent, 25);
    EXPECT_EQ(ReadStore("LeftMargin"), "3");
}

TEST_F(PreferencesTest, BackgroundSetsTheEditorEvenWhenCancelled)
{
    TForm2& prefs = *Form2;
    Form1->ColorDialog1.Color = clYellow;
    prefs.Edit1->SetColor(clWhite);
    prefs.SpeedButton5Click(nullptr); // no answer: cancelled
    EXPECT_EQ(Form1->memo1->Background(), clYellow);
    EXPECT_EQ(prefs.Edit1->Color(), clWhite) << "the sample changes only when confirmed";

    dialogs.colorAnswers.push_back([](TColorDialog& dialog) {
        dialog.Color = clAqua;
        return true;
    });
    prefs.SpeedButton5Click(nullptr);
    EXPECT_EQ(Form1->memo1->Background(), clAqua);
    EXPECT_EQ(prefs.Edit1->Color(), clAqua);
    prefs.Close();
    EXPECT_EQ(ReadStore("BackgroundColor"), "clAqua");
}

TEST_F(PreferencesTest, DefaultFontGoesToTheSampleOnlyWhenConfirmed)
{
    TForm2& prefs = *Form2;
    TFont editorFont = Form1->memo1->Font();
    TFont sample = prefs.Edit1->Font();
    prefs.SpeedButton4Click(nullptr); // cancelled
    EXPECT_EQ(prefs.Edit1->Font(), sample);

    dialogs.fontAnswers.push_back([](TFontDialog& dialog) {
        dialog.Font = TFont("Courier New", 14, clNavy, fsBold | fsItalic);
        return true;
    });
    prefs.SpeedButton4Click(nullptr);
    EXPECT_EQ(prefs.Edit1->Font(), TFont("Courier New", 14, clNavy, fsBold | fsItalic));
    EXPECT_EQ(Form1->memo1->Font(), editorFont) << "the editor's text is not changed here";
    prefs.Close();
    EXPECT_EQ(ReadStore("FontName"), "Courier New");
    EXPECT_EQ(ReadStore("FontSize"), "14");
    EXPECT_EQ(ReadStore("FontStyle"), "4");
}

TEST_F(PreferencesTest, ResetAllToolbarsShowsSixToolbarsInThreeRows)
{
    TForm2& prefs = *Form2;
    TForm1& main = *Form1;
    TCheckBox* boxes[] = {prefs.shape10.get(), prefs.shape1.get(), prefs.shape14.get(),
                          prefs.shape4.get(),  prefs.shape8.get(), prefs.shape7.get()};
    for (TCheckBox* box : boxes)
        box->SetChecked(false);
    prefs.ApplyPreferences();
    ASSERT_FALSE(main.ControlBar1->BandVisible(main.ToolBar2.get()));
    ASSERT_EQ(ReadStore("ShowToolbar7"), "false");

    prefs.SpeedButton22Click(nullptr);
    prefs.SpeedButton2Click(nullptr);
    for (TCheckBox* box : boxes)
        EXPECT_TRUE(box->Checked());
    TToolBar* bars[] = {main.ToolBar1.get(), main.ToolBar2.get(), main.ToolBar3.get(),
                        main.ToolBar5.get(), main.ToolBar6.get(), main.ToolBar7.get()};
    for (TToolBar* bar : bars)
        EXPECT_TRUE(main.ControlBar1->BandVisible(bar));
    for (const char* name : {"ShowToolbar1", "ShowToolbar2", "ShowToolbar3", "ShowToolbar5", "ShowToolbar6",
                             "ShowToolbar7"})
        EXPECT_EQ(ReadStore(name), "true") << name;

    // File, edit, date and time; tools and formatting; the find bar.
    int row1 = main.ToolBar1->Top(), row2 = main.ToolBar3->Top(), row3 = main.ToolBar5->Top();
    EXPECT_EQ(main.ToolBar2->Top(), row1);
    EXPECT_EQ(main.ToolBar7->Top(), row1);
    EXPECT_EQ(main.ToolBar6->Top(), row2);
    EXPECT_LT(row1, row2);
    EXPECT_LT(row2, row3);
    EXPECT_LT(main.ToolBar1->Left(), main.ToolBar2->Left());
    EXPECT_LT(main.ToolBar2->Left(), main.ToolBar7->Left());
    EXPECT_LT(main.ToolBar6->Left(), main.ToolBar3->Left());

    // The places reach the store as the program closes.
    int tops[6], lefts[6];
    for (int i = 0; i < 6; ++i) {
        tops[i] = bars[i]->Top();
        lefts[i] = bars[i]->Left();
    }
    StopProgram(true);
    const char* numbers = "123567";
    for (int i = 0; i < 6; ++i) {
        std::string bar = std::string("Toolbar") + numbers[i];
        EXPECT_EQ(ReadStore(bar + "Top"), IntToStr(tops[i])) << bar;
        EXPECT_EQ(ReadStore(bar + "Left"), IntToStr(lefts[i])) << bar;
    }
}

TEST(PreferencesLocationTest, LocationIsChosenInASaveDialogAndKeptOnCancel)
{
    ClearStore();
    RecordingDialogs dialogs;
    StartProgram(dialogs);
    TForm2& prefs = *Form2;
    dialogs.ChooseFile("C:\\Backups\\my backup");
    prefs.SpeedButton17Click(nullptr);
    EXPECT_EQ(prefs.Edit3->Text(), "C:\\Backups\\my backup");
    EXPECT_EQ(dialogs.asked.Title, "Select location to backup...");
    EXPECT_EQ(dialogs.asked.FileName, "Mibor8 - Backup");
    EXPECT_EQ(dialogs.asked.Filter, "All files|*.*");
    EXPECT_EQ(dialogs.asked.InitialDir, "c:\\");
    EXPECT_TRUE(dialogs.asked.Options & OFN_OVERWRITEPROMPT);

    dialogs.CancelFile();
    prefs.SpeedButton17Click(nullptr);
    EXPECT_EQ(prefs.Edit3->Text(), "C:\\Backups\\my backup");
    EXPECT_EQ(dialogs.fileDialogsShown, 2);
    prefs.Close();
    EXPECT_EQ(ReadStore("BackUpLocation"), "C:\\Backups\\my backup");
    StopProgram(false);
    ClearStore();
}
