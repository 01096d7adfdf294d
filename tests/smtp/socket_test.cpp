// The socket layer against scripted servers on the loopback interface.
#include "FailureText.h"
#include "ScriptedServer.h"
#include "TempFiles.h"

#include "smtp/SocketClient.h"
#include "smtp/SocketHost.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

ULONGLONG Now() { return GetTickCount64(); }

// Handles window messages until `done` holds or a few seconds passed.
template <typename Done>
bool PumpUntil(Done done, int milliseconds = 5000)
{
    for (ULONGLONG start = Now(); Now() - start < static_cast<ULONGLONG>(milliseconds);) {
        if (done())
            return true;
        Sleep(2);
        Application->ProcessMessages();
    }
    return done();
}

// Answers "ok" once `count` bytes have come, so that the client's abortive
// close cannot cut them off.
void AcknowledgeAfter(TServerConnection& c, size_t count)
{
    c.WaitForBytes(count);
    c.Send("ok\r\n");
    c.WaitForClose();
}

// Compares without printing megabytes when they differ.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    const size_t at = std::mismatch(actual.begin(), actual.begin() + std::min(actual.size(), expected.size()),
                                    expected.begin()).first - actual.begin();
    return ::testing::AssertionFailure() << actual.size() << " bytes instead of " << expected.size()
                                         << ", first difference at " << at;
}

void Greet(TServerConnection& c)
{
    c.Send("hello\r\n");
    c.WaitForClose();
}

class Socket : public ::testing::Test {
protected:
    Socket() { client.Host = "127.0.0.1"; }
    void Use(const TScriptedServer& server) { client.Port = server.Port(); }
    // A failed attempt leaves the client fit for the next connect.
    void ExpectTheNextConnectWorks()
    {
        TScriptedServer server(Greet);
        Use(server);
        client.Connect();
        EXPECT_EQ(client.ReadLn(), "hello\r\n");
        client.Disconnect();
        EXPECT_TRUE(server.Join());
    }
    TSocketClient client;
};

} // namespace

TEST_F(Socket, DottedHostConnectsWithoutLookupAndNamesAreLookedUp)
{
    TScriptedServer server(Greet, 2);
    Use(server);
    int resolved = 0, connected = 0, disconnected = 0;
    client.OnHostResolved = [&](TObject*) { ++resolved; };
    client.OnConnect = [&](TObject*) { ++connected; };
    client.OnDisconnect = [&](TObject*) { ++disconnected; };
    client.Connect();
    EXPECT_TRUE(client.Connected());
    EXPECT_EQ(client.ReadLn(), "hello\r\n");
    EXPECT_EQ(resolved, 0);
    client.Disconnect();
    EXPECT_FALSE(client.Connected());

    client.Host = "localhost";
    client.Connect();
    EXPECT_EQ(client.ReadLn(), "hello\r\n");
    EXPECT_EQ(resolved, 1);
    client.Disconnect();
    EXPECT_EQ(connected, 2);
    EXPECT_EQ(disconnected, 2);
    EXPECT_EQ(FailureOf([&] { client.ReadLn(); }), "ESockError: Not Connected");
    EXPECT_TRUE(server.Join());
}

TEST_F(Socket, AFailedConnectFiresItsEventAndTheNextConnectWorks)
{
    TStalledListener stalled;
    const struct {
        int port;
        int timeOut;
        const char* failure;
        unsigned atLeast;
    } cases[] = {
        {UnusedPort(), 0, "ESockError: Connection Failed", 0},  // refused: at once
        {stalled.Port(), 300, "ESockError: Connection Timed out", 250},  // the send window waits 30000
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failure);
        client.Port = c.port;
        client.TimeOut = c.timeOut;
        std::vector<std::string> events;
        client.OnConnectionFailed = [&](TObject*) { events.push_back("failed"); };
        const ULONGLONG start = Now();
        EXPECT_EQ(FailureOf([&] { client.Connect(); }), c.failure);
        const ULONGLONG took = Now() - start;
        EXPECT_GE(took, c.atLeast);
        EXPECT_LT(took, 3000u);
        EXPECT_EQ(events, std::vector<std::string>{"failed"});
        EXPECT_FALSE(client.Connected());
        // The abandoned attempt does not hold up the next connect.
        ExpectTheNextConnectWorks();
    }
}

TEST_F(Socket, UnresolvableHostAsksOnceForAnotherHost)
{
    client.Host = "no-such-host.invalid";
    client.Port = 25;
    EXPECT_EQ(FailureOf([&] { client.Connect(); }), "ESockError: Null Remote Address");

    int asked = 0;
    client.OnInvalidHost = [&](bool&) { ++asked; };
    EXPECT_EQ(FailureOf([&] { client.Connect(); }), "ESockError: Null Remote Address");
    EXPECT_EQ(asked, 1);

    TScriptedServer server(Greet);
    client.OnInvalidHost = [&](bool& handled) {
        ++asked;
        client.Host = "127.0.0.1";
        handled = true;
    };
    Use(server);
    client.Host = std::string(300, 'h');
    client.Connect();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(client.ReadLn(), "hello\r\n");
    client.Disconnect();
    EXPECT_TRUE(server.Join());
}

