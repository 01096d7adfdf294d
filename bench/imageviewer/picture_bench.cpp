// Opens a JPEG file into a finished picture as the image viewer does
// (LoadPictureFile: the file read, decoded and made a bitmap), several times,
// and prints the fastest time; writes the last picture's pixels as a bitmap
// file so that the run can compare them with djpeg's.
//
// Usage: picture_bench FILE.jpg ROUNDS OUT.bmp
#include "imageviewer/PictureFiles.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    int rounds = std::atoi(argv[2]);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    double best = 1e9;
    std::unique_ptr<TGraphic> picture;
    for (int i = 0; i < rounds; ++i) {
        picture.reset();
        QueryPerformanceCounter(&start);
        picture = LoadPictureFile(argv[1]);
        QueryPerformanceCounter(&end);
        double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
        best = seconds < best ? seconds : best;
    }
    auto* bitmap = dynamic_cast<TBitmapGraphic*>(picture.get());
    DIBSECTION section{};
    if (!bitmap || GetObjectA(bitmap->Handle(), sizeof section, &section) != sizeof section)
        return 1;
    // A bitmap file of the pixels as they are held: bottom-up rows of blue, green, red.
    const BITMAPINFOHEADER& header = section.dsBmih;
    DWORD bits = static_cast<DWORD>(section.dsBm.bmWidthBytes) * section.dsBm.bmHeight;
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof header + bits), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof header};
    FILE* out = std::fopen(argv[3], "wb");
    if (!out)
        return 1;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(section.dsBm.bmBits, 1, bits, out);
    std::fclose(out);
    std::printf("%.6f %d %d\n", best, picture->Width(), picture->Height());
    return 0;
}
