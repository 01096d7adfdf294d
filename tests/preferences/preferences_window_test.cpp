// The Preferences window as built and as it opens: geometry, pages, page
// buttons and their hover colours, keys, the Info figures.
#include "tests/preferences/PreferencesFixture.h"

#include "email/SendForm.h"
#include "ui/Menus.h"

#include <oleacc.h>

namespace {

std::function<void()> modalAction;

void CALLBACK RunModalAction(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    auto action = std::move(modalAction);
    modalAction = nullptr;
    if (action)
        action();
    if (Form2->Modal())
        Form2->Close(); // never leave a test waiting in the loop
}

bool IsBlack(TPanelButton& button) { return button.Color() == clBlack && button.Font().Color() == clWhite; }
bool IsWhite(TPanelButton& button) { return button.Color() == clWhite && button.Font().Color() == clBlack; }

} // namespace

void DuringModal(std::function<void()> action)
{
    modalAction = std::move(action);
    SetTimer(nullptr, 0, 150, RunModalAction);
}

void MouseOver(TControl& control) { SendMessageA(control.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3)); }

TEST_F(PreferencesTest, WindowIsAFixedDialogOnTopInTheScreensCentre)
{
    TForm2& prefs = *Form2;
    EXPECT_EQ(prefs.Text(), "Preferences");
    EXPECT_EQ(prefs.ClientWidth(), 586);
    EXPECT_EQ(prefs.ClientHeight(), 319);
    LONG style = GetWindowLongA(prefs.Handle(), GWL_STYLE);
    LONG exStyle = GetWindowLongA(prefs.Handle(), GWL_EXSTYLE);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_NEAR(prefs.Left() + prefs.Width() / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR(prefs.Top() + prefs.Height() / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_EQ(prefs.Font().Name(), "Tahoma");
    EXPECT_EQ(prefs.Font().Size(), 8);
}

TEST_F(PreferencesTest, SixPagesLieOnOneSpotWithExactlyOneInFront)
{
    TForm2& prefs = *Form2;
    for (TPanel* page : prefs.Pages()) {
        EXPECT_EQ(page->Left(), 16);
        EXPECT_EQ(page->Top(), 8);
        EXPECT_EQ(page->Width(), 361);
        EXPECT_EQ(page->Height(), 305);
    }
    const char* captions[] = {"Info", "General", "Toolbars", "Backup and save", "Add text panel", "E-mail"};
    const int tops[] = {8, 35, 62, 89, 116, 143};
    for (size_t i = 0; i < 6; ++i) {
        TPanelButton& button = *prefs.PageButtons()[i];
        EXPECT_EQ(button.Text(), captions[i]);
        EXPECT_EQ(button.Top(), tops[i]);
        EXPECT_EQ(button.Width(), 177);
        EXPECT_EQ(button.Height(), 25);
        EXPECT_TRUE(IsWhite(button));
        button.Click();
        EXPECT_EQ(prefs.ActivePage(), prefs.Pages()[i]) << captions[i];
        int inFront = 0;
        for (TPanel* page : prefs.Pages())
            inFront += page->Visible();
        EXPECT_EQ(inFront, 1);
    }
    EXPECT_EQ(prefs.speedbutton2->Text(), "Ok");
    EXPECT_EQ(prefs.speedbutton2->Top(), 288);
    EXPECT_EQ(prefs.speedbutton2->Left(), prefs.Panel16->Left());
}

TEST_F(PreferencesTest, ButtonsSwapColoursUnderTheMouse)
{
    TForm2& prefs = *Form2;
    MouseOver(*prefs.Panel15);
    EXPECT_TRUE(IsBlack(*prefs.Panel15));
    MouseOver(*prefs.speedbutton2);
    EXPECT_TRUE(IsBlack(*prefs.speedbutton2));
    EXPECT_TRUE(IsBlack(*prefs.Panel15)) << "Ok leaves the page buttons alone";
    MouseOver(*prefs.Panel18);
    EXPECT_TRUE(IsBlack(*prefs.Panel18));
    for (TPanelButton* button : prefs.PageButtons()) {
        if (button != prefs.Panel18.get()) {
            EXPECT_TRUE(IsWhite(*button)) << button->Text();
        }
    }
    EXPECT_TRUE(IsBlack(*prefs.speedbutton2)) << "a page button leaves Ok alone";
    // Straight onto a page: nothing changes.
    MouseOver(*prefs.ActivePage());
    EXPECT_TRUE(IsBlack(*prefs.Panel18));
    // The window's own background: all seven white.
    MouseOver(prefs);
    EXPECT_TRUE(IsWhite(*prefs.speedbutton2));
    for (TPanelButton* button : prefs.PageButtons())
        EXPECT_TRUE(IsWhite(*button));
    // Closing makes "Ok" white again.
    MouseOver(*prefs.speedbutton2);
    prefs.Close();
    EXPECT_TRUE(IsWhite(*prefs.speedbutton2));
}

TEST_F(PreferencesTest, EnterAndEscapeDoNotCloseTheWindow)
{
    TForm2& prefs = *Form2;
    prefs.Show();
    Pump(50);
    MouseOver(*prefs.speedbutton2); // black until the close event runs
    const std::pair<TPanelButton*, TControl*> fields[] = {{prefs.Panel14.get(), prefs.Edit2.get()},
                                                          {prefs.Panel18.get(), prefs.server.get()},
                                                          {prefs.Panel18.get(), prefs.speedbutton2.get()}};
    for (const auto& [pageButton, field] : fields) {
        pageButton->Click();
        field->SetFocus();
        ASSERT_EQ(GetFocus(), field->Handle());
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
        Pump(50);
    }
    EXPECT_TRUE(prefs.Visible());
    EXPECT_TRUE(IsBlack(*prefs.speedbutton2));
    prefs.Hide();
}

TEST_F(PreferencesTest, TabGoesFromEachPageButtonIntoItsPageAndSpacePressesTheButtons)
{
    TForm2& prefs = *Form2;
    prefs.Show();
    prefs.Panel16->SetFocus();
    auto tabsTo = [](std::initializer_list<TControl*> order) {
        for (TControl* next : order) {
            PressKey(VK_TAB);
            ASSERT_EQ(GetFocus(), next->Handle()) << next->Text();
        }
    };
    // The Info page in front takes no focus.
    tabsTo({prefs.Panel14.get(), prefs.Panel15.get(), prefs.Panel17.get(), prefs.Panel19.get(), prefs.Panel18.get(),
            prefs.speedbutton2.get(), prefs.Panel16.get(), prefs.Panel14.get()});
    // Space on "General" brings its page to the front, and Tab goes into it.
    PressKey(VK_SPACE);
    ASSERT_EQ(prefs.ActivePage(), prefs.GeneralPage.get());
    tabsTo({prefs.SpeedButton4.get(), prefs.SpeedButton5.get(), prefs.Edit1.get(), prefs.shape11.get(),
            prefs.shape3.get(), prefs.Edit2.get(), prefs.Edit4.get(), prefs.Panel15.get()});

    std::vector<TCustomButton*> buttons(prefs.PageButtons().begin(), prefs.PageButtons().end());
    buttons.insert(buttons.end(), {prefs.speedbutton2.get(), prefs.SpeedButton4.get(), prefs.SpeedButton5.get()});
    for (TCustomButton* button : buttons) {
        SCOPED_TRACE(button->Text());
        std::vector<COLORREF> plain = Picture(button->Handle());
        button->SetFocus();
        EXPECT_TRUE(Picture(button->Handle()) != plain) << "no focus mark";
        AccessibleView seen = Accessible(button->Handle());
        EXPECT_EQ(seen.role, ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(seen.name, button->Text());
        EXPECT_NE(seen.state & STATE_SYSTEM_FOCUSED, 0);
    }
    // Space on "Ok" closes the window.
    prefs.speedbutton2->SetFocus();
    PressKey(VK_SPACE);
    EXPECT_FALSE(prefs.Visible());
}

TEST_F(PreferencesTest, OpensOnTheEmailPageFromTheSendWindowAndOnInfoFromTheMainWindow)
{
    TForm2& prefs = *Form2;
    TPanel* shown = nullptr;
    Form8->EmailPageFlag = true;
    DuringModal([&] {
        shown = prefs.ActivePage();
        prefs.SpeedButton2Click(nullptr);
    });
    prefs.ShowModal();
    EXPECT_EQ(shown, prefs.EmailPage.get());
    EXPECT_TRUE(Form8->EmailPageFlag) << "the flag outlives the window";

    // From the main window's commands: Info, and Info again after closing
    // on another page.
    for (TMenuItem* command : {Form1->Preferences2, static_cast<TMenuItem*>(nullptr)}) {
        shown = nullptr;
        DuringModal([&] {
            shown = prefs.ActivePage();
            prefs.Panel17->Click();
            prefs.SpeedButton2Click(nullptr);
        });
        if (command)
            command->Click();
        else
            Form1->ToolButton32->Click();
        EXPECT_EQ(shown, prefs.InfoPage.get());
        EXPECT_FALSE(Form8->EmailPageFlag);
        EXPECT_EQ(prefs.ActivePage(), prefs.InfoPage.get());
        EXPECT_FALSE(prefs.Visible());
    }
}

TEST_F(PreferencesTest, OkWidensAndNarrowsTheMainWindowAndCloses)
{
    int width = Form1->Width();
    std::vector<int> widths;
    Form1->OnResize = [&](TObject*) { widths.push_back(Form1->Width()); };
    bool closed = false;
    Form2->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    Form2->SpeedButton2Click(nullptr);
    EXPECT_EQ(widths, (std::vector<int>{width + 1, width}));
    EXPECT_TRUE(closed);
}

// ---- the Info page ----

struct DocumentCase {
    const char* text;
    const char* lines;
    const char* characters;
    const char* average;
    bool boxShown;
};

TEST_F(PreferencesTest, DocumentFiguresFollowTheTextOnEveryActivation)
{
    TForm2& prefs = *Form2;
    const DocumentCase cases[] = {
        {"a", "There is 1 line", "There is one character", "The average line length is 1 character", true},
        {"a\r\n", "There is 1 line", "There are 3 characters", "The average line length is 3 characters", true},
        {"ab\r\ncdefg\r\nh", "There are 3 lines", "There are 12 characters",
         "The average line length is 4 characters", true},
        // No text: the line label and the box go; the average stays as it was.
        {"", "", "", "The average line length is 4 characters", false},
    };
    for (const DocumentCase& each : cases) {
        Form1->memo1->SetText(each.text);
        prefs.FormActivate(nullptr);
        EXPECT_EQ(prefs.LinesLabel->Text(), each.lines) << each.text;
        EXPECT_EQ(prefs.CharactersLabel->Text(), each.characters) << each.text;
        EXPECT_EQ(prefs.AverageLabel->Text(), each.average) << each.text;
        EXPECT_EQ(prefs.FiguresBox->Visible(), each.boxShown) << each.text;
    }
}

TEST_F(PreferencesTest, DocumentFiguresAreThoseOfTheMomentTheWindowOpens)
{
    TForm2& prefs = *Form2;
    Form1->memo1->SetText("abcde");
    std::string characters;
    DuringModal([&] {
        characters = prefs.CharactersLabel->Text();
        prefs.SpeedButton2Click(nullptr);
    });
    prefs.ShowModal();
    EXPECT_EQ(characters, "There are 5 characters");
}

TEST_F(PreferencesTest, ComputerFiguresDescribeThisMachine)
{
    TForm2& prefs = *Form2;
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
    std::string total = prefs.MemoryLabel->Text();
    std::string digits;
    for (char c : total)
        if (isdigit(static_cast<unsigned char>(c)))
            digits += c;
    EXPECT_EQ(digits, std::to_string((memory.ullTotalPhys + 512) / 1024));
    EXPECT_EQ(total.substr(total.size() - 3), " KB");
    // The free share, not the share in use; the load moves a little.
    int free = -1;
    ASSERT_EQ(sscanf(prefs.FreeMemoryLabel->Text().c_str(), "%d %%", &free), 1);
    EXPECT_EQ(prefs.FreeMemoryLabel->Text(), std::to_string(free) + " %");
    EXPECT_NEAR(free, 100 - static_cast<int>(memory.dwMemoryLoad), 5);
    EXPECT_EQ(prefs.ResolutionLabel->Text(),
              std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" + std::to_string(GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(prefs.MonitorsLabel->Text(), std::to_string(GetSystemMetrics(SM_CMONITORS)));
    EXPECT_EQ(prefs.WheelLabel->Text(), GetSystemMetrics(SM_MOUSEWHEELPRESENT) ? "Yes" : "No");
    EXPECT_EQ(prefs.MemoryLabel->Hint(), "This shows how much RAM you have");
    EXPECT_EQ(prefs.FreeMemoryLabel->Hint(), "This shows how much memory is unused");
}

TEST_F(PreferencesTest, ToolbarRowsHoldAPictureOfTheirToolbarWithMagentaTransparent)
{
    TForm2& prefs = *Form2;
    TCheckBox* boxes[] = {prefs.shape10.get(), prefs.shape1.get(), prefs.shape14.get(),
                          prefs.shape4.get(),  prefs.shape8.get(), prefs.shape7.get()};
    prefs.FormActivate(nullptr);
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(boxes[row]->Text(), "Show this toolbar");
        EXPECT_EQ(boxes[row]->Top(), boxes[0]->Top() + 32 * row);
        TImage& image = *prefs.ToolbarPictures[row];
        EXPECT_EQ(image.Top(), prefs.ToolbarPictures[0]->Top() + 32 * row);
        EXPECT_GT(image.Left(), boxes[row]->Left() + boxes[row]->Width() - 1);
        auto* picture = dynamic_cast<TBitmapGraphic*>(image.Picture());
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->Width(), 174);
        EXPECT_EQ(picture->Height(), 26);
        EXPECT_TRUE(picture->Transparent);
        EXPECT_EQ(picture->TransparentColor, RGB(255, 0, 255));
    }
}
