// Picture samples for the image viewer's tests: those made by the system's
// graphics calls here, and those that make_samples.py made with ImageMagick
// and cjpeg (in the folder named by MIBOR8_IMAGE_SAMPLES).
#pragma once

#include "ui/ExtCtrls.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The Windows path of a sample made by make_samples.py.
std::string SamplePath(const std::string& name);
std::vector<uint8_t> ReadBytes(const std::string& path);
// Writes a file under C:\mibor8-tests and returns its path.
std::string WriteSample(const std::string& name, const std::vector<uint8_t>& data);

// A 6 x 4 bitmap file whose top-left pixel is red and the rest white
// (black on white for 1 bit), of 1, 8, 24 or 32 bits a pixel.
std::vector<uint8_t> BitmapFile(int bitCount, bool topDown);
// An enhanced metafile of 80 x 60 pixels: a red rectangle over the top half.
std::vector<uint8_t> EnhMetafileBytes();
// The same drawing as a Windows metafile that sets its window extent, with
// or without the placeable header (96 units an inch).
std::vector<uint8_t> WindowsMetafileBytes(bool placeable);

// A picture drawn at its own size on white; the colour of one pixel.
COLORREF PixelOf(const TGraphic& picture, int x, int y);
