#include "calc/Calculator.h"
#include "calc/SingleSteps.h"

#include "CalcReference.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <utility>

namespace
{
constexpr int DRAWS = 300000;

std::uint32_t Bits(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Full-range values, everyday ones, and values next to powers of two, where the
// conversions to single drop bits and rounding ties are common.
class InputSource
{
public:
    explicit InputSource(std::uint32_t seed) : m_engine(seed) {}

    std::uint32_t Next()
    {
        switch (m_engine() % 4)
        {
            case 0:
                return m_engine();
            case 1:
                return m_engine() % 1000000u;
            case 2:
                return m_engine() % (400u * 86400u);
            default:
            {
                const std::uint32_t power = std::uint32_t{1} << (m_engine() % 32);
                return power + (m_engine() % 16) - 8;
            }
        }
    }

private:
    std::mt19937 m_engine;
};
} // namespace

TEST(CalculatorRandom, RatePerSecondMatchesTheX87Product)
{
    ASSERT_TRUE(LongDoubleIsX87Extended());
    InputSource input(1);
    for (int i = 0; i < DRAWS; ++i)
    {
        const std::uint32_t rate = input.Next();
        ASSERT_EQ(Bits(RatePerSecond(rate)), Bits(ReferenceRatePerSecond(rate))) << "rate " << rate;
    }
}

TEST(CalculatorRandom, ProductionMatchesTheSinglePrecisionReference)
{
    ASSERT_TRUE(LongDoubleIsX87Extended());
    InputSource input(2);
    for (int i = 0; i < DRAWS; ++i)
    {
        const std::uint32_t seconds = input.Next();
        const std::uint32_t rate = input.Next();
        CCalculator calc;
        calc.CalcMetalProduction(seconds, rate);
        ASSERT_EQ(calc.GetMetalProduced(), ReferenceProduced(seconds, rate)) << seconds << " s at " << rate;
    }
}

TEST(CalculatorRandom, TimeToFinishMatchesTheSinglePrecisionReference)
{
    InputSource input(3);
    int reached = 0;
    for (int i = 0; i < DRAWS; ++i)
    {
        const std::uint32_t rate = input.Next();
        std::uint32_t amount = input.Next();
        std::uint32_t supply = input.Next();
        if (i % 2 == 0 && amount < supply)
        {
            std::swap(amount, supply); // keep most draws on the path that divides
        }
        CCalculator calc;
        calc.CalcDeuteriumTime(rate, amount, supply);
        ASSERT_EQ(calc.GetDeuteriumTime(), ReferenceTimeToFinish(rate, amount, supply))
            << "rate " << rate << " amount " << amount << " supply " << supply;
        reached += calc.GetDeuteriumTime() != 0 ? 1 : 0;
    }
    EXPECT_GT(reached, DRAWS / 3);
}
