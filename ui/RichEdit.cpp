#include "ui/RichEdit.h"

#include "ui/Application.h"
#include "ui/Clipboard.h"
#include "ui/RtfCheck.h"
#include "ui/SysUtils.h"
#include "ui/TextEncoding.h"
#include "ui/WideText.h"

#include <psapi.h>

#include <algorithm>
#include <cstring>

namespace {

void LoadRichEditLibrary()
{
    static HMODULE library = LoadLibraryW(L"riched32.dll");
    (void)library;
}

struct StreamCookie {
    TStream* stream;
    bool failed = false;
    bool outOfRoom = false;
    int64_t total = 0; // bytes to read, when known
    int64_t read = 0;
    int64_t sinceCheck = 0;
    uint64_t usageAtStart = 0;
    // A UTF-16 stream must be handed whole characters' bytes: an odd count
    // corrupts the text.
    bool evenCounts = false;
};

// The control can take many times the text's size in memory (Wine's takes
// some 80 bytes a character, three quarters of it laying the text out after
// the last read). A load whose memory, extrapolated from what the read part
// took, would not fit stops early, instead of ending the program when an
// allocation fails.
const int64_t kRoomCheckInterval = 1 << 20;
const uint64_t kLayoutShare = 5;            // the whole load takes up to this many times the reading's memory
const uint64_t kReserve = 256ull << 20;     // and the program needs room to go on afterwards
// Text inserted into the control (a paste) takes about 115 bytes a character
// on Wine's, laid out and with its undo record.
const uint64_t kBytesPerInsertedCharacter = 128;

uint64_t MemoryInUse()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) ? counters.PagefileUsage : 0;
}

// Whether `bytes` more fit in the memory the process has left, with room to go on.
bool MemoryLeftFor(uint64_t bytes)
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return true;
    uint64_t needed = bytes + kReserve;
    return needed < status.ullAvailVirtual && needed < status.ullAvailPageFile;
}

bool RoomFor(const StreamCookie& state)
{
    uint64_t used = MemoryInUse();
    if (state.total <= 0 || state.read <= 0 || used <= state.usageAtStart)
        return true;
    uint64_t perByte = (used - state.usageAtStart) / static_cast<uint64_t>(state.read) + 1;
    return MemoryLeftFor(perByte * static_cast<uint64_t>(state.total - state.read) * kLayoutShare);
}

DWORD CALLBACK ReadCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* state = reinterpret_cast<StreamCookie*>(cookie);
    try {
        if (state->sinceCheck >= kRoomCheckInterval) {
            state->sinceCheck = 0;
            if (!RoomFor(*state)) {
                state->outOfRoom = state->failed = true;
                *done = 0;
                return 1;
            }
        }
        if (state->evenCounts)
            count &= ~1;
        *done = static_cast<LONG>(state->stream->Read(buffer, static_cast<size_t>(count)));
        state->read += *done;
        state->sinceCheck += *done;
        return 0;
    } catch (...) {
        state->failed = true;
        *done = 0;
        return 1;
    }
}

// Whether `message` would paste the clipboard's rich text (a paste, a paste
// of that format, the control's own Ctrl+V) and that text fails the check.
bool PastesUnsafeRichText(UINT message, WPARAM wParam)
{
    const bool rich =
        message == WM_PASTE || (message == EM_PASTESPECIAL && (wParam == 0 || wParam == RichTextClipboardFormat())) ||
        (message == WM_KEYDOWN && wParam == 'V' && (ShiftStateFromKeys() & (ssCtrl | ssShift | ssAlt)) == ssCtrl);
    return rich && !ClipboardRtfLooksSafe();
}

DWORD CALLBACK WriteCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* state = reinterpret_cast<StreamCookie*>(cookie);
    try {
        state->stream->WriteBuffer(buffer, static_cast<size_t>(count));
        *done = count;
        return 0;
    } catch (...) {
        state->failed = true;
        *done = 0;
        return 1;
    }
}

} // namespace

