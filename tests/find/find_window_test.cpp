// The find bar on the real main window, made hidden: its commands on the rich
// edit control, Enter in its fields, and showing or hiding the bar.
#include "tests/find/RandomCases.h"
#include "tests/preferences/PreferencesFixture.h"

#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"
#include "ui/Application.h"
#include "ui/WideText.h"

#include <gtest/gtest.h>

namespace {

// The random cases are texts of single bytes, accented letters among them,
// where a byte is one character as the model counts; in the editor each is
// the Latin-1 character of that code, one UTF-16 unit.
std::string FromLatin1(const std::string& bytes)
{
    std::wstring wide(bytes.begin(), bytes.end());
    for (auto& c : wide)
        c = static_cast<unsigned char>(c);
    return ToUtf8(wide);
}

std::string ToLatin1(const std::string& utf8)
{
    const std::wstring wide = ToWide(utf8);
    std::string bytes;
    for (wchar_t c : wide)
        bytes += c < 256 ? static_cast<char>(c) : '?';
    return bytes;
}

// The program made hidden for each test, with an empty store.
class FindBarTest : public PreferencesTest {
protected:
    void Type(const std::string& text, int selStart, int selLength)
    {
        Form1->memo1->SetText(text);
        Form1->memo1->Select(selStart, selLength);
    }
    void Run(const std::string& commands)
    {
        for (char command : commands)
            Form1->Commands[command == 'A' ? "replallbuttonClick" : command == 'R' ? "replacebuttonClick"
                                                                                    : "findbuttonClick"]
                .Execute(nullptr);
    }
    // The "Finished searching/replacing." boxes shown, each checked.
    int Messages() const
    {
        for (const auto& box : dialogs.boxes) {
            EXPECT_EQ(box.text, "Finished searching/replacing.");
            EXPECT_EQ(box.caption, Application->Title());
            EXPECT_EQ(box.flags & (MB_ICONMASK | MB_TYPEMASK), static_cast<UINT>(MB_OK));
        }
        return static_cast<int>(dialogs.boxes.size());
    }
};

} // namespace

TEST_F(FindBarTest, AnEmptyFindFieldMakesEveryCommandDoNothing)
{
    Type("cat cat", 1, 2);
    Form1->redit->SetText("dog");
    Run("FRA");
    EXPECT_EQ(Form1->memo1->Text(), "cat cat");
    EXPECT_EQ(Form1->memo1->SelStart(), 1);
    EXPECT_EQ(Form1->memo1->SelLength(), 2);
    EXPECT_EQ(Messages(), 0);
    EXPECT_TRUE(Form1->checkbox1->Checked()); // "Start at top" stays checked
}

TEST_F(FindBarTest, EnterInTheFieldsRunsFindAndReplace)
{
    Type("a cat, a cat, a cat", 0, 0);
    Form1->fedit->SetText("cat");
    Form1->redit->SetText("dog");
    SendMessageA(Form1->fedit->Handle(), WM_CHAR, '\r', 0);
    EXPECT_EQ(Form1->memo1->SelStart(), 2);
    EXPECT_FALSE(Form1->checkbox1->Checked());
    SendMessageA(Form1->fedit->Handle(), WM_CHAR, '\r', 0);
    EXPECT_EQ(Form1->memo1->SelStart(), 9);
    SendMessageA(Form1->redit->Handle(), WM_CHAR, '\r', 0);
    EXPECT_EQ(Form1->memo1->Text(), "a cat, a dog, a cat");
    EXPECT_EQ(Form1->memo1->SelStart(), 16);
    EXPECT_EQ(Form1->memo1->SelLength(), 3);
    EXPECT_EQ(Form1->fedit->Text(), "cat"); // the field keeps its text
    EXPECT_EQ(Messages(), 0);
}

// The routine on the rich edit control, whose positions count a line break
// as CR LF, against the model.
TEST_F(FindBarTest, AgreesWithTheModelOnTheEditor)
{
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        RandomCase c = MakeRandomCase(random);
        SCOPED_TRACE(testing::Message() << "case " << i << " " << Describe(c));
        dialogs.boxes.clear();
        Type(FromLatin1(c.text), c.selStart, c.selLength);
        ASSERT_EQ(ToLatin1(Form1->memo1->Text()), c.text);
        Form1->fedit->SetText(FromLatin1(c.what));
        Form1->redit->SetText(FromLatin1(c.with));
        Form1->SetFindOptions(OptionsOf(c.flags));
        Run(c.commands);

        ModelEditor model{c.text, c.selStart, c.selLength};
        TFindOptions options = OptionsOf(c.flags);
        ASSERT_TRUE(RunModel(model, c.commands, c.what, c.with, options, true, 1000000));
        EXPECT_EQ(ToLatin1(Form1->memo1->Text()), model.text);
        EXPECT_EQ(Form1->memo1->SelStart(), model.selStart);
        EXPECT_EQ(Form1->memo1->SelLength(), model.selLength);
        EXPECT_EQ(Messages(), model.messages);
        EXPECT_EQ(Form1->checkbox1->Checked(), options.StartAtTop);
        EXPECT_FALSE(Form1->ReplacingAll);
        if (HasFailure())
            break;
    }
}

namespace {

const char* const kFormatted = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
                               "{\\colortbl;\\red255\\green0\\blue0;}"
                               "\\f0\\fs20 the cat {\\b cat} and {\\cf1 the cat}\\par "
                               "{\\f1\\i cat cat} dog\\par {\\ul cat} end cat}";

struct Outcome {
    std::string rtf;
    int selStart, selLength, messages;
    std::vector<std::string> undone; // the text after each of three undos
};

} // namespace

