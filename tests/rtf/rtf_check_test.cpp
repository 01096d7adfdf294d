// The rules of the RTF check: each row the smallest text that breaks one
// (those marked "crash" end the program when the editor control reads them),
// and RTF that real programs write, which passes.
#include "tests/rtf/RtfSamples.h"

#include "imageviewer/PictureChecks.h"
#include "ui/RtfCheck.h"

#include <gtest/gtest.h>

namespace {

std::string Rtf(const std::string& body) { return "{\\rtf1 " + body + "}"; }

std::string Picture(const std::string& kind, const std::string& hex)
{
    return Rtf("{\\pict\\" + kind + "\\picw10\\pich10 " + hex + "}");
}

struct Row {
    const char* what;
    std::string rtf;
    TRtfFault fault;
};

void ExpectVerdicts(const std::vector<Row>& rows)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_STREQ(RtfFaultName(RtfFault(row.rtf.data(), row.rtf.size())), RtfFaultName(row.fault));
        // Fed a byte at a time, the verdict is the same.
        TRtfScanner scanner;
        for (char c : row.rtf)
            scanner.Feed(&c, 1);
        EXPECT_STREQ(RtfFaultName(scanner.Finish()), RtfFaultName(row.fault));
    }
}

} // namespace

TEST(RtfCheck, EachRuleRefusesTheSmallestTextThatBreaksIt)
{
    SetRtfPictureCheck(RichTextPictureFits);
    const std::string metafile = MetafileHex();
    ExpectVerdicts({
        {"not RTF", "{\\rt", TRtfFault::NotRtf},
        {"crash: 33 groups deep", "{\\rtf1" + std::string(32, '{') + std::string(32, '}') + "}", TRtfFault::TooDeep},
        {"crash: braces after \\bin, which the control reads as RTF",
         "{\\rtf1\\bin64 " + std::string(32, '{') + std::string(32, '}') + "}", TRtfFault::TooDeep},
        {"cut short", "{\\rtf1 x", TRtfFault::Unclosed},
        {"cut inside a control word", "{\\rtf1 \\pa", TRtfFault::Unclosed},
        {"text after the end", "{\\rtf1 x}x", TRtfFault::TextAfterEnd},
        {"crash: a long control word", Rtf("\\" + std::string(33, 'a')), TRtfFault::LongWord},
        {"crash: a long parameter", Rtf("\\fs12345678901"), TRtfFault::BadParameter},
        {"a parameter past 32 bits", Rtf("\\fs2147483648"), TRtfFault::BadParameter},
        {"a sign without digits", Rtf("\\fs- x"), TRtfFault::BadParameter},
        {"a hex escape without two digits", Rtf("\\'4g"), TRtfFault::BadHex},
        {"\\bin past the end", Rtf("\\bin9 x"), TRtfFault::BadBin},
        {"\\bin of a negative length", Rtf("\\bin-1 x"), TRtfFault::BadBin},
        {"a font without a number", Rtf("{\\fonttbl{\\fnil Arial;}}"), TRtfFault::FontWithoutNumber},
        {"a font entry without ';'", Rtf("{\\fonttbl{\\f0 Arial}}"), TRtfFault::FontNotEnded},
        {"a font without a group of its own, without ';'", Rtf("{\\fonttbl\\f0 Arial\\f1 Times;}"),
         TRtfFault::FontNotEnded},
        {"a table inside a table", Rtf("{\\fonttbl{\\colortbl;}}"), TRtfFault::NestedTable},
        {"crash: a long font name", Rtf("{\\fonttbl{\\f0 " + std::string(256, 'A') + ";}}"), TRtfFault::LongName},
        {"crash: a long style name", Rtf("{\\stylesheet{\\s0 " + std::string(256, 'A') + ";}}"),
         TRtfFault::LongName},
        {"a colour component past 255", Rtf("{\\colortbl;\\red256;}"), TRtfFault::BadColor},
        {"text in the colour table", Rtf("{\\colortbl;x;}"), TRtfFault::BadColor},
        {"a colour entry without ';'", Rtf("{\\colortbl;\\red1\\green2\\blue3}"), TRtfFault::ColorNotEnded},
        {"crash on saving: a tab stop at a negative position", Rtf("\\tx-1 x"), TRtfFault::BadTab},
        {"crash on saving: a tab stop without a position", Rtf("\\tx x"), TRtfFault::BadTab},
        {"a metafile shorter than its header", Picture("wmetafile8", metafile.substr(0, 12)), TRtfFault::BadPicture},
        {"a count of points past the metafile's end", Picture("wmetafile8", MetafileHex(TMetafileFlaw::LongPolygon)),
         TRtfFault::BadPicture},
        {"crash: a metafile's bitmap without its pixels",
         Picture("wmetafile8", MetafileHex(TMetafileFlaw::BitmapWithoutPixels)), TRtfFault::BadPicture},
        {"crash: a bitmap without its pixels", Picture("dibitmap0", BitmapHex(2000, 2000, 32, false)),
         TRtfFault::BadPicture},
        {"a blank inside picture data", Picture("wmetafile8", metafile.substr(0, 12) + " " + metafile.substr(12)),
         TRtfFault::BadPicture},
        {"an odd count of hex digits", Picture("wmetafile8", metafile + "0"), TRtfFault::BadPicture},
        {"picture text in a group of its own",
         Rtf("{\\pict{\\*\\picprop{\\sv 1}}\\wmetafile8 " + metafile + "}"), TRtfFault::BadPicture},
    });
}

TEST(RtfCheck, RtfOfRealProgramsAndTheEdgesOfEachRulePass)
{
    SetRtfPictureCheck(RichTextPictureFits);
    ExpectVerdicts({
        {"pandoc", kPandocRtf, TRtfFault::None},
        {"WordPad", WordPadRtf(), TRtfFault::None},
        {"many features", FeaturesRtf(), TRtfFault::None},
        {"blanks and zero bytes after the end", std::string("{\\rtf1 x}\r\n \t\0\0", 15), TRtfFault::None},
        {"32 groups deep", "{\\rtf1" + std::string(31, '{') + std::string(31, '}') + "}", TRtfFault::None},
        {"a word of 32 letters, parameters of 32 bits",
         Rtf("\\" + std::string(32, 'a') + " \\li-2147483648\\ri2147483647 x"), TRtfFault::None},
        {"a font name of 255 characters", Rtf("{\\fonttbl{\\f0 " + std::string(255, 'A') + ";}}"), TRtfFault::None},
        {"fonts without groups of their own, one holding a group",
         Rtf("{\\fonttbl\\f0\\fswiss Arial;\\f1{\\*\\panose 02020603050405020304}Times;}"), TRtfFault::None},
        {"\\bin up to the end", "{\\rtf1{\\*\\blob\\bin4 abc}}", TRtfFault::None},
        {"a tab stop at 0", Rtf("\\tx0 x"), TRtfFault::None},
        {"an enhanced metafile", Picture("emfblip", EnhMetafileHex()), TRtfFault::None},
        {"pictures the control does not draw go unchecked", Picture("pngblip", "89504e47"), TRtfFault::None},
    });
}

TEST(RtfCheck, WithoutAPictureCheckPicturesCountAsUnsafe)
{
    const std::string rtf = Picture("wmetafile8", MetafileHex());
    SetRtfPictureCheck(nullptr);
    EXPECT_FALSE(RtfLooksSafe(rtf.data(), rtf.size()));
    SetRtfPictureCheck(RichTextPictureFits);
    EXPECT_TRUE(RtfLooksSafe(rtf.data(), rtf.size()));
}
