#include "tests/find/FindModel.h"

#include <optional>
#include <vector>

namespace {

using Found = std::optional<long long>;

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return text;
}

// Copy(text, index, count) with a 0-based index: nothing before the start or
// beyond the end.
std::string Copy(const std::string& text, long long index, long long count)
{
    if (index < 0) {
        count += index;
        index = 0;
    }
    if (count <= 0 || index >= static_cast<long long>(text.size()))
        return "";
    return text.substr(static_cast<size_t>(index), static_cast<size_t>(count));
}

std::string Selected(const ModelEditor& editor) { return Copy(editor.text, editor.selStart, editor.selLength); }

struct Window {
    std::string padded; // two spaces, the characters, two spaces
    long long start;    // text position of the first character
    long long count;    // number of characters
};

Window Padded(const std::string& text, long long start, long long count)
{
    std::string part = Copy(text, start, count);
    return {"  " + part + "  ", start, static_cast<long long>(part.size())};
}

// The text position of the search text found at `at` in the padded window;
// none where the mended rules refuse it.
Found Place(const Window& window, size_t at, size_t length, bool mended, long long passOver)
{
    long long position = window.start + static_cast<long long>(at) - 2;
    if (mended && (at < 2 || static_cast<long long>(at + length) > window.count + 2 || position >= passOver))
        return std::nullopt;
    return position;
}

// The text position of the search text for the pattern occurrence that
// comes first in the window (down) or ends nearest its end (up).
Found SearchWindow(const Window& window, const std::string& what, bool wholeWord, bool up, bool mended,
                   long long passOver)
{
    std::vector<std::string> patterns = {what};
    if (wholeWord)
        patterns = {" " + what + " ", "\n" + what + " ", "\n" + what + "\r", " " + what + "\r"};
    const size_t offset = wholeWord ? 1 : 0;
    const std::string& s = window.padded;
    Found best;
    for (const std::string& pattern : patterns) {
        size_t at = up ? s.rfind(pattern) : s.find(pattern);
        while (at != std::string::npos) {
            if (Found place = Place(window, at + offset, what.size(), mended, passOver)) {
                if (!best || (up ? *place > *best : *place < *best))
                    best = place;
                break;
            }
            at = up ? (at == 0 ? std::string::npos : s.rfind(pattern, at - 1)) : s.find(pattern, at + 1);
        }
    }
    return best;
}

Found SearchDownModel(const std::string& t, long long s, const std::string& f, bool wholeWord, bool mended)
{
    for (long long j = 0;; ++j) {
        if (s + 1 + 225 * j > static_cast<long long>(t.size()) + 223)
            return std::nullopt;
        if (Found found = SearchWindow(Padded(t, s + 225 * j, 250), f, wholeWord, false, mended, INT_MAX))
            return found;
    }
}

Found SearchUpModel(const std::string& t, long long s, const std::string& f, bool wholeWord, bool mended,
                    long long passOver)
{
    for (long long j = 0;; ++j) {
        long long p = s + 1 - 225 * j;
        if (p < -250)
            return std::nullopt;
        long long end = s - 225 * j; // the window ends just before this position
        long long begin = end - 250 < 0 ? 0 : end - 250;
        Window window = p <= 1 ? Window{"    ", 0, 0} : Padded(t, begin, end - begin);
        if (Found found = SearchWindow(window, f, wholeWord, true, mended, passOver))
            return found;
    }
}

} // namespace

bool ModelFind(ModelEditor& editor, TFindOptions& options, const std::string& findText, const std::string& replacement,
               bool mended, bool inReplaceAll)
{
    // 1. Start at top.
    if (options.StartAtTop) {
        editor.selStart = editor.selLength = 0;
        options.StartAtTop = false;
    }
    // 2. The search text and the replacement, folded unless "Match case".
    std::string f = findText, r = replacement;
    if (!options.MatchCase) {
        f = Lower(f);
        if (!r.empty())
            r = Lower(r);
    }
    // 3. Replacement of a selection that is a match, ignoring case.
    long long passOver = INT_MAX;
    if (Lower(Selected(editor)) == Lower(f) && !r.empty()) {
        editor.text.replace(static_cast<size_t>(editor.selStart), static_cast<size_t>(editor.selLength), r);
        if (mended && inReplaceAll)
            passOver = editor.selStart;
        editor.selStart += static_cast<int>(r.size());
        editor.selLength = 0;
    }
    // 4. The comparison text.
    std::string t = options.MatchCase ? editor.text : Lower(editor.text);
    long long l = static_cast<long long>(f.size());
    Found match;
    if (!options.SearchUp) {
        // 5. Down, after a selected match.
        long long s = editor.selStart;
        if (Lower(Selected(editor)) == Lower(f)) {
            editor.selStart = static_cast<int>(s + l);
            editor.selLength = 0;
            s = editor.selStart;
        }
        match = SearchDownModel(t, s, f, options.WholeWord, mended);
    } else {
        // 6. Up.
        match = SearchUpModel(t, editor.selStart, f, options.WholeWord, mended, passOver);
    }
    if (match) {
        // 7. The match selected, the caret at its end.
        editor.selStart = static_cast<int>(*match);
        editor.selLength = static_cast<int>(l);
        return true;
    }
    // 8. The end.
    ++editor.messages;
    editor.replaceAll = false;
    return false;
}

bool ModelReplaceAll(ModelEditor& editor, TFindOptions& options, const std::string& findText,
                     const std::string& replacement, bool mended, int maxRuns)
{
    editor.replaceAll = true;
    for (int runs = 0; editor.replaceAll; ++runs) {
        if (runs == maxRuns)
            return false;
        ModelFind(editor, options, findText, replacement, mended, true);
    }
    return true;
}

std::string MemoryTarget::SelText() const
{
    ++selTextCopies;
    return Selected(editor_);
}

std::string MemoryTarget::Text() const
{
    ++textCopies;
    return editor_.text;
}

void MemoryTarget::Select(int start, int length)
{
    editor_.selStart = start;
    editor_.selLength = length;
}

void MemoryTarget::ReplaceSelection(const std::string& text)
{
    editor_.text.replace(static_cast<size_t>(editor_.selStart), static_cast<size_t>(editor_.selLength), text);
    editor_.selStart += static_cast<int>(text.size());
    editor_.selLength = 0;
}
