// The Preferences window's commands: opening, the page buttons and their
// hover colours, "Ok", the font and colour buttons, the margin fields,
// "Reset all Toolbars" and "Location...".
#include "preferences/PreferencesForm.h"

#include "email/SendForm.h"
#include "mainform/MainForm.h"
#include "ui/SysUtils.h"

namespace {

// One toolbar's place in a step of "Reset all Toolbars".
struct BarPlace {
    std::unique_ptr<TToolBar> TForm1::*bar;
    int value;
};

const BarPlace kFirstTops[] = {{&TForm1::ToolBar1, 2},  {&TForm1::ToolBar2, 28}, {&TForm1::ToolBar3, 54},
                               {&TForm1::ToolBar6, 80}, {&TForm1::ToolBar7, 106}, {&TForm1::ToolBar5, 132}};
const BarPlace kLefts[] = {{&TForm1::ToolBar1, 11}, {&TForm1::ToolBar2, 139}, {&TForm1::ToolBar3, 401},
                           {&TForm1::ToolBar5, 11}, {&TForm1::ToolBar6, 11},  {&TForm1::ToolBar7, 352}};
const BarPlace kFinalTops[] = {{&TForm1::ToolBar1, 2},  {&TForm1::ToolBar2, 2}, {&TForm1::ToolBar3, 28},
                               {&TForm1::ToolBar6, 28}, {&TForm1::ToolBar7, 2}, {&TForm1::ToolBar5, 54}};

template <size_t N>
void PlaceBars(const BarPlace (&places)[N], void (TControlBar::*place)(TToolBar*, int))
{
    for (const BarPlace& each : places)
        (Form1->ControlBar1.get()->*place)((Form1->*each.bar).get(), each.value);
}

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

// ---- opening ----

void TForm2::FormShow(TObject*)
{
    ShowPage(Form8 && Form8->EmailPageFlag ? EmailPage.get() : InfoPage.get());
}

// ---- the page buttons and "Ok" ----

void TForm2::Panel16Click(TObject* sender)
{
    int index = static_cast<TControl*>(sender)->Tag;
    ShowPage(Pages().at(static_cast<size_t>(index)));
}

void TForm2::Panel16MouseMove(TObject* sender, TShiftState, int, int)
{
    for (TPanelButton* button : PageButtons())
        button->SetHot(button == sender);
}

void TForm2::speedbutton2MouseMove(TObject*, TShiftState, int, int) { speedbutton2->SetHot(true); }

void TForm2::FormMouseMove(TObject*, TShiftState, int, int)
{
    for (TPanelButton* button : PageButtons())
        button->SetHot(false);
    speedbutton2->SetHot(false);
}

void TForm2::SpeedButton2Click(TObject*)
{
    // The main window lays itself out afresh for the new choices.
    Form1->SetWidth(Form1->Width() + 1);
    Form1->SetWidth(Form1->Width() - 1);
    Close();
}

// ---- General ----

void TForm2::SpeedButton4Click(TObject*)
{
    if (Form1->FontDialog1.Execute())
        Edit1->SetFont(Form1->FontDialog1.Font);
}

void TForm2::SpeedButton5Click(TObject*)
{
    TColorDialog& dialog = Form1->ColorDialog1;
    if (dialog.Execute())
        Edit1->SetColor(dialog.Color);
    // Confirmed or not, the editor shows the colour the dialog holds.
    Form1->memo1->SetBackground(dialog.Color);
}

void TForm2::Edit4Change(TObject*)
{
    for (TEdit* field : {Edit4.get(), Edit2.get()}) {
        int value;
        if (!TryStrToInt(field->Text(), value))
            field->SetText("0");
    }
}

// ---- Toolbars ----

void TForm2::SpeedButton22Click(TObject*)
{
    TControlBar& bar = *Form1->ControlBar1;
    // Every move would repaint the main window; it is drawn once at the end.
    RedrawHeldOff quiet(*Form1);
    for (int run = 0; run < 3; ++run) {
        for (TCheckBox* box : {shape10.get(), shape1.get(), shape14.get(), shape4.get(), shape8.get(), shape7.get()})
            box->SetChecked(true);
        for (TToolBar* toolBar : {Form1->ToolBar1.get(), Form1->ToolBar2.get(), Form1->ToolBar3.get(),
                                  Form1->ToolBar5.get(), Form1->ToolBar6.get(), Form1->ToolBar7.get()})
            bar.SetBandVisible(toolBar, true);
        PlaceBars(kFirstTops, &TControlBar::SetBandTop);
        PlaceBars(kLefts, &TControlBar::SetBandLeft);
        PlaceBars(kFinalTops, &TControlBar::SetBandTop);
    }
}

// ---- Backup and save ----

void TForm2::SpeedButton17Click(TObject*)
{
    LocationDialog.FileName = "Mibor8 - Backup";
    if (LocationDialog.Execute())
        Edit3->SetText(LocationDialog.FileName);
}
