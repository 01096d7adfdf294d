// Plain-text files in every encoding: opened, typed into and saved, they
// keep their bytes, their mark and their line breaks; what their encoding
// cannot hold is saved as UTF-8, once said.
#include "tests/documents/DocumentFixture.h"

#include "ui/WideText.h"

namespace {

using namespace std::string_literals;

const char* const kSavedAsUtf8 =
    "This text holds characters that the ANSI code page cannot store; it was saved as UTF-8.";
const std::string kBom = "\xEF\xBB\xBF";

// A text's UTF-16 bytes, little or big end first.
std::string Utf16(const std::string& utf8, bool bigEndian)
{
    std::string bytes;
    for (wchar_t unit : ToWide(utf8)) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

} // namespace

TEST_F(DocumentTest, AFileOfEveryEncodingIsSavedInItWithTheTypedTextAdded)
{
    const std::string mixed = "Gr\u00FC\u00DFe \u041F\u0440\u0438\u0432\u0435\u0442 \u4F60\u597D \u20AC";
    std::string lines;
    for (int i = 0; i < 12000; ++i)
        lines += "\u0421\u0442\u0440\u043E\u043A\u0430 " + std::to_string(i) + " \u00E9t\u00E9\r\n";
    const struct {
        const char* kind;
        std::string original, typed, added;
    } kCases[] = {
        {"UTF-8 with a mark", kBom + mixed, "\u0416x", "\u0416x"},
        {"UTF-8 without one", mixed, "\u0416x", "\u0416x"},
        {"UTF-16 LE", "\xFF\xFE" + Utf16(mixed, false), "\u0416x", Utf16("\u0416x", false)},
        {"UTF-16 BE", "\xFE\xFF" + Utf16(mixed, true), "\u0416x", Utf16("\u0416x", true)},
        {"ANSI", "Gr\xFC\xDF" "e \x80", "\u00E9", "\xE9"},
        {"bytes that are no UTF-8", "a\x81\x8D\x8F\x90\x9D\xC0\xAFz", "!", "!"},
        {"LF-only lines", "one\ntwo\n", "\r\nx", "\nx"},
        {"several hundred KB", kBom + lines, "\u0416x", "\u0416x"},
    };
    StartInMode("plain");
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.kind);
        const std::string path = Path("file.txt");
        WriteTestFile(path.substr(std::string("C:\\mibor8-tests\\").size()), c.original);
        dialogs.ChooseFile(path);
        Run(&TForm1::Open1Click);
        TRichEdit& memo = *Form1->memo1;
        memo.SetSelStart(memo.TextLength());
        memo.SetSelText(c.typed);
        Run(&TForm1::Save1Click);
        EXPECT_TRUE(ReadTestFile(path) == c.original + c.added) << ReadTestFile(path).substr(0, 40);
        // Re-read in the format found for it, the file is the same text.
        Form1->LastFileName = path;
        Run(&TForm1::Reopenlastfile1Click);
        Run(&TForm1::Save1Click);
        EXPECT_TRUE(ReadTestFile(path) == c.original + c.added);
    }
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(DocumentTest, WhatTheEncodingCannotHoldIsSavedAsUtf8AndSaidOnce)
{
    StartInMode("plain");
    const std::string path = Path("ansi.txt");
    WriteTestFile("documents\\ansi.txt", "caf\xE9");
    dialogs.ChooseFile(path);
    Run(&TForm1::Open1Click);
    Form1->memo1->SetSelStart(4);
    Form1->memo1->SetSelText(" \u0416");
    Run(&TForm1::Save1Click);
    Run(&TForm1::Save1Click);
    EXPECT_EQ(ReadTestFile(path), kBom + "caf\u00E9 \u0416");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kSavedAsUtf8});

    // A new text is written in the ANSI code page where that holds it, else as UTF-8, unasked.
    dialogs.boxes.clear();
    Run(&TForm1::Text2Click);
    Form1->memo1->SetSelText("caf\u00E9 \u20AC");
    dialogs.ChooseFile(Path("new"), 1);
    Run(&TForm1::Save1Click);
    EXPECT_EQ(dialogs.choiceShown, 0) << "ANSI";
    EXPECT_EQ(ReadTestFile(Path("new")), "caf\xE9 \x80");
    Run(&TForm1::Text2Click);
    Form1->memo1->SetSelText("\u03A3");
    dialogs.ChooseFile(Path("new2"), 1);
    Run(&TForm1::Save1Click);
    EXPECT_EQ(ReadTestFile(Path("new2")), kBom + "\u03A3");
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(DocumentTest, SaveAsWritesTheEncodingChosenInItsList)
{
    StartInMode("plain");
    Form1->memo1->SetSelText("\u00E9\u20AC\r\n\u0416");
    const struct {
        int choice;
        std::string bytes;
    } kChoices[] = {
        {1, "\u00E9\u20AC\r\n\u0416"},
        {2, kBom + "\u00E9\u20AC\r\n\u0416"},
        {3, "\xFF\xFE" + Utf16("\u00E9\u20AC\r\n\u0416", false)},
        {4, "\xFE\xFF" + Utf16("\u00E9\u20AC\r\n\u0416", true)},
        {0, kBom + "\u00E9\u20AC\r\n\u0416"}, // ANSI cannot hold it
    };
    int previous = 0;
    for (const auto& c : kChoices) {
        SCOPED_TRACE(c.choice);
        dialogs.ChooseFile(Path("as"), 1, c.choice);
        Run(&TForm1::SaveAs1Click);
        EXPECT_EQ(dialogs.choiceShown, previous) << "the list opens on the document's encoding";
        EXPECT_TRUE(ReadTestFile(Path("as")) == c.bytes);
        previous = c.choice == 0 ? 2 : c.choice;
    }
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kSavedAsUtf8});
}
