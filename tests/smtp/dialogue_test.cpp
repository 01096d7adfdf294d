// The SMTP dialogue against a scripted server: every row of the reply tests,
// the events, and the mended waits.
#include "DialogueFixture.h"
#include "TempFiles.h"

#include "smtp/SmtpClient.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <memory>

TEST_F(Dialogue, MultiLineGreetingAndHeloRepliesAreReadWhole)
{
    script.Greeting = "220-mail.example.com\r\n220-more text\r\n220 ready\r\n";
    script.HeloReplies = {"250-hello tester\r\n250 SIZE 1000000\r\n"};
    Start();
    SendOnce();
    EXPECT_EQ(script.Commands, Plus(Envelope, {"QUIT"}));
    ASSERT_EQ(script.Data.size(), 1u);
    EXPECT_EQ(script.Data[0], smtp.HeaderBlock() + smtp.MessageStream().ToString() + ".\r\n");
    EXPECT_EQ(events, (Lines{"connect", "send start", "success"}));
    EXPECT_FALSE(smtp.Busy());
    EXPECT_FALSE(smtp.Connected());
}

TEST_F(Dialogue, EachReplyCodeGoesOnOrFailsWithItsLastLineAndQuit)
{
    const Lines sent = Plus(Envelope, {"QUIT"});
    const struct {
        const char* name;
        std::function<void()> setUp;
        bool send;  // SendMail after the connect
        std::string failure;
        Lines commands;
        Lines events;
    } cases[] = {
        {"refused greeting", [&] { script.Greeting = "421-mail.example.com\r\n421 too busy\r\n"; }, false,
         "421 too busy\r\n", {"QUIT"}, {}},
        {"HELO 299", [&] { script.HeloReplies = {"299 odd but fine\r\n"}; }, false, "no failure",
         {"HELO tester", "QUIT"}, {"connect"}},
        {"HELO 300 without a handler", [&] { script.HeloReplies = {"300 not quite\r\n"}; }, false,
         "Authentication failed", {"HELO tester", "QUIT"}, {}},
        {"HELO refused, the handler gives another name",
         [&] {
             script.HeloReplies = {"501-bad name\r\n501 try again\r\n", "250 ok\r\n"};
             smtp.OnAuthenticationFailed = [&](bool& handled) {
                 events.push_back("asked");
                 smtp.UserID = "second";
                 handled = true;
             };
         },
         false, "no failure", {"HELO tester", "HELO second", "QUIT"}, {"asked", "connect"}},
        {"HELO refused twice",
         [&] {
             script.HeloReplies = {"550 no\r\n"};
             smtp.OnAuthenticationFailed = [&](bool& handled) {
                 events.push_back("asked");
                 handled = true;
             };
         },
         false, "Authentication failed", {"HELO tester", "HELO tester", "QUIT"}, {"asked"}},
        {"RCPT 300 accepted, 301 refused",
         [&] {
             smtp.PostMessage.ToAddress.Add("carl@example.com");
             script.RcptReplies = {"300 fine\r\n", "301 not fine\r\n"};
         },
         true, "no failure",
         {"HELO tester", "RSET", "MAIL FROM:<ann@example.com>", "RCPT TO:<bob@example.com>",
          "RCPT TO:<carl@example.com>", "DATA", "QUIT"},
         {"connect", "send start", "refused carl@example.com", "success"}},
        {"RSET refused", [&] { script.Replies["RSET"] = "451 later\r\n"; }, true, "451 later\r\n",
         {"HELO tester", "RSET", "QUIT"}, {"connect", "send start"}},
        {"MAIL refused", [&] { script.Replies["MAIL"] = "451 later\r\n"; }, true, "451 later\r\n",
         {"HELO tester", "RSET", "MAIL FROM:<ann@example.com>", "QUIT"}, {"connect", "send start"}},
        {"DATA refused", [&] { script.Replies["DATA"] = "451 later\r\n"; }, true, "451 later\r\n", sent,
         {"connect", "send start"}},
        // Only a refusal of the message itself fires OnFailure.
        {"message refused", [&] { script.Replies["."] = "554 rejected\r\n"; }, true, "554 rejected\r\n", sent,
         {"connect", "send start", "failure"}},
        {"no recipient", [&] { smtp.PostMessage.ToAddress.Clear(); }, true, "Incomplete Header",
         {"HELO tester", "QUIT"}, {"connect"}},
        {"QUIT 339", [&] { script.Replies["QUIT"] = "339 odd goodbye\r\n"; }, false, "no failure",
         {"HELO tester", "QUIT"}, {"connect"}},
        {"QUIT 350", [&] { script.Replies["QUIT"] = "350 what?\r\n"; }, false, "350 what?\r\n",
         {"HELO tester", "QUIT"}, {"connect"}},
    };
    const TPostMessage message = smtp.PostMessage;
    smtp.OnRecipientNotFound = [&](const std::string& entry) { events.push_back("refused " + entry); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        script = TSmtpScript();
        events.clear();
        smtp.PostMessage = message;
        smtp.UserID = "tester";
        smtp.OnAuthenticationFailed = nullptr;
        c.setUp();
        const int recipients = smtp.PostMessage.ToAddress.Count();
        Start();
        EXPECT_EQ(FailureOf([&] {
                      smtp.Connect();
                      if (c.send)
                          smtp.SendMail();
                      smtp.Disconnect();
                  }),
                  c.failure);
        EXPECT_FALSE(smtp.Busy());
        // A refused message leaves the connection open, and its recipients.
        const bool sendFailed = c.send && c.failure != "no failure";
        EXPECT_EQ(smtp.Connected(), sendFailed);
        if (sendFailed) {
            EXPECT_EQ(smtp.PostMessage.ToAddress.Count(), recipients);
            smtp.Disconnect();
        }
        Finish();
        EXPECT_EQ(script.Commands, c.commands);
        EXPECT_EQ(events, c.events);
    }
}

