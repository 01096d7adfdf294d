// Reading picture files for the image viewer: the file's extension, in any
// letter case, chooses the format; every failure raises EInvalidGraphic.
#pragma once

#include "ui/ExtCtrls.h"
#include "ui/SysUtils.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// The formats the viewer reads, with the description each is registered under.
struct TPictureFormat {
    const char* extension; // lower case, without the dot
    const char* description;
};
const std::vector<TPictureFormat>& PictureFormats();

// The picture in a file.
std::unique_ptr<TGraphic> LoadPictureFile(const std::string& fileName);
// The picture in a file's bytes, read as the format of `extension` ("jpg", "BMP").
std::unique_ptr<TGraphic> LoadPicture(const std::string& extension, const std::vector<uint8_t>& data);

// A JPEG file's bytes decoded into a 24-bit bitmap.
TOwnedBitmap DecodeJpegBitmap(const std::vector<uint8_t>& data);
