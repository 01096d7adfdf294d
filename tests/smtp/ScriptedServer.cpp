#include "ScriptedServer.h"

#include <windows.h>

#include <stdexcept>

namespace {

constexpr int ReadGiveUp = 8000;  // ms

class TWinsock {
public:
    TWinsock()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(1, 1), &data);
    }
    ~TWinsock() { WSACleanup(); }
};

SOCKET Listen(int backlog, int& port)
{
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    address.sin_port = 0;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, backlog) != 0)
        throw std::runtime_error("cannot listen");
    int length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return listener;
}

// Waits until the socket can be read; false when `stop` was set or time ran out.
bool WaitReadable(SOCKET socket, const std::atomic<bool>& stop, int milliseconds)
{
    for (int waited = 0; waited < milliseconds && !stop; waited += 20) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(socket, &set);
        timeval wait = {0, 20000};
        if (select(0, &set, nullptr, nullptr, &wait) > 0)
            return true;
    }
    return false;
}

TWinsock& Winsock()
{
    static TWinsock winsock;
    return winsock;
}

} // namespace

// ---- connection ----

TServerConnection::~TServerConnection()
{
    if (socket_ != INVALID_SOCKET)
        closesocket(socket_);
}

void TServerConnection::Send(const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        int n = send(socket_, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0)
            return;
        sent += n;
    }
}

bool TServerConnection::Fill()
{
    if (socket_ == INVALID_SOCKET || !WaitReadable(socket_, stop_, ReadGiveUp))
        return false;
    char buffer[65536];
    int n = recv(socket_, buffer, sizeof buffer, 0);
    if (n <= 0)
        return false;
    if (ReadPause)
        Sleep(ReadPause);
    pending_.append(buffer, n);
    Received.append(buffer, n);
    return true;
}

std::string TServerConnection::ReadLine()
{
    for (;;) {
        size_t lf = pending_.find('\n');
        if (lf != std::string::npos) {
            std::string line = pending_.substr(0, lf + 1);
            pending_.erase(0, lf + 1);
            return line;
        }
        if (!Fill())
            return std::string();
    }
}

std::string TServerConnection::ReadData()
{
    for (size_t from = 0;;) {
        // The data begins at a line start, so a lone "." line may be the very first.
        size_t length = 0;
        if (pending_.compare(0, 3, ".\r\n") == 0)
            length = 3;
        else if (size_t end = pending_.find("\r\n.\r\n", from); end != std::string::npos)
            length = end + 5;
        if (length) {
            std::string data = pending_.substr(0, length);
            pending_.erase(0, length);
            return data;
        }
        from = pending_.size() > 4 ? pending_.size() - 4 : 0;
        if (!Fill())
            return std::string();
    }
}

bool TServerConnection::WaitForBytes(size_t total)
{
    while (Received.size() < total)
        if (!Fill())
            return false;
    return true;
}

bool TServerConnection::WaitForClose(int milliseconds)
{
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (WaitReadable(socket_, stop_, 20)) {
            char buffer[65536];
            int n = recv(socket_, buffer, sizeof buffer, 0);
            if (n <= 0)
                return true;
            Received.append(buffer, n);
        }
        if (stop_)
            return false;
    }
    return false;
}

void TServerConnection::Pause(int milliseconds)
{
    for (int waited = 0; waited < milliseconds && !stop_; waited += 10)
        Sleep(10);
}

void TServerConnection::Close()
{
    if (socket_ != INVALID_SOCKET)
        closesocket(socket_);
    socket_ = INVALID_SOCKET;
}

void TServerConnection::Reset()
{
    if (socket_ == INVALID_SOCKET)
        return;
    linger option = {1, 0};
    setsockopt(socket_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&option), sizeof option);
    Close();
}

// ---- server ----

TScriptedServer::TScriptedServer(TScript script, int connections)
{
    Winsock();
    listener_ = Listen(5, port_);
    thread_ = std::thread([this, script, connections] { Run(script, connections); });
}

