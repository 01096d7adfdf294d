// The system clipboard, for the copies the program makes itself.
#pragma once

#include <windows.h>

#include <cstddef>
#include <initializer_list>
#include <string>

// The clipboard, open while the object lives: every reader and writer of the
// program goes through it. Another program (a clipboard viewer) may hold the
// clipboard for a moment: opening tries again for about a tenth of a second.
class TClipboard {
public:
    explicit TClipboard(HWND owner);
    ~TClipboard();
    TClipboard(const TClipboard&) = delete;
    TClipboard& operator=(const TClipboard&) = delete;

    bool IsOpen() const { return open_; }
    // Raises Exception "Cannot open clipboard" when it is not open.
    void MustBeOpen() const;
    void Empty() { EmptyClipboard(); }
    // Hands over memory or a GDI object of `format`; false when the clipboard
    // refused it (then it is still the caller's).
    bool Put(UINT format, HANDLE data) { return SetClipboardData(format, data) != nullptr; }
    // The bytes of `format`, up to their first zero unit of `unit` bytes (1 for
    // text of single bytes, 2 for UTF-16); false when it holds none.
    bool Read(UINT format, size_t unit, std::string& bytes) const;

private:
    bool open_ = false;
};

// One form of the copied data: a clipboard format and its bytes; a zero
// character (two zero bytes, enough for text of either width) is added after them.
struct TClipboardData {
    UINT format;
    const char* bytes;
    size_t size;
};

// Empties the clipboard and puts the forms on it as one copy owned by
// `owner`. Raises Exception "Cannot open clipboard" when another program
// keeps it open, EOutOfResources when the memory for a form cannot be had.
void PutOnClipboard(HWND owner, std::initializer_list<TClipboardData> forms);
// The registered clipboard format of rich text (RTF).
UINT RichTextClipboardFormat();
// The clipboard's text (its Unicode form, which the system makes from any
// other text form); empty when it holds none or cannot be read.
std::string ClipboardText();
// Puts a text on the clipboard as Unicode text and as text of the ANSI code page.
void PutTextOnClipboard(HWND owner, const std::string& text);
