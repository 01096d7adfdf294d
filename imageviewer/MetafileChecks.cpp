// Checks of enhanced and Windows metafiles: the header, every record's length,
// and the counts and offsets inside the records that carry them.
#include "imageviewer/ByteReader.h"
#include "imageviewer/PictureChecks.h"

namespace {

// ---- enhanced metafiles ----

constexpr uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr uint32_t kEmrHeader = 1, kEmrEof = 14, kEmrMax = 122;

// A packed bitmap inside a record: header at `bmiAt` of `bmiSize` bytes,
// pixels at `bitsAt` of `bitsSize` bytes. A record without a bitmap has both
// offsets and both sizes 0 (the system goes by the offset).
bool RecordBitmapFits(const TByteReader& record, size_t at)
{
    uint32_t bmiAt = record.U32(at), bmiSize = record.U32(at + 4);
    uint32_t bitsAt = record.U32(at + 8), bitsSize = record.U32(at + 12);
    if (!record.Has(at, 16))
        return false;
    if (bmiAt == 0 && bmiSize == 0 && bitsAt == 0 && bitsSize == 0)
        return true;
    if (!record.Has(bmiAt, bmiSize) || !record.Has(bitsAt, bitsSize) || bmiSize < 12)
        return false;
    // The header and colour table as one packed bitmap followed by the pixels.
    TDibParts parts;
    const TByteReader header = record.Part(bmiAt, bmiSize);
    uint32_t headerSize = header.U32(0);
    if (headerSize > bmiSize)
        return false;
    // Join header and pixels in the checker's view: the pixels must cover
    // what the header describes.
    std::vector<uint8_t> packed(record.At(bmiAt), record.At(bmiAt) + bmiSize);
    packed.insert(packed.end(), record.At(bitsAt), record.At(bitsAt) + bitsSize);
    return CheckPackedDib(packed.data(), packed.size(), parts);
}

// Region data: a 32-byte header and `nCount` rectangles, inside `length` bytes.
bool RegionFits(const TByteReader& record, size_t at, uint32_t length)
{
    if (!record.Has(at, length))
        return false;
    if (length == 0)
        return true;
    uint32_t count = record.U32(at + 8);
    return length >= 32 && static_cast<uint64_t>(count) * 16 <= length - 32;
}

bool CountFits(const TByteReader& record, size_t countAt, uint64_t fixed, uint64_t each)
{
    return record.Has(countAt, 4) && fixed + each * record.U32(countAt) <= record.Size();
}

bool PolyPolyFits(const TByteReader& record, uint64_t pointSize)
{
    uint32_t polys = record.U32(24), points = record.U32(28);
    if (!record.Has(24, 8) || 32 + 4ull * polys + pointSize * points > record.Size())
        return false;
    uint64_t total = 0;
    for (uint32_t i = 0; i < polys; ++i)
        total += record.U32(32 + 4 * i);
    return total == points;
}

// Object indexes: records that make an object put it in a slot of the
// handle table, which has `handles` slots, slot 0 being the metafile's own;
// records that use an object name a slot or a stock object.
bool EmfHandleFits(uint32_t type, const TByteReader& r, uint32_t handles)
{
    constexpr uint32_t kStock = 0x80000000;
    size_t made = 0, used = 0;
    switch (type) {
    case 38: case 39: case 49: case 82: case 93: case 94: case 95: case 99: case 122: // pens, brushes, fonts...
        made = 8;
        break;
    case 37: case 40: case 48: case 50: case 51: case 100: case 101: // select, delete, palettes, colour spaces
        used = 8;
        break;
    case 71: case 72: // fill and frame region with a brush
        used = 28;
        break;
    default:
        return true;
    }
    if (made) {
        uint32_t slot = r.U32(made);
        return r.Has(made, 4) && slot >= 1 && slot < handles;
    }
    uint32_t slot = r.U32(used);
    return r.Has(used, 4) && ((slot & kStock) ? (slot & ~kStock) <= 19 : slot < handles);
}

// The counts and offsets of the records that carry them.
bool EmfRecordFits(uint32_t type, const TByteReader& r)
{
    switch (type) {
    case 2: case 3: case 4: case 5: case 6: // poly-Bézier, polygon, polyline and their "to" forms
        return CountFits(r, 24, 28, 8);
    case 85: case 86: case 87: case 88: case 89: // the same with 16-bit points
        return CountFits(r, 24, 28, 4);
    case 7: case 8:
        return PolyPolyFits(r, 8);
    case 90: case 91:
        return PolyPolyFits(r, 4);
    case 56: // poly-draw: points and a type byte each
        return CountFits(r, 24, 28, 9);
    case 92:
        return CountFits(r, 24, 28, 5);
    case 49: // create palette
        return r.Has(12, 4) && 16 + 4ull * r.U16(14) <= r.Size();
    case 50: // set palette entries
        return CountFits(r, 16, 20, 4);
    case 70: // comment
        return CountFits(r, 8, 12, 1);
    case 71: // fill region
        return r.Has(24, 8) && RegionFits(r, 32, r.U32(24));
    case 72: // frame region
        return r.Has(24, 16) && RegionFits(r, 40, r.U32(24));
    case 73: case 74: // invert region, paint region
        return r.Has(24, 4) && RegionFits(r, 28, r.U32(24));
    case 75: // select clipping region
        return r.Has(8, 8) && RegionFits(r, 16, r.U32(8));
    case 76: // bit blit
        return r.Has(0, 100) && RecordBitmapFits(r, 84);
    case 77: case 114: case 116: // stretch, alpha and transparent blits
        return r.Has(0, 108) && RecordBitmapFits(r, 84);
    case 78: // mask blit
        return r.Has(0, 128) && RecordBitmapFits(r, 84) && RecordBitmapFits(r, 112);
    case 79: // parallelogram blit
        return r.Has(0, 140) && RecordBitmapFits(r, 96) && RecordBitmapFits(r, 124);
    case 80: // set bits to the device
        return r.Has(0, 76) && RecordBitmapFits(r, 48);
    case 81: // stretch bits
        return r.Has(0, 80) && RecordBitmapFits(r, 48);
    case 93: case 94: // monochrome and pattern brushes
        return r.Has(0, 32) && RecordBitmapFits(r, 16);
    case 95: // extended pen: a bitmap, then style entries
        return r.Has(0, 52) && RecordBitmapFits(r, 12) && CountFits(r, 48, 52, 4);
    case 82: // font
        return r.Has(0, 12 + 92);
    case 83: case 84: { // text out, 8-bit and 16-bit characters
        if (!r.Has(0, 76))
            return false;
        uint64_t chars = r.U32(44), charSize = type == 84 ? 2 : 1;
        uint32_t textAt = r.U32(48), dxAt = r.U32(72), options = r.U32(52);
        uint64_t dxSize = chars * 4 * ((options & 0x2000) ? 2 : 1); // ETO_PDY: two values a character
        return r.Has(textAt, chars * charSize) && (dxAt == 0 || r.Has(dxAt, dxSize));
    }
    case 96: case 97: case 108: // poly text out and small text out: not checked deeply, refused
        return false;
    default:
        return true;
    }
}

int Bounded(double pixels)
{
    return pixels >= 1 && pixels <= 65535 ? static_cast<int>(pixels + 0.5) : 0;
}

// ---- Windows metafiles ----

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

bool WmfDibFits(const TByteReader& r, size_t at)
{
    if (!r.Has(at, 12))
        return false;
    TDibParts parts;
    return CheckPackedDib(r.At(at), r.Size() - at, parts);
}

// The counts, strings and bitmaps of the records that carry them; `r` is one
// record, its parameters from byte 6.
bool WmfRecordFits(uint16_t function, const TByteReader& r, uint16_t objects)
{
    const uint64_t size = r.Size();
    switch (function) {
    case 0x0324: case 0x0325: // polygon, polyline
        return r.Has(6, 2) && 8 + 4ull * r.U16(6) <= size;
    case 0x0538: { // poly-polygon
        uint16_t polys = r.U16(6);
        if (!r.Has(6, 2) || 8 + 2ull * polys > size)
            return false;
        uint64_t points = 0;
        for (uint16_t i = 0; i < polys; ++i)
            points += r.U16(8 + 2 * i);
        return 8 + 2ull * polys + 4 * points <= size;
    }
    case 0x0521: { // text out: count, string padded to a word, y, x
        uint16_t count = r.U16(6);
        return r.Has(6, 2) && 8 + (count + 1ull) / 2 * 2 + 4 <= size;
    }
    case 0x0A32: { // extended text out: y, x, count, options, [rectangle], string, [advances]
        uint16_t count = r.U16(10), options = r.U16(12);
        uint64_t at = 14 + ((options & 0x0006) ? 8 : 0);
        return r.Has(6, 8) && at + count <= size;
    }
    case 0x0940: // bitmap blit: 24 bytes without a bitmap, else one from byte 22
        return size == 24 || WmfDibFits(r, 22);
    case 0x0B41: // stretched blit: 28 bytes without a bitmap, else one from byte 26
        return size == 28 || WmfDibFits(r, 26);
    case 0x0F43: // stretch bitmap
        return WmfDibFits(r, 28);
    case 0x0D33: // set bitmap bits to the device
        return WmfDibFits(r, 24);
    case 0x0142: // pattern brush from a bitmap
        return WmfDibFits(r, 10);
    case 0x00F7: case 0x0037: case 0x0436: // create, set and animate palette
        return r.Has(6, 4) && 10 + 4ull * r.U16(8) <= size;
    case 0x0626: // escape: function, count, data
        return r.Has(6, 4) && 10 + static_cast<uint64_t>(r.U16(8)) <= size;
    case 0x02FB: // font
        return size >= 6 + 18;
    case 0x012D: case 0x01F0: case 0x0234: // select, delete and select palette: an object's slot
        return r.Has(6, 2) && r.U16(6) < objects;
    case 0x06FF: // region: not checked deeply, refused
    case 0x0922: case 0x0B23: case 0x01F9: case 0x06FE: case 0x02FD: // old device-dependent bitmaps
        return false;
    default:
        return true;
    }
}

} // namespace

