// Writing a file through a new file that replaces the old one when complete.
#include "tests/documents/DocumentTestFiles.h"
#include "tests/windows/TestProgram.h"

#include "ui/SafeFile.h"
#include "ui/SysUtils.h"

#include <gtest/gtest.h>

namespace {

void WriteText(const std::string& fileName, const std::string& text)
{
    SaveFileSafely(fileName, [&](TStream& file) { file.WriteString(text); });
}

class SafeFileTest : public ::testing::Test {
protected:
    void SetUp() override { folder = FreshFolder("safe-file"); }
    std::string folder;
};

} // namespace

TEST_F(SafeFileTest, WritesNewFilesAndReplacesOldOnesWhole)
{
    std::string name = folder + "\\new.txt";
    WriteText(name, "first");
    EXPECT_EQ(ReadTestFile(name), "first");
    WriteText(name, "second, longer than the first");
    EXPECT_EQ(ReadTestFile(name), "second, longer than the first");
    WriteText(name, "");
    EXPECT_EQ(ReadTestFile(name), "");
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"new.txt"});
}

TEST_F(SafeFileTest, AFailingWriteLeavesTheOldFileAndNoNewOne)
{
    std::string name = folder + "\\kept.txt";
    WriteText(name, "the old content");
    std::string failure = FailureOf([&] {
        SaveFileSafely(name, [](TStream& file) {
            file.WriteString("half of the new");
            throw EWriteError("Failed to Save Stream");
        });
    });
    EXPECT_EQ(failure, "Failed to Save Stream");
    EXPECT_EQ(ReadTestFile(name), "the old content");
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"kept.txt"});

    // A file that did not exist is not made by a failing write.
    std::string fresh = folder + "\\never.txt";
    EXPECT_FALSE(FailureOf([&] { SaveFileSafely(fresh, [](TStream&) { throw EWriteError("x"); }); }).empty());
    EXPECT_FALSE(FileExists(fresh));
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"kept.txt"});
}

TEST_F(SafeFileTest, FilesThatCannotBeReplacedAreReportedWithTheirName)
{
    std::string readOnly = folder + "\\read-only.txt";
    WriteText(readOnly, "protected");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(FailureOf([&] { WriteText(readOnly, "new"); }), "Cannot create file " + readOnly);
    EXPECT_EQ(ReadTestFile(readOnly), "protected");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Held open by another program that shares no writing.
    std::string locked = folder + "\\locked.txt";
    WriteText(locked, "in use");
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(FailureOf([&] { WriteText(locked, "new"); }), "Cannot create file " + locked);
    CloseHandle(holder);
    EXPECT_EQ(ReadTestFile(locked), "in use");

    std::string inMissingFolder = folder + "\\no such folder\\file.txt";
    EXPECT_EQ(FailureOf([&] { WriteText(inMissingFolder, "x"); }), "Cannot create file " + inMissingFolder);
    EXPECT_EQ(FailureOf([&] { WriteText(folder, "x"); }), "Cannot create file " + folder);

    EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"locked.txt", "read-only.txt"}));
}
