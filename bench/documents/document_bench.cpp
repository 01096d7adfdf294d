// Open, Save and New of large documents in the hidden main window, beside
// plain ReadFile and WriteFile of the same bytes (the floor any editor
// reading through the system stands on).
//
// Usage: document_bench.exe CASE...   where a CASE is MEGABYTES (a plain text
// file of that size: Open, Save, New), rtfMEGABYTES (the same of RTF),
// f2KILOBYTES (the switch to plain mode over formatted rich text of that
// size), startMEGABYTES (Open of a plain text file beside a start with it on
// the command line) or recoveryMEGABYTES (typing into a text of that size
// with the recovery copy off, and while one is written). Prints one
// "name=value" line per figure.
#include "bench/BenchSupport.h"
#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"
#include "ui/Application.h"
#include "ui/SafeFile.h"
#include "ui/SysUtils.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
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

// Rich text with a bold and an italic word and indents in every paragraph.
std::string FormattedText(size_t bytes)
{
    std::string text = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ";
    while (text.size() < bytes)
        text += "\\pard\\li360\\ri240 A paragraph of {\\b bold} and {\\i italic} words in a line of its own.\\par\r\n";
    return text + "}";
}

void Fail(const std::string& why)
{
    std::fprintf(stderr, "%s\n", why.c_str());
    std::exit(1);
}

void SwitchToPlain(ScriptedDialogs& dialogs, int kilobytes)
{
    const std::string name = "f2-" + std::to_string(kilobytes), path = std::string(kFolder) + "\\" + name + ".rtf";
    WriteFileBytes(path, FormattedText(static_cast<size_t>(kilobytes) << 10));
    dialogs.ChooseFile(path);
    Guarded(&TForm1::Open1Click);
    const int length = Form1->memo1->TextLength();
    if (!Form1->RichMode() || length < kilobytes * 512)
        Fail(name + ": not opened as rich text");
    const double seconds = Seconds([] { Guarded(&TForm1::ToolButton24Click); });
    Form1->memo1->SelectAll();
    if (!Form1->PlainMode() || Form1->memo1->TextLength() != length || !(Form1->memo1->SelAttributes().mask & CFM_BOLD) ||
        (Form1->memo1->SelAttributes().style & fsBold))
        Fail(name + ": the text did not become plain text whole");
    std::printf("%s.chars=%d\n%s.seconds=%.3f\n", name.c_str(), length, name.c_str(), seconds);
    std::fflush(stdout);
    Guarded(&TForm1::ToolButton25Click);
}

// Open of a file inside the running program, beside the whole start of the
// program with the file on its command line (made and ended in this process).
void OpenBesideStart(ScriptedDialogs& dialogs, int megabytes)
{
    const std::string name = "start" + std::to_string(megabytes), path = std::string(kFolder) + "\\" + name + ".txt";
    const std::string text = PlainText(static_cast<size_t>(megabytes) << 20);
    WriteFileBytes(path, text);
    Form1->memo1->Clear();
    dialogs.ChooseFile(path);
    const double open = Seconds([] { Guarded(&TForm1::Open1Click); });
    const int opened = Form1->memo1->TextLength();
    StopProgram(false);
    const double start = Seconds([&] {
        StartProgram(dialogs, "\"" + path + "\"");
        Pump();
    });
    if (opened + 1000 < static_cast<int>(text.size() / 2) || Form1->memo1->TextLength() != opened)
        Fail(name + ": not loaded whole");
    std::printf("%s.open=%.3f\n%s.start=%.3f\n", name.c_str(), open, name.c_str(), start);
    std::fflush(stdout);
}

// Seconds for each of `count` typed characters, as the keyboard types them.
double TypingSeconds(int count, const std::function<bool()>& still = [] { return true; }, int* typed = nullptr)
{
    HWND editor = Form1->memo1->Handle();
    int done = 0;
    const double seconds = Seconds([&] {
        for (; done < count && still(); ++done) {
            PostMessageW(editor, WM_CHAR, 'x', 1);
            Application->ProcessMessages();
        }
    });
    if (typed)
        *typed = done;
    return done ? seconds / done : 0;
}

void TypingWhileCopied(ScriptedDialogs& dialogs, int megabytes)
{
    const std::string name = "recovery" + std::to_string(megabytes), path = std::string(kFolder) + "\\" + name + ".txt";
    WriteFileBytes(path, PlainText(static_cast<size_t>(megabytes) << 20));
    dialogs.ChooseFile(path);
    Guarded(&TForm1::Open1Click);
    Form1->memo1->SetFocus();
    Form1->memo1->SetSelStart(Form1->memo1->TextLength() / 2);
    // Without the recovery copy.
    std::unique_ptr<TRecoveryCopy> kept = std::move(Form1->Recovery);
    const double off = TypingSeconds(300);
    Form1->Recovery = std::move(kept);
    // With it: a change, the copy started once the change is a few seconds
    // old, and typing while it is written.
    const double on = TypingSeconds(300);
    for (DWORD start = GetTickCount(); !Form1->Recovery->Writing();) {
        Pump(1);
        if (GetTickCount() - start > 20000)
            Fail(name + ": no copy began");
    }
    int typed = 0;
    const double during = TypingSeconds(100000, [] { return Form1->Recovery->Writing(); }, &typed);
    // The parts of a copy: the text from the editor (in the program's
    // thread), and the file written (beside it).
    TRecoveredText snapshot;
    const double take = Seconds([&] { snapshot = Form1->RecoverySnapshot(); });
    const double write = Seconds([&] {
        SaveFileSafely(path + ".copy", [&](TStream& file) { file.WriteString(snapshot.bytes); });
    });
    DeleteFileA((path + ".copy").c_str());
    if (snapshot.bytes.size() < (static_cast<size_t>(megabytes) << 20))
        Fail(name + ": the copy does not hold the text");
    std::printf("%s.key_off=%.6f\n%s.key_on=%.6f\n%s.key_during=%.6f\n%s.keys_during=%d\n%s.snapshot=%.3f\n"
                "%s.write=%.3f\n",
                name.c_str(), off, name.c_str(), on, name.c_str(), during, name.c_str(), typed, name.c_str(), take,
                name.c_str(), write);
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
        const std::string arg = argv[i];
        auto number = [&](size_t prefix) { return std::atoi(arg.c_str() + prefix); };
        if (number(0) > 0)
            Measure(dialogs, "plain" + arg, PlainText(static_cast<size_t>(number(0)) << 20));
        else if (arg.rfind("rtf", 0) == 0)
            Measure(dialogs, arg, RichText(static_cast<size_t>(number(3)) << 20));
        else if (arg.rfind("f2", 0) == 0)
            SwitchToPlain(dialogs, number(2));
        else if (arg.rfind("start", 0) == 0)
            OpenBesideStart(dialogs, number(5));
        else if (arg.rfind("recovery", 0) == 0)
            TypingWhileCopied(dialogs, number(8));
    }
    StopProgram(false);
    ClearStore();
    return 0;
}
