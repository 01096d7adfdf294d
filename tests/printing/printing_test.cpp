// The print command on pages that are metafiles: how the text is cut into
// pages, what ends the page loop, and every failure on the way. Run with
// CUPS_SERVER naming a socket where no server listens: no printer at all.
#include "tests/printing/PrintTestSupport.h"

#include "ui/GdiObjects.h"

#include <atomic>
#include <thread>

namespace {

const char* const kFailed = "Printer does not work!";
// A letter-sized page, and pages on which little or nothing fits (twips).
const RECT kLetter{0, 0, 12240, 15840};
const RECT kTwoInches{0, 0, 12240, 2880};
const RECT kSliver{0, 0, 12240, 100};

class PrintCommandTest : public PrintingTest {
protected:
    // Runs the print command with the dialog confirmed and the job on metafiles.
    void PrintOn(const RECT& page, const std::string& failAt = "", int failOnPage = 1)
    {
        dialogs.printAnswers.push_back([](TPrintDialog&) { return true; });
        Form1->OpenPrintJob = [=](TPrintDialog&) {
            return std::make_unique<TMetafileJob>(page, record, failAt, failOnPage);
        };
        Form1->Print1Click(nullptr);
    }
    TJobRecord record;
};

BOOL CALLBACK CountRichEdits(HWND window, LPARAM count)
{
    char name[64] = {0};
    GetClassNameA(window, name, sizeof name);
    *reinterpret_cast<int*>(count) += lstrcmpiA(name, "RICHEDIT") == 0;
    return TRUE;
}

// The rich edit controls among this thread's top-level windows: page
// formatting may make one.
int TopLevelRichEdits()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountRichEdits, reinterpret_cast<LPARAM>(&count));
    return count;
}

} // namespace

TEST_F(PrintCommandTest, TheWholeTextGoesOnAsManyPagesAsItNeeds)
{
    struct Case {
        int lines;
        bool lastLineEnded; // by a line break
        int pages;          // 0: more than one
    };
    // 3000 lines are more than the hidden control of page formatting holds at once.
    for (const Case& c : {Case{0, true, 1}, Case{1, false, 1}, Case{300, true, 0}, Case{3000, false, 0}}) {
        SCOPED_TRACE(c.lines);
        Start("plain");
        std::string text = NumberedLines(c.lines);
        SetText(c.lastLineEnded ? text : text.substr(0, text.size() - 2));
        record = TJobRecord{};
        PrintOn(kLetter);

        EXPECT_TRUE(BoxTexts().empty());
        EXPECT_EQ(record.title, "Mibor8");
        EXPECT_TRUE(record.ended);
        if (c.pages > 0)
            EXPECT_EQ(static_cast<int>(record.pages.size()), c.pages);
        else
            EXPECT_GT(record.pages.size(), 1u);
        // Every line once, pages filled from the top, none of them empty
        // (the empty document's one page excepted).
        const int pageHeight = kLetter.bottom * GetDeviceCaps(TWindowDC(), LOGPIXELSY) / 1440;
        int lines = 0;
        for (const TOwnedEnhMetaFile& page : record.pages) {
            std::vector<POINT> places = TextPlaces(page);
            lines += TextLines(page);
            if (c.lines == 0)
                continue;
            ASSERT_FALSE(places.empty());
            for (const POINT& place : places)
                EXPECT_LT(place.y, pageHeight);
        }
        EXPECT_EQ(lines, c.lines);
        StopProgram(false);
    }
}

TEST_F(PrintCommandTest, APageOnWhichNothingFitsEndsTheDocument)
{
    struct Case {
        const char* rtf;
        RECT page;
        int linesPrinted;
    };
    const Case cases[] = {
        // Not even one line fits: the one page stays blank.
        {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 a line\\par}", kSliver, 0},
        // A line taller than a page follows: no page, blank or not, for it.
        {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 small line\\par\\fs300 HUGE\\par\\fs20 after\\par}",
         kTwoInches, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rtf);
        Start("rich");
        SetRtf(c.rtf);
        record = TJobRecord{};
        PrintOn(c.page);

        EXPECT_TRUE(BoxTexts().empty());
        EXPECT_TRUE(record.ended);
        ASSERT_EQ(record.pages.size(), 1u);
        EXPECT_EQ(TextLines(record.pages[0]), c.linesPrinted);
        StopProgram(false);
    }
}

TEST_F(PrintCommandTest, EveryFailureEndsInTheMessageWithTheJobAbortedAndReleased)
{
    struct Case {
        const char* failAt;
        int page;
    };
    const Case cases[] = {{"dialog", 1}, {"BeginDoc", 1}, {"BeginPage", 1}, {"BeginPage", 2}, {"EndPage", 2},
                          {"EndDoc", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.failAt) + " of page " + std::to_string(c.page));
        Start("plain");
        SetText(NumberedLines(200));
        const std::string before = Form1->memo1->Text();
        record = TJobRecord{};
        if (std::string(c.failAt) == "dialog") {
            dialogs.printAnswers.push_back([](TPrintDialog&) -> bool { throw EPrinter("no printer"); });
            Form1->Print1Click(nullptr);
        } else {
            PrintOn(kLetter, c.failAt, c.page);
            EXPECT_TRUE(record.destroyed);
        }

        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, kFailed);
        EXPECT_EQ(dialogs.boxes[0].caption, "Mibor8");
        EXPECT_EQ(dialogs.boxes[0].flags & MB_ICONMASK, 0u);
        EXPECT_FALSE(record.ended);
        EXPECT_FALSE(Form1->PrintDialog1.PrinterDC);
        EXPECT_EQ(TopLevelRichEdits(), 0) << "page formatting left its window behind";
        EXPECT_EQ(Form1->memo1->Text(), before);
        StopProgram(false);
        dialogs.boxes.clear();
    }
}

TEST_F(PrintCommandTest, CancelPrintsNothingAndSaysNothing)
{
    Start("rich");
    SetText("some text");
    bool opened = false;
    Form1->OpenPrintJob = [&](TPrintDialog&) -> std::unique_ptr<TPrintJob> {
        opened = true;
        return nullptr;
    };
    dialogs.printAnswers.push_back([](TPrintDialog&) { return false; });
    Form1->Commands["Print1Click"].Execute(Form1->ToolButton5);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(PrintCommandTest, WithNoPrinterTheSystemDialogIsNotShownAndTheMessageIs)
{
    Start("rich");
    SetText("some text");
    // The system's own dialog answers; any window it shows is closed and counted.
    dialogs.printAnswers.push_back([](TPrintDialog& dialog) { return TDialogService().ExecutePrint(dialog); });
    std::atomic<bool> done{false};
    std::atomic<int> shown{0};
    std::thread watcher([&] {
        while (!done) {
            HWND box = FindWindowA("#32770", nullptr);
            DWORD process = 0;
            if (box && GetWindowThreadProcessId(box, &process) && process == GetCurrentProcessId()) {
                ++shown;
                PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            }
            Sleep(50);
        }
    });
    Form1->Print1Click(nullptr);
    done = true;
    watcher.join();
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kFailed});
}

TEST(PrinterJobTest, AFailingPrintingCallRaises)
{
    EXPECT_THROW(TPrinterJob job{TOwnedDC()}, EPrinter);
    // A memory device context is no printer: starting a document on it fails.
    TPrinterJob job{TMemoryDC()};
    EXPECT_THROW(job.BeginDoc("Mibor8"), EPrinter);
}

