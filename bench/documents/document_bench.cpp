// Open, Save and New of large documents in the hidden main window, beside
// plain ReadFile and WriteFile of the same bytes (the floor any editor
// reading through the system stands on).
//
// Usage: document_bench.exe MEGABYTES...   (plain text files of those sizes,
// then an RTF file of 5 MB). Prints one "name=value" line per figure.
#include "bench/BenchSupport.h"
#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"
#include "ui/Application.h"
#include "ui/SysUtils.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const kFolder = "C:\\bench-documents";

// RTF with a font table, colours and a bold and an italic run in every
// paragraph, in groups as word processors write it. (Wine's rich edit reads
// its own RTF, which switches formats without groups, in time that grows with
// the square of the size.)
std::string RichText(size_t bytes)
{
    std::string text = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
                       "{\\colortbl;\\red200\\green0\\blue0;}\\f0\\fs20 ";
    while (text.size() < bytes)
        text += "\\pard A paragraph with {\\b bold words}, {\\i\\cf1 red italic ones} and {\\f1 a fixed font}.\\par\r\n";
    return text + "}";
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE || !WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                                   nullptr) || written != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    FlushFileBuffers(file);
    CloseHandle(file);
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    return bytes;
}

void Guarded(void (TForm1::*command)(TObject*))
{
    Application->Guard([&] { (Form1->*command)(nullptr); });
}

void Measure(ScriptedDialogs& dialogs, const std::string& name, const std::string& content)
{
    std::string path = std::string(kFolder) + "\\" + name;
    std::string copy = path + ".copy";
    WriteFileBytes(path, content);
    double floorRead = Seconds([&] { ReadFileBytes(path); });
    double floorWrite = Seconds([&] { WriteFileBytes(copy, content); });
    DeleteFileA(copy.c_str());

    dialogs.ChooseFile(path);
    double open = Seconds([] { Guarded(&TForm1::Open1Click); });
    if (!dialogs.boxes.empty()) {
        // Refused: more than the editor can hold in this process.
        std::printf("%s.bytes=%zu\n%s.refused=%.3f\n", name.c_str(), content.size(), name.c_str(), open);
        std::fflush(stdout);
        dialogs.boxes.clear();
        DeleteFileA(path.c_str());
        return;
    }
    // Saved beside it, so that the next Open reads the same bytes again.
    Form1->SaveDialog1.FileName = copy;
    double save = Seconds([] { Guarded(&TForm1::Save1Click); });
    DeleteFileA(copy.c_str());
    // New over the document, without and with the backup copy it writes.
    Form2->shape15->SetChecked(false);
    double clear = Seconds([] { Guarded(&TForm1::Text2Click); });
    dialogs.ChooseFile(path);
    double reopen = Seconds([] { Guarded(&TForm1::Open1Click); });
    Form2->shape15->SetChecked(true);
    DeleteFileA(path.c_str());
    double backupAndNew = Seconds([] { Guarded(&TForm1::Text2Click); });
    if (!dialogs.boxes.empty()) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), dialogs.boxes.front().text.c_str());
        std::exit(1);
    }
    std::printf("%s.bytes=%zu\n%s.floor_read=%.3f\n%s.floor_write=%.3f\n%s.open=%.3f\n%s.save=%.3f\n"
                "%s.new=%.3f\n%s.open_again=%.3f\n%s.backup_new=%.3f\n",
                name.c_str(), content.size(), name.c_str(), floorRead, name.c_str(), floorWrite, name.c_str(), open,
                name.c_str(), save, name.c_str(), clear, name.c_str(), reopen, name.c_str(), backupAndNew);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    CreateDirectoryA(kFolder, nullptr);
    ScriptedDialogs dialogs;
    ClearStore();
    StartProgram(dialogs);
    StopProgram(true);
    WriteStore("Mode", "plain");
    WriteStore("BackUpLocation", std::string(kFolder) + "\\backup");
    StartProgram(dialogs);
    for (int i = 1; i < argc; ++i) {
        int megabytes = std::atoi(argv[i]);
        if (megabytes > 0)
            Measure(dialogs, "plain" + std::to_string(megabytes), PlainText(static_cast<size_t>(megabytes) << 20));
        else if (std::string(argv[i]).rfind("rtf", 0) == 0)
            Measure(dialogs, argv[i], RichText(static_cast<size_t>(std::atoi(argv[i] + 3)) << 20));
    }
    StopProgram(false);
    ClearStore();
    return 0;
}
