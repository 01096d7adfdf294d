// Nothing typed is lost: Open, Re-open and a drop keep the text they replace
// as the backup, and a recovery copy outlives a program that is killed.
#include "tests/documents/DocumentFixture.h"

#include "mainform/ProgramPaths.h"
#include "ui/SysUtils.h"

#include <shellapi.h>

namespace {

const std::string kNotClosed = "Mibor8 was not closed properly. The text you had not saved is kept in ";

class RecoveryTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        dataFolder = FreshFolder("recovery");
        SetProgramDataFolder(dataFolder);
    }
    void TearDown() override
    {
        DocumentTest::TearDown();
        SetProgramDataFolder("");
    }
    // The recovery copies in the data folder.
    std::vector<std::string> Copies() const
    {
        std::vector<std::string> copies;
        for (const std::string& name : FilesIn(dataFolder))
            if (ExtractFileExt(name) != ".lock")
                copies.push_back(name);
        return copies;
    }
    // Handles messages until the condition holds; false when it has not within 20 s.
    template <typename Condition>
    bool PumpUntil(Condition condition)
    {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 20000;) {
            Pump(20);
            if (condition())
                return true;
        }
        return false;
    }
    std::string dataFolder;
};

} // namespace

TEST_F(RecoveryTest, OpenReopenAndADropBackUpTheTextTheyReplace)
{
    StartInMode("plain");
    const std::string other = WriteTestFile("documents\\other.txt", "the file");
    Form1->LastFileName = other;
    const struct {
        const char* command;
        std::function<void()> run;
    } kCommands[] = {
        {"Open", [&] {
             dialogs.ChooseFile(other);
             Run(&TForm1::Open1Click);
         }},
        {"Re-open", [&] { Run(&TForm1::Reopenlastfile1Click); }},
        {"a drop", [&] { SendMessageW(Form1->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({other})), 0); }},
    };
    for (const auto& c : kCommands) {
        SCOPED_TRACE(c.command);
        DeleteFileA(BackupPath().c_str());
        Form1->memo1->SetText("typed, never saved");
        c.run();
        EXPECT_EQ(ReadTestFile(BackupPath()), "typed, never saved");
        EXPECT_EQ(Form1->memo1->Text(), "the file");
        // An empty editor keeps nothing.
        Form1->memo1->Clear();
        DeleteFileA(BackupPath().c_str());
        c.run();
        EXPECT_FALSE(FileExists(BackupPath()));
    }
    // Open cancelled writes nothing.
    Form1->memo1->SetText("still here");
    dialogs.CancelFile();
    Run(&TForm1::Open1Click);
    EXPECT_FALSE(FileExists(BackupPath()));
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(RecoveryTest, ACopyFollowsAChangeAndGoesWithTheSaveAndTheCleanClose)
{
    StartInMode("plain");
    Pump(50);
    EXPECT_TRUE(Copies().empty()) << "nothing changed, nothing copied";
    Form1->memo1->SetSelText("\u0416 unsaved");
    ASSERT_TRUE(PumpUntil([&] { return !Copies().empty() && !Form1->Recovery->Pending(); }));
    const std::string copy = Form1->Recovery->FileName(false);
    EXPECT_EQ(ReadTestFile(copy), "\xEF\xBB\xBF\u0416 unsaved");
    // Saved, the text needs no copy.
    dialogs.ChooseFile(Path("saved.txt"));
    Run(&TForm1::Save1Click);
    EXPECT_TRUE(Copies().empty());
    // In rich mode the copy is rich text; closing deletes it.
    PressKey(VK_F3);
    Form1->memo1->SetSelText("rich ");
    Form1->Recovery->WriteNow();
    EXPECT_EQ(ReadTestFile(Form1->Recovery->FileName(true)).compare(0, 5, "{\\rtf"), 0);
    StopProgram(true);
    EXPECT_TRUE(FilesIn(dataFolder).empty());
}

TEST_F(RecoveryTest, TheNextStartAfterAKillTakesTheTextUpAndARunningProgramKeepsItsOwn)
{
    StartInMode("rich");
    Form1->memo1->SetSelText("typed before the crash");
    Form1->Recovery->WriteNow();
    // A second program running at once keeps its own copy and finds none left over.
    TRecoveryCopy other(dataFolder + "\\", [] { return TRecoveredText{"other", false}; });
    other.Changed();
    other.WriteNow();
    EXPECT_EQ(Copies().size(), 2u);
    EXPECT_FALSE(other.LeftOver());
    StopProgram(false, true);

    // Taken up in plain mode, the rich copy is read as rich text.
    StartInMode("plain");
    ASSERT_TRUE(PumpUntil([&] { return !dialogs.boxes.empty(); }));
    EXPECT_TRUE(Form1->RichMode());
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0].rfind(kNotClosed, 0), 0u) << BoxTexts()[0];
    EXPECT_NE(BoxTexts()[0].find(".rtf."), std::string::npos);
    EXPECT_EQ(Form1->memo1->Text(), "typed before the crash");
    EXPECT_EQ(Form1->Text(), "Mibor8");
    EXPECT_TRUE(Form1->SaveDialog1.FileName.empty());
    EXPECT_EQ(Copies().size(), 2u) << "kept until this run's own copy";
    Form1->Recovery->WriteNow();
    EXPECT_EQ(Copies().size(), 2u) << "this run's copy in place of the one taken up";
    StopProgram(true);
    EXPECT_EQ(Copies(), std::vector<std::string>{ExtractFileName(other.FileName(false))});
    other.Close();

    // After a clean close the next start says nothing.
    dialogs.boxes.clear();
    StartInMode("rich");
    Pump(50);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(RecoveryTest, ACopyThatCannotBeWrittenIsSilentAndTriedAgain)
{
    const std::string closed = dataFolder + "\\not yet\\";
    TRecoveryCopy copy(closed, [] { return TRecoveredText{"text", false}; });
    copy.Changed();
    copy.WriteNow();
    EXPECT_FALSE(FileExists(copy.FileName(false)));
    CreateDirectoryA(closed.c_str(), nullptr);
    copy.WriteNow();
    EXPECT_EQ(ReadTestFile(copy.FileName(false)), "text");
    copy.Close();
    // A left-over copy that cannot be read: the message, and an empty editor.
    const std::string unreadable = WriteTestFile("recovery\\Recovery-1-1.txt", "held by another program");
    HANDLE held = CreateFileA(unreadable.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    StartInMode("plain");
    ASSERT_TRUE(PumpUntil([&] { return !dialogs.boxes.empty(); }));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNotClosed + unreadable + "."});
    EXPECT_EQ(Form1->memo1->TextLength(), 0);
    CloseHandle(held);
}