TEST_F(Dialogue, RefusedRecipientsAreReportedAndTheDataStillSent)
{
    TPostMessage& m = smtp.PostMessage;
    m.ToCarbonCopy = {"Carl <carl@example.com>", ""};
    m.ToBlindCarbonCopy = {"eve@example.com", "Nobody <>"};
    script.RcptReplies = {"550 no such user\r\n"};
    Lines refused;
    smtp.OnRecipientNotFound = [&](const std::string& entry) { refused.push_back(entry); };
    Start();
    SendOnce();
    EXPECT_EQ(refused, (Lines{"bob@example.com", "Carl <carl@example.com>", "eve@example.com"}));
    EXPECT_EQ(script.Commands, (Lines{"HELO tester", "RSET", "MAIL FROM:<ann@example.com>", "RCPT TO:<bob@example.com>",
                                      "RCPT TO:<carl@example.com>", "RCPT TO:<eve@example.com>", "DATA", "QUIT"}));
    ASSERT_EQ(script.Data.size(), 1u);
    EXPECT_EQ(script.Data[0].find("eve@"), std::string::npos);
    EXPECT_NE(script.Data[0].find("\r\nCC: Carl <carl@example.com>,\r\n"), std::string::npos);
}

TEST_F(Dialogue, SendMailDuringASendReturnsAtOnce)
{
    int nested = 0;
    smtp.OnSendStart = [&](TObject*) {
        events.push_back("send start");
        smtp.SendMail();
        ++nested;
    };
    Start();
    SendOnce();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(events, (Lines{"connect", "send start", "success"}));
    EXPECT_EQ(script.Commands, Plus(Envelope, {"QUIT"}));
}

TEST_F(Dialogue, ClearParamsEmptiesRecipientsAndAttachmentsAfterSuccess)
{
    TTempFolder folder;
    TPostMessage& m = smtp.PostMessage;
    m.ToCarbonCopy = {"carl@example.com"};
    m.ToBlindCarbonCopy = {"eve@example.com"};
    m.Attachments = {folder.Write("a.txt", "attached")};
    Start();
    smtp.Connect();
    smtp.ClearParams = false;
    smtp.SendMail();
    EXPECT_EQ(m.ToAddress.Count() + m.ToCarbonCopy.Count() + m.ToBlindCarbonCopy.Count(), 3);
    EXPECT_EQ(m.Attachments.Count(), 1);
    smtp.ClearParams = true;
    smtp.SendMail();
    EXPECT_TRUE(m.ToAddress.Empty() && m.ToCarbonCopy.Empty() && m.ToBlindCarbonCopy.Empty());
    EXPECT_TRUE(m.Attachments.Empty());
    EXPECT_EQ(m.Body.Count(), 1);
    EXPECT_EQ(m.Subject, "Test");
    EXPECT_EQ(m.FromAddress, "ann@example.com");
    smtp.Disconnect();
    Finish();
    EXPECT_EQ(script.Data.size(), 2u);
}

