// The common dialogs and message boxes. All of them go through one seam,
// TDialogService: the real one calls Win32, tests install one that answers.
#pragma once

#include "ui/Classes.h"
#include "ui/GdiObjects.h"
#include "ui/Graphics.h"

#include <windows.h>

#include <string>
#include <vector>

class TOpenDialog;
class TSaveDialog;
class TColorDialog;
class TFontDialog;
class TPrintDialog;
class TOpenPictureDialog;

class TDialogService {
public:
    virtual ~TDialogService() = default;
    virtual int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);
    virtual bool ExecuteOpen(TOpenDialog& dialog);
    virtual bool ExecuteSave(TSaveDialog& dialog);
    virtual bool ExecuteColor(TColorDialog& dialog);
    virtual bool ExecuteFont(TFontDialog& dialog);
    virtual bool ExecutePrint(TPrintDialog& dialog);
    // The open dialog with a preview pane (ExtDlgs.cpp).
    virtual bool ExecuteOpenPicture(TOpenPictureDialog& dialog);
};

// The service in use.
TDialogService& Dialogs();
// Installs a service (null: the real one again). The caller keeps ownership.
void SetDialogService(TDialogService* service);

// The texts a file dialog's structure points to, in the system's form.
struct TFileDialogTexts {
    std::wstring file, filter, defaultExt, initialDir, title;
};

// The in-memory template of the part a file dialog gets beside its own
// controls: the placeholder (stc32) that the system fills with its file list
// and fields, in a part `width` by `height` dialog units, the room beside or
// beneath it for the controls of our own.
struct TFileDialogPart {
    alignas(4) WORD words[32] = {};
    TFileDialogPart(short width, short height);
};

// An open-file dialog. Filter: "description|pattern|description|pattern".
class TOpenDialog : public TObject {
public:
    std::string Title;
    std::string FileName;
    std::string Filter;
    int FilterIndex = 1;
    std::string InitialDir;
    std::string DefaultExt;
    // OFN_* flags added to the ones the dialog always uses.
    DWORD Options = OFN_HIDEREADONLY;
    // A list the dialog shows below its list of file types when it has
    // entries, under the caption ChoiceCaption; ChoiceIndex (from 0) is the
    // entry shown first and, after a confirmed Execute, the one chosen.
    std::string ChoiceCaption;
    std::vector<std::string> Choices;
    int ChoiceIndex = 0;

    virtual bool Execute() { return Dialogs().ExecuteOpen(*this); }
    // The dialog structure for GetOpenFileName/GetSaveFileName; `texts` must
    // outlive the call.
    OPENFILENAMEW Prepare(HWND owner, TFileDialogTexts& texts) const;
};

class TSaveDialog : public TOpenDialog {
public:
    bool Execute() override { return Dialogs().ExecuteSave(*this); }
};

// The colour dialog with its sixteen custom colours, held as the lines
// "ColorA=BBGGRR" ... "ColorP=BBGGRR"; a slot without a line is unset.
class TColorDialog : public TObject {
public:
    TColor Color = clBlack;
    TStringList CustomColors;
    DWORD Flags = 0;

    bool Execute() { return Dialogs().ExecuteColor(*this); }
    // The sixteen slots as the system dialog takes them (unset slots white).
    void GetCustomColors(COLORREF colors[16]) const;
    // Stores all sixteen slots as lines, after the dialog was used.
    void SetCustomColors(const COLORREF colors[16]);
};

class TFontDialog : public TObject {
public:
    TFont Font;
    int MinFontSize = 0;
    int MaxFontSize = 0;
    DWORD Flags = 0;

    bool Execute() { return Dialogs().ExecuteFont(*this); }
};

// The print dialog: the printer, its properties and the number of copies.
// Execute is false when the user cancels and raises EPrinter when the dialog
// cannot be shown (no printer installed).
class TPrintDialog : public TObject {
public:
    int Copies = 1;
    // After a confirmed Execute: a device context of the chosen printer.
    TOwnedDC PrinterDC;
    // The printer and its settings chosen last: the dialog opens on them.
    TOwnedGlobal DevMode, DevNames;

    bool Execute() { return Dialogs().ExecutePrint(*this); }
};
