// The search routine over an editor in memory: the cases the find bar must
// get right, and a comparison with the model on random texts.
#include "tests/find/RandomCases.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct Case {
    const char* name;
    std::string text;
    int selStart, selLength;
    const char* flags; // t start at top, u search up, w whole word, c match case
    std::string what, with;
    const char* commands;
    std::string expectedText;
    int expectedStart, expectedLength, expectedMessages;
};

} // namespace

TEST(FindRoutine, CasesOfTheFindBar)
{
    const std::string words = "cat sat\r\ncat\r\ncat. cats (cat\r\nthe cat";
    const Case cases[] = {
        {"start at top finds the first match wherever the caret is", "a cat, a cat", 10, 0, "t", "cat", "", "F",
         "a cat, a cat", 2, 3, 0},
        {"and the next Find the second", "a cat, a cat", 10, 0, "t", "cat", "", "FF", "a cat, a cat", 9, 3, 0},
        {"start at top with search up ends at once", "cat cat", 7, 0, "tu", "cat", "", "F", "cat cat", 0, 0, 1},
        {"case off inserts the replacement in lower case", "Berlin is big", 0, 6, "", "berlin", "Paris", "R",
         "paris is big", 5, 0, 1},
        {"case on inserts it as typed", "berlin is big", 0, 6, "c", "berlin", "Paris", "R", "Paris is big", 5, 0, 1},
        {"case on still replaces a selection that differs in case", "FOO foo Foo", 0, 3, "c", "foo", "bar", "R",
         "bar foo Foo", 4, 3, 0},
        {"case on searches on case-sensitively", "FOO Foo foo", 0, 3, "c", "foo", "bar", "R", "bar Foo foo", 8, 3, 0},
        {"whole word: start of the text", words, 0, 0, "tw", "cat", "", "F", words, 0, 3, 0},
        {"whole word: a line of its own", words, 0, 0, "tw", "cat", "", "FF", words, 9, 3, 0},
        {"whole word: the end of the text, not cat. cats (cat", words, 0, 0, "tw", "cat", "", "FFF", words, 34, 3, 0},
        {"whole word: then the end", words, 0, 0, "tw", "cat", "", "FFFF", words, 37, 0, 1},
        {"whole word: replace all", words, 0, 0, "tw", "cat", "dog", "A",
         "dog sat\r\ndog\r\ncat. cats (cat\r\nthe dog", 37, 0, 1},
        {"whole word up: the end of a line", "the cat\r\nsat", 12, 0, "uw", "cat", "", "F", "the cat\r\nsat", 4, 3, 0},
        {"folding is ASCII only", "\xC9t\xC9", 0, 0, "t", "\xE9t\xE9", "", "F", "\xC9t\xC9", 0, 0, 1},
        {"ASCII letters fold", "xABCx", 0, 0, "t", "abc", "", "F", "xABCx", 1, 3, 0},
        {"replace all of three matches after the caret", "cat x cat cat cat", 4, 0, "", "cat", "dog", "A",
         "cat x dog dog dog", 17, 0, 1},
        {"replace all without a replacement steps to after the last match", "cat a cat b", 0, 0, "", "cat", "", "A",
         "cat a cat b", 9, 0, 1},
        {"so does a Find after the last match", "cat a cat b", 6, 3, "", "cat", "", "F", "cat a cat b", 9, 0, 1},
        {"replace all up leaves the last match selected", "cat a cat b", 11, 0, "u", "cat", "", "A", "cat a cat b",
         0, 3, 1},
        {"replace all with nothing found still reports once", "abc", 0, 0, "t", "x", "y", "A", "abc", 0, 0, 1},
        {"whole word: a window that begins inside a word", "scat sat", 1, 0, "w", "cat", "", "F", "scat sat", 1, 3, 0},
        {"a 25-character match across the seam at 250", Xs(240) + kLong.substr(0, 25) + Xs(30), 0, 0, "t",
         kLong.substr(0, 25), "", "F", Xs(240) + kLong.substr(0, 25) + Xs(30), 240, 25, 0},
        {"a 26-character match that ends where the first window ends", Xs(224) + kLong.substr(0, 26) + Xs(30), 0, 0,
         "t", kLong.substr(0, 26), "", "F", Xs(224) + kLong.substr(0, 26) + Xs(30), 224, 26, 0},
        {"a 27-character match across the seam is not found", Xs(224) + kLong.substr(0, 27) + Xs(30), 0, 0, "t",
         kLong.substr(0, 27), "", "F", Xs(224) + kLong.substr(0, 27) + Xs(30), 0, 0, 1},
        // A search text with a blank at an edge is found only in the text.
        {"no match half before the text", "ab", 0, 0, "t", " a", "", "F", "ab", 0, 0, 1},
        {"no match half after the text", "ab", 0, 0, "t", "b ", "", "F", "ab", 0, 0, 1},
        {"no match in the padding after the caret", "a  b", 4, 0, "", "  ", "", "F", "a  b", 4, 0, 1},
        {"blanks are found where they are", "a  b", 0, 0, "t", "  ", "", "F", "a  b", 1, 2, 0},
        {"replace all of two blanks by one ends", "a  b    c", 0, 0, "t", "  ", " ", "A", "a b  c", 5, 0, 1},
        {"replace all up of blanks ends", "a    b", 6, 0, "u", "  ", " ", "A", "a b", 2, 0, 1},
        // Replace all upwards passes over the replacement it has just made.
        {"replace all up with the search text in the replacement", "cat cat", 7, 0, "u", "cat", "cats", "A",
         "cats cats", 4, 0, 1},
        {"replace all up with a match at the replacement's end", "ab ab", 5, 0, "u", "ab", "xab", "A", "xab xab", 3,
         0, 1},
        {"replace all down with the search text in the replacement", "cat cat", 0, 0, "t", "cat", "cats", "A",
         "cats cats", 9, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelEditor editor{c.text, c.selStart, c.selLength};
        MemoryTarget target(editor);
        TFindOptions options = OptionsOf(c.flags);
        RunCommands(target, c.commands, c.what, c.with, options);
        EXPECT_EQ(editor.text, c.expectedText);
        EXPECT_EQ(editor.selStart, c.expectedStart);
        EXPECT_EQ(editor.selLength, c.expectedLength);
        EXPECT_EQ(editor.messages, c.expectedMessages);
        EXPECT_FALSE(options.StartAtTop);

        ModelEditor model{c.text, c.selStart, c.selLength};
        TFindOptions modelOptions = OptionsOf(c.flags);
        ASSERT_TRUE(RunModel(model, c.commands, c.what, c.with, modelOptions, true, 100000));
        EXPECT_EQ(model.text, editor.text);
        EXPECT_EQ(model.selStart, editor.selStart);
        EXPECT_EQ(model.selLength, editor.selLength);
    }
}

TEST(FindRoutine, ACopyOfTheTextPerCommandAndNoneOfALongSelection)
{
    ModelEditor editor{std::string(100000, 'a') + " b", 0, 100000};
    MemoryTarget target(editor);
    TFindOptions options = OptionsOf("");
    FindNext(target, "b", "c", options);
    EXPECT_EQ(target.selTextCopies, 0);
    EXPECT_EQ(editor.selStart, 100001);

    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "cat ";
    for (const char* flags : {"t", "u"}) {
        ModelEditor many{text, static_cast<int>(text.size()), 0};
        MemoryTarget manyTarget(many);
        options = OptionsOf(flags);
        ReplaceAll(manyTarget, "cat", "lion", options);
        EXPECT_EQ(manyTarget.textCopies, 1);
        EXPECT_EQ(many.text.size(), text.size() + 2000);
        EXPECT_EQ(many.messages, 1);
    }
}

namespace {

void ExpectSame(const ModelEditor& a, const ModelEditor& b)
{
    EXPECT_EQ(a.text, b.text);
    EXPECT_EQ(a.selStart, b.selStart);
    EXPECT_EQ(a.selLength, b.selLength);
    EXPECT_EQ(a.messages, b.messages);
}

} // namespace

// The routine against the model on random texts: the literal model wherever
// it ends and the search text has no blank at an edge; the model with the
// two rules that make every run end, everywhere.
TEST(FindRoutine, AgreesWithTheModelOnRandomTexts)
{
    std::mt19937 random(12);
    int literal = 0, neverEnding = 0, blankEdged = 0;
    for (int i = 0; i < 4000; ++i) {
        RandomCase c = MakeRandomCase(random);
        SCOPED_TRACE(testing::Message() << "case " << i << " " << Describe(c));
        ModelEditor editor{c.text, c.selStart, c.selLength};
        MemoryTarget target(editor);
        TFindOptions options = OptionsOf(c.flags);
        RunCommands(target, c.commands, c.what, c.with, options);
        // Replace all in one piece, over a text in memory, ends as the literal runs do.
        TTextBuffer buffer(c.text, c.selStart, c.selLength);
        TFindOptions bufferOptions = OptionsOf(c.flags);
        RunCommands(buffer, c.commands, c.what, c.with, bufferOptions);
        ExpectSame(editor, ModelEditor{buffer.Text(), buffer.SelStart(), buffer.SelLength(), buffer.Finished()});

        ModelEditor mended{c.text, c.selStart, c.selLength};
        TFindOptions mendedOptions = OptionsOf(c.flags);
        ASSERT_TRUE(RunModel(mended, c.commands, c.what, c.with, mendedOptions, true, 1000000));
        ExpectSame(editor, mended);
        EXPECT_EQ(options.StartAtTop, mendedOptions.StartAtTop);

        if (c.what.front() == ' ' || c.what.back() == ' ') {
            ++blankEdged;
            continue;
        }
        ModelEditor model{c.text, c.selStart, c.selLength};
        TFindOptions modelOptions = OptionsOf(c.flags);
        if (!RunModel(model, c.commands, c.what, c.with, modelOptions, false, 3000)) {
            ++neverEnding;
            continue;
        }
        ++literal;
        ExpectSame(editor, model);
        if (HasFailure())
            break;
    }
    // Every kind of case came up.
    EXPECT_GT(literal, 2500);
    EXPECT_GT(neverEnding, 20);
    EXPECT_GT(blankEdged, 300);
}
