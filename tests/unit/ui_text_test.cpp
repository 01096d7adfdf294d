#include "ui/Application.h"
#include "ui/Classes.h"
#include "ui/SysUtils.h"

#include <gtest/gtest.h>

TEST(StandardErrorText, AddsAFullStopAfterLettersOnly)
{
    EXPECT_EQ(StandardErrorText("Cannot open file c:\\a.txt"), "Cannot open file c:\\a.txt.");
    EXPECT_EQ(StandardErrorText("Failed to Load Stream"), "Failed to Load Stream.");
    EXPECT_EQ(StandardErrorText("Done."), "Done.");
    EXPECT_EQ(StandardErrorText("Stop!"), "Stop!");
    EXPECT_EQ(StandardErrorText("(a, b)"), "(a, b)");
    EXPECT_EQ(StandardErrorText("list,"), "list,");
    EXPECT_EQ(StandardErrorText("a/"), "a/.");
    EXPECT_EQ(StandardErrorText(""), "");
    EXPECT_EQ(StandardErrorText("caf\xE9"), "caf\xE9.");
}

TEST(IntegerText, AcceptsDecimalAndDollarHexadecimal)
{
    int v = 0;
    EXPECT_TRUE(TryStrToInt("123", v));
    EXPECT_EQ(v, 123);
    EXPECT_TRUE(TryStrToInt("-5", v));
    EXPECT_EQ(v, -5);
    EXPECT_TRUE(TryStrToInt("007", v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(TryStrToInt("$8000000F", v));
    EXPECT_EQ(static_cast<unsigned>(v), 0x8000000Fu);
    EXPECT_TRUE(TryStrToInt("-2147483648", v));
    EXPECT_EQ(v, -2147483647 - 1);
    EXPECT_FALSE(TryStrToInt("2147483648", v));
    EXPECT_FALSE(TryStrToInt("", v));
    EXPECT_FALSE(TryStrToInt("-", v));
    EXPECT_FALSE(TryStrToInt("12a", v));
    EXPECT_FALSE(TryStrToInt("$", v));
    EXPECT_FALSE(TryStrToInt("1 ", v));
    EXPECT_THROW(StrToInt("abc"), EConvertError);
}

TEST(StringList, TextSplitsAtEveryKindOfLineBreak)
{
    TStringList list;
    list.SetText("a\r\nb\rc\nd");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[3], "d");
    list.SetText("a\r\n\r\nb\r\n");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[1], "");
    EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, SortedListInsertsAtItsPlaceIgnoringCase)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("pear");
    list.Add("Apple");
    list.Add("apple");
    list.Add("");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[0], "");
    EXPECT_TRUE(SameText(list[1], "apple"));
    EXPECT_TRUE(SameText(list[2], "apple"));
    EXPECT_EQ(list[3], "pear");
}

TEST(Paths, NameAndFolderParts)
{
    EXPECT_EQ(ExtractFileName("c:\\dir\\RichText.rtf"), "RichText.rtf");
    EXPECT_EQ(ExtractFileName("c:file.txt"), "file.txt");
    EXPECT_EQ(ExtractFilePath("C:\\Program Files\\Mibor8\\Mibor8.exe"), "C:\\Program Files\\Mibor8\\");
    EXPECT_EQ(ExtractFileExt("c:\\a.b\\name"), "");
    EXPECT_EQ(ExtractFileExt("letter.txt.txt"), ".txt");
}
