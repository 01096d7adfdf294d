// The side panel's commands: Add, Remove, Insert, Empty, the button states,
// the focus rules, and the panel's options.
#include "tests/wordlist/WordListFixture.h"

#include "preferences/PreferencesForm.h"
#include "ui/SysUtils.h"

namespace {

TEST_F(WordListTest, AddPlacesTheTypedTextAndTheButtonsFollowTheirRule)
{
    EXPECT_EQ(Buttons(), "ARI") << "a first start's load stops before the list";
    Form1->FormActivate(nullptr);
    EXPECT_EQ(Buttons(), "---");
    Add({"pear", "Apple", "a phrase  "});
    Select("pear");
    Form1->Edit4->SetText("apple");
    EXPECT_EQ(Buttons(), "ARI");
    Run("SpeedButton1Click");
    List entries = Entries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], "a phrase  ") << "taken as typed";
    EXPECT_TRUE(SameText(entries[1], "apple") && SameText(entries[2], "apple")) << "neighbours";
    EXPECT_EQ(entries[3], "pear");
    EXPECT_EQ(Selected(), "pear") << "adding leaves the selection alone";
    EXPECT_EQ(Form1->Edit4->Text(), "");
    EXPECT_EQ(Buttons(), "-RI");
    Form1->SpeedButton1Click(nullptr); // reached with an empty field: nothing
    EXPECT_EQ(Entries().size(), 4u);
}

TEST_F(WordListTest, EnterInTheEntryFieldAddsOnlyWhileAddIsEnabled)
{
    Form1->Show();
    Form1->Edit4->SetFocus();
    Form1->Edit4->SetText("typed");
    PressKey(VK_RETURN);
    EXPECT_EQ(Entries(), List{"typed"});
    EXPECT_TRUE(Form1->Edit4->Focused()) << "adding does not move the focus";
    Form1->Edit4->SetText("more");
    Form1->Commands["SpeedButton1Click"].SetEnabled(false);
    PressKey(VK_RETURN);
    EXPECT_EQ(Entries(), List{"typed"});
}

TEST_F(WordListTest, RemoveLeavesNoneSelectedAndAnEmptyListHandsAPressToTheEditor)
{
    Form1->Show();
    Add({"a", "b"});
    Run("SpeedButton2Click");
    EXPECT_EQ(Entries().size(), 2u) << "nothing selected, nothing removed";
    for (const char* entry : {"a", "b"}) {
        Select(entry);
        Run("SpeedButton2Click");
        EXPECT_EQ(Selected(), "(none)");
    }
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(Buttons(), "---");
    // The list box's own press handling takes the focus before the handler runs.
    Form1->Edit4->SetFocus();
    Form1->ListBox1->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 60));
    EXPECT_EQ(GetFocus(), Form1->memo1->Handle());
    Form1->ListBox1->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 60));
    EXPECT_EQ(GetFocus(), Form1->memo1->Handle());
}

TEST_F(WordListTest, InsertReplacesTheSelectionWithTheSpacingOptionsOfThatMoment)
{
    Add({"and", "or"});
    const struct {
        bool before, after;
        const char* text;
    } kCases[] = {
        {false, false, "a and b"},
        {false, true, "a and  b"},
        {true, false, "a  and b"},
        {true, true, "a  and  b"}, // each space added whether or not one is there
    };
    Form1->Show();
    for (const auto& c : kCases) {
        Form1->memo1->SetText("a xyz b");
        Form1->memo1->Select(2, 3);
        Form2->shape17->SetChecked(c.before);
        Form2->shape16->SetChecked(c.after);
        Select("and");
        Form1->ListBox1->SetFocus();
        Run("SpeedButton3Click");
        EXPECT_EQ(Form1->memo1->Text(), c.text);
        EXPECT_EQ(Form1->memo1->SelStart(), 2 + c.before + 3 + c.after) << "the caret ends after the insertion";
        EXPECT_TRUE(Form1->memo1->Focused());
        EXPECT_EQ(Selected(), "and") << "the entry stays selected for the next insertion";
    }
}

TEST_F(WordListTest, InsertWithoutASelectedEntryDoesNothing)
{
    Form1->memo1->SetText("text");
    for (bool empty : {true, false}) {
        if (!empty)
            Add({"entry"});
        Fire(Form1->ListBox1->OnDblClick, Form1->ListBox1.get());
        Form1->SpeedButton3Click(nullptr);
        EXPECT_EQ(Form1->memo1->Text(), "text");
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(WordListTest, EmptyAsksOnlyWhenThereIsSomethingToEmpty)
{
    Run("Emptywordlist1Click");
    EXPECT_TRUE(dialogs.boxes.empty());
    Add({"one", "two"});
    dialogs.boxAnswers = {IDCANCEL, IDOK};
    Run("Emptywordlist1Click");
    EXPECT_EQ(Entries(), (List{"one", "two"}));
    Run("Emptywordlist1Click");
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(Buttons(), "---");
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, "Mibor will now empty the wordlist.");
    EXPECT_EQ(dialogs.boxes[0].caption, "Confirm");
    EXPECT_EQ(dialogs.boxes[0].flags & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK),
              static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1));
}

TEST_F(WordListTest, AHiddenInsertButtonGivesItsPlaceToTheListAndKeepsTheDoubleClick)
{
    Add({"word"});
    Form1->FormResize(nullptr);
    int shown = Form1->Panel10->Height();
    Form2->shape12->SetChecked(false);
    Form2->shape16->SetChecked(false);
    Form2->ApplyPreferences();
    Form1->FormResize(nullptr);
    EXPECT_FALSE(Form1->SpeedButton3->Visible());
    EXPECT_EQ(Form1->Panel10->Height(), shown + 16);
    Select("word");
    Fire(Form1->ListBox1->OnDblClick, Form1->ListBox1.get());
    Fire(Form1->ListBox1->OnDblClick, Form1->ListBox1.get());
    EXPECT_EQ(Form1->memo1->Text(), "wordword");
}

TEST_F(WordListTest, APanelSwitchedOffKeepsItsListAndStoresIt)
{
    Add({"kept"});
    Form2->RadioGroup1->SetItemIndex(0);
    Form2->ApplyPreferences();
    EXPECT_FALSE(Form1->Panel9->Visible());
    EXPECT_FALSE(Form1->Bevel2->Visible());
    StopProgram(true);
    EXPECT_EQ(ReadStore("WordList"), "kept\r\n");
}

TEST_F(WordListTest, DraggingABandSizesTheListFromTheOuterHeight)
{
    Form1->FormResize(nullptr);
    int buttonTop = Form1->SpeedButton3->Top();
    Fire(Form1->ControlBar1->OnBandDrag, Form1->ControlBar1.get());
    EXPECT_EQ(Form1->Panel10->Height(), Form1->Height() - Form1->ControlBar1->Height() - 71);
    EXPECT_EQ(Form1->SpeedButton3->Top(), buttonTop);
}

} // namespace
