// The dialogue of mail submission against a scripted server: EHLO and its
// fall-back, the two logins, STARTTLS missing or refused, and the handshake:
// bounded, and nothing but TLS on the wire once it was asked for.
#include "DialogueFixture.h"

#include "smtp/TlsChannel.h"

namespace {

const char* const Password = "s3cret";
// The password as the two logins send it.
const char* const PlainLogin = "AUTH PLAIN AHRlc3RlcgBzM2NyZXQ=";
const char* const LoginUser = "dGVzdGVy";
const char* const LoginPassword = "czNjcmV0";

// The failure of an action, with the kind of a security failure in front.
template <typename Action>
std::string SecurityFailureOf(Action action)
{
    return FailureOf([&] {
        try {
            action();
        } catch (const ESmtpSecurityError& error) {
            const char* const kinds[] = {"no starttls: ", "no login: ", "credentials: "};
            throw Exception(kinds[error.Failure] + error.Message());
        } catch (const ETlsError& error) {
            const char* const kinds[] = {"handshake: ", "untrusted: ", "wrong host: "};
            throw Exception(kinds[error.Failure] + error.Message());
        }
    });
}

class SecureDialogue : public Dialogue {
protected:
    SecureDialogue()
    {
        smtp.Password = Password;
        smtp.ClearParams = false;
        smtp.ReportLevel = 16;
        smtp.OnStatus = [this](TObject*, const std::string& text) { statuses.push_back(text); };
    }

    // No status text shows the password or a form of it.
    void ExpectPasswordNeverReported()
    {
        for (const std::string& text : statuses)
            for (const char* secret : {Password, PlainLogin + 11, LoginPassword})
                EXPECT_EQ(text.find(secret), std::string::npos) << text;
    }

    Lines statuses;
};

// The envelope after EHLO.
Lines AfterEhlo(const Lines& first) { return Plus(first, Lines(Envelope.begin() + 1, Envelope.end())); }

const char* const EhloBoth = "250-test server\r\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME\r\n";
const char* const EhloLogin = "250-test server\r\n250 AUTH=LOGIN\r\n";

} // namespace

TEST_F(SecureDialogue, APasswordLogsInWithThePlainOrTheLoginMechanism)
{
    const struct {
        const char* ehlo;
        Lines auth;
        Lines commands;
        std::string failure;
    } cases[] = {
        {EhloBoth, {"235 ok\r\n"}, Plus(AfterEhlo({"EHLO tester", PlainLogin}), {"QUIT"}), "no failure"},
        {EhloLogin,
         {"334 VXNlcm5hbWU6\r\n", "334 UGFzc3dvcmQ6\r\n", "235 ok\r\n"},
         Plus(AfterEhlo({"EHLO tester", "AUTH LOGIN", LoginUser, LoginPassword}), {"QUIT"}),
         "no failure"},
        {EhloBoth, {"535 5.7.8 bad credentials\r\n"}, {"EHLO tester", PlainLogin, "QUIT"},
         "credentials: 535 5.7.8 bad credentials\r\n"},
        {EhloLogin, {"334 VXNlcm5hbWU6\r\n", "535 no\r\n"}, {"EHLO tester", "AUTH LOGIN", LoginUser, "QUIT"},
         "credentials: 535 no\r\n"},
        {"250-test server\r\n250 auth cram-md5\r\n", {}, {"EHLO tester", "QUIT"},
         "no login: The server offers neither AUTH PLAIN nor AUTH LOGIN"},
        // A server that knows no EHLO gets HELO, and then has no login to offer.
        {"502 what?\r\n", {}, {"EHLO tester", "HELO tester", "QUIT"},
         "no login: The server offers neither AUTH PLAIN nor AUTH LOGIN"},
    };
    for (const auto& each : cases) {
        script = TSmtpScript();
        script.Replies["EHLO"] = each.ehlo;
        script.AuthReplies = each.auth.empty() ? Lines{"500 unexpected\r\n"} : each.auth;
        Start();
        EXPECT_EQ(SecurityFailureOf([&] {
                      smtp.Connect();
                      smtp.SendMail();
                      smtp.Disconnect();
                  }),
                  each.failure)
            << each.ehlo;
        Finish();
        EXPECT_EQ(script.Commands, each.commands) << each.ehlo;
        EXPECT_FALSE(smtp.Connected());
    }
    ExpectPasswordNeverReported();
}

