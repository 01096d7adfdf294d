#include "mainform/CommandLine.h"
#include "preferences/SettingsText.h"
#include "ui/SysUtils.h"

#include <gtest/gtest.h>

TEST(SettingsText, BooleansAreExactlyTrueOrFalse)
{
    EXPECT_EQ(BoolToText(true), "true");
    EXPECT_EQ(BoolToText(false), "false");
    EXPECT_TRUE(TextToBool("true"));
    EXPECT_FALSE(TextToBool("True"));
    EXPECT_FALSE(TextToBool("1"));
    EXPECT_FALSE(TextToBool(""));
}

TEST(SettingsText, ColoursByNameOrDollarNumber)
{
    EXPECT_EQ(ColorToText(clWhite), "clWhite");
    EXPECT_EQ(ColorToText(clBlue), "clBlue");
    EXPECT_EQ(ColorToText(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToText(SystemColor(0)), "clScrollBar");
    EXPECT_EQ(ColorToText(SystemColor(24)), "clInfoBk");
    EXPECT_EQ(ColorToText(SystemColor(25)), "$80000019");
    EXPECT_EQ(ColorToText(clNone), "clNone");
    EXPECT_EQ(ColorToText(0x00123456), "$00123456");
    EXPECT_EQ(ColorToText(0x00ABCDEF), "$00ABCDEF");

    EXPECT_EQ(TextToColor("clBtnFace"), clBtnFace);
    EXPECT_EQ(TextToColor("$8000000F"), clBtnFace);
    EXPECT_EQ(TextToColor("$00FF0000"), clBlue);
    EXPECT_EQ(TextToColor("16711680"), clBlue);
    EXPECT_EQ(TextToColor("cl3DDkShadow"), SystemColor(21));
    EXPECT_THROW(TextToColor(""), EConvertError);
    EXPECT_THROW(TextToColor("clBluish"), EConvertError);
    EXPECT_THROW(TextToColor("$GG"), EConvertError);
}

TEST(SettingsText, EveryStyleHasOneCodeAndSevenIsNone)
{
    for (TFontStyles style = 0; style < 16; ++style) {
        std::string code = FontStyleToCode(style);
        ASSERT_FALSE(code.empty());
        EXPECT_NE(code, "7");
        TFontStyles back = 99;
        ASSERT_TRUE(CodeToFontStyle(code, back));
        EXPECT_EQ(back, style);
    }
    EXPECT_EQ(FontStyleToCode(0), "1");
    EXPECT_EQ(FontStyleToCode(fsUnderline | fsStrikeOut), "11");
    EXPECT_EQ(FontStyleToCode(fsBold | fsItalic | fsUnderline | fsStrikeOut), "17");
    TFontStyles style = fsBold;
    EXPECT_FALSE(CodeToFontStyle("7", style));
    EXPECT_FALSE(CodeToFontStyle("011", style));
    EXPECT_FALSE(CodeToFontStyle("", style));
    EXPECT_EQ(style, static_cast<TFontStyles>(fsBold));
}

TEST(CommandLine, SplitsAtBlanksAndQuotesGroup)
{
    auto args = SplitCommandLine("\"C:\\Program Files\\Mibor8.exe\" C:\\My Documents\\a.txt");
    ASSERT_EQ(args.size(), 2u);
    EXPECT_EQ(args[0], "C:\\My");
    EXPECT_EQ(args[1], "Documents\\a.txt");
    EXPECT_EQ(CommandLineFileName(args), "C:\\My Documents\\a.txt");

    args = SplitCommandLine("Mibor8.exe   \"C:\\a b\\c.rtf\"  ");
    ASSERT_EQ(args.size(), 1u);
    EXPECT_EQ(args[0], "C:\\a b\\c.rtf");
    EXPECT_TRUE(SplitCommandLine("Mibor8.exe").empty());
    EXPECT_TRUE(SplitCommandLine("\"Mibor8.exe\"   ").empty());
}

TEST(CommandLine, TenArgumentsAtMost)
{
    std::vector<std::string> args = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
    EXPECT_EQ(CommandLineFileName(args), "1 2 3 4 5 6 7 8 9 10");
    EXPECT_EQ(CommandLineFileName({"x"}), "x");
    EXPECT_EQ(CommandLineFileName({}), "");
}
