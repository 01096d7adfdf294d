// Damaged rich text loaded into the editor of the hidden main window, as the
// program's open does it, in rich and in plain mode: the editor control ends
// the program on some of it, so what the RTF check refuses is read as plain
// text, and what it lets through must load as rich text. The files come from
// a fixed seed, so a failure repeats; a crash prints the file that caused it.
#include "tests/rtf/RtfSamples.h"
#include "tests/windows/TestProgram.h"

#include "mainform/MainWindowReads.h"
#include "ui/RichEdit.h"
#include "ui/Classes.h"
#include "ui/RtfCheck.h"

#include <cstdio>
#include <random>

namespace {

// The file being loaded, for the report of a crash.
const std::string* current = nullptr;
size_t currentIndex = 0;

LONG WINAPI ReportCrash(EXCEPTION_POINTERS*)
{
    if (current) {
        std::fprintf(stderr, "the program ended on file %zu (%zu bytes):\n", currentIndex, current->size());
        for (unsigned char c : *current)
            std::fprintf(stderr, c >= 32 && c < 127 ? "%c" : "\\x%02x", c);
        std::fprintf(stderr, "\n");
    }
    // At once: the system's debugger would take minutes.
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

// The smallest file of each kind that ended the program when the control read
// it (the last one when it was saved again).
const std::vector<std::string>& Crashers()
{
    static const std::vector<std::string> files = {
        "{\\rtf1" + std::string(32, '{') + "}",
        "{\\rtf1{\\fonttbl{\\f0 " + std::string(1040, 'A') + ";}}}",
        "{\\rtf1{\\stylesheet{\\s0 " + std::string(1040, 'A') + ";}}}",
        "{\\rtf1\\" + std::string(1040, 'a') + "}",
        "{\\rtf1\\fs" + std::string(1030, '1') + "}",
        "{\\rtf1{\\pict\\wmetafile8 " + MetafileHex(TMetafileFlaw::BitmapWithoutPixels) + "}}",
        "{\\rtf1{\\pict\\dibitmap0\\picw2000\\pich2000 " + BitmapHex(2000, 2000, 32, false) + "}}",
        "{\\rtf1\\pard\\tx-1 a\\par}",
    };
    return files;
}

// Cut after each kind of construct, inside and just after its first word; and
// bytes changed, inserted and deleted.
std::vector<std::string> DamagedFiles(const std::vector<std::string>& samples)
{
    std::mt19937 random(20261209);
    auto below = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    std::vector<std::string> files;
    const char* const marks[] = {"{",     "}",     "\\fonttbl", "{\\f",  "\\colortbl", "\\red", "\\bin",
                                 "\\pict", "\\u1", "\\'",       "{\\*", "\\par",      "\\tx",  "\\trowd"};
    for (const std::string& sample : samples)
        for (const char* mark : marks) {
            std::vector<size_t> places;
            for (size_t at = sample.find(mark); at != std::string::npos; at = sample.find(mark, at + 1))
                places.push_back(at);
            for (size_t i = 0; i < places.size() && i < 3; ++i)
                for (size_t into : {1, 3, 9})
                    files.push_back(sample.substr(0, places[below(places.size())] + into));
        }
    const std::string special = "{}\\;'* -0123456789";
    const char* const words[] = {"\\f", "\\cf", "\\fs", "\\tx", "\\bin", "\\u", "\\pict", "\\fonttbl", "\\colortbl",
                                 "\\red", "\\par", "\\cell", "\\row", "\\s", "\\wmetafile8", "\\'"};
    const char* const parameters[] = {"", "0", "-1", "255", "256", "65536", "-2147483648", "99999999999"};
    while (files.size() < 1200) {
        std::string file = samples[below(samples.size())];
        const size_t at = below(file.size());
        switch (below(3)) {
        case 0: // changed bytes
            for (size_t n = 1 + below(4), i = 0; i < n; ++i)
                file[below(file.size())] = below(2) ? special[below(special.size())] : static_cast<char>(below(256));
            break;
        case 1: { // inserted bytes
            std::string inserted = below(2) ? std::string(words[below(16)]) + parameters[below(8)] + " "
                                            : std::string(1 + below(3), special[below(special.size())]);
            file.insert(at, inserted);
            break;
        }
        default: // deleted bytes
            file.erase(at, 1 + below(30));
        }
        files.push_back(file);
    }
    return files;
}

class RtfLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearStore();
        StartWithStored(dialogs, {{"Mode", "rich"}});
        SetUnhandledExceptionFilter(ReportCrash);
    }
    void TearDown() override
    {
        current = nullptr;
        StopProgram(false);
        ClearStore();
    }
    // Loads `file` as the program's open does; the text the editor then holds.
    std::string Load(const std::string& file, bool plain)
    {
        TRichEdit& memo = MainEditor();
        memo.PlainText = plain;
        TMemoryStream stream;
        stream.WriteString(file);
        stream.SetPosition(0);
        memo.LoadFromStream(stream);
        // Saving it again (the control writes what it read) must not end the program either.
        TMemoryStream saved;
        memo.SaveToStream(saved);
        return memo.Text();
    }
    ScriptedDialogs dialogs;
};

