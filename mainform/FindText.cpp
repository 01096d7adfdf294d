#include "mainform/FindText.h"

#include <algorithm>

namespace {

template <typename String>
using View = std::basic_string_view<typename String::value_type>;

template <typename Char>
Char FoldChar(Char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c;
}

// Whether the text found at `at` in the window [begin, end) of `text` stands
// between word boundaries. Only a space, a CR or an LF is one, and the edges
// of the window count as one: the window is searched as if padded with spaces.
template <typename View>
bool WholeWordAt(View text, size_t begin, size_t end, size_t at, size_t length)
{
    auto before = at == begin ? ' ' : text[at - 1];
    auto after = at + length == end ? ' ' : text[at + length];
    return (before == ' ' || before == '\n') && (after == ' ' || after == '\r');
}

template <typename String>
String FoldCaseOf(String text)
{
    for (auto& c : text)
        c = FoldChar(c);
    return text;
}

template <typename View>
bool SameFoldedOf(View a, View b)
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
template <typename View>
int SearchDownIn(View text, int start, View what, bool wholeWord)
{
    const size_t length = what.size();
    if (length == 0 || start < 0)
        return -1;
    for (size_t begin = static_cast<size_t>(start); begin + length <= text.size(); begin += kSearchStep) {
        size_t end = std::min(begin + kSearchWindow, text.size());
        View window = text.substr(begin, end - begin);
        for (size_t at = window.find(what); at != View::npos; at = window.find(what, at + 1))
            if (!wholeWord || WholeWordAt(text, begin, end, begin + at, length))
                return static_cast<int>(begin + at);
    }
    return -1;
}

template <typename View>
int SearchUpIn(View text, int start, View what, bool wholeWord, int passOver)
{
    const int length = static_cast<int>(what.size());
    if (length == 0)
        return -1;
    start = std::min(start, static_cast<int>(text.size()));
    for (int end = start; end >= length; end -= kSearchStep) {
        int begin = std::max(0, end - kSearchWindow);
        View window = text.substr(begin, end - begin);
        for (size_t at = window.rfind(what); at != View::npos; at = at == 0 ? View::npos : window.rfind(what, at - 1)) {
            int match = begin + static_cast<int>(at);
            if (match < passOver && (!wholeWord || WholeWordAt(text, begin, end, match, length)))
                return match;
        }
    }
    return -1;
}

// Whether the selection is the search text, ignoring case. A selection of
// another length is no match, and is not copied to be compared.
template <typename String>
bool SelectionIsMatch(const TFindTargetOf<String>& editor, const String& what)
{
    using View = std::basic_string_view<typename String::value_type>;
    return editor.SelLength() == static_cast<int>(what.size()) && SameFoldedOf<View>(editor.SelText(), what);
}

// What one run of the routine works with after its first steps.
template <typename String>
struct TRun {
    String what;       // the search text, folded unless "Match case"
    String with;       // the replacement, likewise
    String text;       // the editor's text after the replacement, likewise
    int insertedAt = -1; // where the replacement went, if it was made
};

// The first steps of a run: the start at the top, the replacement of a
// selected match, the copy of the text.
template <typename String>
TRun<String> BeginRun(TFindTargetOf<String>& editor, const String& findText, const String& replacement,
                      TFindOptions& options)
{
    if (options.StartAtTop) {
        editor.Select(0, 0);
        options.StartAtTop = false;
    }
    TRun<String> run;
    run.what = options.MatchCase ? findText : FoldCaseOf(findText);
    run.with = options.MatchCase ? replacement : FoldCaseOf(replacement);
    // The test ignores case also with "Match case" on.
    if (!run.with.empty() && SelectionIsMatch(editor, run.what)) {
        run.insertedAt = editor.SelStart();
        editor.ReplaceSelection(run.with);
    }
    run.text = editor.Text();
    if (!options.MatchCase)
        run.text = FoldCaseOf(std::move(run.text));
    return run;
}

// Where a search down begins. A selected match is stepped over first, the
// caret moving to its end, so that the next Find moves on.
template <typename String>
int DownStart(TFindTargetOf<String>& editor, const String& what)
{
    int start = editor.SelStart();
    if (SelectionIsMatch(editor, what)) {
        start += static_cast<int>(what.size());
        editor.Select(start, 0);
    }
    return start;
}

template <typename String>
void ShowEnd(TFindTargetOf<String>& editor)
{
    editor.ShowFinished();
    editor.Focus();
}

// Replaces the match at `at` as the next run would; false when the editor
// did not take the replacement whole.
template <typename String>
bool ReplaceMatch(TFindTargetOf<String>& editor, int at, int length, const String& with)
{
    editor.Select(at, length);
    editor.ReplaceSelection(with);
    return editor.SelStart() == at + static_cast<int>(with.size()) && editor.SelLength() == 0;
}

// Replace all downwards. Every replacement lies before the part of the text
// still to be searched, so the search goes on in the copy taken at the start,
// whose positions are the editor's less what the replacements added.
// True when a match was found.
template <typename String>
bool ReplaceDown(TFindTargetOf<String>& editor, TRun<String>& run, bool wholeWord)
{
    const int length = static_cast<int>(run.what.size());
    const int growth = static_cast<int>(run.with.size()) - length;
    int start = DownStart(editor, run.what);
    int shift = 0;
    int lastEnd = -1;
    for (int match; (match = SearchDownIn<View<String>>(run.text, start, run.what, wholeWord)) >= 0; start = match + length) {
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
template <typename String>
bool ReplaceUp(TFindTargetOf<String>& editor, TRun<String>& run, bool wholeWord)
{
    const int length = static_cast<int>(run.what.size());
    int start = editor.SelStart();
    int passOver = run.insertedAt >= 0 ? run.insertedAt : INT_MAX;
    int last = -1;
    for (int match; (match = SearchUpIn<View<String>>(run.text, start, run.what, wholeWord, passOver)) >= 0;) {
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

template <typename String>
bool FindNextIn(TFindTargetOf<String>& editor, const String& findText, const String& replacement,
                TFindOptions& options)
{
    TRun<String> run = BeginRun(editor, findText, replacement, options);
    int match = options.SearchUp
                    ? SearchUpIn<View<String>>(run.text, editor.SelStart(), run.what, options.WholeWord, INT_MAX)
                    : SearchDownIn<View<String>>(run.text, DownStart(editor, run.what), run.what, options.WholeWord);
    if (match < 0) {
        ShowEnd(editor);
        return false;
    }
    editor.Focus();
    editor.Select(match, static_cast<int>(run.what.size()));
    editor.ScrollCaret();
    return true;
}

template <typename String>
void ReplaceAllIn(TFindTargetOf<String>& editor, const String& findText, const String& replacement,
                  TFindOptions& options)
{
    TRun<String> run = BeginRun(editor, findText, replacement, options);
    bool found = options.SearchUp ? ReplaceUp(editor, run, options.WholeWord)
                                  : ReplaceDown(editor, run, options.WholeWord);
    if (found) {
        editor.Focus();
        editor.ScrollCaret();
    }
    ShowEnd(editor);
}

} // namespace

std::string FoldCase(std::string text) { return FoldCaseOf(std::move(text)); }
std::wstring FoldCase(std::wstring text) { return FoldCaseOf(std::move(text)); }
bool SameFolded(std::string_view a, std::string_view b) { return SameFoldedOf(a, b); }
bool SameFolded(std::wstring_view a, std::wstring_view b) { return SameFoldedOf(a, b); }

int SearchDown(std::string_view text, int start, std::string_view what, bool wholeWord)
{
    return SearchDownIn(text, start, what, wholeWord);
}

int SearchDown(std::wstring_view text, int start, std::wstring_view what, bool wholeWord)
{
    return SearchDownIn(text, start, what, wholeWord);
}

int SearchUp(std::string_view text, int start, std::string_view what, bool wholeWord, int passOver)
{
    return SearchUpIn(text, start, what, wholeWord, passOver);
}

int SearchUp(std::wstring_view text, int start, std::wstring_view what, bool wholeWord, int passOver)
{
    return SearchUpIn(text, start, what, wholeWord, passOver);
}

bool FindNext(TFindTarget& editor, const std::string& findText, const std::string& replacement, TFindOptions& options)
{
    return FindNextIn(editor, findText, replacement, options);
}

bool FindNext(TWideFindTarget& editor, const std::wstring& findText, const std::wstring& replacement,
              TFindOptions& options)
{
    return FindNextIn(editor, findText, replacement, options);
}

void ReplaceAll(TFindTarget& editor, const std::string& findText, const std::string& replacement,
                TFindOptions& options)
{
    ReplaceAllIn(editor, findText, replacement, options);
}

void ReplaceAll(TWideFindTarget& editor, const std::wstring& findText, const std::wstring& replacement,
                TFindOptions& options)
{
    ReplaceAllIn(editor, findText, replacement, options);
}
