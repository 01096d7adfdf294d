// A TCP server on 127.0.0.1 that runs a script on its own thread with blocking
// Winsock calls, while the component under test waits on the test's thread.
#pragma once

#include <winsock.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

// One accepted connection, as the script sees it. Every read gives up after
// a few seconds, so a script never outlives a failed test for long.
class TServerConnection {
public:
    TServerConnection(SOCKET socket, const std::atomic<bool>& stop) : socket_(socket), stop_(stop) {}
    ~TServerConnection();
    TServerConnection(const TServerConnection&) = delete;
    TServerConnection& operator=(const TServerConnection&) = delete;

    void Send(const std::string& bytes);
    // The next line, its line feed included; empty when the client closed.
    std::string ReadLine();
    // Message data up to and including the CR LF "." CR LF that ends it; empty on close.
    std::string ReadData();
    // Reads until `total` bytes have come in all; false when the client closed first.
    bool WaitForBytes(size_t total);
    // Reads and forgets bytes until the client closes; false on timeout.
    bool WaitForClose(int milliseconds = 5000);
    void Pause(int milliseconds);
    void Close();
    // Closes with a reset instead of an orderly close.
    void Reset();

    // Every byte read from the client.
    std::string Received;
    // Milliseconds to wait after each read, as a slower link would.
    int ReadPause = 0;

private:
    bool Fill();

    SOCKET socket_;
    const std::atomic<bool>& stop_;
    std::string pending_;
};

class TScriptedServer {
public:
    using TScript = std::function<void(TServerConnection&)>;
    // Runs the script for each of `connections` accepted connections in turn.
    explicit TScriptedServer(TScript script, int connections = 1);
    ~TScriptedServer();
    TScriptedServer(const TScriptedServer&) = delete;
    TScriptedServer& operator=(const TScriptedServer&) = delete;

    int Port() const { return port_; }
    // Waits until the script has ended; true unless it had to be stopped.
    bool Join(int milliseconds = 10000);
    int Accepted() const { return accepted_; }
    // Bytes received on every connection, in order.
    const std::string& Received() const { return received_; }

private:
    void Run(TScript script, int connections);

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::atomic<int> accepted_{0};
    std::string received_;
    std::thread thread_;
};

// A port on 127.0.0.1 where nobody listens.
int UnusedPort();

// A listener whose queue is full: a connect to it never completes.
class TStalledListener {
public:
    TStalledListener();
    ~TStalledListener();
    int Port() const { return port_; }

private:
    SOCKET listener_ = INVALID_SOCKET;
    std::vector<SOCKET> fillers_;
    int port_ = 0;
};

// An SMTP server dialogue: replies by command verb, with defaults for an
// accepting server; records commands and message data.
struct TSmtpScript {
    std::string Greeting = "220 test server ready\r\n";
    // Replies to successive HELO or RCPT commands; the last one repeats.
    std::vector<std::string> HeloReplies = {"250 hello\r\n"};
    std::vector<std::string> RcptReplies = {"250 recipient ok\r\n"};
    std::map<std::string, std::string> Replies = {
        {"RSET", "250 reset\r\n"}, {"MAIL", "250 sender ok\r\n"}, {"DATA", "354 go ahead\r\n"},
        {".", "250 queued\r\n"},   {"QUIT", "221 bye\r\n"},
    };
    // Replies to AUTH and to each line that answers a "334" challenge, in turn.
    std::vector<std::string> AuthReplies = {"235 accepted\r\n"};
    // Verbs after which the server goes silent (reads on, answers nothing).
    std::string SilentAfter;
    // The verb after whose reply the server closes the connection.
    std::string CloseAfter;
    // Stop reading for a while once DATA was answered.
    bool StallData = false;
    // Milliseconds between the end of the data and its reply.
    int DataReplyDelay = 0;
    // Milliseconds after each read of message data.
    int DataReadPause = 0;

    std::vector<std::string> Commands;  // without CR LF
    std::vector<std::string> Data;      // each message's data as received
};

void RunSmtp(TServerConnection& connection, TSmtpScript& script);
