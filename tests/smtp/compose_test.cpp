// Composition: header lines, message data bytes, encoder output, text rules.
#include "FailureText.h"
#include "TempFiles.h"

#include "smtp/MimeText.h"
#include "smtp/SmtpClient.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

const std::string TextPlain = "Content-Type: text/plain;                        charset=us-ascii";
const std::string TextPlainPrefix = "Content-Type: text/plain;                        charset=";

std::string Data(const TSmtpClient& smtp) { return smtp.MessageStream().ToString(); }

std::string Encode(UUMethods method, const std::string& input)
{
    TMemoryStream in, out;
    in.WriteString(input);
    TUUProcessor processor;
    processor.Method = method;
    processor.InputStream = &in;
    processor.OutputStream = &out;
    processor.Encode();
    EXPECT_EQ(out.Position(), 0);
    EXPECT_EQ(out.DataSize(), TUUProcessor::EncodedSize(method, input.size()));
    return out.ToString();
}

std::string PartHeader(const std::string& boundary, const std::string& name, const char* encoding = "base64")
{
    return "--" + boundary + "\r\n" + "Content-Type: application/octet-stream;          name=\"" + name + "\"\r\n" +
           "Content-Transfer-Encoding: " + encoding + "\r\n" +
           "Content-Disposition: attachment;                 filename=\"" + name + "\"\r\n\r\n";
}

class Compose : public ::testing::Test {
protected:
    void SetUp() override
    {
        TPostMessage& m = smtp.PostMessage;
        m.FromAddress = "ann@example.com";
        m.FromName = "Ann Smith";
        m.ToAddress.Add("bob@example.com");
        m.ToAddress.Add("Carl <carl@example.com>");
        m.ToCarbonCopy.Add("dora@example.com");
        m.ToBlindCarbonCopy.Add("eve@example.com");
        m.Subject = "Hello";
        m.LocalProgram = "Mibor8";
        m.ReplyTo = "ann@home.example";
        m.Date = "12/8/2025";
    }

    TSmtpClient smtp;
    TTempFolder folder;
};

} // namespace

TEST_F(Compose, PlainMessageHasTheExactHeaderAndDotStuffedBody)
{
    smtp.PostMessage.Body = {"Line one", ".", "..two", "", "end ."};
    smtp.BuildMessage();
    const std::vector<std::string> expected = {
        "From: Ann Smith<ann@example.com>",
        "To: bob@example.com,Carl <carl@example.com>",
        "CC: dora@example.com",
        "Subject: Hello",
        "X-Mailer: Mibor8",
        "Reply-To: ann@home.example",
        "Date: 12/8/2025",
        "Mime-Version: 1.0",
        TextPlain,
    };
    EXPECT_EQ(smtp.FinalHeader.Items(), expected);
    EXPECT_EQ(Data(smtp), "Line one\r\n..\r\n...two\r\n\r\nend .\r\n");
    // Header lines, the empty line that ends them and one more before the body.
    EXPECT_EQ(smtp.HeaderBlock(), smtp.FinalHeader.Text() + "\r\n\r\n");
    EXPECT_EQ(smtp.HeaderBlock().find("eve@"), std::string::npos);
}

TEST_F(Compose, OptionalHeaderLinesEmptyNameAndEmptyEntries)
{
    TPostMessage& m = smtp.PostMessage;
    m.FromName.clear();
    m.ToAddress.Clear();
    m.ToCarbonCopy.Clear();
    m.Subject.clear();
    m.LocalProgram.clear();
    m.ReplyTo.clear();
    m.Date.clear();
    smtp.FinalHeader.Add("X-Old: from an earlier send");
    smtp.BuildMessage();
    const std::vector<std::string> expected = {"From: <ann@example.com>", "Mime-Version: 1.0", TextPlain};
    EXPECT_EQ(smtp.FinalHeader.Items(), expected);
    EXPECT_EQ(Data(smtp), "");
    // Empty entries stay in the address lines.
    m.ToCarbonCopy = {""};
    m.ToAddress = {"bob@example.com", "Nobody <>"};
    smtp.BuildMessage();
    EXPECT_EQ(smtp.FinalHeader[1], "To: bob@example.com,Nobody <>");
    EXPECT_EQ(smtp.FinalHeader[2], "CC: ");
}

