// The SMTP client against a scripted server: the component, a message to
// send and the events it fired.
#pragma once

#include "FailureText.h"
#include "ScriptedServer.h"

#include "smtp/SmtpClient.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

class Dialogue : public ::testing::Test {
protected:
    Dialogue()
    {
        smtp.Host = "127.0.0.1";
        smtp.UserID = "tester";
        TPostMessage& m = smtp.PostMessage;
        m.FromAddress = "ann@example.com";
        m.ToAddress.Add("bob@example.com");
        m.Subject = "Test";
        m.Body = {"Hello"};
        smtp.OnConnect = [this](TObject*) { events.push_back("connect"); };
        smtp.OnSendStart = [this](TObject*) { events.push_back("send start"); };
        smtp.OnSuccess = [this](TObject*) { events.push_back("success"); };
        smtp.OnFailure = [this](TObject*) { events.push_back("failure"); };
    }

    void Start(int connections = 1)
    {
        server = std::make_unique<TScriptedServer>([this](TServerConnection& c) { RunSmtp(c, script); },
                                                   connections);
        smtp.Port = server->Port();
    }

    // Ends the server; its records may be read afterwards.
    void Finish() { EXPECT_TRUE(server->Join()); }

    void SendOnce()
    {
        smtp.Connect();
        smtp.SendMail();
        smtp.Disconnect();
        Finish();
    }

    TSmtpClient smtp;
    TSmtpScript script;
    std::unique_ptr<TScriptedServer> server;
    Lines events;
};

inline const Lines Envelope = {"HELO tester", "RSET", "MAIL FROM:<ann@example.com>", "RCPT TO:<bob@example.com>",
                               "DATA"};

inline Lines Plus(Lines lines, const Lines& more)
{
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}