bool ReadAsMarkup(const std::string& text) { return text.rfind("{\\rtf", 0) == 0; }

} // namespace

TEST_F(RtfLoadTest, DamagedRtfLoadsAsRichTextExactlyWhenTheCheckLetsItThrough)
{
    // The samples: RTF of other programs, and the control's own of a formatted text.
    TRichEdit& memo = MainEditor();
    memo.SetSelText("Plain, then bold and coloured text.\r\nA second paragraph.");
    memo.Select(13, 8);
    memo.SetSelAttributes({CFM_BOLD | CFM_COLOR | CFM_SIZE, "", 14, clRed, fsBold});
    TParaAttributes indented;
    indented.mask = PFM_STARTINDENT | PFM_ALIGNMENT;
    indented.firstIndent = 20;
    indented.alignment = TAlignment::Center;
    memo.SetParagraph(indented);
    TMemoryStream own;
    memo.PlainText = false;
    memo.SaveToStream(own);
    const std::vector<std::string> samples = {kPandocRtf, WordPadRtf(), FeaturesRtf(),
                                              std::string(own.Memory(), own.DataSize())};
    for (const std::string& sample : samples)
        ASSERT_TRUE(RtfLooksSafe(sample.data(), sample.size())) << sample;

    std::vector<std::string> files = Crashers();
    const std::vector<std::string> damaged = DamagedFiles(samples);
    files.insert(files.end(), damaged.begin(), damaged.end());
    size_t passed = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        current = &files[i];
        currentIndex = i;
        const bool safe = RtfLooksSafe(files[i].data(), files[i].size());
        passed += safe;
        std::string rich, plain;
        ASSERT_NO_THROW(rich = Load(files[i], false)) << "file " << i;
        ASSERT_NO_THROW(plain = Load(files[i], true)) << "file " << i;
        // Text the check refuses is read as plain text, with its mark-up.
        if (files[i].rfind("{\\rtf", 0) == 0) {
            EXPECT_EQ(ReadAsMarkup(rich), !safe) << "file " << i << ": " << files[i];
        }
    }
    // Enough of both kinds to mean something.
    EXPECT_GT(passed, files.size() / 10);
    EXPECT_LT(passed, files.size() - files.size() / 10);
}

TEST_F(RtfLoadTest, HarmfulRichTextOnTheClipboardIsPastedAsPlainText)
{
    TRichEdit& memo = MainEditor();
    const struct {
        const char* how;
        UINT message;
        WPARAM wParam;
    } kPastes[] = {
        {"paste", WM_PASTE, 0}, {"paste special", EM_PASTESPECIAL, 0}, {"the control's Ctrl+V", WM_KEYDOWN, 'V'}};
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    std::vector<std::string> files = Crashers();
    files.push_back("{\\rtf1 {\\b rich} words}");
    for (const auto& paste : kPastes)
        for (const std::string& file : files) {
            SCOPED_TRACE(std::string(paste.how) + ": " + file.substr(0, 60));
            current = &file;
            SetClipboardText("plain words", file);
            memo.Clear();
            memo.Perform(paste.message, paste.wParam, 0);
            EXPECT_EQ(memo.Text(), &file == &files.back() ? "rich words" : "plain words");
        }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}
