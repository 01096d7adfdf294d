// The main window: its parts as built, start-up, window events and shut-down.
#include "mainform/MainForm.h"
#include "mainform/MainWindowReads.h"

#include "about/AboutForm.h"
#include "email/SendForm.h"
#include "imageviewer/ImageViewerForm.h"
#include "mainform/CommandLine.h"
#include "mainform/Icons.h"
#include "mainform/ProgramPaths.h"
#include "preferences/PreferencesForm.h"
#include "ui/Application.h"
#include "ui/LateBound.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <shellapi.h>

#include <set>

TForm1* Form1 = nullptr;

TRichEdit& MainEditor() { return *Form1->memo1; }
const TDateTimePicker& MainDatePicker() { return *Form1->DateTimePicker2; }
TImageList* MainIcons() { return Form1 ? &Form1->ImageList1 : nullptr; }

namespace {

// The shell's DLL loads at the first dropped file.
const TLateBound<decltype(&DragQueryFileW)> dragQueryFile("shell32.dll", "DragQueryFileW");
const TLateBound<decltype(&DragFinish)> dragFinish("shell32.dll", "DragFinish");

} // namespace
std::string TForm1::CommandLineOverride;

static std::string ProgramCommandLine()
{
    return TForm1::CommandLineOverride.empty() ? ToUtf8(GetCommandLineW()) : TForm1::CommandLineOverride;
}