TRichEdit::TRichEdit(TControl* parent, int left, int top, int width, int height, TRichEditOptions options)
    : TControl(parent), wordWrap_(options.wordWrap)
{
    LoadRichEditLibrary();
    SetColor(clWhite);
    CreateHandle("RICHEDIT",
                 WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | ES_WANTRETURN |
                     ES_DISABLENOSCROLL | ES_SAVESEL | (wordWrap_ ? 0 : WS_HSCROLL | ES_AUTOHSCROLL),
                 0, left, top, width, height);
    if (!wordWrap_)
        Perform(EM_SETTARGETDEVICE, 0, 1);
    Perform(EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
    SetBackground(clWhite);
}

int TRichEdit::SelStart() const
{
    CHARRANGE range{0, 0};
    Perform(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMin;
}

int TRichEdit::SelLength() const
{
    CHARRANGE range{0, 0};
    Perform(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMax - range.cpMin;
}

void TRichEdit::Select(int start, int length)
{
    CHARRANGE range{start, start + length};
    Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void TRichEdit::SetSelStart(int start) { Select(start, 0); }

void TRichEdit::SetSelLength(int length) { Select(SelStart(), length); }

std::wstring TRichEdit::GetText(DWORD which) const
{
    const int length = which == GT_SELECTION ? SelLength() : TextLength();
    std::wstring text(static_cast<size_t>(std::max(0, length)) + 1, L'\0');
    GETTEXTEX request{};
    request.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    request.flags = which;
    request.codepage = 1200; // UTF-16
    LRESULT got = Perform(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
    return text;
}

std::wstring TRichEdit::WideText() const { return GetText(GT_DEFAULT); }
std::string TRichEdit::Text() const { return ToUtf8(WideText()); }
std::wstring TRichEdit::WideSelText() const { return GetText(GT_SELECTION); }
std::string TRichEdit::SelText() const { return ToUtf8(WideSelText()); }

void TRichEdit::SetWideSelText(const std::wstring& text)
{
    // As a typed text: the selection's format, and one step of undo.
    SETTEXTEX request{ST_SELECTION | ST_KEEPUNDO, 1200};
    Perform(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(text.c_str()));
}

void TRichEdit::SetSelText(const std::string& text) { SetWideSelText(ToWide(text)); }

void TRichEdit::SetText(const std::string& text)
{
    SETTEXTEX request{ST_DEFAULT, 1200};
    const std::wstring wide = ToWide(text);
    Perform(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(wide.c_str()));
}

std::wstring TRichEdit::WideTextRange(int from, int to)
{
    if (to <= from)
        return std::wstring();
    CHARRANGE kept{0, 0}, part{from, to};
    BeginUpdate();
    Perform(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&part));
    std::wstring text = GetText(GT_SELECTION);
    Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    EndUpdate();
    return text;
}

void TRichEdit::SelectAll() { Select(0, -1); }
void TRichEdit::ClearSelection() { Perform(WM_CLEAR); }
void TRichEdit::Clear()
{
    pending_.reset();
    formatted_.reset();
    if (TextLength() == 0) {
        SetWindowTextW(Handle(), L"");
        return;
    }
    RecreateEmpty(true);
    TextChanged();
    SelectionChanged();
}

void TRichEdit::RecreateEmpty(bool keepTypingFormat)
{
    HWND old = Handle();
    DWORD style = static_cast<DWORD>(GetWindowLongW(old, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongW(old, GWL_EXSTYLE));
    RECT place;
    GetWindowRect(old, &place);
    MapWindowPoints(nullptr, GetParent(old), reinterpret_cast<POINT*>(&place), 2);
    HWND above = GetWindow(old, GW_HWNDPREV);
    bool focused = GetFocus() == old;
    bool readOnly = ReadOnly();
    LRESULT events = Perform(EM_GETEVENTMASK);
    LRESULT limit = Perform(EM_GETLIMITTEXT);
    CHARFORMATW defaultFormat = EmptyCharFormat();
    defaultFormat.dwMask = CFM_ALL;
    Perform(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&defaultFormat));
    CHARFORMATW typingFormat = EmptyCharFormat();
    if (keepTypingFormat) {
        int end = TextLength();
        Select(end, end);
        typingFormat.dwMask = CFM_ALL;
        Perform(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&typingFormat));
    }

    // No notification may reach the old window while it goes.
    Perform(EM_SETEVENTMASK, 0, 0);
    DestroyWindow(old);
    CreateHandle("RICHEDIT", style, exStyle, 0, 0, 0, 0);
    SetBoundsInPixels(place.left, place.top, place.right - place.left, place.bottom - place.top);
    if (!wordWrap_)
        Perform(EM_SETTARGETDEVICE, 0, 1);
    Perform(EM_EXLIMITTEXT, 0, limit);
    Perform(EM_SETBKGNDCOLOR, 0, ColorToRGB(Color()));
    Perform(EM_SETREADONLY, readOnly);
    Perform(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&defaultFormat));
    Perform(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&defaultFormat));
    if (keepTypingFormat)
        Perform(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&typingFormat));
    Perform(EM_SETEVENTMASK, 0, events);
    if (updating_ > 0)
        Perform(WM_SETREDRAW, FALSE);
    SetWindowPos(Handle(), above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!Hint().empty())
        SetHint(Hint());
    if (focused)
        ::SetFocus(Handle());
}
int TRichEdit::TextLength() const
{
    GETTEXTLENGTHEX request{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<int>(Perform(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request)));
}

