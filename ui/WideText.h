// Text inside the program is UTF-8; Win32 takes UTF-16. These two functions are
// the one crossing between them.
//
// The pair round-trips every sequence of UTF-16 units, also one a control hands
// out with an unpaired surrogate in it: such a unit becomes the three bytes its
// code would have in UTF-8 (as WTF-8 writes it) and comes back as the same unit.
// Bytes that are not UTF-8 become U+FFFD, one for each maximal bad sequence.
#pragma once

#include <cstddef>
#include <string>

std::wstring ToWide(const char* utf8, size_t size);
inline std::wstring ToWide(const std::string& utf8) { return ToWide(utf8.data(), utf8.size()); }
std::string ToUtf8(const wchar_t* utf16, size_t size);
inline std::string ToUtf8(const std::wstring& utf16) { return ToUtf8(utf16.data(), utf16.size()); }
// A NUL-ended text as the system hands it out; null gives an empty text.
std::string ToUtf8(const wchar_t* utf16);

// How many UTF-16 units the (well-formed) UTF-8 text takes: the positions controls count in.
size_t Utf16Length(const char* utf8, size_t size);
inline size_t Utf16Length(const std::string& utf8) { return Utf16Length(utf8.data(), utf8.size()); }
// The byte offset in `utf8` of the UTF-16 position `units` (the end when past it).
size_t Utf8Offset(const std::string& utf8, size_t units);

// Text in the system's ANSI code page, for the places that keep 8-bit text
// (files written in that code page, the clipboard's 8-bit form). A character
// the code page has no byte for becomes "?"; `exact`, when given, says whether
// every character had one.
std::string ToAnsi(const std::wstring& utf16, bool* exact = nullptr);
std::wstring FromAnsi(const char* ansi, size_t size);
inline std::wstring FromAnsi(const std::string& ansi) { return FromAnsi(ansi.data(), ansi.size()); }