bool CheckEnhMetafile(const uint8_t* data, size_t size, TEnhMetafileInfo& info)
{
    TByteReader file(data, size);
    if (!file.Has(0, 88) || file.U32(0) != kEmrHeader || file.U32(40) != kEmfSignature)
        return false;
    uint32_t headerSize = file.U32(4), bytes = file.U32(48), records = file.U32(52), handles = file.U16(56);
    if (headerSize < 88 || headerSize % 4 || headerSize > bytes || !file.Has(0, bytes))
        return false;
    TByteReader meta = file.Part(0, bytes);
    uint32_t descriptionChars = meta.U32(60), descriptionAt = meta.U32(64);
    if (descriptionChars && (descriptionAt < 88 || !meta.Part(0, headerSize).Has(descriptionAt, 2ull * descriptionChars)))
        return false;
    if (headerSize >= 100 && meta.U32(88) && !meta.Part(0, headerSize).Has(meta.U32(92), meta.U32(88)))
        return false;
    // Every record inside the file, the last one its end.
    size_t at = headerSize;
    uint32_t counted = 1, last = kEmrHeader;
    while (at < bytes) {
        uint32_t type = meta.U32(at), length = meta.U32(at + 4);
        if (!meta.Has(at, 8) || length < 8 || length % 4 || !meta.Has(at, length) || type == 0 || type > kEmrMax ||
            type == kEmrHeader || last == kEmrEof)
            return false;
        TByteReader record = meta.Part(at, length);
        if (!EmfRecordFits(type, record) || !EmfHandleFits(type, record, handles))
            return false;
        if (type == kEmrEof) {
            uint32_t entries = record.U32(8), entriesAt = record.U32(12);
            if (!record.Has(0, 20) || (entries && !record.Has(entriesAt, 4ull * entries)))
                return false;
        }
        last = type;
        ++counted;
        at += length;
    }
    if (last != kEmrEof || counted != records)
        return false;

    // The size on the screen: the frame (hundredths of millimetres) through
    // the reference device's pixels per millimetre; else the drawing's bounds.
    int64_t frameWidth = static_cast<int64_t>(meta.I32(32)) - meta.I32(24);
    int64_t frameHeight = static_cast<int64_t>(meta.I32(36)) - meta.I32(28);
    int32_t deviceWidth = meta.I32(72), deviceHeight = meta.I32(76), mmWidth = meta.I32(80), mmHeight = meta.I32(84);
    info.bytes = bytes;
    if (deviceWidth > 0 && deviceHeight > 0 && mmWidth > 0 && mmHeight > 0) {
        info.width = Bounded(frameWidth * static_cast<double>(deviceWidth) / (mmWidth * 100.0));
        info.height = Bounded(frameHeight * static_cast<double>(deviceHeight) / (mmHeight * 100.0));
    }
    if (!info.width || !info.height) {
        info.width = Bounded(static_cast<double>(meta.I32(16)) - meta.I32(8) + 1);
        info.height = Bounded(static_cast<double>(meta.I32(20)) - meta.I32(12) + 1);
    }
    return true;
}