bool TRichEdit::RoomForText(uint64_t characters) const
{
    return MemoryLeftFor(characters * kBytesPerInsertedCharacter);
}

void TRichEdit::CutToClipboard() { Perform(WM_CUT); }
void TRichEdit::CopyToClipboard() { Perform(WM_COPY); }

// Wine's own copy builds its rich text in a buffer that it enlarges for every
// piece written, in time that grows with the square of the text: a copy of
// 1 MB takes 17 s, one of 10 MB does not end within the hour. The selection
// goes to the clipboard through streams instead, as rich text and as plain
// text, for every copy and cut the control is asked for or its keys make.
void TRichEdit::CopySelection()
{
    // The end of the last paragraph, which a selection of everything takes
    // in, is not copied.
    CHARRANGE selection{0, 0};
    Perform(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    CHARRANGE copied{selection.cpMin, std::min<LONG>(selection.cpMax, TextLength())};
    if (copied.cpMax <= copied.cpMin)
        return;
    TMemoryStream rich, plain;
    {
        // The selection comes back whatever happens.
        struct KeptSelection {
            TRichEdit& editor;
            CHARRANGE range;
            ~KeptSelection()
            {
                editor.Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
                editor.EndUpdate();
            }
        } kept{*this, selection};
        BeginUpdate();
        Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&copied));
        StreamOut(rich, SF_RTF | SFF_SELECTION);
        StreamOut(plain, SF_TEXT | SF_UNICODE | SFF_SELECTION);
    }
    const std::string ansi =
        ToAnsi(std::wstring(reinterpret_cast<const wchar_t*>(plain.Memory()), plain.DataSize() / sizeof(wchar_t)));
    PutOnClipboard(Handle(), {{CF_UNICODETEXT, plain.Memory(), plain.DataSize()},
                              {CF_TEXT, ansi.data(), ansi.size()},
                              {RichTextClipboardFormat(), rich.Memory(), rich.DataSize()}});
}
LRESULT TRichEdit::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Ctrl+Z after the formats of the whole text were replaced (see
    // SetWholeTextFormats), once the control has nothing left to undo.
    if (formatted_) {
        const bool undoKey = message == WM_KEYDOWN && wParam == 'Z' && (ShiftStateFromKeys() & ssCtrl);
        if ((message == EM_UNDO || message == WM_UNDO || undoKey) && UndoWholeTextFormats())
            return TRUE;
        if (message == EM_CANUNDO)
            return TRUE;
        if (message == EM_EMPTYUNDOBUFFER)
            formatted_.reset();
    }
    if ((message == WM_CHAR || message == WM_IME_CHAR) && wParam >= 0x80) {
        // The control's class is an ANSI one: the system would hand it the
        // character in the ANSI code page, "?" where that has none. It takes
        // the whole character as WM_UNICHAR, halves of a pair joined first.
        const auto unit = static_cast<wchar_t>(wParam);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            highSurrogate_ = unit;
            return 0;
        }
        UINT code = unit;
        if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate_)
            code = 0x10000 + ((highSurrogate_ - 0xD800u) << 10) + (unit - 0xDC00u);
        highSurrogate_ = 0;
        return TControl::WndProc(WM_UNICHAR, code, lParam);
    }
    if (message == WM_KEYDOWN) {
        // The control's own keys for copy and cut come here as messages.
        TShiftState shift = ShiftStateFromKeys() & (ssCtrl | ssShift | ssAlt);
        if (wParam == VK_INSERT && shift == ssCtrl)
            message = WM_COPY;
        else if (wParam == VK_DELETE && shift == ssShift)
            message = WM_CUT;
    }
    // Rich text the control could not read safely is pasted as plain text.
    if (PastesUnsafeRichText(message, wParam))
        return TControl::WndProc(EM_PASTESPECIAL, CF_UNICODETEXT, 0);
    if (message != WM_COPY && message != WM_CUT) {
        if (!CountLayouts)
            return TControl::WndProc(message, wParam, lParam);
        const bool formatChange = ChangesLayout(message, wParam, lParam);
        LRESULT result = TControl::WndProc(message, wParam, lParam);
        CountLayout(message, formatChange);
        return result;
    }
    if (message == WM_CUT && ReadOnly())
        return 0;
    CopySelection();
    if (message == WM_CUT)
        ClearSelection();
    return 0;
}

