#pragma once

#include <cstdint>
#include <string>

// A span of days, hours, minutes and seconds. The setters keep what they are given, so a
// span typed by the user is shown and summed exactly as typed; only SetFromSeconds
// normalises.
class CTime
{
public:
    CTime();
    ~CTime();

    std::uint32_t GetDays() const;
    std::uint32_t GetHours() const;
    std::uint32_t GetMinutes() const;
    std::uint32_t GetSeconds() const;

    void SetDays(std::uint32_t days);
    void SetHours(std::uint32_t hours);
    void SetMinutes(std::uint32_t minutes);
    void SetSeconds(std::uint32_t seconds);

    void SetFromSeconds(std::uint32_t totalSeconds);
    // Wraps modulo 2^32 like every other sum of the program.
    std::uint32_t GetTotalSeconds() const;

private:
    std::uint32_t m_seconds;
    std::uint32_t m_minutes;
    std::uint32_t m_hours;
    std::uint32_t m_days;
};

// "2 days 03:07:09", "1 day 00:00:00", "00:00:59"; the days part only when there are days.
std::string TimeToString(CTime time);
