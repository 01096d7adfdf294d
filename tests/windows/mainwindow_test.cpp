// The main window: text modes, the bullet button, the command line, dropped
// files, the resize rule and the standard error box.
#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"
#include "ui/Application.h"
#include "ui/ExtCtrls.h"
#include "ui/SysUtils.h"

#include <shlobj.h>

#include <gtest/gtest.h>

namespace {

class MainWindowTest : public StoreTest {
protected:
    // Starts with a stored mode (and everything else as a first start wrote it).
    void StartInMode(const char* mode, const std::string& commandLine = "")
    {
        StartWithValues({{"Mode", mode}}, commandLine);
    }
};

const char* const kFormattedRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 plain {\\b bold} text\\par}";

} // namespace

TEST_F(MainWindowTest, PlainModeResetsTheWholeTextAndRichModeKeepsIt)
{
    StartInMode("rich");
    TRichEdit& memo = *Form1->memo1;
    memo.SetSelText("hello world\r\nsecond line");
    memo.Select(6, 5);
    TCharAttributes bold;
    bold.mask = CFM_BOLD;
    bold.style = fsBold;
    memo.SetSelAttributes(bold);
    TParaAttributes centre;
    centre.mask = PFM_ALIGNMENT;
    centre.alignment = TAlignment::Center;
    memo.SetParagraph(centre);

    PressKey(VK_F2);
    EXPECT_TRUE(Form1->PlainMode());
    EXPECT_TRUE(memo.PlainText);
    EXPECT_FALSE(Form1->Panel19->Visible());
    EXPECT_FALSE(Form1->ToolButton11->Enabled());
    EXPECT_FALSE(Form1->ComboBox1->Enabled());
    EXPECT_FALSE(Form1->ToolButton18->Enabled());
    EXPECT_EQ(Form1->ToolButton18->Style(), TToolButtonStyle::Button);
    // The selection came back.
    EXPECT_EQ(memo.SelStart(), 6);
    EXPECT_EQ(memo.SelLength(), 5);
    memo.SelectAll();
    TCharAttributes all = memo.SelAttributes();
    EXPECT_EQ(all.style, 0u);
    EXPECT_EQ(all.name, "Tahoma");
    EXPECT_EQ(all.size, 8);
    TParaAttributes paragraph = memo.Paragraph();
    EXPECT_EQ(paragraph.alignment, TAlignment::Left);
    EXPECT_EQ(paragraph.firstIndent, 5);
    EXPECT_EQ(paragraph.leftIndent, 0);
    EXPECT_EQ(paragraph.rightIndent, 5);
    EXPECT_FALSE(paragraph.bullets);

    PressKey(VK_F3);
    EXPECT_TRUE(Form1->RichMode());
    EXPECT_FALSE(memo.PlainText);
    EXPECT_TRUE(Form1->Panel19->Visible());
    EXPECT_TRUE(Form1->ToolButton18->Down());
    EXPECT_FALSE(Form1->ToolButton19->Down());
    EXPECT_TRUE(Form1->ToolButton18->Enabled());
    EXPECT_TRUE(Form1->ToolButton11->Enabled());
    memo.Select(6, 5);
    EXPECT_EQ(memo.SelAttributes().style, 0u);
    EXPECT_EQ(memo.Paragraph().alignment, TAlignment::Left);
    // Undone a step at a time, the formatted text comes back.
    for (int step = 0; step < 8 && !(memo.SelAttributes().style & fsBold); ++step) {
        memo.Undo();
        memo.Select(6, 5);
    }
    EXPECT_EQ(memo.SelAttributes().style, fsBold);
    EXPECT_EQ(memo.Text(), "hello world\r\nsecond line");
}

