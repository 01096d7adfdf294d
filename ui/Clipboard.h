// The system clipboard, for the copies the program makes itself.
#pragma once

#include <windows.h>

#include <cstddef>
#include <initializer_list>
#include <string>

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
