// A root of C: the program may not write to, as for a standard user on Windows:
// the drive named by MIBOR8_READONLY_DRIVE is a read-only file system
// (special_drive.py mounts it) and stands for the root.
#include "tests/documents/DocumentFixture.h"

#include "mainform/ProgramPaths.h"
#include "ui/Shell.h"

#include <shlobj.h>

namespace {

std::string ReadOnlyDrive()
{
    char drive[16] = {0};
    return GetEnvironmentVariableA("MIBOR8_READONLY_DRIVE", drive, sizeof drive) ? drive : "";
}

std::string AppDataFolder()
{
    char folder[MAX_PATH] = {0};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\Mibor8\\";
}

class ReadOnlyRootTest : public DocumentTest {
protected:
    void SetUp() override
    {
        drive = ReadOnlyDrive();
        if (drive.empty())
            GTEST_SKIP() << "no read-only drive: run through special_drive.py";
        DocumentTest::SetUp();
        SetRootProbeFolder(drive + "\\");
        for (const char* name : {"Mibor8- Backup", "Mibor8 - BackUp", "Mibor8 - BackUp.mib"})
            DeleteFileA((AppDataFolder() + name).c_str());
    }
    void TearDown() override
    {
        DocumentTest::TearDown();
        SetRootProbeFolder("");
    }
    std::string drive;
};

} // namespace

TEST_F(ReadOnlyRootTest, TheBackupGoesToTheUsersApplicationData)
{
    ASSERT_FALSE(RootWritable());
    // A first start stores the default location in the application data.
    StartProgram(dialogs);
    const std::string location = AppDataFolder() + "Mibor8- Backup";
    EXPECT_EQ(Form2->Edit3->Text(), location);
    EXPECT_EQ(ReadStore("BackUpLocation"), location);

    // New with text writes the backup there.
    Form1->memo1->SetSelText("kept safe");
    Run(&TForm1::Text2Click);
    EXPECT_EQ(ReadTestFile(location), "kept safe");

    // A location stored before, in the root, stands for the same file there.
    StopProgram(false);
    StartWithStored(dialogs, {{"BackUpLocation", "C:\\Mibor8- Backup"}});
    DeleteFileA(location.c_str());
    Form1->memo1->SetSelText("again");
    Run(&TForm1::Text2Click);
    EXPECT_EQ(ReadTestFile(location), "again");
    EXPECT_EQ(Form2->Edit3->Text(), "C:\\Mibor8- Backup");

    // A location the user chose is used as typed; when it fails, the field
    // takes the fallback in the application data.
    Form2->Edit3->SetText(drive + "\\backup");
    Form1->memo1->SetSelText("lost");
    Run(&TForm1::Text2Click);
    EXPECT_EQ(Form2->Edit3->Text(), AppDataFolder() + "Mibor8 - BackUp");
    EXPECT_TRUE(dialogs.boxes.empty());
    Form2->Edit3->SetText(drive + "\\backup");
    Form1->memo1->SetSelText("closing");
    Form1->Close();
    EXPECT_EQ(Form2->Edit3->Text(), AppDataFolder() + "Mibor8 - BackUp.mib");
}

TEST_F(ReadOnlyRootTest, TheAssociationScriptGoesToTheTemporaryFolder)
{
    std::vector<std::string> opened;
    SetShellOpener([&](const std::string& target) { opened.push_back(target); });
    char temporary[MAX_PATH + 1] = {0};
    GetTempPathA(sizeof temporary, temporary);
    const std::string script = std::string(temporary) + "Mibor.reg";
    StartProgram(dialogs);
    Run(&TForm1::txt1Click);
    EXPECT_TRUE(dialogs.boxes.empty());
    ASSERT_EQ(opened, std::vector<std::string>{script});
    EXPECT_EQ(ReadTestFile(script).size(), 54u);
    // Closing removes the script the program wrote.
    Form1->Close();
    EXPECT_EQ(GetFileAttributesA(script.c_str()), INVALID_FILE_ATTRIBUTES);
    SetShellOpener(nullptr);
}
