#include "ui/Dialogs.h"

#include "ui/Application.h"
#include "ui/LateBound.h"
#include "ui/Printers.h"
#include "ui/SysUtils.h"

#include <commdlg.h>

#include <cstring>

namespace {

// The common dialogs' DLL loads when the first dialog shows.
const TLateBound<decltype(&GetOpenFileNameA)> getOpenFileName("comdlg32.dll", "GetOpenFileNameA");
const TLateBound<decltype(&GetSaveFileNameA)> getSaveFileName("comdlg32.dll", "GetSaveFileNameA");
const TLateBound<decltype(&ChooseColorA)> chooseColor("comdlg32.dll", "ChooseColorA");
const TLateBound<decltype(&ChooseFontA)> chooseFont("comdlg32.dll", "ChooseFontA");
const TLateBound<decltype(&PrintDlgA)> printDlg("comdlg32.dll", "PrintDlgA");
const TLateBound<decltype(&CommDlgExtendedError)> commDlgExtendedError("comdlg32.dll", "CommDlgExtendedError");

} // namespace

static TDialogService theRealService;
static TDialogService* currentService = nullptr;

TDialogService& Dialogs() { return currentService ? *currentService : theRealService; }

void SetDialogService(TDialogService* service) { currentService = service; }

int TDialogService::MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags)
{
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags | MB_TASKMODAL);
}

OPENFILENAMEA TOpenDialog::Prepare(HWND owner, std::string& buffer, std::string& filter,
                                   std::string& defaultExt) const
{
    buffer.assign(MAX_PATH * 4, '\0');
    std::memcpy(&buffer[0], FileName.c_str(), std::min(FileName.size(), buffer.size() - 1));
    filter = Filter;
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    filter.append(2, '\0');
    // "*.txt" and ".mib" name the extension "txt" and "mib".
    defaultExt = DefaultExt;
    size_t dot = defaultExt.find_last_of('.');
    if (dot != std::string::npos)
        defaultExt.erase(0, dot + 1);
    if (defaultExt.find('*') != std::string::npos)
        defaultExt.clear();

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = &buffer[0];
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.Flags = Options | OFN_EXPLORER | OFN_ENABLESIZING;
    return ofn;
}

static bool RunFileDialog(TOpenDialog& dialog, bool save)
{
    std::string buffer, filter, defaultExt;
    OPENFILENAMEA ofn = dialog.Prepare(Application->ActiveWindowHandle(), buffer, filter, defaultExt);
    BOOL ok = save ? getSaveFileName(&ofn) : getOpenFileName(&ofn);
    if (!ok)
        return false;
    dialog.FileName = buffer.c_str();
    dialog.FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

bool TDialogService::ExecuteOpen(TOpenDialog& dialog) { return RunFileDialog(dialog, false); }
bool TDialogService::ExecuteSave(TSaveDialog& dialog) { return RunFileDialog(dialog, true); }

void TColorDialog::GetCustomColors(COLORREF colors[16]) const
{
    for (int i = 0; i < 16; ++i)
        colors[i] = RGB(255, 255, 255);
    for (const std::string& line : CustomColors) {
        if (line.size() < 8 || line.compare(0, 5, "Color") != 0 || line[6] != '=')
            continue;
        int slot = line[5] - 'A';
        int value;
        if (slot >= 0 && slot < 16 && TryStrToInt("$" + line.substr(7), value))
            colors[slot] = static_cast<COLORREF>(value) & 0xFFFFFF;
    }
}

void TColorDialog::SetCustomColors(const COLORREF colors[16])
{
    CustomColors.Clear();
    for (int i = 0; i < 16; ++i)
        CustomColors.Add(std::string("Color") + static_cast<char>('A' + i) + "=" + IntToHex(colors[i] & 0xFFFFFF, 6));
}

bool TDialogService::ExecuteColor(TColorDialog& dialog)
{
    COLORREF custom[16];
    dialog.GetCustomColors(custom);
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = Application->ActiveWindowHandle();
    cc.rgbResult = ColorToRGB(dialog.Color);
    cc.lpCustColors = custom;
    cc.Flags = dialog.Flags | CC_RGBINIT;
    BOOL ok = chooseColor(&cc);
    dialog.SetCustomColors(custom);
    if (ok)
        dialog.Color = static_cast<TColor>(cc.rgbResult);
    return ok != 0;
}

bool TDialogService::ExecuteFont(TFontDialog& dialog)
{
    LOGFONTA lf = dialog.Font.LogFont();
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = Application->ActiveWindowHandle();
    cf.lpLogFont = &lf;
    cf.rgbColors = ColorToRGB(dialog.Font.Color());
    cf.Flags = dialog.Flags | CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_EFFECTS;
    if (dialog.MinFontSize || dialog.MaxFontSize) {
        cf.Flags |= CF_LIMITSIZE;
        cf.nSizeMin = dialog.MinFontSize;
        cf.nSizeMax = dialog.MaxFontSize;
    }
    if (!chooseFont(&cf))
        return false;
    dialog.Font.SetLogFont(lf);
    if (cf.iPointSize > 0)
        dialog.Font.SetSize(cf.iPointSize / 10);
    dialog.Font.SetColor(static_cast<TColor>(cf.rgbColors));
    return true;
}

namespace {

// Whether the system knows a printer. Without one the system print dialog
// shows a warning of its own, whatever it is told (Wine's does).
bool PrinterInstalled()
{
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    return needed > 0;
}

// Runs the system print dialog once; 0 when confirmed or cancelled, else the
// dialog's error. The printer settings go in and come back through `dialog`.
DWORD RunPrintDialog(TPrintDialog& dialog, bool& confirmed)
{
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = Application->ActiveWindowHandle();
    // No page ranges, no selection, no printing to a file, and no warning of
    // the dialog's own when there is no printer: the caller reports that.
    pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE | PD_USEDEVMODECOPIESANDCOLLATE |
               PD_NOWARNING;
    pd.nCopies = static_cast<WORD>(dialog.Copies);
    pd.hDevMode = dialog.DevMode.Release();
    pd.hDevNames = dialog.DevNames.Release();
    confirmed = printDlg(&pd) != FALSE;
    DWORD error = confirmed ? 0 : commDlgExtendedError();
    // The dialog keeps, replaces or frees the blocks it is given: the ones it
    // hands back are the program's.
    dialog.DevMode.Reset(pd.hDevMode);
    dialog.DevNames.Reset(pd.hDevNames);
    if (confirmed) {
        dialog.PrinterDC.Reset(pd.hDC);
        dialog.Copies = pd.nCopies;
    }
    return error;
}

} // namespace

bool TDialogService::ExecutePrint(TPrintDialog& dialog)
{
    dialog.PrinterDC.Reset();
    if (!PrinterInstalled())
        throw EPrinter("No printer is installed");
    bool confirmed = false;
    DWORD error = RunPrintDialog(dialog, confirmed);
    if (error != 0 && dialog.DevNames) {
        // The printer chosen last may be gone: the default one then.
        dialog.DevMode.Reset();
        dialog.DevNames.Reset();
        error = RunPrintDialog(dialog, confirmed);
    }
    if (error != 0)
        throw EPrinter(Format("The print dialog failed (error %lu)", static_cast<unsigned long>(error)));
    return confirmed;
}
