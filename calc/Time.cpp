#include "calc/Time.h"

#include <iomanip>
#include <sstream>

namespace
{
constexpr std::uint32_t SECONDS_PER_MINUTE = 60;
constexpr std::uint32_t SECONDS_PER_HOUR = 3600;
constexpr std::uint32_t SECONDS_PER_DAY = 86400;
} // namespace

CTime::CTime() : m_seconds(0), m_minutes(0), m_hours(0), m_days(0) {}

CTime::~CTime() = default;

std::uint32_t CTime::GetDays() const
{
    return m_days;
}

std::uint32_t CTime::GetHours() const
{
    return m_hours;
}

std::uint32_t CTime::GetMinutes() const
{
    return m_minutes;
}

std::uint32_t CTime::GetSeconds() const
{
    return m_seconds;
}

void CTime::SetDays(std::uint32_t days)
{
    m_days = days;
}

void CTime::SetHours(std::uint32_t hours)
{
    m_hours = hours;
}

void CTime::SetMinutes(std::uint32_t minutes)
{
    m_minutes = minutes;
}

void CTime::SetSeconds(std::uint32_t seconds)
{
    m_seconds = seconds;
}

void CTime::SetFromSeconds(std::uint32_t totalSeconds)
{
    m_days = totalSeconds / SECONDS_PER_DAY;
    std::uint32_t rest = totalSeconds % SECONDS_PER_DAY;
    m_hours = rest / SECONDS_PER_HOUR;
    rest %= SECONDS_PER_HOUR;
    m_minutes = rest / SECONDS_PER_MINUTE;
    m_seconds = rest % SECONDS_PER_MINUTE;
}

std::uint32_t CTime::GetTotalSeconds() const
{
    // Unsigned 32-bit throughout: the wrap past 4294967295 is the intended result.
    return m_days * SECONDS_PER_DAY + m_hours * SECONDS_PER_HOUR + m_minutes * SECONDS_PER_MINUTE + m_seconds;
}

std::string TimeToString(CTime time)
{
    std::ostringstream text;
    if (time.GetDays() != 0)
    {
        text << time.GetDays() << (time.GetDays() == 1 ? " day " : " days ");
    }
    // The width lapses after each number, so it is set again for every one of them and the
    // colons go out unpadded; a wider number is written whole.
    text << std::setfill('0');
    text << std::setw(2) << time.GetHours() << ':';
    text << std::setw(2) << time.GetMinutes() << ':';
    text << std::setw(2) << time.GetSeconds();
    return text.str();
}
