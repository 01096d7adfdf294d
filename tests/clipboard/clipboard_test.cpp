// The clipboard and selection commands: each acts on the focused one of the
// main window's four fields and on nothing else, undo always on the editor.
#include "tests/clipboard/MainFieldsTest.h"

#include "email/SendForm.h"
#include "preferences/PreferencesForm.h"
#include "ui/Application.h"

#include <algorithm>

namespace {

struct Shortcut {
    const char* name;
    WORD key;
    bool ctrl, alt, shift;
};
const Shortcut kCut{"Cut", 'X', true, false, false}, kCopy{"Copy", 'C', true, false, false},
    kCopyAll{"Copy all", 'C', true, true, false}, kPaste{"Paste", 'V', true, false, false},
    kTenPaste{"10 X Paste", 'T', true, false, false}, kSelectAll{"Select all", 'A', true, false, false},
    kClear{"Clear selection", VK_DELETE, true, false, false}, kEuro{"Euro", 'E', true, false, false},
    // The fields' own keys for copy and cut.
    kCopyKey{"Ctrl+Insert", VK_INSERT, true, false, false}, kCutKey{"Shift+Delete", VK_DELETE, false, false, true};

void Press(const Shortcut& shortcut) { PressKey(shortcut.key, shortcut.ctrl, shortcut.alt, shortcut.shift); }

void Select(TControl* field, int start, int length) { field->Perform(EM_SETSEL, start, start + length); }

// A field's text and selection as "text|start|length". The editor's
// selection of all of its text takes in the end of its last paragraph too.
std::string State(TControl* field)
{
    DWORD start = 0, end = 0;
    field->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    std::string text = field->Text();
    end = std::min<DWORD>(end, text.size());
    return text + "|" + std::to_string(start) + "|" + std::to_string(end - start);
}

std::string ClassOf(TControl* field)
{
    char name[64] = {0};
    GetClassNameA(field->Handle(), name, sizeof name);
    return name;
}

std::vector<TControl*> Fields()
{
    return {Form1->fedit.get(), Form1->redit.get(), Form1->memo1.get(), Form1->Edit4.get()};
}

} // namespace

TEST_F(MainFieldsTest, EachCommandActsOnTheFocusedFieldThroughItsShortcut)
{
    Start("rich");
    const struct {
        Shortcut command;
        const char* text;
        int start, length;
        std::string after, clipboard;
    } kCases[] = {
        {kCopy, "hello world", 6, 5, "hello world|6|5", "world"},
        {kCut, "hello world", 6, 5, "hello |6|0", "world"},
        {kPaste, "hello world", 6, 5, "hello keep|10|0", "keep"},
        {kTenPaste, "ab", 1, 0, "akeepkeepkeepkeepkeepkeepkeepkeepkeepkeepb|41|0", "keep"},
        {kSelectAll, "hello world", 6, 0, "hello world|0|11", "keep"},
        {kClear, "hello world", 0, 6, "world|0|0", "keep"},
        {kEuro, "hello world", 0, 5, "\u20AC world|1|0", "keep"},
        {kCopyAll, "hello world", 2, 3, "hello world|2|3", "hello world"},
        // Nothing selected, or nothing there: the clipboard keeps its text.
        {kCopy, "hello world", 3, 0, "hello world|3|0", "keep"},
        {kCut, "hello world", 3, 0, "hello world|3|0", "keep"},
        {kCopyAll, "", 0, 0, "|0|0", "keep"},
        {kCopyKey, "hello world", 0, 5, "hello world|0|5", "hello"},
        {kCutKey, "hello world", 0, 6, "world|0|0", "hello "},
    };
    for (TControl* field : Fields()) {
        for (const auto& test : kCases) {
            SCOPED_TRACE(std::string(test.command.name) + " in the field of class " + ClassOf(field));
            for (TControl* each : Fields())
                each->SetText("other");
            field->SetText(test.text);
            Focus(field);
            Select(field, test.start, test.length);
            SetClipboardText("keep");
            Press(test.command);
            EXPECT_EQ(State(field), test.after);
            EXPECT_EQ(ClipboardText(), test.clipboard);
            for (TControl* each : Fields()) {
                if (each != field) {
                    EXPECT_EQ(each->Text(), "other");
                }
            }
        }
    }

    // With the focus in the word list or the font box nothing happens.
    for (TControl* elsewhere : std::vector<TControl*>{Form1->ListBox1.get(), Form1->ComboBox1.get()}) {
        Focus(elsewhere);
        for (TControl* each : Fields()) {
            each->SetText("other");
            Select(each, 1, 2);
        }
        SetClipboardText("keep");
        for (const Shortcut& command : {kCut, kCopy, kCopyAll, kPaste, kTenPaste, kSelectAll, kClear, kEuro})
            Press(command);
        for (TControl* each : Fields())
            EXPECT_EQ(State(each), "other|1|2");
        EXPECT_EQ(ClipboardText(), "keep");
    }
}

