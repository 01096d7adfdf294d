// The formatting toolbar and the indent ruler following the editor, beside a
// bare rich edit control of the same class ("RICHEDIT") in the same process:
// 1,000 caret moves (arrow keys posted as messages) through a 1 MB rich
// document of mixed formatting, and Ctrl+A then Bold over a 10 MB plain text
// loaded in rich mode. Both windows are shown; every key goes through the
// same message loop, repainting included. Also counts, for commands that move
// the selection on their way, the control's selection changes against the
// toolbar refreshes they cause.
#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "ui/Application.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

const int kMoves = 1000;
const int kRounds = 3;
const int kBatch = 50;

double Time(const std::function<void()>& action)
{
    auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

[[noreturn]] void Fail(const std::string& why)
{
    std::fprintf(stderr, "formatting bench: %s\n", why.c_str());
    std::exit(1);
}

// Paragraphs that change alignment, indents, font, size, style and colour
// every few words (in groups, as word processors write RTF).
std::string MixedRtf(size_t bytes)
{
    std::string text = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}{\\f2 Times New Roman;}}"
                       "{\\colortbl;\\red200\\green0\\blue0;\\red0\\green0\\blue160;}\\f0\\fs20 ";
    static const char* const kAlignments[] = {"", "\\qc", "\\qr"};
    for (int i = 0; text.size() < bytes; ++i) {
        text += "\\pard";
        text += kAlignments[i % 3];
        text += "\\li" + std::to_string(i % 5 * 200) + "\\fi" + std::to_string(i % 4 * 100 - 100) + "\\ri" +
                std::to_string(i % 3 * 150);
        text += " Words {\\b bold} and {\\i\\cf1 red italic} in {\\f1\\fs24 a fixed font}, {\\ul\\f2\\fs28 serif}"
                " {\\b\\i\\cf2 blue} end.\\par\r\n";
    }
    return text + "}";
}

// Numbered lines of words, one block of them repeated up to the size.
std::string PlainText(size_t bytes)
{
    std::string block;
    for (int line = 1; block.size() < (64 << 10); ++line)
        block += "Line " + std::to_string(line) + " of a long plain text that is made bold all at once.\r\n";
    std::string text;
    for (text.reserve(bytes + block.size()); text.size() < bytes;)
        text += block;
    return text;
}

DWORD CALLBACK ReadString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* rest = reinterpret_cast<std::pair<const char*, size_t>*>(cookie);
    size_t n = std::min(rest->second, static_cast<size_t>(count));
    std::copy(rest->first, rest->first + n, buffer);
    rest->first += n;
    rest->second -= n;
    *done = static_cast<LONG>(n);
    return 0;
}