TEST_F(Socket, PortOutsideTheSixteenBitRangeIsRefused)
{
    for (int port : {0, -1, 65536, 65536 + 25}) {
        client.Port = port;
        EXPECT_EQ(FailureOf([&] { client.Connect(); }), "ESockError: Invalid port number") << port;
    }
}

TEST_F(Socket, LinesAreJoinedAndSplitWhateverTheChunks)
{
    TScriptedServer server([](TServerConnection& c) {
        c.Send("25");
        c.Pause(40);
        c.Send("0 split");
        c.Pause(40);
        c.Send("\r");
        c.Pause(40);
        c.Send("\nA\r\nB\nC");
        c.Pause(40);
        c.Send("\r\n");
        c.WaitForClose();
    });
    Use(server);
    client.Connect();
    EXPECT_EQ(client.ReadLn(), "250 split\r\n");
    EXPECT_EQ(client.ReadLn(), "A\r\n");
    EXPECT_EQ(client.ReadLn(), "B\n");
    EXPECT_EQ(client.ReadLn(), "C\r\n");
    EXPECT_EQ(client.PendingReceived(), 0u);
    client.Disconnect();
    EXPECT_TRUE(server.Join());
}

TEST_F(Socket, TransactionDerivesTheReplyCode)
{
    TScriptedServer server([](TServerConnection& c) {
        for (const char* reply : {"250-first\r\n", "no code\r\n", "0042 x\r\n", "99999 big\r\n"}) {
            c.ReadLine();
            c.Send(reply);
        }
        c.WaitForClose();
    });
    Use(server);
    std::vector<std::string> status;
    client.ReportLevel = 1;
    client.OnStatus = [&](TObject*, const std::string& text) { status.push_back(text); };
    client.Connect();
    EXPECT_EQ(client.Transaction("ONE"), "250-first\r\n");
    EXPECT_EQ(client.ReplyCode(), 250);
    EXPECT_EQ(client.LastReply(), "250-first\r\n");
    client.Transaction("TWO");
    EXPECT_EQ(client.ReplyCode(), 0);
    client.Transaction("THREE");
    EXPECT_EQ(client.ReplyCode(), 42);
    EXPECT_THROW(client.Transaction("FOUR"), ERangeError);
    client.Disconnect();
    EXPECT_TRUE(server.Join());
    EXPECT_EQ(server.Received(), "ONE\r\nTWO\r\nTHREE\r\nFOUR\r\n");
    // Level 1 reports the reply lines only.
    EXPECT_EQ(status, (std::vector<std::string>{"250-first\r\n", "no code\r\n", "0042 x\r\n", "99999 big\r\n"}));
}

TEST_F(Socket, StatusMessagesUpToTheReportLevel)
{
    TScriptedServer server(Greet);
    Use(server);
    std::vector<std::string> status;
    client.OnStatus = [&](TObject*, const std::string& text) { status.push_back(text); };
    client.Connect();
    EXPECT_TRUE(PumpUntil([&] { return client.PendingReceived() > 0; }));
    EXPECT_TRUE(status.empty());
    client.ReportLevel = 8;
    client.ReadLn();
    client.Disconnect();
    EXPECT_EQ(status, (std::vector<std::string>{"ReadLn", "Disconnecting", "Request Close Socket"}));
    EXPECT_EQ(client.StatusText(), "Request Close Socket");
    EXPECT_TRUE(server.Join());
}

TEST_F(Socket, WriteKeepsItsCutAndSendBufferSendsEverything)
{
    const std::string big(100000, 'b');
    const std::string expected = std::string(16384, 'w') + "up to" + big + "abc";
    TScriptedServer server([&](TServerConnection& c) { AcknowledgeAfter(c, expected.size()); });
    Use(server);
    client.Connect();
    client.Write(std::string(20000, 'w'));
    client.Write(std::string("up to\0here", 10));
    client.SendBuffer(big.data(), big.size());
    client.SendBuffer("abc\0def", 0);
    EXPECT_EQ(client.ReadLn(), "ok\r\n");
    client.Disconnect();
    EXPECT_TRUE(server.Join());
    EXPECT_TRUE(SameBytes(server.Received(), expected));
}