TEST_F(MainFieldsTest, UndoActsOnTheEditorWhereverTheFocusIs)
{
    Start("plain");
    Form1->memo1->SetSelText("typed");
    Form1->fedit->SetText("find");
    Focus(Form1->fedit.get());
    Select(Form1->fedit.get(), 4, 0);
    Form1->fedit->SetSelText("x");
    PressKey('Z', true);
    EXPECT_EQ(Form1->memo1->Text(), "");
    EXPECT_EQ(Form1->fedit->Text(), "findx");
}

TEST_F(MainFieldsTest, TenFoldPasteFillsTheFindFieldUpToItsFiftyCharacters)
{
    Start("plain");
    Focus(Form1->fedit.get());
    SetClipboardText("ab");
    Form1->ToolButton39->Click();
    EXPECT_EQ(Form1->fedit->Text(), "abababababababababab");
    Form1->fedit->SetText("");
    SetClipboardText("abcdef");
    Form1->N10XPaste1->Click();
    EXPECT_EQ(Form1->fedit->Text().size(), 50u);
}

TEST_F(MainFieldsTest, CopyAllInTheEditorKeepsTheSelectionAndTheView)
{
    Start("plain");
    TRichEdit& memo = *Form1->memo1;
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    memo.SetText(text);
    memo.Select(2, 3);
    memo.Perform(EM_LINESCROLL, 0, 100);
    int firstLine = static_cast<int>(memo.Perform(EM_GETFIRSTVISIBLELINE));
    ASSERT_GT(firstLine, 50);
    Focus(&memo);
    Form1->Copyall1->Click();
    EXPECT_EQ(ClipboardText(), memo.Text());
    EXPECT_EQ(memo.SelStart(), 2);
    EXPECT_EQ(memo.SelLength(), 3);
    EXPECT_EQ(memo.Perform(EM_GETFIRSTVISIBLELINE), firstLine);
}

TEST_F(MainFieldsTest, PasteKeepsRichFormattingInRichModeAndTakesThePlainOneInPlainMode)
{
    Start("rich");
    TRichEdit& memo = *Form1->memo1;
    memo.SetText("plain ");
    SetClipboardText("bold", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 {\\b bold}}");
    Focus(&memo);
    memo.Select(6, 0);
    PressKey('V', true);
    // The editor's own copy carries the formatting too, and no line break.
    memo.Select(6, 4);
    PressKey('C', true);
    memo.Select(0, 0);
    PressKey('V', true);
    EXPECT_EQ(memo.Text(), "boldplain bold");
    for (int start : {0, 4, 10}) {
        memo.Select(start, start == 4 ? 6 : 4);
        EXPECT_EQ((memo.SelAttributes().style & fsBold) != 0, start != 4) << start;
    }

    memo.Clear();
    PressKey(VK_F2);
    ASSERT_TRUE(Form1->PlainMode());
    Focus(&memo);
    PressKey('T', true);
    memo.SelectAll();
    EXPECT_EQ(memo.SelText(), "boldboldboldboldboldboldboldboldboldbold");
    TCharAttributes pasted = memo.SelAttributes();
    EXPECT_TRUE(pasted.mask & CFM_BOLD);
    EXPECT_FALSE(pasted.style & fsBold);
    EXPECT_EQ(pasted.name, Form2->Edit1->Font().Name());
}