TScriptedServer::~TScriptedServer()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    closesocket(listener_);
}

void TScriptedServer::Run(TScript script, int connections)
{
    for (int i = 0; i < connections; ++i) {
        if (!WaitReadable(listener_, stop_, 20000))
            break;
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            break;
        ++accepted_;
        TServerConnection connection(client, stop_);
        script(connection);
        received_ += connection.Received;
    }
    done_ = true;
}

bool TScriptedServer::Join(int milliseconds)
{
    for (int waited = 0; waited < milliseconds && !done_; waited += 5) {
        // The component under test may still need its messages handled.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(5);
    }
    const bool finished = done_;
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    return finished;
}

int UnusedPort()
{
    Winsock();
    int port = 0;
    SOCKET listener = Listen(1, port);
    closesocket(listener);
    return port;
}

TStalledListener::TStalledListener()
{
    Winsock();
    listener_ = Listen(0, port_);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    address.sin_port = htons(static_cast<u_short>(port_));
    // Fill the queue of connections not yet accepted.
    for (int i = 0; i < 3; ++i) {
        SOCKET filler = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        u_long nonBlocking = 1;
        ioctlsocket(filler, FIONBIO, &nonBlocking);
        connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        fillers_.push_back(filler);
        Sleep(30);
    }
}

TStalledListener::~TStalledListener()
{
    for (SOCKET filler : fillers_)
        closesocket(filler);
    closesocket(listener_);
}

// ---- SMTP dialogue ----

namespace {

std::string Verb(const std::string& line)
{
    std::string verb;
    for (char c : line) {
        if (c == ' ' || c == ':' || c == '\r' || c == '\n')
            break;
        verb += static_cast<char>(toupper(static_cast<unsigned char>(c)));
    }
    return verb;
}

std::string Next(const std::vector<std::string>& replies, size_t& index)
{
    const std::string& reply = replies[std::min(index, replies.size() - 1)];
    ++index;
    return reply;
}

} // namespace

void RunSmtp(TServerConnection& connection, TSmtpScript& script)
{
    connection.Send(script.Greeting);
    size_t helo = 0, rcpt = 0, auth = 0;
    bool silent = false, challenged = false;
    for (;;) {
        std::string line = connection.ReadLine();
        if (line.empty())
            return;
        std::string command = line.substr(0, line.find_last_not_of("\r\n") + 1);
        script.Commands.push_back(command);
        if (silent)
            continue;
        const std::string verb = Verb(command);
        if (verb == script.SilentAfter) {
            silent = true;
            continue;
        }
        if (verb == "AUTH" || challenged) {
            const std::string reply = Next(script.AuthReplies, auth);
            challenged = reply.compare(0, 3, "334") == 0;
            connection.Send(reply);
        } else if (verb == "HELO") {
            connection.Send(Next(script.HeloReplies, helo));
        } else if (verb == "RCPT") {
            connection.Send(Next(script.RcptReplies, rcpt));
        } else if (verb == "DATA") {
            connection.Send(script.Replies["DATA"]);
            if (script.Replies["DATA"].compare(0, 1, "3") != 0)
                continue;
            if (script.StallData) {
                connection.Pause(1500);
                connection.WaitForClose();
                return;
            }
            connection.ReadPause = script.DataReadPause;
            script.Data.push_back(connection.ReadData());
            connection.ReadPause = 0;
            if (script.SilentAfter == ".") {
                silent = true;
                continue;
            }
            connection.Pause(script.DataReplyDelay);
            connection.Send(script.Replies["."]);
        } else if (verb == "QUIT") {
            connection.Send(script.Replies["QUIT"]);
            connection.WaitForClose(3000);
            return;
        } else if (script.Replies.count(verb)) {
            connection.Send(script.Replies[verb]);
        } else {
            connection.Send("502 unknown command\r\n");
        }
        if (verb == script.CloseAfter) {
            connection.Close();
            return;
        }
    }
}
