// A save on a full disk: the drive named by MIBOR8_FULL_DRIVE is a small
// file system of its own (special_drive.py mounts it).
#include "tests/documents/DocumentFixture.h"

#include "ui/SysUtils.h"

namespace {

std::string FullDrive()
{
    char drive[16] = {0};
    return GetEnvironmentVariableA("MIBOR8_FULL_DRIVE", drive, sizeof drive) ? drive : "";
}

// Fills the drive's free space with one file.
void Fill(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string block(4096, 'f');
    DWORD written = 0;
    for (size_t size = block.size(); size > 0; size /= 2)
        while (WriteFile(file, block.data(), static_cast<DWORD>(size), &written, nullptr) && written == size) {
        }
    CloseHandle(file);
}

} // namespace

TEST_F(DocumentTest, ASaveOnAFullDiskKeepsTheOldFile)
{
    std::string drive = FullDrive();
    if (drive.empty())
        GTEST_SKIP() << "no small drive: run through full_disk_test.py";
    StartInMode("plain");
    std::string document = drive + "\\document.txt";
    std::string old = "the old content\r\nof the document";
    {
        TFileStream file(document, fmCreate);
        file.WriteString(old);
    }
    dialogs.ChooseFile(document);
    Run(&TForm1::Open1Click);
    ASSERT_EQ(Form1->memo1->Text(), old);
    Fill(drive + "\\filler");
    ULARGE_INTEGER free;
    ASSERT_TRUE(GetDiskFreeSpaceExA((drive + "\\").c_str(), &free, nullptr, nullptr));
    ASSERT_LT(free.QuadPart, 64 * 1024u);

    std::string longer;
    while (longer.size() < 100 * 1024)
        longer += "a new line that makes the document longer than the room left on the disk\r\n";
    Form1->memo1->SetSelText(longer);
    Run(&TForm1::Save1Click);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Failed to Save Stream."});
    EXPECT_EQ(ReadTestFile(document), old);
    EXPECT_EQ(FilesIn(drive), (std::vector<std::string>{"document.txt", "filler"}));

    // Save as a new file on the full drive: nothing is left there either.
    dialogs.ChooseFile(drive + "\\new", 3);
    Run(&TForm1::SaveAs1Click);
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(FilesIn(drive), (std::vector<std::string>{"document.txt", "filler"}));
    EXPECT_EQ(Form1->SaveDialog1.FileName, document);
}