// The peer: a RICHEDIT control with the editor's styles and size, filling a
// top-level window of its own, with no notifications asked for.
class BareEditor {
public:
    BareEditor(int width, int height, HFONT font, bool visible)
    {
        WNDCLASSA frameClass{};
        frameClass.lpfnWndProc = DefWindowProcA;
        frameClass.hInstance = GetModuleHandleA(nullptr);
        frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        frameClass.lpszClassName = "BareEditorFrame";
        RegisterClassA(&frameClass);
        RECT outer{0, 0, width, height};
        AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
        frame_ = CreateWindowExA(0, "BareEditorFrame", "bare rich edit",
                                 WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 0, 500, outer.right - outer.left,
                                 outer.bottom - outer.top, nullptr, nullptr, frameClass.hInstance, nullptr);
        edit_ = CreateWindowExA(0, "RICHEDIT", "",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL |
                                    ES_WANTRETURN | ES_DISABLENOSCROLL | ES_SAVESEL,
                                0, 0, width, height, frame_, nullptr, frameClass.hInstance, nullptr);
        if (!edit_)
            Fail("cannot make the bare rich edit control");
        SendMessageA(edit_, EM_EXLIMITTEXT, 0, 200000000);
        SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ~BareEditor() { DestroyWindow(frame_); }
    HWND Handle() const { return edit_; }
    void Load(const std::string& content, UINT format)
    {
        std::pair<const char*, size_t> rest{content.data(), content.size()};
        EDITSTREAM stream{};
        stream.dwCookie = reinterpret_cast<DWORD_PTR>(&rest);
        stream.pfnCallback = ReadString;
        SendMessageA(edit_, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    }

private:
    HWND frame_ = nullptr, edit_ = nullptr;
};

CHARRANGE Selection(HWND editor)
{
    CHARRANGE range{0, 0};
    SendMessageA(editor, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

void SetSelection(HWND editor, LONG start, LONG end)
{
    CHARRANGE range{start, end};
    SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

bool SelectionAllBold(HWND editor)
{
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_BOLD;
    SendMessageA(editor, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return (format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD);
}

// Posts a key, with Ctrl held when asked, and handles everything it causes.
void Key(HWND window, WORD key, bool ctrl = false)
{
    BYTE state[256];
    GetKeyboardState(state);
    BYTE saved = state[VK_CONTROL];
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
    Application->ProcessMessages();
    state[VK_CONTROL] = saved;
    SetKeyboardState(state);
}

WORD MoveKey(int i) { return i % 4 == 0 ? VK_DOWN : VK_RIGHT; }

// The caret moves from the top, in the editor and in the bare control, in
// batches taken in turn, so that a machine busy with other work slows both
// alike; each batch counts with its quickest round.
void CaretMoves(BareEditor& bare, const std::string& rtf)
{
    Form1->memo1->LoadFromFile("C:\\bench-formatting\\mixed.rtf");
    // Loading may give the editor a new window.
    HWND ours = Form1->memo1->Handle();
    bare.Load(rtf, SF_RTF);
    if (Form1->memo1->TextLength() != GetWindowTextLengthA(bare.Handle()))
        Fail("the two controls hold different texts");
    int steps = 0;
    auto step = Form1->memo1->OnSelectionChange;
    Form1->memo1->OnSelectionChange = [&](TObject* sender) {
        ++steps;
        step(sender);
    };
    const int batches = kMoves / kBatch;
    std::vector<double> bestOurs(batches, 1e9), bestBare(batches, 1e9);
    LONG endOurs = 0, endBare = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (HWND editor : {ours, bare.Handle()}) {
            SetSelection(editor, 0, 0);
            SendMessageA(editor, EM_SCROLLCARET, 0, 0);
            Application->ProcessMessages();
        }
        steps = 0;
        for (int batch = 0; batch < batches; ++batch) {
            for (HWND editor : {ours, bare.Handle()}) {
                double seconds = Time([&] {
                    for (int i = batch * kBatch; i < (batch + 1) * kBatch; ++i)
                        Key(editor, MoveKey(i));
                });
                double& best = editor == ours ? bestOurs[batch] : bestBare[batch];
                best = std::min(best, seconds);
            }
        }
        if (steps != kMoves)
            Fail("the toolbar followed " + std::to_string(steps) + " of the moves");
        endOurs = Selection(ours).cpMin;
        endBare = Selection(bare.Handle()).cpMin;
    }
    Form1->memo1->OnSelectionChange = step;
    // The same moves through the same text: the carets end (nearly) together,
    // far from the start.
    if (std::min(endOurs, endBare) < kMoves / 2 || std::abs(endOurs - endBare) > endBare / 100)
        Fail("the carets ended at " + std::to_string(endOurs) + " and " + std::to_string(endBare));
    double ourTotal = 0, bareTotal = 0;
    for (int batch = 0; batch < batches; ++batch) {
        ourTotal += bestOurs[batch];
        bareTotal += bestBare[batch];
    }
    std::printf("  %-42s %9.3f %9.3f %7.2f   (goal <= 2; carets at %ld and %ld)\n", "1,000 caret moves, mixed RTF",
                ourTotal, bareTotal, ourTotal / bareTotal, endOurs, endBare);
}

struct SelectAndBold {
    double select, bold;
};

// Ctrl+A, then Bold, on the editor's whole text; the time of Bold is that of
// everything the message loop does after the press, repainting included.
SelectAndBold Measure(HWND editor, const std::function<void()>& selectAll, const std::function<void()>& bold)
{
    SelectAndBold seconds{Time(selectAll), 0};
    CHARRANGE range = Selection(editor);
    if (range.cpMin != 0 || range.cpMax < GetWindowTextLengthA(editor) - 2)
        Fail("Ctrl+A did not select the whole text");
    seconds.bold = Time([&] {
        bold();
        Application->ProcessMessages();
    });
    if (!SelectionAllBold(editor))
        Fail("Bold did not make the whole text bold");
    return seconds;
}

// Ctrl+A and Bold over the 10 MB: the toolbar button clicked in the program,
// the character format set in the bare control. One after the other, each
// control emptied before the next is filled: two such texts would not fit
// into the process together. The windows are hidden: shown, Wine's control
// lays out the whole text again after the format changes, which takes
// minutes for 10 MB, in both alike.
void BoldOnEverything(int width, int height, HFONT font, const std::string& text)
{
    Form1->Hide();
    Form1->memo1->LoadFromFile("C:\\bench-formatting\\plain.txt");
    // Loading may give the editor a new window.
    HWND ours = Form1->memo1->Handle();
    Application->ProcessMessages();
    // Select all is a command of the program; until it is built there, the
    // selection is made by the message Ctrl+A ends in.
    const bool selectAllBuilt = Form1->Commands["SelectAll1Click2"].HasHandler();
    RECT button = Form1->ToolBar6->ButtonRect(Form1->ToolButton11);
    LPARAM middle = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SelectAndBold our = Measure(
        ours,
        [&] {
            if (selectAllBuilt)
                return Key(ours, 'A', true);
            SetSelection(ours, 0, -1);
            Application->ProcessMessages();
        },
        [&] {
            PostMessageA(Form1->ToolBar6->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, middle);
            PostMessageA(Form1->ToolBar6->Handle(), WM_LBUTTONUP, 0, middle);
        });
    double step = Time([] {
        for (int i = 0; i < 5; ++i)
            Form1->memo1SelectionChange(nullptr);
    });
    Form1->memo1->Clear();

    BareEditor bare(width, height, font, false);
    bare.Load(text, SF_TEXT);
    Application->ProcessMessages();
    SelectAndBold peer = Measure(
        bare.Handle(), [&] { Key(bare.Handle(), 'A', true); },
        [&] {
            CHARFORMATA bold{};
            bold.cbSize = sizeof bold;
            bold.dwMask = CFM_BOLD;
            bold.dwEffects = CFE_BOLD;
            SendMessageA(bare.Handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold));
        });

    std::printf("  %-42s %9.3f %9.3f %7.2f%s\n", "Ctrl+A, 10 MB plain text (windows hidden)", our.select, peer.select,
                our.select / peer.select, selectAllBuilt ? "" : "   (select all not built yet: EM_EXSETSEL)");
    std::printf("  %-42s %9.3f %9.3f %7.2f   (goal <= 1.2)\n", "Bold on the whole 10 MB (windows hidden)", our.bold,
                peer.bold, our.bold / peer.bold);
    std::printf("  %-42s %9.3f %9.3f %7.2f\n", "both", our.select + our.bold, peer.select + peer.bold,
                (our.select + our.bold) / (peer.select + peer.bold));
    std::printf("  one toolbar refresh with the whole 10 MB selected: %.1f ms\n", step / 5 * 1000);
}

// Selection changes the control reports (counted where they reach the window
// procedure), against the toolbar refreshes they cause.
int g_changes = 0;
LRESULT CALLBACK CountChanges(int code, WPARAM wParam, LPARAM lParam)
{
    auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_NOTIFY &&
        reinterpret_cast<NMHDR*>(call->lParam)->hwndFrom == Form1->memo1->Handle() &&
        reinterpret_cast<NMHDR*>(call->lParam)->code == EN_SELCHANGE)
        ++g_changes;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void RefreshesPerCommand(ScriptedDialogs& dialogs)
{
    int steps = 0;
    auto step = Form1->memo1->OnSelectionChange;
    Form1->memo1->OnSelectionChange = [&](TObject* sender) {
        ++steps;
        step(sender);
    };
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountChanges, nullptr, GetCurrentThreadId());
    const struct {
        const char* name;
        std::function<void()> command;
    } kCommands[] = {
        {"Open (1 MB mixed RTF)", [&] {
             dialogs.ChooseFile("C:\\bench-formatting\\mixed.rtf");
             Form1->Open1Click(nullptr);
         }},
        {"plain-mode switch", [] { Form1->ToolButton24Click(nullptr); }},
        {"rich-mode switch", [] { Form1->ToolButton25Click(nullptr); }},
    };
    std::printf("selection changes inside one command: reported by the control / toolbar refreshes\n");
    for (const auto& entry : kCommands) {
        Form1->memo1->Select(10, 5);
        Application->ProcessMessages();
        g_changes = steps = 0;
        double seconds = Time(entry.command);
        Application->ProcessMessages();
        if (steps != 1)
            Fail(std::string(entry.name) + " refreshed the toolbar " + std::to_string(steps) + " times");
        std::printf("  %-42s %9d %9d   (%.3f s)\n", entry.name, g_changes, steps, seconds);
    }
    UnhookWindowsHookEx(hook);
    Form1->memo1->OnSelectionChange = step;
}

void WriteFileText(const std::string& path, const std::string& content)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(content.data(), 1, content.size(), file) != content.size())
        Fail("cannot write " + path);
    std::fclose(file);
}

} // namespace

