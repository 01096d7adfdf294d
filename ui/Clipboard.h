// The system clipboard, for the copies the program makes itself.
#pragma once

#include <windows.h>

#include <cstddef>
#include <initializer_list>
#include <string>

// One form of the copied data: a clipboard format and its bytes; a zero byte
// is added after them.
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
// The clipboard's text; empty when it holds none or cannot be read.
std::string ClipboardText();
