// The find bar's search, with no windows: case folding, the search over the
// text in overlapping windows, and the search routine itself over an editor
// seen through TFindTarget (the main window gives it the rich edit control;
// tests give it a text in memory).
#pragma once

#include <algorithm>
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

// A text in memory as the routine sees an editor, for Replace all done in one
// piece: the replacements of a run follow one another through the text, so
// the text keeps a gap where the last one was made and each replacement
// costs the characters it moves past, not the whole text.
template <typename String>
class TTextBufferOf : public TFindTargetOf<String> {
public:
    TTextBufferOf(String text, int selStart, int selLength)
        : buffer_(std::move(text)), gapStart_(buffer_.size()), gapEnd_(buffer_.size())
    {
        Select(selStart, selLength);
    }

    int SelStart() const override { return selStart_; }
    int SelLength() const override { return selLength_; }
    String SelText() const override
    {
        String text;
        for (int i = selStart_; i < selStart_ + selLength_; ++i)
            text += At(static_cast<size_t>(i));
        return text;
    }
    String Text() const override
    {
        String text = buffer_.substr(0, gapStart_);
        text.append(buffer_, gapEnd_, String::npos);
        return text;
    }
    // Clamped to the text, as the editor clamps a selection.
    void Select(int start, int length) override
    {
        const int size = static_cast<int>(Size());
        selStart_ = std::clamp(start, 0, size);
        selLength_ = std::clamp(length, 0, size - selStart_);
    }
    void ReplaceSelection(const String& text) override
    {
        MoveGap(static_cast<size_t>(selStart_));
        gapEnd_ += static_cast<size_t>(selLength_);
        if (gapEnd_ - gapStart_ < text.size()) {
            // A new gap, as large as the text, for the replacements to come.
            const size_t grow = text.size() + Size() + 16;
            buffer_.insert(gapEnd_, grow, typename String::value_type());
            gapEnd_ += grow;
        }
        std::copy(text.begin(), text.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(gapStart_));
        gapStart_ += text.size();
        selStart_ += static_cast<int>(text.size());
        selLength_ = 0;
        changed_ = true;
    }
    void Focus() override {}
    void ScrollCaret() override { scrolled_ = true; }
    void ShowFinished() override { ++finished_; }

    // How often the routine reported its end, whether it changed the text and
    // whether it brought the caret into view.
    int Finished() const { return finished_; }
    bool Changed() const { return changed_; }
    bool Scrolled() const { return scrolled_; }

private:
    size_t Size() const { return buffer_.size() - (gapEnd_ - gapStart_); }
    typename String::value_type At(size_t i) const { return buffer_[i < gapStart_ ? i : i + gapEnd_ - gapStart_]; }
    void MoveGap(size_t to)
    {
        if (to < gapStart_) {
            const size_t count = gapStart_ - to;
            std::copy_backward(buffer_.begin() + static_cast<std::ptrdiff_t>(to),
                               buffer_.begin() + static_cast<std::ptrdiff_t>(gapStart_),
                               buffer_.begin() + static_cast<std::ptrdiff_t>(gapEnd_));
            gapStart_ -= count;
            gapEnd_ -= count;
        } else if (to > gapStart_) {
            const size_t count = to - gapStart_;
            std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(gapEnd_),
                      buffer_.begin() + static_cast<std::ptrdiff_t>(gapEnd_ + count),
                      buffer_.begin() + static_cast<std::ptrdiff_t>(gapStart_));
            gapStart_ += count;
            gapEnd_ += count;
        }
    }

    String buffer_; // the text, with the gap [gapStart_, gapEnd_) in it
    size_t gapStart_, gapEnd_;
    int selStart_ = 0, selLength_ = 0;
    int finished_ = 0;
    bool changed_ = false, scrolled_ = false;
};
using TTextBuffer = TTextBufferOf<std::string>;
using TWideTextBuffer = TTextBufferOf<std::wstring>;
