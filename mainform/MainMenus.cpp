// The main window's menus and toolbars as built: captions, shortcuts, hints
// and pictures. The commands are bound in the command table (MainCommands.cpp).
#include "mainform/Icons.h"
#include "mainform/MainForm.h"
#include "mainform/TextColors.h"

void TForm1::BuildMenus()
{
    TMenuItem* file = MainMenu1.Add("File");
    New1 = file->Add("New", nullptr, ShortCut("Ctrl+N"), iconNew);
    Open1 = file->Add("Open...", nullptr, ShortCut("Ctrl+O"), iconOpen);
    Reopenlastfile1 = file->Add("Re-open last file", nullptr, ShortCut("Ctrl+R"), iconReopen);
    Save1 = file->Add("Save", nullptr, ShortCut("Ctrl+S"), iconSave);
    SaveAs1 = file->Add("Save as...", nullptr, ShortCut("Ctrl+Alt+S"), iconSaveAs);
    file->AddSeparator();
    Sendasemail1 = file->Add("Send as e-mail...", nullptr, ShortCut("Ctrl+Alt+A"), iconSendMail);
    Print1 = file->Add("Print...", nullptr, ShortCut("Ctrl+P"), iconPrint);
    file->AddSeparator();
    Exit1 = file->Add("Exit", nullptr, ShortCut("Ctrl+Alt+X"), iconExit);

    TMenuItem* edit = MainMenu1.Add("Edit");
    Undo1 = edit->Add("Undo / Redo", nullptr, ShortCut("Ctrl+Z"), iconUndo);
    edit->AddSeparator();
    Cut1 = edit->Add("Cut", nullptr, ShortCut("Ctrl+X"), iconCut);
    Copy1 = edit->Add("Copy", nullptr, ShortCut("Ctrl+C"), iconCopy);
    Copyall1 = edit->Add("Copy all", nullptr, ShortCut("Ctrl+Alt+C"), iconCopyAll);
    Paste1 = edit->Add("Paste", nullptr, ShortCut("Ctrl+V"), iconPaste);
    N10XPaste2 = edit->Add("10 X Paste", nullptr, ShortCut("Ctrl+T"), iconPasteTen);
    edit->AddSeparator();
    SelectAll1 = edit->Add("Select all", nullptr, ShortCut("Ctrl+A"), iconSelectAll);
    ClearSelection1 = edit->Add("Clear selection", nullptr, ShortCut("Ctrl+Del"), iconClearSelection);
    edit->AddSeparator();
    InsertEurosign1 = edit->Add("Insert Euro-sign", nullptr, ShortCut("Ctrl+E"), iconEuro);
    Find1 = edit->Add("Show/Hide Find toolbar", nullptr, ShortCut("Ctrl+F"), iconFindBar);

    TMenuItem* tools = MainMenu1.Add("Tools");
    Plaintextmode1 = tools->Add("Plain text mode", nullptr, ShortCut("F2"), iconPlainText);
    Richtextmode1 = tools->Add("Rich text mode", nullptr, ShortCut("F3"), iconRichText);
    tools->AddSeparator();
    Importwordlist1 = tools->Add("Import wordlist...", nullptr, {}, iconImportWords);
    Exportwordlist1 = tools->Add("Export wordlist...", nullptr, {}, iconExportWords);
    Emptywordlist1 = tools->Add("Empty wordlist...", nullptr, {}, iconEmptyWords);
    tools->AddSeparator();
    ImageViewer1 = tools->Add("Image Viewer...", nullptr, {}, iconImageViewer);
    Preferences2 = tools->Add("Preferences...", nullptr, ShortCut("Ctrl+Alt+P"), iconPreferences);

    TMenuItem* help = MainMenu1.Add("Help");
    Help2 = help->Add("Help...", nullptr, ShortCut("F1"), iconHelp);
    Help2->Hint = "You'll need an internet connection!";
    Associate1 = help->Add("Associate with Mibor8", nullptr, {}, iconAssociate);
    txt1 = Associate1->Add(".txt");
    rtf1 = Associate1->Add(".rtf");
    About1 = help->Add("About...", nullptr, {}, iconAbout);

    Cut2 = PopupMenu1.Add("Cut", nullptr, {}, iconCut);
    Copy2 = PopupMenu1.Add("Copy", nullptr, {}, iconCopy);
    Copyall2 = PopupMenu1.Add("Copy all", nullptr, {}, iconCopyAll);
    Paste2 = PopupMenu1.Add("Paste", nullptr, {}, iconPaste);
    N10XPaste1 = PopupMenu1.Add("10 X Paste", nullptr, {}, iconPasteTen);

    Find.BuildOptions();

    TMenuItem** colorItems[kTextColorCount] = {&White1, &Silver1, &Gray1,  &Black1, &Red1,   &Yellow1,
                                               &Lime1,  &Aqua1,   &Blue1,  &Fuchsia1, &Maroon, &Olive1,
                                               &Green1, &Teal1,   &Navy1,  &Purple1};
    for (int i = 0; i < kTextColorCount; ++i)
        *colorItems[i] = PopupMenu3.Add(kTextColors[i].caption, nullptr, {},
                                        ImageList3.AddSwatch(ColorToRGB(kTextColors[i].color)));
    PopupMenu3.AddSeparator();
    Custom1 = PopupMenu3.Add("Custom...");
    PopupMenu3.SetImages(&ImageList3);

    SetMenu(&MainMenu1);
    MainMenu1.SetImages(&ImageList1);
    PopupMenu1.SetImages(&ImageList1);
}