TEST_F(Socket, SendStreamCountsEveryChunk)
{
    std::string bytes(1 << 20, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 31 + (i >> 12));
    TScriptedServer server(
        [&](TServerConnection& c) {
            static int connection = 0;
            AcknowledgeAfter(c, bytes.size() + (++connection == 1 ? 7 : 0));
        },
        2);
    Use(server);
    TMemoryStream memory;
    memory.WriteString(bytes);
    std::vector<int64_t> progress;
    client.OnPacketSent = [&](TObject*) { progress.push_back(client.SentBytes()); };
    client.Connect();
    client.SendStream(memory);
    EXPECT_EQ(client.TotalBytes(), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(client.SentBytes(), client.TotalBytes());
    ASSERT_FALSE(progress.empty());
    int64_t before = 0;
    for (int64_t sent : progress) {
        EXPECT_GT(sent, before);
        EXPECT_LE(sent - before, 16383);
        before = sent;
    }
    EXPECT_EQ(progress.back(), static_cast<int64_t>(bytes.size()));
    // Commands sent outside SendStream fire no progress.
    progress.clear();
    client.Writeln("after");
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(client.ReadLn(), "ok\r\n");
    client.Disconnect();

    TTempFolder folder;
    const std::string path = folder.Write("stream.bin", bytes);
    client.Connect();
    {
        TFileStream file(path, fmOpenRead);
        client.SendStream(file);
    }
    EXPECT_EQ(client.ReadLn(), "ok\r\n");
    client.Disconnect();
    EXPECT_TRUE(server.Join());
    EXPECT_TRUE(SameBytes(server.Received(), bytes + "after\r\n" + bytes));
}

TEST_F(Socket, CloseDuringAWaitEndsItAfterTheLinesAlreadyReceived)
{
    TScriptedServer server(
        [](TServerConnection& c) {
            static int connection = 0;
            if (++connection == 1) {
                c.Send("221 bye\r\n250 par");
                c.Close();
            } else {
                c.Send("hello\r\n");
                c.WaitForClose();
            }
        },
        2);
    Use(server);
    client.Connect();
    // Let the close notification arrive before the lines are asked for.
    EXPECT_TRUE(PumpUntil([&] { return !client.Connected(); }));
    EXPECT_EQ(client.ReadLn(), "221 bye\r\n");
    const ULONGLONG start = Now();
    EXPECT_EQ(FailureOf([&] { client.ReadLn(); }), "ESockError: Connection closed by the server");
    EXPECT_LT(Now() - start, 1000u);
    EXPECT_EQ(FailureOf([&] { client.Writeln("MORE"); }), "ESockError: Connection closed by the server");

    // A closed connection leaves nothing behind for the next one.
    ASSERT_EQ(FailureOf([&] { client.Connect(); }), "no failure") << client.LastError();
    EXPECT_EQ(client.ReadLn(), "hello\r\n");
    client.Disconnect();
    EXPECT_TRUE(server.Join());
}

TEST_F(Socket, ResetDuringAWaitFailsTheWait)
{
    TScriptedServer server([](TServerConnection& c) {
        c.ReadLine();
        c.Reset();
    });
    Use(server);
    client.Connect();
    const ULONGLONG start = Now();
    const std::string failure = FailureOf([&] { client.Transaction("HELLO"); });
    EXPECT_EQ(failure.rfind("ESockError: ", 0), 0u) << failure;
    EXPECT_LT(Now() - start, 2000u);
    EXPECT_FALSE(client.Connected());
    EXPECT_TRUE(server.Join());
}

TEST_F(Socket, SendToAResetConnectionFails)
{
    TScriptedServer server([](TServerConnection& c) {
        c.WaitForBytes(1 << 20);
        c.Reset();
    });
    Use(server);
    TMemoryStream memory;
    memory.WriteString(std::string(64 << 20, 's'));
    client.Connect();
    const ULONGLONG start = Now();
    const std::string failure = FailureOf([&] { client.SendStream(memory); });
    EXPECT_TRUE(failure == "ESockError: 10054:Connection reset by peer" ||
                failure == "ESockError: Connection closed by the server")
        << failure;
    EXPECT_LT(Now() - start, 5000u);
    EXPECT_LT(client.SentBytes(), client.TotalBytes());
    EXPECT_FALSE(client.Connected());
    EXPECT_TRUE(server.Join());
}

TEST_F(Socket, SilenceEndsTheWaitAfterTheLongerOfTheLimits)
{
    TScriptedServer server([](TServerConnection& c) { c.WaitForClose(8000); }, 2);
    Use(server);
    client.SilenceLimit = 200;
    for (int timeOut : {0, 800}) {
        client.TimeOut = timeOut;
        client.Connect();
        const ULONGLONG start = Now();
        EXPECT_EQ(FailureOf([&] { client.ReadLn(); }), "ESockError: Socket readln timed out");
        const ULONGLONG took = Now() - start;
        EXPECT_GE(took, std::max(200, timeOut) - 10u) << timeOut;
        EXPECT_LT(took, std::max(200, timeOut) + 2000u) << timeOut;
        // The late answer must not pass for the answer to a later command.
        EXPECT_FALSE(client.Connected());
    }
    EXPECT_TRUE(server.Join());
}

TEST_F(Socket, EndlessLineIsRefused)
{
    TScriptedServer server([](TServerConnection& c) {
        c.Send(std::string(70000, 'x'));
        c.WaitForClose();
    });
    Use(server);
    client.Connect();
    EXPECT_EQ(FailureOf([&] { client.ReadLn(); }), "ESockError: Reply line too long");
    EXPECT_FALSE(client.Connected());
    EXPECT_TRUE(server.Join());
}

TEST_F(Socket, CancelledSendLeavesNothingForTheNextConnection)
{
    TScriptedServer server(
        [](TServerConnection& c) {
            static int connection = 0;
            if (++connection == 1)
                c.Pause(300);  // reads nothing
            else
                AcknowledgeAfter(c, 7);
        },
        2);
    Use(server);
    TMemoryStream memory;
    memory.WriteString(std::string(8 << 20, 'o'));
    client.OnPacketSent = [&](TObject*) { client.Cancel(); };
    client.Connect();
    EXPECT_EQ(FailureOf([&] { client.SendStream(memory); }), "EAbortError: Socket send aborted");
    EXPECT_FALSE(client.CancelFlag());
    client.OnPacketSent = nullptr;
    client.Disconnect();

    client.Connect();
    client.Writeln("fresh");
    EXPECT_EQ(client.ReadLn(), "ok\r\n");
    client.Disconnect();
    EXPECT_TRUE(server.Join());
    const std::string received = server.Received();
    EXPECT_EQ(received.substr(received.size() - 7), "fresh\r\n");
    EXPECT_EQ(received.find_first_not_of('o'), received.size() - 7);
}

TEST_F(Socket, CancelEndsAWaitingReadLn)
{
    TScriptedServer server([](TServerConnection& c) { c.WaitForClose(); });
    Use(server);
    client.Connect();
    TThreadTimer timer;
    timer.SetInterval(100);
    timer.SetOnTimer([&](TObject*) {
        timer.SetEnabled(false);
        client.Cancel();
    });
    EXPECT_EQ(FailureOf([&] { client.ReadLn(); }), "EAbortError: Socket readln aborted");
    client.Disconnect();
    EXPECT_TRUE(server.Join());
}

TEST(ThreadTimer, AFailingHandlerIsReportedThroughTheHostAfterItIsLeft)
{
    struct TRecordingHost : TSocketHost {
        void ProcessMessages() override { Application->ProcessMessages(); }
        void ReportFailure(const std::string& message) override
        {
            reports.push_back(message);
            handlingException = std::uncaught_exceptions() > 0 || std::current_exception() != nullptr;
        }
        std::vector<std::string> reports;
        bool handlingException = false;
    } host;
    InstallSocketHost(&host);
    TThreadTimer timer;
    timer.SetInterval(10);
    timer.SetOnTimer([&](TObject*) {
        timer.SetEnabled(false);
        throw ESockError("the handler failed");
    });
    EXPECT_TRUE(PumpUntil([&] { return !host.reports.empty(); }));
    InstallSocketHost(nullptr);
    ASSERT_EQ(host.reports, std::vector<std::string>{"the handler failed"});
    EXPECT_FALSE(host.handlingException);
}

TEST_F(Socket, CheckConnectedGivesTheHandlerOneChance)
{
    EXPECT_EQ(FailureOf([&] { client.CheckConnected(); }), "Not Connected");
    TScriptedServer server(Greet);
    Use(server);
    int asked = 0;
    client.OnConnectionRequired = [&](bool& handled) {
        ++asked;
        client.Connect();
        handled = true;
    };
    client.CheckConnected();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(client.Connected());
    EXPECT_EQ(FailureOf([&] { client.Connect(); }), "ESockError: Already connected");
    client.Disconnect();
    EXPECT_TRUE(server.Join());
}

TEST(SockErrors, OnlyWouldBlockIsTolerated)
{
    EXPECT_TRUE(IsToleratedSockError(10035));
    // These contain every bit of 10035 and still are real failures.
    EXPECT_FALSE(IsToleratedSockError(10039));
    EXPECT_FALSE(IsToleratedSockError(10043));
    EXPECT_FALSE(IsToleratedSockError(10047));
    EXPECT_FALSE(IsToleratedSockError(10061));
    EXPECT_EQ(SockErrorText(10061), "10061:Connection refused");
    EXPECT_EQ(SockErrorText(11004), "11004:Valid name, no data record of requested type");
    EXPECT_EQ(SockErrorText(12345), "Unknown Error No. 12345");
}
