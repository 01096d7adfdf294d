// Checks of picture files before the system's graphics calls see them: every
// size, offset, count and record length must lie inside the file, and sizes
// are computed in 64 bits and bounded, so that a crafted header can neither
// overflow an allocation nor send the system reading past the data.
#pragma once

#include "ui/RtfCheck.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The most pixels a picture of the viewer may have (about 150 MB as a bitmap).
constexpr uint64_t kMaxPicturePixels = 50000000;
// The largest picture file the viewer reads.
constexpr uint64_t kMaxPictureFileSize = 256ull * 1024 * 1024;

// A device-independent bitmap found valid, described as the system takes it:
// a plain info header with masks and colour table rebuilt from the file's
// header (whatever its version), and where the pixels lie.
struct TDibParts {
    std::vector<uint8_t> info; // BITMAPINFOHEADER, then masks or colour table
    size_t bitsOffset = 0;     // within the data given
    size_t bitsSize = 0;
    int width = 0, height = 0; // height positive
};

// A whole ".bmp" file: "BM", the file header, then a packed bitmap whose
// pixels start where the file header says.
bool CheckBitmapFile(const uint8_t* data, size_t size, TDibParts& parts);
// A packed bitmap (info header, colour table, pixels) of `size` bytes, as in
// metafile records; `bitsSize` 0 means the pixels follow the colour table and
// run to the end.
bool CheckPackedDib(const uint8_t* data, size_t size, TDibParts& parts);

// The image of an icon file chosen to be shown: the largest, and of two as
// large the one with more colours.
struct TIconImage {
    size_t offset = 0, size = 0;
    int width = 0, height = 0;
};
bool ChooseIconImage(const uint8_t* data, size_t size, TIconImage& image);

// An enhanced metafile: header, records and their counts and offsets.
// `width` and `height` are its size on the screen in pixels (0 when the
// header gives none that makes sense); `bytes` the length the header claims.
struct TEnhMetafileInfo {
    size_t bytes = 0;
    int width = 0, height = 0;
};
bool CheckEnhMetafile(const uint8_t* data, size_t size, TEnhMetafileInfo& info);

// A Windows metafile, placeable (with the 22-byte header that gives its size)
// or plain. `offset` and `bytes` locate the metafile proper; the size in
// pixels comes from the placeable header, else from the window extent its
// records set (0 when neither is there).
struct TMetafileInfo {
    size_t offset = 0, bytes = 0;
    int width = 0, height = 0;
    bool placeable = false;
};
bool CheckWindowsMetafile(const uint8_t* data, size_t size, TMetafileInfo& info, int screenPixelsPerInch);

// A picture of rich text, for the editor control (see SetRtfPictureCheck).
bool RichTextPictureFits(TRtfPicture kind, const uint8_t* data, size_t size);
