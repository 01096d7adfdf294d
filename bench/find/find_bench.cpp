// Replace all of a whole word over large documents in the hidden main window,
// in plain and in rich mode, each result checked against the model of the
// search routine run on the same text.
//
// Usage: find_bench.exe MODE FILE...   MODE "plain" or "rich"; each FILE is
// opened, "cat" replaced by "lion" as a whole word from the top, and the
// result saved as plain text beside it (FILE.result). Prints one
// "name=value" line per figure, the name being the file's.
#include "tests/find/FindModel.h"
#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "ui/Application.h"
#include "ui/SafeFile.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

const char* const kWhat = "cat";
const char* const kWith = "lion";

TFindOptions BenchOptions()
{
    TFindOptions options;
    options.StartAtTop = true;
    options.WholeWord = true;
    return options;
}

void Measure(ScriptedDialogs& dialogs, const std::string& path)
{
    std::string name = path.substr(path.find_last_of('\\') + 1);
    dialogs.ChooseFile(path);
    Application->Guard([] { Form1->Open1Click(nullptr); });
    TRichEdit& memo = *Form1->memo1;
    std::string before = memo.Text();

    Form1->fedit->SetText(kWhat);
    Form1->redit->SetText(kWith);
    Form1->SetFindOptions(BenchOptions());
    dialogs.boxes.clear();
    double start = Now();
    Form1->Commands["replallbuttonClick"].Execute(nullptr);
    double seconds = Now() - start;
    bool oneMessage = dialogs.boxes.size() == 1 && dialogs.boxes[0].text == "Finished searching/replacing.";

    // The result as a file, read back, against the model's.
    std::string resultPath = path + ".result";
    memo.PlainText = true;
    SaveFileSafely(resultPath, [&](TStream& file) { memo.SaveToStream(file); });
    std::string result = ReadTestFile(resultPath);
    ModelEditor model{before, memo.SelStart(), 0};
    TFindOptions options = BenchOptions();
    double modelStart = Now();
    bool ended = ModelReplaceAll(model, options, kWhat, kWith, false, 10000000);
    double modelSeconds = Now() - modelStart;
    bool same = ended && model.text == result && model.messages == 1;

    std::printf("%s.bytes=%zu\n%s.matches=%zu\n%s.seconds=%.3f\n%s.model_seconds=%.3f\n%s.same_as_model=%d\n"
                "%s.one_message=%d\n",
                name.c_str(), before.size(), name.c_str(), result.size() - before.size(), name.c_str(), seconds,
                name.c_str(), modelSeconds, name.c_str(), same ? 1 : 0, name.c_str(), oneMessage ? 1 : 0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    ScriptedDialogs dialogs;
    ClearStore();
    StartProgram(dialogs);
    StopProgram(true);
    WriteStore("Mode", argv[1]);
    StartProgram(dialogs);
    for (int i = 2; i < argc; ++i)
        Measure(dialogs, argv[i]);
    StopProgram(false);
    ClearStore();
    return 0;
}
