// Checks of bitmaps and icons, and the preview box's placing of a picture.
#include "imageviewer/ByteReader.h"
#include "imageviewer/PictureChecks.h"

#include <cstring>

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3;

// The fields of a bitmap header of any version, read once and checked.
struct THeader {
    uint32_t size = 0;
    int64_t width = 0, height = 0; // height negative for top-down rows
    uint16_t bitCount = 0;
    uint32_t compression = kRgb;
    uint32_t sizeImage = 0;
    uint32_t colours = 0;      // entries of the colour table
    bool core = false;         // the old 12-byte header with 3-byte colours
    size_t masksAt = 0;        // where the three colour masks are (0: none)
    size_t tableAt = 0;        // where the colour table starts
    size_t tableEnd = 0;       // where the table ends (the pixels may follow)
};

bool AllowedBitCount(uint16_t bits, uint32_t compression, bool core)
{
    switch (compression) {
    case kRgb:
        return bits == 1 || bits == 4 || bits == 8 || bits == 24 || (!core && (bits == 16 || bits == 32));
    case kRle8:
        return bits == 8;
    case kRle4:
        return bits == 4;
    case kBitfields:
        return bits == 16 || bits == 32;
    default:
        return false; // embedded JPEG or PNG pixels and anything unknown
    }
}

bool ReadHeader(const TByteReader& r, THeader& h)
{
    h.size = r.U32(0);
    if (!r.Has(0, h.size))
        return false;
    uint16_t planes;
    if (h.size == 12) {
        h.core = true;
        h.width = r.U16(4);
        h.height = r.U16(6);
        planes = r.U16(8);
        h.bitCount = r.U16(10);
    } else if (h.size == 40 || h.size == 52 || h.size == 56 || h.size == 108 || h.size == 124) {
        h.width = r.I32(4);
        h.height = r.I32(8);
        planes = r.U16(12);
        h.bitCount = r.U16(14);
        h.compression = r.U32(16);
        h.sizeImage = r.U32(20);
        h.colours = r.U32(32);
    } else {
        return false;
    }
    if (planes != 1 || h.width <= 0 || h.height == 0 || !AllowedBitCount(h.bitCount, h.compression, h.core))
        return false;
    int64_t rows = h.height < 0 ? -h.height : h.height;
    if (static_cast<uint64_t>(h.width) * static_cast<uint64_t>(rows) > kMaxPicturePixels)
        return false;
    // Run-length pixels are stored bottom-up only.
    if ((h.compression == kRle8 || h.compression == kRle4) && h.height < 0)
        return false;
    if (h.bitCount <= 8) {
        uint32_t full = 1u << h.bitCount;
        if (h.colours > full)
            return false;
        if (h.colours == 0)
            h.colours = full;
    } else if (h.colours > 256) {
        return false;
    }
    size_t at = h.size;
    if (h.compression == kBitfields) {
        if (h.size == 40) {
            h.masksAt = at;
            at += 12;
        } else {
            h.masksAt = 40;
        }
    }
    h.tableAt = at;
    h.tableEnd = at + static_cast<size_t>(h.colours) * (h.core ? 3 : 4);
    return r.Has(0, h.tableEnd);
}

