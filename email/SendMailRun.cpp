// Send: one complete exchange with the server per click, its status texts,
// the progress bar and the return to "Idle".
#include "email/MailDate.h"
#include "email/SendForm.h"

#include "mainform/MainWindowReads.h"
#include "preferences/PreferencesForm.h"
#include "smtp/TlsChannel.h"
#include "ui/Application.h"
#include "ui/ScopedValue.h"
#include "ui/WideText.h"

#include <algorithm>

namespace {

// The port field as a TCP port; anything else fails the send.
int PortNumber(const std::string& text)
{
    int port = StrToInt(text);
    if (port < 1 || port > 65535)
        throw EConvertError("'" + text + "' is not a valid port");
    return port;
}

// What the user reads when the connection could not be secured or the login
// failed, by the kind of failure.
const char* const TlsMessages[] = {
    "The secure connection to the server failed!",
    "The server's certificate is not trusted!",
    "The server's certificate names another host than the SMTP Server (in the preferences screen)!",
};
const char* const LoginMessages[] = {
    "The server does not offer STARTTLS!",
    "The server offers no login by AUTH PLAIN or AUTH LOGIN!",
    "The server refused the username or password (in the preferences screen)!",
};

} // namespace

void TForm8::SetStatus(const std::string& text)
{
    Label1->SetText(text);
    // Shown at once: while data streams out, paint messages wait behind the socket's.
    Label1->Update();
}

void TForm8::Panel1Click(TObject*)
{
    // A click while a send is under way does not start a second exchange inside it.
    if (inSend_)
        return;
    TScopedValue<bool> sending(inSend_, true);
    Timer2->SetEnabled(false);
    SetStatus("Connecting to server...");
    if (!Validate()) {
        SetStatus("Idle");
        return;
    }
    bool failed = false;
    bool wroteRichText = false;
    const char* securityMessage = nullptr;
    try {
        // Every send lists its recipients and files afresh, also after a failed one.
        TPostMessage& message = smtp->PostMessage;
        message.ToAddress.Clear();
        message.ToCarbonCopy.Clear();
        message.ToBlindCarbonCopy.Clear();
        message.Attachments.Clear();
        if (ComboBox1->Item(ComboBox1->ItemIndex()) != "Plain text") {
            wroteRichText = true;
            AttachRichText();
        }
        FillMessage();
        RunExchange();
    } catch (const ETlsError& error) {
        failed = true;
        securityMessage = TlsMessages[error.Failure];
    } catch (const ESmtpSecurityError& error) {
        failed = true;
        securityMessage = LoginMessages[error.Failure];
    } catch (...) {
        failed = true;
    }
    EndExchange();
    if (failed) {
        // A failed exchange leaves no connection behind for the next Send to trip over.
        if (smtp->Connected())
            DisconnectQuietly();
        if (securityMessage)
            Application->ShowMessage(securityMessage);
        SetStatus("Error sending mail!");
    }
    Timer2->SetEnabled(true);
    // Only the file this send wrote goes: a plain-text send leaves a user's
    // own file of that name alone.
    if (wroteRichText)
        DeleteFileW(ToWide(RichTextPath).c_str());
}

bool TForm8::Validate()
{
    const struct {
        TEdit* field;
        const char* message;
    } required[] = {
        {sendto.get(), "Please fill in the e-mail address to send the message to."},
        {Form2->server.get(), "Please fill the SMTP Server (in the preferences screen)."},
        {Form2->port.get(), "Please fill the Port (in the preferences screen)."},
        {Form2->id.get(), "Please fill the Username (in the preferences screen)."},
    };
    for (const auto& each : required) {
        if (each.field->Text().empty()) {
            Application->ShowMessage(each.message);
            return false;
        }
    }
    return true;
}

void TForm8::AttachRichText()
{
    RichTextPath = std::string("c:\\") + RichTextFile;
    std::unique_ptr<TFileStream> file;
    try {
        file = std::make_unique<TFileStream>(RichTextPath, fmCreate);
    } catch (const EFCreateError&) {
        // No writable root on C: the user's temporary folder serves.
        wchar_t folder[MAX_PATH + 1] = {0};
        GetTempPathW(MAX_PATH + 1, folder);
        RichTextPath = ToUtf8(folder) + RichTextFile;
        file = std::make_unique<TFileStream>(RichTextPath, fmCreate);
    }
    MainEditor().SaveToStream(*file);
    file.reset();
    smtp->PostMessage.Attachments.Add(RichTextPath);
}