bool CheckWindowsMetafile(const uint8_t* data, size_t size, TMetafileInfo& info, int screenPixelsPerInch)
{
    TByteReader file(data, size);
    info = TMetafileInfo{};
    if (file.U32(0) == kPlaceableKey) {
        if (!file.Has(0, 22))
            return false;
        uint16_t sum = 0;
        for (size_t i = 0; i < 20; i += 2)
            sum ^= file.U16(i);
        int inch = file.U16(14);
        int width = file.I16(10) - file.I16(6), height = file.I16(12) - file.I16(8);
        if (sum != file.U16(20) || inch == 0 || width <= 0 || height <= 0)
            return false;
        info.placeable = true;
        info.offset = 22;
        info.width = Bounded(static_cast<double>(width) * screenPixelsPerInch / inch);
        info.height = Bounded(static_cast<double>(height) * screenPixelsPerInch / inch);
        if (!info.width || !info.height)
            return false;
    }
    TByteReader meta = file.Part(info.offset, size - info.offset);
    uint16_t type = meta.U16(0), headerWords = meta.U16(2), version = meta.U16(4);
    uint64_t bytes = 2ull * meta.U32(6);
    uint32_t maxRecord = meta.U32(12);
    uint16_t objects = meta.U16(10);
    if (!meta.Has(0, 18) || (type != 1 && type != 2) || headerWords != 9 || (version != 0x100 && version != 0x300) ||
        bytes < 18 || !meta.Has(0, bytes))
        return false;
    meta = meta.Part(0, static_cast<size_t>(bytes));
    info.bytes = static_cast<size_t>(bytes);
    size_t at = 18;
    bool ended = false;
    while (at < bytes) {
        uint32_t words = meta.U32(at);
        uint16_t function = meta.U16(at + 4);
        if (ended || !meta.Has(at, 6) || words < 3 || words > maxRecord || !meta.Has(at, 2ull * words))
            return false;
        TByteReader record = meta.Part(at, 2 * words);
        if (!WmfRecordFits(function, record, objects))
            return false;
        if (function == 0x020C && !info.placeable) { // window extent: the size of a plain metafile
            info.width = Bounded(record.I16(8));
            info.height = Bounded(record.I16(6));
        }
        ended = function == 0;
        at += 2 * words;
    }
    return ended;
}
