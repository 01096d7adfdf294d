// The print command on a real printer: a CUPS server of the test's own with
// a PDF printer (tests/printing/cups_printer.py starts it, runs this program
// and names its folder of PDF files in MIBOR8_PDF_FOLDER). The PDF files are read back with
// poppler's tools, run as Unix programs from this Windows process.
#include "tests/printing/PrintTestSupport.h"

#include "preferences/PreferencesForm.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

const char* const kFailed = "Printer does not work!";

// Runs a shell command line (no double quotes in it) and returns its output.
// Wine does not follow a Unix program it starts: the command renames its
// output file when it is done.
std::string Shell(const std::string& command)
{
    static int calls = 0;
    const std::string output =
        "/tmp/mibor8-printer-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++calls);
    std::string line =
        "/bin/sh -c \"(" + command + ") > " + output + ".part 2>&1; mv " + output + ".part " + output + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // For a Unix program Wine fills in no handles, only stray values: closing
    // them would close handles of the process's own (a registry key the
    // printing code keeps open, and the default printer is gone).
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return "cannot run " + command;
    std::string windowsPath = "Z:" + output;
    for (char& c : windowsPath)
        if (c == '/')
            c = '\\';
    for (int i = 0; i < 1200 && GetFileAttributesA(windowsPath.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(50);
    std::stringstream text;
    {
        std::ifstream in(windowsPath, std::ios::binary);
        text << in.rdbuf();
    }
    DeleteFileA(windowsPath.c_str());
    return text.str();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class PrinterTest : public PrintingTest {
protected:
    void SetUp() override
    {
        const char* folder = getenv("MIBOR8_PDF_FOLDER");
        if (!folder)
            GTEST_SKIP() << "no CUPS server of the test's own: run through tests/printing/cups_printer.py";
        pdfs = std::string(folder) + "/PDF";
        PrintingTest::SetUp();
    }
    int PdfCount() { return std::atoi(Shell("ls " + pdfs + " | grep -c pdf").c_str()); }
    // Prints on the default printer as if the dialog had been confirmed.
    void Print()
    {
        dialogs.printAnswers.push_back(ConfirmDefaultPrinter);
        Form1->Print1Click(nullptr);
    }
    // Waits for the spooler to finish every job; the newest PDF file then.
    std::string NewestPdf(int count)
    {
        for (int i = 0; i < 240 && (PdfCount() < count || !Shell("lpstat -o").empty()); ++i)
            Sleep(250);
        return Lines(Shell("ls -t " + pdfs + "/*.pdf")).at(0);
    }
    std::string Info(const std::string& pdf, const std::string& field)
    {
        for (const std::string& line : Lines(Shell("pdfinfo " + pdf)))
            if (line.compare(0, field.size() + 1, field + ":") == 0)
                return Trim(line.substr(field.size() + 1));
        return "";
    }

    std::string pdfs;
};

} // namespace

TEST_F(PrinterTest, EveryLineComesOutOnceWholeAndInOrderOnAsManyPagesAsNeeded)
{
    // Numbered lines, and a paragraph of numbered words that runs over pages;
    // the longer texts are more than page formatting holds at once.
    std::string words;
    for (int i = 1; i <= 6000; ++i)
        words += Format("w%04d ", i);
    struct Case {
        std::string text;
        int pages; // 0: several
    };
    for (const Case& c : {Case{"", 1}, Case{NumberedLines(300), 0}, Case{NumberedLines(2500), 0},
                          Case{"Before\r\n" + words + "\r\nAfter\r\n", 0}}) {
        SCOPED_TRACE(c.text.substr(0, 40));
        Start("plain");
        SetText(c.text);
        int before = PdfCount();
        Print();
        ASSERT_TRUE(BoxTexts().empty());
        std::string pdf = NewestPdf(before + 1);
        ASSERT_EQ(PdfCount(), before + 1) << "one job";
        EXPECT_EQ(Info(pdf, "Title"), "Mibor8");
        int pages = std::atoi(Info(pdf, "Pages").c_str());
        if (c.pages > 0)
            EXPECT_EQ(pages, c.pages);
        else
            EXPECT_GT(pages, 1);

        // The words in order, and the lines of the text whole.
        std::vector<std::string> printed, expected;
        std::istringstream printedWords(Shell("pdftotext " + pdf + " -")), expectedWords(c.text);
        for (std::string word; printedWords >> word;)
            printed.push_back(word);
        for (std::string word; expectedWords >> word;)
            expected.push_back(word);
        EXPECT_EQ(printed, expected);
        if (c.pages == 0) {
            std::string lastPage = Shell(Format("pdftotext -f %d -l %d ", pages, pages) + pdf + " -");
            EXPECT_FALSE(Trim(lastPage).empty()) << "the last page is empty";
        }
        StopProgram(false);
    }
}

TEST_F(PrinterTest, TheLeftMarginOfPlainModeMovesTheFirstWordByItsPoints)
{
    double firstWord[2] = {0, 0};
    const char* margins[2] = {"0", "72"};
    for (int i = 0; i < 2; ++i) {
        Start("plain");
        Form2->Edit2->SetText(margins[i]);
        SetText("Margin test words\r\n");
        int before = PdfCount();
        Print();
        std::string bbox = Shell("pdftotext -bbox " + NewestPdf(before + 1) + " -");
        size_t at = bbox.find("xMin=");
        ASSERT_NE(at, std::string::npos) << bbox;
        firstWord[i] = std::atof(bbox.c_str() + at + 6);
        StopProgram(false);
    }
    EXPECT_NEAR(firstWord[1] - firstWord[0], 72.0, 1.0);
}

TEST_F(PrinterTest, AJobTheSpoolerRefusesEndsInTheMessageAndPrintsNothing)
{
    Start("plain");
    SetText(NumberedLines(120));
    int before = PdfCount();
    Shell("cupsreject PDF");
    Print();
    Shell("cupsaccept PDF");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kFailed});
    Sleep(3000);
    EXPECT_TRUE(Shell("lpstat -o").empty());
    EXPECT_EQ(PdfCount(), before);
    EXPECT_FALSE(Form1->PrintDialog1.PrinterDC);
}
