#pragma once

#include <cstdint>

// The two computations of the program, one result field per resource. The arithmetic is
// single precision and truncated; its rounding is what the user sees, so it is the same on
// every build (see calc/SingleSteps.h).
class CCalculator
{
public:
    CCalculator();
    ~CCalculator();

    std::uint32_t GetMetalTime() const;
    std::uint32_t GetCrystalTime() const;
    std::uint32_t GetDeuteriumTime() const;

    std::uint32_t GetMetalProduced() const;
    std::uint32_t GetCrystalProduced() const;
    std::uint32_t GetDeuteriumProduced() const;

    // Seconds until `amount` is reached from `supply` at `ratePerHour`; 0 when the supply
    // already covers it or nothing is produced.
    void CalcMetalTime(std::uint32_t ratePerHour, std::uint32_t amount, std::uint32_t supply);
    void CalcCrystalTime(std::uint32_t ratePerHour, std::uint32_t amount, std::uint32_t supply);
    void CalcDeuteriumTime(std::uint32_t ratePerHour, std::uint32_t amount, std::uint32_t supply);

    // Amount produced over `seconds` at `ratePerHour`.
    void CalcMetalProduction(std::uint32_t seconds, std::uint32_t ratePerHour);
    void CalcCrystalProduction(std::uint32_t seconds, std::uint32_t ratePerHour);
    void CalcDeuteriumProduction(std::uint32_t seconds, std::uint32_t ratePerHour);

private:
    std::uint32_t m_metalTime;
    std::uint32_t m_crystalTime;
    std::uint32_t m_deuteriumTime;
    std::uint32_t m_metalProduced;
    std::uint32_t m_crystalProduced;
    std::uint32_t m_deuteriumProduced;
};
