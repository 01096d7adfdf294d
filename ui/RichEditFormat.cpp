// The editor's character and paragraph formats: the selection's, the whole
// text's, and the default one typing takes.
#include "ui/RichEdit.h"

#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <cstring>

CHARFORMATW EmptyCharFormat()
{
    CHARFORMATW format;
    std::memset(&format, 0, sizeof format);
    format.cbSize = sizeof format;
    return format;
}

CHARFORMATW ToCharFormat(const TCharAttributes& attributes)
{
    CHARFORMATW format = EmptyCharFormat();
    format.dwMask = attributes.mask;
    if (attributes.mask & CFM_FACE) {
        const std::wstring face = ToWide(attributes.name);
        wcsncpy(format.szFaceName, face.c_str(), LF_FACESIZE - 1);
        format.bPitchAndFamily = DEFAULT_PITCH;
        format.bCharSet = DEFAULT_CHARSET;
        format.dwMask |= CFM_CHARSET;
    }
    format.yHeight = attributes.size * 20;
    format.crTextColor = ColorToRGB(attributes.color);
    TFontStyles style = attributes.style;
    format.dwEffects = ((style & fsBold) ? CFE_BOLD : 0) | ((style & fsItalic) ? CFE_ITALIC : 0) |
                       ((style & fsUnderline) ? CFE_UNDERLINE : 0) | ((style & fsStrikeOut) ? CFE_STRIKEOUT : 0);
    return format;
}