TEST_F(MainFieldsTest, TheEuroSignIsTheByte0x80OfASavedPlainFile)
{
    Start("plain");
    Focus(Form1->memo1.get());
    Form1->InsertEurosign1->Click();
    std::string path = WriteTestFile("euro.txt", "");
    Form1->WriteDocument(path);
    EXPECT_EQ(ReadTestFile(path), "\x80");
}

TEST_F(MainFieldsTest, TenFoldPasteThatWouldNotFitIsRefusedAndTheDocumentStays)
{
    Start("plain");
    Form1->memo1->SetText("document");
    Focus(Form1->memo1.get());
    SetClipboardText(std::string(10 << 20, 'x'));
    Application->Guard([] { Form1->ToolButton39Click(nullptr); });
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Not enough memory to paste the clipboard's text 10 times.");
    EXPECT_TRUE(dialogs.boxes[0].flags & MB_ICONERROR);
    EXPECT_EQ(Form1->memo1->Text(), "document");
}

// A right-click focuses the field before its menu shows, so the menu's
// commands act on it; the send window's fields do the same.
TEST_F(MainFieldsTest, ARightClickFocusesTheFieldItsMenuActsOn)
{
    Start("plain");
    TPopupMenu probe; // empty: records the focus and shows nothing
    TControl* focusedAtPopup = nullptr;
    auto rightClick = [&](TForm* form, TControl* field) {
        TPopupMenu* menu = field->PopupMenu;
        field->PopupMenu = &probe;
        probe.OnPopup = [&, form](TObject*) { focusedAtPopup = form->ActiveControl(); };
        RECT rect;
        GetWindowRect(field->Handle(), &rect);
        field->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field->Handle()), MAKELPARAM(rect.left + 2, rect.top + 2));
        field->PopupMenu = menu;
    };

    Focus(Form1->memo1.get());
    rightClick(Form1, Form1->redit.get());
    EXPECT_EQ(focusedAtPopup, Form1->redit.get());
    SetClipboardText("pasted");
    Form1->Paste2->Click();
    EXPECT_EQ(Form1->redit->Text(), "pasted");
    EXPECT_EQ(Form1->memo1->Text(), "");

    Form8->Show();
    Focus(Form8->sendto.get());
    rightClick(Form8, Form8->cc.get());
    EXPECT_EQ(focusedAtPopup, Form8->cc.get());
    Form8->Hide();
}

TEST_F(MainFieldsTest, TextInEveryScriptIsTypedCopiedAndPastedWholeInEachField)
{
    Start("plain");
    const std::string text = "\u0416\u0451\u043B\u0442\u044B\u0439 \u00FCn\u00EFc\u00F6d\u00E9 \u03A3\u03A9 \u20AC \U0001F600 ok";
    for (TControl* field : Fields()) {
        SCOPED_TRACE(ClassOf(field));
        field->SetText("");
        Focus(field);
        TypeText(text);
        EXPECT_EQ(field->Text(), text);
        // Copy of a selection counted in UTF-16 units: "\u03A3\u03A9".
        Select(field, 15, 2);
        Press(kCopy);
        EXPECT_EQ(ClipboardText(), "\u03A3\u03A9");
        Press(kCopyAll);
        EXPECT_EQ(ClipboardText(), text);
        SetClipboardText("\u042F\u03C9");
        Select(field, 0, 0);
        Press(kPaste);
        Press(kTenPaste);
        std::string pasted;
        for (int i = 0; i < 11; ++i)
            pasted += "\u042F\u03C9";
        EXPECT_EQ(field->Text().substr(0, pasted.size()), pasted);
    }
}
