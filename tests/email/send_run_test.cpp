// Send against a scripted server: validation, the exchange, every status
// text, the failure paths and a second Send after a failed one.
#include "SendTestSupport.h"

#include "ScriptedServer.h"
#include "TempFiles.h"

#include "email/SendForm.h"
#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"
#include "ui/SysUtils.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <regex>

namespace {

using Lines = std::vector<std::string>;

class SendRunTest : public ::testing::Test {
protected:
    void SetUp() override { ClearStore(); }
    void TearDown() override
    {
        status.reset();
        StopProgram(false);
        ClearStore();
    }
    // Starts the server (for `connections` connections) and the program pointed at it.
    void Start(int connections = 1)
    {
        server = std::make_unique<TScriptedServer>(
            [this](TServerConnection& c) {
                TSmtpScript& script = scripts.size() > served ? scripts[served] : scripts.back();
                ++served;
                RunSmtp(c, script);
            },
            connections);
        if (scripts.empty())
            scripts.emplace_back();
        StartWithPreferences(dialogs, server->Port());
        status = std::make_unique<StatusRecorder>(Form8->Label1->Handle());
    }
    void Send() { Form8->Panel1Click(nullptr); }
    Lines Boxes() const { return BoxTexts(dialogs); }
    static std::string Header(const std::string& data) { return data.substr(0, data.find("\r\n\r\n") + 2); }

    ScriptedDialogs dialogs;
    std::vector<TSmtpScript> scripts;
    size_t served = 0;
    std::unique_ptr<TScriptedServer> server;
    std::unique_ptr<StatusRecorder> status;
};

const Lines kDelivered = {"Connecting to server...", "Connected to server...", "Sending messages...",
                          "Mail delivered!"};

} // namespace

TEST_F(SendRunTest, ValidationStopsAtTheFirstEmptyValueInOrder)
{
    StartProgram(dialogs);
    status = std::make_unique<StatusRecorder>(Form8->Label1->Handle());
    for (TEdit* field : {Form2->server.get(), Form2->port.get(), Form2->id.get(), Form2->email.get()})
        field->SetText("");
    const Lines messages = {"Please fill in the e-mail address to send the message to.",
                            "Please fill the SMTP Server (in the preferences screen).",
                            "Please fill the Port (in the preferences screen).",
                            "Please fill the Username (in the preferences screen)."};
    TEdit* fills[] = {Form8->sendto.get(), Form2->server.get(), Form2->port.get(), Form2->id.get()};
    for (size_t i = 0; i < messages.size(); ++i) {
        dialogs.boxes.clear();
        status->Texts.clear();
        Send();
        ASSERT_EQ(Boxes(), Lines{messages[i]});
        EXPECT_EQ(dialogs.boxes[0].caption, "Mibor8");
        EXPECT_EQ(status->Texts, (Lines{"Connecting to server...", "Idle"}));
        fills[i]->SetText(i == 2 ? "1" : "x");
    }
    EXPECT_FALSE(Form8->Sending);
}

