// The checks that picture files pass before the system's graphics calls see
// them, on crafted headers; and the preview box's placing of a picture.
#include "imageviewer/PictureChecks.h"
#include "tests/imageviewer/PictureSamples.h"
#include "ui/ExtDlgs.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

void Set32(std::vector<uint8_t>& data, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        data[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void Set16(std::vector<uint8_t>& data, size_t at, uint16_t value)
{
    data[at] = static_cast<uint8_t>(value);
    data[at + 1] = static_cast<uint8_t>(value >> 8);
}

TEST(PictureChecks, CraftedBitmapHeadersAreRefused)
{
    const std::vector<uint8_t> good = BitmapFile(24, false);
    TDibParts parts;
    ASSERT_TRUE(CheckBitmapFile(good.data(), good.size(), parts));
    EXPECT_EQ(parts.width, 6);
    EXPECT_EQ(parts.height, 4);

    struct Case {
        const char* what;
        void (*craft)(std::vector<uint8_t>&);
    } cases[] = {
        {"100000 x 100000 pixels", [](std::vector<uint8_t>& b) { Set32(b, 18, 100000); Set32(b, 22, 100000); }},
        {"a width that overflows 32 bits with the height",
         [](std::vector<uint8_t>& b) { Set32(b, 18, 0x40000000); Set32(b, 22, 4); }},
        {"the pixels' offset past the end", [](std::vector<uint8_t>& b) { Set32(b, 10, 0x7FFFFFF0); }},
        {"the pixels' offset inside the header", [](std::vector<uint8_t>& b) { Set32(b, 10, 20); }},
        {"a header size past the end", [](std::vector<uint8_t>& b) { Set32(b, 14, 0x10000); }},
        {"an unknown compression", [](std::vector<uint8_t>& b) { Set32(b, 30, 4); }},
        {"more colours than the depth has", [](std::vector<uint8_t>& b) { Set16(b, 28, 8); Set32(b, 46, 300); }},
        {"rows cut short", [](std::vector<uint8_t>& b) { b.resize(b.size() - 3); }},
        {"top-down run-length pixels",
         [](std::vector<uint8_t>& b) { Set16(b, 28, 8); Set32(b, 30, 1); Set32(b, 22, static_cast<uint32_t>(-4)); }},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = good;
        c.craft(bytes);
        EXPECT_FALSE(CheckBitmapFile(bytes.data(), bytes.size(), parts)) << c.what;
    }
}

TEST(PictureChecks, RunLengthCodesStayInsideDataAndPicture)
{
    // A 4 x 2 picture of 8 bits, four colours, then the run-length codes.
    auto file = [](std::vector<uint8_t> codes) {
        std::vector<uint8_t> b = BitmapFile(8, false);
        b.resize(14 + 40 + 256 * 4);
        Set32(b, 18, 4);
        Set32(b, 22, 2);
        Set32(b, 30, 1);
        Set32(b, 34, static_cast<uint32_t>(codes.size()));
        b.insert(b.end(), codes.begin(), codes.end());
        return b;
    };
    TDibParts parts;
    std::vector<uint8_t> good = file({4, 1, 0, 0, 2, 2, 0, 2, 2, 1, 0, 0, 0, 1});
    EXPECT_TRUE(CheckBitmapFile(good.data(), good.size(), parts));
    const std::vector<uint8_t> bad[] = {
        {0, 0, 0, 0, 0, 0, 1, 1}, // a run below the last row
        {0, 6, 1, 1},             // literal pixels past the data
        {0, 2, 0, 9},             // a move below the picture
        {4},                      // half a code
    };
    for (const auto& codes : bad) {
        std::vector<uint8_t> bytes = file(codes);
        EXPECT_FALSE(CheckBitmapFile(bytes.data(), bytes.size(), parts));
    }
}

TEST(PictureChecks, MetafileRecordsMustLieInsideTheFile)
{
    TEnhMetafileInfo enhanced;
    std::vector<uint8_t> emf = EnhMetafileBytes();
    ASSERT_TRUE(CheckEnhMetafile(emf.data(), emf.size(), enhanced));
    EXPECT_EQ(enhanced.width, 80);
    EXPECT_EQ(enhanced.height, 60);
    const uint32_t headerSize = emf[4] | emf[5] << 8;
    const size_t firstRecord = headerSize;
    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
    } emfCases[] = {
        {"total size past the end", 48, 0x00FFFFFF},
        {"header size past the total", 4, 0x00FFFF00},
        {"a record size past the end", firstRecord + 4, 0x7FFFFFF0},
        {"a record size of zero", firstRecord + 4, 0},
        {"a record size not a multiple of 4", firstRecord + 4, 10},
        {"a record count that does not match", 52, 1000},
        {"a description past the header", 64, 0x1000},
    };
    for (const Case& c : emfCases) {
        std::vector<uint8_t> bytes = emf;
        if (c.at == 64)
            Set32(bytes, 60, 4);
        Set32(bytes, c.at, c.value);
        EXPECT_FALSE(CheckEnhMetafile(bytes.data(), bytes.size(), enhanced)) << c.what;
    }

    TMetafileInfo plain;
    for (bool placeable : {false, true}) {
        std::vector<uint8_t> wmf = WindowsMetafileBytes(placeable);
        ASSERT_TRUE(CheckWindowsMetafile(wmf.data(), wmf.size(), plain, 96)) << placeable;
        EXPECT_EQ(plain.width, 80);
        EXPECT_EQ(plain.height, 60);
        const size_t meta = placeable ? 22 : 0;
        std::vector<uint8_t> bytes = wmf;
        Set32(bytes, meta + 18, 0x00FFFFFF); // the first record's length in words
        EXPECT_FALSE(CheckWindowsMetafile(bytes.data(), bytes.size(), plain, 96)) << "record past the end";
        bytes = wmf;
        Set32(bytes, meta + 6, 0x00FFFFFF); // the whole size in words
        EXPECT_FALSE(CheckWindowsMetafile(bytes.data(), bytes.size(), plain, 96)) << "size past the end";
        bytes = wmf;
        bytes.resize(bytes.size() - 6); // no end record
        Set32(bytes, meta + 6, static_cast<uint32_t>((bytes.size() - meta) / 2));
        EXPECT_FALSE(CheckWindowsMetafile(bytes.data(), bytes.size(), plain, 96)) << "no end record";
    }
    std::vector<uint8_t> sumWrong = WindowsMetafileBytes(true);
    sumWrong[20] ^= 1;
    EXPECT_FALSE(CheckWindowsMetafile(sumWrong.data(), sumWrong.size(), plain, 96));
}

TEST(PictureChecks, IconEntriesMustLieInsideTheFile)
{
    std::vector<uint8_t> icon = ReadBytes(SamplePath("sizes.ico"));
    TIconImage image;
    ASSERT_TRUE(ChooseIconImage(icon.data(), icon.size(), image));
    EXPECT_EQ(image.width, 48); // the largest of 16, 32 and 48
    const size_t second = 6 + 16;
    const std::pair<size_t, uint32_t> cases[] = {
        {second + 12, 0x7FFFFFF0}, // the second image's offset
        {second + 8, 0x7FFFFFF0},  // its length
        {4, 60000},                // more entries than the file holds (16 bits)
    };
    for (const auto& [at, value] : cases) {
        std::vector<uint8_t> bytes = icon;
        at == 4 ? Set16(bytes, at, static_cast<uint16_t>(value)) : Set32(bytes, at, value);
        EXPECT_FALSE(ChooseIconImage(bytes.data(), bytes.size(), image)) << at;
    }
}

TEST(PreviewPlace, FitsUnscaledInTheCentreElseScaledInsideTheBox)
{
    struct Case {
        int boxWidth, boxHeight, width, height;
        TPreviewPlace expected;
    } cases[] = {
        {100, 100, 40, 20, {30, 40, 40, 20}},     // fits: centred, unscaled
        {100, 100, 100, 100, {0, 0, 100, 100}},   // exactly the box
        {100, 100, 400, 200, {0, 0, 100, 50}},    // wider than high: the full width
        {100, 100, 200, 400, {0, 0, 50, 100}},    // higher than wide: the full height
        {100, 100, 300, 300, {0, 0, 100, 100}},   // square: the full height
        {200, 50, 400, 300, {0, 0, 66, 50}},      // wide but a flat box: kept inside the box
        {50, 200, 300, 400, {0, 0, 50, 66}},      // high but a narrow box: kept inside
        {100, 100, 100000, 1, {0, 0, 100, 1}},    // a line stays at least a pixel high
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        TPreviewPlace place = PreviewPlace(c.boxWidth, c.boxHeight, c.width, c.height);
        EXPECT_EQ(std::tie(place.left, place.top, place.width, place.height),
                  std::tie(c.expected.left, c.expected.top, c.expected.width, c.expected.height));
        EXPECT_LE(place.left + place.width, c.boxWidth);
        EXPECT_LE(place.top + place.height, c.boxHeight);
    }
}

} // namespace
