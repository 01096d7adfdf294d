// What the find tests share: options from letters, commands run on the
// routine or on the model, and random cases.
#pragma once

#include "tests/find/FindModel.h"

#include <random>
#include <string>

// t start at top, u search up, w whole word, c match case.
TFindOptions OptionsOf(const std::string& flags);

// Runs commands on the routine: F Find, R Replace, A Replace all.
void RunCommands(TFindTarget& editor, const std::string& commands, const std::string& what, const std::string& with,
                 TFindOptions& options);
// The same commands on the model; false when a Replace all has not ended
// after `maxRuns` runs.
bool RunModel(ModelEditor& editor, const std::string& commands, const std::string& what, const std::string& with,
              TFindOptions& options, bool mended, int maxRuns);

std::string Xs(int count);
// 30 characters, of which a search takes the first 20 to 28.
extern const std::string kLong;

// A random text of words, blanks and CR LF line breaks, often holding the
// search text in some case, sometimes across the seams of the windows; a
// replacement that is empty, shorter, longer or holds the search text; a
// selection; commands; options.
struct RandomCase {
    std::string text, what, with, commands, flags;
    int selStart, selLength;
};
RandomCase MakeRandomCase(std::mt19937& random);
std::string Describe(const RandomCase& c);
