// Checks over every 32-bit input; each run splits the range over the processor's cores.
#include "calc/SingleSteps.h"
#include "calc/Time.h"

#include "CalcReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace
{
struct Findings
{
    std::uint64_t checked = 0;
    std::uint64_t failures = 0;
    std::uint32_t firstFailure = 0;
};

// Runs `holds` for every 32-bit value, spread over the cores, and gathers what failed.
template <typename Property> Findings ForEveryValue(Property holds)
{
    const unsigned workers = std::max(2u, std::thread::hardware_concurrency());
    const std::uint64_t count = std::uint64_t{1} << 32;
    std::vector<Findings> found(workers);
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < workers; ++w)
    {
        threads.emplace_back(
            [&, w]
            {
                Findings& mine = found[w];
                const std::uint64_t begin = count * w / workers;
                const std::uint64_t end = count * (w + 1) / workers;
                for (std::uint64_t value = begin; value < end; ++value)
                {
                    const auto input = static_cast<std::uint32_t>(value);
                    if (!holds(input) && mine.failures++ == 0)
                    {
                        mine.firstFailure = input;
                    }
                    ++mine.checked;
                }
            });
    }
    Findings total;
    for (unsigned w = 0; w < workers; ++w)
    {
        threads[w].join();
        if (found[w].failures != 0 && total.failures == 0)
        {
            total.firstFailure = found[w].firstFailure;
        }
        total.failures += found[w].failures;
        total.checked += found[w].checked;
    }
    return total;
}

bool SameBits(float left, float right)
{
    return std::memcmp(&left, &right, sizeof left) == 0;
}
} // namespace

TEST(CalculatorExhaustive, RatePerSecondEqualsTheX87ProductForEveryRate)
{
    ASSERT_TRUE(LongDoubleIsX87Extended());
    const Findings findings = ForEveryValue(
        [](std::uint32_t rate) { return SameBits(RatePerSecond(rate), ReferenceRatePerSecond(rate)); });
    EXPECT_EQ(findings.checked, std::uint64_t{1} << 32);
    EXPECT_EQ(findings.failures, 0u) << "first differing rate " << findings.firstFailure;
}

TEST(CalculatorExhaustive, EveryTotalSplitsIntoNormalisedFieldsAndBack)
{
    const Findings findings = ForEveryValue(
        [](std::uint32_t total)
        {
            CTime time;
            time.SetFromSeconds(total);
            return time.GetTotalSeconds() == total && time.GetSeconds() < 60 && time.GetMinutes() < 60 &&
                   time.GetHours() < 24;
        });
    EXPECT_EQ(findings.checked, std::uint64_t{1} << 32);
    EXPECT_EQ(findings.failures, 0u) << "first failing total " << findings.firstFailure;
}
