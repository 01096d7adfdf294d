// The text rules of outgoing mail, the header list and the address rule.
#include "smtp/MimeText.h"
#include "smtp/SmtpClient.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

namespace {

std::string Written(std::initializer_list<std::string> chunks)
{
    TMemoryStream out;
    Mime::TDataWriter writer(out);
    for (const std::string& chunk : chunks)
        writer.Write(chunk);
    writer.Flush();
    return out.ToString();
}

// Every line ends in CR LF, no CR or LF stands alone, no line is a lone ".".
void ExpectCleanData(const std::string& data)
{
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\r') {
            ASSERT_TRUE(i + 1 < data.size() && data[i + 1] == '\n') << "bare CR at " << i;
        }
        if (data[i] == '\n') {
            ASSERT_TRUE(i > 0 && data[i - 1] == '\r') << "bare LF at " << i;
        }
    }
    EXPECT_EQ(("\r\n" + data).find("\r\n.\r\n"), std::string::npos);
}

size_t LongestLine(const std::string& text)
{
    size_t longest = 0, start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        longest = std::max(longest, end - start);
    return std::max(longest, text.size() - start);
}

std::string QuotedPrintableDecode(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && text.compare(i + 1, 2, "\r\n") == 0)
            i += 2;
        else if (text[i] == '=')
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)), i += 2;
        else
            out += text[i];
    }
    return out;
}

} // namespace

TEST(DataWriter, EveryBreakBecomesCrLfAndDotLinesGetOneMoreDot)
{
    EXPECT_EQ(Written({"a\rb\nc\r\nd"}), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(Written({".\r\n..\r\n.x\n.\r.y"}), "..\r\n...\r\n..x\r\n..\r\n..y");
    EXPECT_EQ(Written({"a\r\r\nb"}), "a\r\n\r\nb");
    EXPECT_EQ(Written({"mid.dle\r\n"}), "mid.dle\r\n");
    // The state carries over between writes: a CR LF split in two, a dot after it.
    EXPECT_EQ(Written({"a\r", "\n", ".b"}), "a\r\n..b");
    EXPECT_EQ(Written({"a\r", "\r", "\n."}), "a\r\n\r\n..");
    ExpectCleanData(Written({"x\n.\nSMTP smuggling\r\n.\r\n", "\n.\r", "\n"}));
}

TEST(QuotedPrintable, KeepsLinesShortAndDecodesToTheOriginal)
{
    EXPECT_EQ(Mime::QuotedPrintable("caf\xE9 = ok"), "caf=E9 =3D ok");
    EXPECT_EQ(Mime::QuotedPrintable("trailing "), "trailing=20");
    EXPECT_EQ(Mime::QuotedPrintable(""), "");
    std::string paragraph;
    for (int i = 0; i < 700; ++i)
        paragraph += i % 9 == 0 ? "\xE9t\xE9 " : "word ";
    const std::string encoded = Mime::QuotedPrintable(paragraph);
    EXPECT_LE(LongestLine(encoded), 76u);
    EXPECT_EQ(QuotedPrintableDecode(encoded), paragraph);
    // Exactly 76 characters fit without a soft break.
    EXPECT_EQ(Mime::QuotedPrintable(std::string(76, 'a')), std::string(76, 'a'));
    EXPECT_EQ(Mime::QuotedPrintable(std::string(77, 'a')), std::string(75, 'a') + "=\r\naa");
}

TEST(QuotedPrintable, NeededForEightBitBytesAndOverlongLines)
{
    EXPECT_FALSE(Mime::NeedsQuotedPrintable({"plain", std::string(998, 'a')}));
    EXPECT_TRUE(Mime::NeedsQuotedPrintable({std::string(999, 'a')}));
    // The stuffed dot counts on the wire.
    EXPECT_TRUE(Mime::NeedsQuotedPrintable({"." + std::string(997, 'a')}));
    EXPECT_TRUE(Mime::NeedsQuotedPrintable({"na\xEFve"}));
}

TEST(EncodedWords, OnlyEightBitTextIsEncoded)
{
    EXPECT_EQ(Mime::EncodeText("Hello, world", "windows-1252"), "Hello, world");
    EXPECT_EQ(Mime::EncodeText("Gr\xFC\xDF" "e an alle", "windows-1252"), "=?windows-1252?Q?Gr=FC=DFe_an_alle?=");
    std::string subject;
    for (int i = 0; i < 40; ++i)
        subject += "\xE0\xE9, ";
    const std::string encoded = Mime::EncodeText(subject, "windows-1252");
    size_t start = 0, words = 0;
    while (start < encoded.size()) {
        size_t end = encoded.find(' ', start);
        if (end == std::string::npos)
            end = encoded.size();
        const std::string word = encoded.substr(start, end - start);
        EXPECT_LE(word.size(), 75u);
        EXPECT_EQ(word.rfind("=?windows-1252?Q?", 0), 0u);
        EXPECT_EQ(word.substr(word.size() - 2), "?=");
        start = end + 1;
        ++words;
    }
    EXPECT_GT(words, 1u);
    // A UTF-8 character is never cut between two words.
    const std::string utf8 = Mime::EncodeText(std::string(30, 'a') + "\xC3\xA9\xC3\xA9\xC3\xA9", "utf-8");
    EXPECT_EQ(utf8.find("=C3?="), std::string::npos);
}

TEST(EncodedWords, MailboxNamesGetABlankBeforeTheAddress)
{
    EXPECT_EQ(Mime::EncodeMailbox("Jos\xE9 <jose@example.com>", "windows-1252"),
              "=?windows-1252?Q?Jos=E9?= <jose@example.com>");
    EXPECT_EQ(Mime::EncodeMailbox("\"M\xFCller, Hans\" <h@example.com>", "windows-1252"),
              "=?windows-1252?Q?M=FCller=2C_Hans?= <h@example.com>");
    EXPECT_EQ(Mime::EncodeMailbox("Carl <carl@example.com>", "windows-1252"), "Carl <carl@example.com>");
    EXPECT_EQ(Mime::EncodeMailbox("bob@example.com", "windows-1252"), "bob@example.com");
}

TEST(HeaderFolding, LongLinesFoldAtCommasOrBlanks)
{
    EXPECT_EQ(Mime::FoldHeaderLine("To: a,b"), "To: a,b");
    std::string to = "To: ", words = "Subject:";
    for (int i = 0; i < 300; ++i) {
        to += (i ? "," : "") + std::string("user") + std::to_string(i) + "@example.com";
        words += " word";
    }
    // Unfolding gives the line back: a fold after a comma added a blank, one before a blank did not.
    for (const auto& [line, fold, unfold] : {std::tuple{to, ",\r\n ", ","}, std::tuple{words, "\r\n", ""}}) {
        std::string unfolded = Mime::FoldHeaderLine(line);
        EXPECT_LE(LongestLine(unfolded), Mime::MaxLineLength);
        for (size_t at; (at = unfolded.find(fold)) != std::string::npos;)
            unfolded.replace(at, std::strlen(fold), unfold);
        EXPECT_EQ(unfolded, line);
    }

    // A run without a blank cannot be folded; it is cut nowhere.
    const std::string solid = "X-Long: " + std::string(1200, 'z');
    EXPECT_EQ(Mime::FoldHeaderLine(solid), "X-Long:\r\n " + std::string(1200, 'z'));
    EXPECT_EQ(Mime::FoldHeaderLine("X:" + std::string(1200, 'z')), "X:" + std::string(1200, 'z'));
}

TEST(BodyLines, EntriesSplitAtEveryKindOfBreak)
{
    const TStringList body = {"one\rtwo\nthree\r\nfour", "", "five\r"};
    const std::vector<std::string> expected = {"one", "two", "three", "four", "", "five", ""};
    EXPECT_EQ(Mime::BodyLines(body), expected);
}

TEST(HeaderList, FindsReplacesAndDeletesByName)
{
    TExStringList list;
    list.Add("no colon here");
    list.Add("Subject: first");
    list.Add("X-Mailer: Mibor8");
    list.Add("subject: second");
    EXPECT_EQ(list.IndexOfHeader("SUBJECT"), 1);
    EXPECT_EQ(list.IndexOfHeader("no colon here"), -1);
    EXPECT_EQ(list.IndexOfHeader("Date"), -1);
    list.SetHeaderValue("Subject", "new");
    EXPECT_EQ(list[1], "Subject: new");
    list.SetHeaderValue("Date", "today");
    EXPECT_EQ(list[4], "Date: today");
    list.SetHeaderValue("x-mailer", "");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.IndexOfHeader("X-Mailer"), -1);
    list.SetHeaderValue("Missing", "");
    EXPECT_EQ(list.Count(), 4);
}

