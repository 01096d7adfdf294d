// The print command of the hidden main window in plain mode, on the default
// printer, for the printing benchmark.
//
// Usage: print_bench.exe PAGES RTF_FILE. Puts PAGES pages' worth of numbered
// lines into the editor, writes them as rich text to RTF_FILE (for the floor
// program, which prints the same text), then runs the print command with the
// dialog confirmed. Prints "lines=", "seconds=" (until the job is handed to
// the spooler) and "boxes=" (message boxes shown: 0 when it printed).
#include "tests/printing/PrintTestSupport.h"

#include "ui/Classes.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

// Every line is as long as the others: characters count lines.
std::string BenchLines(int count)
{
    return NumberedLines(count, "Line %06d of the benchmark text, plain and of one length");
}

void Load(TRichEdit& editor, const std::string& text)
{
    TMemoryStream stream;
    stream.WriteString(text);
    stream.SetPosition(0);
    editor.LoadFromStream(stream);
}

// The lines that fit on one page of the default printer.
int LinesPerPage(TRichEdit& editor)
{
    TPrintDialog dialog;
    if (!ConfirmDefaultPrinter(dialog)) {
        std::fprintf(stderr, "no default printer\n");
        std::exit(1);
    }
    TPrinterJob printer(std::move(dialog.PrinterDC));
    const std::string text = BenchLines(1000);
    Load(editor, text);
    int next = editor.FormatRange(printer.Handle(), printer.PageArea(), 0, -1, false);
    editor.EndFormatRange();
    return next / static_cast<int>(text.find('\n') + 1);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: print_bench.exe PAGES RTF_FILE\n");
        return 2;
    }
    ScriptedDialogs dialogs;
    StartWithStored(dialogs, {{"Mode", "plain"}});
    TRichEdit& editor = *Form1->memo1;
    const int lines = std::atoi(argv[1]) * LinesPerPage(editor);
    Load(editor, BenchLines(lines));
    Form1->ApplyPlainModeAgain();
    {
        TFileStream rtf(argv[2], fmCreate);
        editor.PlainText = false;
        editor.SaveToStream(rtf);
        editor.PlainText = true;
    }

    dialogs.printAnswers.push_back(ConfirmDefaultPrinter);
    auto start = std::chrono::steady_clock::now();
    Form1->Print1Click(nullptr);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("lines=%d\nseconds=%.3f\nboxes=%d\n", lines, took.count(), static_cast<int>(dialogs.boxes.size()));
    StopProgram(false);
    return 0;
}
