// New, Open, Re-open, Save, Save as and the backup copy.
#include "mainform/MainForm.h"

#include "mainform/ProgramPaths.h"
#include "preferences/PreferencesForm.h"
#include "ui/Application.h"
#include "ui/SafeFile.h"
#include "ui/SysUtils.h"

namespace {

const char* const kNoLastFile = "There is no last file. To use this, first open\n"
                                "and/or save a file, and restart Mibor8.\n"
                                "Then try it again.";

// How each entry of the Save as filter list writes: plain text, rich text or
// the current mode's format, and the extension appended to the typed name.
enum class TSaveFormat { CurrentMode, Rich, Plain };
struct TSaveEntry {
    TSaveFormat format;
    const char* extension;
};
const TSaveEntry kSaveEntries[] = {
    {TSaveFormat::CurrentMode, ""}, // "No new extension (*.*)"
    {TSaveFormat::Rich, ".rtf"},    // "RichText Files (*.rtf)"
    {TSaveFormat::Plain, ".txt"},   // "Plain Text Files (*.txt)"
    {TSaveFormat::Plain, ".html"},  // "HTML Files (*.html)"
};

// The first characters of a file, read as plain text.
std::string FirstCharacters(const std::string& fileName, size_t count)
{
    TFileStream file(fileName, fmOpenRead);
    std::string text(count, '\0');
    text.resize(file.Read(&text[0], count));
    return text;
}

// Where the backup goes: the program's own locations where the root of C: can
// be written to, else in the user's application data; a location the user
// chose exactly as typed.
std::string BackupTarget(const std::string& location)
{
    for (const char* builtIn : {kDefaultBackupPath, kNewBackupPath, kClosingBackupPath})
        if (IsBuiltInRootPath(location, builtIn))
            return ProgramRootPath(builtIn);
    return location;
}

} // namespace

void TForm1::WriteDocument(const std::string& fileName)
{
    SaveFileSafely(fileName, [this](TStream& file) { memo1->SaveToStream(file); });
}

void TForm1::BackupCopy(const std::string& fallback)
{
    if (memo1->TextLength() == 0 || !Form2->shape15->Checked())
        return;
    try {
        // With neither mode button down (a first start) the backup is plain text.
        memo1->PlainText = !RichMode();
        WriteDocument(BackupTarget(Form2->Edit3->Text()));
    } catch (const std::exception&) {
        // Said nowhere: the next settings save stores the fallback.
        Form2->Edit3->SetText(ProgramRootPath(fallback));
    }
}

void TForm1::Text2Click(TObject*)
{
    BackupCopy(kNewBackupPath);
    TUpdateLock hold(*memo1);
    memo1->Clear();
    SetText("Mibor8");
    Application->SetTitle("Mibor8");
    SaveDialog1.FileName.clear();
    try {
        SetWholeTextMargins();
    } catch (const std::exception&) {
        // A margin field that is not a number leaves the margins as they are.
    }
}

void TForm1::Open1Click(TObject*)
{
    const bool chosen = OpenDialog1.Execute();
    // The toolbar follows the selection once, when the document is in.
    TUpdateLock hold(*memo1);
    if (chosen) {
        const std::string name = OpenDialog1.FileName;
        // The file's first characters choose the mode; a failure keeps the mode.
        bool looked = false, rich = false;
        try {
            rich = FirstCharacters(name, 5) == "{\\rtf";
            looked = true;
        } catch (const std::exception&) {
        }
        // Opened before anything changes: "Cannot open file" leaves the
        // document as it was.
        TFileStream file(name, fmOpenRead);
        // The old text is replaced anyway: emptied first, it need not be
        // reformatted by the switch of mode.
        memo1->Clear();
        if (looked) {
            try {
                if (rich)
                    ToolButton25Click(nullptr);
                else
                    ToolButton24Click(nullptr);
            } catch (const std::exception&) {
            }
        }
        memo1->LoadFromStream(file);
        ApplyPlainModeAgain();
        SaveDialog1.FileName = name;
        SetText(CaptionFor(name));
        Application->SetTitle(CaptionFor(name));
    }
    if (OpenDialog1.FileName.empty())
        SetText("Mibor8");
    Form2->ApplyPreferences();
}

void TForm1::Reopenlastfile1Click(TObject*)
{
    if (OpenDialog1.FileName.empty())
        SetText("Mibor8");
    bool failed = false;
    try {
        TUpdateLock hold(*memo1);
        LoadDocument(LastFileName);
        ApplyPlainModeAgain();
        OpenDialog1.FileName = LastFileName;
        SaveDialog1.FileName = LastFileName;
        SetText(CaptionFor(LastFileName));
        Application->SetTitle(CaptionFor(LastFileName));
    } catch (const std::exception&) {
        failed = true;
    }
    // Shown once the failure has been left behind.
    if (failed)
        Application->ShowMessage(kNoLastFile);
}

void TForm1::Save1Click(TObject* sender)
{
    if (SaveDialog1.FileName.empty())
        SaveAs1Click(sender);
    else
        WriteDocument(SaveDialog1.FileName);
}

void TForm1::SaveAs1Click(TObject*)
{
    const bool plainText = memo1->PlainText;
    const std::string current = SaveDialog1.FileName;
    // Whatever happens, the editor reads and writes as before, and a failed
    // write leaves the document named as it was (the dialog holds the typed name).
    struct Restore {
        TForm1& form;
        bool plainText;
        std::string name;
        bool written = false;
        ~Restore()
        {
            form.memo1->PlainText = plainText;
            if (!written)
                form.SaveDialog1.FileName = name;
        }
    } restore{*this, plainText, current};

    if (!SaveDialog1.Execute())
        return;
    int index = SaveDialog1.FilterIndex;
    const TSaveEntry& entry = kSaveEntries[index >= 1 && index <= 4 ? index - 1 : 0];
    if (entry.format != TSaveFormat::CurrentMode)
        memo1->PlainText = entry.format == TSaveFormat::Plain;
    const std::string name = SaveDialog1.FileName + entry.extension;
    WriteDocument(name);
    restore.written = true;
    SaveDialog1.FileName = name;
    SetText(CaptionFor(name));
    Application->SetTitle(CaptionFor(name));
}

void TForm1::FormCloseQuery(TObject*, bool& canClose)
{
    BackupCopy(kClosingBackupPath);
    canClose = true;
}