TEST_F(Compose, AttachmentsMakeAMultipartMessage)
{
    const std::string empty = folder.Write("empty.dat", "");
    const std::string line45 = folder.Write("a\\same.bin", std::string(45, 'x'));
    const std::string line46 = folder.Write("b\\same.bin", std::string(46, 'x'));
    smtp.PostMessage.Body = {"Hi", "."};
    smtp.PostMessage.Attachments = {empty, line45, line46};
    std::vector<std::string> encoded;
    smtp.OnEncodeStart = [&](const std::string& name) { encoded.push_back("start " + name); };
    smtp.OnEncodeEnd = [&](const std::string& name) { encoded.push_back("end " + name); };
    smtp.BuildMessage();

    const std::string& b = smtp.Boundary();
    ASSERT_EQ(b.rfind("====================54535", 0), 0u);
    ASSERT_GT(b.size(), 29u);
    EXPECT_EQ(b.substr(b.size() - 4), "====");
    EXPECT_EQ(smtp.FinalHeader.Count(), 9);
    EXPECT_EQ(smtp.FinalHeader[7], "Mime-Version: 1.0");
    EXPECT_EQ(smtp.FinalHeader[8], "Content-Type: multipart/mixed;                   boundary=\"" + b + "\"");

    const std::string x45 = "eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4";
    const std::string expected = "--" + b + "\r\n" + TextPlain + "\r\n\r\n" + "Hi\r\n..\r\n" +
                                 PartHeader(b, "empty.dat") + PartHeader(b, "same.bin") + x45 + "\r\n" +
                                 PartHeader(b, "same.bin") + x45 + "\r\n" + "eA==\r\n" + "--" + b + "--\r\n";
    EXPECT_EQ(Data(smtp), expected);
    // After the header: an empty line, then the first boundary.
    const std::string sent = smtp.HeaderBlock() + Data(smtp);
    EXPECT_NE(sent.find("\"\r\n\r\n\r\n--" + b + "\r\n"), std::string::npos);
    const std::vector<std::string> events = {"start " + empty, "end " + empty, "start " + line45,
                                             "end " + line45,  "start " + line46, "end " + line46};
    EXPECT_EQ(encoded, events);
}

TEST_F(Compose, MissingAttachmentFailsAfterItsEvent)
{
    const std::string missing = folder.Path("missing.txt");
    smtp.PostMessage.Attachments = {missing};
    std::string reported;
    smtp.OnAttachmentNotFound = [&](const std::string& name) { reported = name; };
    EXPECT_THROW(smtp.BuildMessage(), EFOpenError);
    EXPECT_EQ(reported, missing);
}

TEST_F(Compose, UuencodedAttachmentIsDeclaredAndItsDotLineStuffed)
{
    // 59 bytes: a full line and a line of 14 bytes, whose count character is ".".
    const std::string file = folder.Write("u.bin", std::string(59, '\0'));
    smtp.PostMessage.Attachments = {file};
    smtp.EncodeType = uuCode;
    smtp.BuildMessage();
    const std::string lines = "M" + std::string(60, '`') + "\r\n" + "." + std::string(19, '`') + "\r\n`\r\n";
    ASSERT_EQ(Encode(uuCode, std::string(59, '\0')), lines);
    const std::string part = PartHeader(smtp.Boundary(), "u.bin", "x-uuencode") + "M" + std::string(60, '`') +
                             "\r\n.." + std::string(19, '`') + "\r\n`\r\n";
    EXPECT_NE(Data(smtp).find(part), std::string::npos);
}

