// Word-list files (.mib): plain text without header, one entry a line, in the
// ANSI code page or (where that cannot hold an entry) UTF-8 with a byte order
// mark; read in any encoding a text file may have.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class TStream;

// The entries of a word-list file's text (UTF-8). A line ends at CR LF, at a lone CR
// or at a lone LF; a last line without a line end counts, the empty rest after
// the last line end is no entry. An entry stops at its first NUL byte: the
// settings store could not hold the rest.
std::vector<std::string> SplitWordList(const char* data, size_t size);

// Every entry followed by CR LF, as the file's bytes; an empty list is no byte.
std::string WordListBytes(const std::vector<std::string>& entries);
void WriteWordList(TStream& stream, const std::vector<std::string>& entries);

// The entries of a whole word-list file. Raises on any failure: the file
// cannot be opened (missing, locked, a folder), is larger than the process
// can hold, or cannot be read to its end.
std::vector<std::string> ReadWordListFile(const std::string& fileName);