bool TRichEdit::CountLayouts = false;

bool TRichEdit::ChangesLayout(UINT message, WPARAM wParam, LPARAM lParam) const
{
    // A format change lays out what it changes: count those over the whole text.
    if ((message != EM_SETPARAFORMAT && message != EM_SETCHARFORMAT && message != WM_SETFONT) || TextLength() == 0)
        return false;
    const bool whole = SelLength() >= TextLength();
    if (message == EM_SETPARAFORMAT)
        return whole && !HasParagraph(*reinterpret_cast<const PARAFORMAT*>(lParam));
    if (message == EM_SETCHARFORMAT)
        return wParam == SCF_ALL || ((wParam == SCF_DEFAULT || (wParam == SCF_SELECTION && whole)) &&
                                     !HasAttributes(*reinterpret_cast<const CHARFORMATW*>(lParam), wParam));
    return true; // a new window font
}

void TRichEdit::CountLayout(UINT message, bool formatChange)
{
    if (message == WM_WINDOWPOSCHANGED) {
        RECT client;
        GetClientRect(Handle(), &client);
        SIZE size{client.right, client.bottom};
        if ((size.cx != countedSize_.cx || size.cy != countedSize_.cy) && TextLength() > 0)
            ++Layouts;
        countedSize_ = size;
    } else if (formatChange || (message == EM_STREAMIN && TextLength() > 0)) {
        ++Layouts;
    }
}

void TRichEdit::PasteFromClipboard() { Perform(WM_PASTE); }
void TRichEdit::Undo() { Perform(EM_UNDO); }
void TRichEdit::ScrollCaret() { Perform(EM_SCROLLCARET); }

bool TRichEdit::ReadOnly() const { return (GetWindowLongW(Handle(), GWL_STYLE) & ES_READONLY) != 0; }
void TRichEdit::SetReadOnly(bool readOnly) { Perform(EM_SETREADONLY, readOnly); }
void TRichEdit::SetMaxLength(int length) { Perform(EM_EXLIMITTEXT, 0, length); }

int TRichEdit::LineCount() const
{
    int count = static_cast<int>(Perform(EM_GETLINECOUNT));
    if (count > 0 && Perform(EM_LINELENGTH, Perform(EM_LINEINDEX, count - 1)) == 0)
        --count;
    return count;
}

