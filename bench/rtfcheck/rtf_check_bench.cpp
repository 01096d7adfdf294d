// The RTF check beside the editor control's own reading of the same 10 MB of
// rich text, in one run: the control (a bare hidden RICHEDIT window) streams
// the text in without the check, and after it, as the program loads a file.
//
// Usage: rtf_check_bench.exe [MEGABYTES [ROUNDS]]. Prints "name=value" lines:
// seconds, best of the rounds.
#include "bench/BenchSupport.h"

#include "imageviewer/PictureChecks.h"
#include "ui/Classes.h"
#include "ui/RtfCheck.h"

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Hex digits of a small metafile: window extent, a rectangle, the end.
const char kMetafile[] = "010009000003180000000000070000000000050000000c0264006400070000001b045a005a000a000a00"
                         "030000000000";

// A font table, colours, and paragraphs with bold and italic runs, Cyrillic
// escapes and now and then a picture, in groups as word processors write it.
std::string RichText(size_t bytes)
{
    std::string text = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}"
                       "{\\f2\\fnil\\fcharset204 Times New Roman;}}{\\colortbl;\\red200\\green0\\blue0;}\\f0\\fs20 ";
    for (int paragraph = 0; text.size() < bytes; ++paragraph) {
        text += "\\pard A paragraph with {\\b bold words}, {\\i\\cf1 red italic ones}, {\\f1 a fixed font} and "
                "{\\f2 \\u1055?\\u1088?\\u1080?\\u1074?\\u1077?\\u1090?}.\\par\r\n";
        if (paragraph % 2000 == 0)
            text += std::string("{\\pict\\wmetafile8\\picw100\\pich100\\picwgoal600\\pichgoal600 ") + kMetafile +
                    "}\\par\r\n";
    }
    return text + "}";
}

struct TSource {
    const std::string* text;
    size_t at;
};

DWORD CALLBACK Feed(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* source = reinterpret_cast<TSource*>(cookie);
    size_t n = std::min(static_cast<size_t>(count), source->text->size() - source->at);
    std::memcpy(buffer, source->text->data() + source->at, n);
    source->at += n;
    *done = static_cast<LONG>(n);
    return 0;
}

// Streams the text into a new control, checked first when `check` is set.
double Load(const std::string& text, bool check)
{
    HWND window = CreateWindowExA(0, "RICHEDIT", "", WS_POPUP | ES_MULTILINE, 0, 0, 600, 400, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    SendMessageA(window, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    TMemoryStream stream;
    stream.WriteString(text);
    stream.SetPosition(0);
    double seconds = Seconds([&] {
        if (check && !RtfStreamLooksSafe(stream)) {
            std::fprintf(stderr, "the sample fails the check\n");
            std::exit(1);
        }
        TSource source{&text, 0};
        EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&source), 0, Feed};
        SendMessageA(window, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
        if (es.dwError != 0) {
            std::fprintf(stderr, "the control did not read the sample\n");
            std::exit(1);
        }
    });
    DestroyWindow(window);
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    const size_t megabytes = argc > 1 ? static_cast<size_t>(std::atoi(argv[1])) : 10;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 2;
    LoadLibraryA("riched32.dll");
    SetRtfPictureCheck(RichTextPictureFits);
    const std::string text = RichText(megabytes << 20);
    double check = 1e9, without = 1e9, with = 1e9;
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < 3; ++i) {
            TMemoryStream stream;
            stream.WriteString(text);
            stream.SetPosition(0);
            check = std::min(check, Seconds([&] { RtfStreamLooksSafe(stream); }));
        }
        // In turns, so that neither gains from coming second.
        for (bool checked : {round % 2 == 1, round % 2 == 0}) {
            double& best = checked ? with : without;
            best = std::min(best, Load(text, checked));
        }
    }
    std::printf("bytes=%zu\ncheck=%.4f\nload_without_check=%.3f\nload_with_check=%.3f\n", text.size(), check, without,
                with);
    return 0;
}
