// Page formatting of the rich edit control. A control that formats pages
// itself (EM_FORMATRANGE) does all of it. Wine's control answers that message
// with nothing: there the text is laid out again at the page's width in a
// hidden control of the same class, a page high, scrolled to each page's
// first line and painted into a metafile whose lines of that page are played
// onto the page. The hidden control holds some pages' worth of the text at a
// time: Wine's control walks its text from the start for every question of
// where a line or character is.
#include "ui/RichEdit.h"

#include "ui/GdiObjects.h"
#include "ui/SysUtils.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

const int kTwipsPerInch = 1440;
// A page no text fits on only when the control does not format pages at all.
const int kHugePage = 200 * kTwipsPerInch;
// The characters of the text the hidden control holds at least.
const int kChunk = 32 * 1024;


DWORD CALLBACK CollectRtf(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
    *done = count;
    return 0;
}

struct TRtfSource {
    const std::string& rtf;
    size_t position;
};

DWORD CALLBACK FeedRtf(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* source = reinterpret_cast<TRtfSource*>(cookie);
    size_t length = std::min(static_cast<size_t>(count), source->rtf.size() - source->position);
    std::memcpy(buffer, source->rtf.data() + source->position, length);
    source->position += length;
    *done = static_cast<LONG>(length);
    return 0;
}

// The band of a metafile, in its own units, whose text is played.
struct TBand {
    LONG top, bottom;
};

// Plays a record of the control's painting. Text starting outside the band
// (lines of the pages before and after) is left out; the rest is clipped by
// the page.
// Wine records text whose advances come as x and y pairs with only half of
// the pairs in the metafile; such text is played without advances, spaced by
// the device's own glyph widths (every run starts where the control put it:
// it starts a new run at each change of format).
int CALLBACK PlayRecord(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record, int handles, LPARAM band)
{
    if (record->iType == EMR_EXTTEXTOUTW) {
        const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const auto* lines = reinterpret_cast<const TBand*>(band);
        if (text->emrtext.ptlReference.y < lines->top || text->emrtext.ptlReference.y >= lines->bottom)
            return 1;
        if (text->emrtext.fOptions & ETO_PDY) {
            std::vector<BYTE> copy(reinterpret_cast<const BYTE*>(record),
                                   reinterpret_cast<const BYTE*>(record) + record->nSize);
            auto* spaced = reinterpret_cast<EMREXTTEXTOUTW*>(copy.data());
            spaced->emrtext.fOptions &= ~ETO_PDY;
            spaced->emrtext.offDx = 0;
            PlayEnhMetaFileRecord(dc, table, reinterpret_cast<const ENHMETARECORD*>(copy.data()), handles);
            return 1;
        }
    }
    // A record the device cannot play is left out, as the control leaves
    // out what it cannot draw.
    PlayEnhMetaFileRecord(dc, table, record, handles);
    return 1;
}

// Where the paragraph holding `position` starts: after the line break before it.
int ParagraphStart(TRichEdit& editor, int position)
{
    const int block = 8192;
    for (int to = position; to > 0; to -= block) {
        int from = std::max(0, to - block);
        size_t lineBreak = editor.WideTextRange(from, to).find_last_of(L'\n');
        if (lineBreak != std::wstring::npos)
            return from + static_cast<int>(lineBreak) + 1;
    }
    return 0;
}

// Where the paragraph holding `position` ends: after its line break, or at
// the end of the text.
int ParagraphEnd(TRichEdit& editor, int position, int length)
{
    const int block = 8192;
    for (int from = position; from < length; from += block) {
        size_t lineBreak = editor.WideTextRange(from, std::min(length, from + block)).find(L'\n');
        if (lineBreak != std::wstring::npos)
            return from + static_cast<int>(lineBreak) + 1;
    }
    return length;
}

} // namespace