void TForm1::BuildToolBars()
{
    ControlBar1 = std::make_unique<TControlBar>(this);
    ControlBar1->SetAlign(TAlign::Top);
    using Style = TToolButtonStyle;

    ToolBar1 = std::make_unique<TToolBar>(ControlBar1.get(), 161, &ImageList1);
    ToolButton1 = ToolBar1->AddButton("New", nullptr, iconNew);
    ToolButton2 = ToolBar1->AddButton("Open...", nullptr, iconOpen);
    ToolButton3 = ToolBar1->AddButton("Re-open last file", nullptr, iconReopen);
    ToolButton4 = ToolBar1->AddButton("Save", nullptr, iconSave);
    ToolButton28 = ToolBar1->AddButton("Send as e-mail...", nullptr, iconSendMail);
    ToolButton5 = ToolBar1->AddButton("Print...", nullptr, iconPrint);
    ToolButton7 = ToolBar1->AddButton("Exit", nullptr, iconExit);

    ToolBar2 = std::make_unique<TToolBar>(ControlBar1.get(), 200, &ImageList1);
    ToolButton34 = ToolBar2->AddButton("Undo / Redo", nullptr, iconUndo);
    ToolBar2->AddSeparator();
    ToolButton35 = ToolBar2->AddButton("Cut", nullptr, iconCut);
    ToolButton36 = ToolBar2->AddButton("Copy", nullptr, iconCopy);
    ToolButton37 = ToolBar2->AddButton("Copy all", nullptr, iconCopyAll);
    ToolButton38 = ToolBar2->AddButton("Paste", nullptr, iconPaste);
    ToolButton39 = ToolBar2->AddButton("10 X Paste", nullptr, iconPasteTen);
    ToolBar2->AddSeparator();
    ToolButton40 = ToolBar2->AddButton("SelectAll", nullptr, iconSelectAll);
    ToolButton41 = ToolBar2->AddButton("Clear Selection", nullptr, iconClearSelection);

    ToolBar3 = std::make_unique<TToolBar>(ControlBar1.get(), 270, &ImageList1);
    ToolButton8 = ToolBar3->AddButton("Insert Euro (you need an Euro-compatible font!)", nullptr, iconEuro);
    ToolBar3->AddSeparator();
    ToolButton27 = ToolBar3->AddButton("Show/Hide Find Bar", nullptr, iconFindBar, Style::Check);
    ToolBar3->AddSeparator();
    ToolButton24 = ToolBar3->AddButton("Plain text mode", nullptr, iconPlainText, Style::Check, true);
    ToolButton25 = ToolBar3->AddButton("Rich text mode", nullptr, iconRichText, Style::Check, true);
    ToolBar3->AddSeparator();
    ToolButton29 = ToolBar3->AddButton("Import wordlist...", nullptr, iconImportWords);
    ToolButton30 = ToolBar3->AddButton("Export wordlist...", nullptr, iconExportWords);
    ToolButton31 = ToolBar3->AddButton("Empty wordlist...", nullptr, iconEmptyWords);
    ToolBar3->AddSeparator();
    ToolButton6 = ToolBar3->AddButton("Image Viewer...", nullptr, iconImageViewer);
    ToolButton32 = ToolBar3->AddButton("Preferences...", nullptr, iconPreferences);
    ToolBar3->AddSeparator();
    ToolButton33 = ToolBar3->AddButton("Help. You need Acrobat Reader: http://get.adobe.com/reader/", nullptr,
                                       iconHelp);

    Find.Build(ControlBar1.get(), ImageList1, PopupMenu1);

    Format.Build(ControlBar1.get(), ImageList1, PopupMenu3, PopupMenu4);

    Clock.Build(ControlBar1.get(), ImageList1);

    // As built: file, edit and clock toolbars in the first row, formatting and
    // tools in the second, the find bar in the third.
    for (TToolBar* bar : {ToolBar1.get(), ToolBar2.get(), ToolBar7.get(), ToolBar6.get(), ToolBar3.get(),
                          ToolBar5.get()})
        ControlBar1->AddBand(bar);
    const struct {
        TToolBar* bar;
        int left, top;
    } kBuiltPlaces[] = {
        {ToolBar1.get(), 11, 2},  {ToolBar2.get(), 185, 2},  {ToolBar7.get(), 398, 2},
        {ToolBar6.get(), 11, 28}, {ToolBar3.get(), 415, 28}, {ToolBar5.get(), 11, 54},
    };
    // Arranged when the settings load has read the stored places, or as
    // built when it has not.
    ControlBar1->HoldArrangement();
    for (const auto& place : kBuiltPlaces) {
        ControlBar1->SetBandTop(place.bar, place.top);
        ControlBar1->SetBandLeft(place.bar, place.left);
    }
}