// Replace all does what running the routine again and again does, with the
// same calls on the control: the formatting of the result and every undo
// step come out the same; and the formatting toolbar hears of one change.
TEST_F(FindBarTest, ReplaceAllEqualsTheRoutineRunAgainAndAgain)
{
    auto outcome = [&](bool literal, const char* flags, const std::string& with) {
        TMemoryStream rtf;
        rtf.WriteBuffer(kFormatted, strlen(kFormatted));
        rtf.SetPosition(0);
        TRichEdit& memo = *Form1->memo1;
        memo.PlainText = false;
        memo.LoadFromStream(rtf);
        memo.Select(memo.TextLength(), 0);
        Form1->fedit->SetText(strchr(flags, 'c') ? "cat" : "Cat");
        Form1->redit->SetText(with);
        Form1->SetFindOptions(OptionsOf(flags));
        dialogs.boxes.clear();
        int selectionEvents = 0, changeEvents = 0;
        memo.OnSelectionChange = [&](TObject*) { ++selectionEvents; };
        memo.OnChange = [&](TObject*) { ++changeEvents; };
        if (literal) {
            Form1->ReplacingAll = true;
            while (Form1->ReplacingAll)
                Form1->find(Form1->redit->Text());
        } else {
            Run("A");
            EXPECT_EQ(selectionEvents, 1);
            EXPECT_LE(changeEvents, 1);
        }
        memo.OnSelectionChange = nullptr;
        memo.OnChange = nullptr;
        Outcome result;
        TMemoryStream out;
        memo.SaveToStream(out);
        result.rtf.assign(out.Memory(), out.DataSize());
        result.selStart = memo.SelStart();
        result.selLength = memo.SelLength();
        result.messages = Messages();
        for (int i = 0; i < 3; ++i) {
            memo.Undo();
            result.undone.push_back(memo.Text());
        }
        return result;
    };
    // (Upwards, a replacement holding the search text would never end the
    // routine's runs.)
    for (const char* flags : {"t", "tw", "u", "uwc"}) {
        for (std::string with : {"Lion", "", "cats"}) {
            if (flags[0] == 'u' && with == "cats")
                continue;
            SCOPED_TRACE(std::string(flags) + " " + with);
            Outcome linear = outcome(false, flags, with);
            Outcome literal = outcome(true, flags, with);
            EXPECT_EQ(linear.rtf, literal.rtf);
            EXPECT_EQ(linear.selStart, literal.selStart);
            EXPECT_EQ(linear.selLength, literal.selLength);
            EXPECT_EQ(linear.messages, 1);
            EXPECT_EQ(literal.messages, 1);
            EXPECT_EQ(linear.undone, literal.undone);
        }
    }
}

TEST_F(FindBarTest, CtrlFShowsAndHidesTheBarAndStoresTheChoiceAtOnce)
{
    TAction& toggle = Form1->Commands["ToolButton27Click"];
    ASSERT_TRUE(Form1->ControlBar1->BandVisible(Form1->ToolBar5.get()));
    for (bool shown : {false, true}) {
        toggle.Execute(nullptr);
        EXPECT_EQ(Form2->shape8->Checked(), shown);
        EXPECT_EQ(Form1->ControlBar1->BandVisible(Form1->ToolBar5.get()), shown);
        EXPECT_EQ(Form1->ToolButton27->Down(), shown);
        EXPECT_EQ(ReadStore("ShowToolbar5"), shown ? "true" : "false");
    }
}

TEST_F(FindBarTest, TextInAnyScriptIsFoundWhereTheEditorCountsIt)
{
    // A character outside the basic plane takes two positions of the editor.
    Type("\U0001F600 \u0416\u0451\u043B\u0442\u044B\u0439 \u043A\u043E\u0442, \u043A\u043E\u0442", 0, 0);
    Form1->fedit->SetText("\u043A\u043E\u0442");
    Run("F");
    EXPECT_EQ(Form1->memo1->SelStart(), 10);
    EXPECT_EQ(Form1->memo1->SelText(), "\u043A\u043E\u0442");
    Form1->redit->SetText("\u03A3\u03A9");
    Form1->checkbox1->SetChecked(true);
    Run("A");
    EXPECT_EQ(Form1->memo1->Text(), "\U0001F600 \u0416\u0451\u043B\u0442\u044B\u0439 \u03A3\u03A9, \u03A3\u03A9");
    EXPECT_EQ(Messages(), 1);
}

TEST_F(FindBarTest, ReplaceAllInPlainModeIsOneChangeThatOneUndoTakesBack)
{
    Form1->ToolButton24Click(nullptr);
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "a cat and a cat\r\n";
    Type(text, 5, 0);
    TRichEdit& memo = *Form1->memo1;
    const TCharAttributes format = memo.SelAttributes();
    Form1->fedit->SetText("cat");
    Form1->redit->SetText("lion");
    Run("A");
    EXPECT_EQ(memo.Text().size(), text.size() + 600);
    EXPECT_EQ(Messages(), 1);
    // The new text has the one format of plain mode, to its end.
    memo.Select(memo.TextLength() - 3, 3);
    EXPECT_EQ(memo.SelAttributes().name, format.name);
    EXPECT_EQ(memo.SelAttributes().size, format.size);
    memo.Undo();
    EXPECT_TRUE(memo.Text() == text);
}