// Whole paragraphs of the editor's text with their formats in a hidden
// control whose lines are as wide as the page and which shows a page's
// height. Positions are the editor's; the control's are relative to the
// first character it holds.
class TPageBands {
public:
    TPageBands(TRichEdit& editor, const RECT& page);
    bool FitsPage(const RECT& page) const { return EqualRect(&page, &page_) != FALSE; }
    int Format(HDC dc, int start, int end, bool render);

private:
    // The paragraphs from the one holding `position` on, at least `size_`
    // characters of them.
    void Load(int position);
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageW(window_, message, wParam, lParam);
    }
    int LineOf(int position) const
    {
        return static_cast<int>(Send(EM_EXLINEFROMCHAR, 0, position - from_));
    }
    // In the editor's positions; the end of what the control holds for the
    // lines after it.
    int LineStart(int line) const;
    // In the control's positions.
    int LocalLineStart(int line) const;
    // Pixels from the top of the window (the control's scroll positions are
    // not read back: Wine scales them down for long texts).
    int LineTop(int line) const;
    // Plays the lines of the band of the window onto the page.
    void Draw(HDC dc, const TBand& band) const;

    TRichEdit& editor_;
    RECT page_;        // twips
    TWindowDC screen_; // the device the control lays the text out for
    int dpiX_, dpiY_;
    int width_, height_; // of the page, in pixels of the screen
    int length_;         // of the editor's text
    int size_ = kChunk;
    int from_ = 0, to_ = 0; // the editor's characters the control holds
    int scroll_ = 0;        // how far the control is scrolled, in pixels
    TOwnedWindow window_;
};

TPageBands::TPageBands(TRichEdit& editor, const RECT& page)
    : editor_(editor), page_(page), dpiX_(GetDeviceCaps(screen_, LOGPIXELSX)),
      dpiY_(GetDeviceCaps(screen_, LOGPIXELSY)), width_((page.right - page.left) * dpiX_ / kTwipsPerInch),
      height_((page.bottom - page.top) * dpiY_ / kTwipsPerInch), length_(editor.TextLength())
{
}

void TPageBands::Load(int position)
{
    from_ = ParagraphStart(editor_, position);
    to_ = ParagraphEnd(editor_, std::min(length_, std::max(position, from_ + size_)), length_);

    // The rich text of those paragraphs, through the editor's selection,
    // which is given back unchanged.
    std::string rtf;
    {
        editor_.BeginUpdate();
        CHARRANGE kept{0, 0}, part{from_, to_};
        editor_.Perform(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
        editor_.Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&part));
        EDITSTREAM out{reinterpret_cast<DWORD_PTR>(&rtf), 0, CollectRtf};
        editor_.Perform(EM_STREAMOUT, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&out));
        editor_.Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
        editor_.EndUpdate();
        if (out.dwError != 0)
            throw EOutOfResources("Cannot lay the pages out");
    }

    window_.Reset(CreateWindowExW(0, L"RICHEDIT", L"", WS_POPUP | ES_MULTILINE, 0, 0, width_, height_, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!window_)
        throw EOutOfResources("Cannot lay the pages out");
    scroll_ = 0;
    // Its lines as wide as the page, inner margins aside; sized before it
    // holds any text, which every change of size lays out again.
    RECT client, format;
    GetClientRect(window_, &client);
    Send(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    SetWindowPos(window_, nullptr, 0, 0, width_ + (client.right - client.left) - (format.right - format.left),
                 height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Send(EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
    Send(EM_EXLIMITTEXT, 0, editor_.Perform(EM_GETLIMITTEXT));

    // The editor's default format first: the copy's text takes it where the
    // rich text does not say otherwise.
    CHARFORMATW defaultFormat;
    std::memset(&defaultFormat, 0, sizeof defaultFormat);
    defaultFormat.cbSize = sizeof defaultFormat;
    defaultFormat.dwMask = CFM_ALL;
    editor_.Perform(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&defaultFormat));
    Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&defaultFormat));
    TRtfSource source{rtf, 0};
    EDITSTREAM in{reinterpret_cast<DWORD_PTR>(&source), 0, FeedRtf};
    Send(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&in));
    if (in.dwError != 0)
        throw EOutOfResources("Cannot lay the pages out");
    // One more paragraph, so that every line of the text has one below it.
    Send(EM_SETSEL, INT_MAX, INT_MAX);
    Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"\r\n"));
}

int TPageBands::LineStart(int line) const
{
    return std::min(to_, from_ + LocalLineStart(line));
}

int TPageBands::LocalLineStart(int line) const
{
    LRESULT start = Send(EM_LINEINDEX, static_cast<WPARAM>(line));
    if (start >= 0)
        return static_cast<int>(start);
    GETTEXTLENGTHEX request{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<int>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request)));
}

int TPageBands::LineTop(int line) const
{
    POINTL place{0, 0};
    Send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&place), LocalLineStart(line));
    return place.y;
}

