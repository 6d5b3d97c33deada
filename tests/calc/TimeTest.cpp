#include "calc/Time.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace
{
CTime Span(std::uint32_t days, std::uint32_t hours, std::uint32_t minutes, std::uint32_t seconds)
{
    CTime time;
    time.SetDays(days);
    time.SetHours(hours);
    time.SetMinutes(minutes);
    time.SetSeconds(seconds);
    return time;
}
} // namespace

TEST(Time, NewSpanIsZeroAndShowsAsMidnight)
{
    const CTime time;
    EXPECT_EQ(time.GetDays(), 0u);
    EXPECT_EQ(time.GetHours(), 0u);
    EXPECT_EQ(time.GetMinutes(), 0u);
    EXPECT_EQ(time.GetSeconds(), 0u);
    EXPECT_EQ(time.GetTotalSeconds(), 0u);
    EXPECT_EQ(TimeToString(time), "00:00:00");
}

TEST(Time, SetFromSecondsSplitsIntoNormalisedFieldsAndText)
{
    struct Case
    {
        std::uint32_t total;
        std::uint32_t days, hours, minutes, seconds;
        const char* text;
    };
    const Case cases[] = {
        {0u, 0, 0, 0, 0, "00:00:00"},
        {59u, 0, 0, 0, 59, "00:00:59"},
        {60u, 0, 0, 1, 0, "00:01:00"},
        {3599u, 0, 0, 59, 59, "00:59:59"},
        {3600u, 0, 1, 0, 0, "01:00:00"},
        {3661u, 0, 1, 1, 1, "01:01:01"},
        {86399u, 0, 23, 59, 59, "23:59:59"},
        {86400u, 1, 0, 0, 0, "1 day 00:00:00"},
        {90061u, 1, 1, 1, 1, "1 day 01:01:01"},
        {172799u, 1, 23, 59, 59, "1 day 23:59:59"},
        {172800u, 2, 0, 0, 0, "2 days 00:00:00"},
        {2 * 86400u + 3 * 3600u + 7 * 60u + 9u, 2, 3, 7, 9, "2 days 03:07:09"},
        {11 * 86400u, 11, 0, 0, 0, "11 days 00:00:00"},
        {21 * 86400u + 1u, 21, 0, 0, 1, "21 days 00:00:01"},
        {4294967295u, 49710, 6, 28, 15, "49710 days 06:28:15"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.total);
        CTime time;
        time.SetFromSeconds(c.total);
        EXPECT_EQ(time.GetDays(), c.days);
        EXPECT_EQ(time.GetHours(), c.hours);
        EXPECT_EQ(time.GetMinutes(), c.minutes);
        EXPECT_EQ(time.GetSeconds(), c.seconds);
        EXPECT_EQ(time.GetTotalSeconds(), c.total);
        EXPECT_EQ(TimeToString(time), c.text);
    }
}

TEST(Time, SetFromSecondsReplacesWhateverWasSetBefore)
{
    CTime time = Span(7, 30, 75, 99);
    time.SetFromSeconds(61);
    EXPECT_EQ(TimeToString(time), "00:01:01");
    EXPECT_EQ(time.GetDays(), 0u);
    EXPECT_EQ(time.GetHours(), 0u);
}

TEST(Time, TotalSecondsSumsTheFieldsAndWrapsModulo2To32)
{
    struct Case
    {
        std::uint32_t days, hours, minutes, seconds;
        std::uint32_t total;
    };
    const Case cases[] = {
        {1, 2, 3, 4, 93784u},
        {49710, 6, 28, 15, 4294967295u},
        {49710, 6, 28, 16, 0u},
        {49711, 0, 0, 0, 63104u},
        {0, 30, 0, 0, 108000u},
        {0, 0, 0, 4294967295u, 4294967295u},
        {0, 0, 1, 4294967295u, 59u},
        {4294967295u, 4294967295u, 4294967295u, 4294967295u,
         static_cast<std::uint32_t>(0u - 86400u - 3600u - 60u - 1u)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << c.days << "d " << c.hours << "h " << c.minutes << "m " << c.seconds);
        EXPECT_EQ(Span(c.days, c.hours, c.minutes, c.seconds).GetTotalSeconds(), c.total);
    }
}

TEST(Time, TotalSecondsGivesBackEveryTotalSplitBySetFromSeconds)
{
    // A stride prime to every unit walks through all remainders of seconds, minutes and hours;
    // the full range is covered by the exhaustive test.
    std::uint64_t checked = 0;
    for (std::uint64_t total = 0; total <= 4294967295u; total += 40009u)
    {
        CTime time;
        time.SetFromSeconds(static_cast<std::uint32_t>(total));
        ASSERT_EQ(time.GetTotalSeconds(), total);
        ASSERT_LT(time.GetSeconds(), 60u);
        ASSERT_LT(time.GetMinutes(), 60u);
        ASSERT_LT(time.GetHours(), 24u);
        ++checked;
    }
    EXPECT_GT(checked, 100000u);
}

TEST(Time, SettersStoreUnnormalisedValuesAndTheTextShowsThemWhole)
{
    struct Case
    {
        std::uint32_t days, hours, minutes, seconds;
        const char* text;
    };
    const Case cases[] = {
        {0, 30, 0, 0, "30:00:00"},
        {0, 123, 0, 0, "123:00:00"},
        {0, 0, 75, 0, "00:75:00"},
        {0, 0, 0, 100, "00:00:100"},
        {1, 2, 3, 4, "1 day 02:03:04"},
        {0, 9, 8, 7, "09:08:07"},
        {4294967295u, 4294967295u, 4294967295u, 4294967295u,
         "4294967295 days 4294967295:4294967295:4294967295"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        const CTime time = Span(c.days, c.hours, c.minutes, c.seconds);
        EXPECT_EQ(time.GetDays(), c.days);
        EXPECT_EQ(time.GetHours(), c.hours);
        EXPECT_EQ(time.GetMinutes(), c.minutes);
        EXPECT_EQ(time.GetSeconds(), c.seconds);
        EXPECT_EQ(TimeToString(time), c.text);
    }
}

TEST(Time, OnlyExactlyOneDayIsSingular)
{
    struct Case
    {
        std::uint32_t days;
        const char* text;
    };
    const Case cases[] = {{0, "05:00:00"},           {1, "1 day 05:00:00"},    {2, "2 days 05:00:00"},
                          {10, "10 days 05:00:00"},  {11, "11 days 05:00:00"}, {21, "21 days 05:00:00"},
                          {101, "101 days 05:00:00"}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(TimeToString(Span(c.days, 5, 0, 0)), c.text);
    }
}
