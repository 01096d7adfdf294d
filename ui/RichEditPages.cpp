// Page formatting of the rich edit control. A control that formats pages
// itself (EM_FORMATRANGE) does all of it. Wine's control answers that message
// with nothing: there the text is laid out again at the page's width in a
// hidden control of the same class, which paints the lines of each page into
// a metafile that is played onto the page.
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

struct TDestroyWindow {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using TOwnedWindow = TOwnedHandle<HWND, TDestroyWindow>;

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

// Wine records text whose advances come as x and y pairs with only half of
// the pairs in the metafile; such text is played without advances, spaced by
// the device's own glyph widths (every run starts where the control put it:
// it starts a new run at each change of format).
int CALLBACK PlayRecord(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record, int handles, LPARAM)
{
    const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    if (record->iType == EMR_EXTTEXTOUTW && (text->emrtext.fOptions & ETO_PDY)) {
        std::vector<BYTE> copy(reinterpret_cast<const BYTE*>(record), reinterpret_cast<const BYTE*>(record) + record->nSize);
        auto* spaced = reinterpret_cast<EMREXTTEXTOUTW*>(copy.data());
        spaced->emrtext.fOptions &= ~ETO_PDY;
        spaced->emrtext.offDx = 0;
        PlayEnhMetaFileRecord(dc, table, reinterpret_cast<const ENHMETARECORD*>(copy.data()), handles);
    } else {
        PlayEnhMetaFileRecord(dc, table, record, handles);
    }
    // A record the device cannot play is left out, as the control leaves
    // out what it cannot draw.
    return 1;
}

} // namespace

// The editor's text and formats in a hidden control whose lines are as wide
// as the page; positions in it are those of the editor.
class TPageBands {
public:
    TPageBands(const TRichEdit& editor, int pageWidth);
    int Format(HDC dc, const RECT& page, int start, int end, bool render) const;

private:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageA(window_, message, wParam, lParam);
    }
    int LineStart(int line) const;
    // Pixels from the top of the text.
    int LineTop(int line) const;
    void Draw(HDC dc, const RECT& page, int top, int bottom) const;

    TWindowDC screen_; // the device the control lays the text out for
    int dpiX_, dpiY_;
    int width_;        // of the page, in pixels of the screen
    int windowWidth_;  // with the control's inner margins
    int length_;       // of the editor's text
    TOwnedWindow window_;
};

TPageBands::TPageBands(const TRichEdit& editor, int pageWidth)
    : dpiX_(GetDeviceCaps(screen_, LOGPIXELSX)), dpiY_(GetDeviceCaps(screen_, LOGPIXELSY)),
      width_(pageWidth * dpiX_ / kTwipsPerInch), windowWidth_(width_), length_(editor.TextLength()),
      window_(CreateWindowExA(0, "RICHEDIT", "", WS_POPUP | ES_MULTILINE, 0, 0, width_, 1, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr))
{
    if (!window_)
        throw EOutOfResources("Cannot lay the pages out");
    RECT client, format;
    GetClientRect(window_, &client);
    Send(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    windowWidth_ = width_ + (client.right - client.left) - (format.right - format.left);
    SetWindowPos(window_, nullptr, 0, 0, windowWidth_, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Send(EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
    Send(EM_EXLIMITTEXT, 0, editor.Perform(EM_GETLIMITTEXT));

    // The editor's default format first: the copy's text takes it where the
    // rich text does not say otherwise.
    CHARFORMATA defaultFormat;
    std::memset(&defaultFormat, 0, sizeof defaultFormat);
    defaultFormat.cbSize = sizeof defaultFormat;
    defaultFormat.dwMask = CFM_ALL;
    editor.Perform(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&defaultFormat));
    Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&defaultFormat));

    std::string rtf;
    EDITSTREAM out{reinterpret_cast<DWORD_PTR>(&rtf), 0, CollectRtf};
    editor.Perform(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&out));
    TRtfSource source{rtf, 0};
    EDITSTREAM in{reinterpret_cast<DWORD_PTR>(&source), 0, FeedRtf};
    Send(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&in));
    if (out.dwError != 0 || in.dwError != 0)
        throw EOutOfResources("Cannot lay the pages out");
    // One more paragraph, so that every line of the text has one below it.
    Send(EM_SETSEL, INT_MAX, INT_MAX);
    Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("\r\n"));
}

int TPageBands::LineStart(int line) const
{
    LRESULT start = Send(EM_LINEINDEX, static_cast<WPARAM>(line));
    return start < 0 ? INT_MAX : static_cast<int>(start);
}

int TPageBands::LineTop(int line) const
{
    POINTL place{0, 0};
    Send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&place), LineStart(line));
    POINT scroll{0, 0};
    Send(EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    return place.y + scroll.y;
}

int TPageBands::Format(HDC dc, const RECT& page, int start, int end, bool render) const
{
    int last = end < 0 || end > length_ ? length_ : end;
    int room = (page.bottom - page.top) * dpiY_ / kTwipsPerInch;
    int first = static_cast<int>(Send(EM_EXLINEFROMCHAR, 0, start));
    int top = LineTop(first);
    int line = first;
    while (LineStart(line) < last && LineTop(line + 1) - top <= room)
        ++line;
    if (line == first)
        return start;
    if (render)
        Draw(dc, page, top, LineTop(line));
    return std::min(LineStart(line), length_);
}

void TPageBands::Draw(HDC dc, const RECT& page, int top, int bottom) const
{
    // The window shows the lines of the page and nothing of the next line.
    SetWindowPos(window_, nullptr, 0, 0, windowWidth_, bottom - top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    POINT scroll{0, top};
    Send(EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    Send(EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    if (scroll.y != top)
        throw EOutOfResources("Cannot lay the pages out");

    // The metafile's frame, in 0.01 mm of the screen, is the band of the
    // lines from the left edge of the formatting area: it maps onto the page.
    RECT format;
    Send(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    int mmX = GetDeviceCaps(screen_, HORZSIZE) * 100, pixelsX = GetDeviceCaps(screen_, HORZRES);
    int mmY = GetDeviceCaps(screen_, VERTSIZE) * 100, pixelsY = GetDeviceCaps(screen_, VERTRES);
    RECT frame{MulDiv(format.left, mmX, pixelsX), 0, MulDiv(format.left + width_, mmX, pixelsX),
               MulDiv(bottom - top, mmY, pixelsY)};
    TMetafileDC recorder(screen_, &frame);
    Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(recorder.Get()), PRF_CLIENT);
    TOwnedMetafile band = recorder.Close();

    int pageDpiX = GetDeviceCaps(dc, LOGPIXELSX), pageDpiY = GetDeviceCaps(dc, LOGPIXELSY);
    RECT target;
    target.left = page.left * pageDpiX / kTwipsPerInch;
    target.top = page.top * pageDpiY / kTwipsPerInch;
    target.right = target.left + MulDiv(width_, pageDpiX, dpiX_);
    target.bottom = target.top + MulDiv(bottom - top, pageDpiY, dpiY_);
    if (!band || !EnumEnhMetaFile(dc, band, PlayRecord, nullptr, &target))
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
        bands_.reset(new TPageBands(*this, page.right - page.left));
    }
    return bands_->Format(dc, page, start, end, render);
}

void TRichEdit::EndFormatRange()
{
    Perform(EM_FORMATRANGE, FALSE, 0);
    bands_.reset();
}
