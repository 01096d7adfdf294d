#include "preferences/SettingsText.h"

#include "ui/SysUtils.h"
#include "ui/LateBound.h"
#include "ui/TextEncoding.h"
#include "ui/WideText.h"

#include <windows.h>
#include <wincrypt.h>

namespace {

// The data protection's DLL loads when a password is stored or read.
const TLateBound<decltype(&CryptProtectData)> cryptProtectData("crypt32.dll", "CryptProtectData");
const TLateBound<decltype(&CryptUnprotectData)> cryptUnprotectData("crypt32.dll", "CryptUnprotectData");

} // namespace

namespace {

struct ColorName {
    TColor color;
    const char* name;
};

const ColorName kColorNames[] = {
    {clBlack, "clBlack"},   {clMaroon, "clMaroon"}, {clGreen, "clGreen"},     {clOlive, "clOlive"},
    {clNavy, "clNavy"},     {clPurple, "clPurple"}, {clTeal, "clTeal"},       {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"},       {clLime, "clLime"},       {clYellow, "clYellow"},
    {clBlue, "clBlue"},     {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"},     {clWhite, "clWhite"},
    {SystemColor(0), "clScrollBar"},          {SystemColor(1), "clBackground"},
    {SystemColor(2), "clActiveCaption"},      {SystemColor(3), "clInactiveCaption"},
    {SystemColor(4), "clMenu"},               {SystemColor(5), "clWindow"},
    {SystemColor(6), "clWindowFrame"},        {SystemColor(7), "clMenuText"},
    {SystemColor(8), "clWindowText"},         {SystemColor(9), "clCaptionText"},
    {SystemColor(10), "clActiveBorder"},      {SystemColor(11), "clInactiveBorder"},
    {SystemColor(12), "clAppWorkSpace"},      {SystemColor(13), "clHighlight"},
    {SystemColor(14), "clHighlightText"},     {SystemColor(15), "clBtnFace"},
    {SystemColor(16), "clBtnShadow"},         {SystemColor(17), "clGrayText"},
    {SystemColor(18), "clBtnText"},           {SystemColor(19), "clInactiveCaptionText"},
    {SystemColor(20), "clBtnHighlight"},      {SystemColor(21), "cl3DDkShadow"},
    {SystemColor(22), "cl3DLight"},           {SystemColor(23), "clInfoText"},
    {SystemColor(24), "clInfoBk"},            {clNone, "clNone"},
};

struct StyleCode {
    TFontStyles style;
    const char* code;
};

const StyleCode kStyleCodes[] = {
    {0, "1"},
    {fsBold, "2"},
    {fsItalic, "3"},
    {fsBold | fsItalic, "4"},
    {fsStrikeOut, "5"},
    {fsBold | fsItalic | fsStrikeOut, "6"},
    {fsItalic | fsStrikeOut, "8"},
    {fsBold | fsStrikeOut, "9"},
    {fsUnderline, "10"},
    {fsUnderline | fsStrikeOut, "11"},
    {fsBold | fsUnderline, "12"},
    {fsBold | fsUnderline | fsStrikeOut, "13"},
    {fsItalic | fsUnderline, "14"},
    {fsItalic | fsUnderline | fsStrikeOut, "15"},
    {fsBold | fsItalic | fsUnderline, "16"},
    {fsBold | fsItalic | fsUnderline | fsStrikeOut, "17"},
};

} // namespace

std::string BoolToText(bool value) { return value ? "true" : "false"; }

bool TextToBool(const std::string& text) { return text == "true"; }

std::string ColorToText(TColor color)
{
    for (const ColorName& entry : kColorNames)
        if (entry.color == color)
            return entry.name;
    return "$" + IntToHex(static_cast<unsigned>(color), 8);
}

TColor TextToColor(const std::string& text)
{
    for (const ColorName& entry : kColorNames)
        if (SameText(text, entry.name))
            return entry.color;
    return StrToInt(text);
}

std::string FontStyleToCode(TFontStyles style)
{
    for (const StyleCode& entry : kStyleCodes)
        if (entry.style == style)
            return entry.code;
    return std::string();
}

bool CodeToFontStyle(const std::string& code, TFontStyles& style)
{
    for (const StyleCode& entry : kStyleCodes) {
        if (code == entry.code) {
            style = entry.style;
            return true;
        }
    }
    return false;
}

namespace {

struct TLocalBlob {
    DATA_BLOB blob{0, nullptr};
    ~TLocalBlob()
    {
        if (blob.pbData) {
            SecureZeroMemory(blob.pbData, blob.cbData);
            LocalFree(blob.pbData);
        }
    }
};

} // namespace

std::string ProtectText(const std::string& text)
{
    if (text.empty())
        return text;
    DATA_BLOB plain{static_cast<DWORD>(text.size()), reinterpret_cast<BYTE*>(const_cast<char*>(text.data()))};
    TLocalBlob sealed;
    if (!cryptProtectData(&plain, L"Mibor8", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &sealed.blob))
        throw Exception("The password could not be protected");
    static const char digits[] = "0123456789ABCDEF";
    std::string stored;
    for (DWORD i = 0; i < sealed.blob.cbData; ++i) {
        stored += digits[sealed.blob.pbData[i] >> 4];
        stored += digits[sealed.blob.pbData[i] & 15];
    }
    return stored;
}

std::string UnprotectText(const std::string& stored)
{
    if (stored.empty() || stored.size() % 2 != 0)
        return std::string();
    std::string bytes;
    for (size_t i = 0; i < stored.size(); i += 2) {
        int value = 0;
        for (char c : {stored[i], stored[i + 1]}) {
            const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (digit < 0)
                return std::string();
            value = value * 16 + digit;
        }
        bytes += static_cast<char>(value);
    }
    DATA_BLOB sealed{static_cast<DWORD>(bytes.size()), reinterpret_cast<BYTE*>(&bytes[0])};
    TLocalBlob plain;
    if (!cryptUnprotectData(&sealed, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &plain.blob))
        return std::string();
    std::string text(reinterpret_cast<const char*>(plain.blob.pbData), plain.blob.cbData);
    // A password stored by an earlier version is in the ANSI code page.
    return IsStrictUtf8(text.data(), text.size()) ? text : ToUtf8(FromAnsi(text));
}