void TForm8::FillMessage()
{
    smtp->Host = Form2->server->Text();
    smtp->Port = PortNumber(Form2->port->Text());
    smtp->UserID = Form2->id->Text();
    smtp->Security = static_cast<TMailSecurity>(std::max(0, Form2->security->ItemIndex()));
    smtp->Password = Form2->password->Text();
    TPostMessage& message = smtp->PostMessage;
    message.FromAddress = Form2->email->Text();
    message.FromName = Form2->name->Text();
    message.Subject = subject->Text();
    message.ToAddress.Add(sendto->Text());
    message.ToBlindCarbonCopy.Add(bcc->Text());
    message.ToCarbonCopy.Add(cc->Text());
    message.ReplyTo = replyto->Text();
    message.LocalProgram = "Mibor8";
    message.Date = LocalMailDate(MainDatePicker().DateTime());
    for (const std::string& entry : attach->Items())
        message.Attachments.Add(entry);
    message.Body.Clear();
    for (const std::string& line : MainEditor().Paragraphs())
        message.Body.Add(line);
}

void TForm8::RunExchange()
{
    Sending = true;
    Timer1->SetEnabled(true);
    smtp->Connect();
    smtp->SendMail();
    smtp->Disconnect();
}

void TForm8::EndExchange()
{
    Timer1->SetEnabled(false);
    Sending = false;
    Progress = 0;
    Gauge1->SetPosition(0);
}

void TForm8::DisconnectQuietly()
{
    // A server that went silent gets no more than the connect time-out to answer QUIT.
    const unsigned limit = smtp->Limits.Mail;
    smtp->Limits.Mail = 0;
    // Whatever the server does now, the connection is over.
    IgnoreFailure([this] { smtp->Disconnect(); });
    smtp->Limits.Mail = limit;
}

// ---- timers ----

void TForm8::Timer1Timer(TObject*)
{
    progressShown_ = GetTickCount();
    if (smtp->TotalBytes() == 0)
        return;
    Progress = static_cast<int>(smtp->SentBytes() * 100 / smtp->TotalBytes());
    Gauge1->SetPosition(Progress);
    Gauge1->Update();
}

void TForm8::smtpPacketSent(TObject* sender)
{
    // While the data streams out, the socket's own messages keep the queue busy
    // and timer messages come late or not at all: each chunk sent brings the
    // progress up to date when the timer's period has passed.
    if (Sending && GetTickCount() - progressShown_ >= Timer1->Interval())
        Timer1Timer(sender);
}

void TForm8::Timer2Timer(TObject*) { SetStatus("Idle"); }

// ---- events of smtp ----

void TForm8::smtpHostResolved(TObject*) { SetStatus("Host resolved..."); }
void TForm8::smtpConnect(TObject*) { SetStatus("Connected to server..."); }
void TForm8::smtpSendStart(TObject*) { SetStatus("Sending messages..."); }
void TForm8::smtpSuccess(TObject*) { SetStatus("Mail delivered!"); }
void TForm8::smtpFailure(TObject*) { SetStatus("Error sending mail!"); }
void TForm8::smtpConnectionFailed(TObject*) { SetStatus("Connection failed!"); }
void TForm8::smtpSecuring(TObject*) { SetStatus("Securing connection..."); }
void TForm8::smtpSecured(TObject*) { SetStatus("Connection secured..."); }
void TForm8::smtpLoggingIn(TObject*) { SetStatus("Logging in..."); }

void TForm8::smtpInvalidHost(bool&) { Application->ShowMessage("Host does not respond!"); }

void TForm8::smtpAttachmentNotFound(const std::string&)
{
    Application->ShowMessage("Attachment(s) not valid!");
    DisconnectQuietly();
}

void TForm8::smtpAuthenticationFailed(bool&)
{
    Application->ShowMessage("Username (in preferences screen) in not valid!");
    DisconnectQuietly();
}
