// Word-list files (.mib): plain 8-bit text without header, one entry a line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class TStream;

// The entries of a word-list file's bytes. A line ends at CR LF, at a lone CR
// or at a lone LF; a last line without a line end counts, the empty rest after
// the last line end is no entry. An entry stops at its first NUL byte: the
// settings store could not hold the rest.
std::vector<std::string> SplitWordList(const char* data, size_t size);

// Writes every entry followed by CR LF; an empty list writes nothing.
void WriteWordList(TStream& stream, const std::vector<std::string>& entries);

// The entries of a whole word-list file. Raises on any failure: the file
// cannot be opened (missing, locked, a folder), is larger than the process
// can hold, or cannot be read to its end.
std::vector<std::string> ReadWordListFile(const std::string& fileName);
