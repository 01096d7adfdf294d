#include "mainform/WordListFile.h"

#include "ui/Classes.h"
#include "ui/SysUtils.h"

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

void WriteWordList(TStream& stream, const std::vector<std::string>& entries)
{
    // In blocks: one write per entry would cost a system call each.
    const size_t kBlock = 1 << 16;
    std::string block;
    block.reserve(kBlock + 2);
    for (const std::string& entry : entries) {
        if (block.size() + entry.size() + 2 > kBlock && !block.empty()) {
            stream.WriteString(block);
            block.clear();
        }
        if (entry.size() + 2 > kBlock) {
            stream.WriteString(entry);
            stream.WriteString("\r\n");
            continue;
        }
        block += entry;
        block += "\r\n";
    }
    stream.WriteString(block);
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
    return SplitWordList(bytes.data(), bytes.size());
}
