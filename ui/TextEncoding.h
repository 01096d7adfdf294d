// How a plain-text file holds its characters: the encoding, the byte order
// mark and the line breaks it was read with, so that it is written back the
// same way.
#pragma once

#include <cstddef>
#include <string>

enum class TEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

enum class TLineBreaks {
    AsTyped, // written as the editor holds them (mixed, or none in the file)
    CrLf,
    Lf,
    Cr,
};

struct TTextFormat {
    TEncoding encoding = TEncoding::Ansi;
    bool bom = false;
    TLineBreaks lineBreaks = TLineBreaks::AsTyped;
    bool operator==(const TTextFormat& other) const
    {
        return encoding == other.encoding && bom == other.bom && lineBreaks == other.lineBreaks;
    }
};

// Whether the bytes are UTF-8 in the strict sense: no overlong forms, no
// surrogates, nothing past U+10FFFF, no sequence cut at the end.
bool IsStrictUtf8(const char* bytes, size_t size);

// The encoding of a file's bytes: a byte order mark decides (UTF-8, UTF-16 LE
// or BE); without one, bytes that are strict UTF-8 and hold at least one byte
// above 0x7F are UTF-8; anything else is the ANSI code page. A file that would
// not decode cleanly in the encoding its mark names (UTF-16 of odd length, a
// UTF-8 mark before bytes that are not UTF-8) is ANSI, so that its bytes come
// back as they were. The line breaks are those the file uses throughout.
TTextFormat DetectTextFormat(const char* bytes, size_t size);

// The text of a file in the format detected for it (its mark left out).
std::wstring DecodeText(const char* bytes, size_t size, const TTextFormat& format);

// The file's bytes for a text: the mark where the format has one, line breaks
// as the format says. `exact` (when given) is false when the encoding lacks a
// byte sequence for some character, which then became "?".
std::string EncodeText(std::wstring text, const TTextFormat& format, bool* exact = nullptr);

// Whether a text is RTF as the program recognises it: "{\rtf" at the very
// start of the text, after any byte order mark.
bool StartsWithRtf(const char* bytes, size_t size);
