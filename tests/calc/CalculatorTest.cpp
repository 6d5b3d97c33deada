#include "calc/Calculator.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>

namespace
{
// The six results in field order: metal, crystal, deuterium time, then the three produced.
std::array<std::uint32_t, 6> Results(const CCalculator& calc)
{
    return {calc.GetMetalTime(),     calc.GetCrystalTime(),     calc.GetDeuteriumTime(),
            calc.GetMetalProduced(), calc.GetCrystalProduced(), calc.GetDeuteriumProduced()};
}

using TimeCall = void (CCalculator::*)(std::uint32_t, std::uint32_t, std::uint32_t);
using TimeGet = std::uint32_t (CCalculator::*)() const;
using ProductionCall = void (CCalculator::*)(std::uint32_t, std::uint32_t);

struct TimeMember
{
    const char* name;
    TimeCall calc;
    TimeGet get;
};

struct ProductionMember
{
    const char* name;
    ProductionCall calc;
    TimeGet get;
};

const TimeMember TIME_MEMBERS[] = {
    {"metal", &CCalculator::CalcMetalTime, &CCalculator::GetMetalTime},
    {"crystal", &CCalculator::CalcCrystalTime, &CCalculator::GetCrystalTime},
    {"deuterium", &CCalculator::CalcDeuteriumTime, &CCalculator::GetDeuteriumTime},
};

const ProductionMember PRODUCTION_MEMBERS[] = {
    {"metal", &CCalculator::CalcMetalProduction, &CCalculator::GetMetalProduced},
    {"crystal", &CCalculator::CalcCrystalProduction, &CCalculator::GetCrystalProduced},
    {"deuterium", &CCalculator::CalcDeuteriumProduction, &CCalculator::GetDeuteriumProduced},
};

std::uint32_t TimeThrough(const TimeMember& member, std::uint32_t rate, std::uint32_t amount,
                          std::uint32_t supply)
{
    CCalculator calc;
    (calc.*member.calc)(rate, amount, supply);
    return (calc.*member.get)();
}

std::uint32_t ProductionThrough(const ProductionMember& member, std::uint32_t seconds, std::uint32_t rate)
{
    CCalculator calc;
    (calc.*member.calc)(seconds, rate);
    return (calc.*member.get)();
}
} // namespace

TEST(Calculator, NewCalculatorHasAllSixResultsZero)
{
    const CCalculator calc;
    const std::array<std::uint32_t, 6> zero{};
    EXPECT_EQ(Results(calc), zero);
}

TEST(Calculator, ProductionGivesTheWorkedResultsForEveryResource)
{
    struct Case
    {
        std::uint32_t seconds, rate, produced;
    };
    const Case cases[] = {
        {3600, 1000, 1000},
        {86400, 1000, 24000},
        {3601, 1000, 1000},         // truncated, not rounded
        {1, 1, 0},                  // truncated
        {604800, 12345, 2073959},   // one below the exact 2073960
        {16777217, 3600, 16777216}, // the span loses its low bit in single precision
        {3600, 3600, 3600},
        {0, 4294967295u, 0},
        {4294967295u, 0, 0},
    };
    for (const ProductionMember& member : PRODUCTION_MEMBERS)
    {
        for (const Case& c : cases)
        {
            SCOPED_TRACE(testing::Message() << member.name << " " << c.seconds << " s at " << c.rate);
            EXPECT_EQ(ProductionThrough(member, c.seconds, c.rate), c.produced);
        }
    }
}

TEST(Calculator, TimeToFinishGivesTheWorkedResultsForEveryResource)
{
    struct Case
    {
        std::uint32_t rate, amount, supply, seconds;
    };
    const Case cases[] = {
        {1000, 2000, 1000, 3600},
        {1000, 1, 0, 3}, // 3.6 truncated
        {7, 100, 0, 51428},
        {30000, 1000000, 12345, 118518},
        {3600, 16777217, 0, 16777216}, // the amount loses its low bit
        {1, 4294967295u, 0, 0},        // 2^32 hours of seconds wrap to 0
        {3600, 1, 0, 1},
        {5, 10, 10, 0}, // amount equal to the supply
        {5, 9, 10, 0},  // amount below the supply
        {0, 10, 1, 0},  // nothing produced: no division at all
        {0, 4294967295u, 0, 0},
        {4294967295u, 4294967295u, 0, 3600},
    };
    for (const TimeMember& member : TIME_MEMBERS)
    {
        for (const Case& c : cases)
        {
            SCOPED_TRACE(testing::Message() << member.name << " rate " << c.rate << " amount " << c.amount
                                            << " supply " << c.supply);
            EXPECT_EQ(TimeThrough(member, c.rate, c.amount, c.supply), c.seconds);
        }
    }
}

TEST(Calculator, EachCalcWritesOnlyItsOwnField)
{
    // Each operation with inputs whose result is distinct from every other's.
    const std::function<void(CCalculator&)> operations[] = {
        [](CCalculator& c) { c.CalcMetalTime(1000, 2000, 1000); },          // 3600
        [](CCalculator& c) { c.CalcCrystalTime(7, 100, 0); },               // 51428
        [](CCalculator& c) { c.CalcDeuteriumTime(30000, 1000000, 12345); }, // 118518
        [](CCalculator& c) { c.CalcMetalProduction(86400, 1000); },         // 24000
        [](CCalculator& c) { c.CalcCrystalProduction(604800, 12345); },     // 2073959
        [](CCalculator& c) { c.CalcDeuteriumProduction(3600, 1000); },      // 1000
    };
    const std::array<std::uint32_t, 6> expected{3600, 51428, 118518, 24000, 2073959, 1000};

    for (std::size_t field = 0; field < 6; ++field)
    {
        SCOPED_TRACE(field);
        // Alone on a fresh calculator: every other result stays 0.
        CCalculator fresh;
        operations[field](fresh);
        std::array<std::uint32_t, 6> alone{};
        alone[field] = expected[field];
        EXPECT_EQ(Results(fresh), alone);

        // With the other five filled in, running it again on other input changes its field alone.
        CCalculator full;
        for (const auto& operation : operations)
        {
            operation(full);
        }
        ASSERT_EQ(Results(full), expected);
        if (field < 3)
        {
            const TimeMember& member = TIME_MEMBERS[field];
            (full.*member.calc)(0, 1, 0);
        }
        else
        {
            const ProductionMember& member = PRODUCTION_MEMBERS[field - 3];
            (full.*member.calc)(0, 1000);
        }
        std::array<std::uint32_t, 6> changed = expected;
        changed[field] = 0;
        EXPECT_EQ(Results(full), changed);
    }
}

TEST(Calculator, ALaterCalcOverwritesTheEarlierResult)
{
    for (const TimeMember& member : TIME_MEMBERS)
    {
        CCalculator calc;
        (calc.*member.calc)(1000, 2000, 1000);
        (calc.*member.calc)(3600, 2, 0);
        EXPECT_EQ((calc.*member.get)(), 2u) << member.name;
    }
    for (const ProductionMember& member : PRODUCTION_MEMBERS)
    {
        CCalculator calc;
        (calc.*member.calc)(86400, 1000);
        (calc.*member.calc)(7200, 3600);
        EXPECT_EQ((calc.*member.get)(), 7200u) << member.name;
    }
}
