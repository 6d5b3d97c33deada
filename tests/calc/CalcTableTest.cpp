// Built several times: with the core as shipped, and with the calculator's sources compiled
// into the test at other optimisation levels and with x87 arithmetic. Every build must give
// the results of the exact model in CalcTable.h.
#include "CalcTable.h"
#include "calc/Calculator.h"
#include "calc/Time.h"

#include <gtest/gtest.h>

#include <cfloat>

#ifndef ZERAK_CALC_BUILD
#error "ZERAK_CALC_BUILD names the build of the calculator under test"
#endif

#ifdef ZERAK_CALC_EVAL_METHOD
// Proves that the x87 build really computes floats with excess precision.
static_assert(FLT_EVAL_METHOD == ZERAK_CALC_EVAL_METHOD,
              "the build does not use the arithmetic it is named after");
#endif

TEST(ZERAK_CALC_BUILD, ProductionMatchesTheExactModelForEveryResource)
{
    for (const SProductionCase& c : PRODUCTION_CASES)
    {
        CCalculator calc;
        calc.CalcMetalProduction(c.seconds, c.rate);
        calc.CalcCrystalProduction(c.seconds, c.rate);
        calc.CalcDeuteriumProduction(c.seconds, c.rate);
        EXPECT_EQ(calc.GetMetalProduced(), c.produced) << c.seconds << " s at " << c.rate;
        EXPECT_EQ(calc.GetCrystalProduced(), c.produced) << c.seconds << " s at " << c.rate;
        EXPECT_EQ(calc.GetDeuteriumProduced(), c.produced) << c.seconds << " s at " << c.rate;
    }
}

TEST(ZERAK_CALC_BUILD, TimeToFinishMatchesTheExactModelForEveryResource)
{
    for (const STimeCase& c : TIME_CASES)
    {
        CCalculator calc;
        calc.CalcMetalTime(c.rate, c.amount, c.supply);
        calc.CalcCrystalTime(c.rate, c.amount, c.supply);
        calc.CalcDeuteriumTime(c.rate, c.amount, c.supply);
        EXPECT_EQ(calc.GetMetalTime(), c.seconds) << c.rate << " " << c.amount << " " << c.supply;
        EXPECT_EQ(calc.GetCrystalTime(), c.seconds) << c.rate << " " << c.amount << " " << c.supply;
        EXPECT_EQ(calc.GetDeuteriumTime(), c.seconds) << c.rate << " " << c.amount << " " << c.supply;
    }
}

TEST(ZERAK_CALC_BUILD, TimeTextOfTheLongestSpan)
{
    CTime time;
    time.SetFromSeconds(4294967295u);
    EXPECT_EQ(TimeToString(time), "49710 days 06:28:15");
    EXPECT_EQ(time.GetTotalSeconds(), 4294967295u);
}
