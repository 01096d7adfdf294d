#include "imageviewer/PictureFiles.h"

#include "imageviewer/JpegDecoder.h"
#include "imageviewer/PictureChecks.h"
#include "imageviewer/PictureGraphics.h"
#include "ui/Graphics.h"
#include "ui/Handles.h"
#include "ui/WideText.h"

namespace {

[[noreturn]] void Invalid() { throw EInvalidGraphic("Invalid picture"); }

// A 24-bit bitmap with bottom-up rows, its pixels written in place.
TOwnedBitmap NewDibSection(int width, int height, uint8_t** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    TOwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    *bits = bitmap ? static_cast<uint8_t*>(pixels) : nullptr;
    return bitmap;
}

class TDibSectionTarget : public TJpegTarget {
public:
    uint8_t* Allocate(int width, int height, int) noexcept override
    {
        uint8_t* bits = nullptr;
        bitmap = NewDibSection(width, height, &bits);
        return bits;
    }
    TOwnedBitmap bitmap;
};

std::unique_ptr<TGraphic> LoadJpeg(const std::vector<uint8_t>& data)
{
    return std::make_unique<TBitmapGraphic>(DecodeJpegBitmap(data));
}

std::unique_ptr<TGraphic> LoadBitmap(const std::vector<uint8_t>& data)
{
    TDibParts parts;
    if (!CheckBitmapFile(data.data(), data.size(), parts))
        Invalid();
    uint8_t* bits = nullptr;
    TOwnedBitmap bitmap = NewDibSection(parts.width, parts.height, &bits);
    if (!bitmap)
        Invalid();
    // The system converts any depth, run-length pixels and top-down rows.
    TWindowDC screen;
    int rows = SetDIBits(screen, bitmap.Get(), 0, static_cast<UINT>(parts.height), data.data() + parts.bitsOffset,
                         reinterpret_cast<const BITMAPINFO*>(parts.info.data()), DIB_RGB_COLORS);
    if (rows <= 0)
        Invalid();
    return std::make_unique<TBitmapGraphic>(std::move(bitmap));
}

std::unique_ptr<TGraphic> LoadIcon(const std::vector<uint8_t>& data)
{
    TIconImage image;
    if (!ChooseIconImage(data.data(), data.size(), image))
        Invalid();
    std::vector<uint8_t> bytes(data.begin() + image.offset, data.begin() + image.offset + image.size);
    TOwnedIcon icon(CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), TRUE, 0x00030000,
                                             image.width, image.height, LR_DEFAULTCOLOR));
    if (!icon)
        Invalid();
    return std::make_unique<TIconGraphic>(std::move(icon), image.width, image.height);
}

std::unique_ptr<TGraphic> LoadEnhMetafile(const std::vector<uint8_t>& data)
{
    TEnhMetafileInfo info;
    if (!CheckEnhMetafile(data.data(), data.size(), info) || !info.width || !info.height)
        Invalid();
    TOwnedEnhMetaFile metafile(SetEnhMetaFileBits(static_cast<UINT>(info.bytes), data.data()));
    if (!metafile)
        Invalid();
    return std::make_unique<TMetafileGraphic>(std::move(metafile), info.width, info.height);
}

std::unique_ptr<TGraphic> LoadWindowsMetafile(const std::vector<uint8_t>& data)
{
    TMetafileInfo info;
    int ppi = ScreenPixelsPerInch();
    if (!CheckWindowsMetafile(data.data(), data.size(), info, ppi))
        Invalid();
    // Known sizes are given in hundredths of millimetres; without one the
    // system measures the drawing.
    METAFILEPICT picture{MM_ANISOTROPIC, MulDiv(info.width, 2540, ppi), MulDiv(info.height, 2540, ppi), nullptr};
    TWindowDC screen;
    TOwnedEnhMetaFile metafile(SetWinMetaFileBits(static_cast<UINT>(info.bytes), data.data() + info.offset, screen,
                                                  info.width ? &picture : nullptr));
    if (!metafile)
        Invalid();
    int width = info.width, height = info.height;
    if (!width || !height) {
        ENHMETAHEADER header{};
        if (!GetEnhMetaFileHeader(metafile.Get(), sizeof header, &header))
            Invalid();
        width = header.rclBounds.right - header.rclBounds.left + 1;
        height = header.rclBounds.bottom - header.rclBounds.top + 1;
        if (width <= 0 || height <= 0 || width > 65535 || height > 65535)
            Invalid();
    }
    return std::make_unique<TMetafileGraphic>(std::move(metafile), width, height);
}

using TLoader = std::unique_ptr<TGraphic> (*)(const std::vector<uint8_t>&);

struct TFormatRow {
    TPictureFormat format;
    TLoader load;
};

const TFormatRow kFormats[] = {
    {{"bmp", "Bitmaps"}, LoadBitmap},
    {{"ico", "Icons"}, LoadIcon},
    {{"emf", "Enhanced Metafiles"}, LoadEnhMetafile},
    {{"wmf", "Metafiles"}, LoadWindowsMetafile},
    {{"jpg", "JPEG Image File"}, LoadJpeg},
    {{"jpeg", "JPEG Image File"}, LoadJpeg},
};

std::vector<uint8_t> ReadWholeFile(const std::string& fileName)
{
    TOwnedFile file(CreateFileW(ToWide(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw EInvalidGraphic("Cannot open file " + fileName);
    std::vector<uint8_t> data;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && static_cast<uint64_t>(size.QuadPart) <= kMaxPictureFileSize;
    if (ok) {
        data.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = data.empty() || (ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) &&
                              read == data.size());
    }
    file.Reset();
    if (!ok)
        throw EInvalidGraphic("Cannot read file " + fileName);
    return data;
}

} // namespace

TOwnedBitmap DecodeJpegBitmap(const std::vector<uint8_t>& data)
{
    TDibSectionTarget target;
    if (!DecodeJpeg(data.data(), data.size(), target) || !target.bitmap)
        Invalid();
    return std::move(target.bitmap);
}

const std::vector<TPictureFormat>& PictureFormats()
{
    static const std::vector<TPictureFormat> formats = [] {
        std::vector<TPictureFormat> list;
        for (const TFormatRow& row : kFormats)
            list.push_back(row.format);
        return list;
    }();
    return formats;
}

static const TFormatRow& FormatOf(const std::string& extension)
{
    std::string wanted = LowerCase(extension);
    if (!wanted.empty() && wanted[0] == '.')
        wanted.erase(0, 1);
    for (const TFormatRow& row : kFormats)
        if (wanted == row.format.extension)
            return row;
    throw EInvalidGraphic("Unknown picture file extension (." + wanted + ")");
}

std::unique_ptr<TGraphic> LoadPicture(const std::string& extension, const std::vector<uint8_t>& data)
{
    return FormatOf(extension).load(data);
}

std::unique_ptr<TGraphic> LoadPictureFile(const std::string& fileName)
{
    // The extension decides before the file is read.
    const TFormatRow& format = FormatOf(ExtractFileExt(fileName));
    return format.load(ReadWholeFile(fileName));
}
