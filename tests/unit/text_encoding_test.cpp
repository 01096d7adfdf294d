// The crossing between UTF-8 and UTF-16, and how a file's encoding is told
// from its bytes and written back.
#include "ui/TextEncoding.h"
#include "ui/WideText.h"

#include <gtest/gtest.h>

TEST(WideText, RoundTripsEveryKindOfCharacterAndCountsUtf16Units)
{
    const struct {
        const char* utf8;
        std::wstring_view utf16;
    } kCases[] = {
        {"", L""},
        {"ok", L"ok"},
        {"\xC3\xBC", L"\u00FC"},                   // two bytes
        {"\xD0\x96\xE2\x82\xAC", L"\u0416\u20AC"}, // two and three
        {"\xF0\x9F\x98\x80", L"\xD83D\xDE00"},     // four bytes, a surrogate pair
        {"\xED\xA0\xBD", L"\xD83D"},              // an unpaired surrogate keeps its unit
        {"a\xED\xBF\xBFz", L"a\xDFFFz"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(ToWide(c.utf8), c.utf16);
        EXPECT_EQ(ToUtf8(c.utf16.data(), c.utf16.size()), c.utf8);
        EXPECT_EQ(Utf16Length(c.utf8), c.utf16.size());
    }
    // Bytes that are no UTF-8: one U+FFFD for each bad sequence.
    EXPECT_EQ(ToWide("a\x80" "b"), L"a\uFFFDb");
    EXPECT_EQ(ToWide("\xE2\x82"), L"\uFFFD");         // cut at the end
    EXPECT_EQ(ToWide("\xC0\xAF"), L"\uFFFD\uFFFD");   // an overlong "/"
    EXPECT_EQ(ToWide("\xF4\x90\x80\x80"), L"\uFFFD\uFFFD\uFFFD\uFFFD"); // past U+10FFFF
    EXPECT_EQ(Utf8Offset("a\xD0\x96\xF0\x9F\x98\x80z", 4), 7u);
    EXPECT_EQ(Utf8Offset("ab", 5), 2u);
}

TEST(TextEncoding, DetectsTheEncodingOfAFilesBytes)
{
    const auto ansi = TEncoding::Ansi, utf8 = TEncoding::Utf8;
    const struct {
        std::string bytes;
        TEncoding encoding;
        bool bom;
        TLineBreaks breaks;
    } kCases[] = {
        {"", ansi, false, TLineBreaks::AsTyped},
        {"a", ansi, false, TLineBreaks::AsTyped},
        {"plain ascii\r\nlines\r\n", ansi, false, TLineBreaks::CrLf},
        {"lf\nonly\n", ansi, false, TLineBreaks::Lf},
        {"mixed\r\nand\n", ansi, false, TLineBreaks::AsTyped},
        {"Gr\xFC\xDF" "e \x80", ansi, false, TLineBreaks::AsTyped},                // code page 1252
        {"Gr\xC3\xBC\xC3\x9F" "e \xD0\x9F\xE2\x82\xAC\n", utf8, false, TLineBreaks::Lf},
        {"\xEF\xBB\xBFok", utf8, true, TLineBreaks::AsTyped},
        {"\xEF\xBB\xBF", utf8, true, TLineBreaks::AsTyped},
        {"\xEF\xBB\xBF\xFF bad", ansi, false, TLineBreaks::AsTyped},             // a mark the bytes belie
        {std::string("\xFF\xFEo\0k\0", 6), TEncoding::Utf16LE, true, TLineBreaks::AsTyped},
        {std::string("\xFE\xFF\0o\0\r\0\n", 8), TEncoding::Utf16BE, true, TLineBreaks::CrLf},
        {std::string("\xFF\xFEo\0k", 5), ansi, false, TLineBreaks::AsTyped},     // UTF-16 of odd length
        {"\xC0\xAF", ansi, false, TLineBreaks::AsTyped},                         // overlong "/"
        {"a\x80z", ansi, false, TLineBreaks::AsTyped},                           // a lone continuation byte
        {"\xED\xA0\x80", ansi, false, TLineBreaks::AsTyped},                     // a surrogate
        {"ok \xE2\x82", ansi, false, TLineBreaks::AsTyped},                      // cut at the end
        {"\xF4\x90\x80\x80", ansi, false, TLineBreaks::AsTyped},                 // past U+10FFFF
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        const TTextFormat format = DetectTextFormat(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(format.encoding, c.encoding);
        EXPECT_EQ(format.bom, c.bom);
        EXPECT_EQ(format.lineBreaks, c.breaks);
        // Every file comes back byte for byte in the format it was read in.
        EXPECT_EQ(EncodeText(DecodeText(c.bytes.data(), c.bytes.size(), format), format), c.bytes);
    }
}

TEST(TextEncoding, WritesLineBreaksAsTheFileHadThemAndReportsWhatAnsiCannotHold)
{
    const std::wstring typed = L"one\r\ntwo\nthree\r\n";
    EXPECT_EQ(EncodeText(typed, {TEncoding::Ansi, false, TLineBreaks::Lf}), "one\ntwo\nthree\n");
    EXPECT_EQ(EncodeText(typed, {TEncoding::Ansi, false, TLineBreaks::Cr}), "one\rtwo\nthree\r");
    EXPECT_EQ(EncodeText(typed, {TEncoding::Ansi, false, TLineBreaks::CrLf}), "one\r\ntwo\nthree\r\n");
    bool exact = false;
    EXPECT_EQ(EncodeText(L"caf\u00E9 \u20AC", {}, &exact), "caf\xE9 \x80");
    EXPECT_TRUE(exact);
    EXPECT_EQ(EncodeText(L"\u0416 \u03A3", {}, &exact), "? ?");
    EXPECT_FALSE(exact);
    EXPECT_EQ(EncodeText(L"\u0416", {TEncoding::Utf16BE, true}), std::string("\xFE\xFF\x04\x16", 4));
}

TEST(TextEncoding, RtfIsRecognisedAfterAnyByteOrderMark)
{
    EXPECT_TRUE(StartsWithRtf("{\\rtf1", 6));
    EXPECT_TRUE(StartsWithRtf("\xEF\xBB\xBF{\\rtf1", 9));
    EXPECT_TRUE(StartsWithRtf("\xFF\xFE{\0\\\0r\0t\0f\0", 12));
    EXPECT_FALSE(StartsWithRtf(" {\\rtf", 6));
    EXPECT_FALSE(StartsWithRtf("{\\RTF", 5));
    EXPECT_FALSE(StartsWithRtf("{\\rt", 4));
}
