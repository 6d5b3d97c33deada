#pragma once

// Straightforward single-precision references for the calculator, for checking it against
// the hardware: float operations on a unit without excess precision, and the rate step in
// the x87 extended format itself.

#include <cfloat>
#include <cstdint>

static_assert(FLT_EVAL_METHOD == 0, "the references need float operations that round to single");

// True when long double arithmetic really rounds to a 64-bit significand at run time, which
// is what the rate reference relies on.
inline bool LongDoubleIsX87Extended()
{
    volatile long double one = 1.0L;
    volatile long double tiny = 1.0L / 9223372036854775808.0L; // 2^-63
    return LDBL_MANT_DIG == 64 && one + tiny != one;
}

inline float ReferenceRatePerSecond(std::uint32_t rate)
{
    const long double perSecond = 1.0L / 3600.0L;
    return static_cast<float>(static_cast<long double>(rate) * perSecond);
}

inline std::uint32_t ReferenceProduced(std::uint32_t seconds, std::uint32_t rate)
{
    const float p = ReferenceRatePerSecond(rate);
    const float t = static_cast<float>(seconds);
    const float v = t * p;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(v));
}

inline std::uint32_t ReferenceTimeToFinish(std::uint32_t rate, std::uint32_t amount, std::uint32_t supply)
{
    if (amount <= supply || rate == 0)
    {
        return 0;
    }
    const float d = static_cast<float>(amount) - static_cast<float>(supply);
    const float q = d / static_cast<float>(rate);
    const float t = q * 3600.0f;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(t));
}
