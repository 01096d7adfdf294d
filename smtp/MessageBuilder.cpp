// TSmtpClient::BuildMessage: the header lines and the message data of a send.
#include "smtp/MimeText.h"
#include "smtp/SmtpClient.h"

#include <windows.h>

#include <cstring>
#include <memory>

namespace {

// The MIME literals; their parameters begin in column 50.
const char* const TextPlainType = "Content-Type: text/plain;                        charset=";
const char* const MultipartType = "Content-Type: multipart/mixed;                   boundary=";
const char* const OctetStreamType = "Content-Type: application/octet-stream;          name=";
const char* const AttachmentDisposition = "Content-Disposition: attachment;                 filename=";
const char* const QuotedPrintableEncoding = "Content-Transfer-Encoding: quoted-printable";

// The time of day in the user's long time format, keeping only what a
// boundary may hold.
std::string BoundaryTime()
{
    wchar_t text[128] = L"";
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 128);
    std::string kept;
    for (const wchar_t* p = text; *p; ++p) {
        const wchar_t c = *p;
        if (c >= 0x80 || c == 0)
            continue;
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
            std::strchr("'()+_,-./:=? ", static_cast<char>(c)))
            kept += static_cast<char>(c);
    }
    return kept;
}

// A stream that hands what is written to it to the data writer, so that the
// encoder's lines go into the message data without another copy.
class TWriterStream : public TStream {
public:
    explicit TWriterStream(Mime::TDataWriter& out) : out_(out) {}
    size_t Read(void*, size_t) override { return 0; }
    size_t Write(const void* buffer, size_t count) override
    {
        out_.Write(static_cast<const char*>(buffer), count);
        written_ += count;
        return count;
    }
    // Only reports the count written; the data cannot be read back.
    int64_t Seek(int64_t, TSeekOrigin) override { return written_; }

private:
    Mime::TDataWriter& out_;
    int64_t written_ = 0;
};

} // namespace

void TSmtpClient::BuildMessage()
{
    RefuseLineBreaks();
    const TPostMessage& message = PostMessage;
    const std::string charset = Mime::TextCharset;

    FinalHeader.Clear();
    const std::string name = Mime::HasEightBit(message.FromName) ? Mime::EncodeText(message.FromName, charset) + " "
                                                                 : message.FromName;
    FinalHeader.Add("From: " + name + "<" + message.FromAddress + ">");
    AddAddressLine("To", message.ToAddress, charset);
    AddAddressLine("CC", message.ToCarbonCopy, charset);
    FinalHeader.SetHeaderValue("Subject", Mime::EncodeText(message.Subject, charset));
    FinalHeader.SetHeaderValue("X-Mailer", message.LocalProgram);
    if (!message.ReplyTo.empty())
        FinalHeader.SetHeaderValue("Reply-To", Mime::EncodeMailbox(message.ReplyTo, charset));
    if (!message.Date.empty())
        FinalHeader.SetHeaderValue("Date", message.Date);
    FinalHeader.Add("Mime-Version: 1.0");

    messageStream_.Clear();
    Mime::TDataWriter out(messageStream_);
    if (message.Attachments.Empty()) {
        WriteBody(out, charset, false);
        out.Flush();
        return;
    }
    boundary_ = "====================54535" + BoundaryTime() + "====";
    FinalHeader.Add(MultipartType + ("\"" + boundary_ + "\""));
    out.Write("--" + boundary_ + "\r\n");
    WriteBody(out, charset, true);
    // A handler may change the list while an attachment is encoded.
    const std::vector<std::string> attachments = message.Attachments.Items();
    for (const std::string& entry : attachments)
        WriteAttachment(out, entry, charset);
    out.Write("--" + boundary_ + "--\r\n");
    out.Flush();
}

void TSmtpClient::AddAddressLine(const char* name, const TStringList& entries, const std::string& charset)
{
    if (entries.Empty())
        return;
    std::string line = std::string(name) + ": ";
    for (int i = 0; i < entries.Count(); ++i)
        line += (i ? "," : "") + Mime::EncodeMailbox(entries[i], charset);
    FinalHeader.Add(line);
}

void TSmtpClient::WriteBody(Mime::TDataWriter& out, const std::string& charset, bool multipart)
{
    const std::vector<std::string> lines = Mime::BodyLines(PostMessage.Body);
    const bool quoted = Mime::NeedsQuotedPrintable(lines);
    bool eightBit = false;
    for (const std::string& line : lines)
        eightBit = eightBit || Mime::HasEightBit(line);
    const std::string type = TextPlainType + (eightBit ? charset : std::string("us-ascii"));

    if (multipart) {
        out.Write(type + "\r\n");
        if (quoted)
            out.Write(std::string(QuotedPrintableEncoding) + "\r\n");
        out.Write("\r\n");
    } else {
        FinalHeader.Add(type);
        if (quoted)
            FinalHeader.Add(QuotedPrintableEncoding);
    }
    for (const std::string& line : lines) {
        out.Write(quoted ? Mime::QuotedPrintable(line) : line);
        out.Write("\r\n");
    }
}

void TSmtpClient::WriteAttachment(Mime::TDataWriter& out, const std::string& entry, const std::string& charset)
{
    const std::string fileName = Mime::EncodeText(ExtractFileName(entry), charset);
    // Uuencoded lines are declared as what they are.
    const char* encoding = EncodeType == uuCode ? "x-uuencode" : "base64";
    out.Write("--" + boundary_ + "\r\n" + OctetStreamType + "\"" + fileName + "\"\r\n" +
              "Content-Transfer-Encoding: " + encoding + "\r\n" + AttachmentDisposition + "\"" + fileName +
              "\"\r\n\r\n");

    std::unique_ptr<TFileStream> input;
    try {
        input = std::make_unique<TFileStream>(entry, fmOpenRead);
    } catch (const EFOpenError&) {
        Fire(OnAttachmentNotFound, entry);
        throw;
    }
    const int64_t size = input->Size();
    if (size > 0)
        messageStream_.Reserve(messageStream_.DataSize() + (1 << 16) +
                               TUUProcessor::EncodedSize(EncodeType, static_cast<uint64_t>(size)));
    TWriterStream output(out);
    TUUProcessor processor(this);
    processor.Method = EncodeType;
    processor.InputStream = input.get();
    processor.OutputStream = &output;
    Fire(OnEncodeStart, entry);
    processor.Encode();
    Fire(OnEncodeEnd, entry);
}
