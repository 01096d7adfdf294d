// The About box as built and as the user meets it: the start counted in the
// store, hover colours, keys that do not close it, "Ok", the two links.
#include "tests/about/ShellFixture.h"

#include "about/AboutForm.h"
#include "mainform/MainForm.h"
#include "ui/Application.h"
#include "ui/ExtCtrls.h"
#include "ui/Shell.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <cstdlib>
#include <set>

namespace {

using AboutBoxTest = ShellFixture;

bool IsBlack(TPanelButton& button) { return button.Color() == clBlack && button.Font().Color() == clWhite; }
bool IsWhite(TPanelButton& button) { return button.Color() == clWhite && button.Font().Color() == clBlack; }

void MouseOver(TControl& control) { SendMessageA(control.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)); }

// Runs `action` from the message loop of the modal box the caller opens next.
void WhileShown(TTimer& timer, std::function<void()> action)
{
    timer.OnTimer = [&timer, action](TObject*) {
        timer.SetEnabled(false);
        action();
        if (Form3->Modal())
            Form3->Close(); // never leave a test waiting in the loop
    };
    timer.SetEnabled(true);
}

int ColoursIn(TControl& control)
{
    TOwnedBitmap picture = CaptureWindow(control.Handle(), control.Width(), control.Height(), RGB(0, 0, 0));
    TMemoryDC dc;
    TSelectObject select(dc, picture.Get());
    std::set<COLORREF> colours;
    for (int y = 0; y < control.Height(); y += 2)
        for (int x = 0; x < control.Width(); x += 2)
            colours.insert(GetPixel(dc, x, y));
    return static_cast<int>(colours.size());
}

} // namespace

