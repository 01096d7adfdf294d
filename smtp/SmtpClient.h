// TSmtpClient: sends one mail message at a time to an SMTP server, over the
// socket layer's blocking model. TPostMessage is the message it sends.
#pragma once

#include "smtp/ExStrings.h"
#include "smtp/SocketClient.h"
#include "smtp/UUEncoder.h"

#include <functional>
#include <string>
#include <vector>

namespace Mime {
class TDataWriter;
}

enum TSubType { mtPlain, mtEnriched, mtSgml, mtTabSeperated, mtHtml };

// How the connection is secured: not at all (HELO, no login, as always),
// STARTTLS after the greeting, or TLS from the first byte (implicit TLS).
enum TMailSecurity { msNone, msStartTls, msImplicitTls };

// Why the secure dialogue ended before the message: the server does not
// offer or refuses STARTTLS, offers no login this client speaks, or refused
// the user name and password. (A failed TLS handshake or certificate check
// raises ETlsError.)
enum TSecurityFailure { sfNoStartTls, sfNoLoginMethod, sfCredentialsRefused };

class ESmtpSecurityError : public Exception {
public:
    ESmtpSecurityError(TSecurityFailure failure, const std::string& text) : Exception(text), Failure(failure) {}
    TSecurityFailure Failure;
};

// Handled is false on entry; hiType 1: the sender address is empty, 2: there is no recipient.
using THeaderInComplete = std::function<void(bool& handled, int hiType)>;
using TRecipientNotFound = std::function<void(const std::string& Recipient)>;
using TFileItem = std::function<void(const std::string& Filename)>;
using TMailListReturn = std::function<void(const std::string& MailAddress)>;

class TPostMessage : public TObject {
public:
    std::string FromAddress;
    std::string FromName;
    TStringList ToAddress;
    TStringList ToCarbonCopy;
    // Envelope only, never in the header.
    TStringList ToBlindCarbonCopy;
    TStringList Body;
    // Full path names of the files to attach.
    TStringList Attachments;
    std::string Subject;
    // The "X-Mailer" value.
    std::string LocalProgram;
    // The "Date" value, sent unchanged.
    std::string Date;
    std::string ReplyTo;
};

// How long, in milliseconds, the server may take to answer each step before
// the send fails (the socket layer uses the longer of this and TimeOut).
struct TSmtpLimits {
    unsigned Greeting = 300000;
    // HELO, RSET, MAIL FROM and QUIT.
    unsigned Mail = 300000;
    unsigned Rcpt = 300000;
    unsigned Data = 120000;
    // Each block of the message data draining to the network.
    unsigned DataBlock = 180000;
    // The answer to the final ".".
    unsigned DataEnd = 600000;
    // Each wait of the TLS handshake; 0 leaves the bound to TimeOut.
    unsigned Handshake = 0;
};

class TSmtpClient : public TSocketClient {
public:
    explicit TSmtpClient(TObject* owner = nullptr);
    ~TSmtpClient() override;

    // Connects, reads the greeting and says HELO; raises on failure. With a
    // Security or a Password: TLS from the start or after STARTTLS, EHLO, and
    // AUTH when there is a password.
    void Connect() override;
    // Sends QUIT and closes the connection, also when QUIT fails.
    void Disconnect() override;
    // Stops what is under way.
    void Abort() override;

    // Sends the message held in PostMessage; does nothing while Busy.
    void SendMail();
    // Fills FinalHeader and the message data from PostMessage, encoding the attachments.
    void BuildMessage();

    // The bare address of a recipient entry ("Name <a@b>" gives "a@b").
    static std::string ExtractAddress(const std::string& entry);

    bool Busy() const { return busy_; }
    const std::string& Boundary() const { return boundary_; }
    // The message data after the header: body and attachment parts, dot-stuffed.
    const TMemoryStream& MessageStream() const { return messageStream_; }
    // The bytes sent after DATA ahead of the message data: the header lines (long
    // ones folded), the empty line that ends them and one more.
    std::string HeaderBlock() const;

    std::string UserID;
    TMailSecurity Security = msNone;
    // Sent, with UserID, by AUTH PLAIN or AUTH LOGIN; never reported.
    std::string Password;
    TPostMessage PostMessage;
    TExStringList FinalHeader;
    UUMethods EncodeType = uuMime;
    bool ClearParams = true;
    TSubType SubType = mtPlain;
    TSmtpLimits Limits;

    // Fires after HELO was accepted (the socket-level OnConnect is not used).
    TNotifyEvent OnConnect;
    TRecipientNotFound OnRecipientNotFound;
    THeaderInComplete OnHeaderIncomplete;
    TNotifyEvent OnSendStart;
    TNotifyEvent OnSuccess;
    TNotifyEvent OnFailure;
    TFileItem OnEncodeStart;
    TFileItem OnEncodeEnd;
    TMailListReturn OnMailListReturn;
    TFileItem OnAttachmentNotFound;
    THandlerEvent OnAuthenticationFailed;
    // The TLS handshake begins; it is done and the certificate checked; AUTH begins.
    TNotifyEvent OnSecuring;
    TNotifyEvent OnSecured;
    TNotifyEvent OnLoggingIn;

private:
    void Greet();
    // HELO or EHLO with UserID; returns the reply's lines.
    std::vector<std::string> Hello(std::string verb);
    // The reply lines from `first` on, continuation lines included.
    std::vector<std::string> ReadReply(const std::string& first);
    // EHLO, STARTTLS, EHLO again, AUTH (SmtpSecurity.cpp).
    void Submission();
    void SecureConnection();
    void Login(const std::vector<std::string>& ehloReply);
    bool LoginStep(const std::string& line, bool last);
    void Command(const std::string& line, unsigned limit, int failFrom);
    void CheckHeader();
    void SendRecipients();
    void SendData();
    void RefuseLineBreaks() const;
    void CloseAndEmpty();

    // Composition steps.
    void AddAddressLine(const char* name, const TStringList& entries, const std::string& charset);
    void WriteBody(Mime::TDataWriter& out, const std::string& charset, bool multipart);
    void WriteAttachment(Mime::TDataWriter& out, const std::string& entry, const std::string& charset);

    bool busy_ = false;
    std::string boundary_;
    TMemoryStream messageStream_;
};
