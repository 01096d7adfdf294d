#include "mainform/FindText.h"

#include <algorithm>

namespace {

char FoldChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether the text found at `at` in the window [begin, end) of `text` stands
// between word boundaries. Only a space, a CR or an LF is one, and the edges
// of the window count as one: the window is searched as if padded with spaces.
bool WholeWordAt(std::string_view text, size_t begin, size_t end, size_t at, size_t length)
{
    char before = at == begin ? ' ' : text[at - 1];
    char after = at + length == end ? ' ' : text[at + length];
    return (before == ' ' || before == '\n') && (after == ' ' || after == '\r');
}

} // namespace

std::string FoldCase(std::string text)
{
    for (char& c : text)
        c = FoldChar(c);
    return text;
}

bool SameFolded(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldChar(a[i]) != FoldChar(b[i]))
            return false;
    return true;
}

// A match must lie wholly within the window's own characters: the edges only
// serve as word boundaries, so a search text that begins or ends with a space
// is never found half outside the text.
int SearchDown(std::string_view text, int start, std::string_view what, bool wholeWord)
{
    const size_t length = what.size();
    if (length == 0 || start < 0)
        return -1;
    for (size_t begin = static_cast<size_t>(start); begin + length <= text.size(); begin += kSearchStep) {
        size_t end = std::min(begin + kSearchWindow, text.size());
        std::string_view window = text.substr(begin, end - begin);
        for (size_t at = window.find(what); at != std::string_view::npos; at = window.find(what, at + 1))
            if (!wholeWord || WholeWordAt(text, begin, end, begin + at, length))
                return static_cast<int>(begin + at);
    }
    return -1;
}

int SearchUp(std::string_view text, int start, std::string_view what, bool wholeWord, int passOver)
{
    const int length = static_cast<int>(what.size());
    if (length == 0)
        return -1;
    start = std::min(start, static_cast<int>(text.size()));
    for (int end = start; end >= length; end -= kSearchStep) {
        int begin = std::max(0, end - kSearchWindow);
        std::string_view window = text.substr(begin, end - begin);
        for (size_t at = window.rfind(what); at != std::string_view::npos;
             at = at == 0 ? std::string_view::npos : window.rfind(what, at - 1)) {
            int match = begin + static_cast<int>(at);
            if (match < passOver && (!wholeWord || WholeWordAt(text, begin, end, match, length)))
                return match;
        }
    }
    return -1;
}

