// The text rules of outgoing mail: line breaks and dot-stuffing of the data,
// quoted-printable bodies, encoded words in header values, folding of long
// header lines.
#pragma once

#include "ui/Classes.h"

#include <string>
#include <vector>

namespace Mime {

// Longest line a server must accept, line break not counted.
constexpr size_t MaxLineLength = 998;

// The charset of the program's text, and so of every 8-bit text it sends.
constexpr const char* TextCharset = "utf-8";

bool HasEightBit(const std::string& text);
bool HasLineBreak(const std::string& text);

// RFC 2047 encoded words ("=?charset?Q?...?=", each at most 75 characters,
// separated by blanks) for a text that holds 8-bit bytes; other texts unchanged.
std::string EncodeText(const std::string& text, const std::string& charset);
// A mailbox entry "name <address>" whose name holds 8-bit bytes gets the name as
// encoded words and one blank before "<"; other entries are unchanged.
std::string EncodeMailbox(const std::string& entry, const std::string& charset);

// The lines of a body: every entry, split at each CR LF, CR or LF inside it.
std::vector<std::string> BodyLines(const TStringList& body);
// Whether the lines must be sent quoted-printable: 8-bit bytes, or a line that
// would be longer than MaxLineLength on the wire.
bool NeedsQuotedPrintable(const std::vector<std::string>& lines);
// One text line as quoted-printable, soft line breaks keeping every encoded
// line at 76 characters at most; no final line break.
std::string QuotedPrintable(const std::string& line);

// A header line longer than MaxLineLength folded after a comma (CR LF and a
// blank follow it) or, where there is none, before a blank.
std::string FoldHeaderLine(const std::string& line);

// Writes message data: every CR, LF or CR LF becomes CR LF, and every line that
// begins with "." gets one more "." in front. Keeps its state between calls.
class TDataWriter {
public:
    explicit TDataWriter(TStream& output) : output_(output) {}
    ~TDataWriter() = default;
    TDataWriter(const TDataWriter&) = delete;
    TDataWriter& operator=(const TDataWriter&) = delete;

    void Write(const char* data, size_t count);
    void Write(const std::string& text) { Write(text.data(), text.size()); }
    // Passes the buffered bytes on to the output.
    void Flush();

private:
    void Put(const char* data, size_t count);

    TStream& output_;
    std::string buffer_;
    bool lineStart_ = true;
    bool afterCR_ = false;
};

} // namespace Mime