TEST_F(SecureDialogue, StartTlsNotOfferedOrRefusedEndsBeforeAnyLogin)
{
    smtp.Security = msStartTls;
    const struct {
        const char* ehlo;
        const char* starttls;
        Lines commands;
        std::string failure;
    } cases[] = {
        {EhloBoth, "220 go ahead\r\n", {"EHLO tester", "QUIT"}, "no starttls: The server does not offer STARTTLS"},
        {"250-test server\r\n250 STARTTLS\r\n", "454 TLS not available\r\n", {"EHLO tester", "STARTTLS", "QUIT"},
         "no starttls: 454 TLS not available\r\n"},
        // With security asked for there is no going back to HELO.
        {"500 no EHLO here\r\n", "", {"EHLO tester", "QUIT"}, "Authentication failed"},
    };
    int secured = 0;
    smtp.OnSecuring = [&](TObject*) { ++secured; };
    for (const auto& each : cases) {
        script = TSmtpScript();
        script.Replies["EHLO"] = each.ehlo;
        script.Replies["STARTTLS"] = each.starttls;
        Start();
        EXPECT_EQ(SecurityFailureOf([&] { smtp.Connect(); }), each.failure) << each.ehlo;
        Finish();
        EXPECT_EQ(script.Commands, each.commands) << each.ehlo;
        EXPECT_FALSE(smtp.Connected());
    }
    EXPECT_EQ(secured, 0);
    ExpectPasswordNeverReported();
}

TEST_F(SecureDialogue, TheHandshakeIsBoundedAndNothingButTlsFollowsTheRequest)
{
    smtp.TimeOut = 1000;
    enum { Unchecked, Nothing, ClientHello };
    const struct {
        TMailSecurity security;
        const char* reply;  // to STARTTLS, or the greeting of an implicit-TLS port
        bool close;
        std::string failure;
        int sent;  // what the server received after the request
    } cases[] = {
        {msStartTls, "220 go ahead\r\n", false, "handshake: TLS handshake timed out", ClientHello},
        {msStartTls, "220 go ahead\r\n", true, "", Unchecked},
        {msStartTls, "220 go ahead\r\n250 injected\r\n", false,
         "handshake: The server sent data before the TLS handshake", Nothing},
        // A port that speaks plain SMTP where TLS was expected: its greeting
        // is refused before or during the handshake.
        {msImplicitTls, "220 plain greeting\r\n", false, "", Unchecked},
    };
    for (const auto& each : cases) {
        smtp.Security = each.security;
        std::string request;
        server = std::make_unique<TScriptedServer>([&](TServerConnection& c) {
            if (each.security == msStartTls) {
                c.Send("220 ready\r\n");
                c.ReadLine();
                c.Send("250-test server\r\n250 STARTTLS\r\n");
                request = c.ReadLine();
            }
            const size_t before = c.Received.size();
            c.Send(each.reply);
            if (each.close)
                c.Close();
            else
                c.WaitForClose();
            request += c.Received.substr(before);
        });
        smtp.Port = server->Port();
        const DWORD start = GetTickCount();
        const std::string failure = SecurityFailureOf([&] { smtp.Connect(); });
        EXPECT_LT(GetTickCount() - start, 4000u) << each.reply;
        Finish();
        EXPECT_EQ(failure.rfind("handshake: ", 0), 0u) << failure;
        if (!each.failure.empty()) {
            EXPECT_EQ(failure, each.failure);
        }
        EXPECT_FALSE(smtp.Connected());
        if (each.security == msStartTls) {
            ASSERT_EQ(request.substr(0, 10), "STARTTLS\r\n") << each.reply;
            request.erase(0, 10);
        }
        if (each.sent == ClientHello) {
            EXPECT_EQ(request.substr(0, 2), "\x16\x03") << each.reply;  // a TLS handshake record
        } else if (each.sent == Nothing) {
            EXPECT_EQ(request, "") << each.reply;
        }
        for (const char* clear : {"EHLO", "AUTH", "QUIT", LoginPassword})
            EXPECT_EQ(request.find(clear), std::string::npos) << each.reply;
    }
}
