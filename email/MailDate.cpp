#include "email/MailDate.h"

#include <cstdio>
#include <cstdlib>

namespace {

const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days since 1 January 1970 of a date of the Gregorian calendar.
long long DaysFromCivil(int year, int month, int day)
{
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - static_cast<int>(era * 400);
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

long long Ticks(const FILETIME& time)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<long long>(value.QuadPart);
}

} // namespace

std::string MailDate(const SYSTEMTIME& local, int offsetMinutes)
{
    const long long days = DaysFromCivil(local.wYear, local.wMonth, local.wDay);
    const int weekday = static_cast<int>(((days % 7) + 11) % 7); // 1 January 1970 was a Thursday
    const int month = local.wMonth >= 1 && local.wMonth <= 12 ? local.wMonth - 1 : 0;
    const int offset = std::abs(offsetMinutes);
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02u %s %04u %02u:%02u:%02u %c%02d%02d", kDays[weekday],
                  unsigned{local.wDay}, kMonths[month], unsigned{local.wYear}, unsigned{local.wHour},
                  unsigned{local.wMinute}, unsigned{local.wSecond}, offsetMinutes < 0 ? '-' : '+', offset / 60,
                  offset % 60);
    return text;
}

int LocalOffsetMinutes(const SYSTEMTIME& local)
{
    SYSTEMTIME whole = local;
    whole.wMilliseconds = 0;
    SYSTEMTIME utc;
    FILETIME localTime, utcTime;
    if (TzSpecificLocalTimeToSystemTime(nullptr, &whole, &utc) && SystemTimeToFileTime(&whole, &localTime) &&
        SystemTimeToFileTime(&utc, &utcTime))
        return static_cast<int>((Ticks(localTime) - Ticks(utcTime)) / 600000000LL);
    TIME_ZONE_INFORMATION zone;
    GetTimeZoneInformation(&zone);
    return -static_cast<int>(zone.Bias);
}

std::string LocalMailDate(const SYSTEMTIME& local) { return MailDate(local, LocalOffsetMinutes(local)); }