std::string TRichEdit::Line(int index)
{
    LRESULT start = Perform(EM_LINEINDEX, index);
    if (start < 0)
        return std::string();
    LRESULT length = Perform(EM_LINELENGTH, start);
    std::wstring text = WideTextRange(static_cast<int>(start), static_cast<int>(start + length));
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n'))
        text.pop_back();
    return ToUtf8(text);
}

std::vector<std::string> TRichEdit::Paragraphs() const
{
    TStringList lines;
    lines.SetText(Text());
    return lines.Items();
}

TRichEdit::TStreamResult TRichEdit::StreamIn(TStream& stream, UINT format)
{
    // Rich text that would harm the control counts as unreadable.
    if ((format & SF_RTF) && !RtfStreamLooksSafe(stream))
        return TStreamResult::Failed;
    StreamCookie cookie{&stream};
    cookie.total = stream.Size() - stream.Position();
    cookie.usageAtStart = MemoryInUse();
    cookie.evenCounts = (format & SF_UNICODE) != 0;
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&cookie);
    es.pfnCallback = ReadCallback;
    Perform(EM_STREAMIN, format, reinterpret_cast<LPARAM>(&es));
    return cookie.outOfRoom ? TStreamResult::OutOfRoom
         : es.dwError == 0 && !cookie.failed ? TStreamResult::Read
                                             : TStreamResult::Failed;
}

TRichEdit::TStreamResult TRichEdit::StreamInText(TStream& stream, UINT flags, TTextFormat& format)
{
    // The file's bytes and their characters are held at once before the
    // control takes them; the control's own needs are checked as it reads.
    const int64_t size = std::max<int64_t>(0, stream.Size() - stream.Position());
    if (!MemoryLeftFor(static_cast<uint64_t>(size) * 3))
        return TStreamResult::OutOfRoom;
    std::string bytes(static_cast<size_t>(size), '\0');
    try {
        bytes.resize(stream.Read(&bytes[0], bytes.size()));
    } catch (const std::exception&) {
        return TStreamResult::Failed;
    }
    format = DetectTextFormat(bytes.data(), bytes.size());
    const std::wstring text = DecodeText(bytes.data(), bytes.size(), format);
    TMemoryStream units;
    units.WriteBuffer(text.data(), text.size() * sizeof(wchar_t));
    units.SetPosition(0);
    return StreamIn(units, SF_TEXT | SF_UNICODE | flags);
}

std::optional<TTextFormat> TRichEdit::LoadFromStream(TStream& stream)
{
    pending_.reset();
    formatted_.reset();
    int64_t start = stream.Position();
    BeginUpdate();
    // The control removes old text slowly; an empty window takes its place.
    if (TextLength() > 0)
        RecreateEmpty(false);
    // Plain text goes in at the insertion point and takes its formats, so that
    // a caller who formatted the empty text need not format the loaded text again.
    std::optional<TTextFormat> format;
    TTextFormat read;
    TStreamResult result = PlainText ? StreamInText(stream, SFF_SELECTION, read) : StreamIn(stream, SF_RTF);
    if (result == TStreamResult::Failed && !PlainText) {
        stream.SetPosition(start);
        result = StreamInText(stream, 0, read);
        format = read;
    } else if (PlainText) {
        format = read;
    }
    // A text too big to hold is not left half loaded, to be saved over a file.
    if (result == TStreamResult::OutOfRoom)
        RecreateEmpty(false);
    // As after any load, the caret stands at the start, in new text: the
    // selection counts as changed even where the caret stood there before.
    Select(0, 0);
    SelectionChanged();
    EndUpdate();
    if (result != TStreamResult::Read)
        throw EOutOfResources("Failed to Load Stream");
    return format;
}

void TRichEdit::LoadLater(TStream& stream)
{
    if (TextLength() > 0)
        Clear();
    auto text = std::make_unique<TMemoryStream>();
    text->CopyFrom(stream, stream.Size() - stream.Position());
    text->SetPosition(0);
    pendingPlainText_ = PlainText;
    pendingDefault_ = EmptyCharFormat();
    pendingDefault_.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    Perform(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&pendingDefault_));
    pending_ = std::move(text);
}

