// Printing the document: the print dialog, then the editor's whole text laid
// out on as many pages as it needs.
#include "mainform/MainForm.h"

#include "ui/Application.h"

namespace {

const char* const kPrinterFailed = "Printer does not work!";

// Releases the editor's page formatting at the end of a scope.
class FormattingScope {
public:
    explicit FormattingScope(TRichEdit& editor) : editor_(editor) {}
    ~FormattingScope() { editor_.EndFormatRange(); }
    FormattingScope(const FormattingScope&) = delete;
    FormattingScope& operator=(const FormattingScope&) = delete;

private:
    TRichEdit& editor_;
};

} // namespace

std::unique_ptr<TPrintJob> TForm1::OpenPrinterJob(TPrintDialog& dialog)
{
    return std::make_unique<TPrinterJob>(std::move(dialog.PrinterDC));
}

void TForm1::Print1Click(TObject*)
{
    bool failed = false;
    try {
        if (!PrintDialog1.Execute())
            return;
        std::unique_ptr<TPrintJob> job = OpenPrintJob(PrintDialog1);
        PrintDocument(*job);
    } catch (const std::exception&) {
        failed = true;
    }
    // By now a failed job is aborted; the printer is released on every path.
    PrintDialog1.PrinterDC.Reset();
    // The box comes after the failure was handled: it runs a message loop.
    if (failed)
        Application->ShowMessage(kPrinterFailed);
}

std::vector<int> TForm1::PrintDocument(TPrintJob& job)
{
    // The page is the printable area; the margins are the text's own indents.
    const RECT page = job.PageArea();
    const int length = memo1->TextLength();
    FormattingScope formatting(*memo1);
    std::vector<int> pageStarts;
    job.BeginDoc("Mibor8");
    for (int start = 0;;) {
        job.BeginPage();
        pageStarts.push_back(start);
        int next = memo1->FormatRange(job.Handle(), page, start, -1, true);
        // Another page only for text that is left and of which something fits
        // on a page: a line or object taller than a page ends the document
        // instead of blank pages without end.
        bool more = next > start && next < length &&
                    memo1->FormatRange(job.Handle(), page, next, next + 1, false) > next;
        job.EndPage();
        if (!more)
            break;
        start = next;
    }
    job.EndDoc();
    return pageStarts;
}
