// The find bar's search, with no windows: case folding, the search over the
// text in overlapping windows, and the search routine itself over an editor
// seen through TFindTarget (the main window gives it the rich edit control;
// tests give it a text in memory).
#pragma once

#include <climits>
#include <string>
#include <string_view>

// The four check items of the " Options" menu.
struct TFindOptions {
    bool StartAtTop = true; // the next search starts at position 0; cleared by the search
    bool SearchUp = false;
    bool WholeWord = false;
    bool MatchCase = false;
};

// The routine works on text of either width: the editor gives it UTF-16, as
// its positions count (the wide forms); a text of single bytes serves the
// tests, where a byte is one character. Both forms are the same code.

// Maps the letters A to Z onto a to z; every other character, accented
// letters included, stays.
std::string FoldCase(std::string text);
std::wstring FoldCase(std::wstring text);
bool SameFolded(std::string_view a, std::string_view b);
bool SameFolded(std::wstring_view a, std::wstring_view b);

// The text is searched in windows of this many characters; each window
// begins this many characters after the one before, so consecutive windows
// share 25 characters and a longer match is not found across the seam.
const int kSearchWindow = 250;
const int kSearchStep = 225;

// The first match of `what` in `text` from position `start` on, or -1. With
// `wholeWord` the match stands between a space or LF before it and a space
// or CR after it, where the edges of each window count as either.
int SearchDown(std::string_view text, int start, std::string_view what, bool wholeWord);
int SearchDown(std::wstring_view text, int start, std::wstring_view what, bool wholeWord);
// The match nearest before position `start` (it ends at or before `start`),
// or -1. Matches that begin at or after `passOver` are passed over.
int SearchUp(std::string_view text, int start, std::string_view what, bool wholeWord, int passOver = INT_MAX);
int SearchUp(std::wstring_view text, int start, std::wstring_view what, bool wholeWord, int passOver = INT_MAX);

// The editor as the search routine sees it. Positions are those of the
// editor's text as Text() reports it.
template <typename String>
class TFindTargetOf {
public:
    virtual ~TFindTargetOf() = default;
    virtual int SelStart() const = 0;
    virtual int SelLength() const = 0;
    virtual String SelText() const = 0;
    virtual String Text() const = 0;
    // Selects with the caret at the end of the selection.
    virtual void Select(int start, int length) = 0;
    // Replaces the selection; the caret stands after the new text.
    virtual void ReplaceSelection(const String& text) = 0;
    virtual void Focus() = 0;
    virtual void ScrollCaret() = 0;
    // "Finished searching/replacing."
    virtual void ShowFinished() = 0;
};
using TFindTarget = TFindTargetOf<std::string>;
using TWideFindTarget = TFindTargetOf<std::wstring>;

// The search routine: replaces the selection by `replacement` when the
// selection is a match and a replacement is given, then selects the next
// match; when there is none it reports the end. True when a match was selected.
bool FindNext(TFindTarget& editor, const std::string& findText, const std::string& replacement,
              TFindOptions& options);
bool FindNext(TWideFindTarget& editor, const std::wstring& findText, const std::wstring& replacement,
              TFindOptions& options);

// The routine run again and again until it reports the end, each run
// replacing the match the one before selected; done with one copy of the
// text. A replacement that holds a match is not searched again.
void ReplaceAll(TFindTarget& editor, const std::string& findText, const std::string& replacement,
                TFindOptions& options);
void ReplaceAll(TWideFindTarget& editor, const std::wstring& findText, const std::wstring& replacement,
                TFindOptions& options);
