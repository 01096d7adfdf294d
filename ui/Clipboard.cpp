#include "ui/Clipboard.h"

#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <algorithm>
#include <cstring>

TClipboard::TClipboard(HWND owner)
{
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
        open_ = OpenClipboard(owner) != 0;
        if (!open_)
            Sleep(10);
    }
}

TClipboard::~TClipboard()
{
    if (open_)
        CloseClipboard();
}

void TClipboard::MustBeOpen() const
{
    if (!open_)
        throw Exception("Cannot open clipboard");
}

bool TClipboard::Read(UINT format, size_t unit, std::string& bytes) const
{
    HANDLE data = open_ ? GetClipboardData(format) : nullptr;
    const char* memory = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (!memory)
        return false;
    // The data ends at its first zero unit; the memory may hold more.
    const size_t size = GlobalSize(data) / unit * unit;
    size_t end = 0;
    while (end < size && !std::all_of(memory + end, memory + end + unit, [](char c) { return c == 0; }))
        end += unit;
    bytes.assign(memory, end);
    GlobalUnlock(data);
    return true;
}

void PutOnClipboard(HWND owner, std::initializer_list<TClipboardData> forms)
{
    TClipboard clipboard(owner);
    clipboard.MustBeOpen();
    clipboard.Empty();
    bool complete = true;
    for (const TClipboardData& form : forms) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, form.size + 2);
        char* bytes = memory ? static_cast<char*>(GlobalLock(memory)) : nullptr;
        if (!bytes) {
            if (memory)
                GlobalFree(memory);
            complete = false;
            break;
        }
        std::memcpy(bytes, form.bytes, form.size);
        bytes[form.size] = bytes[form.size + 1] = '\0';
        GlobalUnlock(memory);
        if (!clipboard.Put(form.format, memory))
            GlobalFree(memory);
    }
    // Half a copy is no copy.
    if (!complete)
        clipboard.Empty();
    if (!complete)
        throw EOutOfResources("Not enough memory to copy to the clipboard");
}

UINT RichTextClipboardFormat()
{
    static UINT format = RegisterClipboardFormatW(L"Rich Text Format");
    return format;
}

std::string ClipboardText()
{
    std::string units;
    if (!TClipboard(nullptr).Read(CF_UNICODETEXT, sizeof(wchar_t), units))
        return {};
    return ToUtf8(reinterpret_cast<const wchar_t*>(units.data()), units.size() / sizeof(wchar_t));
}

void PutTextOnClipboard(HWND owner, const std::string& text)
{
    const std::wstring wide = ToWide(text);
    const std::string ansi = ToAnsi(wide);
    PutOnClipboard(owner, {{CF_UNICODETEXT, reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)},
                           {CF_TEXT, ansi.data(), ansi.size()}});
}
