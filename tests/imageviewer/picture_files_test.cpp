// Reading picture files: every kind the viewer shows, JPEG pixels as djpeg
// decodes them, and bad input of every sort refused without harm.
#include "imageviewer/JpegDecoder.h"
#include "imageviewer/PictureFiles.h"
#include "imageviewer/PictureGraphics.h"
#include "tests/imageviewer/PictureSamples.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

// djpeg's PPM (colour) or PGM (grey) output: its pixels as red, green, blue.
std::vector<uint8_t> ReferencePixels(const std::string& name, int& width, int& height)
{
    std::vector<uint8_t> file = ReadBytes(SamplePath(name + ".ref"));
    std::string text(file.begin(), file.begin() + std::min<size_t>(file.size(), 64));
    int channels = text.compare(0, 2, "P6") == 0 ? 3 : 1;
    int maximum = 0, consumed = 0;
    if (std::sscanf(text.c_str() + 2, "%d %d %d%n", &width, &height, &maximum, &consumed) != 3)
        return {};
    size_t at = 2 + consumed + 1;
    std::vector<uint8_t> rgb;
    for (size_t i = at; i + channels <= file.size(); i += channels)
        for (int c = 0; c < 3; ++c)
            rgb.push_back(file[i + (channels == 3 ? c : 0)]);
    return rgb;
}

// The decoded bitmap's pixels as red, green, blue, top row first.
std::vector<uint8_t> BitmapPixels(HBITMAP bitmap, int& width, int& height)
{
    DIBSECTION section{};
    if (GetObjectA(bitmap, sizeof section, &section) != sizeof section)
        return {};
    width = section.dsBm.bmWidth;
    height = section.dsBm.bmHeight;
    const auto* bits = static_cast<const uint8_t*>(section.dsBm.bmBits);
    std::vector<uint8_t> rgb;
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x)
            for (int c = 2; c >= 0; --c)
                rgb.push_back(bits[static_cast<size_t>(y) * section.dsBm.bmWidthBytes + x * 3 + c]);
    return rgb;
}

TEST(PictureFiles, JpegPixelsAreThoseOfDjpeg)
{
    for (const char* name : {"baseline.jpg", "progressive.jpg", "grey.jpg", "upsampled.jpg", "cmyk.jpg"}) {
        int refWidth = 0, refHeight = 0, width = 0, height = 0;
        std::vector<uint8_t> expected = ReferencePixels(name, refWidth, refHeight);
        ASSERT_FALSE(expected.empty()) << name;
        TOwnedBitmap bitmap = DecodeJpegBitmap(ReadBytes(SamplePath(name)));
        std::vector<uint8_t> got = BitmapPixels(bitmap.Get(), width, height);
        EXPECT_EQ(width, refWidth) << name;
        EXPECT_EQ(height, refHeight) << name;
        EXPECT_TRUE(got == expected) << name << ": the pixels differ from djpeg's";
    }
}

TEST(PictureFiles, EveryKindLoadsWithItsSizeAndColours)
{
    struct Case {
        std::string name;
        std::vector<uint8_t> bytes;
        int width, height;
        COLORREF topLeft;
    } cases[] = {
        {"one-bit.bmp", BitmapFile(1, false), 6, 4, RGB(0, 0, 0)},
        {"eight-bit.bmp", BitmapFile(8, false), 6, 4, RGB(255, 0, 0)},
        {"true-colour.bmp", BitmapFile(24, false), 6, 4, RGB(255, 0, 0)},
        {"thirty-two.bmp", BitmapFile(32, false), 6, 4, RGB(255, 0, 0)},
        {"top-down.bmp", BitmapFile(24, true), 6, 4, RGB(255, 0, 0)},
        {"rle8.bmp", ReadBytes(SamplePath("rle8.bmp")), 61, 47, CLR_INVALID},
        {"sizes.ico", ReadBytes(SamplePath("sizes.ico")), 48, 48, CLR_INVALID},
        {"drawing.emf", EnhMetafileBytes(), 80, 60, RGB(255, 0, 0)},
        {"placeable.wmf", WindowsMetafileBytes(true), 80, 60, RGB(255, 0, 0)},
        {"plain.wmf", WindowsMetafileBytes(false), 80, 60, RGB(255, 0, 0)},
        {"upper.JPG", ReadBytes(SamplePath("upper.JPG")), 61, 47, CLR_INVALID},
        {"mixed.Jpeg", ReadBytes(SamplePath("mixed.Jpeg")), 61, 47, CLR_INVALID},
        {"ICON.ICO", ReadBytes(SamplePath("sizes.ico")), 48, 48, CLR_INVALID},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TGraphic> picture;
        ASSERT_NO_THROW(picture = LoadPictureFile(WriteSample(c.name, c.bytes))) << c.name;
        EXPECT_EQ(picture->Width(), c.width) << c.name;
        EXPECT_EQ(picture->Height(), c.height) << c.name;
        if (c.topLeft != CLR_INVALID) {
            EXPECT_EQ(PixelOf(*picture, 0, 0) & 0xFFFFFF, c.topLeft) << c.name;
        }
    }
    // The RLE sample's pixels are those ImageMagick gave the bitmap.
    auto rle = LoadPictureFile(SamplePath("rle8.bmp"));
    EXPECT_NE(PixelOf(*rle, 30, 20), PixelOf(*rle, 0, 0));
}

