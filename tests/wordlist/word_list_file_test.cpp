// The word-list file rules: how bytes become entries and entries bytes.
#include "mainform/WordListFile.h"

#include "ui/Classes.h"

#include <gtest/gtest.h>

namespace {

using Entries = std::vector<std::string>;
using namespace std::string_literals;

TEST(WordListFile, BytesSplitIntoEntries)
{
    const std::string longLine(5000, 'w');
    const struct {
        std::string bytes;
        Entries entries;
    } kCases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"b\r\n\r\na\r\n", {"b", "", "a"}},
        {"one\r\ntwo", {"one", "two"}},           // a last line without a line end counts
        {"one\r\n\r\n", {"one", ""}},             // only the rest after the last line end is no entry
        {"lf\nonly\n", {"lf", "only"}},           // a file from another system
        {"cr\ronly\r", {"cr", "only"}},
        {"mixed\n\rend", {"mixed", "", "end"}},  // LF, then a lone CR: two line ends
        {"ab\0cd\r\nnext\r\n"s, {"ab", "next"}}, // cut at the first NUL
        {"\0\0\r\n"s, {""}},
        {longLine + "\r\nx", {longLine, "x"}},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(SplitWordList(c.bytes.data(), c.bytes.size()), c.entries) << testing::PrintToString(c.bytes);
}

TEST(WordListFile, EveryEntryEndsInCrLfAndAnEmptyListWritesNothing)
{
    const std::string longLine(70000, 'w'); // longer than one block of writing
    const struct {
        Entries entries;
        std::string bytes;
    } kCases[] = {
        {{}, ""},
        {{""}, "\r\n"},
        {{"a", "b c"}, "a\r\nb c\r\n"},
        {{"x", longLine, "y"}, "x\r\n" + longLine + "\r\ny\r\n"},
    };
    for (const auto& c : kCases) {
        TMemoryStream stream;
        WriteWordList(stream, c.entries);
        EXPECT_EQ(stream.ToString(), c.bytes);
        EXPECT_EQ(SplitWordList(stream.Memory(), stream.DataSize()), c.entries);
    }
}

} // namespace
