// The floor of the printing benchmark: the least a program does to have a
// rich edit control of the editor's class ("RICHEDIT") print a text on the
// default printer page after page under this Wine, whose control answers
// EM_FORMATRANGE with nothing. The control, as wide as the page, shows one
// page's lines at a time and paints them into a metafile that is played onto
// the page. It knows its text: lines of one height, so every page shows the
// same number of lines and the window keeps one size.
//
// Usage: print_floor.exe RTF_FILE. Prints "native=" (what EM_FORMATRANGE
// answers for the whole text), "pages=" and "seconds=" (until the job is
// handed to the spooler).
#include <windows.h>
#include <commdlg.h>
#include <richedit.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Source {
    std::string bytes;
    size_t at = 0;
};

DWORD CALLBACK Read(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* source = reinterpret_cast<Source*>(cookie);
    size_t copied = source->bytes.copy(reinterpret_cast<char*>(buffer), static_cast<size_t>(count), source->at);
    *done = static_cast<LONG>(copied);
    source->at += static_cast<size_t>(*done);
    return 0;
}

int Top(HWND control, int line)
{
    POINTL place{0, 0};
    LRESULT start = SendMessageA(control, EM_LINEINDEX, line, 0);
    SendMessageA(control, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&place), start);
    return place.y;
}

// Wine keeps only half of the x and y advances of its control's text in a
// metafile: the text records lose their advances before playing.
void DropPairedAdvances(std::vector<BYTE>& bits)
{
    for (size_t at = 0; at + sizeof(ENHMETARECORD) <= bits.size();) {
        auto* record = reinterpret_cast<EMREXTTEXTOUTW*>(&bits[at]);
        if (record->emr.iType == EMR_EXTTEXTOUTW && (record->emrtext.fOptions & ETO_PDY)) {
            record->emrtext.fOptions &= ~ETO_PDY;
            record->emrtext.offDx = 0;
        }
        at += record->emr.nSize;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    LoadLibraryA("riched32.dll");
    std::ifstream file(argv[1], std::ios::binary);
    std::stringstream rtf;
    rtf << file.rdbuf();

    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&pd))
        return 1;
    const int printerDpiX = GetDeviceCaps(pd.hDC, LOGPIXELSX), printerDpiY = GetDeviceCaps(pd.hDC, LOGPIXELSY);
    const int width = GetDeviceCaps(pd.hDC, HORZRES) * dpi / printerDpiX;
    const int height = GetDeviceCaps(pd.hDC, VERTRES) * dpi / printerDpiY;
    DeleteDC(pd.hDC);

    HWND control = CreateWindowExA(0, "RICHEDIT", "", WS_POPUP | ES_MULTILINE, 0, 0, width, height, nullptr, nullptr,
                                   nullptr, nullptr);
    Source source{rtf.str()};
    EDITSTREAM in{reinterpret_cast<DWORD_PTR>(&source), 0, Read};
    SendMessageA(control, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&in));
    FORMATRANGE range{screen, screen, {0, 0, 11906, 16838}, {0, 0, 11906, 16838}, {0, -1}};
    std::printf("native=%ld\n", static_cast<long>(SendMessageA(control, EM_FORMATRANGE, FALSE,
                                                               reinterpret_cast<LPARAM>(&range))));
    const int lines = static_cast<int>(SendMessageA(control, EM_GETLINECOUNT, 0, 0)) - 1;
    const int lineHeight = Top(control, 1) - Top(control, 0);
    const int perPage = height / lineHeight;
    // Blank lines after the text let the last page scroll to its top.
    SendMessageA(control, EM_SETSEL, -1, -1);
    SendMessageA(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(std::string(2 * perPage, '\n').c_str()));
    SetWindowPos(control, nullptr, 0, 0, width, perPage * lineHeight, SWP_NOMOVE | SWP_NOZORDER);

    auto start = std::chrono::steady_clock::now();
    PRINTDLGA printer{};
    printer.lStructSize = sizeof printer;
    printer.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    DOCINFOA info{sizeof info, "Floor", nullptr, nullptr, 0};
    if (!PrintDlgA(&printer) || StartDocA(printer.hDC, &info) <= 0)
        return 1;
    pd.hDC = printer.hDC;
    int pages = 0;
    for (int first = 0; first < lines; first += perPage, ++pages) {
        POINT scroll{0, first * lineHeight};
        SendMessageA(control, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
        RECT frame{0, 0, width * 2540 / dpi, perPage * lineHeight * 2540 / dpi};
        HDC recorder = CreateEnhMetaFileA(screen, nullptr, &frame, nullptr);
        SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(recorder), PRF_CLIENT);
        HENHMETAFILE band = CloseEnhMetaFile(recorder);
        std::vector<BYTE> bits(GetEnhMetaFileBits(band, 0, nullptr));
        GetEnhMetaFileBits(band, static_cast<UINT>(bits.size()), bits.data());
        DeleteEnhMetaFile(band);
        DropPairedAdvances(bits);
        band = SetEnhMetaFileBits(static_cast<UINT>(bits.size()), bits.data());
        StartPage(pd.hDC);
        RECT target{0, 0, width * printerDpiX / dpi, perPage * lineHeight * printerDpiY / dpi};
        PlayEnhMetaFile(pd.hDC, band, &target);
        EndPage(pd.hDC);
        DeleteEnhMetaFile(band);
    }
    if (EndDoc(pd.hDC) <= 0)
        return 1;
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("pages=%d\nseconds=%.3f\n", pages, took.count());
    DeleteDC(pd.hDC);
    return 0;
}