TEST_F(MainWindowTest, BulletsComeWithAnIndentOfTenAndGoWithIt)
{
    StartInMode("rich");
    TRichEdit& memo = *Form1->memo1;
    memo.SetSelText("item");
    Form1->ToolButton44Click(nullptr);
    EXPECT_TRUE(memo.Paragraph().bullets);
    EXPECT_EQ(memo.Paragraph().leftIndent, 10);
    Form1->ToolButton44Click(nullptr);
    EXPECT_FALSE(memo.Paragraph().bullets);
    EXPECT_EQ(memo.Paragraph().leftIndent, 0);

    // A paragraph indented further keeps its indent when it gets bullets.
    TParaAttributes wide;
    wide.mask = PFM_OFFSET;
    wide.leftIndent = 30;
    memo.SetParagraph(wide);
    Form1->ToolButton44Click(nullptr);
    EXPECT_EQ(memo.Paragraph().leftIndent, 30);

    // While the toolbar follows the selection the button does nothing.
    Form1->Syncing = true;
    Form1->ToolButton44Click(nullptr);
    EXPECT_TRUE(memo.Paragraph().bullets);
}

TEST_F(MainWindowTest, ACommandLinePathWithBlanksNeedsNoQuotesAndEndsAtTenArguments)
{
    const std::string blanks = WriteTestFile("my notes here.txt", "from the command line");
    const std::string ten = WriteTestFile("a b c d e f g h i j", "ten");
    const std::pair<std::string, std::string> cases[] = {
        {blanks, blanks}, {"\"" + blanks + "\"", blanks}, {ten + " k l", ten}};
    for (const auto& [line, path] : cases) {
        SCOPED_TRACE(line);
        StartProgram(dialogs, line);
        EXPECT_EQ(Form1->memo1->Text(), ReadTestFile(path));
        EXPECT_EQ(Form1->Text(), "Mibor8 - " + path);
        EXPECT_EQ(Application->Title(), "Mibor8");
        EXPECT_EQ(Form1->SaveDialog1.FileName, path);
        EXPECT_EQ(Form1->OpenDialog1.FileName, path);
        EXPECT_TRUE(Form1->CommandLineStart);
        StopProgram(false);
    }
}

