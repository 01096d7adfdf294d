#include "tests/rtf/RtfSamples.h"

#include <cstdint>

namespace {

void Put16(std::vector<uint8_t>& bytes, unsigned value)
{
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& bytes, uint32_t value)
{
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

std::string Hex(const std::vector<uint8_t>& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && i % 32 == 0)
            hex += "\r\n";
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 15];
    }
    return hex;
}

} // namespace

std::string MetafileHex(TMetafileFlaw flaw)
{
    std::vector<uint8_t> records;
    Put32(records, 5), Put16(records, 0x020C), Put16(records, 100), Put16(records, 100); // window extent
    Put32(records, 7), Put16(records, 0x041B);                                          // rectangle
    for (int value : {90, 90, 10, 10})
        Put16(records, static_cast<unsigned>(value));
    uint32_t largest = 7;
    if (flaw == TMetafileFlaw::LongPolygon) {
        Put32(records, 4), Put16(records, 0x0324), Put16(records, 65535); // a polygon of 65535 points
    } else if (flaw == TMetafileFlaw::BitmapWithoutPixels) {
        // A stretched bitmap of 4000 x 4000 pixels of 32 bits: a raster
        // operation, its usage, 8 coordinates and the bitmap's header.
        largest = (6 + 4 + 2 + 16 + 40) / 2;
        Put32(records, largest), Put16(records, 0x0F43);
        Put32(records, 0x00CC0020), Put16(records, 0);
        for (int value : {4000, 4000, 0, 0, 100, 100, 0, 0})
            Put16(records, static_cast<unsigned>(value));
        Put32(records, 40), Put32(records, 4000), Put32(records, 4000), Put16(records, 1), Put16(records, 32);
        for (int i = 0; i < 6; ++i)
            Put32(records, 0);
    }
    Put32(records, 3), Put16(records, 0); // end
    std::vector<uint8_t> file;
    Put16(file, 1), Put16(file, 9), Put16(file, 0x300);
    Put32(file, static_cast<uint32_t>(18 + records.size()) / 2);
    Put16(file, 0), Put32(file, largest), Put16(file, 0);
    file.insert(file.end(), records.begin(), records.end());
    return Hex(file);
}

std::string EnhMetafileHex()
{
    std::vector<uint8_t> file;
    Put32(file, 1), Put32(file, 88);
    for (uint32_t value : {0u, 0u, 10u, 10u, 0u, 0u, 265u, 265u})
        Put32(file, value);
    Put32(file, 0x464D4520), Put32(file, 0x10000), Put32(file, 108), Put32(file, 2);
    Put16(file, 1), Put16(file, 0);
    for (uint32_t value : {0u, 0u, 0u, 1024u, 768u, 320u, 240u})
        Put32(file, value);
    for (uint32_t value : {14u, 20u, 0u, 0u, 20u}) // end
        Put32(file, value);
    return Hex(file);
}

std::string BitmapHex(int width, int height, int bits, bool withPixels)
{
    std::vector<uint8_t> dib;
    Put32(dib, 40), Put32(dib, static_cast<uint32_t>(width)), Put32(dib, static_cast<uint32_t>(height));
    Put16(dib, 1), Put16(dib, static_cast<unsigned>(bits));
    for (int i = 0; i < 6; ++i)
        Put32(dib, 0);
    if (withPixels)
        dib.resize(dib.size() + static_cast<size_t>((width * bits / 8 + 3) / 4 * 4 * height), 0x40);
    return Hex(dib);
}

const char* const kPandocRtf = R"rtf({\rtf1\ansi\deff0{\fonttbl{\f0 \fswiss Helvetica;}{\f1 \fmodern Courier;}}
{\colortbl;\red255\green0\blue0;\red0\green0\blue255;}
\widowctrl\hyphauto

