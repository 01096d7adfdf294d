#include "smtp/ExStrings.h"

namespace {

// The text before the first ":", and whether there is one.
std::string HeaderName(const std::string& line, bool& hasColon)
{
    const size_t colon = line.find(':');
    hasColon = colon != std::string::npos;
    return hasColon ? line.substr(0, colon) : line;
}

} // namespace

int TExStringList::IndexOfHeader(const std::string& name) const
{
    bool hasColon = false;
    if (!Sorted()) {
        for (int i = 0; i < Count(); ++i) {
            const std::string key = HeaderName((*this)[i], hasColon);
            if (hasColon && AnsiCompareText(key, name) == 0)
                return i;
        }
        return -1;
    }
    // Sorted lines: halve the range on each step, then step back to the first match.
    int low = 0, high = Count() - 1, found = -1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int order = AnsiCompareText(HeaderName((*this)[middle], hasColon), name);
        if (order < 0)
            low = middle + 1;
        else {
            if (order == 0)
                found = middle;
            high = middle - 1;
        }
    }
    if (found < 0)
        return -1;
    for (int i = found; i < Count(); ++i) {
        const std::string key = HeaderName((*this)[i], hasColon);
        if (AnsiCompareText(key, name) != 0)
            break;
        if (hasColon)
            return i;
    }
    return -1;
}

void TExStringList::SetHeaderValue(const std::string& name, const std::string& value)
{
    const int index = IndexOfHeader(name);
    if (value.empty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    const std::string line = name + ": " + value;
    if (index < 0)
        Add(line);
    else if (Sorted()) {
        Delete(index);
        Add(line);
    } else
        (*this)[index] = line;
}
