// The rich edit control, version 1.0 (window class "RICHEDIT" of riched32.dll).
#pragma once

#include "ui/Classes.h"
#include "ui/Controls.h"
#include "ui/TextEncoding.h"

#include <richedit.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Character attributes of a selection; `mask` (CFM_*) says which are valid or to be set.
struct TCharAttributes {
    DWORD mask = 0;
    std::string name;
    int size = 0; // points
    TColor color = clBlack;
    TFontStyles style = 0;
};

// A CHARFORMATW with only its size set, and one that sets `attributes`.
CHARFORMATW EmptyCharFormat();
CHARFORMATW ToCharFormat(const TCharAttributes& attributes);

enum class TAlignment { Left = 0, Right = 1, Center = 2 };

class TPageBands;
struct TPageBandsDeleter {
    void operator()(TPageBands* bands) const;
};

// Paragraph attributes; indents in points: first-line indent, the other lines
// relative to the first, right indent from the right edge.
struct TParaAttributes {
    DWORD mask = 0; // PFM_*
    int firstIndent = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    TAlignment alignment = TAlignment::Left;
    bool bullets = false;

    // The three indents, to be set together.
    static TParaAttributes Indents(int first, int left, int right)
    {
        TParaAttributes indents;
        indents.mask = PFM_STARTINDENT | PFM_OFFSET | PFM_RIGHTINDENT;
        indents.firstIndent = first;
        indents.leftIndent = left;
        indents.rightIndent = right;
        return indents;
    }
};

struct TRichEditOptions {
    bool wordWrap = true; // lines break at the window's edge; else a horizontal scroll bar
};

class TRichEdit : public TControl {
public:
    TRichEdit(TControl* parent, int left, int top, int width, int height, TRichEditOptions options = {});

    // Selection, in character positions of the text as the control reports it.
    int SelStart() const;
    int SelLength() const;
    void SetSelStart(int start);
    void SetSelLength(int length);
    void Select(int start, int length);
    // The text as the control holds it: positions count UTF-16 units.
    std::string Text() const override;
    std::wstring WideText() const;
    void SetText(const std::string& text) override;
    std::string SelText() const;
    std::wstring WideSelText() const;
    // Replaces the selection as typing would (one step of undo).
    void SetSelText(const std::string& text);
    void SetWideSelText(const std::wstring& text);
    // The characters from `from` to `to`; the selection is put back.
    std::wstring WideTextRange(int from, int to);
    void SelectAll();
    void ClearSelection();
    // Empties the editor. Typing then goes on in the format the text ended with.
    void Clear();
    int TextLength() const;

    // The selection goes to the clipboard as rich text and as plain text.
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Undo();
    void ScrollCaret();
    // Whether that many more characters of text fit in the memory the process
    // has left: the control ends the program when an allocation fails.
    bool RoomForText(uint64_t characters) const;

    TCharAttributes SelAttributes() const;
    void SetSelAttributes(const TCharAttributes& attributes);
    TParaAttributes Paragraph() const;
    void SetParagraph(const TParaAttributes& attributes);
    // While the editor is empty: the format its text starts in.
    void SetEmptyTextFormat(const TCharAttributes& attributes);
    // Gives the whole text one paragraph format and one character format,
    // keeping the view. A text of other formats goes out and comes back in as
    // text, taking the new formats from the emptied editor: it is laid out
    // once, where the control's own formatting walks every run of the text.
    // Ctrl+Z brings the old text back, with its formats.
    void SetWholeTextFormats(const TParaAttributes& paragraph, const TCharAttributes& character);
    // Replaces the whole of a text of one format by `text` in that format,
    // laid out once and kept in view; Ctrl+Z brings the old text back.
    void ReplaceWholeText(const std::wstring& text);

    // The editor's own font: the one text is typed in when nothing else is set.
    void SetEditorFont(const TFont& font);
    void SetBackground(TColor color);
    TColor Background() const { return Color(); }
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    void SetMaxLength(int length);

    // Lines as the control lays them out; a last empty line is not counted.
    int LineCount() const;
    std::string Line(int index);
    // The paragraphs of the text: the lines between line breaks.
    std::vector<std::string> Paragraphs() const;

    // How files are read and written: plain text or rich text (RTF).
    bool PlainText = false;
    // The loaded text replaces the content. Plain text is a file's bytes in
    // any encoding (DetectTextFormat), and takes the formats of the insertion
    // point: the default ones, unless the editor was empty and formatted (its
    // paragraph, its typing format). Rich text falls back to plain text when
    // it cannot be read as RTF. Returns the format plain text was read in,
    // none for RTF; raises EFOpenError, or EOutOfResources "Failed to Load
    // Stream" (also when the memory runs short, leaving the editor empty).
    std::optional<TTextFormat> LoadFromFile(const std::string& fileName);
    std::optional<TTextFormat> LoadFromStream(TStream& stream);
    // Plain text is written in `format`; where that encoding cannot hold a
    // character, as UTF-8 with a byte order mark when `orUtf8` is set (else
    // the character becomes "?"). Returns the format written. Raises
    // EOutOfResources "Failed to Save Stream" when the stream cannot be made
    // or written.
    TTextFormat SaveToStream(TStream& stream, const TTextFormat& format = TTextFormat(), bool orUtf8 = false);
    // A load held back until the editor's size and formats are final, so that
    // the control lays a long text out once: the stream is read now (reading
    // fails here), and LoadPendingText puts it into the control as
    // LoadFromStream would have done now, in the format chosen now. Until
    // then the editor is empty and takes fonts as if it held the text. Clear
    // or another load drops a held text.
    void LoadLater(TStream& stream);
    bool LoadPending() const { return pending_ != nullptr; }
    std::optional<TTextFormat> LoadPendingText();

