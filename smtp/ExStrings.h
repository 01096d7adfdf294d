// TExStringList: a string list of header lines "name: value".
#pragma once

#include "ui/Classes.h"

#include <string>

class TExStringList : public TStringList {
public:
    using TStringList::TStringList;

    // Index of the first line whose text before its first ":" equals `name`,
    // ignoring case; lines without ":" are skipped. -1 when there is none.
    int IndexOfHeader(const std::string& name) const;
    // A non-empty value replaces the line of that name (or is added at the end)
    // as name + ": " + value; an empty value deletes the line.
    void SetHeaderValue(const std::string& name, const std::string& value);
};
