// The Help menu's services: the association script and the manual.
#include "tests/about/ShellFixture.h"

#include "mainform/MainForm.h"
#include "ui/Shell.h"
#include "ui/SysUtils.h"

#include <gtest/gtest.h>

namespace {

const char* const kScript = "C:\\Mibor.reg";

using AssociationHelpTest = ShellFixture;

// The current folder, changed for the life of the object.
class CurrentFolder {
public:
    explicit CurrentFolder(const char* folder)
    {
        char old[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, old);
        old_ = old;
        SetCurrentDirectoryA(folder);
    }
    ~CurrentFolder() { SetCurrentDirectoryA(old_.c_str()); }

private:
    std::string old_;
};

} // namespace

TEST_F(AssociationHelpTest, EachExtensionWritesItsFourLineScriptAnewAndOpensIt)
{
    Form1->txt1->Click();
    EXPECT_EQ(ReadTestFile(kScript), "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.txt]\r\n@=\"Mibor-File\"\r\n");
    EXPECT_EQ(ReadTestFile(kScript).size(), 54u);
    Form1->rtf1->Click();
    EXPECT_EQ(ReadTestFile(kScript), "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.rtf]\r\n@=\"Mibor-File\"\r\n");
    EXPECT_EQ(opened, (std::vector<std::string>{kScript, kScript}));
    EXPECT_TRUE(dialogs.boxes.empty());

    // Closing the main window deletes it; a second close finds nothing to delete.
    StopProgram(true);
    EXPECT_FALSE(FileExists(kScript));
    StartProgram(dialogs);
    StopProgram(true);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(AssociationHelpTest, AScriptThatCannotBeWrittenIsReportedAndNothingIsOpened)
{
    ASSERT_TRUE(CreateDirectoryA(kScript, nullptr));
    Form1->txt1->Click();
    RemoveDirectoryA(kScript);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Cannot create file C:\\Mibor.reg.");
    EXPECT_EQ(dialogs.boxes[0].caption, "Mibor8");
    EXPECT_TRUE(dialogs.boxes[0].flags & MB_ICONERROR);
    EXPECT_TRUE(opened.empty());
}

TEST_F(AssociationHelpTest, F1AndTheHelpButtonOpenTheManualBesideTheProgramFromAnyFolder)
{
    std::string manual = ExtractFilePath(ProgramFileName()) + "Mibor8.pdf";
    {
        CurrentFolder elsewhere("C:\\windows");
        Form1->memo1->SetFocus();
        PressKey(VK_F1);
        Form1->ToolButton33->Click();
    }
    EXPECT_EQ(opened, (std::vector<std::string>{manual, manual}));

    // Through the system's shell: no manual beside the test program, and
    // nothing reported.
    SetShellOpener(nullptr);
    ASSERT_FALSE(FileExists(manual));
    Form1->Help2->Click();
    EXPECT_TRUE(dialogs.boxes.empty());
}
