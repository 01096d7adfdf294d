// The text forms in which the settings are stored.
#pragma once

#include "ui/Graphics.h"

#include <string>

// "true" or "false"; reading takes exactly "true" as true.
std::string BoolToText(bool value);
bool TextToBool(const std::string& text);

// A colour's name where it has one ("clBlue", "clBtnFace", "clNone"), else "$"
// and eight upper-case hexadecimal digits.
std::string ColorToText(TColor color);
// A name or an integer text (decimal, or hexadecimal after "$"); raises
// EConvertError for anything else.
TColor TextToColor(const std::string& text);

// The code of a font style, "1" to "17" ("7" is not used).
std::string FontStyleToCode(TFontStyles style);
// False (and `style` unchanged) for a text that is not a code.
bool CodeToFontStyle(const std::string& code, TFontStyles& style);

// A secret protected for the current user by the system's data protection,
// as upper-case hexadecimal digits; an empty text stays empty.
std::string ProtectText(const std::string& text);
// The secret back; empty for a value that is malformed or cannot be
// unprotected here (another user's, another computer's).
std::string UnprotectText(const std::string& stored);
