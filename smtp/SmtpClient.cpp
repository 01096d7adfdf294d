// TSmtpClient: the SMTP dialogue. The message itself is composed in MessageBuilder.cpp.
#include "smtp/SmtpClient.h"

#include "smtp/MimeText.h"

#include <vector>

namespace {

const char* const AuthenticationFailed = "Authentication failed";
const char* const IncompleteHeader = "Incomplete Header";

// Reply lines after the first of a greeting or a HELO answer: the line begins
// with a blank, or its fourth character is "-".
bool IsContinued(const std::string& line)
{
    return (!line.empty() && line[0] == ' ') || (line.size() >= 4 && line[3] == '-');
}

// A field of the message that goes into a command or a header line.
struct TMessageField {
    const char* Name;
    std::string TPostMessage::*Field;
};

const TMessageField SingleLineFields[] = {
    {"the sender address", &TPostMessage::FromAddress},
    {"the sender name", &TPostMessage::FromName},
    {"the subject", &TPostMessage::Subject},
    {"the reply-to address", &TPostMessage::ReplyTo},
    {"the date", &TPostMessage::Date},
    {"the mailer name", &TPostMessage::LocalProgram},
};

struct TMessageList {
    const char* Name;
    TStringList TPostMessage::*List;
};

const TMessageList RecipientLists[] = {
    {"a recipient", &TPostMessage::ToAddress},
    {"a carbon-copy recipient", &TPostMessage::ToCarbonCopy},
    {"a blind-copy recipient", &TPostMessage::ToBlindCarbonCopy},
};

[[noreturn]] void RefuseLineBreak(const std::string& what) { throw Exception("Line break in " + what); }

} // namespace

TSmtpClient::TSmtpClient(TObject* owner) : TSocketClient(owner)
{
    Port = 25;
    CancelHook = [this] { CloseAndEmpty(); };
}

TSmtpClient::~TSmtpClient()
{
    BeginDestroy();
    try {
        Abort();
    } catch (...) {
    }
}

void TSmtpClient::CloseAndEmpty()
{
    TSocketClient::Disconnect();
    ClearReceiveBuffer();
}

std::string TSmtpClient::ExtractAddress(const std::string& entry)
{
    const size_t open = entry.find('<');
    if (open != std::string::npos) {
        std::string inside = entry.substr(open + 1);
        inside = inside.substr(0, inside.find('<'));
        return inside.substr(0, inside.find('>'));
    }
    const size_t colon = entry.find(':');
    if (colon != std::string::npos) {
        const std::string after = entry.substr(colon + 1);
        return after.substr(0, after.find(':'));
    }
    return entry;
}

void TSmtpClient::RefuseLineBreaks() const
{
    for (const TMessageField& field : SingleLineFields)
        if (Mime::HasLineBreak(PostMessage.*field.Field))
            RefuseLineBreak(field.Name);
    for (const TMessageList& list : RecipientLists)
        for (const std::string& entry : PostMessage.*list.List)
            if (Mime::HasLineBreak(entry))
                RefuseLineBreak(list.Name);
}

// ---- connect and greeting ----

void TSmtpClient::Connect()
{
    const bool setBusy = !busy_;
    busy_ = true;
    try {
        if (Mime::HasLineBreak(UserID))
            RefuseLineBreak("the user name");
        TSocketClient::Connect();
        try {
            if (Security == msImplicitTls)
                SecureConnection();
            Greet();
            if (Security == msNone && Password.empty())
                Hello("HELO");
            else
                Submission();
        } catch (...) {
            // The failure that ended the greeting is the one to report.
            try {
                Disconnect();
            } catch (...) {
            }
            throw;
        }
    } catch (...) {
        if (setBusy)
            busy_ = false;
        throw;
    }
    if (setBusy)
        busy_ = false;
    Fire(OnConnect, this);
}

std::vector<std::string> TSmtpClient::ReadReply(const std::string& first)
{
    std::vector<std::string> lines = {first};
    while (IsContinued(lines.back())) {
        lines.push_back(ReadLn());
        ReportText(ReplyLineLevel, lines.back());
    }
    return lines;
}

void TSmtpClient::Greet()
{
    SilenceLimit = Limits.Greeting;
    const std::string first = ReadLn();
    const int code = ParseReplyCode(first);
    SetReply(first, code);
    ReportText(ReplyLineLevel, first);
    const std::string last = ReadReply(first).back();
    if (code >= 400)
        throw Exception(last);
}

