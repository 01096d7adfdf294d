#include "mainform/WordListFile.h"

#include "ui/Classes.h"
#include "ui/SysUtils.h"
#include "ui/TextEncoding.h"
#include "ui/WideText.h"

#include <cstring>
#include <limits>

std::vector<std::string> SplitWordList(const char* data, size_t size)
{
    std::vector<std::string> entries;
    const char* end = data + size;
    const char* line = data;
    while (line < end) {
        const char* stop = line;
        while (stop < end && *stop != '\r' && *stop != '\n')
            ++stop;
        const char* nul = static_cast<const char*>(std::memchr(line, '\0', stop - line));
        entries.emplace_back(line, nul ? nul : stop);
        if (stop == end)
            break;
        line = stop + (stop[0] == '\r' && stop + 1 < end && stop[1] == '\n' ? 2 : 1);
    }
    return entries;
}

std::string WordListBytes(const std::vector<std::string>& entries)
{
    size_t size = 0;
    for (const std::string& entry : entries)
        size += entry.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& entry : entries) {
        text += entry;
        text += "\r\n";
    }
    // The ANSI code page as ever where it holds every entry, else UTF-8,
    // marked so that every program reads it as such.
    std::wstring wide = ToWide(text);
    text.clear();
    bool exact = true;
    std::string bytes = EncodeText(wide, TTextFormat{}, &exact);
    if (!exact)
        bytes = EncodeText(std::move(wide), TTextFormat{TEncoding::Utf8, true});
    return bytes;
}

void WriteWordList(TStream& stream, const std::vector<std::string>& entries)
{
    stream.WriteString(WordListBytes(entries));
}

std::vector<std::string> ReadWordListFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead);
    int64_t size = file.Size();
    // A 32-bit process cannot hold a file of 2 GB or more in one piece.
    if (size < 0 || size >= std::numeric_limits<int32_t>::max())
        throw EOutOfResources("Out of memory");
    std::string bytes(static_cast<size_t>(size), '\0');
    file.ReadBuffer(&bytes[0], bytes.size());
    const TTextFormat format = DetectTextFormat(bytes.data(), bytes.size());
    if (format.encoding != TEncoding::Utf8 || format.bom)
        bytes = ToUtf8(DecodeText(bytes.data(), bytes.size(), format));
    return SplitWordList(bytes.data(), bytes.size());
}
