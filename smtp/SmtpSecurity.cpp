// TSmtpClient: the dialogue of mail submission. EHLO, STARTTLS and TLS, EHLO
// again over the secure connection, and the login with AUTH PLAIN or AUTH LOGIN.
#include "smtp/SmtpClient.h"

#include "smtp/TlsChannel.h"
#include "smtp/UUEncoder.h"

#include <algorithm>
#include <cctype>

namespace {

// The words of one line of an EHLO reply after its code, in capitals:
// "250-AUTH PLAIN LOGIN" and "250-AUTH=LOGIN" both give AUTH and the names.
std::vector<std::string> Keywords(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    for (size_t i = 4; i <= line.size(); ++i) {
        const char c = i < line.size() ? line[i] : ' ';
        if (c == ' ' || c == '=' || c == '\r' || c == '\n') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return words;
}

// Whether a line after the first (which greets) begins with the keyword;
// with `name`, whether that line also lists the name.
bool Offers(const std::vector<std::string>& reply, const std::string& keyword, const std::string& name = "")
{
    for (size_t i = 1; i < reply.size(); ++i) {
        const std::vector<std::string> words = Keywords(reply[i]);
        if (words.empty() || words[0] != keyword)
            continue;
        if (name.empty() || std::find(words.begin() + 1, words.end(), name) != words.end())
            return true;
    }
    return false;
}

// Base64 on one line.
std::string Base64(const std::string& bytes)
{
    TMemoryStream input, output;
    input.Write(bytes.data(), bytes.size());
    TUUProcessor encoder;
    encoder.Method = uuMime;
    encoder.InputStream = &input;
    encoder.OutputStream = &output;
    encoder.Encode();
    std::string text = output.ToString();
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }), text.end());
    return text;
}

} // namespace

void TSmtpClient::Submission()
{
    std::vector<std::string> reply = Hello("EHLO");
    if (Security == msStartTls) {
        if (!Offers(reply, "STARTTLS"))
            throw ESmtpSecurityError(sfNoStartTls, "The server does not offer STARTTLS");
        SilenceLimit = Limits.Mail;
        Transaction("STARTTLS");
        if (ReplyCode() < 200 || ReplyCode() >= 300)
            throw ESmtpSecurityError(sfNoStartTls, LastReply());
        SecureConnection();
        // What the server said before the handshake counts no more.
        reply = Hello("EHLO");
    }
    if (!Password.empty())
        Login(reply);
}

void TSmtpClient::SecureConnection()
{
    Fire(OnSecuring, this);
    SilenceLimit = Limits.Handshake;
    StartTls(Host);
    Fire(OnSecured, this);
}

void TSmtpClient::Login(const std::vector<std::string>& ehloReply)
{
    const bool plain = Offers(ehloReply, "AUTH", "PLAIN");
    if (!plain && !Offers(ehloReply, "AUTH", "LOGIN"))
        throw ESmtpSecurityError(sfNoLoginMethod, "The server offers neither AUTH PLAIN nor AUTH LOGIN");
    Fire(OnLoggingIn, this);
    // The login mechanisms take UTF-8, as the program holds its text.
    const std::string& user = UserID;
    const std::string& password = Password;
    const bool accepted =
        plain ? LoginStep("AUTH PLAIN " + Base64(std::string(1, '\0') + user + '\0' + password), true)
              : LoginStep("AUTH LOGIN", false) && LoginStep(Base64(user), false) && LoginStep(Base64(password), true);
    if (!accepted)
        throw ESmtpSecurityError(sfCredentialsRefused, LastReply());
}

bool TSmtpClient::LoginStep(const std::string& line, bool last)
{
    SilenceLimit = Limits.Mail;
    Transaction(line);
    // 334 asks for the next part, 235 accepts.
    const int code = ReplyCode();
    return last ? code >= 200 && code < 300 : code >= 300 && code < 400;
}