TEST_F(MainWindowTest, AMissingCommandLineFileIsReportedAndStartUpGoesOn)
{
    StartProgram(dialogs, "C:\\mibor8-tests\\no such file.txt");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Cannot open file C:\\mibor8-tests\\no such file.txt.");
    EXPECT_EQ(dialogs.boxes[0].caption, "Mibor8");
    EXPECT_EQ(dialogs.boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(Form1->Text(), "Mibor8");
    EXPECT_TRUE(Form1->SaveDialog1.FileName.empty());
    EXPECT_EQ(Form1->memo1->TextLength(), 0);
    // The rest of start-up ran: the settings were stored.
    EXPECT_EQ(ReadStore("Mode"), "plain");
}

TEST_F(MainWindowTest, ACommandLineStartKeepsTheFilesOwnIndentsInRichMode)
{
    std::string path =
        WriteTestFile("indented.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\li720\\fi0\\ri360 indented text\\par}");
    StartInMode("rich", path);
    Form1->memo1->Select(0, 0);
    TParaAttributes paragraph = Form1->memo1->Paragraph();
    EXPECT_EQ(paragraph.firstIndent, 36);
    EXPECT_EQ(paragraph.rightIndent, 18);

    // Loaded otherwise, the same file gets the default margins.
    Form1->memo1->LoadFromFile(path);
    Form1->SetWholeTextMargins();
    EXPECT_EQ(Form1->memo1->Paragraph().firstIndent, 5);
}

TEST_F(MainWindowTest, AFileIsDroppedOneAtATimeInTheModeOfTheWindow)
{
    std::string first = WriteTestFile("first.txt", "first");
    std::string second = WriteTestFile("second.txt", "second");
    std::string rich = WriteTestFile("dropped.rtf", kFormattedRtf);
    auto drop = [](const std::vector<std::string>& files) {
        SendMessageA(Form1->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(files)), 0);
    };
    StartInMode("plain");
    Form1->memo1->SetSelText("kept");
    drop({first, second});
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Only one file at a time, please...");
    EXPECT_EQ(dialogs.boxes[0].caption, "Mibor8");
    EXPECT_EQ(dialogs.boxes[0].flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(Form1->memo1->Text(), "kept");
    EXPECT_EQ(Form1->Text(), "Mibor8");

    drop({first});
    EXPECT_EQ(Form1->memo1->Text(), "first");
    EXPECT_EQ(Form1->Text(), "Mibor8 - " + first);
    EXPECT_EQ(Form1->SaveDialog1.FileName, first);
    EXPECT_EQ(Application->Title(), "Mibor8");

    // Rich text shows its mark-up in plain mode, and its formatting in rich mode.
    drop({rich});
    EXPECT_EQ(Form1->memo1->Text().substr(0, 6), "{\\rtf1");
    Form1->memo1->SelectAll();
    EXPECT_EQ(Form1->memo1->Paragraph().firstIndent, 5);
    PressKey(VK_F3);
    drop({rich});
    EXPECT_EQ(Form1->memo1->Text(), "plain bold text");
    Form1->memo1->Select(7, 2);
    EXPECT_EQ(Form1->memo1->SelAttributes().style, static_cast<TFontStyles>(fsBold));
}

TEST_F(MainWindowTest, TheWordListButtonsShowWhatTheyCanDo)
{
    // Activation disables the buttons that have nothing to do.
    StartProgram(dialogs);
    Form1->SpeedButton1->SetEnabled(true);
    Form1->SpeedButton2->SetEnabled(true);
    Form1->FormActivate(nullptr);
    EXPECT_FALSE(Form1->SpeedButton1->Enabled());
    EXPECT_FALSE(Form1->SpeedButton2->Enabled());
    EXPECT_FALSE(Form1->SpeedButton3->Enabled());
    // A hidden insert button gives the word list sixteen pixels.
    Form1->FormResize(nullptr);
    int shown = Form1->Panel10->Height();
    EXPECT_EQ(Form1->SpeedButton3->Top(), shown + 45);
    Form2->shape12->SetChecked(false);
    Form2->ApplyPreferences();
    Form1->FormResize(nullptr);
    EXPECT_EQ(Form1->Panel10->Height(), shown + 16);
    EXPECT_FALSE(Form1->SpeedButton3->Visible());
}

TEST_F(MainWindowTest, AFailureIsShownOnceInTheStandardErrorBoxAndNeverFromInsideAPaint)
{
    StartProgram(dialogs);
    Application->HandleException(EOutOfResources("Failed to Load Stream"));
    Application->HandleException(Exception("Host does not respond!"));
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, "Failed to Load Stream.");
    EXPECT_EQ(dialogs.boxes[0].caption, "Mibor8");
    EXPECT_EQ(dialogs.boxes[0].flags & (MB_ICONMASK | MB_TYPEMASK), static_cast<UINT>(MB_ICONERROR | MB_OK));
    EXPECT_EQ(dialogs.boxes[1].text, "Host does not respond!");

    // A button clicked by a command that fails: one box, and the command ends.
    bool commandWentOn = false;
    Form1->SpeedButton1->OnClick = [](TObject*) { throw Exception("No entry"); };
    Application->Guard([&] {
        Form1->SpeedButton1->Click();
        commandWentOn = true;
    });
    EXPECT_FALSE(commandWentOn);
    ASSERT_EQ(dialogs.boxes.size(), 3u);
    EXPECT_EQ(dialogs.boxes[2].text, "No entry.");

    // Paints that fail: no box while the window procedure runs, then one for
    // the same failure however often it came.
    struct TFailingShape : TShape {
        using TShape::TShape;
        void Paint(HDC) override { throw Exception("The picture is gone"); }
    } shape(Form1, 0, 0, 10, 10, clBlack, clWhite);
    SendMessageW(shape.Handle(), WM_PAINT, 0, 0);
    SendMessageW(shape.Handle(), WM_PAINT, 0, 0);
    EXPECT_EQ(dialogs.boxes.size(), 3u);
    Pump();
    ASSERT_EQ(dialogs.boxes.size(), 4u);
    EXPECT_EQ(dialogs.boxes[3].text, "The picture is gone.");
}

TEST_F(MainWindowTest, ExitClosesThroughTheWindowsCloseEvents)
{
    StartProgram(dialogs);
    ASSERT_FALSE(StoreHas("Width")); // the window state is written at close
    PressKey('X', true, true);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(StoreHas("Width"));
    EXPECT_TRUE(StoreHas("Toolbar7Top"));
}
