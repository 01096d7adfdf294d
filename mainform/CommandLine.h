// The command line: arguments split as Windows programs split them, and the
// file name that the first ten of them make.
#pragma once

#include <string>
#include <vector>

// The arguments after the program name: separated by blanks, a pair of double
// quotes groups blanks and is removed.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
// The first ten arguments joined with single blanks, so that a path with
// blanks given without quotes is whole again; later arguments are ignored.
std::string CommandLineFileName(const std::vector<std::string>& arguments);