TEST(PictureFiles, BadInputIsRefused)
{
    std::vector<uint8_t> hugeBitmap = BitmapFile(24, false);
    hugeBitmap[18] = 0xA0, hugeBitmap[19] = 0x86, hugeBitmap[20] = 0x01; // 100000 wide
    hugeBitmap[22] = 0xA0, hugeBitmap[23] = 0x86, hugeBitmap[24] = 0x01; // 100000 high
    std::vector<uint8_t> emfPastEnd = EnhMetafileBytes();
    emfPastEnd[48] = emfPastEnd[49] = emfPastEnd[50] = 0x7F;
    const struct {
        std::string name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty.jpg", {}},
        {"empty.bmp", {}},
        {"picture.gif", ReadBytes(SamplePath("picture.gif"))},
        {"gif-named.jpg", ReadBytes(SamplePath("picture.gif"))},
        {"cut.jpg", ReadBytes(SamplePath("cut.jpg"))},
        {"changed.jpg", ReadBytes(SamplePath("changed.jpg"))},
        {"scans-5000.jpg", ReadBytes(SamplePath("scans-5000.jpg"))},
        {"huge.bmp", hugeBitmap},
        {"past-end.emf", emfPastEnd},
        {"jpeg-named.bmp", ReadBytes(SamplePath("baseline.jpg"))},
        {"no-extension", BitmapFile(24, false)},
    };
    for (const auto& c : cases)
        EXPECT_THROW(LoadPictureFile(WriteSample(c.name, c.bytes)), EInvalidGraphic) << c.name;
    EXPECT_THROW(LoadPictureFile("C:\\mibor8-tests\\no such picture.jpg"), EInvalidGraphic);
}

class TNullTarget : public TJpegTarget {
public:
    uint8_t* Allocate(int width, int height, int stride) noexcept override
    {
        (void)width;
        buffer.assign(static_cast<size_t>(height) * stride, 0);
        return buffer.data();
    }
    std::vector<uint8_t> buffer;
};

TEST(PictureFiles, ProgressiveScansAreCountedAgainstTheLimit)
{
    std::vector<uint8_t> hundred = ReadBytes(SamplePath("scans-100.jpg"));
    TNullTarget target;
    EXPECT_TRUE(DecodeJpeg(hundred.data(), hundred.size(), target, 100));
    EXPECT_FALSE(DecodeJpeg(hundred.data(), hundred.size(), target, 99));
    std::vector<uint8_t> many = ReadBytes(SamplePath("scans-5000.jpg"));
    DWORD start = GetTickCount();
    EXPECT_FALSE(DecodeJpeg(many.data(), many.size(), target));
    EXPECT_LT(GetTickCount() - start, 5000u);
}

// A few hundred mutations of each sample: each is refused or shown, and
// drawing what was accepted does not harm the program.
TEST(PictureFiles, MutatedSamplesAreRefusedOrShown)
{
    const struct {
        const char* extension;
        std::vector<uint8_t> bytes;
    } samples[] = {
        {"jpg", ReadBytes(SamplePath("baseline.jpg"))},
        {"jpg", ReadBytes(SamplePath("progressive.jpg"))},
        {"jpg", ReadBytes(SamplePath("cmyk.jpg"))},
        {"bmp", BitmapFile(8, false)},
        {"bmp", BitmapFile(24, true)},
        {"bmp", ReadBytes(SamplePath("rle8.bmp"))},
        {"ico", ReadBytes(SamplePath("sizes.ico"))},
        {"emf", EnhMetafileBytes()},
        {"wmf", WindowsMetafileBytes(true)},
        {"wmf", WindowsMetafileBytes(false)},
    };
    std::mt19937 random(8);
    TWindowDC screen;
    TOwnedBitmap canvas(CreateCompatibleBitmap(screen, 64, 64));
    TMemoryDC dc(screen);
    TSelectObject select(dc, canvas.Get());
    for (const auto& sample : samples) {
        ASSERT_FALSE(sample.bytes.empty());
        int shown = 0;
        for (int round = 0; round < 250; ++round) {
            std::vector<uint8_t> bytes = sample.bytes;
            int changes = 1 + static_cast<int>(random() % 8);
            for (int i = 0; i < changes; ++i) {
                size_t at = random() % bytes.size();
                switch (random() % 4) {
                case 0: bytes[at] = static_cast<uint8_t>(random()); break;
                case 1: bytes[at] = 0xFF; break;
                case 2: bytes[at] = 0; break;
                default: bytes.resize(at + 1); break;
                }
            }
            try {
                std::unique_ptr<TGraphic> picture = LoadPicture(sample.extension, bytes);
                RECT rect{0, 0, 64, 64};
                picture->Draw(dc, rect);
                ++shown;
            } catch (const EInvalidGraphic&) {
            }
        }
        RecordProperty(std::string("shown_") + sample.extension, shown);
    }
}

} // namespace