TEST_F(Dialogue, IncompleteHeaderGetsOneChanceAndTheHeaderShowsTheRepair)
{
    smtp.PostMessage.FromAddress.clear();
    Lines asked;
    smtp.OnHeaderIncomplete = [&](bool& handled, int type) {
        asked.push_back(std::to_string(type));
        smtp.PostMessage.FromAddress = "fixed@example.com";
        handled = true;
    };
    Start();
    SendOnce();
    EXPECT_EQ(asked, Lines{"1"});
    EXPECT_EQ(script.Commands[2], "MAIL FROM:<fixed@example.com>");
    EXPECT_EQ(script.Data[0].rfind("From: <fixed@example.com>\r\n", 0), 0u);

    TSmtpClient other;
    other.PostMessage.FromAddress = "ann@example.com";
    int calls = 0;
    other.OnHeaderIncomplete = [&](bool&, int type) { calls += type; };
    EXPECT_EQ(FailureOf([&] { other.SendMail(); }), "Not Connected");
    other.OnConnectionRequired = [](bool& handled) { handled = true; };
    EXPECT_EQ(FailureOf([&] { other.SendMail(); }), "Not Connected");
    EXPECT_EQ(calls, 0);
}

TEST_F(Dialogue, LineBreaksInFieldsAreRefusedBeforeAnyCommand)
{
    smtp.PostMessage.Subject = "Hi\r\nBcc: everyone@example.com";
    Start();
    smtp.Connect();
    EXPECT_EQ(FailureOf([&] { smtp.SendMail(); }), "Line break in the subject");
    EXPECT_FALSE(smtp.Busy());
    smtp.PostMessage.Subject = "Hi";
    smtp.OnSendStart = [&](TObject*) { smtp.FinalHeader.Add("X-Evil: a\r\n.\r\nMAIL FROM:<x@y>"); };
    EXPECT_EQ(FailureOf([&] { smtp.SendMail(); }), "Line break in a header line");
    smtp.OnSendStart = [&](TObject*) { smtp.PostMessage.FromAddress = "a@b>\r\nRCPT TO:<c@d"; };
    EXPECT_EQ(FailureOf([&] { smtp.SendMail(); }), "Line break in the sender address");
    smtp.Disconnect();
    Finish();
    EXPECT_EQ(script.Commands, (Lines{"HELO tester", "QUIT"}));

    // The user name is checked before the connection is made.
    TSmtpClient other;
    TScriptedServer idle([](TServerConnection& c) { c.WaitForClose(); });
    other.Host = "127.0.0.1";
    other.Port = idle.Port();
    other.UserID = "me\r\nMAIL FROM:<x@y>";
    EXPECT_EQ(FailureOf([&] { other.Connect(); }), "Line break in the user name");
    EXPECT_FALSE(other.Busy());
    idle.Join(300);
    EXPECT_EQ(idle.Accepted(), 0);
}

TEST_F(Dialogue, HeaderLongerThanTheWriteBufferIsSentWhole)
{
    std::string subject;
    for (int i = 0; i < 4000; ++i)
        subject += "word ";
    smtp.PostMessage.Subject = subject;
    Start();
    SendOnce();
    ASSERT_EQ(script.Data.size(), 1u);
    const std::string header = smtp.HeaderBlock();
    EXPECT_GT(header.size(), 20000u);
    EXPECT_EQ(script.Data[0].substr(0, header.size()), header);
    EXPECT_EQ(script.Data[0], header + "Hello\r\n.\r\n");
}