// Usage: formatting_bench.exe [RTF_MEGABYTES [PLAIN_MEGABYTES]]   (1 and 10)
int main(int argc, char** argv)
{
    CreateDirectoryA("C:\\bench-formatting", nullptr);
    const size_t rtfBytes = static_cast<size_t>(argc > 1 ? std::atof(argv[1]) * (1 << 20) : 1 << 20);
    const size_t plainBytes = static_cast<size_t>(argc > 2 ? std::atof(argv[2]) * (1 << 20) : 10 << 20);
    const std::string rtf = MixedRtf(rtfBytes);
    const std::string text = PlainText(plainBytes);
    WriteFileText("C:\\bench-formatting\\mixed.rtf", rtf);
    WriteFileText("C:\\bench-formatting\\plain.txt", text);

    ScriptedDialogs dialogs;
    ClearStore();
    StartWithStored(dialogs, {{"Mode", "rich"}});
    Form1->SetBounds(0, 0, 739, 457);
    Form1->Show();
    Pump(50);
    const int width = Form1->memo1->Width(), height = Form1->memo1->Height();
    const HFONT font = Form1->memo1->Font().Handle();
    std::printf("formatting: seconds, ours beside a bare RICHEDIT control (same process, same messages)\n");
    std::printf("  %-42s %9s %9s %7s\n", "", "ours", "bare", "ratio");
    {
        BareEditor bare(width, height, font, true);
        CaretMoves(bare, rtf);
    }
    BoldOnEverything(width, height, font, text);
    RefreshesPerCommand(dialogs);
    StopProgram(false);
    ClearStore();
    DeleteFileA("C:\\bench-formatting\\mixed.rtf");
    DeleteFileA("C:\\bench-formatting\\plain.txt");
    return 0;
}
