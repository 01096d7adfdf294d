#include "ui/Dialogs.h"

#include "ui/Application.h"
#include "ui/LateBound.h"
#include "ui/Printers.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <commdlg.h>
#include <dlgs.h>

#include <cstring>

TFileDialogPart::TFileDialogPart(short width, short height)
{
    DLGTEMPLATE dialog{};
    dialog.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL;
    dialog.cdit = 1;
    dialog.cx = width;
    dialog.cy = height;
    std::memcpy(words, &dialog, sizeof dialog); // 18 bytes, then no menu, class or title
    DLGITEMTEMPLATE item{};
    item.style = WS_CHILD | SS_LEFT;
    item.cx = 20;
    item.cy = 20;
    item.id = stc32;
    std::memcpy(words + 12, &item, sizeof item); // at byte 24, aligned to 4
    words[21] = 0xFFFF;                          // class: static
    words[22] = 0x0082;                          // title and creation data: zero
}

namespace {

// The common dialogs' DLL loads when the first dialog shows.
const TLateBound<decltype(&GetOpenFileNameW)> getOpenFileName("comdlg32.dll", "GetOpenFileNameW");
const TLateBound<decltype(&GetSaveFileNameW)> getSaveFileName("comdlg32.dll", "GetSaveFileNameW");
const TLateBound<decltype(&ChooseColorW)> chooseColor("comdlg32.dll", "ChooseColorW");
const TLateBound<decltype(&ChooseFontW)> chooseFont("comdlg32.dll", "ChooseFontW");
const TLateBound<decltype(&PrintDlgW)> printDlg("comdlg32.dll", "PrintDlgW");
const TLateBound<decltype(&CommDlgExtendedError)> commDlgExtendedError("comdlg32.dll", "CommDlgExtendedError");

} // namespace

static TDialogService theRealService;
static TDialogService* currentService = nullptr;

TDialogService& Dialogs() { return currentService ? *currentService : theRealService; }

void SetDialogService(TDialogService* service) { currentService = service; }

int TDialogService::MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags)
{
    return ::MessageBoxW(owner, ToWide(text).c_str(), ToWide(caption).c_str(), flags | MB_TASKMODAL);
}

OPENFILENAMEW TOpenDialog::Prepare(HWND owner, TFileDialogTexts& texts) const
{
    texts.file = ToWide(FileName);
    texts.file.resize(std::max<size_t>(texts.file.size() + 1, MAX_PATH * 4), L'\0');
    texts.filter = ToWide(Filter);
    for (wchar_t& c : texts.filter)
        if (c == L'|')
            c = L'\0';
    texts.filter.append(2, L'\0');
    // "*.txt" and ".mib" name the extension "txt" and "mib".
    std::string extension = DefaultExt;
    size_t dot = extension.find_last_of('.');
    if (dot != std::string::npos)
        extension.erase(0, dot + 1);
    if (extension.find('*') != std::string::npos)
        extension.clear();
    texts.defaultExt = ToWide(extension);
    texts.initialDir = ToWide(InitialDir);
    texts.title = ToWide(Title);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = Filter.empty() ? nullptr : texts.filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = &texts.file[0];
    ofn.nMaxFile = static_cast<DWORD>(texts.file.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : texts.initialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : texts.title.c_str();
    ofn.lpstrDefExt = texts.defaultExt.empty() ? nullptr : texts.defaultExt.c_str();
    ofn.Flags = Options | OFN_EXPLORER | OFN_ENABLESIZING;
    return ofn;
}

namespace {

const int kChoiceListId = 1201;

// Puts the caption and the list below the dialog's list of file types, in
// line with it and with its caption.
void MakeChoiceList(HWND hook, const TOpenDialog& dialog)
{
    HWND outer = GetParent(hook);
    RECT types, typesCaption;
    GetWindowRect(GetDlgItem(outer, cmb1), &types);
    GetWindowRect(GetDlgItem(outer, stc2), &typesCaption);
    MapWindowPoints(nullptr, hook, reinterpret_cast<POINT*>(&types), 2);
    MapWindowPoints(nullptr, hook, reinterpret_cast<POINT*>(&typesCaption), 2);
    const int step = types.bottom - types.top + 6;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(outer, WM_GETFONT, 0, 0));
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND caption = CreateWindowExW(0, L"STATIC", ToWide(dialog.ChoiceCaption).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT,
                                   typesCaption.left, typesCaption.top + step, typesCaption.right - typesCaption.left,
                                   typesCaption.bottom - typesCaption.top, hook, nullptr, instance, nullptr);
    HWND list = CreateWindowExW(0, L"COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                                types.left, types.top + step, types.right - types.left, 200, hook,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kChoiceListId)), instance, nullptr);
    for (HWND window : {caption, list})
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (const std::string& choice : dialog.Choices)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(choice).c_str()));
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(dialog.ChoiceIndex), 0);
}

void ChoiceDialogNotify(HWND hook, TOpenDialog* dialog, LPARAM lParam)
{
    switch (reinterpret_cast<OFNOTIFYW*>(lParam)->hdr.code) {
    case CDN_INITDONE:
        MakeChoiceList(hook, *dialog);
        break;
    case CDN_FILEOK: {
        LRESULT chosen = SendDlgItemMessageW(hook, kChoiceListId, CB_GETCURSEL, 0, 0);
        if (chosen >= 0)
            dialog->ChoiceIndex = static_cast<int>(chosen);
        break;
    }
    default:
        break;
    }
}

UINT_PTR CALLBACK ChoiceDialogHook(HWND hook, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hook, DWLP_USER, reinterpret_cast<OPENFILENAMEW*>(lParam)->lCustData);
        return FALSE;
    }
    auto* dialog = reinterpret_cast<TOpenDialog*>(GetWindowLongPtrW(hook, DWLP_USER));
    if (dialog && message == WM_NOTIFY)
        Application->Callback([&] { ChoiceDialogNotify(hook, dialog, lParam); });
    return 0;
}

} // namespace

static bool RunFileDialog(TOpenDialog& dialog, bool save)
{
    TFileDialogTexts texts;
    OPENFILENAMEW ofn = dialog.Prepare(Application->ActiveWindowHandle(), texts);
    static const TFileDialogPart choiceTemplate(20, 38); // a row of room beneath
    const int shownChoice = dialog.ChoiceIndex;
    if (!dialog.Choices.empty()) {
        ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
        ofn.hInstance = reinterpret_cast<HINSTANCE>(const_cast<WORD*>(choiceTemplate.words));
        ofn.lpfnHook = ChoiceDialogHook;
        ofn.lCustData = reinterpret_cast<LPARAM>(&dialog);
    }
    BOOL ok = save ? getSaveFileName(&ofn) : getOpenFileName(&ofn);
    if (!ok) {
        dialog.ChoiceIndex = shownChoice;
        return false;
    }
    dialog.FileName = ToUtf8(texts.file.c_str());
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
    CHOOSECOLORW cc{};
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
    LOGFONTW lf = dialog.Font.LogFont();
    CHOOSEFONTW cf{};
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
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    return needed > 0;
}

// Runs the system print dialog once; 0 when confirmed or cancelled, else the
// dialog's error. The printer settings go in and come back through `dialog`.
DWORD RunPrintDialog(TPrintDialog& dialog, bool& confirmed)
{
    PRINTDLGW pd{};
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
