// New and the backup copy written on New and on closing.
#include "tests/documents/DocumentFixture.h"

#include "ui/SysUtils.h"

TEST_F(DocumentTest, NewEmptiesTheDocumentAndKeepsTheOpenedNameAndModeAndClosingBacksUp)
{
    StartInMode("rich");
    std::string path = WriteTestFile("documents\\opened.rtf", "{\\rtf1 opened\\par}");
    dialogs.ChooseFile(path);
    Run(&TForm1::Open1Click);
    Run(&TForm1::Text2Click);
    EXPECT_EQ(Form1->memo1->TextLength(), 0);
    EXPECT_EQ(Form1->Text(), "Mibor8");
    EXPECT_EQ(Application->Title(), "Mibor8");
    EXPECT_TRUE(Form1->SaveDialog1.FileName.empty());
    EXPECT_EQ(Form1->OpenDialog1.FileName, path);
    EXPECT_TRUE(Form1->RichMode());
    // The margins of the empty text come from the preferences.
    EXPECT_EQ(Form1->memo1->Paragraph().firstIndent, 5);
    EXPECT_EQ(Form1->memo1->Paragraph().rightIndent, 5);
    // The editor still works as before: typing, and its focus.
    Form1->memo1->SetSelText("typed after New");
    EXPECT_EQ(Form1->memo1->Text(), "typed after New");
    EXPECT_EQ(TControl::FromHandle(Form1->memo1->Handle()), Form1->memo1.get());

    // Closing writes the backup, in the mode of the moment, and never asks.
    PressKey(VK_F2);
    StopProgram(true);
    EXPECT_EQ(ReadTestFile(BackupPath()), "typed after New");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(DocumentTest, NewWritesTheBackupOnlyOfAText)
{
    StartInMode("plain");
    Run(&TForm1::Text2Click);
    EXPECT_FALSE(FileExists(BackupPath()));

    Form1->memo1->SetSelText("first text");
    Run(&TForm1::Text2Click);
    EXPECT_EQ(ReadTestFile(BackupPath()), "first text");
    Form1->memo1->SetSelText("second");
    Run(&TForm1::Text2Click);
    EXPECT_EQ(ReadTestFile(BackupPath()), "second");

    // In rich mode the backup is rich text.
    PressKey(VK_F3);
    Form1->memo1->SetSelText("rich");
    Run(&TForm1::Text2Click);
    EXPECT_EQ(ReadTestFile(BackupPath()).compare(0, 5, "{\\rtf"), 0);

    Form2->shape15->SetChecked(false);
    Form1->memo1->SetSelText("not backed up");
    Run(&TForm1::Text2Click);
    EXPECT_EQ(ReadTestFile(BackupPath()).compare(0, 5, "{\\rtf"), 0);
    EXPECT_EQ(Form2->Edit3->Text(), BackupPath());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(DocumentTest, ABackupThatFailsPutsTheFallbackIntoTheField)
{
    StartInMode("plain");
    std::string missing = Path("no such folder\\backup");
    Form2->Edit3->SetText(missing);
    Form1->memo1->SetSelText("lost in the void");
    Run(&TForm1::Text2Click);
    EXPECT_EQ(Form1->memo1->TextLength(), 0);
    EXPECT_EQ(Form2->Edit3->Text(), "c:\\Mibor8 - BackUp");
    EXPECT_TRUE(dialogs.boxes.empty());

    Form2->Edit3->SetText(missing);
    Form1->memo1->SetSelText("at closing");
    bool canClose = false;
    Form1->FormCloseQuery(nullptr, canClose);
    EXPECT_TRUE(canClose);
    EXPECT_EQ(Form2->Edit3->Text(), "c:\\Mibor8 - BackUp.mib");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(DocumentTest, AFirstStartBacksUpPlainTextAndStaysSo)
{
    StartProgram(dialogs); // neither mode button is down
    ASSERT_FALSE(Form1->PlainMode());
    ASSERT_FALSE(Form1->RichMode());
    ASSERT_FALSE(Form1->memo1->PlainText);
    Form2->Edit3->SetText(BackupPath());
    Form1->memo1->SetSelText("first start");
    Run(&TForm1::Text2Click);
    EXPECT_EQ(ReadTestFile(BackupPath()), "first start");
    EXPECT_TRUE(Form1->memo1->PlainText);
}
