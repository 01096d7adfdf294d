#include "ui/Clipboard.h"

#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <cstring>

namespace {

// Another program (a clipboard viewer) may hold the clipboard for a moment.
bool OpenClipboardSoon(HWND owner)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(10);
    }
    return false;
}

} // namespace

void PutOnClipboard(HWND owner, std::initializer_list<TClipboardData> forms)
{
    if (!OpenClipboardSoon(owner))
        throw Exception("Cannot open clipboard");
    EmptyClipboard();
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
        if (!SetClipboardData(form.format, memory))
            GlobalFree(memory);
    }
    // Half a copy is no copy.
    if (!complete)
        EmptyClipboard();
    CloseClipboard();
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
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = ToUtf8(chars, wcsnlen(chars, GlobalSize(data) / sizeof(wchar_t)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void PutTextOnClipboard(HWND owner, const std::string& text)
{
    const std::wstring wide = ToWide(text);
    const std::string ansi = ToAnsi(wide);
    PutOnClipboard(owner, {{CF_UNICODETEXT, reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)},
                           {CF_TEXT, ansi.data(), ansi.size()}});
}