{\pard \ql \f0 \sa180 \li0 \fi0 \outlinelevel0 \b \fs36 \u1047?\u1072?\u1075?\u1086?\u1083?\u1086?\u1074?\u1086?\u1082?\par}
{\pard \ql \f0 \sa180 \li0 \fi0 Plain words, {\b bold words}, {\i italic words}, caf\u233?, \u1055?\u1088?\u1080?\u1074?\u1077?\u1090? \u1084?\u1080?\u1088?.\par}
{\pard \ql \f0 \sa0 \li360 \fi-360 \bullet \tx360\tab one item\par}
{\pard \ql \f0 \sa0 \li360 \fi-360 \bullet \tx360\tab two items\sa180\par}
{
\trowd \trgaph120
\clbrdrb\brdrs\cellx4320\clbrdrb\brdrs\cellx8640
\trkeep\intbl
{
{{\pard\intbl \ql \f0 \sa0 \li0 \fi0 a\par}
\cell}
{{\pard\intbl \ql \f0 \sa0 \li0 \fi0 b\par}
\cell}
}
\intbl\row}
{
\trowd \trgaph120
\cellx4320\cellx8640
\trkeep\intbl
{
{{\pard\intbl \ql \f0 \sa0 \li0 \fi0 1\par}
\cell}
{{\pard\intbl \ql \f0 \sa0 \li0 \fi0 2\par}
\cell}
}
\intbl\row}
{\pard \ql \f0 \sa180 \li0 \fi0 \par}
{\pard \ql \f0 \sa180 \li720 \fi0 a quote with {\f1 code}\par}
}
)rtf";

std::string WordPadRtf()
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
           "{\\f1\\fnil\\fcharset204 Times New Roman;}}\r\n"
           "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green176\\blue80;}\r\n"
           "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
           "\\pard\\sa200\\sl276\\slmult1\\cf1\\b\\f0\\fs22\\lang9 Bold red\\cf0\\b0  and \\cf2\\i green italic"
           "\\cf0\\i0\\par\r\n"
           "\\f1\\lang1049\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \\u1055?\\u1088?\\u1080?\\u1074?\\u1077?\\u1090?"
           "\\f0\\lang9\\par\r\n"
           "\\pard\\tx720\\tx1440\\fi-360\\li720 {\\pict{\\*\\picprop}\\wmetafile8\\picw1000\\pich1000"
           "\\picwgoal567\\pichgoal567 \r\n" +
           MetafileHex() + "\r\n}\\par\r\n}\r\n" + std::string(1, '\0');
}

std::string FeaturesRtf()
{
    return "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\froman\\fprq2\\fcharset204"
           "{\\*\\panose 02020603050405020304}Times New Roman;}{\\f1\\fswiss\\fcharset0 Arial{\\*\\falt Helvetica};}"
           "{\\f2\\fmodern\\fcharset0 Courier New;}}\r\n"
           "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue0;\\red12\\green34\\blue56;}\r\n"
           "{\\stylesheet{\\s0\\f0\\fs24 Normal;}{\\s1\\sbasedon0\\snext0\\b\\fs32 heading 1;}}\r\n"
           "{\\info{\\title A title}{\\author Someone}{\\creatim\\yr2024\\mo1\\dy2\\hr3\\min4}}\r\n"
           "\\paperw11906\\paperh16838\\margl1701\\margr850\\uc1\\pard\\plain\\f0\\fs24 "
           "{\\upr{\\f0 Fallback}{\\*\\ud{\\f0 \\u1071?\\u1085?\\u1076?\\u1077?\\u1082?\\u1089?}}}\\par\r\n"
           "\\fi-360\\li720\\tx720 {\\field{\\*\\fldinst HYPERLINK \"http://example.org\"}"
           "{\\fldrslt {\\ul\\cf3 a link}}}"
           "\\par\r\n"
           "{\\*\\bkmkstart here}{\\*\\bkmkend here}\\uc2\\u-3913\\'3f\\'3f\\uc1\\~\\-\\_\\emdash\\endash\\par\r\n"
           "{\\*\\blob\\bin16 0123456789abcdef}{\\s1 A heading}\\par\r\n"
           "\\qc{\\b\\i\\strike\\ul\\super x\\nosupersub\\sub 2\\nosupersub}\\par"
           "\\pard\\qj \\'e0\\'e1\\'e2 \\{braces\\} "
           "\\\\ \\tab tab\\line next\\par\r\n"
           "{\\*\\shppict{\\pict\\emfblip\\picw10\\pich10 " +
           EnhMetafileHex() + "}}{\\nonshppict{\\pict\\wmetafile8 " + MetafileHex() +
           "}}\r\n{\\pict\\dibitmap0\\picw2\\pich2\\picwgoal300\\pichgoal300 " + BitmapHex() + "}\\sect\r\n}\r\n";
}