TEST_F(SendRunTest, APlainSendDeliversTheTextAsBodyWithEmptyCopiesInTheHeaderOnly)
{
    // A user's own file of the name the rich-text attachment takes stays as it is.
    const std::string own = "c:\\RichText.rtf";
    std::ofstream(own, std::ios::binary) << "my own notes";
    Start();
    Form2->server->SetText("localhost");
    // A click on Send during the send starts no second exchange.
    auto original = Form8->smtp->OnSendStart;
    Form8->smtp->OnSendStart = [&](TObject* sender) {
        original(sender);
        Form8->Panel1Click(nullptr);
    };
    Form8->subject->SetText("Minutes");
    Form8->replyto->SetText("reply@example.com");
    SYSTEMTIME picked{};
    picked.wYear = 2026, picked.wMonth = 12, picked.wDay = 8, picked.wHour = 16, picked.wMinute = 36,
    picked.wSecond = 37;
    Form1->DateTimePicker2->SetDateTime(picked);
    Send();
    EXPECT_TRUE(server->Join());
    EXPECT_EQ(server->Accepted(), 1);
    // The host name is looked up first.
    EXPECT_EQ(status->Texts, (Lines{"Connecting to server...", "Host resolved...", "Connected to server...",
                                    "Sending messages...", "Mail delivered!"}));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(ReadTestFile(own), "my own notes");
    DeleteFileA(own.c_str());
    const TSmtpScript& script = scripts[0];
    EXPECT_EQ(script.Commands, (Lines{"HELO tester", "RSET", "MAIL FROM:<ann@example.com>",
                                      "RCPT TO:<bob@example.com>", "DATA", "QUIT"}));
    ASSERT_EQ(script.Data.size(), 1u);
    const std::string& data = script.Data[0];
    const std::string header = Header(data);
    EXPECT_NE(header.find("From: Ann Smith<ann@example.com>\r\nTo: bob@example.com\r\nCC: \r\n"
                          "Subject: Minutes\r\nX-Mailer: Mibor8\r\nReply-To: reply@example.com\r\n"),
              std::string::npos)
        << header;
    EXPECT_TRUE(std::regex_search(header, std::regex("\r\nDate: Tue, 08 Dec 2026 16:36:37 [+-][0-9]{4}\r\n")))
        << header;
    EXPECT_NE(data.find("\r\n\r\nHello\r\n..dotted\r\nWorld\r\n.\r\n"), std::string::npos) << data;
    EXPECT_EQ(header.find("multipart"), std::string::npos);
    EXPECT_FALSE(Form8->Sending);
    EXPECT_EQ(Form8->Gauge1->Position(), 0);
    EXPECT_FALSE(Form8->smtp->Connected());
}

TEST_F(SendRunTest, RichTextIsAttachedAsRichTextRtfBeforeTheListedFilesAndTheBodyStaysPlain)
{
    TTempFolder folder;
    const std::string listed = folder.Write("notes.txt", "listed file");
    Start();
    Form1->ToolButton25->Click(); // rich text mode: the editor stores RTF
    Form8->ComboBox1->SetItemIndex(1);
    Form8->attach->Add(listed);
    Send();
    EXPECT_TRUE(server->Join());
    EXPECT_EQ(status->Texts, kDelivered);
    const std::string& data = scripts[0].Data.at(0);
    const size_t rtf = data.find("filename=\"RichText.rtf\"");
    const size_t notes = data.find("filename=\"notes.txt\"");
    ASSERT_NE(rtf, std::string::npos) << data;
    EXPECT_NE(notes, std::string::npos);
    EXPECT_LT(rtf, notes);
    EXPECT_NE(data.find("charset=us-ascii\r\n\r\nHello\r\n..dotted\r\nWorld\r\n"), std::string::npos) << data;
    // The RTF part is base64 of text beginning "{\rtf": "e1xydGY".
    EXPECT_EQ(data.compare(data.find("\r\n\r\n", rtf) + 4, 7, "e1xydGY"), 0);
    EXPECT_FALSE(FileExists(Form8->RichTextPath)) << "the temporary file is deleted";
}

TEST_F(SendRunTest, AFailedSendClosesTheConnectionAndTheRetryListsEachAddressAndFileOnce)
{
    TTempFolder folder;
    const std::string listed = folder.Write("notes.txt", "listed file");
    scripts.resize(2);
    scripts[0].Replies["."] = "554 refused\r\n";
    Start(2);
    Form8->attach->Add(listed);
    Form8->cc->SetText("carl@example.com");
    Send();
    EXPECT_EQ(status->Texts.back(), "Error sending mail!");
    EXPECT_FALSE(Form8->smtp->Connected());
    status->Texts.clear();
    Send();
    EXPECT_TRUE(server->Join());
    EXPECT_EQ(status->Texts, kDelivered);
    EXPECT_EQ(scripts[0].Commands.back(), "QUIT") << "the failed exchange said goodbye";
    const Lines envelope = {"HELO tester", "RSET", "MAIL FROM:<ann@example.com>", "RCPT TO:<bob@example.com>",
                            "RCPT TO:<carl@example.com>", "DATA", "QUIT"};
    EXPECT_EQ(scripts[1].Commands, envelope);
    const std::string& data = scripts[1].Data.at(0);
    EXPECT_NE(Header(data).find("To: bob@example.com\r\nCC: carl@example.com\r\n"), std::string::npos);
    const std::string part = "filename=\"notes.txt\"";
    EXPECT_NE(data.find(part), std::string::npos);
    EXPECT_EQ(data.find(part), data.rfind(part)) << "one part";
}

