// The texts of the Info page: figures about the document and the computer.
#pragma once

#include <cstdint>
#include <string>

// "There is 1 line", "There are N lines"; empty for no lines.
std::string LinesText(int lines);
// "There is one character", "There are N characters"; empty for none.
std::string CharactersText(int characters);
// "The average line length is N character(s)": characters per line, the
// fraction dropped. Only meaningful for a line count above 0.
std::string AverageText(int characters, int lines);

// A whole number with its digits grouped by threes ("523,760").
std::string GroupThousands(std::uint64_t value, const std::string& separator);
// Total physical memory in kilobytes, rounded: "523,760 KB".
std::string MemoryText(std::uint64_t totalBytes, const std::string& separator);
// The share of physical memory that is free, from the memory load (the share
// in use): "37 %".
std::string FreeMemoryText(unsigned memoryLoad);
// "1024x768".
std::string ResolutionText(int width, int height);