TEST_F(Dialogue, NoBareLineBreakOrLoneDotReachesTheServer)
{
    TTempFolder folder;
    smtp.PostMessage.Body = {"one\ntwo", "\r\n.\r\nMAIL FROM:<evil@example.com>", ".", "a\rb", "..x", "\n.\n"};
    smtp.PostMessage.Attachments = {folder.Write("u.bin", std::string(59, 'u'))};
    smtp.EncodeType = uuCode;
    Start();
    SendOnce();
    ASSERT_EQ(script.Data.size(), 1u);
    const std::string& data = script.Data[0];
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\r') {
            ASSERT_EQ(data[i + 1], '\n') << i;
        }
        if (data[i] == '\n') {
            ASSERT_EQ(data[i - 1], '\r') << i;
        }
    }
    // The only lone "." is the end of the data.
    EXPECT_EQ(("\r\n" + data).find("\r\n.\r\n"), data.size() - 3);
    EXPECT_NE(data.find("\r\n\r\n..\r\nMAIL FROM:<evil@example.com>\r\n..\r\na\r\nb\r\n...x\r\n\r\n..\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(script.Commands, Plus(Envelope, {"QUIT"}));
}

TEST_F(Dialogue, SilentServerEndsEachWaitWithAnError)
{
    struct Case {
        const char* SilentAfter;
        unsigned TSmtpLimits::*Limit;
    };
    const Case cases[] = {
        {"GREETING", &TSmtpLimits::Greeting}, {"HELO", &TSmtpLimits::Mail}, {"MAIL", &TSmtpLimits::Mail},
        {"RCPT", &TSmtpLimits::Rcpt},         {"DATA", &TSmtpLimits::Data}, {".", &TSmtpLimits::DataEnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.SilentAfter);
        script = TSmtpScript();
        script.SilentAfter = c.SilentAfter;
        if (script.SilentAfter == "GREETING")
            script.Greeting.clear();
        events.clear();
        smtp.TimeOut = 0;
        // Only the limit of this step is short.
        smtp.Limits = TSmtpLimits();
        smtp.Limits.*c.Limit = 300;
        Start();
        const ULONGLONG start = GetTickCount64();
        const std::string failure = FailureOf([&] {
            smtp.Connect();
            smtp.SendMail();
        });
        const ULONGLONG took = GetTickCount64() - start;
        EXPECT_EQ(failure, "ESockError: Socket readln timed out");
        EXPECT_GE(took, 290u);
        EXPECT_LT(took, 3000u);
        EXPECT_FALSE(smtp.Busy());
        EXPECT_FALSE(smtp.Connected());
        EXPECT_EQ(std::count(events.begin(), events.end(), "success"), 0);
        Finish();
        EXPECT_EQ(script.Commands.empty(), script.SilentAfter == "GREETING");
    }
}

TEST_F(Dialogue, ServerThatStopsReadingEndsTheSend)
{
    // More than the loopback buffers hold.
    smtp.PostMessage.Body.Clear();
    const std::string line(100, 'd');
    for (int i = 0; i < 300000; ++i)
        smtp.PostMessage.Body.Add(line);
    script.StallData = true;
    smtp.Limits.DataBlock = 400;
    Start();
    smtp.Connect();
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(FailureOf([&] { smtp.SendMail(); }), "ESockError: Socket send timed out");
    EXPECT_LT(GetTickCount64() - start, 10000u);
    EXPECT_GT(smtp.SentBytes(), 0);
    EXPECT_LT(smtp.SentBytes(), smtp.TotalBytes());
    EXPECT_FALSE(smtp.Connected());
    EXPECT_FALSE(smtp.Busy());
    Finish();
}

TEST_F(Dialogue, ServerThatClosesMidReplyEndsTheWait)
{
    TScriptedServer closing([](TServerConnection& c) {
        c.Send("220 hi\r\n");
        c.ReadLine();
        c.Send("250 hal");
        c.Close();
    });
    smtp.Port = closing.Port();
    EXPECT_EQ(FailureOf([&] { smtp.Connect(); }), "ESockError: Connection closed by the server");
    EXPECT_FALSE(smtp.Connected());
    EXPECT_FALSE(smtp.Busy());
    EXPECT_TRUE(closing.Join());

    // A goodbye that comes together with the close is still read.
    TScriptedServer quitting([](TServerConnection& c) {
        c.Send("220 hi\r\n");
        c.ReadLine();
        c.Send("250 hello\r\n");
        c.ReadLine();
        c.Send("221 bye\r\n");
        c.Close();
    });
    smtp.Port = quitting.Port();
    smtp.Connect();
    smtp.Disconnect();
    EXPECT_TRUE(quitting.Join());
}

TEST_F(Dialogue, AbortWhenIdleClosesWithoutQuit)
{
    Start();
    smtp.Connect();
    int disconnected = 0;
    smtp.OnDisconnect = [&](TObject*) { ++disconnected; };
    smtp.Abort();
    EXPECT_FALSE(smtp.Connected());
    EXPECT_EQ(disconnected, 1);
    smtp.Disconnect();
    Finish();
    EXPECT_EQ(script.Commands, Lines{"HELO tester"});
}

TEST_F(Dialogue, AbortDuringASendEndsItAndTheNextReplyClosesTheConnection)
{
    // The cancel comes well after the envelope, even on a busy machine, and
    // well before the server answers DATA.
    script.DataReplyDelay = 3000;
    Start();
    smtp.Connect();
    TThreadTimer timer;
    timer.SetInterval(1000);
    timer.SetOnTimer([&](TObject*) {
        timer.SetEnabled(false);
        smtp.Abort();
    });
    EXPECT_EQ(FailureOf([&] { smtp.SendMail(); }), "EAbortError: Socket readln aborted");
    EXPECT_FALSE(smtp.Busy());
    EXPECT_EQ(events, (Lines{"connect", "send start"}));
    // The late reply finds the cancel and closes the connection.
    const ULONGLONG start = GetTickCount64();
    while (smtp.Connected() && GetTickCount64() - start < 6000) {
        Sleep(2);
        Application->ProcessMessages();
    }
    EXPECT_FALSE(smtp.Connected());
    EXPECT_EQ(smtp.PendingReceived(), 0u);
    Finish();
    EXPECT_EQ(script.Commands, Envelope);
}