namespace {

// Holds a window's redrawing off for the life of the object, then draws it
// afresh.
class RedrawHeldOff {
public:
    explicit RedrawHeldOff(TControl& window) : window_(window), visible_(IsWindowVisible(window.Handle()) != 0)
    {
        if (visible_)
            window_.Perform(WM_SETREDRAW, FALSE);
    }
    ~RedrawHeldOff()
    {
        if (!visible_)
            return;
        window_.Perform(WM_SETREDRAW, TRUE);
        RedrawWindow(window_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    RedrawHeldOff(const RedrawHeldOff&) = delete;
    RedrawHeldOff& operator=(const RedrawHeldOff&) = delete;

private:
    TControl& window_;
    bool visible_;
};

} // namespace

void TForm1::ResetToolBars()
{
    // Every move would repaint the window; it is drawn once at the end.
    RedrawHeldOff quiet(*this);
    struct BandPlace {
        TToolBar* bar;
        int value;
    };
    TToolBar *file = ToolBar1.get(), *edit = ToolBar2.get(), *tools = ToolBar3.get();
    TToolBar *find = ToolBar5.get(), *format = ToolBar6.get(), *clock = ToolBar7.get();
    // The bands go to their places in three steps: tops apart, the lefts,
    // the final tops; three times over, whatever the places were before.
    const BandPlace firstTops[] = {{file, 2}, {edit, 28}, {tools, 54}, {format, 80}, {clock, 106}, {find, 132}};
    const BandPlace lefts[] = {{file, 11}, {edit, 139}, {tools, 401}, {find, 11}, {format, 11}, {clock, 352}};
    const BandPlace finalTops[] = {{file, 2}, {edit, 2}, {tools, 28}, {format, 28}, {clock, 2}, {find, 54}};
    for (int run = 0; run < 3; ++run) {
        for (TToolBar* bar : {file, edit, tools, find, format, clock})
            ControlBar1->SetBandVisible(bar, true);
        for (const BandPlace& place : firstTops)
            ControlBar1->SetBandTop(place.bar, place.value);
        for (const BandPlace& place : lefts)
            ControlBar1->SetBandLeft(place.bar, place.value);
        for (const BandPlace& place : finalTops)
            ControlBar1->SetBandTop(place.bar, place.value);
    }
}
