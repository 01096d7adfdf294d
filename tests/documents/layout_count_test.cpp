// A long document is laid out once when the program starts with it and when
// it is opened: the editor gets its size, mode and margins before the text
// goes in (every layout of a long text costs about as much as reading it).
#include "tests/documents/DocumentFixture.h"

#include "ui/SysUtils.h"

namespace {

// Enough lines that a layout is not free, few enough to stay quick.
std::string Lines(const std::string& line, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += line + IntToStr(i) + "\r\n";
    return text;
}

class LayoutCountTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        TRichEdit::CountLayouts = true;
    }
    void TearDown() override
    {
        TRichEdit::CountLayouts = false;
        DocumentTest::TearDown();
    }
    // A store that moves and sizes every part of the window at start.
    void StartWith(const char* mode, const std::string& commandLine)
    {
        StartWithValues({{"Mode", mode}, {"LeftMargin", "20"}, {"RightMargin", "10"}, {"Width", "700"},
                         {"Height", "500"}, {"ShowPanel", "3"}, {"ShowToolbar2", "false"}, {"ShowToolbar5", "false"},
                         {"FontSize", "11"}, {"FontName", "Courier New"}, {"BackUpLocation", BackupPath()}},
                        commandLine);
    }
};

} // namespace

TEST_F(LayoutCountTest, AStartWithAFileAndOpenLayTheTextOutOnce)
{
    const std::string plain = Lines("a line of plain text, number ", 2000);
    const std::string rich = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\li720\\ri360\\f0\\fs20 " +
                             Lines("a rich line\\par ", 2000) + "}";
    struct Case {
        const char* mode;
        const char* file;
        const std::string& content;
        int firstIndent; // points, of the first paragraph after the start
        int startLayouts;
    };
    // Rich text is read from the default font the editor had when the file was
    // opened at start, and the stored font becomes the default afterwards, as
    // it always did: with a stored font of its own, that is a second layout.
    for (const Case& c : {Case{"plain", "long.txt", plain, 20, 1}, Case{"rich", "long.txt", plain, 0, 1},
                          Case{"rich", "long.rtf", rich, 36, 2}}) {
        SCOPED_TRACE(std::string(c.mode) + " " + c.file);
        std::string path = WriteTestFile(c.file, c.content);
        StartWith(c.mode, "\"" + path + "\"");
        TRichEdit& memo = *Form1->memo1;
        EXPECT_EQ(memo.Layouts, c.startLayouts);
        EXPECT_EQ(Form1->Text(), "Mibor8 - " + path);
        EXPECT_GT(memo.TextLength(), 30000);
        EXPECT_EQ(memo.SelStart(), 0);
        EXPECT_EQ(memo.Paragraph().firstIndent, c.firstIndent);
        if (std::string(c.mode) == "plain") {
            TCharAttributes font = memo.SelAttributes();
            EXPECT_EQ(font.name, "Courier New");
            EXPECT_EQ(font.size, 11);
        }

        memo.Layouts = 0;
        dialogs.ChooseFile(path);
        Run(&TForm1::Open1Click);
        EXPECT_EQ(memo.Layouts, 1);
        EXPECT_TRUE(dialogs.boxes.empty());
        StopProgram(false);
    }
}