int TPageBands::Format(HDC dc, int start, int end, bool render)
{
    if (!window_ || start < from_ || start >= to_)
        Load(start);
    for (;;) {
        // The page's first line at the top of the window, or as near as the
        // control scrolls at the end of what it holds.
        int first = LineOf(start);
        POINT scroll{0, LineTop(first) + scroll_};
        Send(EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
        const int top = LineTop(first);
        scroll_ = scroll.y - top;

        // The line at the page's bottom edge fits when it ends there; none
        // from the one holding `end` on.
        POINTL edge{0, top + height_ - 1};
        int line = LineOf(from_ + static_cast<int>(Send(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&edge))));
        if (LineStart(line) >= to_ && to_ < length_) {
            // The page goes on past what the control holds: more of the text
            // from the page's paragraph on.
            if (ParagraphStart(editor_, start) == from_)
                size_ *= 2;
            Load(start);
            continue;
        }
        if (LineTop(line + 1) - top <= height_)
            ++line;
        int last = end < 0 || end > length_ ? length_ : end;
        line = std::min(line, LineOf(std::max(last - 1, start)) + 1);
        if (line <= first)
            return start;
        if (render)
            Draw(dc, TBand{top, LineTop(line)});
        return std::min(LineStart(line), length_);
    }
}

void TPageBands::Draw(HDC dc, const TBand& band) const
{
    // The metafile's frame, in 0.01 mm of the screen, is the band of the
    // page's lines from the left edge of the formatting area: it maps onto
    // the page.
    RECT format;
    Send(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    int mmX = GetDeviceCaps(screen_, HORZSIZE) * 100, pixelsX = GetDeviceCaps(screen_, HORZRES);
    int mmY = GetDeviceCaps(screen_, VERTSIZE) * 100, pixelsY = GetDeviceCaps(screen_, VERTRES);
    RECT frame{MulDiv(format.left, mmX, pixelsX), MulDiv(band.top, mmY, pixelsY),
               MulDiv(format.left + width_, mmX, pixelsX), MulDiv(band.bottom, mmY, pixelsY)};
    TMetafileDC recorder(screen_, &frame);
    Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(recorder.Get()), PRF_CLIENT);
    TOwnedEnhMetaFile painted = recorder.Close();

    int pageDpiX = GetDeviceCaps(dc, LOGPIXELSX), pageDpiY = GetDeviceCaps(dc, LOGPIXELSY);
    RECT target;
    target.left = page_.left * pageDpiX / kTwipsPerInch;
    target.top = page_.top * pageDpiY / kTwipsPerInch;
    target.right = target.left + MulDiv(width_, pageDpiX, dpiX_);
    target.bottom = target.top + MulDiv(band.bottom - band.top, pageDpiY, dpiY_);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, target.left, target.top, target.right, target.bottom);
    TBand lines = band;
    bool played = painted && EnumEnhMetaFile(dc, painted, PlayRecord, &lines, &target);
    RestoreDC(dc, saved);
    if (!played)
        throw EOutOfResources("Cannot draw the page");
}

void TPageBandsDeleter::operator()(TPageBands* bands) const { delete bands; }

int TRichEdit::FormatRange(HDC dc, const RECT& page, int start, int end, bool render)
{
    if (!bands_) {
        FORMATRANGE range{};
        range.hdc = range.hdcTarget = dc;
        range.rc = range.rcPage = page;
        range.chrg = CHARRANGE{start, end};
        int next = static_cast<int>(Perform(EM_FORMATRANGE, render, reinterpret_cast<LPARAM>(&range)));
        if (next > start || start >= TextLength())
            return next;
        // Nothing fitted: a line or object taller than the page, or a control
        // that formats nothing even on a page two hundred inches square.
        range.rc = range.rcPage = RECT{0, 0, kHugePage, kHugePage};
        range.chrg = CHARRANGE{start, -1};
        if (Perform(EM_FORMATRANGE, FALSE, reinterpret_cast<LPARAM>(&range)) > start)
            return next;
    }
    if (!bands_ || !bands_->FitsPage(page))
        bands_.reset(new TPageBands(*this, page));
    return bands_->Format(dc, start, end, render);
}

void TRichEdit::EndFormatRange()
{
    Perform(EM_FORMATRANGE, FALSE, 0);
    bands_.reset();
}
