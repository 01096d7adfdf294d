#include "tests/wordlist/WordListFixture.h"

#include "ui/Application.h"

void WordListTest::SetUp()
{
    ClearStore();
    StartProgram(dialogs);
}

void WordListTest::TearDown()
{
    if (Form1)
        StopProgram(false);
    ClearStore();
}

void WordListTest::Add(const std::vector<std::string>& entries)
{
    for (const std::string& entry : entries) {
        Form1->Edit4->SetText(entry);
        Form1->Commands["SpeedButton1Click"].Execute(nullptr);
    }
}

void WordListTest::Select(const std::string& text)
{
    const auto& items = Form1->ListBox1->Items();
    auto at = std::find(items.begin(), items.end(), text);
    ASSERT_NE(at, items.end()) << text;
    Form1->ListBox1->SetItemIndex(static_cast<int>(at - items.begin()));
}

std::string WordListTest::Selected() const
{
    int index = Form1->ListBox1->ItemIndex();
    return index < 0 ? "(none)" : Form1->ListBox1->Item(index);
}

std::vector<std::string> ControlEntries(HWND list)
{
    // Asked of the list box's own procedure in wide text: Wine translates
    // LB_GETTEXT between 8-bit and wide text through a fixed buffer of 512
    // characters, which longer entries overrun.
    auto proc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(list, GCLP_WNDPROC));
    std::vector<std::string> texts;
    int count = static_cast<int>(CallWindowProcW(proc, list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring wide(CallWindowProcW(proc, list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
        wide.resize(CallWindowProcW(proc, list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&wide[0])));
        std::string text(wide.size() * 2, '\0');
        text.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                                        static_cast<int>(text.size()), nullptr, nullptr));
        texts.push_back(text);
    }
    return texts;
}

std::vector<std::string> WordListTest::Entries() const
{
    const std::vector<std::string>& copy = Form1->ListBox1->Items();
    EXPECT_EQ(ControlEntries(Form1->ListBox1->Handle()), copy) << "the control and the program's copy differ";
    return copy;
}

std::string WordListTest::Buttons() const
{
    std::string states;
    states += Form1->SpeedButton1->Enabled() ? 'A' : '-';
    states += Form1->SpeedButton2->Enabled() ? 'R' : '-';
    states += Form1->SpeedButton3->Enabled() ? 'I' : '-';
    return states;
}

void WordListTest::Import(const std::string& bytes) { ImportFile(WriteTestFile("import.mib", bytes)); }

void WordListTest::ImportFile(const std::string& path)
{
    dialogs.ChooseFile(path);
    Application->Guard([] { Form1->Commands["Importwordlist1Click"].Execute(nullptr); });
}

void WordListTest::Export(const std::string& path)
{
    dialogs.ChooseFile(path);
    Application->Guard([] { Form1->Commands["Exportwordlist1Click"].Execute(nullptr); });
}

std::vector<std::string> WordListTest::Messages() const
{
    std::vector<std::string> texts;
    for (const auto& box : dialogs.boxes)
        texts.push_back(box.text);
    return texts;
}
