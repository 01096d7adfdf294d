// "10 X Paste" of 100 KB into a 1 MB plain document and "Copy all" of large
// documents in the hidden main window, beside the same window messages sent to
// a bare rich edit control of the same class, size, font and text (the floor).
//
// Usage: clipboard_bench.exe paste ROUNDS
//        clipboard_bench.exe copyall MEGABYTES ROUNDS      (the editor's Copy all)
//        clipboard_bench.exe copyfloor MEGABYTES ROUNDS    (the bare control's messages)
// Prints one "name=value" line per figure, the best of the rounds, and the
// lengths that show the work was done.
#include "bench/BenchSupport.h"
#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "ui/Application.h"

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Exactly `bytes` of plain text.
std::string PlainTextOf(size_t bytes)
{
    std::string text = PlainText(bytes);
    text.resize(bytes);
    return text;
}

void Fail(const std::string& message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    std::exit(1);
}

// The editor holding `text` as Open leaves it, with the caret at `caret`.
void LoadEditor(const std::string& text, int caret, int selected)
{
    std::string path = WriteTestFile("bench-clipboard.txt", text);
    Form1->LoadDocument(path);
    Form1->ApplyPlainModeAgain();
    DeleteFileA(path.c_str());
    Form1->memo1->Select(caret, selected);
    Form1->NoteFocus(Form1->memo1.get());
}

struct Source {
    const std::string& text;
    size_t done;
};

DWORD CALLBACK ReadSource(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got)
{
    auto* source = reinterpret_cast<Source*>(cookie);
    size_t count = std::min(static_cast<size_t>(wanted), source->text.size() - source->done);
    std::copy_n(source->text.data() + source->done, count, buffer);
    source->done += count;
    *got = static_cast<LONG>(count);
    return 0;
}

// A rich edit control of the editor's class, place and style, with its font
// and text, beside it in the same hidden window.
HWND BareControl(const std::string& text)
{
    TRichEdit& memo = *Form1->memo1;
    HWND control = CreateWindowExA(0, "RICHEDIT", "", static_cast<DWORD>(GetWindowLongA(memo.Handle(), GWL_STYLE)), 0,
                                   0, memo.Width(), memo.Height(), GetParent(memo.Handle()), nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    if (!control)
        Fail("cannot make a rich edit control");
    SendMessageA(control, EM_EXLIMITTEXT, 0, 200000000);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(memo.Font().Handle()), FALSE);
    // Streamed in, as the editor loads: setting a long window text takes time
    // that grows with the square of its length.
    Source source{text, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadSource;
    SendMessageA(control, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    return control;
}

int Length(HWND control) { return GetWindowTextLengthA(control); }

void Select(HWND control, int start, int length)
{
    CHARRANGE range{start, start + length};
    SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void TenPastes(int rounds)
{
    std::string document = PlainTextOf(1 << 20), pasted = PlainTextOf(100 << 10);
    double ours = 1e9, floor = 1e9;
    int ourGrowth = 0, floorGrowth = 0;
    for (int round = 0; round < rounds; ++round) {
        HWND bare = BareControl(document);
        int before = Length(bare);
        Select(bare, before, 0);
        SetClipboardText(pasted);
        floor = std::min(floor, Seconds([&] {
                             for (int i = 0; i < 10; ++i)
                                 SendMessageA(bare, WM_PASTE, 0, 0);
                         }));
        floorGrowth = Length(bare) - before;
        DestroyWindow(bare);

        LoadEditor(document, 0, 0);
        before = Form1->memo1->TextLength();
        Form1->memo1->Select(before, 0);
        SetClipboardText(pasted);
        ours = std::min(ours, Seconds([] { Application->Guard([] { Form1->ToolButton39Click(nullptr); }); }));
        ourGrowth = Form1->memo1->TextLength() - before;
        Form1->memo1->Clear();
    }
    if (ourGrowth != floorGrowth || ourGrowth < 10 * static_cast<int>(pasted.size()) * 9 / 10)
        Fail("ten pastes grew the text by " + std::to_string(ourGrowth) + " and the floor's by " +
             std::to_string(floorGrowth));
    std::printf("paste.bytes=%zu\npaste.document=%zu\npaste.growth=%d\npaste.ours=%.3f\npaste.floor=%.3f\n",
                pasted.size(), document.size(), ourGrowth, ours, floor);
}

const int kKeptStart = 1000, kKeptLength = 50;

void CheckCopied(size_t copied, size_t bytes)
{
    if (copied < bytes * 9 / 10)
        Fail("Copy all copied " + std::to_string(copied) + " of " + std::to_string(bytes) + " bytes");
}

void CopyAll(int megabytes, int rounds)
{
    std::string document = PlainTextOf(static_cast<size_t>(megabytes) << 20);
    double best = 1e9;
    size_t copied = 0;
    for (int round = 0; round < rounds; ++round) {
        LoadEditor(document, kKeptStart, kKeptLength);
        SetClipboardText("before");
        best = std::min(best, Seconds([] { Application->Guard([] { Form1->Copyall1Click(nullptr); }); }));
        copied = ClipboardText().size();
        if (Form1->memo1->SelStart() != kKeptStart || Form1->memo1->SelLength() != kKeptLength)
            Fail("Copy all lost the selection");
        Form1->memo1->Clear();
    }
    CheckCopied(copied, document.size());
    std::printf("copyall%d.bytes=%zu\ncopyall%d.copied=%zu\ncopyall%d.ours=%.3f\n", megabytes, document.size(),
                megabytes, copied, megabytes, best);
}

void CopyAllFloor(int megabytes, int rounds)
{
    std::string document = PlainTextOf(static_cast<size_t>(megabytes) << 20);
    double best = 1e9;
    size_t copied = 0;
    for (int round = 0; round < rounds; ++round) {
        HWND bare = BareControl(document);
        Select(bare, kKeptStart, kKeptLength);
        SetClipboardText("before");
        best = std::min(best, Seconds([&] {
                            CHARRANGE kept{0, 0};
                            SendMessageA(bare, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
                            Select(bare, 0, -1);
                            SendMessageA(bare, WM_COPY, 0, 0);
                            SendMessageA(bare, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
                        }));
        copied = ClipboardText().size();
        DestroyWindow(bare);
    }
    CheckCopied(copied, document.size());
    std::printf("copyall%d.floor=%.3f\ncopyall%d.floor_copied=%zu\n", megabytes, best, megabytes, copied);
}

} // namespace

int main(int argc, char** argv)
{
    std::string what = argc > 1 ? argv[1] : "";
    int megabytes = argc > 2 ? std::atoi(argv[2]) : 0;
    int rounds = std::max(1, std::atoi(argv[argc - 1]));
    ScriptedDialogs dialogs;
    ClearStore();
    StartProgram(dialogs);
    StopProgram(true);
    WriteStore("Mode", "plain");
    WriteStore("MakeBackUp", "false");
    StartProgram(dialogs);
    if (what == "paste")
        TenPastes(rounds);
    else if (what == "copyall" && megabytes > 0)
        CopyAll(megabytes, rounds);
    else if (what == "copyfloor" && megabytes > 0)
        CopyAllFloor(megabytes, rounds);
    else
        Fail("usage: clipboard_bench.exe paste ROUNDS | copyall MEGABYTES ROUNDS | copyfloor MEGABYTES ROUNDS");
    if (!dialogs.boxes.empty())
        Fail("a message box: " + dialogs.boxes.front().text);
    StopProgram(false);
    ClearStore();
    return 0;
}