TEST_F(SendRunTest, TextInAnyScriptIsSentAsUtf8WithEncodedWordsInTheHeader)
{
    Start();
    Form8->subject->SetText("\u041F\u0440\u0438\u0432\u0435\u0442 \u03A3");
    Form1->memo1->SetText("\u0416\u0451\u043B\u0442\u044B\u0439 \u20AC");
    Send();
    EXPECT_TRUE(server->Join());
    EXPECT_EQ(status->Texts, kDelivered);
    ASSERT_EQ(scripts[0].Data.size(), 1u);
    const std::string& data = scripts[0].Data[0];
    EXPECT_NE(data.find("Subject: =?utf-8?Q?=D0=9F=D1=80=D0=B8=D0=B2=D0=B5=D1=82_=CE=A3?=\r\n"), std::string::npos)
        << Header(data);
    EXPECT_NE(data.find("charset=utf-8"), std::string::npos);
    EXPECT_NE(data.find("\r\n\r\n=D0=96=D1=91=D0=BB=D1=82=D1=8B=D0=B9 =E2=82=AC\r\n"), std::string::npos) << data;
}

TEST_F(SendRunTest, EachSendShowsItsStepsAndEachFailureItsMessageWithTheConnectionClosed)
{
    const char* const ehloLogin = "250-test server\r\n250 AUTH PLAIN\r\n";
    const char* const login = "AUTH PLAIN AHRlc3RlcgBwdw==";
    const Lines failed = {"Connecting to server...", "Error sending mail!"};
    const struct {
        const char* name;
        std::function<void(TSmtpScript&)> server;
        std::function<void()> form;
        Lines statuses;
        Lines boxes;
        Lines commands;  // empty: no connection is made
    } cases[] = {
        {"login",
         [&](TSmtpScript& s) {
             s.Replies["EHLO"] = ehloLogin;
             s.AuthReplies = {"235 welcome\r\n"};
         },
         [] { Form2->password->SetText("pw"); },
         {"Connecting to server...", "Logging in...", "Connected to server...", "Sending messages...",
          "Mail delivered!"},
         {},
         {"EHLO tester", login, "RSET", "MAIL FROM:<ann@example.com>", "RCPT TO:<bob@example.com>", "DATA", "QUIT"}},
        {"login refused",
         [&](TSmtpScript& s) {
             s.Replies["EHLO"] = ehloLogin;
             s.AuthReplies = {"535 no\r\n"};
         },
         [] { Form2->password->SetText("pw"); }, {"Connecting to server...", "Logging in...", "Error sending mail!"},
         {"The server refused the username or password (in the preferences screen)!"},
         {"EHLO tester", login, "QUIT"}},
        {"no STARTTLS", [&](TSmtpScript& s) { s.Replies["EHLO"] = ehloLogin; },
         [] { Form2->security->SetItemIndex(1); }, failed, {"The server does not offer STARTTLS!"},
         {"EHLO tester", "QUIT"}},
        {"the server closes instead of securing",
         [](TSmtpScript& s) {
             s.Replies["EHLO"] = "250-test server\r\n250-STARTTLS\r\n250 AUTH PLAIN\r\n";
             s.Replies["STARTTLS"] = "220 go ahead\r\n";
             s.CloseAfter = "STARTTLS";
         },
         [] {
             Form2->security->SetItemIndex(1);
             Form2->password->SetText("pw");
         },
         {"Connecting to server...", "Securing connection...", "Error sending mail!"},
         {"The secure connection to the server failed!"}, {"EHLO tester", "STARTTLS"}},
        {"silent server", [](TSmtpScript& s) { s.SilentAfter = "MAIL"; },
         [] {
             Form8->smtp->TimeOut = 500;
             Form8->smtp->Limits.Mail = 500;
         },
         {"Connecting to server...", "Connected to server...", "Sending messages...", "Error sending mail!"}, {},
         // The time-out drops the connection: no QUIT that the late reply could answer.
         {"HELO tester", "RSET", "MAIL FROM:<ann@example.com>"}},
        {"missing attachment", nullptr, [] { Form8->attach->Add("C:\\no such folder\\gone.txt"); },
         {"Connecting to server...", "Connected to server...", "Error sending mail!"}, {"Attachment(s) not valid!"},
         {"HELO tester", "QUIT"}},
        {"HELO refused", [](TSmtpScript& s) { s.HeloReplies = {"550 who are you\r\n"}; }, nullptr, failed,
         {"Username (in preferences screen) in not valid!"}, {"HELO tester", "QUIT"}},
        {"connect refused", nullptr, [] { Form2->port->SetText(IntToStr(UnusedPort())); },
         {"Connecting to server...", "Connection failed!", "Error sending mail!"}, {}, {}},
        {"unknown host", nullptr, [] { Form2->server->SetText("no-such-host.invalid"); }, failed,
         {"Host does not respond!"}, {}},
        // A port that is not a TCP port ends in error without a box.
        {"port with a blank", nullptr, [] { Form2->port->SetText("2 5"); }, failed, {}, {}},
        {"port by name", nullptr, [] { Form2->port->SetText("smtp"); }, failed, {}, {}},
        {"port too big", nullptr, [] { Form2->port->SetText("70000"); }, failed, {}, {}},
        {"port 0", nullptr, [] { Form2->port->SetText("0"); }, failed, {}, {}},
    };
    int connections = 0;
    for (const auto& each : cases) {
        scripts.emplace_back();
        if (each.server)
            each.server(scripts.back());
        connections += each.commands.empty() ? 0 : 1;
    }
    Start(connections);
    const unsigned timeOut = Form8->smtp->TimeOut;
    const TSmtpLimits limits = Form8->smtp->Limits;
    ULONGLONG ended = 0;
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        Form2->security->SetItemIndex(0);
        Form2->password->SetText("");
        Form2->server->SetText("127.0.0.1");
        Form2->port->SetText(IntToStr(server->Port()));
        Form8->attach->Clear();
        Form8->smtp->TimeOut = timeOut;
        Form8->smtp->Limits = limits;
        if (each.form)
            each.form();
        dialogs.boxes.clear();
        status->Texts.clear();
        Send();
        ended = GetTickCount64();
        EXPECT_EQ(status->Texts, each.statuses);
        EXPECT_EQ(Boxes(), each.boxes);
        EXPECT_FALSE(Form8->smtp->Connected());
        EXPECT_FALSE(Form8->Sending);
        EXPECT_EQ(Form8->Gauge1->Position(), 0);
    }
    EXPECT_TRUE(server->Join());
    EXPECT_EQ(server->Accepted(), connections);
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(scripts[i].Commands, cases[i].commands) << cases[i].name;

    // The status returns to "Idle" five seconds after the send ended, and
    // the timer runs on until the next Send.
    while (Form8->Status() != "Idle" && GetTickCount64() - ended < 20000)
        Pump(20);
    EXPECT_EQ(Form8->Status(), "Idle");
    EXPECT_GE(GetTickCount64() - ended, 4900u);
    EXPECT_EQ(Form8->Timer2->Interval(), 5000u);
    EXPECT_TRUE(Form8->Timer2->Enabled());
}
