// The send window without sending: opening, the keyboard, hover colours,
// the attachment list, the fields' context menu, the preferences button.
#include "SendTestSupport.h"

#include "email/SendForm.h"
#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"

#include <gtest/gtest.h>

#include <oleacc.h>

namespace {

class SendWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearStore();
        StartWithPreferences(dialogs, 25);
    }
    void TearDown() override
    {
        StopProgram(false);
        ClearStore();
    }
    // Opens the window through the main window's command; it closes at once.
    void OpenAndClose()
    {
        PostMessageA(Form8->Handle(), WM_CLOSE, 0, 0);
        Form1->Sendasemail1->Click();
    }
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(SendWindowTest, OpeningResetsTheFormatFillsOnlyAnEmptyReplyToStartsInTheSubjectAndPreferencesOpen)
{
    EXPECT_EQ(Form8->Text(), "Send as e-mail...");
    EXPECT_EQ(Form8->ClientWidth(), 494);
    EXPECT_EQ(Form8->ClientHeight(), 255);
    EXPECT_EQ(Form8->ActiveControl(), Form8->subject.get());
    EXPECT_EQ(Form8->Status(), "Idle");

    Form8->ComboBox1->SetItemIndex(1);
    OpenAndClose();
    EXPECT_EQ(Form8->ComboBox1->ItemIndex(), 0);
    EXPECT_EQ(Form8->replyto->Text(), "ann@example.com");
    EXPECT_FALSE(Form8->Visible());

    Form8->replyto->SetText("kept@example.com");
    Form2->email->SetText("other@example.com");
    Form8->NoteFocus(Form8->attach.get());
    OpenAndClose();
    EXPECT_EQ(Form8->replyto->Text(), "kept@example.com");
    EXPECT_EQ(Form8->ActiveControl(), Form8->subject.get());
    // The toolbar button opens it too.
    PostMessageA(Form8->Handle(), WM_CLOSE, 0, 0);
    Form1->ToolButton28->Click();
    EXPECT_FALSE(Form8->Visible());

    // E-mail preferences sets the flag and shows the preferences; the main
    // window's own command clears it.
    EXPECT_FALSE(Form8->EmailPageFlag);
    PostMessageA(Form2->Handle(), WM_CLOSE, 0, 0);
    Form8->Panel9Click(nullptr);
    EXPECT_TRUE(Form8->EmailPageFlag);
    EXPECT_FALSE(Form2->Visible());
    PostMessageA(Form2->Handle(), WM_CLOSE, 0, 0);
    Form1->Preferences2->Click();
    EXPECT_FALSE(Form8->EmailPageFlag);
}

TEST_F(SendWindowTest, TabReachesEveryFieldAndButtonAndSpacePressesTheButtons)
{
    // Space runs each button's command, which records it here.
    struct Button {
        TPanelButton* button;
        const char* caption;
        const char* command;
    };
    const Button buttons[] = {{Form8->att.get(), "Add...", "attClick"},
                              {Form8->Panel10.get(), "Remove", "Panel10Click"},
                              {Form8->Panel1.get(), "Send", "Panel1Click"},
                              {Form8->Panel9.get(), "E-mail preferences...", "Panel9Click"},
                              {Form8->Panel12.get(), "Close", "Panel12Click"}};
    std::vector<std::string> pressed;
    for (const Button& each : buttons)
        Form8->Commands[each.command].OnExecute = [&pressed, &each](TObject*) { pressed.push_back(each.caption); };

    Form8->Show();
    Form8->subject->SetFocus();
    const TControl* order[] = {Form8->sendto.get(), Form8->cc.get(),     Form8->bcc.get(),    Form8->replyto.get(),
                               Form8->ComboBox1.get(), Form8->attach.get(), buttons[0].button, buttons[1].button,
                               buttons[2].button, buttons[3].button, buttons[4].button, Form8->subject.get()};
    for (const TControl* next : order) {
        PressKey(VK_TAB);
        ASSERT_EQ(GetFocus(), next->Handle()) << next->Text();
    }
    for (const Button& each : buttons) {
        SCOPED_TRACE(each.caption);
        std::vector<COLORREF> plain = Picture(each.button->Handle());
        each.button->SetFocus();
        EXPECT_TRUE(Picture(each.button->Handle()) != plain) << "no focus mark";
        AccessibleView seen = Accessible(each.button->Handle());
        EXPECT_EQ(seen.role, ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(seen.name, each.caption);
        EXPECT_EQ(seen.state & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE),
                  STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE);
        // Enter and Escape mean nothing in this window, also on a button.
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
        PressKey(VK_SPACE);
    }
    EXPECT_EQ(pressed, (std::vector<std::string>{"Add...", "Remove", "Send", "E-mail preferences...", "Close"}));
    EXPECT_TRUE(Form8->Visible());
    Form8->Hide();
}