namespace {

// Whether the selection is the search text, ignoring case. A selection of
// another length is no match, and is not copied to be compared.
bool SelectionIsMatch(const TFindTarget& editor, const std::string& what)
{
    return editor.SelLength() == static_cast<int>(what.size()) && SameFolded(editor.SelText(), what);
}

// What one run of the routine works with after its first steps.
struct TRun {
    std::string what;  // the search text, folded unless "Match case"
    std::string with;  // the replacement, likewise
    std::string text;  // the editor's text after the replacement, likewise
    int insertedAt = -1; // where the replacement went, if it was made
};

// The first steps of a run: the start at the top, the replacement of a
// selected match, the copy of the text.
TRun BeginRun(TFindTarget& editor, const std::string& findText, const std::string& replacement, TFindOptions& options)
{
    if (options.StartAtTop) {
        editor.Select(0, 0);
        options.StartAtTop = false;
    }
    TRun run;
    run.what = options.MatchCase ? findText : FoldCase(findText);
    run.with = options.MatchCase ? replacement : FoldCase(replacement);
    // The test ignores case also with "Match case" on.
    if (!run.with.empty() && SelectionIsMatch(editor, run.what)) {
        run.insertedAt = editor.SelStart();
        editor.ReplaceSelection(run.with);
    }
    run.text = editor.Text();
    if (!options.MatchCase)
        run.text = FoldCase(std::move(run.text));
    return run;
}

// Where a search down begins. A selected match is stepped over first, the
// caret moving to its end, so that the next Find moves on.
int DownStart(TFindTarget& editor, const std::string& what)
{
    int start = editor.SelStart();
    if (SelectionIsMatch(editor, what)) {
        start += static_cast<int>(what.size());
        editor.Select(start, 0);
    }
    return start;
}

void ShowEnd(TFindTarget& editor)
{
    editor.ShowFinished();
    editor.Focus();
}

// Replaces the match at `at` as the next run would; false when the editor
// did not take the replacement whole.
bool ReplaceMatch(TFindTarget& editor, int at, int length, const std::string& with)
{
    editor.Select(at, length);
    editor.ReplaceSelection(with);
    return editor.SelStart() == at + static_cast<int>(with.size()) && editor.SelLength() == 0;
}

// Replace all downwards. Every replacement lies before the part of the text
// still to be searched, so the search goes on in the copy taken at the start,
// whose positions are the editor's less what the replacements added.
// True when a match was found.
bool ReplaceDown(TFindTarget& editor, TRun& run, bool wholeWord)
{
    const int length = static_cast<int>(run.what.size());
    const int growth = static_cast<int>(run.with.size()) - length;
    int start = DownStart(editor, run.what);
    int shift = 0;
    int lastEnd = -1;
    for (int match; (match = SearchDown(run.text, start, run.what, wholeWord)) >= 0; start = match + length) {
        if (!run.with.empty()) {
            if (!ReplaceMatch(editor, match + shift, length, run.with))
                return true;
            shift += growth;
        }
        lastEnd = match + length;
    }
    if (lastEnd < 0)
        return false;
    // Without a replacement each run stepped over the match the one before selected.
    if (run.with.empty())
        editor.Select(lastEnd, 0);
    return true;
}

// Replace all upwards. Every replacement lies after the part of the text
// still to be searched: the copy is cut at the match and given the
// replacement, so that it stays the editor's text up to where the next
// search starts. A match that begins inside the replacement just made is
// passed over: it would be found and replaced again and again.
bool ReplaceUp(TFindTarget& editor, TRun& run, bool wholeWord)
{
    const int length = static_cast<int>(run.what.size());
    int start = editor.SelStart();
    int passOver = run.insertedAt >= 0 ? run.insertedAt : INT_MAX;
    int last = -1;
    for (int match; (match = SearchUp(run.text, start, run.what, wholeWord, passOver)) >= 0;) {
        last = match;
        if (run.with.empty()) {
            start = match;
            continue;
        }
        if (!ReplaceMatch(editor, match, length, run.with))
            return true;
        run.text.resize(static_cast<size_t>(match));
        run.text += run.with;
        passOver = match;
        start = static_cast<int>(run.text.size());
    }
    if (last < 0)
        return false;
    // Without a replacement the last match found stays selected.
    if (run.with.empty())
        editor.Select(last, length);
    return true;
}

} // namespace

bool FindNext(TFindTarget& editor, const std::string& findText, const std::string& replacement, TFindOptions& options)
{
    TRun run = BeginRun(editor, findText, replacement, options);
    int match = options.SearchUp ? SearchUp(run.text, editor.SelStart(), run.what, options.WholeWord)
                                 : SearchDown(run.text, DownStart(editor, run.what), run.what, options.WholeWord);
    if (match < 0) {
        ShowEnd(editor);
        return false;
    }
    editor.Focus();
    editor.Select(match, static_cast<int>(run.what.size()));
    editor.ScrollCaret();
    return true;
}

void ReplaceAll(TFindTarget& editor, const std::string& findText, const std::string& replacement,
                TFindOptions& options)
{
    TRun run = BeginRun(editor, findText, replacement, options);
    bool found = options.SearchUp ? ReplaceUp(editor, run, options.WholeWord)
                                  : ReplaceDown(editor, run, options.WholeWord);
    if (found) {
        editor.Focus();
        editor.ScrollCaret();
    }
    ShowEnd(editor);
}
