// The "Date" header of a message, as mail readers expect it:
// "Tue, 08 Dec 2026 16:36:37 +0100", with English names in every locale.
#pragma once

#include <windows.h>

#include <string>

// The date text of a local date and time whose offset from UTC is
// `offsetMinutes` (east positive). The day of the week comes from the date.
std::string MailDate(const SYSTEMTIME& local, int offsetMinutes);

// The local time zone's offset from UTC, in minutes east, that holds at the
// given local date and time (summer time included).
int LocalOffsetMinutes(const SYSTEMTIME& local);

// MailDate with the local offset of that date.
std::string LocalMailDate(const SYSTEMTIME& local);
