// The start counter: the value `Counter` in the settings store, the number of
// program starts so far as a decimal integer held as text. The About box
// counts each start as it is made.
#pragma once

#include <string>

// Where the count is read and written.
class TCounterStore {
public:
    virtual ~TCounterStore() = default;
    // The stored text; empty when there is none.
    virtual std::string Read() = 0;
    // Raises an exception when the value cannot be written.
    virtual void Write(const std::string& text) = 0;
};

// A stored text that counts starts: a whole number (as StrToInt reads it)
// above 0.
bool IsStartNumber(const std::string& text);

// The number stored after `number`: one more, wrapping from the largest
// 32-bit number to the smallest, which the next start repairs to 1.
int NextStartNumber(int number);

// What one start leaves on the About box.
struct TStartCount {
    std::string message; // "You've started Mibor8  N times."
    std::string held;    // the counter as read before the increment
};

// Counts this start: a counter that is missing or not a start number is
// repaired to "1", the text read then makes the message, and one more is
// stored. When the repair cannot be written the increment is skipped without
// a word; a failure of the increment itself raises.
TStartCount CountStart(TCounterStore& store);