TForm1::TForm1() : TForm("TForm1")
{
    SetText("Mibor8");
    SetBounds(260, 317, 739, 457);
    LoadMainIcons(ImageList1);

    OpenDialog1.DefaultExt = "*.txt";
    OpenDialog1.InitialDir = "c:\\";
    OpenDialog1.Filter = "All Files (*.*)|*.*|RichText Files (*.rtf)|*.rtf|Plain Text Files (*.txt)|*.txt|"
                         "HTML Files (*.htm, *.html)|*.htm*";
    OpenDialog1.Options |= OFN_FILEMUSTEXIST;
    SaveDialog1.InitialDir = "c:\\";
    SaveDialog1.Filter = "No new extension (*.*)|*.*|RichText Files (*.rtf)|*.rtf|Plain Text Files (*.txt)|*.txt|"
                         "HTML Files (*.html)|*.html";
    ColorDialog1.Color = clWhite;
    ColorDialog1.Flags = CC_FULLOPEN | CC_ANYCOLOR;
    ColorDialog2.Flags = CC_FULLOPEN | CC_PREVENTFULLOPEN | CC_SOLIDCOLOR | CC_ANYCOLOR;
    FontDialog1.Font = TFont("Tahoma", 8, clBlack);
    FontDialog1.MinFontSize = 1;
    FontDialog1.MaxFontSize = 100;

    BuildMenus();
    BuildToolBars();
    BuildSidePanel();
    BuildEditorArea();
    Timer1 = std::make_unique<TTimer>(TTimerOptions{.interval = 1});
    RecoveryTimer = std::make_unique<TTimer>(TTimerOptions{.interval = 1});
    BindEvents();
    SetActiveControl(memo1.get());
    // Files dragged from the shell may be dropped here (as DragAcceptFiles
    // does it, without loading the shell).
    SetWindowLongW(Handle(), GWL_EXSTYLE, GetWindowLongW(Handle(), GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
    Realign();
}

TForm1::~TForm1()
{
    // The window would destroy its menu bar itself; the menu object does that.
    SetMenu(nullptr);
}

void TForm1::BuildSidePanel()
{
    WordList.Build(this, PopupMenu1);
    RichEdit1 = std::make_unique<TRichEdit>(Panel9.get(), 0, 0, 10, 10, TRichEditOptions{.wordWrap = false});
    RichEdit1->Hide();
    RichEdit1->SetMaxLength(200000000);
}

void TForm1::BuildEditorArea()
{
    Panel11 = std::make_unique<TPanel>(this, 0, 0, 400, 300);
    Panel11->SetBevels(TBevelCut::None, TBevelCut::None);
    Panel11->SetAlign(TAlign::Client);
    Bevel2 = std::make_unique<TBevel>(Panel11.get(), 0, 0, 1, 300, TBevelShape::LeftLine);
    Bevel2->SetAlign(TAlign::Left);

    Format.BuildRuler(Panel11.get());

    memo1 = std::make_unique<TRichEdit>(Panel11.get(), 0, 0, 400, 300);
    memo1->SetAlign(TAlign::Client);
    memo1->SetEditorFont(TFont("Tahoma", 8, clBlack));
    memo1->SetMaxLength(200000000);
    memo1->PopupMenu = &PopupMenu1;
}

std::string TForm1::CaptionFor(const std::string& fileName)
{
    return fileName.empty() ? "Mibor8" : "Mibor8 - " + fileName;
}

// ---- the side panel's layout ----

// While a band is dragged the list takes its height from the window's outer
// height; "Insert >>" stays where it is until the next change of size.
void TForm1::ControlBar1BandDrag(TObject*) { FitWordList(TWordListFit::BandDrag); }

int TForm1::WordListHeight(TWordListFit fit) const
{
    // The window height the list fills, less the toolbars and what the panel
    // and the window's frame keep above and below the list, measured from
    // that height.
    switch (fit) {
    case TWordListFit::ClientHeight:
        return ClientHeight() + InsertAllowance - ControlBar1->Height() - 65;
    case TWordListFit::OuterHeight:
        return Height() + InsertAllowance - ControlBar1->Height() - 109;
    case TWordListFit::BandDrag:
        break;
    }
    return Height() - ControlBar1->Height() - 71;
}

void TForm1::FitWordList(TWordListFit fit)
{
    if (fit == TWordListFit::BandDrag)
        Panel10->SetHeight(WordListHeight(fit));
    else
        SetWordListHeight(WordListHeight(fit));
}

void TForm1::ShowSidePanel(int choice)
{
    if (choice <= 0) {
        if (choice == 0) {
            Panel9->Hide();
            Bevel2->Hide();
        }
        return;
    }
    Panel9->Show();
    Bevel2->Show();
    WordList.SetPanelSize(std::min(choice, 3));
    Realign();
}

// ---- start-up ----

void TForm1::FormCreate(TObject*)
{
    Recovery = std::make_unique<TRecoveryCopy>(ProgramDataFolder(), [this] { return RecoverySnapshot(); });
    FillFontList();
    if (!SplitCommandLine(ProgramCommandLine()).empty()) {
        CommandLineStart = true;
        OpenCommandLineFile();
    }
}

static int CALLBACK AddFontFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data)
{
    reinterpret_cast<std::set<std::string>*>(data)->insert(ToUtf8(font->lfFaceName));
    return 1;
}

void TForm1::FillFontList()
{
    std::set<std::string> faces;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(TWindowDC(), &query, AddFontFace, reinterpret_cast<LPARAM>(&faces), 0);
    for (const std::string& face : faces)
        ComboBox1->Add(face);
}

void TForm1::OpenCommandLineFile()
{
    std::string name = CommandLineFileName(SplitCommandLine(ProgramCommandLine()));
    // Read now; into the editor when the start-up is done (LoadHeldDocument).
    TFileStream file(name, fmOpenRead);
    memo1->LoadLater(file);
    SetText(CaptionFor(name));
    SaveDialog1.FileName = name;
    OpenDialog1.FileName = name;
    ComboBox1->SetText(memo1->Font().Name());
    Edit3->SetText(IntToStr(memo1->Font().Size()));
}

void TForm1::LoadDocument(const std::string& fileName) { NoteLoadedFormat(memo1->LoadFromFile(fileName)); }

void TForm1::LoadHeldDocument()
{
    if (!memo1->LoadPending())
        return;
    Application->Guard([this] {
        try {
            // Plain text goes in at the insertion point, in plain mode's font.
            if (PlainMode())
                memo1->SetEmptyTextFormat(PlainModeFont());
            NoteLoadedFormat(memo1->LoadPendingText());
        } catch (...) {
            // As for a file that could not be read at all: no name.
            SetText(CaptionFor(""));
            SaveDialog1.FileName.clear();
            OpenDialog1.FileName.clear();
            throw;
        }
        // What the start-up did to the text in plain mode, done to the text.
        ApplyPlainModeAgain();
    });
}

void TForm1::FormActivate(TObject*)
{
    if (Edit4->Text().empty())
        WordList.AddCommand->SetEnabled(false);
    WordList.DisableWhenEmpty();
}

void TForm1::Timer1Timer(TObject*)
{
    Edit3->SetText(IntToStr(memo1->Font().Size()));
    Timer1->SetEnabled(false);
}

void TForm1::FormResize(TObject*)
{
    if (!ControlBar1 || !Panel10 || !memo1)
        return;
    FitWordList(TWordListFit::ClientHeight);
    Bevel4->SetWidth(Panel20->Width() - 6);
    memo1SelectionChange(this);
}

void TForm1::DropFiles(HDROP drop)
{
    UINT count = dragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
    if (count > 1) {
        Application->ShowMessage("Only one file at a time, please...");
    } else if (count == 1) {
        std::wstring wide(dragQueryFile(drop, 0, nullptr, 0) + 1, L'\0');
        wide.resize(dragQueryFile(drop, 0, &wide[0], static_cast<UINT>(wide.size())));
        const std::string name = ToUtf8(wide);
        Application->Guard([&] {
            BackupCopy(kNewBackupPath);
            TUpdateLock hold(*memo1);
            LoadDocument(name);
            SaveDialog1.FileName = name;
            SetText(CaptionFor(name));
            ApplyPlainModeAgain();
        });
    }
    dragFinish(drop);
}

// ---- commands ----

void TForm1::Exit1Click(TObject*) { Close(); }

void TForm1::Preferences1Click(TObject*)
{
    Form8->EmailPageFlag = false;
    Form2->ShowModal();
    Form2->ShowPage(Form2->InfoPage.get());
}

void TForm1::Preferences1Click3(TObject* sender) { Preferences1Click(sender); }

void TForm1::About1Click(TObject*) { Form3->ShowModal(); }

void TForm1::ImageViewer1Click(TObject*) { Form4->Show(); }

void TForm1::ToolButton6Click(TObject* sender) { ImageViewer1Click(sender); }

// The bar is shown exactly when its "Show this toolbar" preference is ticked;
// applying the preferences stores the choice at once.
void TForm1::ToolButton27Click(TObject*)
{
    bool show = !Form2->shape8->Checked();
    Form2->shape8->SetChecked(show);
    ControlBar1->SetBandVisible(ToolBar5.get(), show);
    CommandRows.findBar->SetChecked(show);
    Form2->ApplyPreferences();
    memo1->SetFocus();
}

// ---- shut-down ----

void TForm1::FormClose(TObject*, TCloseAction&)
{
    memo1->SetBackground(ColorDialog1.Color);
    DeleteFileW(ToWide(AssociationScriptPath()).c_str());
    Form2->WindowStateSave();
}
