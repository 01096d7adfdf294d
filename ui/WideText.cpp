#include "ui/WideText.h"

#include <windows.h>

#include <cstring>

namespace {

// The code point of the UTF-8 sequence at `p` and its length in bytes; `good`
// false means the `length` bytes there are no sequence. Three-byte forms of surrogates
// are taken (they carry unpaired units), overlong forms and codes past
// U+10FFFF are not.
struct Decoded {
    char32_t code;
    size_t length;
    bool good;
};

Decoded DecodeAt(const unsigned char* p, size_t left)
{
    const unsigned char lead = p[0];
    size_t length;
    char32_t code;
    if (lead < 0x80)
        return {lead, 1, true};
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return {0, 1, false};
    }
    // A cut sequence takes as many continuation bytes as it has, and is bad.
    size_t i = 1;
    for (; i < length; ++i) {
        if (i >= left || (p[i] & 0xC0) != 0x80)
            return {0, i, false};
        code = (code << 6) | (p[i] & 0x3F);
        // Overlong and out-of-range forms show in the second byte already.
        if (i == 1 && ((length == 3 && code < 0x20) || (length == 4 && (code < 0x10 || code > 0x10F))))
            return {0, 1, false};
    }
    return {code, length, true};
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

std::wstring ToWide(const char* utf8, size_t size)
{
    std::wstring out;
    out.reserve(size);
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    size_t i = 0;
    while (i < size) {
        // Runs of ASCII, the usual case, are copied as they are.
        while (i < size && p[i] < 0x80)
            out += static_cast<wchar_t>(p[i++]);
        if (i >= size)
            break;
        const Decoded decoded = DecodeAt(p + i, size - i);
        if (!decoded.good) {
            out += L'\xFFFD';
            i += decoded.length;
        } else if (decoded.code >= 0x10000) {
            const char32_t v = decoded.code - 0x10000;
            out += static_cast<wchar_t>(0xD800 | (v >> 10));
            out += static_cast<wchar_t>(0xDC00 | (v & 0x3FF));
            i += decoded.length;
        } else {
            out += static_cast<wchar_t>(decoded.code);
            i += decoded.length;
        }
    }
    return out;
}

std::string ToUtf8(const wchar_t* utf16, size_t size)
{
    std::string out;
    out.reserve(size + size / 4);
    for (size_t i = 0; i < size; ++i) {
        char32_t code = static_cast<char16_t>(utf16[i]);
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < size) {
            const char32_t low = static_cast<char16_t>(utf16[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        AppendUtf8(out, code);
    }
    return out;
}

std::string ToUtf8(const wchar_t* utf16) { return utf16 ? ToUtf8(utf16, wcslen(utf16)) : std::string(); }

size_t Utf16Length(const char* utf8, size_t size)
{
    // Every byte but continuation bytes starts a unit; four-byte leads start two.
    size_t units = 0;
    for (size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if ((byte & 0xC0) != 0x80)
            units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

size_t Utf8Offset(const std::string& utf8, size_t units)
{
    size_t counted = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if ((byte & 0xC0) == 0x80)
            continue;
        if (counted >= units)
            return i;
        counted += byte >= 0xF0 ? 2 : 1;
    }
    return utf8.size();
}

std::string ToAnsi(const std::wstring& utf16, bool* exact)
{
    std::string out;
    if (exact)
        *exact = true;
    if (utf16.empty())
        return out;
    BOOL defaulted = FALSE;
    const int length = static_cast<int>(utf16.size());
    // Best-fit look-alikes ("S" for "Σ") would pass for the character itself.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int size = WideCharToMultiByte(CP_ACP, flags, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    out.resize(static_cast<size_t>(size));
    WideCharToMultiByte(CP_ACP, flags, utf16.data(), length, &out[0], size, nullptr, exact ? &defaulted : nullptr);
    if (exact)
        *exact = !defaulted;
    return out;
}

std::wstring FromAnsi(const char* ansi, size_t size)
{
    std::wstring out;
    if (size == 0)
        return out;
    const int length = static_cast<int>(size);
    const int count = MultiByteToWideChar(CP_ACP, 0, ansi, length, nullptr, 0);
    out.resize(static_cast<size_t>(count));
    MultiByteToWideChar(CP_ACP, 0, ansi, length, &out[0], count);
    return out;
}
