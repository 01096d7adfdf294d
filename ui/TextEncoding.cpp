#include "ui/TextEncoding.h"

#include "ui/WideText.h"

#include <cstring>

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";

bool HasPrefix(const char* bytes, size_t size, const char* prefix, size_t length)
{
    return size >= length && std::memcmp(bytes, prefix, length) == 0;
}

// The byte order mark's length and the encoding it names; 0 when none.
size_t BomLength(const char* bytes, size_t size, TEncoding& encoding)
{
    if (HasPrefix(bytes, size, kUtf8Bom, 3)) {
        encoding = TEncoding::Utf8;
        return 3;
    }
    if (HasPrefix(bytes, size, "\xFF\xFE", 2)) {
        encoding = TEncoding::Utf16LE;
        return 2;
    }
    if (HasPrefix(bytes, size, "\xFE\xFF", 2)) {
        encoding = TEncoding::Utf16BE;
        return 2;
    }
    return 0;
}

// The kind of line break a text uses throughout; AsTyped when it has none or
// several kinds. `unit(i)` is the text's i-th code unit.
template <typename Unit>
TLineBreaks LineBreaksOf(size_t count, Unit unit)
{
    bool crlf = false, lf = false, cr = false;
    for (size_t i = 0; i < count; ++i) {
        const auto c = unit(i);
        if (c == '\r') {
            if (i + 1 < count && unit(i + 1) == '\n') {
                crlf = true;
                ++i;
            } else {
                cr = true;
            }
        } else if (c == '\n') {
            lf = true;
        }
    }
    const int kinds = crlf + lf + cr;
    if (kinds != 1)
        return TLineBreaks::AsTyped;
    return crlf ? TLineBreaks::CrLf : lf ? TLineBreaks::Lf : TLineBreaks::Cr;
}

wchar_t Utf16Unit(const char* bytes, size_t i, bool bigEndian)
{
    const auto first = static_cast<unsigned char>(bytes[2 * i]), second = static_cast<unsigned char>(bytes[2 * i + 1]);
    return static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
}

} // namespace

bool IsStrictUtf8(const char* bytes, size_t size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    size_t i = 0;
    while (i < size) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t length;
        unsigned char low = 0x80, high = 0xBF; // the range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0; // overlong below
            else if (lead == 0xED)
                high = 0x9F; // surrogates above
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F; // past U+10FFFF above
        } else {
            return false;
        }
        if (i + length > size || p[i + 1] < low || p[i + 1] > high)
            return false;
        for (size_t k = 2; k < length; ++k)
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

TTextFormat DetectTextFormat(const char* bytes, size_t size)
{
    TTextFormat format;
    TEncoding marked = TEncoding::Ansi;
    const size_t bom = BomLength(bytes, size, marked);
    const char* body = bytes + bom;
    const size_t length = size - bom;
    if (bom && marked == TEncoding::Utf8 && IsStrictUtf8(body, length)) {
        format.encoding = TEncoding::Utf8;
        format.bom = true;
    } else if (bom && marked != TEncoding::Utf8 && length % 2 == 0) {
        format.encoding = marked;
        format.bom = true;
    } else if (!bom || marked == TEncoding::Utf8) {
        // No mark, or a UTF-8 one the bytes do not bear out.
        bool high = false;
        for (size_t i = 0; i < size && !high; ++i)
            high = static_cast<unsigned char>(bytes[i]) >= 0x80;
        if (!bom && high && IsStrictUtf8(bytes, size))
            format.encoding = TEncoding::Utf8;
    }
    if (format.encoding == TEncoding::Utf16LE || format.encoding == TEncoding::Utf16BE) {
        const bool big = format.encoding == TEncoding::Utf16BE;
        format.lineBreaks = LineBreaksOf(length / 2, [&](size_t i) { return Utf16Unit(body, i, big); });
    } else {
        format.lineBreaks = LineBreaksOf(size, [&](size_t i) { return bytes[i]; });
    }
    return format;
}

std::wstring DecodeText(const char* bytes, size_t size, const TTextFormat& format)
{
    TEncoding marked = TEncoding::Ansi;
    const size_t bom = format.bom ? BomLength(bytes, size, marked) : 0;
    bytes += bom;
    size -= bom;
    switch (format.encoding) {
    case TEncoding::Utf8:
        return ToWide(bytes, size);
    case TEncoding::Utf16LE:
    case TEncoding::Utf16BE: {
        std::wstring text(size / 2, L'\0');
        const bool big = format.encoding == TEncoding::Utf16BE;
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = Utf16Unit(bytes, i, big);
        return text;
    }
    case TEncoding::Ansi:
        break;
    }
    return FromAnsi(bytes, size);
}

std::string EncodeText(std::wstring text, const TTextFormat& format, bool* exact)
{
    if (exact)
        *exact = true;
    // The editor ends a typed line with CR LF; a file of other breaks keeps its own.
    if (format.lineBreaks == TLineBreaks::Lf || format.lineBreaks == TLineBreaks::Cr) {
        const wchar_t kept = format.lineBreaks == TLineBreaks::Lf ? L'\n' : L'\r';
        size_t out = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
                text[out++] = kept;
                ++i;
            } else {
                text[out++] = text[i];
            }
        }
        text.resize(out);
    }
    std::string bytes;
    switch (format.encoding) {
    case TEncoding::Utf8:
        if (format.bom)
            bytes = kUtf8Bom;
        bytes += ToUtf8(text);
        break;
    case TEncoding::Utf16LE:
    case TEncoding::Utf16BE: {
        const bool big = format.encoding == TEncoding::Utf16BE;
        bytes.reserve(2 * text.size() + 2);
        if (format.bom)
            bytes += big ? "\xFE\xFF" : "\xFF\xFE";
        for (wchar_t unit : text) {
            const char high = static_cast<char>((unit >> 8) & 0xFF), low = static_cast<char>(unit & 0xFF);
            bytes += big ? high : low;
            bytes += big ? low : high;
        }
        break;
    }
    case TEncoding::Ansi:
        bytes = ToAnsi(text, exact);
        break;
    }
    return bytes;
}

bool StartsWithRtf(const char* bytes, size_t size)
{
    TEncoding marked = TEncoding::Ansi;
    const size_t bom = BomLength(bytes, size, marked);
    if (marked == TEncoding::Utf16LE || marked == TEncoding::Utf16BE) {
        std::wstring start = DecodeText(bytes, std::min<size_t>(size, bom + 10), TTextFormat{marked, true});
        return start.compare(0, 5, L"{\\rtf") == 0;
    }
    return HasPrefix(bytes + bom, size - bom, "{\\rtf", 5);
}
