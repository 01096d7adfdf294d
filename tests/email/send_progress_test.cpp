// A 20 MB send from the window shown modally: the window stays live, the
// progress bar moves, the status texts follow in order, and Close during the
// send closes the window once the mail is delivered.
#include "SendTestSupport.h"

#include "email/SendForm.h"
#include "mainform/MainForm.h"

#include <winsock.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

namespace {

// An SMTP server that accepts everything and keeps only the size and the
// start of the message data, so that big messages cost nothing to receive.
// It reads the data at about 20 MB/s, as over a fast link rather than loopback,
// so that the send lasts long enough to watch.
class SinkServer {
public:
    SinkServer()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(1, 1), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 1);
        int length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Run(); });
    }
    ~SinkServer()
    {
        closesocket(listener_);
        if (thread_.joinable())
            thread_.join();
        WSACleanup();
    }
    int Port() const { return port_; }
    // Read only after the server thread ended (Join).
    void Join() { thread_.join(); }

    std::vector<std::string> Commands;
    size_t DataSize = 0;
    std::string DataStart;

private:
    void Reply(SOCKET client, const std::string& line) { send(client, line.data(), static_cast<int>(line.size()), 0); }

    void Run()
    {
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            return;
        DWORD wait = 20000;
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
        Reply(client, "220 sink ready\r\n");
        std::string pending;
        bool inData = false;
        std::vector<char> chunk(1 << 16);
        for (;;) {
            int got = recv(client, chunk.data(), static_cast<int>(chunk.size()), 0);
            if (got <= 0)
                break;
            if (inData)
                Sleep(3);
            if (inData && DataStart.size() < 4096)
                DataStart.append(chunk.data(), std::min<size_t>(got, 4096 - DataStart.size()));
            pending.append(chunk.data(), got);
            for (bool progress = true; progress;) {
                progress = false;
                if (inData) {
                    size_t end = pending.find("\r\n.\r\n");
                    if (end == std::string::npos) {
                        // Keep the last bytes in case the end mark is split.
                        size_t keep = std::min<size_t>(pending.size(), 4);
                        DataSize += pending.size() - keep;
                        pending.erase(0, pending.size() - keep);
                        continue;
                    }
                    DataSize += end + 2;
                    pending.erase(0, end + 5);
                    inData = false;
                    Reply(client, "250 queued\r\n");
                    progress = true;
                    continue;
                }
                size_t end = pending.find("\r\n");
                if (end == std::string::npos)
                    continue;
                std::string command = pending.substr(0, end);
                pending.erase(0, end + 2);
                Commands.push_back(command);
                progress = true;
                if (command == "DATA") {
                    inData = true;
                    Reply(client, "354 go ahead\r\n");
                } else if (command == "QUIT") {
                    Reply(client, "221 bye\r\n");
                    closesocket(client);
                    return;
                } else {
                    Reply(client, "250 ok\r\n");
                }
            }
        }
        closesocket(client);
    }

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::thread thread_;
};

// A click of the real mouse (through the system's input queue) in the middle of a window.
void MouseClick(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

} // namespace

TEST(SendProgress, A20MegabyteSendKeepsTheWindowLiveAndCloseWaitsForTheMail)
{
    ClearStore();
    ScriptedDialogs dialogs;
    SinkServer sink;
    StartWithPreferences(dialogs, sink.Port());
    std::string content(20 << 20, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>((i * 2654435761u) >> 13);
    const std::string big = WriteTestFile("big.bin", content);
    content.clear();
    Form8->attach->Add(big);

    StatusRecorder status(Form8->Label1->Handle());
    // The progress bar's text is the percentage it shows.
    StatusRecorder gauge(Form8->Gauge1->Handle());
    bool closeClicked = false, closeSeenDuringSend = false;
    auto original = Form8->smtp->OnPacketSent;
    Form8->smtp->OnPacketSent = [&](TObject* sender) {
        original(sender);
        if (closeClicked && Form8->ModalResult() != mrNone && Form8->Visible())
            closeSeenDuringSend = true;
        if (!closeClicked && Form8->Gauge1->Position() >= 30) {
            MouseClick(Form8->Panel12->Handle());
            closeClicked = true;
        }
    };
    // Should the Close click go astray, the window is closed once the send is over,
    // so that the test fails instead of waiting for ever.
    TTimer guard(1000, true);
    guard.OnTimer = [&](TObject*) {
        if (!Form8->Sending && status.Texts.size() > 1)
            PostMessageA(Form8->Handle(), WM_CLOSE, 0, 0);
    };
    PostClick(Form8->Panel1->Handle());
    Form1->Sendasemail1Click(nullptr); // modal: handles the click, returns when closed
    std::set<std::string> positions(gauge.Texts.begin(), gauge.Texts.end());
    positions.erase("0%");

    EXPECT_FALSE(Form8->Visible());
    EXPECT_EQ(status.Texts, (std::vector<std::string>{"Connecting to server...", "Connected to server...",
                                                      "Sending messages...", "Mail delivered!"}));
    EXPECT_GE(positions.size(), 5u) << "distinct progress values above 0";
    EXPECT_TRUE(closeSeenDuringSend) << "Close was handled while the send ran";
    EXPECT_EQ(Form8->Gauge1->Position(), 0);
    sink.Join();
    ASSERT_FALSE(sink.Commands.empty());
    EXPECT_EQ(sink.Commands.back(), "QUIT");
    EXPECT_GT(sink.DataSize, (20u << 20) / 3 * 4) << "the whole file, base64-encoded";
    EXPECT_NE(sink.DataStart.find("filename=\"big.bin\""), std::string::npos);
    StopProgram(false);
    DeleteFileA(big.c_str());
    ClearStore();
}
