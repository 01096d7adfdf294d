// The texts of the Info page's figures.
#include "preferences/InfoFigures.h"

#include <gtest/gtest.h>

TEST(InfoFiguresTest, CountsTakeTheirSingularAndPluralForms)
{
    EXPECT_EQ(LinesText(0), "");
    EXPECT_EQ(LinesText(1), "There is 1 line");
    EXPECT_EQ(LinesText(2), "There are 2 lines");
    EXPECT_EQ(CharactersText(0), "");
    EXPECT_EQ(CharactersText(1), "There is one character");
    EXPECT_EQ(CharactersText(1234), "There are 1234 characters");
}

TEST(InfoFiguresTest, AverageDropsTheFractionAndIsSingularUpToOne)
{
    EXPECT_EQ(AverageText(1, 1), "The average line length is 1 character");
    EXPECT_EQ(AverageText(3, 4), "The average line length is 0 character");
    EXPECT_EQ(AverageText(3, 1), "The average line length is 3 characters");
    EXPECT_EQ(AverageText(11, 4), "The average line length is 2 characters");
}

TEST(InfoFiguresTest, MemoryIsRoundedKilobytesInGroupsOfThree)
{
    EXPECT_EQ(GroupThousands(0, ","), "0");
    EXPECT_EQ(GroupThousands(999, ","), "999");
    EXPECT_EQ(GroupThousands(1000, "."), "1.000");
    EXPECT_EQ(GroupThousands(523760, ","), "523,760");
    EXPECT_EQ(GroupThousands(1234567, "'"), "1'234'567");
    EXPECT_EQ(MemoryText(536330240ull, ","), "523,760 KB");
    EXPECT_EQ(MemoryText(1535, ","), "1 KB");
    EXPECT_EQ(MemoryText(1536, ","), "2 KB");
    // More than 4 GB.
    EXPECT_EQ(MemoryText(16ull * 1024 * 1024 * 1024, ","), "16,777,216 KB");
}

TEST(InfoFiguresTest, FreeMemoryIsTheShareNotInUse)
{
    EXPECT_EQ(FreeMemoryText(0), "100 %");
    EXPECT_EQ(FreeMemoryText(63), "37 %");
    EXPECT_EQ(FreeMemoryText(100), "0 %");
    EXPECT_EQ(ResolutionText(1024, 768), "1024x768");
}
