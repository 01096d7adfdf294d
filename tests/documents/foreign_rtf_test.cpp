// Rich text written by another program (pandoc, at build time) opens formatted.
#include "tests/documents/DocumentFixture.h"

#include "ui/SysUtils.h"
#include "ui/WideText.h"

namespace {

// The sample beside the test program; empty when it was not made.
std::string ForeignSample()
{
    char path[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string sample = ExtractFilePath(path) + "foreign-sample.rtf";
    return FileExists(sample) ? sample : "";
}

// The style of the characters of the first `word` in the editor, with the
// mask bit that says whether it is the same all through.
TFontStyles StyleOf(TRichEdit& memo, const std::string& word, DWORD& mask)
{
    const std::string text = memo.Text();
    size_t at = text.find(word);
    EXPECT_NE(at, std::string::npos) << word;
    // The editor counts UTF-16 units.
    memo.Select(static_cast<int>(Utf16Length(text.data(), at)), static_cast<int>(Utf16Length(word)));
    EXPECT_EQ(memo.SelText(), word);
    TCharAttributes attributes = memo.SelAttributes();
    mask = attributes.mask;
    return attributes.style;
}

} // namespace

TEST_F(DocumentTest, RtfOfAnotherProgramOpensFormatted)
{
    std::string sample = ForeignSample();
    if (sample.empty())
        GTEST_SKIP() << "pandoc was not found at build time, so there is no foreign RTF sample";
    StartInMode("plain");
    dialogs.ChooseFile(sample);
    Run(&TForm1::Open1Click);
    ASSERT_TRUE(dialogs.boxes.empty());
    TRichEdit& memo = *Form1->memo1;
    EXPECT_TRUE(Form1->RichMode());
    EXPECT_EQ(memo.Paragraphs(), (std::vector<std::string>{
                                     "Plain words, bold words, italic words, caf\u00E9.",
                                     "A second paragraph with more bold at its end.",
                                 }));
    const struct {
        const char* words;
        TFontStyles style;
    } kRuns[] = {
        {"Plain words, ", 0}, {"bold words", fsBold}, {"italic words", fsItalic},
        {"A second paragraph with ", 0}, {"more bold", fsBold}, {" at its end.", 0},
    };
    for (const auto& run : kRuns) {
        SCOPED_TRACE(run.words);
        DWORD mask = 0;
        TFontStyles style = StyleOf(memo, run.words, mask);
        EXPECT_TRUE((mask & CFM_BOLD) && (mask & CFM_ITALIC));
        EXPECT_EQ(style & (fsBold | fsItalic), run.style);
    }
    // Saved again, it keeps its runs.
    dialogs.ChooseFile(Path("again"), 2);
    Run(&TForm1::SaveAs1Click);
    Run(&TForm1::Text2Click);
    dialogs.ChooseFile(Path("again.rtf"));
    Run(&TForm1::Open1Click);
    DWORD mask = 0;
    EXPECT_EQ(StyleOf(memo, "more bold", mask) & fsBold, fsBold);
}
