#include "calc/Calculator.h"

#include "calc/SingleSteps.h"

CCalculator::CCalculator()
    : m_metalTime(0), m_crystalTime(0), m_deuteriumTime(0), m_metalProduced(0), m_crystalProduced(0),
      m_deuteriumProduced(0)
{
}

CCalculator::~CCalculator() = default;

std::uint32_t CCalculator::GetMetalTime() const
{
    return m_metalTime;
}

std::uint32_t CCalculator::GetCrystalTime() const
{
    return m_crystalTime;
}

std::uint32_t CCalculator::GetDeuteriumTime() const
{
    return m_deuteriumTime;
}

std::uint32_t CCalculator::GetMetalProduced() const
{
    return m_metalProduced;
}

std::uint32_t CCalculator::GetCrystalProduced() const
{
    return m_crystalProduced;
}

std::uint32_t CCalculator::GetDeuteriumProduced() const
{
    return m_deuteriumProduced;
}

void CCalculator::CalcMetalTime(std::uint32_t ratePerHour, std::uint32_t amount, std::uint32_t supply)
{
    m_metalTime = SecondsToFinish(ratePerHour, amount, supply);
}

void CCalculator::CalcCrystalTime(std::uint32_t ratePerHour, std::uint32_t amount, std::uint32_t supply)
{
    m_crystalTime = SecondsToFinish(ratePerHour, amount, supply);
}

void CCalculator::CalcDeuteriumTime(std::uint32_t ratePerHour, std::uint32_t amount, std::uint32_t supply)
{
    m_deuteriumTime = SecondsToFinish(ratePerHour, amount, supply);
}

void CCalculator::CalcMetalProduction(std::uint32_t seconds, std::uint32_t ratePerHour)
{
    m_metalProduced = AmountProduced(seconds, ratePerHour);
}

void CCalculator::CalcCrystalProduction(std::uint32_t seconds, std::uint32_t ratePerHour)
{
    m_crystalProduced = AmountProduced(seconds, ratePerHour);
}

void CCalculator::CalcDeuteriumProduction(std::uint32_t seconds, std::uint32_t ratePerHour)
{
    m_deuteriumProduced = AmountProduced(seconds, ratePerHour);
}