TCharAttributes TRichEdit::SelAttributes() const
{
    CHARFORMATW format = EmptyCharFormat();
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    Perform(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    TCharAttributes attributes;
    attributes.mask = format.dwMask;
    attributes.name = ToUtf8(format.szFaceName);
    attributes.size = format.yHeight / 20;
    attributes.color = (format.dwEffects & CFE_AUTOCOLOR) ? static_cast<TColor>(GetSysColor(COLOR_WINDOWTEXT))
                                                          : static_cast<TColor>(format.crTextColor);
    if (format.dwEffects & CFE_BOLD)
        attributes.style |= fsBold;
    if (format.dwEffects & CFE_ITALIC)
        attributes.style |= fsItalic;
    if (format.dwEffects & CFE_UNDERLINE)
        attributes.style |= fsUnderline;
    if (format.dwEffects & CFE_STRIKEOUT)
        attributes.style |= fsStrikeOut;
    return attributes;
}

void TRichEdit::SetSelAttributes(const TCharAttributes& attributes)
{
    CHARFORMATW format = ToCharFormat(attributes);
    // Formatting a long text costs seconds even when nothing changes.
    if (SelLength() > 0 && HasAttributes(format, SCF_SELECTION))
        return;
    Perform(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

// Whether the whole (non-empty) selection, or the default format, has every
// attribute of `wanted`.
bool TRichEdit::HasAttributes(const CHARFORMATW& wanted, WPARAM which) const
{
    CHARFORMATW current = EmptyCharFormat();
    current.dwMask = wanted.dwMask;
    Perform(EM_GETCHARFORMAT, which, reinterpret_cast<LPARAM>(&current));
    DWORD mask = wanted.dwMask;
    if ((current.dwMask & mask) != mask)
        return false; // mixed within the selection
    const DWORD effects = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED;
    if ((current.dwEffects ^ wanted.dwEffects) & mask & effects)
        return false;
    if ((mask & CFM_COLOR) &&
        ((current.dwEffects & CFE_AUTOCOLOR) != (wanted.dwEffects & CFE_AUTOCOLOR) ||
         (!(wanted.dwEffects & CFE_AUTOCOLOR) && current.crTextColor != wanted.crTextColor)))
        return false;
    return !((mask & CFM_SIZE) && current.yHeight != wanted.yHeight) &&
           !((mask & CFM_OFFSET) && current.yOffset != wanted.yOffset) &&
           !((mask & CFM_CHARSET) && current.bCharSet != wanted.bCharSet) &&
           !((mask & CFM_FACE) && std::wcscmp(current.szFaceName, wanted.szFaceName) != 0);
}

TParaAttributes TRichEdit::Paragraph() const
{
    PARAFORMAT format;
    std::memset(&format, 0, sizeof format);
    format.cbSize = sizeof format;
    format.dwMask = PFM_STARTINDENT | PFM_OFFSET | PFM_RIGHTINDENT | PFM_ALIGNMENT | PFM_NUMBERING;
    Perform(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    TParaAttributes attributes;
    attributes.mask = format.dwMask;
    attributes.firstIndent = format.dxStartIndent / 20;
    attributes.leftIndent = format.dxOffset / 20;
    attributes.rightIndent = format.dxRightIndent / 20;
    attributes.alignment = format.wAlignment == PFA_RIGHT    ? TAlignment::Right
                         : format.wAlignment == PFA_CENTER ? TAlignment::Center
                                                           : TAlignment::Left;
    attributes.bullets = format.wNumbering == PFN_BULLET;
    return attributes;
}

PARAFORMAT TRichEdit::ToParaFormat(const TParaAttributes& attributes)
{
    PARAFORMAT format;
    std::memset(&format, 0, sizeof format);
    format.cbSize = sizeof format;
    format.dwMask = attributes.mask;
    format.dxStartIndent = attributes.firstIndent * 20;
    format.dxOffset = attributes.leftIndent * 20;
    format.dxRightIndent = attributes.rightIndent * 20;
    format.wAlignment = attributes.alignment == TAlignment::Right    ? PFA_RIGHT
                      : attributes.alignment == TAlignment::Center ? PFA_CENTER
                                                                   : PFA_LEFT;
    format.wNumbering = attributes.bullets ? PFN_BULLET : 0;
    return format;
}

void TRichEdit::SetParagraph(const TParaAttributes& attributes)
{
    PARAFORMAT format = ToParaFormat(attributes);
    Perform(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

void TRichEdit::SetEmptyTextFormat(const TCharAttributes& attributes)
{
    if (TextLength() > 0)
        return;
    CHARFORMATW format = ToCharFormat(attributes);
    Perform(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void TRichEdit::SetWholeTextFormats(const TParaAttributes& paragraph, const TCharAttributes& character)
{
    SelectAll();
    const PARAFORMAT wanted = ToParaFormat(paragraph);
    if (TextLength() == 0) {
        // The format of the empty text itself, not one waiting at the caret:
        // text streamed in at the caret then goes in far faster.
        SetParagraph(paragraph);
        SetEmptyTextFormat(character);
        return;
    }
    if (HasParagraph(wanted) && HasAttributes(ToCharFormat(character), SCF_SELECTION)) {
        SetParagraph(paragraph);
        SetSelAttributes(character);
        return;
    }
    // The control deletes a text of many formats in time that grows with
    // the square of its length: an empty window takes its place, and keeps
    // the formatted text for Ctrl+Z, which the control's own undo cannot
    // bring back from the old window.
    TMemoryStream text;
    StreamOut(text, SF_TEXT | SF_UNICODE);
    ReplaceWholeContent(text, wanted, ToCharFormat(character));
}

void TRichEdit::ReplaceWholeText(const std::wstring& text)
{
    // The text's format: the one at its start, which in one-format text is
    // everywhere.
    CHARRANGE start{0, 0};
    Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    CHARFORMATW character{};
    character.cbSize = sizeof character;
    Perform(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&character));
    PARAFORMAT paragraph{};
    paragraph.cbSize = sizeof paragraph;
    Perform(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    TMemoryStream stream;
    stream.WriteBuffer(text.data(), text.size() * sizeof(wchar_t));
    ReplaceWholeContent(stream, paragraph, character);
}

// Streams `text` into an emptied window in the given formats, keeping the
// view and the old content, as RTF, for one Ctrl+Z.
void TRichEdit::ReplaceWholeContent(TMemoryStream& text, PARAFORMAT paragraph, CHARFORMATW character)
{
    TUpdateLock hold(*this);
    const auto firstLine = static_cast<int>(Perform(EM_GETFIRSTVISIBLELINE));
    auto formatted = std::make_unique<TMemoryStream>();
    StreamOut(*formatted, SF_RTF);
    RecreateEmpty(false);
    Perform(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    Perform(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&character));
    text.SetPosition(0);
    StreamIn(text, SF_TEXT | SF_UNICODE | SFF_SELECTION);
    DefaultProc(EM_EMPTYUNDOBUFFER, 0, 0);
    formatted_ = std::move(formatted);
    Perform(EM_LINESCROLL, 0, firstLine - static_cast<int>(Perform(EM_GETFIRSTVISIBLELINE)));
    TextChanged();
}

bool TRichEdit::UndoWholeTextFormats()
{
    if (!formatted_ || DefaultProc(EM_CANUNDO, 0, 0))
        return false;
    std::unique_ptr<TMemoryStream> formatted = std::move(formatted_);
    TUpdateLock hold(*this);
    const auto firstLine = static_cast<int>(Perform(EM_GETFIRSTVISIBLELINE));
    CHARRANGE selection{0, 0};
    Perform(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    RecreateEmpty(false);
    formatted->SetPosition(0);
    StreamIn(*formatted, SF_RTF);
    DefaultProc(EM_EMPTYUNDOBUFFER, 0, 0);
    Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    Perform(EM_LINESCROLL, 0, firstLine - static_cast<int>(Perform(EM_GETFIRSTVISIBLELINE)));
    TextChanged();
    SelectionChanged();
    return true;
}

// Whether the whole selection has every paragraph attribute of `wanted`.
bool TRichEdit::HasParagraph(const PARAFORMAT& wanted) const
{
    PARAFORMAT current{};
    current.cbSize = sizeof current;
    Perform(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&current));
    DWORD mask = wanted.dwMask;
    return (current.dwMask & mask) == mask &&
           !((mask & PFM_STARTINDENT) && current.dxStartIndent != wanted.dxStartIndent) &&
           !((mask & PFM_OFFSET) && current.dxOffset != wanted.dxOffset) &&
           !((mask & PFM_RIGHTINDENT) && current.dxRightIndent != wanted.dxRightIndent) &&
           !((mask & PFM_ALIGNMENT) && current.wAlignment != wanted.wAlignment) &&
           !((mask & PFM_NUMBERING) && current.wNumbering != wanted.wNumbering);
}

void TRichEdit::SetEditorFont(const TFont& font)
{
    // The window font of a rich edit would reformat all of its text; it is
    // given only while the editor is empty (it then sets the default format
    // that streamed-in text starts from). A held load counts as text.
    const bool empty = TextLength() == 0 && !pending_;
    if (empty)
        SetFont(font);
    else
        StoreFont(font);
    TCharAttributes attributes;
    attributes.mask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    attributes.name = font.Name();
    attributes.size = font.Size();
    attributes.color = font.Color();
    attributes.style = font.Style();
    CHARFORMATW format = ToCharFormat(attributes);
    // Changing the default format of a long text costs much even when nothing changes.
    if (!HasAttributes(format, SCF_DEFAULT))
        Perform(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    // The empty text's paragraph mark takes it too: text loaded at the
    // insertion point comes out in the default format.
    if (empty)
        Perform(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void TRichEdit::SetBackground(TColor color)
{
    SetColor(color);
    Perform(EM_SETBKGNDCOLOR, 0, ColorToRGB(color));
}