std::vector<std::string> TSmtpClient::Hello(std::string verb)
{
    for (int attempt = 0;;) {
        SilenceLimit = Limits.Mail;
        Transaction(verb + " " + UserID);
        const int code = ReplyCode();
        std::vector<std::string> lines = ReadReply(LastReply());
        if (code < 300)
            return lines;
        // A server of old knows only HELO; once security was asked for, EHLO is a must.
        if (verb == "EHLO" && Security == msNone) {
            verb = "HELO";
            continue;
        }
        bool handled = false;
        if (attempt++ == 0 && OnAuthenticationFailed)
            OnAuthenticationFailed(handled);
        if (!handled || !Connected())
            throw Exception(AuthenticationFailed);
        if (Mime::HasLineBreak(UserID))
            RefuseLineBreak("the user name");
    }
}

// ---- disconnect and abort ----

void TSmtpClient::Disconnect()
{
    ClearCancelFlag();
    if (!Connected()) {
        // Nothing to say goodbye to.
        TSocketClient::Disconnect();
        return;
    }
    std::string reply;
    bool refused = false;
    try {
        SilenceLimit = Limits.Mail;
        reply = Transaction("QUIT");
        refused = ReplyCode() > 339;
    } catch (...) {
        TSocketClient::Disconnect();
        throw;
    }
    TSocketClient::Disconnect();
    if (refused)
        throw Exception(reply);
}

void TSmtpClient::Abort()
{
    if (CancelFlag() || !Connected())
        return;
    if (busy_)
        Cancel();
    else
        CloseAndEmpty();
}

// ---- sending ----

void TSmtpClient::Command(const std::string& line, unsigned limit, int failFrom)
{
    SilenceLimit = limit;
    Transaction(line);
    if (ReplyCode() >= failFrom)
        throw Exception(LastReply());
}

void TSmtpClient::SendMail()
{
    if (busy_)
        return;
    busy_ = true;
    bool success = false;
    try {
        BuildMessage();
        CheckConnected();
        CheckHeader();
        Fire(OnSendStart, this);
        // The handler may have changed the message or its header lines.
        RefuseLineBreaks();
        for (const std::string& line : FinalHeader)
            if (Mime::HasLineBreak(line))
                RefuseLineBreak("a header line");

        Command("RSET", Limits.Mail, 400);
        Command("MAIL FROM:<" + PostMessage.FromAddress + ">", Limits.Mail, 400);
        SendRecipients();
        Command("DATA", Limits.Data, 400);
        SendData();
        SilenceLimit = Limits.DataEnd;
        Transaction(".");
        if (ReplyCode() >= 400) {
            Fire(OnFailure, this);
            throw Exception(LastReply());
        }
        success = true;
        if (ClearParams) {
            PostMessage.ToAddress.Clear();
            PostMessage.ToCarbonCopy.Clear();
            PostMessage.ToBlindCarbonCopy.Clear();
            PostMessage.Attachments.Clear();
        }
    } catch (...) {
        busy_ = false;
        throw;
    }
    busy_ = false;
    if (success)
        Fire(OnSuccess, this);
}

void TSmtpClient::CheckHeader()
{
    const TPostMessage& message = PostMessage;
    for (int attempt = 0;; ++attempt) {
        const bool noSender = message.FromAddress.empty();
        const bool noRecipient =
            message.ToAddress.Empty() && message.ToCarbonCopy.Empty() && message.ToBlindCarbonCopy.Empty();
        if (!noSender && !noRecipient) {
            // The header lines must show what the handler filled in.
            if (attempt > 0)
                BuildMessage();
            return;
        }
        bool handled = false;
        if (attempt == 0 && OnHeaderIncomplete)
            OnHeaderIncomplete(handled, noSender ? 1 : 2);
        if (!handled)
            throw Exception(IncompleteHeader);
    }
}

void TSmtpClient::SendRecipients()
{
    // A handler may change the lists; the entries are those of the start.
    for (const TMessageList& list : RecipientLists) {
        const std::vector<std::string> entries = (PostMessage.*list.List).Items();
        for (const std::string& entry : entries) {
            const std::string address = ExtractAddress(entry);
            if (address.empty())
                continue;
            SilenceLimit = Limits.Rcpt;
            Transaction("RCPT TO:<" + address + ">");
            if (ReplyCode() > 300)
                Fire(OnRecipientNotFound, entry);
        }
    }
}

std::string TSmtpClient::HeaderBlock() const
{
    std::string text;
    for (const std::string& line : FinalHeader)
        text += Mime::FoldHeaderLine(line) + "\r\n";
    text += "\r\n\r\n";
    TMemoryStream block;
    Mime::TDataWriter out(block);
    out.Write(text);
    out.Flush();
    return block.ToString();
}

void TSmtpClient::SendData()
{
    SilenceLimit = Limits.DataBlock;
    // Sent with its length: the whole header, however long.
    const std::string header = HeaderBlock();
    SendBuffer(header.data(), header.size());
    SendStream(messageStream_);
}
