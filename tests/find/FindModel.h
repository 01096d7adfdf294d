// A model of the find bar's search routine, written step by step as the
// routine is described and kept apart from the program's code: it copies
// and folds the text at every run and searches windows padded with spaces,
// as described. With `mended` it has the two rules that make every run end:
// a match must lie within a window's own characters, and a Replace all run
// passes over a match that begins in the text it has just inserted.
#pragma once

#include "mainform/FindText.h"

#include <string>

// The editor in memory: its text, selection and the messages shown.
struct ModelEditor {
    std::string text;
    int selStart = 0;
    int selLength = 0;
    int messages = 0;
    bool replaceAll = false; // the replace-all flag
};

// One run of the routine; true when a match was selected.
bool ModelFind(ModelEditor& editor, TFindOptions& options, const std::string& findText, const std::string& replacement,
               bool mended, bool inReplaceAll = false);
// Replace all: runs the routine while the flag stays set. False when it has
// not ended after `maxRuns` runs.
bool ModelReplaceAll(ModelEditor& editor, TFindOptions& options, const std::string& findText,
                     const std::string& replacement, bool mended, int maxRuns);

// The editor in memory as the program's routine sees it.
class MemoryTarget : public TFindTarget {
public:
    explicit MemoryTarget(ModelEditor& editor) : editor_(editor) {}
    int SelStart() const override { return editor_.selStart; }
    int SelLength() const override { return editor_.selLength; }
    std::string SelText() const override;
    std::string Text() const override;
    void Select(int start, int length) override;
    void ReplaceSelection(const std::string& text) override;
    void Focus() override {}
    void ScrollCaret() override {}
    void ShowFinished() override { ++editor_.messages; }
    mutable int selTextCopies = 0; // SelText calls
    mutable int textCopies = 0;    // Text calls

private:
    ModelEditor& editor_;
};
