// Sends one message with TSmtpClient to a server on 127.0.0.1, for the tests
// that check what a real server received.
//
//   smtp_send_tool charset                  prints the charset of the program's text
//   smtp_send_tool PORT attachments DIR     text body, CC, BCC, every file of DIR\attach
//   smtp_send_tool PORT international DIR   body, subject and sender name from DIR,
//                                           300 To recipients
// Before PORT, options of a secured send:
//   --host NAME  --security starttls|tls  --user NAME  --password TEXT
// A failure prints its kind in brackets: [starttls] [login-method] [credentials]
// [handshake] [untrusted] [wrong-host], or [other].
#include "smtp/MimeText.h"
#include "smtp/SmtpClient.h"
#include "smtp/TlsChannel.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>

namespace {

std::vector<std::string> FilesOf(const std::string& folder)
{
    std::vector<std::string> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(ToWide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(folder + "\\" + ToUtf8(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}

std::string FirstLine(const std::string& path)
{
    TStringList lines;
    lines.LoadFromFile(path);
    return lines.Empty() ? std::string() : lines[0];
}

void Attachments(TSmtpClient& smtp, const std::string& folder)
{
    TPostMessage& m = smtp.PostMessage;
    m.FromName = "Ann Smith";
    m.ToAddress.Add("Bob Brown <bob@example.com>");
    m.ToCarbonCopy.Add("carl@example.com");
    m.ToBlindCarbonCopy.Add("eve@example.com");
    m.Subject = "Three attachments";
    m.ReplyTo = "ann@home.example";
    m.Date = "12/8/2025";
    m.Body = {"Hello Bob,", "", "here are the files.", ".", "Ann"};
    for (const std::string& file : FilesOf(folder + "\\attach"))
        m.Attachments.Add(file);
}

void International(TSmtpClient& smtp, const std::string& folder)
{
    TPostMessage& m = smtp.PostMessage;
    m.FromName = FirstLine(folder + "\\name.txt");
    m.Subject = FirstLine(folder + "\\subject.txt");
    m.Body.LoadFromFile(folder + "\\body.txt");
    for (int i = 0; i < 300; ++i)
        m.ToAddress.Add("user" + std::to_string(i) + "@example.com");
}

} // namespace

// Reads the options before PORT into the component.
int ReadOptions(TSmtpClient& smtp, int argc, char** argv)
{
    int i = 1;
    for (; i + 1 < argc && std::string(argv[i]).compare(0, 2, "--") == 0; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--host")
            smtp.Host = value;
        else if (option == "--security")
            smtp.Security = value == "starttls" ? msStartTls : value == "tls" ? msImplicitTls : msNone;
        else if (option == "--user")
            smtp.UserID = value;
        else if (option == "--password")
            smtp.Password = value;
        else
            throw Exception("unknown option " + option);
    }
    return i;
}

const char* Kind(const std::exception& error)
{
    if (auto* security = dynamic_cast<const ESmtpSecurityError*>(&error)) {
        const char* const kinds[] = {"starttls", "login-method", "credentials"};
        return kinds[security->Failure];
    }
    if (auto* tls = dynamic_cast<const ETlsError*>(&error)) {
        const char* const kinds[] = {"handshake", "untrusted", "wrong-host"};
        return kinds[tls->Failure];
    }
    return "other";
}

int Run(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "charset") {
        std::printf("%s\n", Mime::TextCharset);
        return 0;
    }
    try {
        TSmtpClient smtp;
        smtp.Host = "127.0.0.1";
        smtp.TimeOut = 30000;
        smtp.UserID = "mibor8-test";
        const int first = ReadOptions(smtp, argc, argv);
        if (argc - first != 3) {
            std::fprintf(stderr, "usage: smtp_send_tool [options] PORT attachments|international DIR\n");
            return 2;
        }
        argv += first - 1;
        smtp.Port = StrToInt(argv[1]);
        smtp.PostMessage.FromAddress = "ann@example.com";
        smtp.PostMessage.LocalProgram = "Mibor8";
        const std::string which = argv[2];
        if (which == "attachments")
            Attachments(smtp, argv[3]);
        else if (which == "international")
            International(smtp, argv[3]);
        else
            throw Exception("unknown case " + which);
        int refused = 0;
        smtp.OnRecipientNotFound = [&](const std::string&) { ++refused; };
        smtp.Connect();
        smtp.SendMail();
        smtp.Disconnect();
        std::printf("sent, %d recipients refused\n", refused);
        return refused == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "failed [%s]: %s\n", Kind(error), error.what());
        return 1;
    }
}

int main()
{
    // The arguments as the program holds text: UTF-8.
    int argc = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(ToUtf8(wide[i]));
    LocalFree(wide);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(&argument[0]);
    return Run(argc, argv.data());
}