std::optional<TTextFormat> TRichEdit::LoadPendingText()
{
    if (!pending_)
        return std::nullopt;
    std::unique_ptr<TMemoryStream> text = std::move(pending_);
    // Rich text is read as it would have been then, from the default format
    // the editor had. Text that is not rich goes in as plain text whatever it
    // was chosen as, and in plain mode at the insertion point, taking the
    // formats the empty text was given meanwhile.
    const bool plain = PlainText;
    const bool rich = !pendingPlainText_ && text->DataSize() > 0 && text->Memory()[0] == '{';
    PlainText = !rich && (pendingPlainText_ || plain);
    CHARFORMATW now = EmptyCharFormat();
    now.dwMask = pendingDefault_.dwMask;
    Perform(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&now));
    const bool swap = rich && !HasAttributes(pendingDefault_, SCF_DEFAULT);
    if (swap)
        Perform(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&pendingDefault_));
    std::optional<TTextFormat> format;
    try {
        format = LoadFromStream(*text);
    } catch (...) {
        PlainText = plain;
        if (swap)
            Perform(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&now));
        throw;
    }
    PlainText = plain;
    if (swap)
        Perform(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&now));
    return format;
}

std::optional<TTextFormat> TRichEdit::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead);
    return LoadFromStream(file);
}

TTextFormat TRichEdit::SaveToStream(TStream& stream, const TTextFormat& format, bool orUtf8)
{
    if (!PlainText) {
        StreamOut(stream, SF_RTF);
        return format;
    }
    TMemoryStream units;
    StreamOut(units, SF_TEXT | SF_UNICODE);
    std::wstring text(reinterpret_cast<const wchar_t*>(units.Memory()), units.DataSize() / sizeof(wchar_t));
    units.Clear();
    TTextFormat written = format;
    bool exact = true;
    std::string bytes = EncodeText(text, written, orUtf8 ? &exact : nullptr);
    if (!exact) {
        written.encoding = TEncoding::Utf8;
        written.bom = true;
        bytes = EncodeText(std::move(text), written);
    }
    try {
        stream.WriteBuffer(bytes.data(), bytes.size());
    } catch (const EStreamError&) {
        throw EOutOfResources("Failed to Save Stream");
    }
    return written;
}

void TRichEdit::StreamOut(TStream& stream, UINT format) const
{
    StreamCookie cookie{&stream};
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&cookie);
    es.pfnCallback = WriteCallback;
    Perform(EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&es));
    if (es.dwError != 0 || cookie.failed)
        throw EOutOfResources("Failed to Save Stream");
}

void TRichEdit::BeginUpdate()
{
    if (updating_++ == 0)
        Perform(WM_SETREDRAW, FALSE);
}

void TRichEdit::EndUpdate()
{
    if (--updating_ == 0) {
        Perform(WM_SETREDRAW, TRUE);
        InvalidateRect(Handle(), nullptr, TRUE);
        if (textChanged_) {
            textChanged_ = false;
            FireEvent(OnChange, this);
        }
        if (selectionChanged_) {
            selectionChanged_ = false;
            FireEvent(OnSelectionChange, this);
        }
    }
}

void TRichEdit::SelectionChanged()
{
    if (updating_ > 0)
        selectionChanged_ = true;
    else
        FireEvent(OnSelectionChange, this);
}

void TRichEdit::TextChanged()
{
    if (updating_ > 0)
        textChanged_ = true;
    else
        FireEvent(OnChange, this);
}

bool TRichEdit::HandleCommand(WPARAM wParam, LRESULT& result)
{
    if (HIWORD(wParam) == EN_CHANGE) {
        TextChanged();
        result = 0;
        return true;
    }
    return false;
}

bool TRichEdit::HandleNotify(NMHDR* header, LRESULT& result)
{
    if (header->code == EN_SELCHANGE) {
        SelectionChanged();
        result = 0;
        return true;
    }
    return false;
}
