// Import, export and start-up with large word lists in the hidden main
// window, beside the floor: reading the same file and filling a bare sorted
// list box with the entries sorted in advance.
//
// Usage: wordlist_bench.exe ENTRIES...   Prints one "name=value" line per
// figure in seconds, the shortest of five runs.
#include "bench/BenchSupport.h"
#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "mainform/WordListFile.h"
#include "ui/Application.h"
#include "ui/SysUtils.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

// The shortest of five runs, each after its own set-up: the machine is
// shared, and other work only ever adds time.
template <typename SetUp, typename Action>
double Best(SetUp setUp, Action action)
{
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        setUp();
        double start = Now();
        action();
        best = std::min(best, Now() - start);
    }
    return best;
}

// Random words and short phrases of mixed case; about one in ten repeats an
// earlier entry, in the same or another case.
std::vector<std::string> RandomEntries(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::string> entries;
    entries.reserve(count);
    while (entries.size() < count) {
        if (!entries.empty() && random() % 10 == 0) {
            std::string copy = entries[random() % entries.size()];
            if (random() % 2)
                copy[0] = static_cast<char>(copy[0] ^ 0x20);
            entries.push_back(copy);
            continue;
        }
        std::string entry;
        size_t length = 3 + random() % 10;
        for (size_t i = 0; i < length; ++i)
            entry += static_cast<char>((random() % 4 ? 'a' : 'A') + random() % 26);
        if (random() % 5 == 0)
            entry += " phrase";
        entries.push_back(entry);
    }
    return entries;
}

std::string FileBytes(const std::vector<std::string>& entries)
{
    std::string bytes;
    for (const auto& entry : entries)
        bytes += entry + "\r\n";
    return bytes;
}

// The floor: the file read and split, and a bare sorted list box filled with
// the entries in their order, redrawing held off. Returns the entries shown.
int FillBareList(const std::string& path)
{
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_SORT | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 0, 0,
                                120, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    std::string bytes = ReadTestFile(path);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        bytes[end] = '\0';
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(bytes.data() + start));
        start = end + 2;
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    DestroyWindow(list);
    return count;
}

void Run(ScriptedDialogs& dialogs, const std::vector<std::string>& commands)
{
    for (const std::string& command : commands)
        Application->Guard([&] { Form1->Commands[command].Execute(nullptr); });
    if (!dialogs.boxes.empty()) {
        std::fprintf(stderr, "the editor said: %s\n", dialogs.boxes.front().text.c_str());
        std::exit(1);
    }
}

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "not done: %s\n", what);
        std::exit(1);
    }
}

void Measure(ScriptedDialogs& dialogs, size_t count)
{
    std::string name = IntToStr(static_cast<long long>(count));
    std::vector<std::string> entries = RandomEntries(count, static_cast<unsigned>(count));
    std::string random = WriteTestFile("random" + name + ".mib", FileBytes(entries));
    std::string more = WriteTestFile("more" + name + ".mib",
                                     FileBytes(RandomEntries(count, static_cast<unsigned>(count) + 1)));
    std::stable_sort(entries.begin(), entries.end(), TListBox::SortsBefore);
    std::string sorted = WriteTestFile("sorted" + name + ".mib", FileBytes(entries));
    std::string exported = WriteTestFile("exported" + name + ".mib", "");

    int floorCount = 0;
    double floor = Best([] {}, [&] { floorCount = FillBareList(sorted); });
    Check(floorCount == static_cast<int>(count), "the bare list box holds every entry");

    ClearStore();
    StartProgram(dialogs);
    double import = Best([&] { Form1->ListBox1->Clear(); dialogs.ChooseFile(random); },
                         [&] { Run(dialogs, {"Importwordlist1Click"}); });
    Check(Form1->ListBox1->Items() == entries, "the import holds the entries sorted");
    double exportTime = Best([&] { dialogs.ChooseFile(exported); }, [&] { Run(dialogs, {"Exportwordlist1Click"}); });
    Check(ReadTestFile(exported) == FileBytes(entries), "the export holds the list");

    double startup = Best([] { StopProgram(true); }, [&] { StartProgram(dialogs); });
    Check(Form1->ListBox1->Items() == entries, "the start-up holds the stored list");
    std::vector<std::string> held = Form1->ListBox1->Items();
    double importFull = Best(
        [&] {
            Form1->ListBox1->Clear();
            Form1->ListBox1->AddMany(held);
            dialogs.ChooseFile(more);
        },
        [&] { Run(dialogs, {"Importwordlist1Click"}); });
    Check(Form1->ListBox1->Count() == static_cast<int>(2 * count), "the import into a full list holds both");
    Form1->ListBox1->Clear();
    double emptyStartup = Best([] { StopProgram(true); }, [&] { StartProgram(dialogs); });
    StopProgram(false);

    for (const std::string& path : {random, more, sorted, exported})
        DeleteFileA(path.c_str());
    std::printf("%s.floor=%.4f\n%s.import=%.4f\n%s.import_full=%.4f\n%s.export=%.4f\n%s.startup=%.4f\n"
                "%s.startup_empty=%.4f\n",
                name.c_str(), floor, name.c_str(), import, name.c_str(), importFull, name.c_str(), exportTime,
                name.c_str(), startup, name.c_str(), emptyStartup);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    ScriptedDialogs dialogs;
    for (int i = 1; i < argc; ++i)
        Measure(dialogs, static_cast<size_t>(std::atol(argv[i])));
    ClearStore();
    return 0;
}