    // For tests: how often the control laid out the whole of a text it holds
    // (a load, a change of its size, a format change over all of it), counted
    // while CountLayouts is set.
    static bool CountLayouts;
    int Layouts = 0;

    // Redrawing is held off between BeginUpdate and EndUpdate, and so are the
    // selection-change and change events: each fires once at the end if the
    // selection or the text changed in between.
    void BeginUpdate();
    void EndUpdate();
    // The formatting at the selection changed: the selection-change event
    // fires as for a new selection (once, at the end of a held update).
    void SelectionFormatChanged() { SelectionChanged(); }

    // Page formatting: lays the text from `start` up to `end` (-1: the end of
    // the text) out on the area `page` (twips) of the device context `dc` and,
    // with `render`, draws it there. Returns the first character that did not
    // fit: `start` when not even the first line or object fits.
    int FormatRange(HDC dc, const RECT& page, int start, int end, bool render);
    // Releases what page formatting keeps from one page to the next.
    void EndFormatRange();

    TNotifyEvent OnSelectionChange;
    TNotifyEvent OnChange;

protected:
    // The text keeps its formats, whose sizes are in points.
    void DpiChanged(int) override { StoreFont(Font()); }
    bool HandleCommand(WPARAM wParam, LRESULT& result) override;
    bool HandleNotify(NMHDR* header, LRESULT& result) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The selection to the clipboard, as rich text and as plain text.
    void CopySelection();
    enum class TStreamResult { Read, Failed, OutOfRoom };
    TStreamResult StreamIn(TStream& stream, UINT format);
    // The stream's bytes as plain text in the format detected for them.
    TStreamResult StreamInText(TStream& stream, UINT flags, TTextFormat& format);
    // Raises EOutOfResources "Failed to Save Stream" when the stream cannot be written.
    void StreamOut(TStream& stream, UINT format) const;
    // Replaces the window by an empty one with the same settings: removing a
    // long text from the control itself costs far more than destroying it.
    // `keepTypingFormat`: the new window types in the format the text ended with.
    void RecreateEmpty(bool keepTypingFormat);
    bool HasAttributes(const CHARFORMATW& wanted, WPARAM which) const;
    bool HasParagraph(const PARAFORMAT& wanted) const;
    bool ChangesLayout(UINT message, WPARAM wParam, LPARAM lParam) const;
    void CountLayout(UINT message, bool formatChange);
    // Fires the selection-change event, or notes it while updates are held.
    void SelectionChanged();
    void TextChanged();
    std::wstring GetText(DWORD which) const; // GT_DEFAULT or GT_SELECTION
    // Puts back the text SetWholeTextFormats took the formats of; false when
    // there is none, or the control has undo steps of its own left.
    bool UndoWholeTextFormats();
    void ReplaceWholeContent(TMemoryStream& text, PARAFORMAT paragraph, CHARFORMATW character);
    static PARAFORMAT ToParaFormat(const TParaAttributes& attributes);
    // The text as it was before SetWholeTextFormats, as RTF.
    std::unique_ptr<TMemoryStream> formatted_;
    bool wordWrap_;
    wchar_t highSurrogate_ = 0; // the first half of a typed pair
    // Page formatting drawn from a copy of the text, for a control that does
    // not format pages itself.
    std::unique_ptr<TPageBands, TPageBandsDeleter> bands_;
    int updating_ = 0;
    bool selectionChanged_ = false;
    bool textChanged_ = false;
    // A load held back, with the format and the default font it was chosen with.
    std::unique_ptr<TMemoryStream> pending_;
    bool pendingPlainText_ = false;
    CHARFORMATW pendingDefault_{};
    SIZE countedSize_{};
};

// Holds an editor's redrawing and its selection-change and change events off
// for the life of the object: a command that moves the selection or changes
// the text on its way reports each once, at its end.
class TUpdateLock {
public:
    explicit TUpdateLock(TRichEdit& editor) : editor_(editor) { editor_.BeginUpdate(); }
    ~TUpdateLock() { editor_.EndUpdate(); }
    TUpdateLock(const TUpdateLock&) = delete;
    TUpdateLock& operator=(const TUpdateLock&) = delete;

private:
    TRichEdit& editor_;
};
