#include "tests/find/RandomCases.h"

#include <sstream>

TFindOptions OptionsOf(const std::string& flags)
{
    TFindOptions options;
    options.StartAtTop = flags.find('t') != std::string::npos;
    options.SearchUp = flags.find('u') != std::string::npos;
    options.WholeWord = flags.find('w') != std::string::npos;
    options.MatchCase = flags.find('c') != std::string::npos;
    return options;
}

void RunCommands(TFindTarget& editor, const std::string& commands, const std::string& what, const std::string& with,
                 TFindOptions& options)
{
    for (char command : commands) {
        if (command == 'A')
            ReplaceAll(editor, what, with, options);
        else
            FindNext(editor, what, command == 'R' ? with : "", options);
    }
}

bool RunModel(ModelEditor& editor, const std::string& commands, const std::string& what, const std::string& with,
              TFindOptions& options, bool mended, int maxRuns)
{
    for (char command : commands) {
        if (command == 'A') {
            if (!ModelReplaceAll(editor, options, what, with, mended, maxRuns))
                return false;
        } else {
            ModelFind(editor, options, what, command == 'R' ? with : "", mended);
        }
    }
    return true;
}

std::string Xs(int count) { return std::string(static_cast<size_t>(count), 'x'); }
const std::string kLong = "abcdefghijklmnopqrstuvwxyz0123";

RandomCase MakeRandomCase(std::mt19937& random)
{
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto randomCase = [&](std::string s) {
        for (char& c : s)
            if (c >= 'a' && c <= 'z' && pick(3) == 0)
                c = static_cast<char>(c - 32);
        return s;
    };
    static const char* const kShort[] = {"a", "ab", "aB", "ba", "a b", "b.", " a", "a ", "  ", "\xE9", "A\xC9", "aa"};
    RandomCase c;
    c.what = pick(8) == 0 ? randomCase(kLong.substr(0, static_cast<size_t>(20 + pick(9)))) : kShort[pick(12)];
    static const char* const kPieces[] = {" ", " ", "\r\n", "b", "a", "x", ".", ",", "\xE9", "\xC9", "ab", "s"};
    int length = pick(4) == 0 ? pick(40) : pick(1400);
    while (static_cast<int>(c.text.size()) < length)
        c.text += pick(6) == 0 ? randomCase(c.what) : pick(10) == 0 ? Xs(pick(60)) : kPieces[pick(12)];
    switch (pick(6)) {
    case 0: c.with = ""; break;
    case 1: c.with = "x"; break;
    case 2: c.with = "XyZ12"; break;
    case 3: c.with = c.what + "s"; break;
    case 4: c.with = "Q" + randomCase(c.what); break;
    default: c.with = c.what.substr(0, c.what.size() / 2); break;
    }
    static const char* const kCommands[] = {"F", "R", "A", "FF", "RR", "FA", "RA", "FRF", "AA", "RRRR"};
    c.commands = kCommands[pick(10)];
    for (char flag : std::string("tuwc"))
        if (pick(2))
            c.flags += flag;
    int size = static_cast<int>(c.text.size());
    size_t occurrence = FoldCase(c.text).find(FoldCase(c.what), static_cast<size_t>(pick(size + 1)));
    if (pick(2) && occurrence != std::string::npos) {
        c.selStart = static_cast<int>(occurrence);
        c.selLength = static_cast<int>(c.what.size());
    } else {
        c.selStart = pick(size + 1);
        c.selLength = pick(size - c.selStart + 1) % 8;
    }
    // The editor has no position between the CR and the LF of a line break.
    auto inBreak = [&](int at) { return at > 0 && at < size && c.text[at - 1] == '\r' && c.text[at] == '\n'; };
    if (inBreak(c.selStart)) {
        --c.selStart;
        ++c.selLength;
    }
    if (inBreak(c.selStart + c.selLength))
        ++c.selLength;
    return c;
}

std::string Describe(const RandomCase& c)
{
    std::ostringstream text;
    text << "flags " << c.flags << " commands " << c.commands << " what [" << c.what << "] with [" << c.with
         << "] selection " << c.selStart << "+" << c.selLength << " text [" << c.text << "]";
    return text.str();
}
