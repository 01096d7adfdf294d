// The pictures of rich text pass the viewer's checks before the editor
// control draws them: it hands their bytes to the system as they are.
#include "imageviewer/PictureChecks.h"

bool RichTextPictureFits(TRtfPicture kind, const uint8_t* data, size_t size)
{
    switch (kind) {
    case TRtfPicture::WindowsMetafile: {
        TMetafileInfo info;
        return CheckWindowsMetafile(data, size, info, 96);
    }
    case TRtfPicture::EnhMetafile: {
        TEnhMetafileInfo info;
        return CheckEnhMetafile(data, size, info);
    }
    case TRtfPicture::Bitmap: {
        TDibParts parts;
        return CheckPackedDib(data, size, parts);
    }
    }
    return false;
}
