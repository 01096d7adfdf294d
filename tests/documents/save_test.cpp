// Save, Save as with its four filter entries, and the formats written.
#include "tests/documents/DocumentFixture.h"

#include "ui/SysUtils.h"

namespace {

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }

} // namespace

TEST_F(DocumentTest, PlainTextIsTheCodePagesBytesWithCrLfBreaks)
{
    StartInMode("plain");
    Form1->memo1->SetSelText("caf\u00E9 \u20AC\r\nsecond line\r\n\r\nlast");
    // Untitled, the save asks for a name; cancelled, it changes nothing.
    dialogs.CancelFile();
    Run(&TForm1::Save1Click);
    EXPECT_EQ(dialogs.fileDialogsShown, 1);
    EXPECT_TRUE(Form1->SaveDialog1.FileName.empty());
    EXPECT_EQ(Form1->Text(), "Mibor8");
    EXPECT_EQ(Application->Title(), "Mibor8");
    EXPECT_TRUE(Form1->memo1->PlainText);
    EXPECT_TRUE(FilesIn(folder).empty());
    EXPECT_TRUE(dialogs.boxes.empty());

    dialogs.ChooseFile(Path("notes"), 1);
    Run(&TForm1::Save1Click);
    // Entry 1 adds no extension and writes the current mode's format.
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"notes"});
    EXPECT_EQ(ReadTestFile(Path("notes")), "caf\xE9 \x80\r\nsecond line\r\n\r\nlast");
    EXPECT_EQ(Form1->SaveDialog1.FileName, Path("notes"));
    EXPECT_EQ(Form1->Text(), "Mibor8 - " + Path("notes"));
    EXPECT_EQ(Application->Title(), "Mibor8 - " + Path("notes"));
    EXPECT_TRUE(Form1->OpenDialog1.FileName.empty()); // Save as does not touch it

    // Read back in plain mode: the same text.
    dialogs.ChooseFile(Path("notes"));
    Run(&TForm1::Open1Click);
    EXPECT_EQ(Form1->memo1->Text(), "caf\u00E9 \u20AC\r\nsecond line\r\n\r\nlast");

    // A later Save writes there again, without a dialog.
    Form1->memo1->SetSelText("more ");
    Run(&TForm1::Save1Click);
    EXPECT_EQ(dialogs.fileDialogsShown, 3);
    EXPECT_TRUE(StartsWith(ReadTestFile(Path("notes")), "more caf"));
}

TEST_F(DocumentTest, SaveAsAppendsTheEntrysExtensionToTheTypedName)
{
    StartInMode("rich");
    Form1->memo1->SetSelText("<b>typed</b>");
    const struct {
        int entry;
        const char* typed;
        const char* written;
        bool rtf;
    } kCases[] = {
        {3, "letter.txt", "letter.txt.txt", false},
        {4, "page", "page.html", false},
        {2, "styled.rtf", "styled.rtf.rtf", true},
        {1, "as mode", "as mode", true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.written);
        dialogs.ChooseFile(Path(c.typed), c.entry);
        Run(&TForm1::SaveAs1Click);
        std::string written = ReadTestFile(Path(c.written));
        if (c.rtf)
            EXPECT_TRUE(StartsWith(written, "{\\rtf")) << written;
        else
            EXPECT_EQ(written, "<b>typed</b>");
        EXPECT_EQ(Form1->SaveDialog1.FileName, Path(c.written));
        EXPECT_EQ(Form1->Text(), "Mibor8 - " + Path(c.written));
        // The dialog remembers the entry; the editor still writes rich text.
        EXPECT_EQ(Form1->SaveDialog1.FilterIndex, c.entry);
        EXPECT_FALSE(Form1->memo1->PlainText);
        EXPECT_TRUE(Form1->RichMode());
    }
    EXPECT_EQ(FilesIn(folder).size(), 4u);
}

TEST_F(DocumentTest, PlainModeSavedAsRtfStaysPlainAndSaveThenWritesPlainText)
{
    StartInMode("plain");
    Form1->memo1->SetSelText("plain words");
    dialogs.ChooseFile(Path("doc"), 2);
    Run(&TForm1::SaveAs1Click);
    EXPECT_TRUE(StartsWith(ReadTestFile(Path("doc.rtf")), "{\\rtf"));
    EXPECT_TRUE(Form1->PlainMode());
    EXPECT_TRUE(Form1->memo1->PlainText);
    EXPECT_FALSE(Form1->ToolButton11->Enabled());
    EXPECT_FALSE(Form1->ComboBox1->Enabled());

    Run(&TForm1::Save1Click);
    EXPECT_EQ(ReadTestFile(Path("doc.rtf")), "plain words");
}

TEST_F(DocumentTest, AFailedSaveKeepsTheFileTheNameAndTheFormat)
{
    StartInMode("plain");
    std::string path = WriteTestFile("documents\\current.txt", "");
    dialogs.ChooseFile(path);
    Run(&TForm1::Open1Click);
    Form1->memo1->SetSelText("content");

    std::string blocked = Path("no such folder\\new");
    dialogs.ChooseFile(blocked, 2);
    Run(&TForm1::SaveAs1Click);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Cannot create file " + blocked + ".rtf."});
    EXPECT_EQ(Form1->SaveDialog1.FileName, path);
    EXPECT_EQ(Form1->Text(), "Mibor8 - " + path);
    EXPECT_TRUE(Form1->memo1->PlainText);

    // Save still writes to the document's own file; over a read-only one it
    // reports so and keeps the file.
    Run(&TForm1::Save1Click);
    EXPECT_EQ(ReadTestFile(path), "content");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    Form1->memo1->SetSelText("new ");
    Run(&TForm1::Save1Click);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Cannot create file " + blocked + ".rtf.",
                                                    "Cannot create file " + path + "."}));
    EXPECT_EQ(ReadTestFile(path), "content");
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"current.txt"});
}
