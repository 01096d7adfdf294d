// Timings of the e-mail engine, measured inside the process (Wine's start-up
// is not counted).
//
//   smtp_bench send PORT FILE MESSAGE_OUT   sends FILE as an attachment; writes the
//                                           bytes sent after DATA to MESSAGE_OUT
//   smtp_bench raw PORT MESSAGE             sends the bytes of MESSAGE with plain
//                                           blocking Winsock calls of 16383 bytes:
//                                           the floor the system sets for that chunk size
//   smtp_bench encode IN OUT                base64-encodes IN into OUT
// Prints "name=value" lines.
#include "smtp/SmtpClient.h"
#include "smtp/UUEncoder.h"
#include "ui/SysUtils.h"

#include <winsock.h>
#include <windows.h>
#include <psapi.h>

#include <algorithm>

#include <cstdio>

namespace {

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

size_t PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

int Send(int port, const std::string& file, const std::string& messageOut)
{
    TSmtpClient smtp;
    smtp.Host = "127.0.0.1";
    smtp.Port = port;
    smtp.TimeOut = 30000;
    smtp.UserID = "bench";
    TPostMessage& m = smtp.PostMessage;
    m.FromAddress = "ann@example.com";
    m.ToAddress.Add("bob@example.com");
    m.Subject = "Benchmark";
    m.LocalProgram = "Mibor8";
    m.Body = {"The attachment follows."};
    m.Attachments.Add(file);
    smtp.ClearParams = false;

    double composed = 0;
    smtp.OnSendStart = [&](TObject*) { composed = Seconds(); };
    const double start = Seconds();
    smtp.Connect();
    const double connected = Seconds();
    smtp.SendMail();
    smtp.Disconnect();
    const double end = Seconds();
    const size_t peak = PeakWorkingSet();

    const std::string header = smtp.HeaderBlock();
    TFileStream out(messageOut, fmCreate);
    out.WriteString(header);
    out.WriteBuffer(smtp.MessageStream().Memory(), smtp.MessageStream().DataSize());

    std::printf("message_bytes=%llu\n",
                static_cast<unsigned long long>(header.size() + smtp.MessageStream().DataSize()));
    std::printf("compose_s=%.4f\n", composed - connected);
    std::printf("transmit_s=%.4f\n", (connected - start) + (end - composed));
    std::printf("total_s=%.4f\n", end - start);
    std::printf("peak_working_set=%llu\n", static_cast<unsigned long long>(peak));
    return 0;
}

// One command and its one-line reply, with blocking calls.
void Command(SOCKET socket, const std::string& line)
{
    if (!line.empty())
        send(socket, line.data(), static_cast<int>(line.size()), 0);
    char reply[512];
    recv(socket, reply, sizeof reply, 0);
}

int Raw(int port, const std::string& messageFile)
{
    TMemoryStream message;
    message.LoadFromFile(messageFile);
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    const double start = Seconds();
    SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw Exception("cannot connect");
    Command(socket, "");
    for (const char* line : {"HELO bench\r\n", "RSET\r\n", "MAIL FROM:<ann@example.com>\r\n",
                             "RCPT TO:<bob@example.com>\r\n", "DATA\r\n"})
        Command(socket, line);
    for (size_t sent = 0; sent < message.DataSize();) {
        const int count = send(socket, message.Memory() + sent,
                               static_cast<int>(std::min<size_t>(16383, message.DataSize() - sent)), 0);
        if (count <= 0)
            throw Exception("send failed");
        sent += count;
    }
    Command(socket, ".\r\n");
    Command(socket, "QUIT\r\n");
    closesocket(socket);
    std::printf("raw_s=%.4f\n", Seconds() - start);
    return 0;
}

int Encode(const std::string& in, const std::string& out)
{
    const double start = Seconds();
    {
        TFileStream input(in, fmOpenRead);
        TFileStream output(out, fmCreate);
        TUUProcessor processor;
        processor.InputStream = &input;
        processor.OutputStream = &output;
        processor.Encode();
    }
    std::printf("encode_s=%.4f\n", Seconds() - start);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::string what = argc > 1 ? argv[1] : "";
        if (what == "send" && argc == 5)
            return Send(StrToInt(argv[2]), argv[3], argv[4]);
        if (what == "raw" && argc == 4)
            return Raw(StrToInt(argv[2]), argv[3]);
        if (what == "encode" && argc == 4)
            return Encode(argv[2], argv[3]);
        std::fprintf(stderr, "usage: smtp_bench send PORT FILE MESSAGE_OUT | encode IN OUT\n");
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "failed: %s\n", error.what());
        return 1;
    }
}
