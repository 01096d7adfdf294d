#include "tests/imageviewer/PictureSamples.h"

#include "ui/GdiObjects.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

std::string SamplePath(const std::string& name)
{
    const char* folder = std::getenv("MIBOR8_IMAGE_SAMPLES");
    std::string path = std::string("Z:") + (folder ? folder : "/tmp/mibor8-image-samples") + "/" + name;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string WriteSample(const std::string& name, const std::vector<uint8_t>& data)
{
    CreateDirectoryA("C:\\mibor8-tests", nullptr);
    std::string path = "C:\\mibor8-tests\\" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return path;
}

static void Put(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> BitmapFile(int bitCount, bool topDown)
{
    const int width = 6, height = 4;
    const int stride = (width * bitCount + 31) / 32 * 4;
    const int colours = bitCount <= 8 ? 1 << bitCount : 0;
    std::vector<uint8_t> pixels(static_cast<size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        int row = topDown ? y : height - 1 - y;
        uint8_t* line = &pixels[static_cast<size_t>(row) * stride];
        for (int x = 0; x < width; ++x) {
            bool red = x == 0 && y == 0;
            if (bitCount == 1) {
                if (!red) // palette 0 black, 1 white: white except the corner
                    line[x / 8] |= 0x80 >> (x % 8);
            } else if (bitCount == 8) {
                line[x] = red ? 1 : 0; // palette 0 white, 1 red
            } else {
                uint8_t* p = line + x * (bitCount / 8);
                p[0] = red ? 0 : 255;
                p[1] = red ? 0 : 255;
                p[2] = 255;
            }
        }
    }
    std::vector<uint8_t> file = {'B', 'M'};
    const uint32_t bitsAt = 14 + 40 + colours * 4;
    Put(file, bitsAt + static_cast<uint32_t>(pixels.size()), 4);
    Put(file, 0, 4);
    Put(file, bitsAt, 4);
    Put(file, 40, 4);
    Put(file, width, 4);
    Put(file, static_cast<uint32_t>(topDown ? -height : height), 4);
    Put(file, 1, 2);
    Put(file, static_cast<uint32_t>(bitCount), 2);
    for (int i = 0; i < 6; ++i)
        Put(file, 0, 4);
    if (bitCount == 1) {
        Put(file, 0x000000, 4);
        Put(file, 0xFFFFFF, 4);
    } else if (bitCount == 8) {
        Put(file, 0xFFFFFF, 4);
        Put(file, 0xFF0000, 4); // RGBQUAD: blue, green, red -> 0x00RRGGBB
        for (int i = 2; i < 256; ++i)
            Put(file, 0x808080, 4);
    }
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

static void DrawSample(HDC dc)
{
    TOwnedBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    RECT top{0, 0, 80, 30};
    FillRect(dc, &top, red.Get());
    TOwnedBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
    RECT bottom{0, 30, 80, 60};
    FillRect(dc, &bottom, blue.Get());
    // Records with counts, strings and a bitmap, in the bottom half.
    const POINT triangle[] = {{5, 55}, {20, 35}, {35, 55}};
    Polygon(dc, triangle, 3);
    Polyline(dc, triangle, 3);
    TextOutA(dc, 40, 35, "Mi", 2);
    const DWORD pixels[4] = {0x00FF00, 0xFFFF00, 0x00FFFF, 0xFFFFFF};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, sizeof pixels, 0, 0, 0, 0};
    StretchDIBits(dc, 60, 40, 16, 16, 0, 0, 2, 2, pixels, &info, DIB_RGB_COLORS, SRCCOPY);
}

std::vector<uint8_t> EnhMetafileBytes()
{
    TWindowDC screen;
    // The frame in hundredths of millimetres of the screen's 80 x 60 pixels.
    int mmWidth = GetDeviceCaps(screen, HORZSIZE), mmHeight = GetDeviceCaps(screen, VERTSIZE);
    int pixelsWide = GetDeviceCaps(screen, HORZRES), pixelsHigh = GetDeviceCaps(screen, VERTRES);
    RECT frame{0, 0, MulDiv(80, mmWidth * 100, pixelsWide), MulDiv(60, mmHeight * 100, pixelsHigh)};
    HDC dc = CreateEnhMetaFileA(screen, nullptr, &frame, nullptr);
    DrawSample(dc);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    std::vector<uint8_t> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteEnhMetaFile(metafile);
    return bytes;
}

std::vector<uint8_t> WindowsMetafileBytes(bool placeable)
{
    HDC dc = CreateMetaFileA(nullptr);
    SetWindowExtEx(dc, 80, 60, nullptr);
    DrawSample(dc);
    HMETAFILE metafile = CloseMetaFile(dc);
    std::vector<uint8_t> bytes(GetMetaFileBitsEx(metafile, 0, nullptr));
    GetMetaFileBitsEx(metafile, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteMetaFile(metafile);
    if (!placeable)
        return bytes;
    std::vector<uint8_t> header;
    Put(header, 0x9AC6CDD7, 4);
    Put(header, 0, 2);
    for (uint32_t value : {0u, 0u, 80u, 60u})
        Put(header, value, 2);
    Put(header, 96, 2);
    Put(header, 0, 4);
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2)
        sum ^= static_cast<uint16_t>(header[i] | header[i + 1] << 8);
    Put(header, sum, 2);
    header.insert(header.end(), bytes.begin(), bytes.end());
    return header;
}

COLORREF PixelOf(const TGraphic& picture, int x, int y)
{
    TWindowDC screen;
    TOwnedBitmap canvas(CreateCompatibleBitmap(screen, picture.Width(), picture.Height()));
    TMemoryDC dc(screen);
    TSelectObject select(dc, canvas.Get());
    RECT all{0, 0, picture.Width(), picture.Height()};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    picture.Draw(dc, all);
    return GetPixel(dc, x, y);
}
