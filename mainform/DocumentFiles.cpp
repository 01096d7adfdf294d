// New, Open, Re-open, Save, Save as and the backup copy.
#include "mainform/MainForm.h"

#include "mainform/ProgramPaths.h"
#include "preferences/PreferencesForm.h"
#include "ui/Application.h"
#include "ui/SafeFile.h"
#include "ui/SysUtils.h"

#include <algorithm>
#include <iterator>

namespace {

const char* const kNoLastFile = "There is no last file. To use this, first open\n"
                                "and/or save a file, and restart Mibor8.\n"
                                "Then try it again.";
const char* const kSavedAsUtf8 =
    "This text holds characters that the ANSI code page cannot store; it was saved as UTF-8.";

// The "Encoding:" list of Save as, in its order.
const struct {
    const char* name;
    TTextFormat format;
} kEncodings[] = {
    {"ANSI", {TEncoding::Ansi, false}},
    {"UTF-8", {TEncoding::Utf8, false}},
    {"UTF-8 with BOM", {TEncoding::Utf8, true}},
    {"UTF-16 LE", {TEncoding::Utf16LE, true}},
    {"UTF-16 BE", {TEncoding::Utf16BE, true}},
};

int EncodingIndex(const TTextFormat& format)
{
    for (size_t i = 0; i < std::size(kEncodings); ++i)
        if (kEncodings[i].format.encoding == format.encoding && kEncodings[i].format.bom == format.bom)
            return static_cast<int>(i);
    return 0;
}

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

// Whether a file begins with "{\rtf" (after any byte order mark).
bool BeginsAsRtf(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead);
    std::string start(16, '\0');
    start.resize(file.Read(&start[0], start.size()));
    return StartsWithRtf(start.data(), start.size());
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

// The text is safe in a file: no recovery copy is due.
static void TextIsSafe(TForm1& form)
{
    if (form.Recovery)
        form.Recovery->Clean();
}

TTextFormat TForm1::WriteDocument(const std::string& fileName)
{
    TTextFormat written;
    SaveFileSafely(fileName, [&](TStream& file) { written = memo1->SaveToStream(file, DocumentFormat, true); });
    return written;
}

void TForm1::SaveDocument(const std::string& fileName)
{
    const TTextFormat written = WriteDocument(fileName);
    TextIsSafe(*this);
    if (!memo1->PlainText)
        return;
    const bool changed = !(written == DocumentFormat);
    DocumentFormat = written;
    const bool toldOnce = changed && FormatFromFile;
    FormatFromFile = true;
    if (toldOnce)
        Application->ShowMessage(kSavedAsUtf8);
}

void TForm1::NoteLoadedFormat(const std::optional<TTextFormat>& format)
{
    DocumentFormat = format.value_or(TTextFormat());
    FormatFromFile = format.has_value();
    TextIsSafe(*this);
}

TRecoveredText TForm1::RecoverySnapshot()
{
    // In the mode's format; plain text in UTF-8, which holds every character.
    TRecoveredText text;
    text.rich = RichMode();
    const bool plainText = memo1->PlainText;
    memo1->PlainText = !text.rich;
    TMemoryStream stream;
    try {
        memo1->SaveToStream(stream, TTextFormat{TEncoding::Utf8, true});
    } catch (...) {
        memo1->PlainText = plainText;
        throw;
    }
    memo1->PlainText = plainText;
    text.bytes = stream.ToString();
    return text;
}

void TForm1::TakeUpRecovery()
{
    const std::optional<std::string> left = Recovery ? Recovery->LeftOver() : std::nullopt;
    if (!left)
        return;
    Application->ShowMessage("Mibor8 was not closed properly. The text you had not saved is kept in " + *left + ".");
    if (CommandLineStart)
        return;
    try {
        TUpdateLock hold(*memo1);
        const bool rich = BeginsAsRtf(*left);
        if (rich != RichMode()) {
            if (rich)
                ToolButton25Click(nullptr);
            else
                ToolButton24Click(nullptr);
        }
        NoteLoadedFormat(memo1->LoadFromFile(*left));
        ApplyPlainModeAgain();
    } catch (const std::exception&) {
        memo1->Clear(); // what could not be read is not shown in part
    }
    // The text is in no file of the user's: untitled, and copied again.
    NoteLoadedFormat(std::nullopt);
    SaveDialog1.FileName.clear();
    SetText("Mibor8");
    Application->SetTitle("Mibor8");
    if (memo1->TextLength() > 0)
        Recovery->Changed();
}

void TForm1::BackupCopy(const std::string& fallback)
{
    if (memo1->TextLength() == 0 || !Form2->shape15->Checked())
        return;
    try {
        // With neither mode button down (a first start) the backup is plain text.
        memo1->PlainText = !RichMode();
        WriteDocument(BackupTarget(Form2->Edit3->Text()));
        TextIsSafe(*this);
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
    NoteLoadedFormat(std::nullopt);
    SetText("Mibor8");
    Application->SetTitle("Mibor8");
    SaveDialog1.FileName.clear();
    // A margin field that is not a number leaves the margins as they are.
    IgnoreFailure([this] { SetWholeTextMargins(); });
}

void TForm1::Open1Click(TObject*)
{
    const bool chosen = OpenDialog1.Execute();
    // The toolbar follows the selection once, when the document is in.
    TUpdateLock hold(*memo1);
    if (chosen) {
        // The text about to be replaced is kept first, as New keeps it.
        BackupCopy(kNewBackupPath);
        const std::string name = OpenDialog1.FileName;
        // The file's first characters choose the mode; a failure keeps the mode.
        bool looked = false, rich = false;
        IgnoreFailure([&] {
            rich = BeginsAsRtf(name);
            looked = true;
        });
        // Opened before anything changes: "Cannot open file" leaves the
        // document as it was.
        TFileStream file(name, fmOpenRead);
        // The old text is replaced anyway: emptied first, it need not be
        // reformatted by the switch of mode.
        memo1->Clear();
        if (looked) {
            IgnoreFailure([&] {
                if (rich)
                    ToolButton25Click(nullptr);
                else
                    ToolButton24Click(nullptr);
            });
        }
        NoteLoadedFormat(memo1->LoadFromStream(file));
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
    BackupCopy(kNewBackupPath);
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
        SaveDocument(SaveDialog1.FileName);
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
        TTextFormat format;
        bool fromFile;
        bool written = false;
        ~Restore()
        {
            form.memo1->PlainText = plainText;
            if (!written) {
                form.SaveDialog1.FileName = name;
                form.DocumentFormat = format;
                form.FormatFromFile = fromFile;
            }
        }
    } restore{*this, plainText, current, DocumentFormat, FormatFromFile};

    SaveDialog1.ChoiceCaption = "Encoding:";
    SaveDialog1.Choices.clear();
    for (const auto& encoding : kEncodings)
        SaveDialog1.Choices.push_back(encoding.name);
    SaveDialog1.ChoiceIndex = EncodingIndex(DocumentFormat);
    if (!SaveDialog1.Execute())
        return;
    const TTextFormat chosen = kEncodings[std::clamp<int>(SaveDialog1.ChoiceIndex, 0, std::size(kEncodings) - 1)].format;
    if (chosen.encoding != DocumentFormat.encoding || chosen.bom != DocumentFormat.bom) {
        DocumentFormat.encoding = chosen.encoding;
        DocumentFormat.bom = chosen.bom;
        // Chosen by the user: a text it cannot hold is reported.
        FormatFromFile = true;
    }
    int index = SaveDialog1.FilterIndex;
    const TSaveEntry& entry = kSaveEntries[index >= 1 && index <= 4 ? index - 1 : 0];
    if (entry.format != TSaveFormat::CurrentMode)
        memo1->PlainText = entry.format == TSaveFormat::Plain;
    const std::string name = SaveDialog1.FileName + entry.extension;
    SaveDocument(name);
    restore.written = true;
    SaveDialog1.FileName = name;
    SetText(CaptionFor(name));
    Application->SetTitle(CaptionFor(name));
}

void TForm1::FormCloseQuery(TObject*, bool& canClose)
{
    BackupCopy(kClosingBackupPath);
    if (Recovery)
        Recovery->Close();
    canClose = true;
}
