// Open and Re-open: the mode from the first five characters, the caption,
// the title and the document state.
#include "tests/documents/DocumentFixture.h"

#include "ui/SysUtils.h"

namespace {

const char* const kBoldRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 plain {\\b bold} text\\par}";

// Whether the characters [start, start + length) of the editor are bold.
bool Bold(TRichEdit& memo, int start, int length)
{
    memo.Select(start, length);
    TCharAttributes attributes = memo.SelAttributes();
    return (attributes.mask & CFM_BOLD) && (attributes.style & fsBold);
}

} // namespace

TEST_F(DocumentTest, TheFirstFiveCharactersChooseTheMode)
{
    StartInMode("plain");
    TRichEdit& memo = *Form1->memo1;

    dialogs.ChooseFile(WriteTestFile("formatted.rtf", kBoldRtf));
    Run(&TForm1::Open1Click);
    EXPECT_TRUE(Form1->RichMode());
    EXPECT_FALSE(memo.PlainText);
    EXPECT_EQ(memo.Text(), "plain bold text");
    EXPECT_FALSE(Bold(memo, 0, 5));
    EXPECT_TRUE(Bold(memo, 6, 4));
    const std::string caption = Form1->Text(), name = Form1->SaveDialog1.FileName;

    // A file that cannot be opened changes nothing.
    std::string missing = Path("missing.txt");
    dialogs.ChooseFile(missing);
    Run(&TForm1::Open1Click);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Cannot open file " + missing + "."});
    EXPECT_EQ(dialogs.boxes[0].flags & MB_ICONERROR, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(memo.Text(), "plain bold text");
    EXPECT_TRUE(Form1->RichMode());
    EXPECT_EQ(Form1->Text(), caption);
    EXPECT_EQ(Form1->SaveDialog1.FileName, name);
    dialogs.boxes.clear();

    const struct {
        const char* name;
        std::string content;
    } kPlain[] = {
        {"blank first.rtf", std::string(" ") + kBoldRtf},
        {"capitals.rtf", "{\\RTF1\\ansi plain {\\b bold}}"},
        {"short.txt", "{\\rt"},
        {"empty.txt", ""},
    };
    for (const auto& file : kPlain) {
        SCOPED_TRACE(file.name);
        PressKey(VK_F3);
        ASSERT_TRUE(Form1->RichMode());
        dialogs.ChooseFile(WriteTestFile(file.name, file.content));
        Run(&TForm1::Open1Click);
        EXPECT_TRUE(Form1->PlainMode());
        EXPECT_TRUE(memo.PlainText);
        EXPECT_EQ(memo.Text(), file.content); // the mark-up shows as text
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(DocumentTest, OpenNamesTheDocumentAndCancelKeepsEverything)
{
    StartInMode("plain");
    // Cancelled before anything was opened: the caption is the bare name.
    Form1->SetText("something else");
    dialogs.CancelFile();
    Run(&TForm1::Open1Click);
    EXPECT_EQ(Form1->Text(), "Mibor8");

    std::string path = WriteTestFile("named.txt", "named\r\ndocument");
    dialogs.ChooseFile(path);
    Run(&TForm1::Open1Click);
    EXPECT_EQ(Form1->Text(), "Mibor8 - " + path);
    EXPECT_EQ(Application->Title(), "Mibor8 - " + path);
    EXPECT_EQ(Form1->SaveDialog1.FileName, path);
    EXPECT_EQ(Form1->OpenDialog1.FileName, path);
    EXPECT_EQ(Form1->memo1->Text(), "named\r\ndocument");
    // Plain mode gave the loaded text the default margins.
    Form1->memo1->SelectAll();
    EXPECT_EQ(Form1->memo1->Paragraph().firstIndent, 5);
    // Open ends with a settings save.
    EXPECT_EQ(ReadStore("ReOpen"), path);

    dialogs.CancelFile();
    Run(&TForm1::Open1Click);
    EXPECT_EQ(Form1->Text(), "Mibor8 - " + path);
    EXPECT_EQ(Form1->SaveDialog1.FileName, path);
    EXPECT_EQ(Form1->memo1->Text(), "named\r\ndocument");
}

TEST_F(DocumentTest, ReopenInTheFirstRunEverShowsTheMessage)
{
    StartProgram(dialogs); // an empty store: no last file
    Form1->memo1->SetSelText("kept");
    Form1->SetText("other");
    Run(&TForm1::Reopenlastfile1Click);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"There is no last file. To use this, first open\n"
                                                   "and/or save a file, and restart Mibor8.\n"
                                                   "Then try it again."});
    EXPECT_EQ(dialogs.boxes[0].flags & MB_ICONERROR, 0u);
    EXPECT_EQ(Form1->Text(), "Mibor8");
    EXPECT_EQ(Form1->memo1->Text(), "kept");
    EXPECT_TRUE(Form1->SaveDialog1.FileName.empty());
}

TEST_F(DocumentTest, ReopenBringsBackTheLastFileOfTheStoreEvenAfterOthers)
{
    std::string last = WriteTestFile("last.txt", "{\\rtf1 shown as mark-up}");
    std::string other = WriteTestFile("other.txt", "other");
    StartProgram(dialogs);
    StopProgram(true);
    WriteStore("Mode", "plain");
    WriteStore("ReOpen", last);
    StartProgram(dialogs);
    dialogs.ChooseFile(other);
    Run(&TForm1::Open1Click);

    Run(&TForm1::Reopenlastfile1Click);
    EXPECT_TRUE(dialogs.boxes.empty());
    // No look at the first characters: the mode stays plain.
    EXPECT_TRUE(Form1->PlainMode());
    EXPECT_EQ(Form1->memo1->Text(), "{\\rtf1 shown as mark-up}");
    EXPECT_EQ(Form1->Text(), "Mibor8 - " + last);
    EXPECT_EQ(Application->Title(), "Mibor8 - " + last);
    EXPECT_EQ(Form1->SaveDialog1.FileName, last);
    EXPECT_EQ(Form1->OpenDialog1.FileName, last);

    // Once the file is gone: the message, and the editor keeps its text.
    DeleteFileA(last.c_str());
    Run(&TForm1::Reopenlastfile1Click);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(Form1->memo1->Text(), "{\\rtf1 shown as mark-up}");
}
