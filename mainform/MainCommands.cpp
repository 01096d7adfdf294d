// The main window's command table: for every command the handler it runs and
// the menu items, toolbar buttons and pop-up items that run it; and the
// binding of the window's other events. A row without a handler is a command
// whose behaviour is not there yet.
#include "mainform/MainForm.h"

void TForm1::BindEvents()
{
    OnCreate = Bind(this, &TForm1::FormCreate);
    OnActivate = Bind(this, &TForm1::FormActivate);
    OnResize = Bind(this, &TForm1::FormResize);
    OnCloseQuery = Bind(this, &TForm1::FormCloseQuery);
    OnClose = Bind(this, &TForm1::FormClose);
    ControlBar1->OnResize = Bind(this, &TForm1::FormResize);
    Timer1->OnTimer = Bind(this, &TForm1::Timer1Timer);

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
    Commands.Add("ToolButton34Click", nullptr, {Undo1, ToolButton34});
    Commands.Add("Cut1Click2", nullptr, {Cut1, ToolButton35, Cut2});
    Commands.Add("Copy1Click2", nullptr, {Copy1, ToolButton36, Copy2});
    Commands.Add("Copyall1Click", nullptr, {Copyall1, ToolButton37, Copyall2});
    Commands.Add("Paste1Click2", nullptr, {Paste1, ToolButton38, Paste2});
    Commands.Add("ToolButton39Click", nullptr, {N10XPaste2, ToolButton39, N10XPaste1});
    Commands.Add("SelectAll1Click2", nullptr, {SelectAll1, ToolButton40});
    Commands.Add("ClearSelection1Click2", nullptr, {ClearSelection1, ToolButton41});
    Commands.Add("ToolButton8Click", nullptr, {InsertEurosign1, ToolButton8});

    // Find and replace
    Commands.Add("ToolButton27Click", nullptr, {Find1, ToolButton27});
    Commands.Add("findbuttonClick", nullptr, {findbutton});
    Commands.Add("replacebuttonClick", nullptr, {replacebutton});
    Commands.Add("replallbuttonClick", nullptr, {replallbutton});

    // Text modes
    Commands.Add("ToolButton24Click", Bind(this, &TForm1::ToolButton24Click), {Plaintextmode1, ToolButton24});
    Commands.Add("ToolButton25Click", Bind(this, &TForm1::ToolButton25Click), {Richtextmode1, ToolButton25});

    // Word list
    Commands.Add("SpeedButton1Click", Bind(this, &TForm1::SpeedButton1Click), {SpeedButton1.get()});
    Commands.Add("SpeedButton2Click", Bind(this, &TForm1::SpeedButton2Click), {SpeedButton2.get()});
    Commands.Add("SpeedButton3Click", Bind(this, &TForm1::SpeedButton3Click), {SpeedButton3.get()});
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
    Commands.Add("ToolButton11Click", nullptr, {ToolButton11});
    Commands.Add("ToolButton12Click", nullptr, {ToolButton12});
    Commands.Add("ToolButton14Click", nullptr, {ToolButton14});
    Commands.Add("White1Click", nullptr, {White1});
    Commands.Add("Silver1Click", nullptr, {Silver1});
    Commands.Add("Gray1Click", nullptr, {Gray1});
    Commands.Add("Black1Click", nullptr, {Black1});
    Commands.Add("Red1Click", nullptr, {Red1});
    Commands.Add("Yellow1Click", nullptr, {Yellow1});
    Commands.Add("Lime1Click", nullptr, {Lime1});
    Commands.Add("Aqua1Click", nullptr, {Aqua1});
    Commands.Add("Blue1Click", nullptr, {Blue1});
    Commands.Add("Fuchsia1Click", nullptr, {Fuchsia1});
    Commands.Add("MaroonClick", nullptr, {Maroon});
    Commands.Add("Olive1Click", nullptr, {Olive1});
    Commands.Add("Green1Click", nullptr, {Green1});
    Commands.Add("Teal1Click", nullptr, {Teal1});
    Commands.Add("Navy1Click", nullptr, {Navy1});
    Commands.Add("Purple1Click", nullptr, {Purple1});
    Commands.Add("Custom1Click", nullptr, {Custom1});
    Commands.Add("ToolButton18Click", nullptr, {ToolButton18, ToolButton19, ToolButton20});
    Commands.Add("ToolButton44Click", Bind(this, &TForm1::ToolButton44Click), {ToolButton44});

    // Date and time
    Commands.Add("ToolButton22Click", nullptr, {ToolButton22});
    Commands.Add("ToolButton23Click", nullptr, {ToolButton23});
    Commands.Add("ToolButton26Click", nullptr, {ToolButton26});
}
