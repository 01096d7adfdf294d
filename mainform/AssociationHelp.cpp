// The Help menu's two services: the file association script for ".txt" and
// ".rtf", and the manual. Both hand a file to the system shell, which does
// the rest; neither changes the registry or starts a program itself.
#include "mainform/MainForm.h"

#include "mainform/ProgramPaths.h"
#include "ui/Shell.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

std::string TForm1::AssociationScriptPath()
{
    // Where the root of C: is closed to the user, the script goes to the
    // user's temporary folder.
    if (RootWritable())
        return "C:\\Mibor.reg";
    wchar_t folder[MAX_PATH + 1] = {0};
    GetTempPathW(MAX_PATH + 1, folder);
    return ToUtf8(folder) + "Mibor.reg";
}

std::vector<std::string> TForm1::AssociationScript(const std::string& extension)
{
    return {"REGEDIT4", "", "[HKEY_CLASSES_ROOT\\" + extension + "]", "@=\"Mibor-File\""};
}

void TForm1::Associate(const std::string& extension)
{
    // The script is put together in the hidden scratch control as plain text
    // and saved from its lines, each ended by CR LF.
    RichEdit1->Clear();
    RichEdit1->PlainText = true;
    for (const std::string& line : AssociationScript(extension)) {
        RichEdit1->Select(RichEdit1->TextLength(), 0);
        RichEdit1->SetSelText(line + "\r\n");
    }
    TStringList lines;
    for (const std::string& line : RichEdit1->Paragraphs())
        lines.Add(line);
    lines.SaveToFile(AssociationScriptPath());
    // The registry editor asks the user and merges it: that is the system's.
    ShellOpen(AssociationScriptPath());
}

void TForm1::txt1Click(TObject*) { Associate(".txt"); }

void TForm1::rtf1Click(TObject*) { Associate(".rtf"); }

std::string TForm1::ManualPath() { return ExtractFilePath(ProgramFileName()) + "Mibor8.pdf"; }

void TForm1::Help2Click(TObject*) { ShellOpen(ManualPath()); }

void TForm1::ToolButton33Click(TObject* sender) { Help2Click(sender); }
