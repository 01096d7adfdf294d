// "10 X Paste" of 100 KB into a 1 MB plain document and "Copy all" of a 10 MB
// document in the hidden main window, beside the same window messages sent to
// a bare rich edit control of the same class, size and text (the floor).
//
// Usage: clipboard_bench.exe ROUNDS. Prints one "name=value" line per figure:
// the best of the rounds for each, and the lengths that show the work was done.
#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "ui/Application.h"

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Action>
double Seconds(Action action)
{
    double start = Now();
    action();
    return Now() - start;
}

std::string PlainText(size_t bytes)
{
    const std::string line = "The quick brown fox jumps over the lazy dog, and the dog sleeps on in the sun.\r\n";
    std::string text;
    text.reserve(bytes + line.size());
    while (text.size() < bytes)
        text += line;
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
    SetWindowTextA(control, text.c_str());
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
    std::string document = PlainText(1 << 20), pasted = PlainText(100 << 10);
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

void CopyAll(int rounds)
{
    std::string document = PlainText(10 << 20);
    const int start = 1000, length = 50;
    double ours = 1e9, floor = 1e9;
    size_t ourCopy = 0, floorCopy = 0;
    for (int round = 0; round < rounds; ++round) {
        HWND bare = BareControl(document);
        Select(bare, start, length);
        SetClipboardText("before");
        floor = std::min(floor, Seconds([&] {
                             CHARRANGE kept{0, 0};
                             SendMessageA(bare, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
                             Select(bare, 0, -1);
                             SendMessageA(bare, WM_COPY, 0, 0);
                             SendMessageA(bare, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
                         }));
        floorCopy = ClipboardText().size();
        DestroyWindow(bare);

        LoadEditor(document, start, length);
        SetClipboardText("before");
        ours = std::min(ours, Seconds([] { Application->Guard([] { Form1->Copyall1Click(nullptr); }); }));
        ourCopy = ClipboardText().size();
        if (Form1->memo1->SelStart() != start || Form1->memo1->SelLength() != length)
            Fail("Copy all lost the selection");
        Form1->memo1->Clear();
    }
    if (ourCopy != floorCopy || ourCopy < document.size() * 9 / 10)
        Fail("Copy all copied " + std::to_string(ourCopy) + " bytes and the floor " + std::to_string(floorCopy));
    std::printf("copyall.bytes=%zu\ncopyall.copied=%zu\ncopyall.ours=%.3f\ncopyall.floor=%.3f\n", document.size(),
                ourCopy, ours, floor);
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2;
    ScriptedDialogs dialogs;
    ClearStore();
    StartProgram(dialogs);
    StopProgram(true);
    WriteStore("Mode", "plain");
    WriteStore("MakeBackUp", "false");
    StartProgram(dialogs);
    TenPastes(rounds);
    std::fflush(stdout);
    CopyAll(rounds);
    if (!dialogs.boxes.empty())
        Fail("a message box: " + dialogs.boxes.front().text);
    StopProgram(false);
    ClearStore();
    return 0;
}
