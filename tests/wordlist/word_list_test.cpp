// The side panel's commands: Add, Remove, Insert, Empty, the button states,
// the focus rules, and the panel's options.
#include "tests/wordlist/WordListFixture.h"

#include "preferences/PreferencesForm.h"
#include "ui/SysUtils.h"

#include <algorithm>

namespace {

TEST_F(WordListTest, EntriesLandAtTheirSortedPlaceAndCaseVariantsAreNeighbours)
{
    Add({"pear", "Apple", "banana", "cherry"});
    Select("banana");
    Add({"apple", "Apple"});
    std::vector<std::string> entries = Entries();
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(), TListBox::SortsBefore));
    EXPECT_EQ(std::count_if(entries.begin(), entries.begin() + 3, [](const std::string& e) { return SameText(e, "apple"); }),
              3);
    EXPECT_EQ(Selected(), "banana") << "adding leaves the selection alone";
}

TEST_F(WordListTest, AddEmptiesTheFieldAndTheButtonsFollowTheirRule)
{
    // A first start's load stops before the list: all three stay enabled
    // until the window is first activated.
    EXPECT_EQ(Buttons(), "ARI");
    Form1->FormActivate(nullptr);
    EXPECT_EQ(Buttons(), "---");
    Form1->Edit4->SetText("a phrase with  spaces ");
    EXPECT_EQ(Buttons(), "A--");
    Form1->Commands["SpeedButton1Click"].Execute(nullptr);
    EXPECT_EQ(Entries(), std::vector<std::string>{"a phrase with  spaces "}) << "taken exactly as typed";
    EXPECT_EQ(Form1->Edit4->Text(), "");
    EXPECT_EQ(Buttons(), "-RI");
    Form1->Edit4->SetText("x");
    EXPECT_EQ(Buttons(), "ARI");
    Form1->Edit4->SetText("");
    EXPECT_EQ(Buttons(), "-RI");
    // Reached while the field is empty (the button is disabled then): nothing.
    Form1->SpeedButton1Click(nullptr);
    EXPECT_EQ(Entries().size(), 1u);
}

TEST_F(WordListTest, EnterInTheEntryFieldAddsOnlyWhileAddIsEnabled)
{
    Form1->Show();
    Form1->Edit4->SetFocus();
    Form1->Edit4->SetText("typed");
    PressKey(VK_RETURN);
    EXPECT_EQ(Entries(), std::vector<std::string>{"typed"});
    EXPECT_TRUE(Form1->Edit4->Focused()) << "adding does not move the focus";
    PressKey(VK_RETURN); // an empty field: "Add" is disabled
    Form1->Edit4->SetText("more");
    Form1->Commands["SpeedButton1Click"].SetEnabled(false);
    PressKey(VK_RETURN);
    EXPECT_EQ(Entries().size(), 1u);
    EXPECT_EQ(Form1->Edit4->Text(), "more");
    Form1->Hide();
}

TEST_F(WordListTest, RemoveDeletesTheSelectedEntryAndLeavesNoneSelected)
{
    Add({"a", "b"});
    Form1->Commands["SpeedButton2Click"].Execute(nullptr);
    EXPECT_EQ(Entries().size(), 2u) << "nothing selected, nothing removed";
    Select("a");
    Form1->Commands["SpeedButton2Click"].Execute(nullptr);
    EXPECT_EQ(Entries(), std::vector<std::string>{"b"});
    EXPECT_EQ(Selected(), "(none)");
    EXPECT_EQ(Buttons(), "-RI");
    Select("b");
    Form1->Commands["SpeedButton2Click"].Execute(nullptr);
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(Buttons(), "---");
}

TEST_F(WordListTest, APressOnTheEmptyListLeavesTheFocusInTheEditor)
{
    Form1->Show();
    for (bool empty : {false, true}) {
        if (!empty)
            Add({"word"});
        else
            Form1->ListBox1->Clear();
        Form1->Edit4->SetFocus();
        // The list's own press handling takes the focus first.
        Form1->ListBox1->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 60));
        EXPECT_EQ(GetFocus(), empty ? Form1->memo1->Handle() : Form1->ListBox1->Handle()) << empty;
        Form1->ListBox1->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 60));
        EXPECT_EQ(GetFocus(), empty ? Form1->memo1->Handle() : Form1->ListBox1->Handle()) << empty;
    }
    Form1->Hide();
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
        Form1->Commands["SpeedButton3Click"].Execute(nullptr);
        EXPECT_EQ(Form1->memo1->Text(), c.text);
        EXPECT_EQ(Form1->memo1->SelStart(), 2 + c.before + 3 + c.after) << "the caret ends after the insertion";
        EXPECT_EQ(Form1->memo1->SelLength(), 0);
        EXPECT_TRUE(Form1->memo1->Focused());
        EXPECT_EQ(Selected(), "and") << "the entry stays selected for the next insertion";
    }
    // The double-click inserts alike; again and again.
    Form1->memo1->SetText("");
    Fire(Form1->ListBox1->OnDblClick, Form1->ListBox1.get());
    Fire(Form1->ListBox1->OnDblClick, Form1->ListBox1.get());
    EXPECT_EQ(Form1->memo1->Text(), " and  and ");
    Form1->Hide();
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
    Form1->Commands["Emptywordlist1Click"].Execute(nullptr);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(Buttons(), "---");

    Add({"one", "two"});
    dialogs.boxAnswers = {IDCANCEL, IDOK};
    Form1->Commands["Emptywordlist1Click"].Execute(nullptr);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(Buttons(), "-RI");
    Form1->Commands["Emptywordlist1Click"].Execute(nullptr);
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(Buttons(), "---");
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, "Mibor will now empty the wordlist.");
    EXPECT_EQ(dialogs.boxes[0].caption, "Confirm");
    EXPECT_EQ(dialogs.boxes[0].flags & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK),
              static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1));
}

TEST_F(WordListTest, AHiddenInsertButtonKeepsTheDoubleClick)
{
    Add({"word"});
    Form2->shape12->SetChecked(false);
    Form2->shape16->SetChecked(false);
    Form2->ApplyPreferences();
    EXPECT_FALSE(Form1->SpeedButton3->Visible());
    Select("word");
    Fire(Form1->ListBox1->OnDblClick, Form1->ListBox1.get());
    EXPECT_EQ(Form1->memo1->Text(), "word");
}

TEST_F(WordListTest, APanelSwitchedOffKeepsItsListAndStoresIt)
{
    Add({"kept"});
    Form2->RadioGroup1->SetItemIndex(0);
    Form2->ApplyPreferences();
    EXPECT_FALSE(Form1->Panel9->Visible());
    EXPECT_FALSE(Form1->Bevel2->Visible());
    EXPECT_EQ(Entries(), std::vector<std::string>{"kept"});
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
    Form1->FormResize(nullptr);
    EXPECT_EQ(Form1->Panel10->Height(), Form1->ClientHeight() - Form1->ControlBar1->Height() - 65);
}

} // namespace
