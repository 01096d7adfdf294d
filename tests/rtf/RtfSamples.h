// Well-formed rich text as real programs write it, and the pictures it holds.
#pragma once

#include <string>
#include <vector>

// Hex digits of a small Windows metafile, an enhanced metafile and a packed
// bitmap that pass the picture checks; the metafile optionally with a flaw,
// the bitmap optionally without its pixels.
enum class TMetafileFlaw { None, LongPolygon, BitmapWithoutPixels };
std::string MetafileHex(TMetafileFlaw flaw = TMetafileFlaw::None);
std::string EnhMetafileHex();
std::string BitmapHex(int width = 2, int height = 2, int bits = 24, bool withPixels = true);

// pandoc's RTF (pandoc -s -t rtf): tables, lists, Cyrillic as Unicode escapes.
extern const char* const kPandocRtf;
// As WordPad writes it: its header, Unicode escapes, a metafile picture, and a
// zero byte after CR LF behind the last brace.
std::string WordPadRtf();
// Style sheet, information, nested destinations, a Unicode text beside its
// fallback (upr, ud), a field, bin, an enhanced metafile and a bitmap picture.
std::string FeaturesRtf();
