// JPEG pictures decoded with libjpeg into 24-bit rows, the way libjpeg's own
// djpeg decodes them (accurate integer transform, smooth upsampling).
#pragma once

#include <cstddef>
#include <cstdint>

// Where decoded rows go: the decoder asks for the buffer once it knows the
// picture's size; rows are stored bottom-up (as in a bitmap), `stride` bytes
// apart, three bytes a pixel in the order blue, green, red.
class TJpegTarget {
public:
    virtual ~TJpegTarget() = default;
    // A buffer of height * stride bytes, or null when there is no room.
    // Must not throw: it is called between libjpeg's calls.
    virtual uint8_t* Allocate(int width, int height, int stride) noexcept = 0;
};

// Limits that keep a crafted file from taking unbounded time or memory.
constexpr int kJpegMaxScans = 500;
constexpr uint64_t kJpegMaxPixels = 50000000; // 50 megapixels

// Decodes a whole JPEG file held in memory into `target`. Any decoding error,
// any corrupt-data warning, a picture over the limits, too many progressive
// scans or a colour model the viewer cannot show gives false; nothing passes
// through libjpeg's frames but its own return path.
bool DecodeJpeg(const uint8_t* data, size_t size, TJpegTarget& target, int maxScans = kJpegMaxScans);

// Bytes a row of `width` 24-bit pixels takes in a bitmap (a multiple of 4).
inline int BitmapStride24(int width) { return (width * 3 + 3) & ~3; }