TEST(Encoder, Base64AndUuencodeLines)
{
    const struct {
        UUMethods method;
        const char* input;
        const char* expected;
    } cases[] = {
        {uuMime, "", ""},         {uuMime, "M", "TQ==\r\n"},         {uuMime, "Ma", "TWE=\r\n"},
        {uuMime, "Man", "TWFu\r\n"},
        // Uuencode: a count character in front of each line, a closing line.
        {uuCode, "", "`\r\n"},    {uuCode, "C", "!0P\r\n`\r\n"},     {uuCode, "Ca", "\"0V$\r\n`\r\n"},
        {uuCode, "Cat", "#0V%T\r\n`\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Encode(c.method, c.input), c.expected) << c.method << " " << c.input;
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    const std::string encoded = Encode(uuMime, bytes);
    EXPECT_EQ(encoded.substr(0, 62), "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKiss\r\n");
    EXPECT_EQ(encoded.substr(encoded.size() - 26), "8PHy8/T19vf4+fr7/P3+/w==\r\n");
    // 256 bytes: five full lines of 45 bytes and one of 31.
    EXPECT_EQ(std::count(encoded.begin(), encoded.end(), '\n'), 6);
    const std::string two = Encode(uuCode, std::string(46, 'a'));
    EXPECT_EQ(two.substr(0, 1), "M");
    EXPECT_EQ(two.substr(63), "!80\r\n`\r\n");
}

TEST(Encoder, BigInputCrossesBlocks)
{
    std::string bytes(200000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    const std::string encoded = Encode(uuMime, bytes);
    // Every line but the last holds 60 characters.
    size_t start = 0, lines = 0;
    while (start < encoded.size()) {
        size_t end = encoded.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        if (end + 2 < encoded.size()) {
            ASSERT_EQ(end - start, 60u) << "line " << lines;
        }
        start = end + 2;
        ++lines;
    }
    EXPECT_EQ(lines, (bytes.size() + 44) / 45);
}

TEST_F(Compose, EightBitTextIsDeclaredAndEncoded)
{
    TPostMessage& m = smtp.PostMessage;
    m.FromName = "Ren\u00E9";
    m.Subject = "\u0416\u0451\u043B\u0442\u044B\u0439 \u03A3\u03A9";
    m.ToAddress = {"Jos\u00E9 <jose@example.com>", "bob@example.com"};
    m.ReplyTo = "Zo\u00EB <zoe@example.com>";
    m.Body = {"Caf\u00E9 \u20AC", ".hidden"};
    smtp.BuildMessage();
    const std::string q = "=?utf-8?Q?";
    EXPECT_EQ(smtp.FinalHeader[0], "From: " + q + "Ren=C3=A9?= <ann@example.com>");
    EXPECT_EQ(smtp.FinalHeader[1], "To: " + q + "Jos=C3=A9?= <jose@example.com>,bob@example.com");
    EXPECT_EQ(smtp.FinalHeader[3], "Subject: " + q + "=D0=96=D1=91=D0=BB=D1=82=D1=8B=D0=B9_=CE=A3=CE=A9?=");
    EXPECT_EQ(smtp.FinalHeader[5], "Reply-To: " + q + "Zo=C3=AB?= <zoe@example.com>");
    EXPECT_EQ(smtp.FinalHeader[8], TextPlainPrefix + "utf-8");
    EXPECT_EQ(smtp.FinalHeader[9], "Content-Transfer-Encoding: quoted-printable");
    EXPECT_EQ(smtp.FinalHeader.Count(), 10);
    EXPECT_EQ(Data(smtp), "Caf=C3=A9 =E2=82=AC\r\n..hidden\r\n");
}

TEST_F(Compose, OverlongAsciiLineIsQuotedPrintableInItsPart)
{
    smtp.PostMessage.Body = {std::string(1500, 'a')};
    smtp.PostMessage.Attachments = {folder.Write("caf\u00E9.txt", "x")};
    smtp.BuildMessage();
    const std::string part = "--" + smtp.Boundary() + "\r\n" + TextPlain + "\r\n" +
                             "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
    EXPECT_EQ(Data(smtp).rfind(part, 0), 0u);
    EXPECT_NE(Data(smtp).find("name=\"=?utf-8?Q?caf=C3=A9=2Etxt?=\""), std::string::npos);
    EXPECT_EQ(smtp.FinalHeader.Count(), 9);
}

TEST_F(Compose, ManyRecipientsStayOneHeaderEntryAndAreFoldedWhenSent)
{
    smtp.PostMessage.ToAddress.Clear();
    for (int i = 0; i < 300; ++i)
        smtp.PostMessage.ToAddress.Add("user" + std::to_string(i) + "@example.com");
    smtp.BuildMessage();
    EXPECT_GT(smtp.FinalHeader[1].size(), 5000u);
    const std::string block = smtp.HeaderBlock();
    size_t start = 0;
    for (size_t end; (end = block.find("\r\n", start)) != std::string::npos; start = end + 2)
        EXPECT_LE(end - start, 998u);
    EXPECT_NE(block.find(",\r\n user"), std::string::npos);
}

TEST_F(Compose, LineBreaksInHeaderFieldsAreRefused)
{
    struct Case {
        const char* Expected;
        std::function<void(TPostMessage&)> Break;
    };
    const Case cases[] = {
        {"Line break in the sender address", [](TPostMessage& m) { m.FromAddress = "a@b>\r\nRCPT TO:<c@d"; }},
        {"Line break in the sender name", [](TPostMessage& m) { m.FromName = "Ann\n"; }},
        {"Line break in the subject", [](TPostMessage& m) { m.Subject = "Hi\r\nBcc: x@y"; }},
        {"Line break in the reply-to address", [](TPostMessage& m) { m.ReplyTo = "a@b\r"; }},
        {"Line break in the date", [](TPostMessage& m) { m.Date = "today\n"; }},
        {"Line break in the mailer name", [](TPostMessage& m) { m.LocalProgram = "\rX"; }},
        {"Line break in a recipient", [](TPostMessage& m) { m.ToAddress.Add("x@y>\r\nDATA"); }},
        {"Line break in a carbon-copy recipient", [](TPostMessage& m) { m.ToCarbonCopy.Add("\n"); }},
        {"Line break in a blind-copy recipient", [](TPostMessage& m) { m.ToBlindCarbonCopy.Add("x\r"); }},
    };
    for (const Case& c : cases) {
        TSmtpClient client;
        client.PostMessage = smtp.PostMessage;
        c.Break(client.PostMessage);
        EXPECT_EQ(FailureOf([&] { client.BuildMessage(); }), c.Expected);
    }
}