TEST_F(AboutBoxTest, TheBoxAsBuilt)
{
    TForm3& box = *Form3;
    EXPECT_EQ(box.Text(), "About...");
    EXPECT_EQ(box.ClientWidth(), 479);
    EXPECT_EQ(box.ClientHeight(), 200);
    // A fixed frame without title-bar buttons, on top, in the middle of the screen.
    EXPECT_EQ(GetWindowLongA(box.Handle(), GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              0);
    EXPECT_NE(GetWindowLongA(box.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    POINT middle{box.Left() + box.Width() / 2 - GetSystemMetrics(SM_CXSCREEN) / 2,
                 box.Top() + box.Height() / 2 - GetSystemMetrics(SM_CYSCREEN) / 2};
    EXPECT_LE(std::abs(middle.x) + std::abs(middle.y), 2);
    EXPECT_EQ(box.Color(), clBlack);

    struct Place {
        TControl* control;
        int left, top;
        const char* text; // null: not fixed
    };
    const Place places[] = {
        {box.Image1.get(), 16, 8, ""},          {box.Label2.get(), 16, 161, nullptr},
        {box.Label4.get(), 16, 180, "Version 8.0"}, {box.Label6.get(), 184, 161, "Website:"},
        {box.Label7.get(), 232, 161, "www.mibor8.example"}, {box.Label5.get(), 184, 180, "Email:"},
        {box.Label8.get(), 216, 180, "info@mibor8.example"}, {box.Label1.get(), 360, 180, nullptr},
        {box.Panel1.get(), 384, 160, "Ok"},
    };
    for (const Place& place : places) {
        EXPECT_EQ(place.control->Left(), place.left) << place.control->Text();
        EXPECT_EQ(place.control->Top(), place.top) << place.control->Text();
        if (place.text) {
            EXPECT_EQ(place.control->Text(), place.text);
        }
        EXPECT_TRUE(place.control->Visible());
    }
    for (TLabel* label : {box.Label2.get(), box.Label4.get(), box.Label6.get(), box.Label5.get(), box.Label1.get()})
        EXPECT_EQ(label->Font().Color(), clWhite) << label->Text();
    for (TLabel* link : {box.Label7.get(), box.Label8.get()}) {
        EXPECT_EQ(link->Font().Color(), RGBColor(170, 170, 255));
        EXPECT_EQ(link->Font().Style(), fsUnderline);
    }
    EXPECT_FALSE(box.Label1->Text().empty());
    // Where the system's face is wide, the texts shrink rather than run into each other.
    EXPECT_LT(box.Label2->Left() + box.Label2->Width(), box.Label6->Left());
    EXPECT_LT(box.Label6->Left() + box.Label6->Width(), box.Label7->Left());
    EXPECT_LT(box.Label5->Left() + box.Label5->Width(), box.Label8->Left());
    EXPECT_FALSE(box.Label3->Visible());
    EXPECT_EQ(box.Panel1->Width(), 81);
    EXPECT_EQ(box.Panel1->Height(), 17);
    EXPECT_TRUE(IsBlack(*box.Panel1));

    // The program's own picture, drawn in full.
    ASSERT_NE(box.Image1->Picture(), nullptr);
    EXPECT_EQ(box.Image1->Picture()->Width(), 448);
    EXPECT_EQ(box.Image1->Picture()->Height(), 148);
    EXPECT_EQ(box.Image1->Width(), 448);
    EXPECT_EQ(box.Image1->Height(), 148);
    EXPECT_GT(ColoursIn(*box.Image1), 20);
}

TEST_F(AboutBoxTest, EachStartIsCountedInTheStoreAndShowingTheBoxCountsNothing)
{
    // A first start (made by SetUp) shows 1 and leaves 2.
    EXPECT_EQ(Form3->Label2->Text(), "You've started Mibor8  1 times.");
    EXPECT_EQ(ReadStore("Counter"), "2");
    StopProgram(true);

    // A stored count is shown as stored.
    WriteStore("Counter", "007");
    StartProgram(dialogs);
    EXPECT_EQ(Form3->Label2->Text(), "You've started Mibor8  007 times.");
    EXPECT_EQ(Form3->Label3->Text(), "007");
    EXPECT_EQ(ReadStore("Counter"), "8");

    std::string counter = ReadStore("Counter");
    for (int i = 0; i < 3; ++i) {
        TTimer timer(TTimerOptions{.interval = 50, .enabled = false});
        WhileShown(timer, [] { Form3->Panel1->Click(); });
        Form1->About1->Click();
    }
    EXPECT_EQ(ReadStore("Counter"), counter);
}

TEST_F(AboutBoxTest, OkChangesColourUnderTheMouseAndIsBlackAgainAfterClosing)
{
    TForm3& box = *Form3;
    MouseOver(*box.Panel1);
    EXPECT_TRUE(IsWhite(*box.Panel1));
    for (TControl* quiet : std::initializer_list<TControl*>{box.Image1.get(), box.Label1.get(), &box}) {
        MouseOver(*box.Panel1);
        MouseOver(*quiet);
        EXPECT_TRUE(IsBlack(*box.Panel1)) << quiet->Text();
    }
    // The links and the other labels leave it as it is.
    MouseOver(*box.Panel1);
    MouseOver(*box.Label7);
    MouseOver(*box.Label4);
    EXPECT_TRUE(IsWhite(*box.Panel1));
    box.Close();
    EXPECT_TRUE(IsBlack(*box.Panel1));
}

TEST_F(AboutBoxTest, AboutShowsTheBoxModallyAndOnlyOkClosesItByMouseOrSpace)
{
    TForm3& box = *Form3;
    for (bool byKeyboard : {false, true}) {
        SCOPED_TRACE(byKeyboard ? "Space" : "mouse");
        bool shownModally = false, stillShown = false, okFocused = false, marked = false;
        AccessibleView seen;
        std::vector<COLORREF> plain = Picture(box.Panel1->Handle());
        TTimer timer(TTimerOptions{.interval = 100, .enabled = false});
        WhileShown(timer, [&] {
            shownModally = box.Modal() && box.Visible();
            PressKey(VK_TAB);
            okFocused = GetFocus() == box.Panel1->Handle();
            marked = Picture(box.Panel1->Handle()) != plain;
            seen = Accessible(box.Panel1->Handle());
            PressKey(VK_RETURN);
            PressKey(VK_ESCAPE);
            Pump(50);
            stillShown = box.Modal() && box.Visible();
            if (byKeyboard) {
                PressKey(VK_SPACE);
            } else {
                // A click of the mouse on "Ok", as the system sends it.
                SendMessageA(box.Panel1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
                SendMessageA(box.Panel1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            }
        });
        Form1->About1->Click();
        EXPECT_TRUE(shownModally);
        EXPECT_TRUE(okFocused) << "Tab does not reach Ok";
        EXPECT_TRUE(marked) << "no focus mark";
        EXPECT_EQ(seen.role, ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(seen.name, "Ok");
        EXPECT_TRUE(stillShown) << "Enter or Escape closed the box";
        EXPECT_FALSE(box.Visible());
        EXPECT_FALSE(box.Modal());
    }
}

TEST_F(AboutBoxTest, TheLinksOpenTheMakersWebAddressAndANewMessage)
{
    Form3->Label7->Click();
    Form3->Label8->Click();
    EXPECT_EQ(opened, (std::vector<std::string>{"http://www.mibor8.example/", "mailto:info@mibor8.example"}));
}