TEST_F(SendWindowTest, HoverTurnsOnePanelBlackAndTheQuietPartsTurnAllWhite)
{
    TPanelButton* panels[] = {Form8->att.get(), Form8->Panel10.get(), Form8->Panel1.get(), Form8->Panel9.get(),
                        Form8->Panel12.get()};
    auto colours = [&] {
        std::string seen;
        for (TPanelButton* panel : panels)
            seen += panel->Color() == clBlack && panel->Font().Color() == clWhite   ? 'B'
                    : panel->Color() == clWhite && panel->Font().Color() == clBlack ? 'W'
                                                                                    : '?';
        return seen;
    };
    EXPECT_EQ(colours(), "WWWWW");
    SendMessageA(Form8->Panel1->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(colours(), "WWBWW");
    SendMessageA(Form8->att->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(colours(), "BWWWW");
    // The other labels and the format list leave the colours as they are.
    SendMessageA(Form8->Label2->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    SendMessageA(Form8->ComboBox1->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(colours(), "BWWWW");
    for (TControl* quiet : std::initializer_list<TControl*>{Form8, Form8->Label9.get(), Form8->Label1.get(),
                                                            Form8->Panel2.get(), Form8->Panel5.get(),
                                                            Form8->replyto.get(), Form8->attach.get()}) {
        SendMessageA(Form8->Panel12->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        ASSERT_EQ(colours(), "WWWWB");
        SendMessageA(quiet->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(colours(), "WWWWW") << quiet->Text();
    }
    // Closing resets the Close panel.
    SendMessageA(Form8->Panel12->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    Form8->Panel12Click(nullptr);
    EXPECT_EQ(colours(), "WWWWW");
}

TEST_F(SendWindowTest, AddAppendsThePickedFileAndRemoveNeedsTheListActiveAndASelection)
{
    dialogs.ChooseFile("C:\\docs\\a.txt");
    dialogs.ChooseFile("C:\\docs\\b.txt");
    dialogs.CancelFile();
    Form8->attClick(nullptr);
    Form8->attClick(nullptr);
    Form8->attClick(nullptr);
    EXPECT_EQ(Form8->attach->Items(), (std::vector<std::string>{"C:\\docs\\a.txt", "C:\\docs\\b.txt"}));
    EXPECT_EQ(Form8->OpenDialog1.Filter, "All files|*.*");
    EXPECT_EQ(Form8->OpenDialog1.InitialDir, "c:\\");

    Form8->attach->SetItemIndex(0);
    Form8->NoteFocus(Form8->subject.get());
    Form8->Panel10Click(nullptr);
    EXPECT_EQ(Form8->attach->Count(), 2);
    Form8->NoteFocus(Form8->attach.get());
    Form8->Panel10Click(nullptr);
    EXPECT_EQ(Form8->attach->Items(), (std::vector<std::string>{"C:\\docs\\b.txt"}));
    Form8->attach->SetItemIndex(-1);
    Form8->Panel10Click(nullptr);
    EXPECT_EQ(Form8->attach->Count(), 1);

    // A click of the mouse on Remove leaves the focus in the list, so it
    // removes; Delete in the list removes as well.
    for (const char* name : {"C:\\docs\\c.txt", "C:\\docs\\d.txt"})
        Form8->attach->Add(name);
    Form8->Show();
    Form8->attach->SetFocus();
    Form8->attach->SetItemIndex(0);
    SendMessageA(Form8->Panel10->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(Form8->Panel10->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetFocus(), Form8->attach->Handle());
    EXPECT_EQ(Form8->attach->Items(), (std::vector<std::string>{"C:\\docs\\c.txt", "C:\\docs\\d.txt"}));
    Form8->attach->SetItemIndex(1);
    PressKey(VK_DELETE);
    EXPECT_EQ(Form8->attach->Items(), (std::vector<std::string>{"C:\\docs\\c.txt"}));
    Form8->Hide();
}

TEST_F(SendWindowTest, CopyAllKeepsTheSelectionAndTenTimesPastePastesTenTimes)
{
    Form8->subject->SetText("Hello world");
    Form8->subject->Select(2, 3);
    Form8->NoteFocus(Form8->subject.get());
    Form8->Copyall1Click(nullptr);
    EXPECT_EQ(ClipboardText(), "Hello world");
    EXPECT_EQ(Form8->subject->SelStart(), 2);
    EXPECT_EQ(Form8->subject->SelLength(), 3);

    SetClipboardText("ab");
    Form8->NoteFocus(Form8->cc.get());
    Form8->N10XPaste1Click(nullptr);
    EXPECT_EQ(Form8->cc->Text(), "abababababababababab");

    // With the focus outside the five fields nothing happens.
    Form8->NoteFocus(Form8->attach.get());
    Form8->N10XPaste1Click(nullptr);
    Form8->Paste1Click(nullptr);
    Form8->Cut1Click(nullptr);
    EXPECT_EQ(Form8->cc->Text(), "abababababababababab");
    EXPECT_EQ(ClipboardText(), "ab");
    EXPECT_EQ(Form8->subject->PopupMenu, &Form8->PopupMenu1);
    EXPECT_EQ(Form8->replyto->PopupMenu, &Form8->PopupMenu1);
}