uint64_t Stride(int64_t width, int bitCount) { return (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4; }

// Walks run-length pixels: every code inside the data and every row drawn
// inside the picture (runs past a row's end are cut off by the system, and
// encoders write them for the padding). `used` is the length up to the
// end-of-bitmap code.
bool WalkRunLengths(const TByteReader& r, int64_t height, bool rle4, size_t& used)
{
    size_t p = 0;
    int64_t y = 0;
    for (;;) {
        if (p == r.Size()) {
            used = p;
            return true;
        }
        if (!r.Has(p, 2))
            return false;
        uint8_t count = r.U8(p), code = r.U8(p + 1);
        p += 2;
        if (count > 0) {
            if (y >= height)
                return false;
        } else if (code == 0) { // end of line
            ++y;
        } else if (code == 1) { // end of bitmap
            used = p;
            return true;
        } else if (code == 2) { // move right and up
            if (!r.Has(p, 2))
                return false;
            y += r.U8(p + 1);
            p += 2;
            if (y > height)
                return false;
        } else { // `code` pixels given one by one, padded to a whole word
            size_t bytes = rle4 ? (code + 1u) / 2 : code;
            bytes += bytes & 1;
            if (!r.Has(p, bytes))
                return false;
            p += bytes;
            if (y >= height)
                return false;
        }
    }
}

void Append32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The plain header, masks and colour table the system is given.
std::vector<uint8_t> RebuiltInfo(const TByteReader& r, const THeader& h, uint32_t sizeImage)
{
    std::vector<uint8_t> info;
    Append32(info, 40);
    Append32(info, static_cast<uint32_t>(h.width));
    Append32(info, static_cast<uint32_t>(h.height));
    Append32(info, 1u | static_cast<uint32_t>(h.bitCount) << 16);
    Append32(info, h.compression);
    Append32(info, sizeImage);
    Append32(info, 0);
    Append32(info, 0);
    Append32(info, h.bitCount <= 8 ? h.colours : 0);
    Append32(info, 0);
    if (h.masksAt)
        for (int i = 0; i < 3; ++i)
            Append32(info, r.U32(h.masksAt + 4 * i));
    if (h.bitCount <= 8) {
        for (uint32_t i = 0; i < h.colours; ++i) {
            size_t at = h.tableAt + i * (h.core ? 3 : 4);
            Append32(info, r.U8(at) | r.U8(at + 1) << 8 | r.U8(at + 2) << 16);
        }
    }
    return info;
}

// The pixels at [bitsAt, end of `r`) for header `h`.
bool CheckPixels(const TByteReader& r, const THeader& h, size_t bitsAt, TDibParts& parts)
{
    if (bitsAt < h.tableEnd || bitsAt > r.Size())
        return false;
    size_t available = r.Size() - bitsAt;
    int64_t rows = h.height < 0 ? -h.height : h.height;
    size_t bitsSize;
    if (h.compression == kRle8 || h.compression == kRle4) {
        size_t given = h.sizeImage && h.sizeImage <= available ? h.sizeImage : available;
        if (!WalkRunLengths(r.Part(bitsAt, given), rows, h.compression == kRle4, bitsSize) || bitsSize == 0)
            return false;
    } else {
        uint64_t needed = Stride(h.width, h.bitCount) * static_cast<uint64_t>(rows);
        if (needed > available)
            return false;
        bitsSize = static_cast<size_t>(needed);
    }
    parts.info = RebuiltInfo(r, h, h.compression == kRgb || h.compression == kBitfields
                                       ? 0 : static_cast<uint32_t>(bitsSize));
    parts.bitsOffset = bitsAt;
    parts.bitsSize = bitsSize;
    parts.width = static_cast<int>(h.width);
    parts.height = static_cast<int>(rows);
    return true;
}

uint32_t BigEndian32(const TByteReader& r, size_t at)
{
    return static_cast<uint32_t>(r.U8(at)) << 24 | r.U8(at + 1) << 16 | r.U8(at + 2) << 8 | r.U8(at + 3);
}

// One image of an icon file: a PNG stream or a bitmap of twice the height
// (colour pixels, then the transparency mask), wholly inside its entry.
bool MeasureIconImage(const TByteReader& image, int& width, int& height, int& bitCount)
{
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (image.Has(0, 8) && std::memcmp(image.At(0), kPng, 8) == 0) {
        if (!image.Has(0, 33) || BigEndian32(image, 8) != 13 || std::memcmp(image.At(12), "IHDR", 4) != 0)
            return false;
        uint32_t w = BigEndian32(image, 16), h = BigEndian32(image, 20);
        if (w == 0 || h == 0 || w > 1024 || h > 1024)
            return false;
        width = static_cast<int>(w);
        height = static_cast<int>(h);
        bitCount = 32;
        return true;
    }
    if (image.U32(0) != 40)
        return false;
    THeader h;
    if (!ReadHeader(image, h) || h.compression != kRgb || h.height <= 0 || h.height % 2 || h.width > 1024 ||
        h.height > 2048)
        return false;
    int64_t rows = h.height / 2;
    uint64_t needed = h.tableEnd + (Stride(h.width, h.bitCount) + Stride(h.width, 1)) * static_cast<uint64_t>(rows);
    if (needed > image.Size())
        return false;
    width = static_cast<int>(h.width);
    height = static_cast<int>(rows);
    bitCount = h.bitCount;
    return true;
}

} // namespace

bool CheckBitmapFile(const uint8_t* data, size_t size, TDibParts& parts)
{
    TByteReader file(data, size);
    if (!file.Has(0, 14 + 12) || file.U8(0) != 'B' || file.U8(1) != 'M')
        return false;
    TByteReader dib = file.Part(14, size - 14);
    THeader h;
    uint32_t bitsAt = file.U32(10);
    if (!ReadHeader(dib, h) || bitsAt < 14)
        return false;
    if (!CheckPixels(dib, h, bitsAt - 14, parts))
        return false;
    parts.bitsOffset += 14;
    return true;
}

bool CheckPackedDib(const uint8_t* data, size_t size, TDibParts& parts)
{
    TByteReader dib(data, size);
    THeader h;
    return ReadHeader(dib, h) && CheckPixels(dib, h, h.tableEnd, parts);
}

bool ChooseIconImage(const uint8_t* data, size_t size, TIconImage& chosen)
{
    TByteReader file(data, size);
    uint16_t count = file.U16(4);
    if (!file.Has(0, 6) || file.U16(0) != 0 || file.U16(2) != 1 || count == 0 || !file.Has(6, 16u * count))
        return false;
    int bestBits = 0;
    uint64_t bestArea = 0;
    for (uint16_t i = 0; i < count; ++i) {
        size_t entry = 6 + 16u * i;
        uint32_t bytes = file.U32(entry + 8), offset = file.U32(entry + 12);
        if (offset < 6 + 16u * count || !file.Has(offset, bytes))
            return false;
        int width, height, bits;
        if (!MeasureIconImage(file.Part(offset, bytes), width, height, bits))
            return false;
        uint64_t area = static_cast<uint64_t>(width) * height;
        if (area > bestArea || (area == bestArea && bits > bestBits)) {
            bestArea = area;
            bestBits = bits;
            chosen = TIconImage{offset, bytes, width, height};
        }
    }
    return true;
}
