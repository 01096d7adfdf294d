// The rich text the control would read from a stream or from the clipboard,
// checked before it does.
#include "ui/Classes.h"
#include "ui/Clipboard.h"
#include "ui/RtfCheck.h"

#include <cstring>
#include <vector>

bool RtfStreamLooksSafe(TStream& stream)
{
    TRtfScanner scanner;
    try {
        const int64_t start = stream.Position();
        std::vector<char> buffer(64 * 1024);
        while (scanner.Fault() == TRtfFault::None) {
            size_t got = stream.Read(buffer.data(), buffer.size());
            if (got == 0)
                break;
            scanner.Feed(buffer.data(), got);
        }
        stream.SetPosition(start);
    } catch (...) {
        return false;
    }
    return scanner.Finish() == TRtfFault::None;
}

bool ClipboardRtfLooksSafe()
{
    if (!IsClipboardFormatAvailable(RichTextClipboardFormat()))
        return true;
    std::string rtf;
    return TClipboard(nullptr).Read(RichTextClipboardFormat(), 1, rtf) && RtfLooksSafe(rtf.data(), rtf.size());
}