TEST(HeaderList, SortedListsAreSearchedByHalving)
{
    TExStringList list;
    list.SetSorted(true);
    for (const char* line : {"Zeta: 1", "Alpha: 2", "Mid: 3", "Beta: 4", "Beta", "Omega: 5"})
        list.Add(line);
    for (const char* name : {"Alpha", "beta", "MID", "Omega", "Zeta"}) {
        const int index = list.IndexOfHeader(name);
        ASSERT_GE(index, 0) << name;
        EXPECT_EQ(list[index].find(':'), std::string(name).size());
    }
    EXPECT_EQ(list.IndexOfHeader("Gamma"), -1);
    list.SetHeaderValue("Gamma", "6");
    EXPECT_GE(list.IndexOfHeader("Gamma"), 0);
}

TEST(ExtractAddress, TakesTheAddressOutOfAnEntry)
{
    EXPECT_EQ(TSmtpClient::ExtractAddress("Bob Brown <bob@example.com>"), "bob@example.com");
    EXPECT_EQ(TSmtpClient::ExtractAddress("<bob@example.com"), "bob@example.com");
    EXPECT_EQ(TSmtpClient::ExtractAddress("a <b@c> <d@e>"), "b@c");
    EXPECT_EQ(TSmtpClient::ExtractAddress("Nobody <>"), "");
    EXPECT_EQ(TSmtpClient::ExtractAddress("mailto:bob@example.com"), "bob@example.com");
    EXPECT_EQ(TSmtpClient::ExtractAddress("smtp:bob@example.com:25"), "bob@example.com");
    EXPECT_EQ(TSmtpClient::ExtractAddress(" bob@example.com "), " bob@example.com ");
    EXPECT_EQ(TSmtpClient::ExtractAddress(""), "");
}
