// The Date header text: English names, the day of the week from the date, the offset.
#include "email/MailDate.h"

#include <gtest/gtest.h>

namespace {

SYSTEMTIME Local(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    time.wDayOfWeek = 6; // wrong on purpose: the date decides
    return time;
}

} // namespace

TEST(MailDate, DayOfWeekComesFromTheDateAcrossCenturiesLeapDaysAndYearEnds)
{
    EXPECT_EQ(MailDate(Local(2026, 12, 8, 16, 36, 37), 60), "Tue, 08 Dec 2026 16:36:37 +0100");
    EXPECT_EQ(MailDate(Local(2024, 2, 29, 0, 0, 0), 0), "Thu, 29 Feb 2024 00:00:00 +0000");
    EXPECT_EQ(MailDate(Local(2000, 1, 1, 23, 59, 59), 0), "Sat, 01 Jan 2000 23:59:59 +0000");
    EXPECT_EQ(MailDate(Local(1999, 12, 31, 9, 5, 3), 0), "Fri, 31 Dec 1999 09:05:03 +0000");
    EXPECT_EQ(MailDate(Local(1969, 12, 19, 12, 0, 0), 0), "Fri, 19 Dec 1969 12:00:00 +0000");
    EXPECT_EQ(MailDate(Local(2100, 3, 1, 12, 0, 0), 0), "Mon, 01 Mar 2100 12:00:00 +0000");
}

TEST(MailDate, OffsetsWestOfUtcAndHalfHoursAreSignedHoursAndMinutes)
{
    EXPECT_EQ(MailDate(Local(2026, 7, 1, 8, 0, 0), -210), "Wed, 01 Jul 2026 08:00:00 -0330");
    EXPECT_EQ(MailDate(Local(2026, 7, 1, 8, 0, 0), 345), "Wed, 01 Jul 2026 08:00:00 +0545");
    EXPECT_EQ(MailDate(Local(2026, 7, 1, 8, 0, 0), -720), "Wed, 01 Jul 2026 08:00:00 -1200");
}

TEST(MailDate, LocalOffsetIsTheOneThatHoldsOnThatDate)
{
    // Winter and summer: the offset must match the system's own conversion of that instant.
    for (int month : {1, 7}) {
        SYSTEMTIME utc = Local(2026, month, 15, 12, 0, 0);
        SYSTEMTIME local;
        ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
        FILETIME a, b;
        SystemTimeToFileTime(&local, &a);
        SystemTimeToFileTime(&utc, &b);
        ULARGE_INTEGER la{{a.dwLowDateTime, a.dwHighDateTime}}, lb{{b.dwLowDateTime, b.dwHighDateTime}};
        const int expected = static_cast<int>((static_cast<long long>(la.QuadPart) -
                                               static_cast<long long>(lb.QuadPart)) / 600000000LL);
        EXPECT_EQ(LocalOffsetMinutes(local), expected) << "month " << month;
    }
}
