// The main window's command table: for every command the handler it runs and
// the menu items, toolbar buttons and pop-up items that run it; and the
// binding of the window's other events. A row without a handler is a command
// whose behaviour is not there yet.
#include "mainform/MainForm.h"

#include "mainform/TextColors.h"

void TForm1::BindEvents()
{
    OnCreate = Bind(this, &TForm1::FormCreate);
    OnActivate = Bind(this, &TForm1::FormActivate);
    OnResize = Bind(this, &TForm1::FormResize);
    OnCloseQuery = Bind(this, &TForm1::FormCloseQuery);
    OnClose = Bind(this, &TForm1::FormClose);
    ControlBar1->OnResize = Bind(this, &TForm1::FormResize);
    Timer1->OnTimer = Bind(this, &TForm1::Timer1Timer);
    RecoveryTimer->OnTimer = [this](TObject*) {
        RecoveryTimer->SetEnabled(false);
        TakeUpRecovery();
    };
    memo1->OnChange = [this](TObject*) {
        if (Recovery)
            Recovery->Changed();
    };

    // The formatting toolbar follows the selection; the ruler's markers.
    memo1->OnSelectionChange = Bind(this, &TForm1::memo1SelectionChange);
    ComboBox1->OnChange = Bind(this, &TForm1::ComboBox1Change);
    ComboBox1->OnSelect = Bind(this, &TForm1::ComboBox1Select);
    Edit3->OnChange = Bind(this, &TForm1::Edit3Change);
    Image1->OnMouseDown = Bind(&Format, &TFormattingBar::Image1MouseDown);
    Image2->OnMouseDown = Bind(&Format, &TFormattingBar::Image2MouseDown);
    Image3->OnMouseDown = Bind(&Format, &TFormattingBar::Image3MouseDown);
    Image1->OnMouseMove = Bind(&Format, &TFormattingBar::Image1MouseMove);
    Image2->OnMouseMove = Bind(&Format, &TFormattingBar::Image2MouseMove);
    Image3->OnMouseMove = Bind(&Format, &TFormattingBar::Image3MouseMove);
    Image1->OnMouseUp = Bind(&Format, &TFormattingBar::Image1MouseUp);
    Image2->OnMouseUp = Bind(&Format, &TFormattingBar::Image2MouseUp);
    Image3->OnMouseUp = Bind(&Format, &TFormattingBar::Image3MouseUp);
    for (TImage* marker : {Image1.get(), Image2.get(), Image3.get()})
        marker->OnCaptureLost = Bind(&Format, &TFormattingBar::MarkerCaptureLost);
    Panel20->OnResize = Bind(&Format, &TFormattingBar::Panel20Resize);
    Format.DescribeMarkers();
    Format.Panel20Resize(this);

    // File
    Commands.Add("Text2Click", Bind(this, &TForm1::Text2Click), {New1, ToolButton1});
    Commands.Add("Open1Click", Bind(this, &TForm1::Open1Click), {Open1, ToolButton2});
    Commands.Add("Reopenlastfile1Click", Bind(this, &TForm1::Reopenlastfile1Click), {Reopenlastfile1, ToolButton3});
    Commands.Add("Save1Click", Bind(this, &TForm1::Save1Click), {Save1, ToolButton4});
    Commands.Add("SaveAs1Click", Bind(this, &TForm1::SaveAs1Click), {SaveAs1});
    Commands.Add("Sendasemail1Click", Bind(this, &TForm1::Sendasemail1Click), {Sendasemail1, ToolButton28});
    Commands.Add("Exit1Click", Bind(this, &TForm1::Exit1Click), {Exit1, ToolButton7});

    // Printing
    Commands.Add("Print1Click", Bind(this, &TForm1::Print1Click), {Print1, ToolButton5});

    // Clipboard and selection
    Commands.Add("ToolButton34Click", Bind(this, &TForm1::ToolButton34Click), {Undo1, ToolButton34});
    Commands.Add("Cut1Click2", Bind(this, &TForm1::Cut1Click2), {Cut1, ToolButton35, Cut2});
    Commands.Add("Copy1Click2", Bind(this, &TForm1::Copy1Click2), {Copy1, ToolButton36, Copy2});
    Commands.Add("Copyall1Click", Bind(this, &TForm1::Copyall1Click), {Copyall1, ToolButton37, Copyall2});
    Commands.Add("Paste1Click2", Bind(this, &TForm1::Paste1Click2), {Paste1, ToolButton38, Paste2});
    Commands.Add("ToolButton39Click", Bind(this, &TForm1::ToolButton39Click), {N10XPaste2, ToolButton39, N10XPaste1});
    Commands.Add("SelectAll1Click2", Bind(this, &TForm1::SelectAll1Click2), {SelectAll1, ToolButton40});
    Commands.Add("ClearSelection1Click2", Bind(this, &TForm1::ClearSelection1Click2), {ClearSelection1, ToolButton41});
    Commands.Add("ToolButton8Click", Bind(this, &TForm1::ToolButton8Click), {InsertEurosign1, ToolButton8});

    // Find and replace
    CommandRows.findBar = &Commands.Add("ToolButton27Click", Bind(this, &TForm1::ToolButton27Click), {Find1, ToolButton27});
    Find.FindCommand = &Commands.Add("findbuttonClick", Bind(this, &TForm1::findbuttonClick), {findbutton});
    Find.ReplaceCommand = &Commands.Add("replacebuttonClick", Bind(this, &TForm1::replacebuttonClick), {replacebutton});
    Commands.Add("replallbuttonClick", Bind(this, &TForm1::replallbuttonClick), {replallbutton});
    fedit->OnKeyPress = Bind(this, &TForm1::feditKeyPress);
    redit->OnKeyPress = Bind(this, &TForm1::reditKeyPress);

    // Text modes
    CommandRows.plainMode = &Commands.Add("ToolButton24Click", Bind(this, &TForm1::ToolButton24Click), {Plaintextmode1, ToolButton24});
    CommandRows.richMode = &Commands.Add("ToolButton25Click", Bind(this, &TForm1::ToolButton25Click), {Richtextmode1, ToolButton25});

    // Word list
    WordList.AddCommand = &Commands.Add("SpeedButton1Click", Bind(this, &TForm1::SpeedButton1Click), {SpeedButton1.get()});
    WordList.RemoveCommand = &Commands.Add("SpeedButton2Click", Bind(this, &TForm1::SpeedButton2Click), {SpeedButton2.get()});
    WordList.InsertCommand = &Commands.Add("SpeedButton3Click", Bind(this, &TForm1::SpeedButton3Click), {SpeedButton3.get()});
    Commands.Add("Importwordlist1Click", Bind(this, &TForm1::Importwordlist1Click), {Importwordlist1, ToolButton29});
    Commands.Add("Exportwordlist1Click", Bind(this, &TForm1::Exportwordlist1Click), {Exportwordlist1, ToolButton30});
    Commands.Add("Emptywordlist1Click", Bind(this, &TForm1::Emptywordlist1Click), {Emptywordlist1, ToolButton31});
    Edit4->OnKeyPress = Bind(this, &TForm1::Edit4KeyPress);
    Edit4->OnChange = Bind(this, &TForm1::Edit4Change);
    ListBox1->OnDblClick = Bind(this, &TForm1::ListBox1DblClick);
    ListBox1->OnMouseDown = Bind(this, &TForm1::ListBox1MouseDown);
    ListBox1->OnMouseUp = Bind(this, &TForm1::ListBox1MouseUp);
    ControlBar1->OnBandDrag = Bind(this, &TForm1::ControlBar1BandDrag);

    // Windows of their own
    Commands.Add("ImageViewer1Click", Bind(this, &TForm1::ImageViewer1Click), {ImageViewer1});
    Commands.Add("ToolButton6Click", Bind(this, &TForm1::ToolButton6Click), {ToolButton6});
    Commands.Add("Preferences1Click", Bind(this, &TForm1::Preferences1Click), {Preferences2});
    Commands.Add("Preferences1Click3", Bind(this, &TForm1::Preferences1Click3), {ToolButton32});
    Commands.Add("About1Click", Bind(this, &TForm1::About1Click), {About1});

    // Association and help
    Commands.Add("Help2Click", Bind(this, &TForm1::Help2Click), {Help2});
    Commands.Add("ToolButton33Click", Bind(this, &TForm1::ToolButton33Click), {ToolButton33});
    Commands.Add("txt1Click", Bind(this, &TForm1::txt1Click), {txt1});
    Commands.Add("rtf1Click", Bind(this, &TForm1::rtf1Click), {rtf1});

    // Character and paragraph formatting
    CommandRows.bold = &Commands.Add("ToolButton11Click", Bind(this, &TForm1::ToolButton11Click), {ToolButton11});
    CommandRows.italic = &Commands.Add("ToolButton12Click", Bind(this, &TForm1::ToolButton12Click), {ToolButton12});
    CommandRows.underline = &Commands.Add("ToolButton14Click", Bind(this, &TForm1::ToolButton14Click), {ToolButton14});
    // The colour items stand first in their menu, in the table's order.
    for (int i = 0; i < kTextColorCount; ++i) {
        TColor color = kTextColors[i].color;
        Commands.Add(kTextColors[i].command, [this, color](TObject*) { SetSelectionColor(color); },
                     {PopupMenu3.Items().Item(i)});
    }
    Commands.Add("Custom1Click", Bind(this, &TForm1::Custom1Click), {Custom1});
    CommandRows.align = &Commands.Add("ToolButton18Click", Bind(this, &TForm1::ToolButton18Click),
                 {ToolButton18, ToolButton19, ToolButton20});
    CommandRows.bullets = &Commands.Add("ToolButton44Click", Bind(this, &TForm1::ToolButton44Click), {ToolButton44});

    // Date and time
    Timer2->OnTimer = Bind(this, &TForm1::Timer2Timer);
    DateTimePicker1->OnChange = Bind(this, &TForm1::DateTimePicker1Change);
    DateTimePicker2->OnChange = Bind(this, &TForm1::DateTimePicker2Change);
    Commands.Add("ToolButton22Click", Bind(this, &TForm1::ToolButton22Click), {ToolButton22});
    Commands.Add("ToolButton23Click", Bind(this, &TForm1::ToolButton23Click), {ToolButton23});
    Commands.Add("ToolButton26Click", Bind(this, &TForm1::ToolButton26Click), {ToolButton26});
}
