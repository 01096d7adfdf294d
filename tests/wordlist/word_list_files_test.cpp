// Import and export of word-list files, and the list through the settings
// store: merging, failures that leave everything as it was, long lines, NUL
// bytes, large lists.
#include "tests/wordlist/WordListFixture.h"

#include "ui/SysUtils.h"

namespace {

using namespace std::string_literals;

TEST_F(WordListTest, ImportMergesAfterEqualEntriesAndKeepsTheSelection)
{
    Add({"c"});
    Import("b\r\n\r\na\r\n");
    EXPECT_EQ(Entries(), (List{"", "a", "b", "c"}));
    EXPECT_EQ(Buttons(), "-RI");

    Add({"Apple"});
    Select("Apple");
    Import("apple\r\nApple\r\nB\r\n");
    EXPECT_EQ(Entries(), (List{"", "a", "Apple", "apple", "Apple", "b", "B", "c"}));
    EXPECT_EQ(Form1->ListBox1->ItemIndex(), 2) << "the entry selected before";
    // Importing twice doubles every entry of the file.
    Import("c\r\n");
    Import("c\r\n");
    EXPECT_EQ(Entries().size(), 10u);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(WordListTest, AnEmptyListExportsNoBytesAndImportingThemChangesNothing)
{
    std::string path = WriteTestFile("empty.mib", "an older file");
    Export(path);
    EXPECT_EQ(ReadTestFile(path), "");
    Import("");
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(Buttons(), "---");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(WordListTest, ExportWritesTheSortedListWithLongEntriesWhole)
{
    const std::string longLine(5000, 'l');
    Import("zeta\nAlpha\r" + longLine + "\r\n");
    std::string path = WriteTestFile("out.mib", "");
    DeleteFileA(path.c_str());
    Export(path);
    EXPECT_EQ(ReadTestFile(path), "Alpha\r\n" + longLine + "\r\nzeta\r\n");
    EXPECT_EQ(Entries()[1], longLine);
    StopProgram(true);
    EXPECT_EQ(ReadStore("WordList"), "Alpha\r\n" + longLine + "\r\nzeta\r\n");
}

TEST_F(WordListTest, AFailedExportLeavesTheOldFileWhole)
{
    Add({"new"});
    std::string path = WriteTestFile("readonly.mib", "old\r\nbytes\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    Export(path);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadTestFile(path), "old\r\nbytes\r\n");
    Export("C:\\no such folder\\words.mib");
    EXPECT_EQ(Messages(), (List{"Export failed!", "Export failed!"}));
    EXPECT_EQ(dialogs.boxes[0].caption, "Mibor8");
    EXPECT_EQ(dialogs.boxes[0].flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(Entries(), List{"new"});
}

TEST_F(WordListTest, AFileThatCannotBeReadWholeFailsAndChangesNothing)
{
    Add({"kept"});
    Select("kept");
    std::string folder = "C:\\mibor8-tests\\folder.mib";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string locked = WriteTestFile("locked.mib", "x\r\n");
    HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    // Larger than a 32-bit process can hold; sparse, so it costs no disk.
    std::string huge = WriteTestFile("huge.mib", "");
    HANDLE file = CreateFileA(huge.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = (4LL << 30) + 10;
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);

    for (const std::string& path : {std::string("C:\\mibor8-tests\\missing.mib"), folder, locked, huge})
        ImportFile(path);
    CloseHandle(lock);
    DeleteFileA(huge.c_str());
    EXPECT_EQ(Messages(), List(4, "Import failed!"));
    EXPECT_EQ(Entries(), List{"kept"});
    EXPECT_EQ(Selected(), "kept");
}

// A list box that refuses one entry, as a full one would.
WNDPROC listProc = nullptr;
std::string refused;

LRESULT CALLBACK Refusing(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == LB_INSERTSTRING || message == LB_ADDSTRING) && refused == reinterpret_cast<const char*>(lParam))
        return LB_ERRSPACE;
    return CallWindowProcA(listProc, window, message, wParam, lParam);
}

TEST_F(WordListTest, AnEntryTheListRefusesFailsTheImportAndPutsTheOldListBack)
{
    Add({"a", "m", "z"});
    Select("m");
    HWND list = Form1->ListBox1->Handle();
    listProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Refusing)));
    refused = "refused";
    Import("b\r\nrefused\r\ny\r\n");
    EXPECT_EQ(Messages(), List{"Import failed!"});
    EXPECT_EQ(Entries(), (List{"a", "m", "z"}));
    EXPECT_EQ(Selected(), "m");
    // Typed in, it is reported too.
    Add({"refused"});
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(Form1->Edit4->Text(), "refused") << "the typed entry is not lost";
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));
}

TEST_F(WordListTest, ALineWithANulByteKeepsTheEntriesAfterItThroughTheStore)
{
    Import("b\r\nab\0cd\r\nc\r\nzz\r\n"s);
    EXPECT_EQ(Entries(), (List{"ab", "b", "c", "zz"}));
    StopProgram(true);
    EXPECT_EQ(ReadStore("WordList"), "ab\r\nb\r\nc\r\nzz\r\n");
    StartProgram(dialogs);
    EXPECT_EQ(Entries(), (List{"ab", "b", "c", "zz"}));
}

TEST_F(WordListTest, EntriesInAnyScriptComeBackFromFilesAndTheStoreWhole)
{
    const std::string cyrillic = "\u0416\u0451\u043B\u0442\u044B\u0439", greek = "\u03A3\u03A9";
    // A file of the ANSI code page, of UTF-8 with and without a mark, of UTF-16.
    Import("caf\xE9\r\n");
    Import("\xEF\xBB\xBF" + cyrillic + "\r\n");
    Import(greek + "\r\n");
    Import("\xFF\xFE\xA9\x03\r\0\n\0"s);
    EXPECT_EQ(Entries(), (List{"caf\u00E9", "\u03A3\u03A9", "\u03A9", "\u0416\u0451\u043B\u0442\u044B\u0439"}));
    EXPECT_EQ(ControlEntries(Form1->ListBox1->Handle()), Entries());
    // Exported as UTF-8 with its mark, since the ANSI code page cannot hold them.
    std::string path = WriteTestFile("scripts.mib", "");
    Export(path);
    EXPECT_EQ(ReadTestFile(path), "\xEF\xBB\xBF" "caf\u00E9\r\n" + greek + "\r\n\u03A9\r\n" + cyrillic + "\r\n");
    StopProgram(true);
    StartProgram(dialogs);
    EXPECT_EQ(Entries(), (List{"caf\u00E9", "\u03A3\u03A9", "\u03A9", "\u0416\u0451\u043B\u0442\u044B\u0439"}));
    // Entries the code page holds are written in it, byte for byte as ever.
    Run("Emptywordlist1Click");
    Add({"caf\u00E9", "\u20AC"});
    Export(path);
    EXPECT_EQ(ReadTestFile(path), "\x80\r\ncaf\xE9\r\n");
}

TEST_F(WordListTest, ALargeListWithEqualNeighboursComesBackFromTheStoreEntryForEntry)
{
    std::string file = "Apple\r\napple\r\n";
    for (int i = 0; i < 50000; ++i)
        file += (i % 2 ? "Word" : "word") + IntToStr(i % 45000) + "\r\n";
    Import(file);
    List saved = Entries();
    ASSERT_EQ(saved.size(), 50002u);
    StopProgram(true);
    StartProgram(dialogs);
    EXPECT_TRUE(Form1->ListBox1->Items() == saved);
    EXPECT_TRUE(ControlEntries(Form1->ListBox1->Handle()) == saved);
}

} // namespace
