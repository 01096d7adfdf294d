#include "smtp/MimeText.h"

#include <windows.h>

#include <algorithm>

namespace Mime {

namespace {

const char HexDigits[] = "0123456789ABCDEF";
// Longest encoded word.
constexpr size_t MaxWordLength = 75;
// Longest quoted-printable line, soft break included.
constexpr size_t MaxEncodedLine = 76;
constexpr size_t WriterBuffer = 1 << 16;

// Bytes that stand for themselves inside a "Q" encoded word in any header
// position, also in a display name.
bool IsPlainWordChar(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '!' || c == '*' ||
           c == '+' || c == '-' || c == '/';
}

// Whether an encoded word may end before byte `index` without cutting a
// character of a multi-byte charset in two.
bool CanBreakBefore(const std::string& text, size_t index, bool utf8)
{
    if (index >= text.size())
        return true;
    const unsigned char c = static_cast<unsigned char>(text[index]);
    if (utf8)
        return (c & 0xC0) != 0x80;
    return !(index > 0 && IsDBCSLeadByte(static_cast<BYTE>(text[index - 1])) && !IsDBCSLeadByte(c));
}

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

bool HasEightBit(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

std::string EncodeText(const std::string& text, const std::string& charset)
{
    if (!HasEightBit(text))
        return text;
    const std::string prefix = "=?" + charset + "?Q?";
    const std::string suffix = "?=";
    const size_t room = MaxWordLength - prefix.size() - suffix.size();
    const bool utf8 = charset == "utf-8";
    std::string result, word;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        std::string piece;
        if (c == ' ')
            piece = "_";
        else if (IsPlainWordChar(c))
            piece = std::string(1, static_cast<char>(c));
        else
            piece = {'=', HexDigits[c >> 4], HexDigits[c & 15]};
        if (word.size() + piece.size() > room && CanBreakBefore(text, i, utf8) && !word.empty()) {
            result += (result.empty() ? "" : " ") + prefix + word + suffix;
            word.clear();
        }
        word += piece;
    }
    if (!word.empty())
        result += (result.empty() ? "" : " ") + prefix + word + suffix;
    return result;
}

std::string EncodeMailbox(const std::string& entry, const std::string& charset)
{
    const size_t angle = entry.find('<');
    const std::string name = entry.substr(0, angle == std::string::npos ? entry.size() : angle);
    if (angle == std::string::npos || !HasEightBit(name))
        return entry;
    std::string bare = Trimmed(name);
    if (bare.size() >= 2 && bare.front() == '"' && bare.back() == '"')
        bare = bare.substr(1, bare.size() - 2);
    return EncodeText(bare, charset) + " " + entry.substr(angle);
}

std::vector<std::string> BodyLines(const TStringList& body)
{
    std::vector<std::string> lines;
    for (const std::string& entry : body) {
        size_t start = 0;
        for (;;) {
            const size_t end = entry.find_first_of("\r\n", start);
            if (end == std::string::npos) {
                lines.push_back(entry.substr(start));
                break;
            }
            lines.push_back(entry.substr(start, end - start));
            start = end + (entry[end] == '\r' && end + 1 < entry.size() && entry[end + 1] == '\n' ? 2 : 1);
        }
    }
    return lines;
}

bool NeedsQuotedPrintable(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) {
        const size_t onWire = line.size() + (!line.empty() && line[0] == '.' ? 1 : 0);
        if (onWire > MaxLineLength || HasEightBit(line))
            return true;
    }
    return false;
}

std::string QuotedPrintable(const std::string& line)
{
    std::string result;
    size_t column = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        const bool last = i + 1 == line.size();
        std::string piece;
        if ((c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last))
            piece = std::string(1, static_cast<char>(c));
        else
            piece = {'=', HexDigits[c >> 4], HexDigits[c & 15]};
        // The last piece of the line needs no room for a soft break after it.
        const size_t room = last ? MaxEncodedLine : MaxEncodedLine - 1;
        if (column + piece.size() > room) {
            result += "=\r\n";
            column = 0;
        }
        result += piece;
        column += piece.size();
    }
    return result;
}

std::string FoldHeaderLine(const std::string& line)
{
    std::string result;
    size_t start = 0;         // where the rest of the line begins
    bool addedBlank = false;  // the next physical line begins with a blank of our own
    for (;;) {
        const size_t lead = addedBlank ? 1 : 0;
        if (line.size() - start + lead <= MaxLineLength)
            break;
        // One past the last byte that still fits on this physical line.
        const size_t limit = start + MaxLineLength - lead;
        const std::string blank = addedBlank ? " " : "";
        // After a comma, which stays on this line.
        const size_t comma = line.rfind(',', limit - 1);
        if (comma != std::string::npos && comma >= start && comma + 1 < line.size()) {
            result += blank + line.substr(start, comma + 1 - start) + "\r\n";
            start = comma + 1;
            addedBlank = line[start] != ' ' && line[start] != '\t';
            continue;
        }
        // Before a blank, which begins the next line.
        const size_t space = line.find_last_of(" \t", limit);
        if (space == std::string::npos || space <= start)
            break;
        result += blank + line.substr(start, space - start) + "\r\n";
        start = space;
        addedBlank = false;
    }
    return result + (addedBlank ? " " : "") + line.substr(start);
}

void TDataWriter::Put(const char* data, size_t count)
{
    buffer_.append(data, count);
    if (buffer_.size() >= WriterBuffer)
        Flush();
}

void TDataWriter::Write(const char* data, size_t count)
{
    const char* end = data + count;
    const char* p = data;
    while (p < end) {
        const char c = *p;
        if (c == '\n' && afterCR_) {
            // The LF of a CR LF whose line break is written already.
            afterCR_ = false;
            ++p;
            continue;
        }
        afterCR_ = false;
        if (c == '\r' || c == '\n') {
            afterCR_ = c == '\r';
            Put("\r\n", 2);
            lineStart_ = true;
            ++p;
            continue;
        }
        if (lineStart_) {
            lineStart_ = false;
            if (c == '.')
                Put(".", 1);
        }
        const char* run = p;
        while (p < end && *p != '\r' && *p != '\n')
            ++p;
        Put(run, p - run);
    }
}

void TDataWriter::Flush()
{
    if (!buffer_.empty())
        output_.WriteBuffer(buffer_.data(), buffer_.size());
    buffer_.clear();
}

} // namespace Mime
